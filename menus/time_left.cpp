#include "menus/time_left.h"
#include "media/skin/skin_images.h"
#include <cstdio>

void TimeLeft_Draw(int secondsLeft, int rightX, int y) {
  if (secondsLeft < 0) return;
  char digits[12];
  int n = snprintf(digits, sizeof digits, "%d", secondsLeft);
  constexpr int kDigitWidth = 32;
  int x = rightX - n * kDigitWidth;
  for (int i = 0; i < n; i++, x += kDigitWidth) {
    Image& d = g_skin.timer[digits[i] - '0'];
    d.SetPosition(x, y);
    d.Draw();
  }
}
