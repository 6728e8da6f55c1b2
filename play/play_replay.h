#pragma once
// Replays of plays: every frame the judgement sees is recorded as the play goes
// and written when it ends (library/replay_file.h); watching a replay feeds its
// frames back to the same judgement.
#include "library/replay_file.h"
#include <string>

struct Play;
struct PlayerInput;

// At the start of a play, before its chart is loaded: the recorder is emptied and
// the generator seeded (a watched replay gives back the seed its chart had, so a
// SHUFFLE falls the same way).
void PlayReplay_Begin(Play& play);
// A judged frame: its song clock and the players' input; the gap, tempo and rate
// in force are taken from the play.
void PlayReplay_Record(Play& play, double clockMs, const PlayerInput in[2]);
// The input of a replay's frame, for the judgement.
void PlayReplay_Input(const Replay& r, const ReplayFrame& f, PlayerInput out[2]);
// The play has just ended (its statistics are final): its replay is written under
// "Replays/" and the folder kept to the player's number of replays. Returns the
// path written, or an empty one (nothing recorded, or the write failed). A song
// of a course is not written: its replay joins the course's (CourseRun).
std::string PlayReplay_Save(Play& play);
// The course has ended: the replay of its songs, written as PlayReplay_Save
// writes a song's, with the course's names. Returns the path, or an empty one.
std::string PlayReplay_SaveCourse(Play& play, const char* name, const char* folder, const char* file, bool repeat);
