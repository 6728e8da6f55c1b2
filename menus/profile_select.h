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
// player's record carries it (profileSlot).
int ProfileSelect(int mode);

// The records tables of the players' profiles.
extern RecordTable g_profileRecords[2];

// The end of a game: each active player's profile records are saved and freed,
// the profile is written and released (no longer in use, its picture freed).
void Profiles_EndGame();
