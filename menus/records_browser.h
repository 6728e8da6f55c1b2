#pragma once
// The RECORDS item of the title menu: the machine's and each profile's best
// results, song by song and course by course, with "Reset" and "Reset All", and
// the best play of a song or course watched again from its replay (Select).
void RecordsBrowser();

// Watching a replay is the game's above: installed at start-up, called with the
// best replay of the song or course under the cursor when a player presses Select on it.
using RecordsWatchHook = void (*)(const char* path);
void RecordsBrowser_SetWatch(RecordsWatchHook hook);
