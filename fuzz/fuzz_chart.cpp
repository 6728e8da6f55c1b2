// Loads arbitrary bytes as a chart for every style and difficulty, with the
// modifiers taken from the first byte and the level from the second, then walks
// the timing through the song. Any record that points outside its array, a
// broken chord ring or a count that disagrees with the records stops the run.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include "chart/chart.h"
#include "chart/random.h"
#include "chart/timing.h"
#include "library/settings.h"
#include "play/player.h"

namespace {
void Check(bool ok, const char* what) {
  if (!ok) {
    fprintf(stderr, "chart check failed: %s\n", what);
    abort();
  }
}

void CheckPlayer(const Player& p) {
  Check(p.arrowCount >= 0 && p.arrowCount <= kMaxArrows, "count");
  Check(p.arrowCount == 0 || p.arrows, "array");
  int32_t dance = 0, freezes = 0, extra = 0, step = 0;
  for (int32_t i = 0; i < p.arrowCount; i++) {
    const Arrow& a = p.arrows[i];
    Check(a.kind == ARROW_TAP || a.kind == ARROW_FREEZE || a.kind == ARROW_IGNORED, "kind");
    Check(a.chordNext >= -1 && a.chordNext < p.arrowCount && a.chordNext != i, "chordNext");
    Check(a.freezeLink >= -1 && a.freezeLink < p.arrowCount, "freezeLink");
    Check(a.column < kColumnSlots, "column");
    Check(a.endPos >= a.startPos, "freeze ends before it starts");
    if (a.freezeLink >= 0) {
      const Arrow& f = p.arrows[a.freezeLink];
      Check(a.kind == ARROW_TAP || a.kind == ARROW_IGNORED, "head kind");
      Check(f.column == a.column && f.startPos == a.startPos, "freeze and head differ");
      Check(f.kind == ARROW_FREEZE || f.kind == ARROW_IGNORED, "freeze kind");
    }
    if (a.chordNext >= 0) {
      // walk the ring back to this record
      int32_t k = a.chordNext, n = 0;
      while (k != i && n <= p.arrowCount) {
        Check(k >= 0 && p.arrows[k].kind == ARROW_TAP, "ring member");
        k = p.arrows[k].chordNext, n++;
      }
      Check(k == i, "ring not closed");
    }
    if (a.kind == ARROW_TAP) {
      Check(a.stepNumber == ++step, "step number");
      if (a.chordNext == -1 || a.chordNext > i) dance += 2;
      else extra++;
    } else if (a.kind == ARROW_FREEZE) {
      Check(a.stepNumber == ++step, "step number");
      dance += 6, freezes++;
    } else {
      Check(a.stepNumber == 0, "ignored step number");
    }
  }
  Check(dance == p.maxDancePoints && freezes == p.freezeCount && extra == p.chordExtra, "totals");
  Check(p.stepTriangle == (int32_t)((int64_t)step * (step + 1) / 2), "triangle");
}

struct Style {
  const char* name;
  int panels;
  bool both;
};
const Style kStyles[] = {
    {"SINGLE", 4, false}, {"DOUBLE", 8, false}, {"SOLO", 6, false}, {"BATTLE", 4, true}, {"SINGLE", 4, true},
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static bool once = [] {
    Settings_Defaults(g_settings);
    return true;
  }();
  (void)once;
  if (size < 2) return 0;
  uint8_t mods = data[0], level = data[1];
  const char* text = (const char*)data + 2;
  size_t length = size - 2;
  for (const Style& st : kStyles) {
    for (int d = 0; d < 4; d++) {
      Player players[2] = {};
      for (int i = 0; i < 2; i++) {
        Player& p = players[i];
        p.number = (uint8_t)(i + 1);
        p.active = (i == 0 || st.both) ? 1 : 0;
        Player_SetStyle(p, st.name, st.panels, !st.both);
        p.difficulty = (d + i) & 3;
        p.level = level;
        p.options.turn = (uint8_t)(mods % 5);
        p.options.arrowFilter = (uint8_t)((mods / 5) % 3);
        p.options.reverse = (uint8_t)((mods / 15) & 1);
        p.options.noFreeze = (uint8_t)((mods / 30) & 1);
        p.options.speed = (int8_t)((mods / 60) * 3 + i);
      }
      Random_Seed(mods);
      if (loadChartText(text, length, "fuzz.rkv", players, 2, ChartRules{})) {
        for (const Player& p : players)
          if (p.active) CheckPlayer(p);
        // walk the song: start of play, then frames until well past the last arrow
        int64_t start = Timing_StartTime(g_timing, players, 2);
        double last = 0;
        for (const Player& p : players)
          if (p.arrowCount > 0) last = p.arrows[p.arrowCount - 1].startPos > last ? p.arrows[p.arrowCount - 1].startPos : last;
        double end = (double)Timing_TimeOfPosition(g_timing, last) + 2000;
        for (int32_t i = 0; i < g_timing.stopCount; i++) end += g_timing.stops[i].milliseconds;
        ScrollState s;
        Timing_Begin(s, g_timing);
        double prev = -1e300;
        for (int f = 0; f <= 64; f++) {
          double t = (double)start + (end - (double)start) * f / 64.0;
          Timing_Advance(s, g_timing, t, players, 2);
          Check(s.chartPos == s.chartPos, "chart position is not a number");
          Check(s.chartPos >= prev - 1e-6 * (1 + (prev < 0 ? -prev : prev)), "chart position went back");
          prev = s.chartPos;
        }
        Check(Timing_PositionOfTime(g_timing, 0) == Timing_PositionOfTime(g_timing, 0), "inverse");
      }
      Chart_Free(players[0]);
      Chart_Free(players[1]);
      Timing_FreeLists(g_timing);
    }
  }
  return 0;
}
