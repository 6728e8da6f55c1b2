// Whole plays: a chart from the loader, the position from the timing model,
// presses and releases frame by frame, and the final statistics.
#include <gtest/gtest.h>
#include <string>
#include "play/judgement.h"
#include "play/score.h"
#include "play_sim.h"

namespace {

// Left freeze 0..8 (0 to 1000 ms), Down freeze 12..20 (1500 to 2500 ms), Up at 24 (3000 ms).
const char* const kFreezes = "4!400040" "2!200020" "8";

class FreezePlay : public testing::TestWithParam<int> {};

TEST_P(FreezePlay, HeldToTheEndAndReleasedEarly) {
  PlaySim s;
  s.Join(0, 5);
  ASSERT_TRUE(s.Load(Chart("SINGLE:MANIAC:5:", kFreezes)));
  s.Begin();
  Player& p = s.p[0];
  ASSERT_EQ(p.arrowCount, 5);
  ASSERT_EQ(p.maxDancePoints, 18);
  std::vector<Step> steps = {{0, 0, COL_LEFT, true},    {1100, 0, COL_LEFT, false},  // past the end: OK
                             {1500, 0, COL_DOWN, true}, {2000, 0, COL_DOWN, false},  // 500 ms early: NG
                             {3060, 0, COL_UP, true},   {3080, 0, COL_UP, false}};   // 60 ms late: GREAT
  s.Run(steps, -3500, 4000, GetParam());
  EXPECT_EQ(p.judgementCounts[JUDGE_PERFECT], 2);
  EXPECT_EQ(p.judgementCounts[JUDGE_GREAT], 1);
  EXPECT_EQ(p.judgementCounts[JUDGE_MISS], 0);
  EXPECT_EQ(p.freezeOk, 1);
  EXPECT_EQ(p.freezeNg, 1);
  EXPECT_EQ(p.dancePoints, 2 + 6 + 2 + 1);
  EXPECT_EQ(p.combo, 3) << "freezes neither add to nor break the combo";
  EXPECT_EQ(p.maxCombo, 3);
  // weights: Left freeze 1, Left head 2, Down freeze 3, Down head 4, Up 5 (total 15);
  // PERFECT 2 x (2 + 1 + 4), GREAT 5: 19 of 30 half-units of 50,000,000
  EXPECT_STREQ(p.scoreText, "                   00031666666");
  // 850, +10 head, +10 freeze OK, +10 head, NG: recovery 4 and 2 x -45, GREAT +5
  EXPECT_EQ(p.life, 795);
  EXPECT_EQ(p.recoveryLevel, 4);
  EXPECT_EQ(p.lifeState, LIFE_ALIVE);
  EXPECT_EQ(p.arrows[0].status, FREEZE_OK);
  EXPECT_EQ(p.arrows[2].status, FREEZE_NG);
  EXPECT_EQ(s.Count(JEV_FREEZE_OK), 1);
  EXPECT_EQ(s.Count(JEV_FREEZE_NG), 1);
  EXPECT_EQ(p.holdNote[COL_LEFT], -1);
  EXPECT_EQ(p.holdNote[COL_DOWN], -1);
}

INSTANTIATE_TEST_SUITE_P(FrameSteps, FreezePlay, testing::Values(1, 7, 16, 33));

TEST(FreezeHeads, AMissedHeadLosesItsFreeze) {
  PlaySim s;
  s.Join(0, 5);
  ASSERT_TRUE(s.Load(Chart("SINGLE:MANIAC:5:", kFreezes)));
  s.Begin();
  Player& p = s.p[0];
  // Left is never pressed; Down is pressed and let go at once
  s.Run({{1500, 0, COL_DOWN, true}, {1500, 0, COL_DOWN, false}}, -3500, 4000);
  EXPECT_EQ(p.freezeNg, 2);
  EXPECT_EQ(p.freezeOk, 0);
  EXPECT_EQ(p.judgementCounts[JUDGE_MISS], 2);
  EXPECT_EQ(p.judgementCounts[JUDGE_PERFECT], 1);
}

TEST(TempoChanges, NotesAfterAChangeAreJudgedAtTheNewTempo) {
  PlaySim s;
  s.Join(0, 5);
  // 120 BPM, 240 from position 4: Left at 4 (500 ms), 6 (625 ms) and 8 (750 ms)
  ASSERT_TRUE(s.Load(Chart("SINGLE:MANIAC:5:", "00444", "#BPM:120;\n#GAP:0;\n#CHANGEBPM:4=240;\n")));
  s.Begin();
  s.Run(Taps(0, {{500, COL_LEFT}, {625 - 55, COL_LEFT}, {750 + 20, COL_LEFT}}), -3500, 1500);
  const Player& p = s.p[0];
  EXPECT_EQ(p.judgementCounts[JUDGE_PERFECT], 2);
  EXPECT_EQ(p.judgementCounts[JUDGE_GREAT], 1);
  EXPECT_EQ(p.arrows[1].judgement[kPressOffset], 55);
  EXPECT_EQ(p.arrows[2].judgement[kPressOffset], -20);
}

// 22 (or 24) Left arrows, one every 250 ms, for two players.
struct Versus : PlaySim {
  Versus(int notes, uint8_t power1, uint8_t power2, bool revive) {
    Join(0, 5, 2, power1);
    Join(1, 5, 2, power2);
    EXPECT_TRUE(Load(Chart("SINGLE:MANIAC:5:", std::string(notes, '4'))));
    g_settings.revive = revive;
    Begin();
  }
};

std::vector<Step> Every(int player, int from, int to) {
  std::vector<Step> s;
  for (int i = from; i <= to; i++) {
    s.push_back({i * 250, player, COL_LEFT, true});
    s.push_back({i * 250 + 10, player, COL_LEFT, false});
  }
  return s;
}

TEST(Revive, ADeadPlayerComesBackAboveOneHundredInTwoPlayerPlay) {
  Versus s(22, 2, 0, true);
  std::vector<Step> steps = Every(0, 1, 21);   // player 1 misses the first arrow: sudden death
  for (const Step& st : Every(1, 0, 21)) steps.push_back(st);
  s.Run(steps, -3500, 6000);
  const Player& a = s.p[0];
  EXPECT_EQ(s.Count(JEV_DIED, 0), 1);
  EXPECT_EQ(s.Count(JEV_REVIVED, 0), 1);
  EXPECT_EQ(a.lifeState, LIFE_REVIVED);
  EXPECT_EQ(a.life, -100 + 21 * 10);
  EXPECT_EQ(a.judgementCounts[JUDGE_PERFECT], 21);
  EXPECT_EQ(a.judgementCounts[JUDGE_MISS], 1);
  const Player& b = s.p[1];
  EXPECT_EQ(b.lifeState, LIFE_ALIVE);
  EXPECT_EQ(b.life, 850 + 9 * 10 + 13 * 20) << "recovery 6 from combo 10 doubles the gain";
  EXPECT_EQ(b.maxCombo, 22);
}

TEST(Revive, OffOrAloneTheDeadStayDead) {
  Versus s(22, 2, 0, false);
  std::vector<Step> steps = Every(0, 1, 21);
  for (const Step& st : Every(1, 0, 21)) steps.push_back(st);
  s.Run(steps, -3500, 6000);
  EXPECT_EQ(s.p[0].lifeState, LIFE_DEAD);
  EXPECT_EQ(s.p[0].life, -100);
  EXPECT_EQ(s.p[0].judgementCounts[JUDGE_PERFECT], 21) << "judging goes on";

  PlaySim one;
  one.Join(0, 5, 2, 2);
  ASSERT_TRUE(one.Load(Chart("SINGLE:MANIAC:5:", std::string(22, '4'))));
  g_settings.revive = 1;
  one.Begin();
  one.Run(Every(0, 1, 21), -3500, 6000);
  EXPECT_EQ(one.p[0].lifeState, LIFE_DEAD);
}

TEST(Revive, TheOneWhoFailsWhileTheOtherIsOutGetsNoSecondChance) {
  Versus s(24, 2, 2, true);
  std::vector<Step> steps = Every(0, 0, 0);   // player 1 misses arrow 1, after player 2 has failed on arrow 0
  for (const Step& st : Every(0, 2, 23)) steps.push_back(st);
  for (const Step& st : Every(1, 1, 23)) steps.push_back(st);
  s.Run(steps, -3500, 7000);
  EXPECT_EQ(s.p[1].lifeState, LIFE_REVIVED);
  EXPECT_EQ(s.p[1].life, -100 + 23 * 10);
  EXPECT_EQ(s.p[0].lifeState, LIFE_DEAD);
  EXPECT_EQ(s.p[0].reviveLost, 1);
  EXPECT_EQ(s.p[0].life, -100);
}

TEST(BatteryLives, LostOnBrokenCombosAndFailingOnTheLast) {
  PlaySim s;
  s.Join(0, 5);
  ASSERT_TRUE(s.Load(Chart("SINGLE:MANIAC:5:", "4286")));
  CourseRules rules = {1, 2, 1, 0};
  s.Begin(1, true, &rules);
  Player& p = s.p[0];
  EXPECT_EQ(p.batteryLives, 2);
  // PERFECT, GOOD (100 ms early), PERFECT, MISS
  s.Run(Taps(0, {{0, COL_LEFT}, {150, COL_DOWN}, {500, COL_UP}}), -3500, 2000);
  EXPECT_EQ(p.batteryLives, 0);
  EXPECT_EQ(s.Count(JEV_LIFE_LOST), 2);
  EXPECT_EQ(s.Count(JEV_DIED), 1);
  EXPECT_EQ(p.lifeState, LIFE_DEAD);
  EXPECT_EQ(p.life, -100);
  EXPECT_EQ(p.reviveLost, 1);
  EXPECT_EQ(p.maxCombo, 1);
  EXPECT_EQ(p.dancePoints, 4) << "a course costs no points for BOO and MISS";
  EXPECT_EQ(p.judgementCounts[JUDGE_GOOD], 1);
  EXPECT_EQ(p.judgementCounts[JUDGE_MISS], 1);
}

TEST(BatteryLives, CarryOverToTheNextSongOfTheCourse) {
  PlaySim s;
  s.Join(0, 5);
  ASSERT_TRUE(s.Load(Chart("SINGLE:MANIAC:5:", "4286")));
  CourseRules rules = {1, 4, 2, 1};
  s.Begin(1, true, &rules);
  Player& p = s.p[0];
  EXPECT_EQ(p.comboThreshold, 1);
  EXPECT_EQ(p.comboType, 2);
  s.Run(Taps(0, {{0, COL_LEFT}, {250, COL_DOWN}, {500 - 60, COL_UP}, {750, COL_RIGHT}}), -3500, 2000);
  EXPECT_EQ(p.batteryLives, 4) << "a GREAT costs no life";
  EXPECT_EQ(p.combo, 3) << "PERFECT-only combo: the GREAT does not count";
  Chart_Free(p);
  ASSERT_TRUE(s.Load(Chart("SINGLE:MANIAC:5:", "42")));
  s.Begin(2, true, &rules);
  EXPECT_EQ(p.batteryLives, 4);
  s.Run({}, -3500, 2000);
  EXPECT_EQ(p.batteryLives, 2);
  EXPECT_EQ(p.judgementCounts[JUDGE_MISS], 2);
  EXPECT_EQ(p.judgementCounts[JUDGE_PERFECT], 3) << "the course keeps counting";

  PlaySim arcade;   // outside a course there are no lives
  arcade.Join(0, 5);
  ASSERT_TRUE(arcade.Load(Chart("SINGLE:MANIAC:5:", "4286")));
  arcade.Begin(1, false, &rules);
  EXPECT_EQ(arcade.p[0].batteryLives, 0);
  EXPECT_EQ(arcade.p[0].comboThreshold, 2);
}

TEST(Autoplay, EveryTargetIsProducedAtAnyFrameRate) {
  for (int frame : {1, 16, 33, 37, 45}) {
    SCOPED_TRACE(frame);
    PlaySim s;
    s.Join(0, 5);
    ASSERT_TRUE(s.Load(Chart("SINGLE:MANIAC:5:", "4286" "4286" "4!4000400")));
    s.Begin();
    Player& p = s.p[0];
    const int targets[] = {0, 1, 2, 3, 4, 0, 1, 2, 3};   // by tap, in order
    int k = 0;
    for (int i = 0; i < p.arrowCount; i++)
      if (p.arrows[i].kind == ARROW_TAP) Autoplay_SetTarget(p, i, targets[k++]);
    s.Run({}, -3500, 5000, frame, true);
    EXPECT_EQ(p.judgementCounts[JUDGE_PERFECT], 2);
    EXPECT_EQ(p.judgementCounts[JUDGE_GREAT], 2);
    EXPECT_EQ(p.judgementCounts[JUDGE_GOOD], 2);
    EXPECT_EQ(p.judgementCounts[JUDGE_BOO], 2);
    EXPECT_EQ(p.judgementCounts[JUDGE_MISS], 1);
    EXPECT_EQ(p.freezeOk, 1) << "a BOO head still starts the hold";
    EXPECT_EQ(p.freezeNg, 0);
  }
}

TEST(Autoplay, AFiveThousandStepChartPlaysToTheExactTotal) {
  PlaySim s;
  s.Join(0, 12);
  std::string steps = "(";
  for (int i = 0; i < 1250; i++) steps += "4286";
  ASSERT_TRUE(s.Load(Chart("SINGLE:MANIAC:12:", steps + ")")));
  s.Begin();
  Player& p = s.p[0];
  ASSERT_EQ(p.arrowCount, 5000);
  s.Run({}, -3500, 5000 * 125 + 1000, 16, true);
  EXPECT_EQ(p.judgementCounts[JUDGE_PERFECT], 5000);
  EXPECT_EQ(p.maxCombo, 5000);
  EXPECT_EQ(p.dancePoints, p.maxDancePoints);
  EXPECT_EQ(Score_Value(p), 120000000);
  EXPECT_STREQ(p.scoreText, "                   00120000000");
  EXPECT_EQ(p.life, 1700);
  EXPECT_EQ(s.Count(JEV_COMBO_MILESTONE), 50);
}

TEST(EmptyCharts, NothingToJudgeIsNoFault) {
  PlaySim s;
  s.Join(0, 9);
  s.p[0].options.arrowFilter = FILTER_LITTLE;   // both arrows are off the beat: nothing is judged
  ASSERT_TRUE(s.Load(Chart("SINGLE:MANIAC:9:", "(0404)")));
  s.Begin();
  ASSERT_EQ(s.p[0].arrowCount, 2);
  EXPECT_EQ(s.p[0].stepTriangle, 0);
  EXPECT_EQ(s.p[0].maxDancePoints, 0);
  s.Run(Taps(0, {{125, COL_LEFT}, {375, COL_LEFT}}), -3500, 1000, 16, true);
  EXPECT_EQ(s.p[0].judgeFrom, 2);
  EXPECT_EQ(s.events.size(), 0u);
  EXPECT_EQ(Score_Value(s.p[0]), 0);
  EXPECT_EQ(s.p[0].lastJudgement, kNoJudgement);
  EXPECT_EQ(s.p[0].life, 850);
}

}  // namespace
