#pragma once
// Playing one song for one or two players: loading, the frame loop on the song
// clock, the play keys, and the tear-down. Everything the play holds is in the
// play record (g_play); the players' records hold the charts and statistics.
#include "play/play_record.h"

// `courseFlag` non-zero for a song of a nonstop course, with `courseIndex` the
// course's number of songs when it does not repeat and 0 when it does (-1
// outside a course). Returns, in test play, the play mode to restart with (2 or 3) or 0 when the
// player gave up or the song ended; otherwise 0 to go on, non-zero when the game ended.
int PlaySong(int* stage, int courseFlag, int courseIndex);

// The pieces PlaySong runs in turn.
// Loads the charts, background, statistics, music and lyrics, starts the media
// worker and sets the clock. False when the song cannot be played: what was
// loaded is freed again and the play is over (a stage that never began is given
// back through `stage`).
bool SongPlay_Load(Play& play, int* stage, bool course);
// One frame: clock, play keys, presses, judgement, drawing and presenting.
// False when the loop ends (the song is over, a restart, giving up, game over).
bool SongPlay_Frame(Play& play);
// Stops and frees what the song held, writes the results and returns what
// PlaySong returns.
int SongPlay_End(Play& play);
// A song of a course has ended (`playedThrough`: to its end, not failed or given
// up): adds its music time, the charts' maximum dance points and the notes each
// player stepped on to the course's totals (g_play.course), with what the song
// did (autoplay, another speed), and notes a battery running out. Called by
// SongPlay_End before the game's after-song step.
void SongPlay_AddToCourse(Play& play, bool playedThrough);
