#include "app/driver.h"
#include "app/log.h"
#include "app/pacer.h"
#include "media/input_script.h"
#include "platform/clock.h"
#include <SDL.h>

namespace {
SDL_Surface* g_screen = nullptr;
bool g_sdlUp = false;

// Until the title menu is in place the driver shows a plain screen that ends on
// Escape (keyboard or scripted input) or on the window's close button.
bool escapePressed() {
  SDL_Event ev;
  bool quit = false;
  while (SDL_PollEvent(&ev)) {
    if (ev.type == SDL_QUIT) quit = true;
    if (ev.type == SDL_KEYDOWN && ev.key.keysym.sym == SDLK_ESCAPE) quit = true;
  }
  uint8_t keys[256];
  uint32_t joy[kScriptJoysticks];
  InputScript_State(Clock_Ms(), keys, joy);
  return quit || (keys[1] & 0x80);
}
}

bool Driver_OpenDevices(const StartOptions& o) {
  if (SDL_Init(SDL_INIT_VIDEO) < 0) return false;
  g_sdlUp = true;
  WriteLog("Opening Window (Window_Init())...\n");
  Uint32 flags = o.fullScreen ? SDL_FULLSCREEN : 0;
  if (o.hardwareSurface) flags |= SDL_HWSURFACE | SDL_DOUBLEBUF;
  g_screen = SDL_SetVideoMode(640, 480, o.colourDepth ? o.colourDepth : 32, flags);
  if (!g_screen) return false;
  SDL_WM_SetCaption("Tarvolen (SDL)", "IDI_DANCEICON");
  return true;
}

void Driver_CloseDevices() {
  if (g_sdlUp) SDL_Quit();
  g_sdlUp = false;
  g_screen = nullptr;
}

void Driver_ClearScreen() {
  if (!g_screen) return;
  SDL_FillRect(g_screen, nullptr, 0);
  SDL_Flip(g_screen);
}

void Driver_Run() {
  while (!escapePressed()) {
    SDL_FillRect(g_screen, nullptr, SDL_MapRGB(g_screen->format, 16, 20, 48));
    WaitFrame();
    SDL_Flip(g_screen);
    if (!g_pacer.limiterOn) SDL_Delay(1);
  }
}
