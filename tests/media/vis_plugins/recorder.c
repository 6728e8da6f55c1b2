/*
 * A test plug-in that writes down everything the game does to it, in exported
 * variables the tests read with dlsym. Its display name is its own file name
 * without the ending, so that copies under other names sort differently.
 * Built as version 1 ("recorder.svp") and as version 0 ("old.svp").
 */
#define _GNU_SOURCE
#include "tarvolen_vis.h"
#include <dlfcn.h>
#include <string.h>
#include <unistd.h>

#ifndef RECORDER_VERSION
#define RECORDER_VERSION 1
#endif
#define EXPORT __attribute__((visibility("default")))

/* what happened */
EXPORT int tvt_query_module, tvt_start, tvt_draw, tvt_store, tvt_read, tvt_stop, tvt_accept;
EXPORT char tvt_cwd_start[512], tvt_cwd_read[512], tvt_cwd_draw[512];
EXPORT char tvt_settings_path[512];
EXPORT int tvt_position = -1;              /* "CurrentSongPosition" as read in AcceptQuery */
EXPORT char tvt_title[64];                 /* "currentSongTitle" */
EXPORT int tvt_unknown_null = -1;          /* 1 when an unknown name gave null */
EXPORT int tvt_width, tvt_height, tvt_pitch;
EXPORT uint32_t tvt_seen_first;            /* pixel 0 before drawing */
EXPORT TvVisSoundData tvt_sound;
/* what the tests set */
EXPORT uint32_t tvt_needs = 7;
EXPORT uint32_t tvt_fill;                  /* non-zero: fill the frame with it */
EXPORT int tvt_result = 1;                 /* what DrawFrame returns */

static char g_name[256];
static TvVisModule g_module;

static void Start(void) {
  tvt_start++;
  if (!getcwd(tvt_cwd_start, sizeof tvt_cwd_start)) tvt_cwd_start[0] = 0;
}

static int DrawFrame(uint32_t* pixels, int width, int height, int pitch, const TvVisSoundData* sound) {
  int x, y;
  tvt_draw++;
  if (!getcwd(tvt_cwd_draw, sizeof tvt_cwd_draw)) tvt_cwd_draw[0] = 0;
  tvt_width = width;
  tvt_height = height;
  tvt_pitch = pitch;
  tvt_seen_first = pixels[0];
  tvt_sound = *sound;
  if (tvt_fill)
    for (y = 0; y < height; y++)
      for (x = 0; x < width; x++) pixels[(size_t)y * pitch + x] = tvt_fill;
  return tvt_result;
}

static void StoreSettings(const char* path) {
  tvt_store++;
  strncpy(tvt_settings_path, path ? path : "", sizeof tvt_settings_path - 1);
}

static void ReadSettings(const char* path) {
  tvt_read++;
  strncpy(tvt_settings_path, path ? path : "", sizeof tvt_settings_path - 1);
  if (!getcwd(tvt_cwd_read, sizeof tvt_cwd_read)) tvt_cwd_read[0] = 0;
}

static void Stop(void) { tvt_stop++; }

static void AcceptQuery(TvVisQuery* q) {
  const char* t;
  tvt_accept++;
  q->table->QueryInt("CurrentSongPosition", &tvt_position);
  t = q->table->QueryString("currentSongTitle");
  strncpy(tvt_title, t ? t : "", sizeof tvt_title - 1);
  q->table->FreeString(t);
  tvt_unknown_null = q->table->QueryString("favouriteColour") == NULL;
}

TV_VIS_EXPORT const TvVisModule* QueryModule(void) {
  Dl_info info;
  const char* file = "recorder";
  tvt_query_module++;
  if (dladdr((void*)&QueryModule, &info) && info.dli_fname) {
    const char* slash = strrchr(info.dli_fname, '/');
    file = slash ? slash + 1 : info.dli_fname;
  }
  strncpy(g_name, file, sizeof g_name - 1);
  if (strchr(g_name, '.')) *strchr(g_name, '.') = 0;
  g_module.version = RECORDER_VERSION;
  g_module.name = g_name;
  g_module.needs = tvt_needs;
  g_module.Start = Start;
  g_module.DrawFrame = DrawFrame;
  g_module.StoreSettings = StoreSettings;
  g_module.ReadSettings = ReadSettings;
  g_module.Stop = Stop;
  g_module.AcceptQuery = AcceptQuery;
  return &g_module;
}
