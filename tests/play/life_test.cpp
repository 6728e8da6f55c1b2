// The life gauge: the gain table by stage, the change of one judgement, death,
// revive, the clamps, and the announcer cues.
#include <gtest/gtest.h>
#include "play/judgement.h"
#include "play/life.h"
#include "play/player.h"
#include "play_sim.h"

namespace {

struct TableRow {
  int maxStage, difficulty, stage;
  int good, boo, miss;
};

TEST(LifeTableTest, GainsAndLossesByStage) {
  // worked out by hand from the stage factor
  const TableRow rows[] = {
      {3, 4, 1, 0, 31, 62},  {3, 4, 2, 0, 37, 75},  {3, 4, 3, 5, 44, 88},   {3, 4, 4, 0, 50, 101},
      {3, 4, 5, 0, 57, 114}, {3, 4, 6, 0, 44, 88},  {3, 7, 1, 5, 46, 92},   {3, 7, 2, 6, 52, 105},
      {3, 7, 3, 7, 59, 118}, {3, 7, 4, 7, 65, 131}, {3, 7, 5, 8, 72, 144},  {3, 7, 6, 7, 59, 118},
      {6, 4, 1, 0, 28, 56},  {6, 4, 2, 0, 31, 62},  {6, 4, 3, 0, 34, 69},   {6, 4, 4, 0, 37, 75},
      {6, 4, 5, 0, 41, 82},  {6, 4, 6, 0, 44, 88},  {6, 7, 1, 0, 43, 86},   {6, 7, 2, 0, 46, 92},
      {6, 7, 3, 0, 49, 99},  {6, 7, 4, 0, 52, 105}, {6, 7, 5, 0, 56, 112},  {6, 7, 6, 0, 59, 118},
  };
  for (const TableRow& r : rows) {
    SCOPED_TRACE(testing::Message() << "maxStage " << r.maxStage << " difficulty " << r.difficulty << " stage "
                                    << r.stage);
    LifeTable t = Life_ComputeTable(r.stage, r.maxStage, r.difficulty);
    EXPECT_EQ(t.gain[JUDGE_PERFECT], 10);
    EXPECT_EQ(t.gain[JUDGE_GREAT], 5);
    EXPECT_EQ(t.gain[JUDGE_GOOD], r.good);
    EXPECT_EQ(t.gain[JUDGE_BOO], r.boo);
    EXPECT_EQ(t.gain[JUDGE_MISS], r.miss);
  }
  LifeTable bad = Life_ComputeTable(1, 0, 4);   // a Max Stage of 0 is taken as 1
  EXPECT_EQ(bad.gain[JUDGE_MISS], Life_ComputeTable(1, 1, 4).gain[JUDGE_MISS]);
}

TEST(LifeDeltaTest, ByJudgementLifeTypeAndRecoveryLevel) {
  LifeTable t = Life_ComputeTable(1, 3, 4);   // 10 5 0 31 62
  EXPECT_EQ(LifeDelta(t, JUDGE_PERFECT, 0, 5), 10);
  EXPECT_EQ(LifeDelta(t, JUDGE_PERFECT, 0, 6), 20);
  EXPECT_EQ(LifeDelta(t, JUDGE_GREAT, 0, 9), 10);
  EXPECT_EQ(LifeDelta(t, JUDGE_GOOD, 0, 5), 0);
  EXPECT_EQ(LifeDelta(t, JUDGE_BOO, 0, 5), -21);   // -3 x (31 / 4)
  EXPECT_EQ(LifeDelta(t, JUDGE_BOO, 0, 9), -15);   // -3 x (31 / 6)
  EXPECT_EQ(LifeDelta(t, JUDGE_MISS, 0, 5), -45);  // -3 x (62 / 4)
  EXPECT_EQ(LifeDelta(t, JUDGE_MISS, 0, 0), -93);  // -3 x (62 / 2)
  // no recovery: gains are 0, losses stay
  EXPECT_EQ(LifeDelta(t, JUDGE_PERFECT, 1, 9), 0);
  EXPECT_EQ(LifeDelta(t, JUDGE_MISS, 1, 5), -45);
  // sudden death: GOOD and worse take everything
  EXPECT_EQ(LifeDelta(t, JUDGE_GOOD, 2, 5), -1701);
  EXPECT_EQ(LifeDelta(t, JUDGE_MISS, 2, 9), -1701);
  EXPECT_EQ(LifeDelta(t, JUDGE_PERFECT, 2, 5), 10);
  // out-of-range input is taken within bounds, never divided by zero
  EXPECT_EQ(LifeDelta(t, JUDGE_MISS, 0, -4), -93);
  EXPECT_EQ(LifeDelta(t, JUDGE_PERFECT, 0, 40), 20);
  EXPECT_EQ(LifeDelta(t, 9, 0, 5), 0);
  // the table of the stage is the one BeginPlay computed
  g_lifeTable = t;
  EXPECT_EQ(LifeDelta(JUDGE_MISS, 0, 5), -45);
}

Player Alive(int life) {
  Player p = {};
  p.life = life;
  p.lifeState = LIFE_ALIVE;
  return p;
}

TEST(LifeApply, ClampsAndDeath) {
  LifeRules alone = {false, true, nullptr};
  Player p = Alive(1690);
  EXPECT_EQ(Life_Apply(p, 20, alone), LIFE_CHANGE_FULL);
  EXPECT_EQ(p.life, 1700);
  EXPECT_EQ(Life_Apply(p, 20, alone), 0) << "already full";
  EXPECT_EQ(p.life, 1700);

  p = Alive(30);
  EXPECT_EQ(Life_Apply(p, -29, alone), 0);
  EXPECT_EQ(p.life, 1);
  EXPECT_EQ(p.lifeState, LIFE_ALIVE);
  EXPECT_EQ(Life_Apply(p, -1, alone), LIFE_CHANGE_DIED);
  EXPECT_EQ(p.life, -100);
  EXPECT_EQ(p.lifeState, LIFE_DEAD);
  EXPECT_EQ(Life_Apply(p, 500, alone), 0) << "no revive in 1-player play";
  EXPECT_EQ(p.life, -100);

  p = Alive(1700);
  EXPECT_EQ(Life_Apply(p, -1701, alone), LIFE_CHANGE_DIED) << "sudden death";
  EXPECT_EQ(p.life, -100);
  p = Alive(5);
  Life_Apply(p, -1000000000, alone);
  EXPECT_EQ(p.life, -100);
  p = Alive(1000);
  Life_Apply(p, 2000000000, alone);
  EXPECT_EQ(p.life, 1700) << "no overflow";
}

TEST(LifeApply, ReviveInTwoPlayerPlay) {
  Player other = Alive(850);
  LifeRules two = {true, true, &other};
  Player p = Alive(10);
  EXPECT_EQ(Life_Apply(p, -45, two), LIFE_CHANGE_DIED);
  EXPECT_EQ(p.reviveLost, 0);
  int flags = 0;
  for (int i = 0; i < 10; i++) flags |= Life_Apply(p, 20, two);
  EXPECT_EQ(p.life, 100);
  EXPECT_EQ(p.lifeState, LIFE_DEAD) << "100 is not above the line";
  EXPECT_EQ(Life_Apply(p, 20, two), LIFE_CHANGE_REVIVED);
  EXPECT_EQ(p.lifeState, LIFE_REVIVED);
  EXPECT_EQ(Life_Apply(p, -200, two), LIFE_CHANGE_DIED) << "a revived player can fail again";

  LifeRules off = {true, false, &other};
  Player q = Alive(10);
  Life_Apply(q, -45, off);
  Life_Apply(q, 500, off);
  EXPECT_EQ(q.lifeState, LIFE_DEAD) << "revive is off";
}

TEST(LifeApply, DyingWhileTheOtherIsOutLosesTheReviveChance) {
  Player other = Alive(850);
  other.lifeState = LIFE_DEAD;
  LifeRules two = {true, true, &other};
  Player p = Alive(10);
  Life_Apply(p, -45, two);
  EXPECT_EQ(p.reviveLost, 1);
  EXPECT_FALSE(Life_Applies(p, two));
  for (int i = 0; i < 20; i++) Life_Apply(p, 20, two);
  EXPECT_EQ(p.life, -100);
  EXPECT_EQ(p.lifeState, LIFE_DEAD);
}

TEST(LifeApply, DangerOnlyWhenFallingBelowTheLineAlive) {
  LifeRules alone = {false, true, nullptr};
  Player p = Alive(500);
  EXPECT_EQ(Life_Apply(p, -1, alone), LIFE_CHANGE_DANGER);
  EXPECT_EQ(Life_Apply(p, -1, alone), 0) << "already below";
  p = Alive(600);
  EXPECT_EQ(Life_Apply(p, -1701, alone), LIFE_CHANGE_DIED);
}

TEST(LifeApply, BatteryFailure) {
  Player p = Alive(900);
  EXPECT_EQ(Life_Fail(p), LIFE_CHANGE_DIED);
  EXPECT_EQ(p.life, -100);
  EXPECT_EQ(p.lifeState, LIFE_DEAD);
  EXPECT_EQ(p.reviveLost, 1);
  EXPECT_EQ(Life_Fail(p), 0);
}

// Announcer cues through whole rows: a gauge 10 short of full, one Left arrow
// every 250 ms.
struct CueSim : PlaySim {
  explicit CueSim(bool testPlay = false) {
    Join(0, 5);
    EXPECT_TRUE(Load(Chart("SINGLE:MANIAC:5:", std::string(200, '4'))));
    Begin(1, false, nullptr, testPlay);
  }
};

TEST(LifeCues, FullGaugeAtMostOnceInTenSeconds) {
  CueSim s;
  Player& p = s.p[0];
  p.life = 1690;
  s.Run({}, -3500, 40000, 16, true);   // PERFECT all along: 1700 at the first row
  EXPECT_EQ(s.Count(JEV_CUE_FULL_GAUGE), 1) << "full from the first row, never from below again";
  EXPECT_EQ(s.Count(JEV_CUE_DANGER), 0);

  CueSim t;
  t.p[0].life = 1690;
  // every 12th row is missed: the gauge drops and fills again, every 3 s
  for (int i = 0; i < t.p[0].arrowCount; i++) Autoplay_SetTarget(t.p[0], i, i % 12 == 11 ? JUDGE_MISS : JUDGE_PERFECT);
  t.Run({}, -3500, 40000, 16, true);
  std::vector<int64_t> at;
  for (const JudgeEvent& e : t.events)
    if (e.kind == JEV_CUE_FULL_GAUGE) at.push_back(e.ms);
  ASSERT_GE(at.size(), 3u);
  for (size_t i = 1; i < at.size(); i++) EXPECT_GT(at[i] - at[i - 1], 10000);
}

TEST(LifeCues, DangerAndNoCuesInTestPlay) {
  CueSim s;
  s.p[0].life = 540;
  s.Run({}, -3500, 2000, 16, false);   // every note missed: -45, -45 ... from 540
  EXPECT_EQ(s.Count(JEV_CUE_DANGER), 1);
  EXPECT_EQ(s.Count(JEV_DIED), 1);

  CueSim t(true);
  t.p[0].life = 540;
  t.Run({}, -3500, 2000, 16, false);
  EXPECT_EQ(t.Count(JEV_CUE_DANGER), 0);
  EXPECT_EQ(t.Count(JEV_DIED), 1);
}

}  // namespace
