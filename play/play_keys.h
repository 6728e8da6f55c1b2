#pragma once
// The keys of a play from the function-key table: F1/F2 restart a test play
// (from the start, from the start position), F3/F4 the music rate, F5-F8 the
// tempo, F9/F10 the gap, F12 the assist tick, Pause.
struct Play;

// Returns false when the loop should end (a restart was asked for).
bool PlayKeys_Frame(Play& play);
// Sets the stream's rate from the play's rate step.
void PlayKeys_SetRate(Play& play);
