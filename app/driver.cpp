#include "app/driver.h"
#include "platform/log.h"
#include "platform/pacer.h"
#include "library/settings.h"
#include "media/input/input.h"
#include "media/window.h"
#include "app/arcade_game.h"
#include "app/nonstop_game.h"
#include "app/title_menu.h"
#include "menus/collection.h"
#include "play/play_record.h"
#include "play/player.h"
#include "platform/msgbox.h"

namespace {
bool g_keyboardUp = false;
bool g_videoUp = false;
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
    g_play.rateStep = 5;
    g_play.bpmOverride = -1;
    Players_Reset();
    int r = TitleMenu(nonstopLast);
    Collection_NewGame();  // the sort from "Default Sort Method", nothing selected
    Players_ClearModifierText();
    if (r == TITLE_QUIT) break;
    if (r == TITLE_ARCADE) ArcadeGame();
    else if (r == TITLE_NONSTOP) NonstopGame();
    else if (r == TITLE_DEMO) AttractDemo();
    nonstopLast = r == TITLE_NONSTOP;   // the next menu starts where this game began
  }
}
