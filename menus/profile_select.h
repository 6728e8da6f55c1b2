#pragma once
// The profile select screen: with "User Profiles" on, each active player picks a
// profile (or "No User/System") after the style select; the profile receives
// the player's records and statistics. Also what a game does with the players'
// profiles when it ends.
#include "library/records.h"

// mode 0 before an arcade game, 1 before a nonstop course (which statistics the
// screen shows). 1 when every active player has chosen, 0 when they backed out.
// A chosen profile is marked in use, its records are loaded into
// g_profileRecords[player] and g_playerRecords[player] points at them, and the
// player's record carries it (profileSlot). The cursor each player chose is kept
// in the settings (profileFlags) for the next game. With "User Profiles" off the
// screen is not shown: 1, and nobody has a profile. Backing out gives back the
// profiles taken on the screen.
int ProfileSelect(int mode);

// The records tables of the players' profiles; `profile` names the profile a
// player holds ("" none).
extern RecordTable g_profileRecords[2];

// Player `player` (0 or 1) takes profile `index` of the profile table: it is
// marked in use, its records are loaded, and the player's record and the
// settings' cursor point at it. A records file that is there but cannot be read
// is set aside as "rkv2-user.rec.unreadable" so that the save at the end of the
// game does not overwrite it.
bool ProfileSelect_Take(int player, int index);
// Player `player` plays without a profile ("No User/System").
void ProfileSelect_TakeNone(int player);
// The player gives back the profile taken on the screen, unsaved (backing out).
void ProfileSelect_Release(int player);

// The end of a game: each player's profile records are saved and freed, the
// profile is written and no longer in use, and the player holds none. A file that
// cannot be written keeps its old content (a log line says so).
void Profiles_EndGame();
