#pragma once
// The nonstop game from the title menu: style, profiles, the course wheel, then
// the chosen course's songs back to back.

// Style select, profile select (with "User Profiles" on), course select, then
// DoMainGame; the players' profiles are put away at the end.
void NonstopGame();
// Plays the course chosen on the course wheel: every entry in turn (endless in a
// repeating course) with its modifiers and random songs, breaks and battery
// lives, until the course ends, the players fail or give up. Returns 1.
int DoMainGame(int folderIndex, int selectedEntry);
