#pragma once
// What the options menu does with its edits: the working copies taken when the
// menu opens, and made the game's (and written) when it is left; and "Reset
// Player's Best".
#include "menus/options_edit.h"

// The edit starts from the game's settings and bindings.
void Options_Begin(OptionsEdit& e);
// The copies become g_settings and g_bindings, and "rkv2.cfg" and "rkv2.inp" are
// written (each safely: a file that cannot be written keeps its old contents)
// when anything changed. What the run keeps for itself in the record (the wheel's
// folder and sort, the assist tick, the profile screens' bytes) and the live state
// of the bindings (held keys) are left as the game has them now. The volume takes
// effect at once; a changed "Sort By" becomes the stored one and the song
// collection is built anew with every song. False, with a log line, when a file
// could not be written; the game still runs on the new settings.
bool Options_Apply(OptionsEdit& e);
// "Reset Player's Best": the three play counters (SINGLE, DOUBLE, SOLO groups) of
// every song with a machine record set to 0, and the records written as they
// stand (no play was made, so nothing counts down). The page shows "Player's Best
// Reset".
void Options_ResetPlayersBest();
