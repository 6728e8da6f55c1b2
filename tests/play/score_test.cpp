// The score: the 30-character text, the exact total of a fully PERFECT chart,
// GREAT at half, freezes, charts without judged records, nonstop courses.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "play/judgement.h"
#include "play/score.h"
#include "play_sim.h"

namespace {

TEST(ScoreText, RightAlignedThirtyCharacters) {
  char t[kScoreTextSize];
  Score_Format(0, t, sizeof t);
  EXPECT_STREQ(t, "                   00000000000");
  Score_Format(31666666, t, sizeof t);
  EXPECT_STREQ(t, "                   00031666666");
  Score_Format(150000000, t, sizeof t);
  EXPECT_STREQ(t, "                   00150000000");
  Score_Format(123456789012LL, t, sizeof t);
  EXPECT_STREQ(t, "                  123456789012") << "more digits take the blanks";
  Score_Format(-5, t, sizeof t);
  EXPECT_STREQ(t, "                   00000000000");
  char small[8];
  Score_Format(42, small, sizeof small);
  EXPECT_EQ(std::string(small), std::string(7, ' ')) << "a short buffer gets the start, cut";
  for (int64_t v : {0LL, 7LL, 99999999999LL, 999999999999999999LL}) {
    Score_Format(v, t, sizeof t);
    EXPECT_EQ(strlen(t), 30u);
    EXPECT_EQ(std::stoll(t), v);
  }
}

// A player with S judged records of weights 1..S, as the loader numbers them.
struct Weighted {
  Player p = {};
  std::vector<Arrow> arrows;
  Weighted(int steps, int rating) {
    arrows.resize(steps);
    for (int i = 0; i < steps; i++) arrows[i].stepNumber = i + 1;
    p.level = (uint8_t)rating;
    p.stepTriangle = (int32_t)((int64_t)steps * (steps + 1) / 2);
    Score_Reset(p);
  }
};

TEST(ScoreTotal, FullyPerfectChartIsExactForEveryLengthAndRating) {
  for (int steps : {1, 2, 3, 7, 5000}) {
    for (int rating = 0; rating <= 255; rating++) {
      Weighted w(steps, rating);
      int64_t last = 0;
      for (const Arrow& a : w.arrows) {
        AddScore(w.p, a, JUDGE_PERFECT);
        ASSERT_GE(Score_Value(w.p), last) << "the score never goes down";
        last = Score_Value(w.p);
      }
      int64_t want = (int64_t)std::min(rating, 15) * 10000000;
      ASSERT_EQ(Score_Value(w.p), want) << steps << " steps, rating " << rating;
      ASSERT_EQ(std::stoll(w.p.scoreText), want);
    }
  }
}

TEST(ScoreTotal, AllGreatIsHalfAndMixedPlaysStayWithinTheTotal) {
  for (int steps : {1, 3, 7, 5000}) {
    Weighted w(steps, 9);
    for (const Arrow& a : w.arrows) AddScore(w.p, a, JUDGE_GREAT);
    EXPECT_EQ(Score_Value(w.p), 45000000) << steps;
  }
  // one GREAT among PERFECTs costs half of that note's share, rounded down once
  Weighted w(7, 10);   // total weight 28
  for (const Arrow& a : w.arrows) AddScore(w.p, a, a.stepNumber == 3 ? JUDGE_GREAT : JUDGE_PERFECT);
  EXPECT_EQ(Score_Value(w.p), 100000000LL * 53 / 56);   // 53 of 56 half-units
}

TEST(ScoreTotal, GoodBooAndMissAddNothing) {
  Weighted w(3, 8);
  for (int j : {JUDGE_GOOD, JUDGE_BOO, JUDGE_MISS}) AddScore(w.p, w.arrows[j - JUDGE_GOOD], j);
  EXPECT_EQ(Score_Value(w.p), 0);
  EXPECT_STREQ(w.p.scoreText, "                   00000000000");
  Arrow ignored = {};   // stepNumber 0: an ignored record carries no weight
  AddScore(w.p, ignored, JUDGE_PERFECT);
  EXPECT_EQ(Score_Value(w.p), 0);
}

TEST(ScoreTotal, AChartWithoutJudgedRecordsScoresNothingAndDoesNotDivideByZero) {
  Player p = {};
  p.level = 10;
  p.stepTriangle = 0;
  Score_Reset(p);
  Arrow a = {};
  a.stepNumber = 1;
  AddScore(p, a, JUDGE_PERFECT);
  EXPECT_EQ(Score_Value(p), 0);
  EXPECT_EQ(Score_SongPoints(10, 10, 0), 0);
  EXPECT_EQ(Score_SongPoints(10, 10, -3), 0);
  EXPECT_EQ(Score_SongPoints(100, 10, 10), 100000000) << "never above a PERFECT chart";
}

TEST(ScoreTotal, ALoadedChartWithFreezesAndJumpsPlayedPerfectly) {
  // two freezes, two jumps: 8 judged records in 4 rows, total weight 36
  PlaySim s;
  s.Join(0, 7);
  ASSERT_TRUE(s.Load(Chart("SINGLE:MANIAC:7:", "4!4000410A2!20002")));
  s.Begin();
  Player& p = s.p[0];
  EXPECT_EQ(p.stepTriangle, 36);
  s.Run({}, -3500, 5000, 16, true);
  EXPECT_EQ(p.freezeOk, 2);
  EXPECT_EQ(p.judgementCounts[JUDGE_PERFECT], 4);
  EXPECT_EQ(Score_Value(p), 70000000);
  EXPECT_STREQ(p.scoreText, "                   00070000000");
  EXPECT_EQ(p.dancePoints, p.maxDancePoints);
}

TEST(ScoreCourse, LaterSongsAddToThePointsOfTheEarlierOnes) {
  PlaySim s;
  s.Join(0, 5);
  ASSERT_TRUE(s.Load(Chart("SINGLE:MANIAC:5:", "4286")));
  CourseRules rules = {0, 0, 1, 0};
  s.Begin(1, true, &rules);
  s.Run({}, -3500, 2000, 16, true);
  EXPECT_EQ(Score_Value(s.p[0]), 50000000);

  // the next song of the course: another chart and rating
  Chart_Free(s.p[0]);
  s.p[0].level = 3;
  ASSERT_TRUE(s.Load(Chart("SINGLE:MANIAC:3:", "428")));
  s.Begin(2, true, &rules);
  EXPECT_EQ(Score_Value(s.p[0]), 50000000) << "the course's score stays";
  EXPECT_EQ(s.p[0].combo, 4) << "and so does the combo";
  s.Run({}, -3500, 2000, 16, true);
  EXPECT_EQ(Score_Value(s.p[0]), 80000000);
  EXPECT_EQ(s.p[0].maxCombo, 7);
  EXPECT_EQ(s.p[0].judgementCounts[JUDGE_PERFECT], 7);
}

}  // namespace
