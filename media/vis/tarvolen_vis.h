/*
 * Tarvolen visualization plug-ins: the contract between the game and a plug-in.
 *
 * A plug-in is a shared library whose file name ends in ".svp" (any case), put
 * anywhere under the game's "Vis" folder (sub-folders are searched, except those
 * whose name has a dot as its first or second character). It exports one
 * function, QueryModule, which returns a TvVisModule record that stays valid
 * until the library is unloaded. Build one with
 *
 *     cc -shared -fPIC -O2 -I<source>/media/vis myvis.c -o myvis.svp
 *
 * Plain C, usable from C and C++; include nothing of the game's but this file.
 *
 * Life of a plug-in:
 *  - At start-up the game loads every plug-in once to learn its name: QueryModule,
 *    then ReadSettings, then the library is unloaded. No Start, no Stop.
 *  - When a song uses it: QueryModule, ReadSettings, Start, then (version 1 and
 *    up) AcceptQuery. Then DrawFrame for each frame the play wants, and at the end
 *    StoreSettings, Stop (version 1 and up) and the library is unloaded.
 *  - Any entry point may be null; the game then skips that call.
 *
 * Threads and folders:
 *  - QueryModule, ReadSettings, Start, AcceptQuery, StoreSettings and Stop run
 *    on the game's main thread while nothing else of the game runs, with the
 *    plug-in's own folder as the current folder (restored afterwards), so a
 *    plug-in may open its own files by relative path there.
 *  - DrawFrame runs on the game's media worker thread while the main thread goes
 *    on drawing and playing. The current folder is then the game's folder and
 *    must not be changed: it belongs to the whole process. A plug-in that needs
 *    files of its own opens them in Start (or remembers its folder there, e.g.
 *    with getcwd) and uses absolute paths later.
 *  - Calls into one plug-in never overlap. DrawFrame should return within a few
 *    milliseconds: the same worker feeds the other backgrounds and the sounds.
 *  - Two uses of the same file (a song that shows one plug-in on two layers)
 *    share the library's global state: Start and Stop are then called twice.
 */
#ifndef TARVOLEN_VIS_H
#define TARVOLEN_VIS_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* The version a plug-in puts in TvVisModule.version. 0 is an old plug-in: it gets
 * Start but never AcceptQuery nor Stop. */
#define TV_VIS_VERSION 1u

/* TvVisModule.needs */
#define TV_VIS_NEEDS_WAVEFORM 1u  /* fill TvVisSoundData.waveform */
#define TV_VIS_NEEDS_SPECTRUM 2u  /* fill TvVisSoundData.spectrum */
#define TV_VIS_NEEDS_FADE 4u      /* fade the previous frame before each DrawFrame */

/* The name of the one exported function. */
#define TV_VIS_ENTRY_NAME "QueryModule"

/* Pixels are 32-bit words 0xAARRGGBB in native byte order, rows top first. The
 * game shows the frame opaque: alpha is ignored (write 0xFF). */
#define TV_VIS_RGB(r, g, b) (0xFF000000u | ((uint32_t)(r) << 16) | ((uint32_t)(g) << 8) | (uint32_t)(b))

/* What the music sounds like now. Waveform: 512 unsigned samples per channel,
 * 128 is silence ([0] left, [1] right; a mono song gives the same data in both).
 * Spectrum: 256 bins of a 512-point FFT per channel, bin k at k x rate / 512 Hz,
 * 0..255 (a full-scale sine reads 255). Arrays a plug-in did not ask for in
 * `needs` are left as they were. */
typedef struct TvVisSoundData {
  uint32_t time;                /* song time in milliseconds */
  uint8_t waveform[2][512];
  uint8_t spectrum[2][256];
} TvVisSoundData;

/* The game's query object, handed to AcceptQuery; valid until Stop returns. Call
 * through its table: q->table->QueryInt(q_name, &value). Every call is written
 * to the game's log. */
typedef struct TvVisQueryTable {
  /* Integer facts: "currentsonglength", "currentsongposition",
   * "scheme_visual_left", "scheme_visual_right", "scheme_visual_blend",
   * "diffTime" (names in any case) set *value to 1. Always returns 1. */
  int (*QueryInt)(const char* name, int* value);
  /* Text facts: "currentSkinName", "currentSongFilename", "currentSongTitle",
   * "currentSongAuthor", "currentSongDisplayString" (any case); null for any
   * other name. Pass each text back to FreeString when done with it. */
  const char* (*QueryString)(const char* name);
  void (*FreeString)(const char* text);
} TvVisQueryTable;

typedef struct TvVisQuery {
  const TvVisQueryTable* table;   /* the first word */
} TvVisQuery;

/* The record QueryModule returns. Keep it in static storage. */
typedef struct TvVisModule {
  uint32_t version;               /* TV_VIS_VERSION, or 0 */
  const char* name;               /* display name, up to 255 bytes */
  uint32_t needs;                 /* TV_VIS_NEEDS_* */
  /* Once, before the first frame. */
  void (*Start)(void);
  /* Draws one frame into `pixels` (width x height, `pitch` pixels from one row
   * to the next; the previous frame is still there, faded when asked). Returns
   * non-zero when the frame changed, so that the game shows it. */
  int (*DrawFrame)(uint32_t* pixels, int width, int height, int pitch,
                   const TvVisSoundData* sound);
  /* The path of the shared settings file (an INI file; use your own section). */
  void (*StoreSettings)(const char* path);
  void (*ReadSettings)(const char* path);
  /* Once, after the last frame (version 1 and up). */
  void (*Stop)(void);
  void* reserved;                 /* never called; leave null */
  /* The query object (version 1 and up). */
  void (*AcceptQuery)(TvVisQuery* query);
} TvVisModule;

/* The function a plug-in exports, with C linkage and default visibility (also
 * when built with -fvisibility=hidden). Define it as
 *     TV_VIS_EXPORT const TvVisModule* QueryModule(void) { return &my_module; } */
#if defined(__GNUC__)
#define TV_VIS_EXPORT __attribute__((visibility("default")))
#else
#define TV_VIS_EXPORT
#endif
typedef const TvVisModule* (*TvVisQueryModuleFn)(void);
TV_VIS_EXPORT const TvVisModule* QueryModule(void);

/* The layout the game reads, on 64-bit Linux. */
#if defined(__x86_64__) || defined(__aarch64__)
#ifdef __cplusplus
#define TV_VIS_STATIC_ASSERT(c, m) static_assert(c, m)
#else
#define TV_VIS_STATIC_ASSERT(c, m) _Static_assert(c, m)
#endif
TV_VIS_STATIC_ASSERT(sizeof(TvVisSoundData) == 1540, "sound data is 1540 bytes");
TV_VIS_STATIC_ASSERT(offsetof(TvVisSoundData, waveform) == 4, "waveform after the time");
TV_VIS_STATIC_ASSERT(offsetof(TvVisSoundData, spectrum) == 1028, "spectrum after the waveform");
TV_VIS_STATIC_ASSERT(sizeof(TvVisQueryTable) == 24, "three entries");
TV_VIS_STATIC_ASSERT(sizeof(TvVisQuery) == 8, "the query object is one word");
TV_VIS_STATIC_ASSERT(offsetof(TvVisModule, name) == 8, "name");
TV_VIS_STATIC_ASSERT(offsetof(TvVisModule, needs) == 16, "needs");
TV_VIS_STATIC_ASSERT(offsetof(TvVisModule, Start) == 24, "Start");
TV_VIS_STATIC_ASSERT(offsetof(TvVisModule, DrawFrame) == 32, "DrawFrame");
TV_VIS_STATIC_ASSERT(offsetof(TvVisModule, StoreSettings) == 40, "StoreSettings");
TV_VIS_STATIC_ASSERT(offsetof(TvVisModule, ReadSettings) == 48, "ReadSettings");
TV_VIS_STATIC_ASSERT(offsetof(TvVisModule, Stop) == 56, "Stop");
TV_VIS_STATIC_ASSERT(offsetof(TvVisModule, reserved) == 64, "reserved");
TV_VIS_STATIC_ASSERT(offsetof(TvVisModule, AcceptQuery) == 72, "AcceptQuery");
TV_VIS_STATIC_ASSERT(sizeof(TvVisModule) == 80, "the module record is 80 bytes");
#undef TV_VIS_STATIC_ASSERT
#endif

#ifdef __cplusplus
}
#endif

#endif /* TARVOLEN_VIS_H */
