#include "chart/step_analysis.h"
#include "chart/chart_text.h"
#include <gtest/gtest.h>
#include <cstring>

namespace {
struct Outcome {
  bool ok;
  ChartFigures f{};
  SongAnalysis e{};
};

Outcome analyse(const std::string& body, double bpm = 120, const std::string& extra = "", bool both = false,
            const char* key = "#SINGLE:BASIC:1:") {
  std::string text = extra + key + body + ";\n";
  ChartText_Prepare(text);
  AnalysisTiming t;
  Analysis_ReadPairs(text, "#CHANGEBPM:", t.tempoChanges);
  Analysis_ReadPairs(text, "#FREEZE:", t.stops);
  Outcome r;
  r.e.bpm = bpm;
  r.e.songLength = -7;
  r.ok = analyseChart(text, key, both, t, r.f, r.e);
  return r;
}
}

TEST(StepAnalysis, LengthAtConstantTempo) {
  // 16 rows of eighth notes at 120 BPM: 16 × 2 sixteenths × 125 ms
  Outcome r = analyse("2222222222222222");
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.e.songLength, 4000);
  EXPECT_NEAR(r.f.stream, 16 * 0.15625 * 90000 / 4000, 1e-9);
  EXPECT_NEAR(r.f.voltage, 16 * 0.1724137931034483 * 90000 / 4000, 1e-9);
  EXPECT_EQ(r.f.air, 0);
}

TEST(StepAnalysis, ChartWithoutArrowsStoresNothing) {
  Outcome r = analyse("00000000");
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.e.songLength, -7);
  EXPECT_TRUE(analyse("2222").ok);
  std::string text = "#SINGLE:BASIC:1:2222";  // no end
  ChartFigures f;
  SongAnalysis e{};
  e.bpm = 120;
  EXPECT_FALSE(analyseChart(text, "#SINGLE:BASIC:1:", false, {}, f, e));
  EXPECT_FALSE(analyseChart(text, "#SINGLE:MANIAC:1:", false, {}, f, e));
}

TEST(StepAnalysis, ChordsJumpsAndOffBeat) {
  // "<18>": Left, Down and Up (three arrows) together on the beat
  Outcome on = analyse("<18>0000");
  ASSERT_TRUE(on.ok);
  EXPECT_NEAR(on.f.air * on.e.songLength / 90000.0, 2, 1e-9);
  EXPECT_NEAR(on.f.stream * on.e.songLength / 90000.0 / 0.15625, 3, 1e-9);
  EXPECT_EQ(on.f.chaos, 0);
  // the same chord one sixteenth late: one off-beat step, weight counted per arrow
  Outcome off = analyse("(0)<18>000");
  ASSERT_TRUE(off.ok);
  EXPECT_NEAR(off.f.air * off.e.songLength / 90000.0, 2, 1e-9);
  EXPECT_GT(off.f.chaos, 0);
}

TEST(StepAnalysis, StopsLengthenSongAndHeldFreezes) {
  // a freeze on Up from 0 to 8 with a 500 ms stop at 4
  Outcome plain = analyse("8!800080000");
  Outcome stopped = analyse("8!800080000", 120, "#FREEZE:4=500;\n");
  ASSERT_TRUE(plain.ok && stopped.ok);
  EXPECT_EQ(stopped.e.songLength, plain.e.songLength + 500);
  double plainFreeze = plain.f.freeze * plain.e.songLength / 90000.0;
  double stoppedFreeze = stopped.f.freeze * stopped.e.songLength / 90000.0;
  EXPECT_NEAR(plainFreeze, 1.0, 1e-9);   // 8 sixteenths at 120 BPM
  EXPECT_NEAR(stoppedFreeze, 1.5, 1e-9);
}

TEST(StepAnalysis, TempoChangesAndBadTempos) {
  // 8 rows at 120 then 8 at 240 BPM
  Outcome r = analyse("2222222222222222", 120, "#CHANGEBPM:16=240,20=0,24=-5;\n");
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.e.songLength, 2000 + 1000);
  EXPECT_FALSE(analyse("2222", 0).ok);
}

TEST(StepAnalysis, TwoHalvesCountOnlyTheFirstForLength) {
  Outcome r = analyse("2222:22222222", 120, "", true, "#DOUBLE:BASIC:1:");
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.e.songLength, 1000);
  EXPECT_NEAR(r.f.stream * r.e.songLength / 90000.0 / 0.15625, 12, 1e-9);
  Outcome one = analyse("2222:22222222");
  EXPECT_EQ(one.e.songLength, 1000);
  EXPECT_NEAR(one.f.stream * one.e.songLength / 90000.0 / 0.15625, 4, 1e-9);
}
