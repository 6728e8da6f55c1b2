// The break between the songs of a repeating course. The picture fades in from
// black; then the screen waits for either player's Start or Escape (with "Time
// Limit" on, for 30 seconds at most: the limit counts the wait, not the fades);
// then it fades to black and returns.
#include "menus/break_screen.h"
#include "media/draw_helpers.h"
#include "media/sound/sound_fx.h"
#include "menus/screen_loop.h"
#include "platform/log.h"
#include <algorithm>

namespace {
constexpr uint32_t kFadeMs = 2000;
constexpr double kFadePerMs = 0.1275;   // 255 over the 2000 ms of a fade
constexpr int kTimeLimitSeconds = 30;
constexpr uint32_t kStarts = MENU_START | (MENU_START << MENU_P2_SHIFT);
constexpr int kLarge = 30, kSmall = 16;
constexpr uint32_t kDark = 0x0A0C1C;     // the screen without a picture

void drawPicture(Image& picture) {
  if (!picture.loaded) {
    Draw_FillRect(0, 0, 640, 480, kDark);
    return;
  }
  bool scaled = picture.pictureWidth != 640 || picture.pictureHeight != 480;
  if (scaled) picture.SetSize(640, 480, 0);
  picture.SetPosition(0, 0);
  picture.Draw();
  if (scaled) picture.ResetSize();   // the caller's picture keeps its own size
}
}  // namespace

int BreakScreen_FadeInOpacity(uint32_t ms) { return std::clamp((int)(255 - ms * kFadePerMs), 0, 255); }

int BreakScreen_FadeOutOpacity(uint32_t ms) { return std::clamp((int)(ms * kFadePerMs), 0, 255); }

int BreakScreen_Frame(BreakState& b, uint32_t elapsedMs, bool go, bool& over) {
  over = false;
  if (b.leaveAtMs < 0) {
    if (elapsedMs < kFadeMs) return BreakScreen_FadeInOpacity(elapsedMs);
    if (!go) return 0;
    b.leaveAtMs = elapsedMs;
  }
  uint32_t out = (uint32_t)(elapsedMs - b.leaveAtMs);
  over = out >= kFadeMs;
  return BreakScreen_FadeOutOpacity(out);
}

void BreakScreen(Image& picture) {
  WriteLog("Taking a break...\n");
  if (!picture.loaded) WriteLog("No break picture: the break is shown on a plain screen\n");
  BreakState state;
  ScreenSetup setup;
  setup.timeLimitSeconds = kTimeLimitSeconds;
  Screen_Run(setup, [&](ScreenFrame& f) {
    bool go = (f.input & (kStarts | MENU_ESCAPE)) || f.timeUp;
    bool waited = state.leaveAtMs < 0, over = false;
    int black = BreakScreen_Frame(state, f.elapsedMs, go, over);
    if (waited && state.leaveAtMs >= 0 && (f.input & kStarts)) PlaySound(SND_START);
    f.holdTime = state.leaveAtMs >= 0 || f.elapsedMs < kFadeMs;   // the limit counts the wait only

    drawPicture(picture);
    Draw_TextCentred(kLarge, 0xFFFF00, 320, 390, "Taking a Break");
    Draw_TextCentred(kSmall, 0xFFFFFF, 320, 415, "Press START to continue");
    Screen_DrawTimeLeft(f.secondsLeft, 630, 8);
    if (black > 0) Draw_FillRect(0, 0, 640, 480, 0x000000, black);
    return over ? 1 : 0;
  });
  WriteLog("The break is over\n");
}

bool BreakScreen_Due(int stage, int breakAfter, bool repeats) {
  return repeats && breakAfter > 0 && stage > 0 && stage % breakAfter == 0;
}
