#pragma once
// The song selection of an arcade stage: the song wheel over the song
// collection, with previews, sort changes, folders, roulettes, difficulties and
// the quick-modifier cursor; then the modifier select screen; then the players'
// changed modifiers are stored in their profiles.

// 1 when a song has been chosen (the collection's selection, each player's
// difficulty and modifiers in the player records), 0 when the players left.
int SelectSong(int stage);

struct Player;
// A player with a profile whose modifiers differ from the profile's last ones:
// they are copied into the profile and the profile is written. True when they
// differed (whether or not the file could be written).
bool SelectSong_StoreModifiers(Player& p);
