#pragma once
// Visualization plug-ins: the game's side. Plug-ins are shared libraries ending in
// ".svp" under "Vis" that export "QueryModule" (media/vis/tarvolen_vis.h is the
// contract a plug-in author builds against). One frame buffer is shared by every
// instance: plug-ins draw into it on the media worker, the main thread draws its
// picture; g_movieLock orders the two. Every call into a plug-in, and the frame
// buffer itself, are under g_pluginLock (taken before g_movieLock: never call
// into this file while holding g_movieLock).
//
// The current folder is the plug-in's folder while Load and Free run its entry
// points (the main thread, while no other game thread works), but not while
// DrawFrame runs on the worker: the folder belongs to the whole process and the
// main thread goes on opening files by relative path (the log on every line).
#include "media/render/image.h"
#include <cstdint>
#include <string>

struct TvVisModule;

// Load flags: 1 start it (and hand it the query object), 2 read its settings,
// 4 store its settings when freed. 2 probes during the search, 7 is for use.
constexpr int VIS_LOAD_START = 1, VIS_LOAD_READ = 2, VIS_LOAD_STORE = 4;
constexpr int VIS_LOAD_PROBE = VIS_LOAD_READ, VIS_LOAD_USE = 7;

class VisInstance {
 public:
  VisInstance() = default;
  ~VisInstance();
  VisInstance(const VisInstance&) = delete;
  VisInstance& operator=(const VisInstance&) = delete;

  bool Load(const char* path, int flags);
  void Free();
  // On the media worker: fills the sound data from the music channel, fades the
  // frame when the plug-in asks, lets the plug-in draw and uploads a changed
  // frame. False when nothing was drawn (also when another thread holds the
  // plug-ins for over 50 ms: the frame is skipped). A frame let go by
  // Vis_FreeFrame is made again at its last quality.
  bool Render(uint32_t timeMs, uint32_t musicChannel);

  bool loaded = false;
  int flags = 0;
  std::string folder;             // the plug-in's folder, current while it runs
  void* library = nullptr;
  const TvVisModule* module = nullptr;
  void* query = nullptr;          // the query object handed to the plug-in

 private:
  void FreeLocked();              // Free with g_pluginLock held
};

// Start-up: searches `folder` (normally "Vis") for plug-ins; the plug-ins keep
// their settings in "<current folder>/vis.ini".
void Vis_Search(const char* folder = "Vis");
// Shut-down: forgets the list and frees the frame.
void Vis_Unload();
int Vis_Count();
const char* Vis_PathAt(uint32_t index);   // index modulo 2^24; "" outside the list
const char* Vis_NameAt(uint32_t index);
// The display names in list order, for the options menu ("Plug-in to Use").
const char* const* Vis_Names();

// quality: the SVP quality setting x 10 (0 or less counts as 10, over 100 as
// 100): 320 x 240 at 100, else that times q / 100, each side at least 8 and even.
// The same quality (and alpha) keeps the frame. alpha: the frame picture has
// alpha (always drawn opaque). The frame starts black.
bool Vis_CreateFrame(int quality, bool alpha);
// Lets the frame and its picture go; the next Render makes them again.
void Vis_FreeFrame();
void Vis_ClearFrame();               // black, and shown so
void Vis_SetFade(float factor);      // fade table entry i = i x factor (0.8 at start)
// The picture the play draws, under g_movieLock.
Image& Vis_FrameImage();
int32_t Vis_FrameWidth();
int32_t Vis_FrameHeight();
