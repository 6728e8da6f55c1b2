#pragma once
// The player record: who plays, on which note field, with which style,
// difficulty and modifiers, the loaded chart and the play statistics. The menus
// fill the first part, the chart loader the chart part, the song play and the
// judgement the statistics. It sits with the chart because the loader and the
// timing model fill it; the two records themselves belong to the play.
#include <cstddef>
#include <cstdint>
#include "chart/chart.h"

// The nine modifier values, in the order of the modifier rows.
struct PlayerOptions {
  int8_t speed;          // 0 "Speed": 0 1x .. 9 .75x (kSpeedPixelsPerBeat)
  uint8_t effect;        // 1 "Effect": 0 none, EFFECT_BOOST, EFFECT_BRAKE, EFFECT_WAVE
  uint8_t appearance;    // 2 "Appearance": VISIBLE, HIDDEN, SUDDEN, STEALTH
  uint8_t turn;          // 3 "Turn": 0 none, TURN_LEFT, TURN_MIRROR, TURN_RIGHT, TURN_SHUFFLE
  uint8_t arrowFilter;   // 4 "Other": 0 none, FILTER_LITTLE, FILTER_FLAT, 3 SOLO, 4 CLASSIC
  uint8_t dark;          // 5 "Dark": receptors and their flashes are not drawn
  uint8_t reverse;       // 6 "Scroll": 1 REVERSE
  uint8_t noFreeze;      // 7 "Freeze Arrows": 1 OFF
  uint8_t power;         // 8 "Power": 0 OFF, 1 DROP, 2 DEATH
};
static_assert(sizeof(PlayerOptions) == 9 && offsetof(PlayerOptions, turn) == 3);
static_assert(offsetof(PlayerOptions, reverse) == 6 && offsetof(PlayerOptions, power) == 8);
constexpr int kOptionCount = 9;

constexpr uint8_t EFFECT_BOOST = 1, EFFECT_BRAKE = 2, EFFECT_WAVE = 3;
constexpr uint8_t TURN_LEFT = 1, TURN_MIRROR = 2, TURN_RIGHT = 3, TURN_SHUFFLE = 4;
constexpr uint8_t FILTER_LITTLE = 1, FILTER_FLAT = 2;

constexpr int kStyleNameSize = 20;
constexpr int kModifierTextSize = 100;   // nine names of up to 9 characters with commas
constexpr int kScoreTextSize = 31;       // 30 characters and the terminator
constexpr int kJudgementKinds = 5;       // PERFECT GREAT GOOD BOO MISS

constexpr int LIFE_ALIVE = 1, LIFE_DEAD = 2, LIFE_REVIVED = 3;

struct Player {
  // --- who and where (style select) ---
  uint8_t number;                 // 1 or 2
  uint8_t panels;                 // 4 SINGLE and other 4-panel styles, 6 SOLO, 8 DOUBLE
  uint8_t active;                 // takes part in this game
  int32_t fieldCentreX;
  int32_t fieldX;                 // left edge of the note field
  int32_t fieldRightX;
  int32_t difficulty;             // 0 BASIC, 1 ANOTHER, 2 MANIAC, 3 SMANIAC; -1 none chosen
  PlayerOptions options;          // the modifiers (modifier select)
  char styleName[kStyleNameSize]; // "SINGLE", "DOUBLE", "SOLO", "BATTLE"
  char modifierText[kModifierTextSize];
  uint8_t level;                  // foot rating of the chart (song select)
  uint8_t profileSlot;            // 1 + index in the profile table of the player's profile; 0 none

  // --- the loaded chart (chart loader) ---
  Arrow* arrows;
  int32_t arrowCount;
  int32_t firstVisible;           // first record the note field still looks at
  double pixelsPerMs;             // scroll scale: pixelsPerBeat * bpm / 60000
  int32_t pixelsPerBeat;          // from the speed modifier
  uint8_t comboMode;              // the settings' combo type + 1, set at every load
  int32_t maxDancePoints;         // 2 per step, 6 per freeze
  int32_t freezeCount;            // freezes that count
  int32_t chordExtra;             // chord members beyond the first of each chord
  int32_t stepTriangle;           // S * (S + 1) / 2 of the S judged records

  // --- play statistics (judgement and scoring) ---
  char scoreText[kScoreTextSize]; // 19 blanks and 11 digits at the start of a play
  int32_t stageScore[2];          // kept across the stages of one game
  int32_t life;                   // -100 .. 1700
  int32_t lifeState;              // LIFE_ALIVE, LIFE_DEAD, LIFE_REVIVED
  int32_t recoveryLevel;          // 0 .. 9
  int32_t combo;
  int32_t maxCombo;
  uint8_t longComboBroken;        // a combo of 50 or more was broken
  int32_t judgementCounts[kJudgementKinds];
  int32_t freezeOk;               // held notes completed
  int32_t stepCount;              // panels pressed in this play (the profile's steps)
  int32_t dancePoints;
  int32_t chordBonus;             // extra notes of PERFECT jumps
  int32_t batteryLives;           // lives left in a battery course, else 0
  uint8_t comboThreshold;         // judgements below it continue the combo
  uint8_t comboType;              // the combo type of this play (settings or course)
  uint8_t lifeType;               // 0 normal, 1 no recovery, 2 sudden death
  uint8_t lastJudgement;          // 0..4, kNoJudgement before the first row of a play
  int32_t lastJudgementTime;      // song clock (ms) of that row
  int32_t lastJudgedNote;         // highest record of the last judged row, -1 none

  // --- judgement working state (kept by play/judge; set by BeginPlay) ---
  int64_t scorePoints;            // the score that scoreText shows
  int64_t scoreBase;              // points of the earlier songs of a nonstop course
  int64_t scoreUnits;             // this song's weights: 2 x stepNumber per PERFECT, 1 x per GREAT
  int32_t freezeNg;               // held notes released early or never held
  uint8_t reviveLost;             // died while the other player was out: no revive
  uint16_t windows[4];            // PERFECT GREAT GOOD BOO (ms), copied from the settings each play
  int32_t judgeFrom;              // first record that may still need judging
  int32_t holdNote[kColumnSlots]; // per column: the freeze record being held, -1 none
};
