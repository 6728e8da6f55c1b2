#pragma once
// Watching a replay: the play runs again from the file through the real
// judgement, shown as a normal play with "REPLAY" on the HUD, and ends on its
// evaluation without storing anything. The game's players, settings and play
// are as they were afterwards.
#include <string>

// Plays the replay at `path`; with `evaluation` its evaluation follows. Returns 0
// when it was played (to its end or until Escape), 2 when it could not be: not a
// replay, damaged, of a later version, its song gone or its chart changed since
// (a message says which, and the log has it).
int ReplayGame_Watch(const std::string& path, bool evaluation);
