// The chart loader on bad or unusual input, the timing tags, and the file itself.
#include <gtest/gtest.h>
#include <cmath>
#include <filesystem>
#include "platform/log.h"
#include "chart/timing.h"
#include "chart_test_util.h"
#include "library/settings.h"
#include "support/test_support.h"

namespace {

class ChartInput : public ::testing::Test {
 protected:
  TwoPlayers two;
  Player& p1 = two.p[0];
  void SetUp() override {
    Settings_Defaults(g_settings);
    SetUpPlayer(p1, 1, "SINGLE", 4, 2, 7);
  }
  ChartRules rules = DefaultRules();
  int Load(const std::string& text) { return LoadText(text, two.p, 1, rules); }
};

TEST_F(ChartInput, FailuresLeaveThePlayerAndTimingAlone) {
  ASSERT_EQ(Load(ChartWith("SINGLE:MANIAC:7:", "48", "#BPM:100;#GAP:5;")), 1);
  Arrow* before = p1.arrows;
  const std::string bad[] = {
      ChartWith("SINGLE:MANIAC:8:", "4"),                        // another level
      ChartWith("SINGLE:MANIAC:07:", "4"),                       // leading zero
      ChartWith("SINGLE:BASIC:7:", "4"),                         // another difficulty
      ChartWith("SINGLE:MANIAC:7:", "4", "#GAP:0;"),             // no #BPM:
      ChartWith("SINGLE:MANIAC:7:", "4", "#BPM:120;"),           // no #GAP:
      ChartWith("SINGLE:MANIAC:7:", "4", "#BPM:0;#GAP:0;"),
      ChartWith("SINGLE:MANIAC:7:", "4", "#BPM:-120;#GAP:0;"),
      ChartWith("SINGLE:MANIAC:7:", "4", "#BPM:nan;#GAP:0;"),
      ChartWith("SINGLE:MANIAC:7:", "4", "#BPM:inf;#GAP:0;"),
      ChartWith("SINGLE:MANIAC:7:", "4", "#BPM:1e400;#GAP:0;"),
      ChartWith("SINGLE:MANIAC:7:", "4", "#BPM:5e6;#GAP:0;"),
      ChartWith("SINGLE:MANIAC:7:", "4", "#BPM:x;#GAP:0;"),
      ChartWith("SINGLE:MANIAC:7:", "4", "#DISPLAYBPM:120;#GAP:0;"),
      "",
  };
  for (const std::string& t : bad) {
    EXPECT_EQ(Load(t), 0) << t;
    EXPECT_EQ(p1.arrows, before);
    EXPECT_EQ(p1.arrowCount, 2);
    EXPECT_DOUBLE_EQ(g_timing.bpm, 100);
    EXPECT_EQ(g_timing.gapMs, 5);
  }
}

TEST_F(ChartInput, NoDifficultyChosen) {
  p1.difficulty = -1;
  EXPECT_EQ(Load(ChartWith("SINGLE:MANIAC:7:", "4")), 0);
  p1.difficulty = 4;
  EXPECT_EQ(Load(ChartWith("SINGLE:MANIAC:7:", "4")), 0);
  EXPECT_EQ(p1.arrows, nullptr);
}

TEST_F(ChartInput, ChartKeys) {
  char key[64];
  ASSERT_TRUE(Chart_Key(p1, key, sizeof key));
  EXPECT_STREQ(key, "SINGLE:MANIAC:7:");
  Player_SetStyle(p1, "BATTLE", 4, false);
  p1.difficulty = 0;
  p1.level = 12;
  ASSERT_TRUE(Chart_Key(p1, key, sizeof key));
  EXPECT_STREQ(key, "COUPLE:BASIC:12:");
  Player_SetStyle(p1, "DOUBLE", 8, true);
  p1.difficulty = 3;
  ASSERT_TRUE(Chart_Key(p1, key, sizeof key));
  EXPECT_STREQ(key, "DOUBLE:SMANIAC:12:");
  // a style name that fills its field is still read within it
  memset(p1.styleName, 'S', sizeof p1.styleName);
  ASSERT_TRUE(Chart_Key(p1, key, sizeof key));
  EXPECT_EQ(std::string(key), std::string(20, 'S') + ":SMANIAC:12:");
}

TEST_F(ChartInput, TimingTagsAndLists) {
  rules.globalGap = 30;
  std::string extra =
      "#BPM: 150.5 ;\n#GAP:-250;\n#CHANGEBPM:16=75,\n 8=300 , 32=0,40=-5,44=nan,48=150=12;\n"
      "FREEZE:4=500,2=x,12=250.5,6=-1;\n";
  ASSERT_EQ(Load(ChartWith("SINGLE:MANIAC:7:", "4", extra)), 1);
  EXPECT_DOUBLE_EQ(g_timing.bpm, 150.5);
  EXPECT_DOUBLE_EQ(g_timing.initialBpm, 150.5);
  EXPECT_DOUBLE_EQ(g_timing.msPerBeat, 60000 / 150.5);
  EXPECT_EQ(g_timing.gapMs, -250 + 30);
  EXPECT_DOUBLE_EQ(p1.pixelsPerMs, 64 * 150.5 / 60000);
  // zero, negative and NaN tempos and the broken last pair are left out; the
  // rest goes in order of position
  ASSERT_EQ(g_timing.bpmChangeCount, 3);
  EXPECT_DOUBLE_EQ(g_timing.bpmChanges[0].position, 8);
  EXPECT_DOUBLE_EQ(g_timing.bpmChanges[0].bpm, 300);
  EXPECT_DOUBLE_EQ(g_timing.bpmChanges[1].position, 16);
  EXPECT_DOUBLE_EQ(g_timing.bpmChanges[1].bpm, 75);
  EXPECT_DOUBLE_EQ(g_timing.bpmChanges[2].position, 48);
  EXPECT_DOUBLE_EQ(g_timing.bpmChanges[2].bpm, 150);
  ASSERT_EQ(g_timing.stopCount, 2);
  EXPECT_DOUBLE_EQ(g_timing.stops[0].position, 4);
  EXPECT_DOUBLE_EQ(g_timing.stops[0].milliseconds, 500);
  EXPECT_DOUBLE_EQ(g_timing.stops[1].position, 12);
  EXPECT_DOUBLE_EQ(g_timing.stops[1].milliseconds, 250.5);
}

TEST_F(ChartInput, HugeListValuesAreLeftOut) {
  std::string extra =
      "#BPM:120;#GAP:0;#CHANGEBPM:1e300=120,4=1e300,-4=100,6=0.0001,8=1e-320,10=999999;"
      "#FREEZE:1e10=100,2=1e300,3=inf,5=0,7=36000001,9=35999999;";
  ASSERT_EQ(Load(ChartWith("SINGLE:MANIAC:7:", "4", extra)), 1);
  ASSERT_EQ(g_timing.bpmChangeCount, 1);
  EXPECT_DOUBLE_EQ(g_timing.bpmChanges[0].position, 10);
  ASSERT_EQ(g_timing.stopCount, 1);
  EXPECT_DOUBLE_EQ(g_timing.stops[0].position, 9);
  // the conversions stay finite everywhere
  EXPECT_EQ(Timing_TimeOfPosition(g_timing, 12), 1250);   // the last 2 sixteenths take 0.03 ms
  EXPECT_TRUE(std::isfinite(Timing_PositionOfTime(g_timing, 1e12)));
}

TEST_F(ChartInput, ListsWithoutPairsAreEmpty) {
  ASSERT_EQ(Load(ChartWith("SINGLE:MANIAC:7:", "4", "#BPM:120;#GAP:0;#CHANGEBPM:;#FREEZE:,,,;")), 1);
  EXPECT_EQ(g_timing.bpmChangeCount, 0);
  EXPECT_EQ(g_timing.bpmChanges, nullptr);
  EXPECT_EQ(g_timing.stopCount, 0);
  Chart_Free(p1);
  ASSERT_EQ(Load(ChartWith("SINGLE:MANIAC:7:", "4", "#BPM:120;#GAP:0;#CHANGEBPM:==;#FREEZE:4=;")), 1);
  EXPECT_EQ(g_timing.bpmChangeCount, 0);
  EXPECT_EQ(g_timing.stopCount, 0);
}

TEST_F(ChartInput, HugeGapIsClamped) {
  ASSERT_EQ(Load(ChartWith("SINGLE:MANIAC:7:", "4", "#BPM:120;#GAP:99999999999999999999;")), 1);
  EXPECT_EQ(g_timing.gapMs, INT32_MAX);
  Chart_Free(p1);
  ASSERT_EQ(Load(ChartWith("SINGLE:MANIAC:7:", "4", "#BPM:120;#GAP:-99999999999999999999;")), 1);
  EXPECT_EQ(g_timing.gapMs, INT32_MIN);
}

TEST_F(ChartInput, GapAdjustmentKeptOnlyForTheSameGap) {
  const std::string a = ChartWith("SINGLE:MANIAC:7:", "4", "#BPM:120;#GAP:100;");
  const std::string b = ChartWith("SINGLE:MANIAC:7:", "4", "#BPM:120;#GAP:120;");
  ASSERT_EQ(Load(a), 1);
  g_timing.gapAdjust = 35;
  Chart_Free(p1);
  ASSERT_EQ(Load(a), 1);
  EXPECT_EQ(g_timing.gapAdjust, 35);
  Chart_Free(p1);
  ASSERT_EQ(Load(b), 1);
  EXPECT_EQ(g_timing.gapAdjust, 0);
  g_timing.gapAdjust = -10;
  // the same file gap with another global gap is another effective gap
  rules.globalGap = 20;
  Chart_Free(p1);
  ASSERT_EQ(Load(b), 1);
  EXPECT_EQ(g_timing.gapAdjust, 0);
  // a failed load changes nothing
  g_timing.gapAdjust = 7;
  EXPECT_EQ(Load(ChartWith("SINGLE:MANIAC:7:", "4", "#GAP:1;")), 0);
  EXPECT_EQ(g_timing.gapAdjust, 7);
}

TEST_F(ChartInput, TooManyArrowsFailTheLoad) {
  std::string steps(kMaxArrows / 2 + 1, 'B');   // two arrows each
  EXPECT_EQ(Load(ChartWith("SINGLE:MANIAC:7:", steps)), 0);
  EXPECT_EQ(p1.arrows, nullptr);
  std::string fits(kMaxArrows, '4');
  ASSERT_EQ(Load(ChartWith("SINGLE:MANIAC:7:", fits)), 1);
  EXPECT_EQ(p1.arrowCount, kMaxArrows);
  EXPECT_EQ(p1.stepTriangle, (int32_t)((int64_t)kMaxArrows * (kMaxArrows + 1) / 2));
}

TEST_F(ChartInput, ExtraColonsAreIgnored) {
  ASSERT_EQ(Load(ChartWith("SINGLE:MANIAC:7:", "44:88")), 1);
  ASSERT_EQ(p1.arrowCount, 4);
  EXPECT_DOUBLE_EQ(p1.arrows[2].startPos, 4.0);   // no restart at 0
  Chart_Free(p1);
  SetUpPlayer(p1, 1, "DOUBLE", 8, 2, 7);
  ASSERT_EQ(Load(ChartWith("DOUBLE:MANIAC:7:", "4:4:4")), 1);
  ASSERT_EQ(p1.arrowCount, 3);
  EXPECT_EQ(p1.arrows[0].column, COL_LEFT);
  EXPECT_EQ(p1.arrows[1].column, 6 + COL_LEFT);
  EXPECT_EQ(p1.arrows[2].column, 6 + COL_LEFT);
  EXPECT_DOUBLE_EQ(p1.arrows[2].startPos, 2.0);
}

TEST_F(ChartInput, ChordGroupEdges) {
  // ">" without "<" does nothing; a second "<" keeps the first one's step
  ASSERT_EQ(Load(ChartWith("SINGLE:MANIAC:7:", "4>4<<48>4")), 1);
  ASSERT_EQ(p1.arrowCount, 5);
  const double at[5] = {0, 2, 4, 4, 6};
  for (int i = 0; i < 5; i++) EXPECT_DOUBLE_EQ(p1.arrows[i].startPos, at[i]) << i;
}

TEST_F(ChartInput, BytesOutsideTheTablesAreIgnored) {
  std::string steps = std::string("4\0\xff\x80", 4) + "8";
  ASSERT_EQ(Load(ChartWith("SINGLE:MANIAC:7:", steps)), 1);
  EXPECT_EQ(p1.arrowCount, 2);
}

class ChartFile : public ChartInput {
 protected:
  TempDir dir;
};

TEST_F(ChartFile, ReadsTheSongFolder) {
  std::filesystem::create_directories("Songs/Group/Song");
  WriteFile("Songs/Group/Song/song.rkv", ChartWith("SINGLE:MANIAC:7:", "4\r\n8"));
  ASSERT_EQ(loadChart("Group", "Song", "song.rkv", two.p, 1, rules), 1);
  EXPECT_EQ(p1.arrowCount, 2);
  Chart_Free(p1);
  // song packs come from systems that ignore case
  ASSERT_EQ(loadChart("group", "SONG", "Song.RKV", two.p, 1, rules), 1);
  EXPECT_EQ(p1.arrowCount, 2);
}

TEST_F(ChartFile, MissingAndEmptyFiles) {
  EXPECT_EQ(loadChart("Group", "Song", "none.rkv", two.p, 1, rules), 0);
  std::filesystem::create_directories("Songs/Group/Song");
  WriteFile("Songs/Group/Song/empty.rkv", "");
  EXPECT_EQ(loadChart("Group", "Song", "empty.rkv", two.p, 1, rules), 0);
  EXPECT_EQ(p1.arrows, nullptr);
}

TEST_F(ChartFile, LogsThePathAndTheKey) {
  std::filesystem::create_directories("Songs/G/S");
  WriteFile("Songs/G/S/a.rkv", ChartWith("SINGLE:MANIAC:7:", "4"));
  ASSERT_TRUE(LogOpen(0));
  ASSERT_EQ(loadChart("G", "S", "a.rkv", two.p, 1, rules), 1);
  LogOff();
  std::string log = ReadFile("rkv2.log");
  size_t path = log.find("./Songs/G/S/a.rkv\n");
  size_t key = log.find("SINGLE:MANIAC:7:\n");
  ASSERT_NE(path, std::string::npos) << log;
  ASSERT_NE(key, std::string::npos) << log;
  EXPECT_LT(path, key);
}

TEST_F(ChartFile, TestModeJoinsThePartsWithoutTheSongsFolder) {
  std::filesystem::create_directories("mine/x");
  WriteFile("mine/x/c.rkv", ChartWith("SINGLE:MANIAC:7:", "44"));
  rules.bareFolder = true;
  int r = loadChart("mine", "x", "c.rkv", two.p, 1, rules);
  ASSERT_EQ(r, 1);
  EXPECT_EQ(p1.arrowCount, 2);
}

}  // namespace
