#pragma once
// The modifier select screen after a song is chosen on the wheel: each active
// player sets the nine modifiers while the song's preview plays.

// 0 to go on to the play, 1 back to the song wheel.
int ModifierSelect();
// The short texts of the chosen modifiers as one summary line is built from them
// (value 0 of every row is empty).
extern const char kModifierShortTexts[9][10][10];
