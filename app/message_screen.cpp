#include "app/message_screen.h"
#include "platform/pacer.h"
#include "media/draw_helpers.h"
#include "media/font/font.h"
#include "media/input/input.h"
#include "media/render/screen.h"
#include "media/window.h"
#include "platform/clock.h"
#include "platform/msgbox.h"
#include <SDL.h>
#include <cstring>
#include <string>
#include <vector>

namespace {
bool anyKeyDown() {
  const uint8_t* k = Keyboard_State();
  for (int i = 1; i < 256; i++)
    if (k[i] & 0x80) return true;
  return false;
}

void show(const char* text, const char* caption) {
  if (!Window_IsOpen() || !g_font.loaded) return;
  std::vector<std::string> lines;
  std::string t = text;
  size_t s = 0;
  while (s <= t.size()) {
    size_t e = t.find('\n', s);
    if (e == std::string::npos) e = t.size();
    lines.push_back(t.substr(s, e - s));
    s = e + 1;
  }
  // wait for the keys of whatever led here to be let go, then for a new press
  bool released = false;
  uint32_t start = Clock_Ms();
  for (;;) {
    Keyboard_Poll();
    bool down = anyKeyDown();
    if (!down) released = true;
    if ((released && down) || Window_CloseRequested()) break;
    if (Clock_Ms() - start > 600000) break;  // nobody there: go on after ten minutes
    Screen_Clear(0, 0, 0);
    Draw_FillRect(40, 150, 560, 40 + 22 * (int)lines.size(), 0x202038);
    Draw_TextCentred(24, 0xFFFF30, 320, 158, caption);
    for (size_t i = 0; i < lines.size(); i++) Draw_TextCentred(18, 0xFFFFFF, 320, 190 + 22 * (int)i, lines[i].c_str());
    Draw_TextCentred(14, 0xA0A0A0, 320, 440, "Press any key");
    WaitFrame();
    Screen_Present();
    SDL_Delay(5);
  }
}
}

void MessageScreen_Install() {
  char name[32] = "";
  if (!SDL_VideoDriverName(name, sizeof name) || strcmp(name, "dummy") == 0) return;
  MessageBox_SetHook(show);
}
