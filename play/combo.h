#pragma once
// The combo, the recovery level it drives, and the battery lives a broken combo costs.
#include <cstdint>

struct Player;

constexpr int kLongCombo = 50;            // breaking a combo this long sets the long-combo flag
constexpr int kComboWrapAbove = 99999;    // a longer combo goes back to...
constexpr int kComboWrapTo = 10000;
constexpr int kMaxRecoveryLevel = 9;
constexpr int kStartRecoveryLevel = 5;
constexpr int kMaxMilestone = 10;         // the 1000 picture serves every longer combo

struct ComboChange {
  int milestone;      // 1..10: the hundreds picture to show (the last one this row reached); 0 none
  int broken;         // the combo this row broke (0: none was running or it goes on)
  bool lifeLost;      // a battery life went
  bool livesOut;      // ...and it was the last one
};

// One judged row of `notes` notes: GOOD or worse breaks the combo (and costs a
// battery life when lives are left); a judgement below the player's combo
// threshold adds one per note. BOO lowers the recovery level by 1, MISS by 3.
ComboChange Combo_Row(Player& p, int notes, int judgement);
