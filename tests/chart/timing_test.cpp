// Position and time: the start-of-play walk, the inverse conversion and the
// per-frame scroll through tempo changes and stops.
#include <gtest/gtest.h>
#include <cmath>
#include <cstdlib>
#include <vector>
#include "chart/timing.h"
#include "chart_test_util.h"
#include "library/settings.h"
#include "play/modifiers.h"
#include "play/player.h"

namespace {

// Installs timing values with copies of the lists.
void SetTiming(double bpm, std::vector<BpmChange> changes, std::vector<FreezeStop> stops = {}, int64_t gap = 0) {
  BpmChange* c = nullptr;
  FreezeStop* s = nullptr;
  if (!changes.empty()) {
    c = (BpmChange*)malloc(changes.size() * sizeof(BpmChange));
    std::copy(changes.begin(), changes.end(), c);
  }
  if (!stops.empty()) {
    s = (FreezeStop*)malloc(stops.size() * sizeof(FreezeStop));
    std::copy(stops.begin(), stops.end(), s);
  }
  Timing_Install(g_timing, bpm, gap, c, (int32_t)changes.size(), s, (int32_t)stops.size());
}

class Timing : public ::testing::Test {
 protected:
  TwoPlayers two;
  void SetUp() override { Settings_Defaults(g_settings); }
};

TEST_F(Timing, SteadyTempo) {
  SetTiming(120, {}, {}, 250);
  EXPECT_DOUBLE_EQ(g_timing.msPerBeat, 500);
  EXPECT_EQ(Timing_TimeOfPosition(g_timing, 8.0), 1000);
  EXPECT_DOUBLE_EQ(Timing_PositionOfTime(g_timing, 1000), 8.0);
  // music time = gap + 1000; the chart time takes gap, latency and adjustment off
  g_timing.gapAdjust = 15;
  EXPECT_DOUBLE_EQ(Timing_ChartTime(g_timing, 250 + 1000 + 40 + 15, 40), 1000);
  // before position 0 (a negative gap puts it before the music starts)
  EXPECT_EQ(Timing_TimeOfPosition(g_timing, -4.0), -500);
  EXPECT_DOUBLE_EQ(Timing_PositionOfTime(g_timing, -500), -4.0);
}

TEST_F(Timing, TempoChange) {
  SetTiming(120, {{4.0, 240}});
  EXPECT_EQ(Timing_TimeOfPosition(g_timing, 8.0), 750);
  EXPECT_EQ(Timing_TimeOfPosition(g_timing, 4.0), 500);   // a change at p itself is not passed
  EXPECT_DOUBLE_EQ(Timing_PositionOfTime(g_timing, 750), 8.0);
  EXPECT_DOUBLE_EQ(Timing_PositionOfTime(g_timing, 250), 2.0);
}

TEST_F(Timing, TruncatedAtEachChange) {
  SetTiming(140, {});
  EXPECT_EQ(Timing_TimeOfPosition(g_timing, 4.0), 428);
  // changes to the same tempo: each segment is cut to whole milliseconds, so the
  // sum loses more than one cut of the whole
  SetTiming(140, {{4, 140}, {8, 140}});
  EXPECT_EQ(Timing_TimeOfPosition(g_timing, 12.0), 1284);
  SetTiming(140, {});
  EXPECT_EQ(Timing_TimeOfPosition(g_timing, 12.0), 1285);
}

TEST_F(Timing, StartOfPlay) {
  SetTiming(120, {{4.0, 240}});
  SetUpPlayer(two.p[0], 1, "SINGLE", 4, 0, 1);
  SetUpPlayer(two.p[1], 2, "SINGLE", 4, 0, 1);
  Arrow a[1] = {}, b[1] = {};
  a[0].startPos = 8.0;   // 750 ms
  b[0].startPos = 2.0;   // 250 ms
  two.p[0].arrows = (Arrow*)malloc(sizeof a), two.p[0].arrowCount = 1, two.p[0].arrows[0] = a[0];
  two.p[1].arrows = (Arrow*)malloc(sizeof b), two.p[1].arrowCount = 1, two.p[1].arrows[0] = b[0];
  EXPECT_EQ(Timing_StartTime(g_timing, two.p, 2), 250 - 3500);
  EXPECT_EQ(Timing_StartTime(g_timing, two.p, 1), 750 - 3500);
  two.p[1].active = 0;
  EXPECT_EQ(Timing_StartTime(g_timing, two.p, 2), 750 - 3500);
  two.p[0].arrowCount = 0;
  EXPECT_EQ(Timing_StartTime(g_timing, two.p, 2), -3500);
}

class Scroll : public Timing {
 protected:
  Player& p = two.p[0];
  ScrollState s{};
  static std::string Beats() {
    std::string s;
    for (int i = 0; i < 20; i++) s += "80";
    return s;
  }
  // one arrow every beat (arrow i at 4 i), loaded as the loader would
  void Load(const std::string& extra, bool reverse = false) {
    SetUpPlayer(p, 1, "SINGLE", 4, 0, 1);
    p.options.reverse = reverse ? 1 : 0;
    ASSERT_EQ(LoadText(ChartWith("SINGLE:BASIC:1:", Beats(), extra), two.p, 1), 1);
    Timing_Begin(s, g_timing);
  }
  // where the note field draws arrow i (no acceleration)
  double ScreenY(int i) {
    double y = Note_BaseOffset(p.arrows[i].tapeY, p.options.reverse, Timing_TapeScroll(s, p));
    return Note_ScreenY(y, 0, p.options.reverse, true, s.position);
  }
};

TEST_F(Scroll, PositionFromTheClock) {
  Load("#BPM:120;#GAP:0;");
  EXPECT_EQ(Timing_Advance(s, g_timing, -1000, two.p, 1), 0);
  EXPECT_DOUBLE_EQ(s.position, -8.0);
  Timing_Advance(s, g_timing, 1000, two.p, 1);
  EXPECT_DOUBLE_EQ(s.position, 8.0);
  EXPECT_DOUBLE_EQ(s.chartPos, 8.0);
  EXPECT_DOUBLE_EQ(ScreenY(2), 55.0);   // the arrow at 8 is on the receptors
  EXPECT_DOUBLE_EQ(ScreenY(3), 55.0 + 64);
}

TEST_F(Scroll, TempoChangeShiftsTheTape) {
  Load("#BPM:120;#GAP:0;#CHANGEBPM:4=240;");
  EXPECT_DOUBLE_EQ(p.arrows[2].tapeY, 64 * 8 / 4.0 + 55);
  EXPECT_EQ(Timing_Advance(s, g_timing, 600, two.p, 1), TIMING_TEMPO_CHANGED);
  EXPECT_DOUBLE_EQ(g_timing.bpm, 240);
  EXPECT_DOUBLE_EQ(g_timing.msPerBeat, 250);
  EXPECT_DOUBLE_EQ(p.pixelsPerMs, 64 * 240 / 60000.0);
  // the old segment scrolled 4 sixteenths: 64 pixels
  EXPECT_DOUBLE_EQ(p.arrows[2].tapeY, 64 * 8 / 4.0 + 55 - 64);
  EXPECT_DOUBLE_EQ(s.position, 4 + 100 * 4 / 250.0);
  Timing_Advance(s, g_timing, 750, two.p, 1);
  EXPECT_DOUBLE_EQ(s.position, 8.0);
  EXPECT_DOUBLE_EQ(ScreenY(2), 55.0);
  // the change is taken once
  EXPECT_EQ(Timing_Advance(s, g_timing, 800, two.p, 1), 0);
}

TEST_F(Scroll, TempoChangeInReverse) {
  Load("#BPM:120;#GAP:0;#CHANGEBPM:4=240;", true);
  EXPECT_DOUBLE_EQ(p.arrows[2].tapeY, 413 - (64 * 8 / 4.0 + 55));
  Timing_Advance(s, g_timing, 600, two.p, 1);
  EXPECT_DOUBLE_EQ(p.arrows[2].tapeY, 413 - (64 * 8 / 4.0 + 55) + 64);
  Timing_Advance(s, g_timing, 750, two.p, 1);
  EXPECT_DOUBLE_EQ(ScreenY(2), 356.0);   // on the reverse receptors
}

TEST_F(Scroll, StopHoldsAndMovesLaterEvents) {
  Load("#BPM:120;#GAP:0;#FREEZE:4=1000,12=500;#CHANGEBPM:8=240;");
  Timing_Advance(s, g_timing, 400, two.p, 1);
  EXPECT_DOUBLE_EQ(s.chartPos, 3.2);
  EXPECT_EQ(p.arrows[1].afterStop, 0);
  EXPECT_EQ(Timing_Advance(s, g_timing, 600, two.p, 1), TIMING_STOP_BEGAN);
  EXPECT_TRUE(s.holding);
  EXPECT_DOUBLE_EQ(s.chartPos, 4.0);
  EXPECT_DOUBLE_EQ(s.position, 4.8);   // the song position runs on
  EXPECT_EQ(p.arrows[0].afterStop, 0);
  EXPECT_EQ(p.arrows[1].afterStop, 1);   // at the stop's position
  EXPECT_EQ(p.arrows[9].afterStop, 1);
  double held = ScreenY(2);
  Timing_Advance(s, g_timing, 1400, two.p, 1);
  EXPECT_DOUBLE_EQ(s.chartPos, 4.0);
  EXPECT_DOUBLE_EQ(ScreenY(2), held);   // the scroll holds
  // the stop ends at 1500: 1000 ms at 120 BPM are 8 sixteenths
  EXPECT_EQ(Timing_Advance(s, g_timing, 1750, two.p, 1), TIMING_STOP_ENDED);
  EXPECT_DOUBLE_EQ(s.shiftThisFrame, 8.0);
  EXPECT_DOUBLE_EQ(g_timing.bpmChanges[0].position, 16.0);
  EXPECT_DOUBLE_EQ(g_timing.stops[1].position, 20.0);
  EXPECT_DOUBLE_EQ(s.chartPos, 6.0);
  EXPECT_DOUBLE_EQ(s.position, 14.0);
  // the tempo change comes at chart position 8, 2000 ms
  EXPECT_EQ(Timing_Advance(s, g_timing, 2000, two.p, 1), TIMING_TEMPO_CHANGED);
  EXPECT_DOUBLE_EQ(s.chartPos, 8.0);
  EXPECT_DOUBLE_EQ(ScreenY(2), 55.0);
  // the second stop at chart 12: 4 sixteenths at 240 BPM after 2000 ms
  EXPECT_EQ(Timing_Advance(s, g_timing, 2300, two.p, 1), TIMING_STOP_BEGAN);
  EXPECT_DOUBLE_EQ(s.chartPos, 12.0);
  EXPECT_DOUBLE_EQ(ScreenY(3), 55.0);
  Timing_Advance(s, g_timing, 2750, two.p, 1);   // ended at 2750
  EXPECT_FALSE(s.holding);
  EXPECT_DOUBLE_EQ(s.chartPos, 12.0);
  Timing_Advance(s, g_timing, 3000, two.p, 1);
  EXPECT_DOUBLE_EQ(s.chartPos, 16.0);
  EXPECT_DOUBLE_EQ(ScreenY(4), 55.0);
}

TEST_F(Scroll, OneLongStepEqualsManyShortOnes) {
  const std::string extra = "#BPM:150;#GAP:0;#CHANGEBPM:6=90,6=200,14=75,30=333;#FREEZE:6=300,10=125,10=40,31=900;";
  Load(extra);
  std::vector<double> oneShot;
  int events = Timing_Advance(s, g_timing, 9000, two.p, 1);
  EXPECT_EQ(events, TIMING_TEMPO_CHANGED | TIMING_STOP_BEGAN | TIMING_STOP_ENDED);
  for (int i = 0; i < p.arrowCount; i++) oneShot.push_back(ScreenY(i));
  double pos = s.chartPos, bpm = g_timing.bpm;

  Chart_Free(p);
  Load(extra);
  for (double t = 0; t <= 9000; t += 16.7) Timing_Advance(s, g_timing, t, two.p, 1);
  Timing_Advance(s, g_timing, 9000, two.p, 1);
  EXPECT_NEAR(s.chartPos, pos, 1e-9);
  EXPECT_DOUBLE_EQ(g_timing.bpm, bpm);
  for (int i = 0; i < p.arrowCount; i++) EXPECT_NEAR(ScreenY(i), oneShot[i], 1e-6) << i;
}

TEST_F(Scroll, ChartPositionNeverGoesBack) {
  Load("#BPM:130;#GAP:0;#CHANGEBPM:3=260,9=65;#FREEZE:2=200,5=700,9=100;");
  double last = -1e9, lastY = 1e9;
  for (double t = -500; t < 8000; t += 7) {
    Timing_Advance(s, g_timing, t, two.p, 1);
    EXPECT_GE(s.chartPos, last - 1e-9) << t;
    double y = ScreenY(10);
    EXPECT_LE(y, lastY + 1e-6) << t;   // an arrow only ever rises
    last = s.chartPos;
    lastY = y;
  }
}

TEST_F(Scroll, ChangeAndStopAtOnePosition) {
  Load("#BPM:120;#GAP:0;#CHANGEBPM:4=60;#FREEZE:4=1000;");
  Timing_Advance(s, g_timing, 500, two.p, 1);
  // the tempo change comes first; the stop then holds for 1000 ms
  EXPECT_DOUBLE_EQ(g_timing.bpm, 60);
  EXPECT_TRUE(s.holding);
  Timing_Advance(s, g_timing, 1500, two.p, 1);
  EXPECT_FALSE(s.holding);
  EXPECT_DOUBLE_EQ(s.chartPos, 4.0);
  Timing_Advance(s, g_timing, 2500, two.p, 1);
  EXPECT_DOUBLE_EQ(s.chartPos, 8.0);
}

TEST_F(Scroll, TempoSetDuringPlayCarriesOnWithoutAJump) {
  Load("#BPM:120;#GAP:0;#FREEZE:12=500;#CHANGEBPM:16=60;");
  Timing_Advance(s, g_timing, 600, two.p, 1);
  ASSERT_DOUBLE_EQ(s.chartPos, 4.8);
  double before = ScreenY(2);
  ASSERT_TRUE(Timing_SetTempo(s, g_timing, 240, two.p, 1));
  EXPECT_DOUBLE_EQ(g_timing.msPerBeat, 250);
  EXPECT_DOUBLE_EQ(p.pixelsPerMs, 64 * 240 / 60000.0);
  EXPECT_DOUBLE_EQ(s.chartPos, 4.8);
  EXPECT_NEAR(ScreenY(2), before, 1e-9);   // nothing on screen moves
  // from here the song runs at 240: 3.2 sixteenths take 200 ms
  Timing_Advance(s, g_timing, 800, two.p, 1);
  EXPECT_NEAR(s.chartPos, 8.0, 1e-9);
  EXPECT_NEAR(ScreenY(2), 55.0, 1e-9);
  // a stop (reached at 1050) holds the tempo back until it ends; its 500 ms at
  // 240 BPM are 8 sixteenths
  Timing_Advance(s, g_timing, 1100, two.p, 1);
  ASSERT_TRUE(s.holding);
  EXPECT_FALSE(Timing_SetTempo(s, g_timing, 120, two.p, 1));
  EXPECT_DOUBLE_EQ(g_timing.bpm, 240);
  Timing_Advance(s, g_timing, 1600, two.p, 1);
  ASSERT_FALSE(s.holding);
  EXPECT_DOUBLE_EQ(g_timing.bpmChanges[0].position, 24.0);
  EXPECT_NEAR(s.chartPos, 12.8, 1e-9);
  EXPECT_TRUE(Timing_SetTempo(s, g_timing, 120, two.p, 1));
  // the chart's own change still comes at its place: 3.2 sixteenths at 120 after 1600
  EXPECT_EQ(Timing_Advance(s, g_timing, 1999, two.p, 1), 0);
  EXPECT_EQ(Timing_Advance(s, g_timing, 2001, two.p, 1), TIMING_TEMPO_CHANGED);
  EXPECT_DOUBLE_EQ(g_timing.bpm, 60);
  EXPECT_NEAR(s.chartPos, 16.004, 1e-9);
  // tempos out of bounds are refused
  EXPECT_FALSE(Timing_SetTempo(s, g_timing, 0, two.p, 1));
  EXPECT_FALSE(Timing_SetTempo(s, g_timing, std::nan(""), two.p, 1));
}

}  // namespace
