#pragma once
// Judging one song: presses against the players' arrows, notes that pass out of
// reach, freeze arrows held or released, and everything a judged row changes
// (counts, combo, dance points, chord bonus, score, life, battery lives).
//
// Per frame the song play fills a PlayerInput per player (new presses with their
// song-clock time, the panels held), adds autoplay's presses when it is on, and
// calls Judge_Frame with the frame's JudgeClock; the events tell it what to show
// and which sounds to queue. The Player records hold the statistics.
#include <cstdint>
#include "play/judge_clock.h"
#include "play/judge_events.h"

struct Player;

constexpr int64_t kCueRepeatMs = 10000;   // an announcer cue waits this long before it plays again

struct JudgePlay {
  Player* players[2];      // the players taking part (null for one who does not)
  uint8_t course;          // a nonstop course: BOO and MISS cost no dance points
  uint8_t revive;          // "Revive (2P Mode)", for 2-player play
  uint8_t cues;            // announcer cues wanted (not in test or edit play)
  uint8_t fullCueGiven, dangerCueGiven;
  int64_t lastFullCueMs, lastDangerCueMs;
  JudgeEvents events;      // what the last frame did
};

// Sets up the judgement of a song for the active ones of the two `players`
// (after BeginPlay for each): the revive setting, the course flag, whether the
// announcer cues are wanted (never in test play).
void Judge_BeginSong(JudgePlay& jp, Player* players, bool course, bool testPlay);

// A new press of `player` (0 or 1) in `column` at song clock `pressMs`: judges
// at most one record, the first still pending in that column after the player's
// last judged row whose distance is within the BOO window. The row is judged
// once every note of it is pressed. Returns the record judged, or -1.
int JudgePress(JudgePlay& jp, int player, int column, int64_t pressMs, const JudgeClock& clock);
// Autoplay's press of one record (it aims at that note, whatever else is near):
// judged as a press at `pressMs` when it is still pending and within reach.
int Judge_PressNote(JudgePlay& jp, int player, int note, int64_t pressMs, const JudgeClock& clock);
// Every frame: pending notes more than the BOO window late become MISS (a row once).
void JudgeMisses(JudgePlay& jp, int player, const JudgeClock& clock);
// Every frame: freezes being held end OK when the position reaches their end,
// NG when their column is no longer in `heldColumns` (bit per column) before it.
void Judge_Holds(JudgePlay& jp, int player, uint16_t heldColumns, const JudgeClock& clock);

// The number of notes in the row (chord ring) of `note`; 0 for no such record.
int Judge_RowNotes(const Player& p, int note);
