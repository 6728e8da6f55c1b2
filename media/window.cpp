#include "media/window.h"
#include "platform/log.h"
#include "media/input/input.h"
#include "media/render/render_state.h"
#include "platform/priority.h"
#include <SDL.h>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {
bool g_windowInitDone = false;
bool g_closeRequested = false;
bool g_dummyDriver = false;
SDL_Surface* g_screen = nullptr;
SDL_Surface* g_icon = nullptr;

// Environment settings we change for the run and put back at the end.
struct SavedEnv {
  const char* name;
  bool had = false;
  bool changed = false;
  std::string value;
};
SavedEnv g_screensaverEnv{"SDL_VIDEO_ALLOW_SCREENSAVER", false, false, {}};
SavedEnv g_scalingEnv{"SDL12COMPAT_WINDOW_SCALING", false, false, {}};
SavedEnv g_scaleMethodEnv{"SDL12COMPAT_SCALE_METHOD", false, false, {}};

void setEnv(SavedEnv& e, const char* value) {
  if (!e.changed) {
    const char* old = getenv(e.name);
    e.had = old != nullptr;
    e.value = old ? old : "";
    e.changed = true;
  }
  setenv(e.name, value, 1);
}

void restoreEnv(SavedEnv& e) {
  if (!e.changed) return;
  if (e.had) setenv(e.name, e.value.c_str(), 1);
  else unsetenv(e.name);
  e.changed = false;
}

// On a desktop with room to spare the window is shown larger, in quarter steps,
// keeping a margin for the desktop's own panels. Players who want another
// factor set SDL12COMPAT_WINDOW_SCALING themselves.
void chooseWindowScale(const SDL_VideoInfo* vi) {
  if (getenv(g_scalingEnv.name) && !g_scalingEnv.changed) return;
  if (!vi || vi->current_w <= 0 || vi->current_h <= 0) return;
  double s = std::min(vi->current_w * 0.9 / 640.0, (vi->current_h * 0.9 - 48.0) / 480.0);
  s = std::floor(s * 4.0) / 4.0;
  if (s <= 1.0) return;
  char text[16];
  snprintf(text, sizeof text, "%.2f", s);
  setEnv(g_scalingEnv, text);
  // Whole factors keep their sharp pixels; the others are smoothed.
  if (s != std::floor(s) && (!getenv(g_scaleMethodEnv.name) || g_scaleMethodEnv.changed))
    setEnv(g_scaleMethodEnv, "linear");
  WriteLogf("Window shown at %s times its size on a %d x %d desktop\n", text, vi->current_w, vi->current_h);
}

// The window icon: an up arrow in the game's pink on a clear ground.
void setIcon() {
  if (!g_icon) {
    g_icon = SDL_CreateRGBSurface(SDL_SWSURFACE, 32, 32, 32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000u);
    if (!g_icon) return;
    uint32_t* px = (uint32_t*)g_icon->pixels;
    int pitch = g_icon->pitch / 4;
    for (int y = 0; y < 32; y++)
      for (int x = 0; x < 32; x++) {
        int dx = std::abs(x * 2 - 31);
        bool head = y >= 2 && y < 18 && dx <= (y - 2) * 2;
        bool shaft = y >= 18 && y < 30 && dx <= 9;
        bool edge = (head && dx > (y - 2) * 2 - 4) || (shaft && dx > 6) || (shaft && y >= 28) || (head && y == 17 && dx > 9);
        px[y * pitch + x] = head || shaft ? (edge ? 0xFF301018u : 0xFFFF4A86u) : 0;
      }
  }
  SDL_WM_SetIcon(g_icon, nullptr);
}

void closeVideo() {
  Screen_Detach();
  g_screen = nullptr;
  SDL_QuitSubSystem(SDL_INIT_VIDEO);  // also after a failed start, which leaves state behind
  if (g_icon) SDL_FreeSurface(g_icon);
  g_icon = nullptr;
  if (SDL_WasInit(SDL_INIT_EVERYTHING) == 0) SDL_Quit();
  restoreEnv(g_screensaverEnv);
  restoreEnv(g_scalingEnv);
  restoreEnv(g_scaleMethodEnv);
}
}  // namespace

void Video_SelectBackend(bool useSDL, bool fullScreen, bool dither) {
  if (g_windowInitDone) return;
  (void)useSDL;
  (void)fullScreen;
  g_renderBackend = BACKEND_SDL;
  g_ditherEnabled = dither;
  TextureLimits_Defaults(g_textureLimits);
}

int32_t Window_Init(bool fullScreen, int colourDepth, bool hardwareSurface, int minSize, bool v5Hack) {
  if (g_screen) return 0;
  // SDL keeps the screen saver (and with it the power saving) off while video
  // is up and gives it back when video closes.
  setEnv(g_screensaverEnv, "0");
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) < 0) {
    WriteLogf("Unable to start SDL video: %s\n", SDL_GetError());
    closeVideo();
    return kVideoInitFailed;
  }
  char driver[64] = "";
  SDL_VideoDriverName(driver, sizeof driver);
  g_dummyDriver = strcmp(driver, "dummy") == 0;

  const SDL_VideoInfo* vi = SDL_GetVideoInfo();
  Uint32 flags = hardwareSurface ? (SDL_HWSURFACE | SDL_DOUBLEBUF) : SDL_SWSURFACE;
  int depth;
  if (fullScreen) {
    flags |= SDL_FULLSCREEN;
    depth = colourDepth == 16 ? 16 : 32;
  } else if (colourDepth == 16 || colourDepth == 32) {
    depth = colourDepth;
  } else {
    // The desktop's depth; a "24-bit" desktop stores 32-bit pixels.
    int bytes = vi && vi->vfmt ? vi->vfmt->BytesPerPixel : 0;
    depth = bytes == 2 ? 16 : bytes == 4 ? 32 : 0;
    if (!depth) {
      WriteLogf("Desktop colour depth of %d bits is not usable (16 or 32 needed)\n",
                vi && vi->vfmt ? vi->vfmt->BitsPerPixel : 0);
      closeVideo();
      return kVideoInitFailed;
    }
  }
  if (!fullScreen && !g_dummyDriver) chooseWindowScale(vi);  // nobody sees a dummy window
  setIcon();
  SDL_Surface* s = SDL_SetVideoMode(kScreenWidth, kScreenHeight, depth, flags);
  if (!s || !Screen_Attach(s)) {
    WriteLogf("Unable to set the video mode 640 x 480, %d bits: %s\n", depth, SDL_GetError());
    closeVideo();
    return kVideoInitFailed;
  }
  g_screen = s;
  SDL_ShowCursor(fullScreen ? SDL_DISABLE : SDL_ENABLE);
  SDL_WM_SetCaption("Tarvolen (SDL)", "IDI_DANCEICON");

  g_textureLimits.minWidth = g_textureLimits.minHeight = std::max(minSize, 4);
  g_textureLimits.margin = v5Hack ? 1 : 0;
  Priority_RaiseProcess();  // best effort, as at the end of every video set-up
  WriteLogf("Video: %s driver, 640 x 480, %d bits%s%s\n", driver, s->format->BitsPerPixel,
            fullScreen ? ", full screen" : "", hardwareSurface ? ", hardware surface" : "");
  g_closeRequested = false;
  g_windowInitDone = true;
  return 0;
}

void Window_Shutdown() {
  closeVideo();
  g_windowInitDone = false;
  g_closeRequested = false;
}

void Window_PumpMessages() {
  if (!g_screen) return;
  SDL_Event e;
  while (SDL_PollEvent(&e)) {
    switch (e.type) {
      case SDL_QUIT:
        if (!g_closeRequested) WriteLog("Window close requested\n");
        g_closeRequested = true;
        break;
      case SDL_KEYDOWN: Keyboard_NoteKeyDown(e.key.keysym.sym); break;
      default: break;
    }
  }
}

bool Window_CloseRequested() { return g_closeRequested; }
void Window_ClearCloseRequest() { g_closeRequested = false; }
bool Window_IsOpen() { return g_screen != nullptr; }

bool Window_HasFocus() {
  if (!g_screen) return false;
  if (g_dummyDriver) return true;  // no window manager to give focus
  return (SDL_GetAppState() & SDL_APPINPUTFOCUS) != 0;
}
