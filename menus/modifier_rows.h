#pragma once
// The nine modifier rows the players set before a song (and the EXIT row of the
// modifier screen): their names, the labels of their values, how a value steps,
// and the one-line summary of a player's chosen modifiers.
#include "chart/player_record.h"
#include <cstddef>

constexpr int kModifierRows = 9;     // Speed .. Power, in the order of the player's option bytes
constexpr int kExitRow = 9;          // the modifier screen's last row
constexpr int kModifierValues = 10;  // at most, per row
constexpr int kModifierRowNameSize = 30;
constexpr int kModifierLabelSize = 10;
constexpr int kTurnRow = 3;

extern const char kModifierRowNames[kModifierRows + 1][kModifierRowNameSize];
// The labels drawn for each value, index 0 first.
extern const char kModifierLabels[kModifierRows][kModifierValues][kModifierLabelSize];

// How many values row `row` has (0 for EXIT or out of range).
int ModifierRow_Count(int row);
// Whether the row offers the value: on styles of more or fewer than four panels
// the Turn row offers only OFF and MIRROR (the other turns are made for four).
bool ModifierRow_Offered(int row, int value, bool fourPanels);
// The value after one step of `dir` (-1 or +1) among the offered ones. With
// `wrap` the value goes round from the last to the first; without it a step
// beyond either end keeps the value.
int ModifierRow_Step(int row, int value, int dir, bool fourPanels, bool wrap);
// The player's style has four panels (SINGLE, VERSUS, BATTLE).
bool ModifierRow_FourPanels(const Player& p);

// The summary of the nine values: the short text of every row whose value is
// above 0 and has one, each followed by ",", the last comma removed; " " when
// nothing is chosen.
void Modifiers_SummaryText(const uint8_t values[kModifierRows], char* out, size_t size);
// The player's modifierText from its nine values.
void Player_SetSummaryText(Player& p);
