#include "media/render/screen.h"
#include "platform/log.h"
#include "media/input/input.h"
#include "media/render/render_state.h"
#include "media/window.h"
#include "platform/files.h"
#include <FreeImage.h>
#include <SDL.h>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {
SDL_Surface* g_screen = nullptr;
bool g_direct = false;                // drawing straight into the SDL screen
std::vector<uint32_t> g_back;         // our own back buffer otherwise
SDL_Surface* g_backSurface = nullptr; // the same pixels, for converting blits
bool g_screenshotKey = true;
bool g_screenshotKeyWasDown = false;
constexpr int kScreenshotScanCode = 87;  // F11

uint32_t* ownBuffer() {
  if (g_back.empty()) g_back.assign((size_t)kScreenWidth * kScreenHeight, 0);
  return g_back.data();
}
}  // namespace

bool Screen_Attach(SDL_Surface* screen) {
  Screen_Detach();
  if (!screen || screen->w < kScreenWidth || screen->h < kScreenHeight) return false;
  g_screen = screen;
  const SDL_PixelFormat* f = screen->format;
  // A 32-bit XRGB screen that needs no locking is drawn into directly; any other
  // (a 16-bit one) gets our 32-bit buffer converted on every present.
  g_direct = f->BitsPerPixel == 32 && f->Rmask == 0xFF0000 && f->Gmask == 0xFF00 && f->Bmask == 0xFF &&
             !SDL_MUSTLOCK(screen);
  if (!g_direct) {
    g_backSurface = SDL_CreateRGBSurfaceFrom(ownBuffer(), kScreenWidth, kScreenHeight, 32, kScreenWidth * 4, 0xFF0000,
                                             0xFF00, 0xFF, 0);
    if (!g_backSurface) {
      WriteLogf("Unable to make the back buffer: %s\n", SDL_GetError());
      g_screen = nullptr;
      return false;
    }
  }
  return true;
}

void Screen_Detach() {
  if (g_backSurface) SDL_FreeSurface(g_backSurface);
  g_backSurface = nullptr;
  g_screen = nullptr;
  g_direct = false;
}

ComposeTarget Screen_Target() {
  g_frameOpen = true;
  if (g_direct) return {(uint32_t*)g_screen->pixels, (int32_t)(g_screen->pitch / 4), kScreenWidth, kScreenHeight};
  return {ownBuffer(), kScreenWidth, kScreenWidth, kScreenHeight};
}

uint32_t Screen_Pixel(int32_t x, int32_t y) {
  if (x < 0 || y < 0 || x >= kScreenWidth || y >= kScreenHeight) return 0;
  ComposeTarget t = Screen_Target();
  return t.pixels[(size_t)y * t.pitch + x] & 0xFFFFFF;
}

void Screen_Clear(int red, int green, int blue) {
  ComposeTarget t = Screen_Target();
  uint32_t c = ((uint32_t)(red & 255) << 16) | ((uint32_t)(green & 255) << 8) | (uint32_t)(blue & 255);
  for (int32_t r = 0; r < t.height; r++) std::fill_n(t.pixels + (size_t)r * t.pitch, t.width, c);
}

void Screen_SetScreenshotKey(bool on) { g_screenshotKey = on; }

void Screen_Present() {
  if (g_screenshotKey) {
    bool down = Keyboard_IsDown(kScreenshotScanCode);
    if (down && !g_screenshotKeyWasDown) Screen_TakeScreenshot();
    g_screenshotKeyWasDown = down;
  }
  g_frameOpen = false;
  if (g_screen) {
    if (!g_direct && g_backSurface) SDL_BlitSurface(g_backSurface, nullptr, g_screen, nullptr);
    SDL_Flip(g_screen);
  }
  Window_PumpMessages();
}

bool Screen_SaveScreenshot(const char* path) {
  if (!path || !*path) return false;
  FIBITMAP* dib = FreeImage_Allocate(kScreenWidth, kScreenHeight, 24);
  if (!dib) return false;
  ComposeTarget t = Screen_Target();
  for (int32_t r = 0; r < kScreenHeight; r++) {
    uint8_t* out = FreeImage_GetScanLine(dib, kScreenHeight - 1 - r);
    const uint32_t* in = t.pixels + (size_t)r * t.pitch;
    for (int32_t c = 0; c < kScreenWidth; c++, out += 3) {
      out[FI_RGBA_RED] = (uint8_t)(in[c] >> 16);
      out[FI_RGBA_GREEN] = (uint8_t)(in[c] >> 8);
      out[FI_RGBA_BLUE] = (uint8_t)in[c];
    }
  }
  bool ok = false;
  if (FIMEMORY* mem = FreeImage_OpenMemory()) {
    BYTE* data = nullptr;
    DWORD size = 0;
    if (FreeImage_SaveToMemory(FIF_PNG, dib, mem, PNG_DEFAULT) && FreeImage_AcquireMemory(mem, &data, &size))
      ok = File_WriteSafely(path, data, size);
    FreeImage_CloseMemory(mem);
  }
  FreeImage_Unload(dib);
  if (ok) WriteLogf("Screenshot saved to '%s'\n", path);
  else WriteLogf("Unable to save screenshot '%s'\n", path);
  return ok;
}

std::string Screen_TakeScreenshot() {
  const char* folder = "Screenshots";
  if (!Dir_Create(folder)) {
    WriteLogf("Unable to make the folder '%s'\n", folder);
    return "";
  }
  time_t now = time(nullptr);
  struct tm tmv;
  localtime_r(&now, &tmv);
  char stamp[64];
  strftime(stamp, sizeof stamp, "%Y-%m-%d_%H-%M-%S", &tmv);
  char path[160];
  snprintf(path, sizeof path, "%s/%s.png", folder, stamp);
  for (int n = 2; File_Exists(path) && n < 1000; n++) snprintf(path, sizeof path, "%s/%s-%d.png", folder, stamp, n);
  return Screen_SaveScreenshot(path) ? std::string(path) : std::string();
}
