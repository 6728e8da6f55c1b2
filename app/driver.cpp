#include "app/driver.h"
#include "app/log.h"
#include "app/pacer.h"
#include "library/settings.h"
#include "media/input/input.h"
#include "media/window.h"
#include "platform/msgbox.h"

namespace {
bool g_keyboardUp = false;
bool g_videoUp = false;

enum MenuResult { MENU_ARCADE = 1, MENU_NONSTOP = 3, MENU_DEMO = 8, MENU_QUIT = 9 };

// Until the title menu is in place the driver's menu step is a plain screen that
// ends the game on Escape (keyboard, gamepad binding or scripted input) or on the
// window's close button.
int plainMenu() {
  MenuInput_Begin();
  for (;;) {
    uint32_t in = MenuInput_Read(0, false);
    if ((in & MENU_ESCAPE) || Window_CloseRequested()) return MENU_QUIT;
    Screen_Clear(16, 20, 48);
    WaitFrame();
    Screen_Present();
  }
}
}

bool Driver_OpenDevices(const StartOptions& o) {
  Video_SelectBackend(o.useSDL, o.fullScreen, o.dither);
  int k = Keyboard_Init(o.keyFlags, o.useSDL);
  g_keyboardUp = k == 0;
  if (k != 0) {
    char text[128];
    snprintf(text, sizeof text, "Error initializing DirectInput for keyboard... (Code %d, Flags %x)", k, o.keyFlags);
    MessageBox_Show(text, "Error");
  }
  WriteLog("Opening Window (Window_Init())...\n");
  if (Window_Init(o.fullScreen, o.colourDepth, o.hardwareSurface, o.minSize, o.v5Hack) < 0) return false;
  g_videoUp = true;
  return true;
}

void Driver_CloseDevices() {
  if (g_keyboardUp) Keyboard_Shutdown();
  g_keyboardUp = false;
  Joystick_Shutdown();
  Window_Shutdown();
  g_videoUp = false;
}

void Driver_ClearScreen() {
  if (!g_videoUp) return;
  Screen_Clear(0, 0, 0);
  Screen_Present();
}

void Driver_Run() {
  bool nonstopLast = false;
  for (;;) {
    g_settings.currentSort = g_settings.defaultSort;
    if (g_settings.currentSort > 4) g_settings.folderIndex = 0;
    int r = plainMenu();
    if (r == MENU_QUIT) break;
    nonstopLast = r == MENU_NONSTOP;
    (void)nonstopLast;
  }
}
