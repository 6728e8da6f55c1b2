#include "app/warning_screen.h"
#include "media/draw_helpers.h"
#include "menus/screen_loop.h"
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
  ScreenSetup setup;
  setup.backdrop = "rkv2-dtile.png";
  setup.layout = BACKDROP_TILED_SCROLL;
  setup.fpsMeter = false;
  Screen_Run(setup, [newSongs](ScreenFrame& f) {
    int elapsed = (int)f.elapsedMs;
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
    return elapsed > 12000 ? 1 : 0;   // no input: the notice stays its twelve seconds
  });
}
