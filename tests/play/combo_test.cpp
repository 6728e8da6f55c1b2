// The combo: growth per note, the recovery level, milestones, the wrap at
// 100,000, the long-combo flag, the PERFECT-only threshold and battery lives.
#include <gtest/gtest.h>
#include "play/combo.h"
#include "play/judgement.h"
#include "play/player.h"

namespace {

Player Fresh() {
  Player p = {};
  p.recoveryLevel = 5;
  p.comboThreshold = 2;
  return p;
}

TEST(Combo, GrowsByTheNotesOfTheRowAndRaisesRecoveryEveryTen) {
  Player p = Fresh();
  p.combo = 8;
  ComboChange c = Combo_Row(p, 3, JUDGE_GREAT);   // 9, 10, 11
  EXPECT_EQ(p.combo, 11);
  EXPECT_EQ(p.maxCombo, 11);
  EXPECT_EQ(p.recoveryLevel, 6);
  EXPECT_EQ(c.milestone, 0);
  EXPECT_EQ(c.broken, 0);
  p.recoveryLevel = 9;
  p.combo = 19;
  Combo_Row(p, 1, JUDGE_PERFECT);
  EXPECT_EQ(p.recoveryLevel, 9) << "capped";
}

TEST(Combo, MilestonePictures) {
  Player p = Fresh();
  p.combo = 99;
  EXPECT_EQ(Combo_Row(p, 2, JUDGE_PERFECT).milestone, 1);
  p.combo = 998;
  EXPECT_EQ(Combo_Row(p, 4, JUDGE_PERFECT).milestone, 10);
  p.combo = 1099;
  EXPECT_EQ(Combo_Row(p, 1, JUDGE_PERFECT).milestone, 10) << "beyond 1000 the 1000 picture";
  p.combo = 100;
  EXPECT_EQ(Combo_Row(p, 1, JUDGE_PERFECT).milestone, 0);
}

TEST(Combo, AComboOf100000ContinuesFrom10000) {
  Player p = Fresh();
  p.combo = 99998;
  Combo_Row(p, 1, JUDGE_PERFECT);
  EXPECT_EQ(p.combo, 99999);
  EXPECT_EQ(p.maxCombo, 99999);
  Combo_Row(p, 1, JUDGE_PERFECT);
  EXPECT_EQ(p.combo, 10000);
  Combo_Row(p, 2, JUDGE_PERFECT);
  EXPECT_EQ(p.combo, 10002);
  EXPECT_EQ(p.maxCombo, 99999);
}

TEST(Combo, GoodOrWorseBreaksIt) {
  for (int j : {JUDGE_GOOD, JUDGE_BOO, JUDGE_MISS}) {
    Player p = Fresh();
    p.combo = 49;
    p.maxCombo = 49;
    ComboChange c = Combo_Row(p, 1, j);
    EXPECT_EQ(p.combo, 0);
    EXPECT_EQ(c.broken, 49);
    EXPECT_EQ(p.longComboBroken, 0);
    EXPECT_EQ(p.maxCombo, 49);
    p.combo = 50;
    Combo_Row(p, 2, j);
    EXPECT_EQ(p.longComboBroken, 1);
  }
  Player p = Fresh();
  EXPECT_EQ(Combo_Row(p, 1, JUDGE_GOOD).broken, 0) << "nothing ran";
}

TEST(Combo, BooAndMissLowerTheRecoveryLevel) {
  Player p = Fresh();
  Combo_Row(p, 1, JUDGE_GOOD);
  EXPECT_EQ(p.recoveryLevel, 5);
  Combo_Row(p, 1, JUDGE_BOO);
  EXPECT_EQ(p.recoveryLevel, 4);
  Combo_Row(p, 1, JUDGE_MISS);
  EXPECT_EQ(p.recoveryLevel, 1);
  Combo_Row(p, 1, JUDGE_MISS);
  EXPECT_EQ(p.recoveryLevel, 0);
  Combo_Row(p, 1, JUDGE_BOO);
  EXPECT_EQ(p.recoveryLevel, 0);
}

TEST(Combo, PerfectOnlyCourses) {
  Player p = Fresh();
  p.comboThreshold = 1;
  Combo_Row(p, 2, JUDGE_PERFECT);
  EXPECT_EQ(p.combo, 2);
  Combo_Row(p, 1, JUDGE_GREAT);
  EXPECT_EQ(p.combo, 2) << "GREAT neither continues nor breaks it";
  Combo_Row(p, 1, JUDGE_GOOD);
  EXPECT_EQ(p.combo, 0);
}

TEST(Combo, BrokenCombosCostBatteryLives) {
  Player p = Fresh();
  p.batteryLives = 2;
  ComboChange c = Combo_Row(p, 1, JUDGE_PERFECT);
  EXPECT_FALSE(c.lifeLost);
  c = Combo_Row(p, 1, JUDGE_GOOD);
  EXPECT_TRUE(c.lifeLost);
  EXPECT_FALSE(c.livesOut);
  EXPECT_EQ(p.batteryLives, 1);
  c = Combo_Row(p, 1, JUDGE_MISS);
  EXPECT_TRUE(c.livesOut);
  EXPECT_EQ(p.batteryLives, 0);
  c = Combo_Row(p, 1, JUDGE_MISS);
  EXPECT_FALSE(c.lifeLost) << "no lives left to lose";
  EXPECT_EQ(p.batteryLives, 0);
}

}  // namespace
