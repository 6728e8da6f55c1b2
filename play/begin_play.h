#pragma once
// The start of a play: statistics reset, the life gain table of the stage, the
// timing windows and the course's combo and battery-lives rules.
#include <cstdint>

struct Player;

// What a nonstop course sets for its players.
struct CourseRules {
  uint8_t hasLives;       // "#LIVES:" given: a battery course
  int32_t lives;          // its number of lives
  uint8_t comboMode;      // "#COMBOMODE:" (1 or 2), or the settings' combo type + 1
  uint8_t comboPerfect;   // "#COMBO:PERFECT": only PERFECT continues the combo
};

// For one active player, after its chart has been loaded. `stage` is the stage
// number (0 the attract demo, 1 the first stage or the first song of a course);
// `course` is set inside a nonstop course, whose rules are `rules` (null: a
// course without lives and with the settings' combo type). In a course only the
// first song resets the statistics; the later songs keep score, combo, life and
// lives running. Every call recomputes g_lifeTable, copies the timing windows
// from the settings and makes the chart's records pending again.
void BeginPlay(Player& p, int stage, bool course, const CourseRules* rules = nullptr);
