#include "app/warning_screen.h"
#include "platform/pacer.h"
#include "media/draw_helpers.h"
#include "media/font/font.h"
#include "media/render/image.h"
#include "media/render/screen.h"
#include "media/skin/skin_images.h"
#include "media/input/input.h"
#include "media/window.h"
#include "platform/clock.h"
#include <SDL.h>
#include <cstdio>

namespace {
const char* const kNotice[2][4] = {
    {"Songs taken from commercial dance games may only be",
     "played by owners of those games and their soundtracks.",
     "Please respect the work of the people who made them.", nullptr},
    {"The author forbids distributing this program together",
     "with songs or step files owned by others, or altering",
     "the program files.", nullptr}};
constexpr int kLarge = 40, kSmall = 18;
}

int WarningScreen_Fade(int elapsed) {
  double a;
  if (elapsed < 1000) a = elapsed * 0.255;
  else if (elapsed <= 11000) a = 255;
  else a = (12000 - elapsed) * 0.255;
  if (a > 255) a = 255;
  if (a < 0) a = 0;
  return 255 - (int)a;
}

void WarningScreen(int newSongs) {
  Image tile;
  LoadPNG("rkv2-dtile.png", tile, 0, 0);
  uint32_t start = Clock_Ms();
  for (;;) {
    int elapsed = (int)(Clock_Ms() - start);
    if (elapsed > 12000) break;
    Keyboard_Poll();
    Screen_Clear(0, 0, 0);
    if (tile.loaded && tile.width > 0 && tile.height > 0) {
      int ox = (elapsed / 40) % tile.width, oy = (elapsed / 40) % tile.height;
      for (int y = -oy; y < 480; y += tile.height)
        for (int x = -ox; x < 640; x += tile.width) {
          tile.SetPosition(x, y);
          tile.Draw();
        }
    }
    Draw_FillRect(0, 0, 640, 480, 0x000000, 160);
    int y = 102;
    Draw_TextCentred(kLarge, 0xE64A67, 320, y, "W A R N I N G");
    y += 50;
    for (auto& para : kNotice) {
      for (const char* line : para) {
        if (!line) break;
        Draw_TextCentred(kSmall, 0xFFFFFF, 320, y, line);
        y += kSmall;
      }
      y += 2 * kSmall;
    }
    if (newSongs > 0) {
      char text[64];
      snprintf(text, sizeof text, newSongs == 1 ? "%d new song found" : "%d new songs found", newSongs);
      Draw_TextCentred(kSmall, 0xFFFF30, 320, y, text);
    }
    Draw_FillRect(0, 0, 640, 480, 0x000000, WarningScreen_Fade(elapsed));
    WaitFrame();
    Screen_Present();
    if (!g_pacer.limiterOn) SDL_Delay(5);
  }
  tile.Free();
}
