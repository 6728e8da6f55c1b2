#include "menus/credits_motion.h"
#include "chart/random.h"
#include <algorithm>
#include <cmath>

namespace {
constexpr double kRisePerMs = 0.057142857;   // 1 pixel every 17.5 ms
constexpr int kSlideSinkMs = 16;             // 1 pixel every 16 ms
constexpr int kSlideStartY = 300;
constexpr double kEndingVolumePerMs = 0.0661376;   // 100 to 0 in about 1512 ms
constexpr uint32_t kEndingDarkFromMs = 1000;

int clampByte(double v) { return v <= 0 ? 0 : v >= 255 ? 255 : (int)v; }
}  // namespace

int Credits_LineY(uint32_t t, int offset) { return (int)std::floor(480.0 + offset - t * kRisePerMs); }

bool Credits_LineShown(int y) { return y >= 1 && y <= 479; }

int Credits_TextAlpha(int y) {
  if (y >= 421) return clampByte((114750.0 - 255.0 * y) / 30.0);
  if (y >= 30) return 255;
  return clampByte((255.0 * y - 2550.0) / 20.0);
}

uint32_t Credits_ClosingTime(int lastOffset) {
  double at = (480.0 + lastOffset - kCreditsClosingBelowY) / kRisePerMs;
  uint32_t t = at <= 0 ? 0 : (uint32_t)at;
  // the formula lands within a millisecond; settle on the exact first one
  while (t > 0 && Credits_LineY(t - 1, lastOffset) < kCreditsClosingBelowY) t--;
  while (Credits_LineY(t, lastOffset) >= kCreditsClosingBelowY) t++;
  return t;
}

SlideColumn Credits_SlideColumn(uint32_t t) {
  int y = (int)(t / kSlideSinkMs) + kSlideStartY;
  int moves = y > 479 ? (y - 479 + kSlideHeight - 1) / kSlideHeight : 0;
  SlideColumn c;
  c.bottomY = y - moves * kSlideHeight;
  c.bottomIndex = ((-moves) % kCreditsSlides + kCreditsSlides) % kCreditsSlides;
  return c;
}

void Credits_PickSlides(int songCount, int slides[kCreditsSlides]) {
  int run[kCreditsSlides];   // the songs picked so far in this run, ascending
  int inRun = 0;
  for (int i = 0; i < kCreditsSlides; i++) {
    if (songCount <= 0) {
      slides[i] = -1;
      continue;
    }
    if (inRun == songCount) inRun = 0;   // every song had its turn: a new run
    int s, at = 0;
    if (inRun == 0 && i > 0 && songCount > 1) {
      // a new run does not open with the song just shown: neighbours in the
      // column would look like one tall picture
      s = Random_Below(songCount - 1);
      if (s >= slides[i - 1]) s++;
    } else {
      // the k-th song not yet picked in this run
      s = Random_Below(songCount - inRun);
      for (; at < inRun && run[at] <= s; at++) s++;
    }
    for (int j = inRun; j > at; j--) run[j] = run[j - 1];
    run[at] = s;
    inRun++;
    slides[i] = s;
  }
}

int Credits_ClosingAlpha(uint32_t sinceClosing) {
  if (sinceClosing >= kCreditsClosingFadeMs) return 255;
  return (int)(sinceClosing * 255 / kCreditsClosingFadeMs);
}

double Credits_EndingVolume(uint32_t sinceEnding) { return 100.0 - sinceEnding * kEndingVolumePerMs; }

int Credits_OverlayAlpha(uint32_t t, bool ending, uint32_t sinceEnding) {
  int opening = t < kCreditsOpeningMs ? clampByte(255.0 - t / 2.0) : 0;
  int closing = ending && sinceEnding > kEndingDarkFromMs ? clampByte((sinceEnding - kEndingDarkFromMs) / 2.0) : 0;
  return std::max(opening, closing);
}
