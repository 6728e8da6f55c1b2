#pragma once
// What the visualization files share among themselves (not for the rest of the
// game): the plug-in list, the settings path, the frame buffer, the fade table
// and the sound data.
//
// Locks: the frame buffer, the sound data and every call into a plug-in are
// under g_pluginLock; the frame picture's pixels under g_movieLock. When both
// are held, g_pluginLock is taken first (the main thread takes only
// g_movieLock, to draw the picture).
#include "media/vis/tarvolen_vis.h"
#include "media/vis/vis.h"
#include <cstdint>
#include <string>

constexpr int kVisMaxPlugins = 512;

struct VisEntry {
  char path[512];
  char name[256];
};

struct VisFrame {
  uint32_t* pixels = nullptr;   // width x height, pitch = width
  int32_t width = 0, height = 0;
  int quality = 0;              // what it was made for (0: never made)
  bool alpha = false;
  Image image;                  // what the play draws
};

struct VisState {
  VisEntry entries[kVisMaxPlugins];
  int count = 0;
  const char* names[kVisMaxPlugins + 1] = {};
  std::string settingsPath;     // absolute: "<start folder>/vis.ini"
  TvVisSoundData sound{};
  uint8_t fade[256];
  VisFrame frame;
};

extern VisState g_vis;

// The fade table entries i x factor (clamped to 0..255).
void Vis_BuildFade(float factor);
// Frame calls for callers that already hold g_pluginLock.
bool Vis_CreateFrameLocked(int quality, bool alpha);
void Vis_FreeFrameLocked(bool forgetQuality);
// Copies the frame buffer into the frame picture, under g_movieLock.
void Vis_UploadFrame();
// Fills g_vis.sound for a plug-in that needs `needs` from the music channel.
void Vis_FillSound(uint32_t timeMs, uint32_t channel, uint32_t needs);

// The query object handed to a plug-in: made for each instance that takes one,
// null when it cannot be made.
TvVisQuery* Vis_CreateQueryObject();
void Vis_FreeQueryObject(TvVisQuery* query);

// Runs a plug-in's entry points with its folder as the current folder and puts
// the game's folder back afterwards. Log lines written meanwhile (the query
// object's) still go to the game's folder.
class VisFolderScope {
 public:
  explicit VisFolderScope(const std::string& folder);
  ~VisFolderScope();
  VisFolderScope(const VisFolderScope&) = delete;
  VisFolderScope& operator=(const VisFolderScope&) = delete;

 private:
  bool switched_ = false;
};
// Writes a log line with the game's folder current, even from inside a plug-in
// call made under VisFolderScope.
void Vis_LogInGameFolder(const char* line);
