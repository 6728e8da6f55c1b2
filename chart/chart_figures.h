#pragma once
// The charts a song may hold and the step analysis figures of each. The song
// entry stores them byte for byte.
#include <cstdint>

constexpr int kChartSlots = 14;  // SINGLE 0-3, DOUBLE 4-7, COUPLE 8-10, SOLO 11-13

// The step analysis figures of one chart.
struct ChartFigures {
  double stream, voltage, air, freeze, chaos;
};
static_assert(sizeof(ChartFigures) == 40);
