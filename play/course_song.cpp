#include "play/course_song.h"
#include "library/courses.h"
#include "play/player.h"

namespace {
// How many values each modifier row has, in the rows' order.
constexpr int kRowValues[kOptionCount] = {10, 4, 4, 5, 5, 2, 2, 2, 3};
constexpr int kRowOther = 4, kRowTurn = 3, kRowDark = 5, kRowScroll = 6, kRowPower = 8;
constexpr uint8_t kPowerDrop = 1, kPowerDeath = 2;
}  // namespace

int CourseSong_RandomRow(int random8) { return random8 == kRowDark ? kRowScroll : random8; }

void CourseSong_SetModifiers(Player& p, const CourseEntry& entry, bool fourPanels, bool batteryCourse,
                             int (*random)(int n)) {
  uint8_t values[kOptionCount];
  CourseEntry_Options(entry, values);
  for (int row = 0; row < kOptionCount; row++) Player_SetOption(p, row, values[row]);
  bool picked[kOptionCount] = {};
  int added = 0;
  // seven rows can be picked at most; the guard only stops a broken generator
  for (int tries = 0; added < entry.randomArrows && tries < 10000; tries++) {
    int row = CourseSong_RandomRow(random(8));
    if (row < 0 || row >= kOptionCount || picked[row]) continue;
    picked[row] = true;
    added++;
    if (Player_Option(p, row) != 0) continue;
    uint8_t v = (uint8_t)(1 + random(kRowValues[row] - 1));
    if (row == kRowOther) v = FILTER_FLAT;
    if (row == kRowTurn && !fourPanels) v = TURN_MIRROR;
    if (row == kRowPower) v = kPowerDrop;
    Player_SetOption(p, row, v);
  }
  if (batteryCourse && Player_Option(p, kRowPower) == kPowerDeath) Player_SetOption(p, kRowPower, 0);
}

int CourseSong_LivesGain(uint8_t award, int level) {
  if (award != kNoAward) return award;
  return level <= 6 ? 1 : level <= 8 ? 2 : 3;
}

void CourseSong_GiveLives(Player& p, uint8_t award, int maxLives) {
  if (!p.active || p.lifeState == LIFE_DEAD) return;
  int lives = p.batteryLives + CourseSong_LivesGain(award, p.level);
  p.batteryLives = lives > maxLives ? maxLives : lives;
}
