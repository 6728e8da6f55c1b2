#pragma once
// The two player records and what the menus and the play do with them.
#include "chart/player_record.h"

extern Player g_players[2];

// The default record of player 1 or 2 (number 1 or 2): 4 panels, inactive, the
// player's own half of the screen, difficulty from the settings, "SINGLE", no
// modifiers, empty modifier text. The chart is freed.
void Player_Reset(Player& p, int number);
// Both records, before each menu pass.
void Players_Reset();
// Both players' modifier text becomes " " (the start of each game).
void Players_ClearModifierText();
// Some player taking part is not dead.
bool Players_AnyAlive();

// Field positions for a style: `panels` 4, 6 or 8; `alone` when the player has
// the screen to itself (the field is centred).
void Player_SetField(Player& p, int panels, bool alone);
// Style name (bounded copy) and panels; the field follows.
void Player_SetStyle(Player& p, const char* styleName, int panels, bool alone);

// Byte `index` (0..8) of the modifier values, as the modifier rows see them.
uint8_t Player_Option(const Player& p, int index);
void Player_SetOption(Player& p, int index, uint8_t value);

// pixelsPerBeat from the speed modifier and the scroll scale for `bpm`.
void Player_SetScrollScale(Player& p, double bpm);
