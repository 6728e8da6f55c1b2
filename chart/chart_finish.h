#pragma once
// The finishing steps of a loaded array: freeze records take their head's
// place, NOFREEZE and LITTLE drop freezes, chords are linked into rings, and the
// steps are numbered and counted for the scoring.
#include <cstdint>
#include "chart/chart.h"

struct ChartTotals {
  int32_t maxDancePoints;
  int32_t freezeCount;
  int32_t chordExtra;
  int32_t stepTriangle;
  int32_t steps;           // S, the last step number given
};

// `arrowFilter` and `noFreeze` are the player's modifiers.
void Chart_Finish(Arrow* arrows, int32_t count, int arrowFilter, bool noFreeze, ChartTotals& out);

// Chord rings only (part of Chart_Finish): records of kind ARROW_TAP whose start
// positions differ by less than 0.03 are linked through chordNext.
void Chart_LinkChords(Arrow* arrows, int32_t count, int arrowFilter);
