#include "chart/scroll_speed.h"

const int32_t kSpeedPixelsPerBeat[kSpeedCodes] = {64, 96, 128, 192, 256, 320, 512, 16, 32, 48};

int32_t Speed_PixelsPerBeat(int code) {
  if (code < 0 || code >= kSpeedCodes) return 64;
  return kSpeedPixelsPerBeat[code];
}

double Speed_Scale(int32_t pixelsPerBeat, double bpm) { return pixelsPerBeat * bpm / 60000.0; }
