#pragma once
// What the evaluation decides after a stage, as plain functions of the players'
// outcomes: the best grade, the award of an extra or bonus stage, the label of
// the controller a player stepped with, and the announcer's comment with the
// order its sounds play in.
#include <cstdint>

struct Player;

enum RecordState { RECORD_NEW = 0, RECORD_NONE = 1, RECORD_PERSONAL = 2 };

// One player's stage as the evaluation sees it.
struct EvalOutcome {
  bool active = false;
  int number = 1;            // 1 or 2
  int grade = 7;             // 1 AAA .. 7 E
  double percent = 0;        // dance points in percent of the chart's maximum
  bool failed = false;       // the life ran out and stayed out
  int difficulty = 0;        // 0 BASIC .. 3 SMANIAC
  int styleKey = 4;          // the style code of the records: the player's panels (4, 6 or 8)
  int statsGroup = 0;        // the profile's statistics: 0 four panels, 1 DOUBLE, 2 SOLO
  int counterGroup = 0;      // the song's play counter, as the song wheel reads it
  double score = 0;
  int maxCombo = 0;
  int steps = 0;             // notes judged from a press
  int perfects = 0;          // of them PERFECT
  int profileSlot = 0;       // 1 + index in the profile table, 0 none
  int recordState = RECORD_NONE;
  // a whole nonstop course rather than one stage
  bool course = false;
  int stage = 1;             // songs of the course played to their end
  uint32_t timeMs = 0;       // the course's music time
};

// The outcome of a player record whose play has just ended.
EvalOutcome Evaluation_Outcome(const Player& p);
// The smallest grade over the active players; 7 when none is active.
int Evaluation_BestGrade(const EvalOutcome players[2]);
// The stage award (AWARD_*). With "Extra Stages" off there is none. On the last
// regular stage (stage == maxStage, which must be below 6) a player who finished
// alive with AA or better on a MANIAC or SMANIAC chart earns the Extra Stage; on
// the Extra Stage (maxStage + 1) AA or better alive on any chart earns the Bonus
// Stage. Nothing follows the Bonus Stage.
int Evaluation_Award(const EvalOutcome players[2], int stage, int maxStage, bool extraStages);
// "Gamepad" when the last press of one of the controls the player's panels are
// read from (in DOUBLE the right pad's are player 2's) came from a joystick, else
// "Keyboard".
const char* Evaluation_InputLabel(int playerIndex, int panels);

// --- the announcer's comment ---

enum CommentCue { CUE_NONE, CUE_NEW_RECORD, CUE_JINGLE, CUE_VOICE, CUE_EFFECT };

// The sounds of the comment, in the order they play; each starts once the one
// before has finished.
struct CommentPlan {
  int cues[3] = {CUE_NONE, CUE_NONE, CUE_NONE};
  int count = 0;
  int voice = -1;        // VoiceId of CUE_VOICE
  int effect = -1;       // SoundId of CUE_EFFECT
  int award = 0;         // AWARD_*: the voice is the award's, and the screen shows its line
};

// The crowd boos in place of the comment when a player with the stage's best
// grade has nothing to celebrate in the records (state 1), failed, and graded E.
bool Evaluation_CrowdBoos(const EvalOutcome players[2]);
// The comment for the outcomes and the award:
// - a new record by any player: the new-record line comes first;
// - an award: the award jingle (the crowd's cheer), then "eval/extra" or "eval/bonus";
// - otherwise the line of the best grade ("eval/aaa" .. "eval/e"), or the crowd's
//   boo when Evaluation_CrowdBoos holds.
CommentPlan Evaluation_Comment(const EvalOutcome players[2], int award);

// Where a comment stands while it plays.
struct CommentRun {
  int next = 0;              // the cue to start next
  uint32_t startedMs = 0;    // when the last cue started
  bool begun = false;        // a cue of the comment proper (not the new-record line) has started
  bool awardShown = false;   // the award's voice has started: its line is on screen
};
// A cue never holds up the next for longer than this, whatever its channel says.
constexpr uint32_t kCommentCueLongestMs = 8000;
// The cue to start at `nowMs` (CUE_NONE while the last one still sounds, or
// once all have started); `sounding`: the last cue's channel still plays.
int Comment_Next(const CommentPlan& plan, CommentRun& run, bool sounding, uint32_t nowMs);
