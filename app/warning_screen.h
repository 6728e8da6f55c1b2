#pragma once
// The start-up notice, shown for 12 seconds on a first run or when the song
// search found new songs.
void WarningScreen(int newSongs);
// The black layer's opacity at `elapsedMs` (fades in over the first second and
// out over the last).
int WarningScreen_Fade(int elapsedMs);
