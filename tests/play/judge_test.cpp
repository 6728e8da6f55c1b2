// Judging presses: the timing windows and their strict edges, misses, jumps
// judged as rows, one row per press, the order rule, stops, and bad input.
#include <gtest/gtest.h>
#include <cmath>
#include "play/judgement.h"
#include "play_sim.h"

namespace {

// At 120 BPM a sixteenth is 125 ms: position = ms / 125.
JudgeClock At(int64_t ms) { return JudgeClock_At((double)ms / 125.0, 500.0, ms); }

// One Left arrow at position 8.0, due 1000 ms after position 0.
struct OneNote : PlaySim {
  OneNote() {
    Join(0, 5);
    EXPECT_TRUE(Load(Chart("SINGLE:MANIAC:5:", "00004")));
    Begin();
  }
  int Press(int64_t ms, int column = COL_LEFT) { return JudgePress(jp, 0, column, ms, At(ms)); }
};

struct Edge {
  int ahead;      // the note's distance at the press, ms (positive: early)
  int judgement;  // -1: not judged
};

TEST(JudgeWindows, StrictEdgesAtTheDefaultWindows) {
  const Edge edges[] = {{0, JUDGE_PERFECT}, {49, JUDGE_PERFECT}, {50, JUDGE_GREAT},  {-50, JUDGE_GREAT},
                        {89, JUDGE_GREAT},  {90, JUDGE_GOOD},    {100, JUDGE_GOOD},  {-114, JUDGE_GOOD},
                        {115, JUDGE_BOO},   {-139, JUDGE_BOO},   {139, JUDGE_BOO},   {140, -1},
                        {-140, -1},         {300, -1}};
  for (const Edge& e : edges) {
    SCOPED_TRACE(e.ahead);
    OneNote s;
    int got = s.Press(1000 - e.ahead);
    if (e.judgement < 0) {
      EXPECT_EQ(got, -1);
      EXPECT_EQ(s.p[0].arrows[0].status, NOTE_PENDING);
      continue;
    }
    EXPECT_EQ(got, 0);
    EXPECT_EQ(s.p[0].lastJudgement, e.judgement);
    EXPECT_EQ(s.p[0].judgementCounts[e.judgement], 1);
    EXPECT_EQ(s.p[0].arrows[0].judgement[kPressOffset], e.ahead);
    EXPECT_EQ(s.p[0].lastJudgementTime, 1000 - e.ahead);
  }
}

TEST(JudgeWindows, TakenFromTheSettingsAtTheStartOfThePlay) {
  OneNote s;
  const uint16_t tight[4] = {20, 40, 60, 80};
  memcpy(g_settings.windows, tight, sizeof tight);
  EXPECT_EQ(s.Press(1000 - 30), 0) << "the windows of the running play stay";
  EXPECT_EQ(s.p[0].lastJudgement, JUDGE_PERFECT);

  OneNote t;   // a new play copies the settings (the fixture loads the defaults first)
  memcpy(g_settings.windows, tight, sizeof tight);
  BeginPlay(t.p[0], 1, false);
  EXPECT_EQ(t.Press(1000 - 85), -1);
  EXPECT_EQ(t.Press(1000 - 30), 0);
  EXPECT_EQ(t.p[0].lastJudgement, JUDGE_GREAT);
}

TEST(JudgeMisses, MissOnlyWhenMoreThanTheBooWindowLate) {
  OneNote s;
  JudgeMisses(s.jp, 0, At(1140));
  EXPECT_EQ(s.p[0].arrows[0].status, NOTE_PENDING);
  EXPECT_EQ(s.p[0].judgementCounts[JUDGE_MISS], 0);
  JudgeMisses(s.jp, 0, At(1141));
  EXPECT_EQ(s.p[0].arrows[0].status, NOTE_JUDGED);
  EXPECT_EQ(s.p[0].arrows[0].judgement[kOwnJudgement], JUDGE_MISS);
  EXPECT_EQ(s.p[0].judgementCounts[JUDGE_MISS], 1);
  EXPECT_EQ(s.p[0].lastJudgement, JUDGE_MISS);
  JudgeMisses(s.jp, 0, At(2000));
  EXPECT_EQ(s.p[0].judgementCounts[JUDGE_MISS], 1) << "a note is missed once";
  EXPECT_EQ(s.Press(1100), -1) << "a missed note cannot be pressed";
}

TEST(JudgePress, TooEarlyLeavesTheNoteForALaterPress) {
  OneNote s;
  EXPECT_EQ(s.Press(860), -1);
  EXPECT_EQ(s.Press(1000, COL_DOWN), -1) << "no note in that column";
  EXPECT_EQ(s.Press(1000), 0);
  EXPECT_EQ(s.p[0].judgementCounts[JUDGE_PERFECT], 1);
  EXPECT_EQ(s.Press(1010), -1) << "a judged note is judged once";
}

TEST(JudgePress, BadColumnsAndUnusableClocksJudgeNothing) {
  OneNote s;
  EXPECT_EQ(s.Press(1000, 12), -1);
  EXPECT_EQ(s.Press(1000, -1), -1);
  JudgeClock bad = At(1000);
  bad.position = std::nan("");
  EXPECT_EQ(JudgePress(s.jp, 0, COL_LEFT, 1000, bad), -1);
  bad = At(1000);
  bad.msPerBeat = 0;
  EXPECT_EQ(JudgePress(s.jp, 0, COL_LEFT, 1000, bad), -1);
  JudgeMisses(s.jp, 0, bad);
  EXPECT_EQ(JudgePress(s.jp, 1, COL_LEFT, 1000, At(1000)), -1) << "player 2 does not take part";
  EXPECT_EQ(JudgePress(s.jp, 7, COL_LEFT, 1000, At(1000)), -1);
  EXPECT_EQ(s.p[0].arrows[0].status, NOTE_PENDING);
  EXPECT_EQ(s.Press(1000), 0);
}

TEST(JudgePress, APressBeforeTheFrameIsMeasuredAtItsOwnTime) {
  OneNote s;
  // the frame is at 1030 but the press came at 1000
  EXPECT_EQ(JudgePress(s.jp, 0, COL_LEFT, 1000, At(1030)), 0);
  EXPECT_EQ(s.p[0].lastJudgement, JUDGE_PERFECT);
}

// The row "1" (Left and Down) at position 8.0.
struct Jump : PlaySim {
  Jump() {
    Join(0, 5);
    EXPECT_TRUE(Load(Chart("SINGLE:MANIAC:5:", "00001")));
    Begin();
  }
};

TEST(JudgeRows, PerfectAndGreatJumpCountsOneGreatAndTwoCombo) {
  Jump s;
  Player& p = s.p[0];
  ASSERT_EQ(p.arrowCount, 2);
  EXPECT_EQ(JudgePress(s.jp, 0, COL_LEFT, 1000, At(1000)), 0);
  EXPECT_EQ(p.arrows[0].status, NOTE_PRESSED) << "the row waits for its other note";
  EXPECT_EQ(p.combo, 0);
  EXPECT_EQ(p.lastJudgement, kNoJudgement);
  EXPECT_EQ(JudgePress(s.jp, 0, COL_DOWN, 1060, At(1060)), 1);
  EXPECT_EQ(p.judgementCounts[JUDGE_GREAT], 1);
  EXPECT_EQ(p.judgementCounts[JUDGE_PERFECT], 0);
  EXPECT_EQ(p.combo, 2);
  EXPECT_EQ(p.maxCombo, 2);
  EXPECT_EQ(p.dancePoints, 1);
  EXPECT_EQ(p.chordBonus, 0);
  for (int i = 0; i < 2; i++) {
    EXPECT_EQ(p.arrows[i].status, NOTE_JUDGED);
    EXPECT_EQ(p.arrows[i].judgement[kOwnJudgement], JUDGE_GREAT) << "the worst is written back";
  }
  EXPECT_EQ(p.lastJudgement, JUDGE_GREAT);
  EXPECT_EQ(p.lastJudgedNote, 1);
  EXPECT_EQ(s.jp.events.count, 1);
  EXPECT_EQ(s.jp.events.list[0].kind, JEV_ROW);
  EXPECT_EQ(s.jp.events.list[0].value, 2);
}

TEST(JudgeRows, PerfectJumpAddsTheChordBonus) {
  Jump s;
  Player& p = s.p[0];
  JudgePress(s.jp, 0, COL_DOWN, 990, At(990));   // any order
  JudgePress(s.jp, 0, COL_LEFT, 1010, At(1010));
  EXPECT_EQ(p.judgementCounts[JUDGE_PERFECT], 1);
  EXPECT_EQ(p.chordBonus, 1);
  EXPECT_EQ(p.dancePoints, 2);
  EXPECT_EQ(p.combo, 2);
  EXPECT_EQ(p.life, 850 + 10) << "life changes once per row";
}

TEST(JudgeRows, AHalfPressedJumpIsOneMiss) {
  Jump s;
  Player& p = s.p[0];
  p.combo = 7;
  JudgePress(s.jp, 0, COL_LEFT, 1000, At(1000));
  JudgeMisses(s.jp, 0, At(1100));
  EXPECT_EQ(p.judgementCounts[JUDGE_MISS], 0);
  JudgeMisses(s.jp, 0, At(1141));
  EXPECT_EQ(p.judgementCounts[JUDGE_MISS], 1);
  EXPECT_EQ(p.judgementCounts[JUDGE_PERFECT], 0);
  EXPECT_EQ(p.arrows[0].judgement[kOwnJudgement], JUDGE_MISS);
  EXPECT_EQ(p.arrows[1].judgement[kOwnJudgement], JUDGE_MISS);
  EXPECT_EQ(p.combo, 0);
  EXPECT_EQ(p.dancePoints, -8);
}

TEST(JudgePress, OnePressJudgesOneRow) {
  PlaySim s;
  s.Join(0, 5);
  ASSERT_TRUE(s.Load(Chart("SINGLE:MANIAC:5:", "00{44}")));   // Left at 4.0 and 4.25: 31 ms apart
  s.Begin();
  Player& p = s.p[0];
  ASSERT_EQ(p.arrowCount, 2);
  EXPECT_EQ(JudgePress(s.jp, 0, COL_LEFT, 515, At(515)), 0);
  EXPECT_EQ(p.arrows[1].status, NOTE_PENDING);
  EXPECT_EQ(p.combo, 1);
  EXPECT_EQ(JudgePress(s.jp, 0, COL_LEFT, 520, At(520)), 1);
  EXPECT_EQ(p.combo, 2);
}

TEST(JudgePress, NotesBehindTheLastJudgedRowAreNotPressedAnyMore) {
  PlaySim s;
  s.Join(0, 5);
  ASSERT_TRUE(s.Load(Chart("SINGLE:MANIAC:5:", "(0000000042)")));   // Left at 8.0, Down at 9.0
  s.Begin();
  Player& p = s.p[0];
  EXPECT_EQ(JudgePress(s.jp, 0, COL_DOWN, 1100, At(1100)), 1);
  EXPECT_EQ(JudgePress(s.jp, 0, COL_LEFT, 1110, At(1110)), -1);
  JudgeMisses(s.jp, 0, At(1200));
  EXPECT_EQ(p.judgementCounts[JUDGE_PERFECT], 1);
  EXPECT_EQ(p.judgementCounts[JUDGE_MISS], 1);
}

TEST(JudgePress, TheScanStartsAtTheFirstOpenRecord) {
  PlaySim s;
  s.Join(0, 5);
  ASSERT_TRUE(s.Load(Chart("SINGLE:MANIAC:5:", "42864286")));
  s.Begin();
  Player& p = s.p[0];
  EXPECT_EQ(p.judgeFrom, 0);
  JudgePress(s.jp, 0, COL_LEFT, 0, At(0));
  JudgePress(s.jp, 0, COL_DOWN, 250, At(250));
  EXPECT_EQ(p.judgeFrom, 2);
  JudgeMisses(s.jp, 0, At(700));   // Up at 500 is missed, Right at 750 is not yet
  EXPECT_EQ(p.judgeFrom, 3);
  JudgeMisses(s.jp, 0, At(5000));
  EXPECT_EQ(p.judgeFrom, p.arrowCount);
  EXPECT_EQ(p.judgementCounts[JUDGE_MISS], 6);
}

TEST(JudgePress, SuddenDeathFailsOnTheFirstGood) {
  OneNote s;
  s.p[0].options.power = 2;
  BeginPlay(s.p[0], 1, false);
  EXPECT_EQ(s.p[0].life, 1700);
  EXPECT_EQ(s.Press(1000 - 100), 0);
  EXPECT_EQ(s.p[0].lastJudgement, JUDGE_GOOD);
  EXPECT_EQ(s.p[0].life, -100);
  EXPECT_EQ(s.p[0].lifeState, LIFE_DEAD);
  bool died = false;
  for (int i = 0; i < s.jp.events.count; i++) died |= s.jp.events.list[i].kind == JEV_DIED;
  EXPECT_TRUE(died);
}

// Left at 8.0 and at 9.0 with a 500 ms stop at 8.0: due at 1000 and 1625.
struct StopChart : PlaySim {
  StopChart() {
    Join(0, 5);
    EXPECT_TRUE(Load(Chart("SINGLE:MANIAC:5:", "(0000000044)", "#BPM:120;\n#GAP:0;\n#FREEZE:8=500;\n")));
    Begin();
  }
  JudgeClock Clock(int64_t ms) {
    Timing_Advance(scroll, g_timing, (double)ms, p, 2);
    return JudgeClock_Make(scroll, (double)ms, ms, g_timing.msPerBeat);
  }
};

TEST(JudgeStops, TheNoteOnTheStopWasDueWhenTheStopBegan) {
  StopChart s;
  JudgeClock c = s.Clock(1200);   // the scroll holds on the note
  ASSERT_TRUE(c.holding);
  EXPECT_EQ(JudgePress(s.jp, 0, COL_LEFT, 1200, c), -1) << "200 ms late";
  JudgeMisses(s.jp, 0, c);
  EXPECT_EQ(s.p[0].judgementCounts[JUDGE_MISS], 1);
  EXPECT_EQ(JudgePress(s.jp, 0, COL_LEFT, 1300, s.Clock(1300)), -1) << "the next note is 325 ms away";
  EXPECT_EQ(JudgePress(s.jp, 0, COL_LEFT, 1610, s.Clock(1610)), 1);
  EXPECT_EQ(s.p[0].lastJudgement, JUDGE_PERFECT);
}

TEST(JudgeStops, NotesAfterTheStopCountTheTimeItStillHolds) {
  StopChart s;
  EXPECT_EQ(JudgePress(s.jp, 0, COL_LEFT, 1010, s.Clock(1010)), 0);
  JudgeClock c = s.Clock(1450);
  ASSERT_TRUE(c.holding);
  EXPECT_EQ(JudgePress(s.jp, 0, COL_LEFT, 1450, c), -1) << "175 ms early: 50 ms of stop, then 125 ms";
  EXPECT_EQ(JudgePress(s.jp, 0, COL_LEFT, 1520, s.Clock(1520)), 1);
  EXPECT_EQ(s.p[0].lastJudgement, JUDGE_GOOD) << "105 ms early";
}

TEST(JudgeClockTest, DeltaRoundingDoesNotMoveAWindowEdge) {
  // 950 ms at 120 BPM: 7.6 sixteenths, which is not exact in binary
  JudgeClock c = JudgeClock_At(950.0 / 125.0, 500.0, 950);
  EXPECT_EQ(Judge_Delta(c, 8.0, 950), 50.0);
  const uint16_t w[4] = {50, 90, 115, 140};
  EXPECT_EQ(Judge_Classify(50.0, w), JUDGE_GREAT);
  EXPECT_EQ(Judge_Classify(49.999, w), JUDGE_PERFECT);
  EXPECT_EQ(Judge_Classify(140.0, w), -1);
  EXPECT_EQ(Judge_Classify(std::nan(""), w), -1);
}

}  // namespace
