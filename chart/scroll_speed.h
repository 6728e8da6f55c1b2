#pragma once
// The scroll speeds of the speed modifier: how many pixels a beat of the chart
// takes on screen. The chart loader sets each player's scale from them, the
// timing model keeps it in step with the tempo.
#include <cstdint>

constexpr int kSpeedCodes = 10;
// Pixels per beat by speed code: 1x 1.5x 2x 3x 4x 5x 8x .25x .5x .75x.
extern const int32_t kSpeedPixelsPerBeat[kSpeedCodes];
// Any code outside 0..9 gives 64 (1x).
int32_t Speed_PixelsPerBeat(int code);
// pixels per millisecond = pixels per beat * bpm / 60000
double Speed_Scale(int32_t pixelsPerBeat, double bpm);
