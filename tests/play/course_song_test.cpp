// A course's modifiers with their random additions, and the lives each song of
// a battery course gives.
#include "library/courses.h"
#include "play/course_song.h"
#include "play/player.h"
#include <gtest/gtest.h>
#include <cstring>
#include <vector>

namespace {
std::vector<int> g_draws;   // what the generator gives, in turn
size_t g_next = 0;
int scripted(int n) {
  int v = g_next < g_draws.size() ? g_draws[g_next++] : 0;
  return v % n;
}

CourseEntry entry(uint8_t randomArrows) {
  CourseEntry e;
  memset(&e, 0, sizeof e);
  e.randomArrows = randomArrows;
  e.award = kNoAward;
  return e;
}

Player player() {
  Player p;
  memset(&p, 0, sizeof p);
  p.active = 1;
  p.lifeState = LIFE_ALIVE;
  return p;
}
}  // namespace

TEST(CourseSong, RandomModifiersFollowTheirExceptions) {
  EXPECT_EQ(CourseSong_RandomRow(5), 6);   // Dark is never drawn: Scroll instead
  for (int r : {0, 1, 2, 3, 4, 6, 7}) EXPECT_EQ(CourseSong_RandomRow(r), r);

  Player p = player();
  CourseEntry e = entry(4);
  e.speed = 3;   // the entry's own 3x
  // rows drawn: Other (always FLAT), Speed (already set: counts, no change),
  // Dark -> Scroll (value 1 + 0), Turn (MIRROR off four panels)
  g_draws = {4, 2, 0, 5, 0, 3, 1};
  g_next = 0;
  CourseSong_SetModifiers(p, e, false, false, scripted);
  EXPECT_EQ(p.options.arrowFilter, FILTER_FLAT);
  EXPECT_EQ(p.options.speed, 3);
  EXPECT_EQ(p.options.dark, 0);
  EXPECT_EQ(p.options.reverse, 1);
  EXPECT_EQ(p.options.turn, TURN_MIRROR);
  EXPECT_EQ(g_next, 7u);   // four rows and the values of the three unset ones

  // a row drawn twice is drawn again; on four panels Turn takes the drawn value
  Player q = player();
  g_draws = {3, 2, 3, 1};
  g_next = 0;
  CourseSong_SetModifiers(q, entry(1), true, false, scripted);
  EXPECT_EQ(q.options.turn, 3);   // 1 + 2: RIGHT
  Player r = player();
  g_draws = {3, 2, 3, 0, 1, 0};
  g_next = 0;
  CourseSong_SetModifiers(r, entry(2), true, false, scripted);
  EXPECT_EQ(r.options.turn, 3);
  EXPECT_EQ(r.options.speed, 2);   // the second pick: row 0, value 1 + 1
}

TEST(CourseSong, DeathIsClearedInABatteryCourseAndTheEntryReplacesOldModifiers) {
  Player p = player();
  p.options.appearance = 3;   // from the song before
  CourseEntry e = entry(0);
  e.life = 2;                 // DEATH
  g_draws.clear();
  CourseSong_SetModifiers(p, e, true, true, scripted);
  EXPECT_EQ(p.options.power, 0);
  EXPECT_EQ(p.options.appearance, 0);
  CourseSong_SetModifiers(p, e, true, false, scripted);
  EXPECT_EQ(p.options.power, 2);   // without lives DEATH stays
}

TEST(CourseSong, LivesGainedAfterASongAreCappedAndOnlyForTheLiving) {
  EXPECT_EQ(CourseSong_LivesGain(kNoAward, 6), 1);
  EXPECT_EQ(CourseSong_LivesGain(kNoAward, 7), 2);
  EXPECT_EQ(CourseSong_LivesGain(kNoAward, 8), 2);
  EXPECT_EQ(CourseSong_LivesGain(kNoAward, 9), 3);
  EXPECT_EQ(CourseSong_LivesGain(0, 9), 0);   // "AWARD0": none
  EXPECT_EQ(CourseSong_LivesGain(5, 1), 5);
  Player p = player();
  p.level = 9;
  p.batteryLives = 4;
  CourseSong_GiveLives(p, kNoAward, 10);
  EXPECT_EQ(p.batteryLives, 7);
  CourseSong_GiveLives(p, kNoAward, 8);
  EXPECT_EQ(p.batteryLives, 8);   // capped at the course's lives
  p.lifeState = LIFE_DEAD;
  CourseSong_GiveLives(p, kNoAward, 10);
  EXPECT_EQ(p.batteryLives, 8);
}
