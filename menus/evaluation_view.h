#pragma once
// What the evaluation screen shows, gathered once when it opens, and its drawing.
// Over the backdrop's two frames (player 1 left, player 2 right) each active
// player gets a panel: style, name, controller, difficulty and level; the grade
// as a big letter beside the dance-point percentage, the score and the record
// line; the judgement counts with OK and NG; the maximum combo; the timing
// histogram with its mean and spread; and the life gauge over the song. The top
// right holds the song's title, the flags of the play, its time and the award.
#include "library/profiles.h"
#include "library/records.h"
#include "media/render/image.h"
#include "menus/timing_histogram.h"
#include <cstdint>
#include <string>
#include <vector>

struct Play;
struct PlayFlags;
struct Player;
struct EvalOutcome;

struct EvalPanel {
  bool active = false;
  int number = 1;
  char name[24] = "";
  const char* inputLabel = "Keyboard";
  int difficulty = 0, level = 0;
  int grade = 7;
  int percentTenths = 0;
  double score = 0;
  int counts[5] = {};
  int ok = 0, ng = 0, maxCombo = 0;
  int recordState = 1;
  int digitLeft[12] = {}, digitWidth[12] = {};   // the visible columns of the result digits of the player's colour
  TimingHistogram histogram;
  Image lifeGraph;
  // A nonstop course's panel: the course's status in place of the difficulty, and
  // the stage reached, the course's time and the battery lives (or the last song's
  // life) in place of the timing.
  bool course = false;
  int stage = 0;             // songs played to their end
  int stageOf = 0;           // the course's songs; 0 for a repeating course
  char time[16] = "";
  int lives = -1;            // battery lives left; -1 in a course without lives
  int maxLives = 0;
  bool failed = false;       // the life or the lives ran out
  bool cleared = false;      // every song of the course played to its end
};

// With one player the other frame shows the chart's records as they stand after
// the stage (the machine's best with its holder, and the player's own best when
// a profile plays), the profile's figures for the style, and, big, the award's line.
struct EvalRecordCard {
  bool shown = false;
  bool course = false;         // a course's results: with the stage and time; the nonstop figures
  int difficulty = 0;
  Result machine{};
  bool withProfile = false;
  Result personal{};
  bool withStats = false;      // the player's profile, with its figures for the style
  ProfileStats stats{};
};

struct EvalView {
  EvalPanel panels[2];
  EvalRecordCard card;
  char title[128] = "";
  char artist[128] = "";
  char time[16] = "";
  char flags[64] = "";
  int award = 0;
};

// Where the screen stands in a frame.
struct EvalMoment {
  uint32_t sinceOpenMs = 0;
  double tally = 1;            // 0..1: how far the numbers have counted up
  int sinceTallyMs = -1;       // since the tally completed, -1 before
  bool awardShown = false;     // the award's line is up
};

// "%02d:%02d:%03d" (minutes, seconds, milliseconds) of a music time; 0 below 0.
void Evaluation_TimeText(double ms, char* out, int size);
// "Song Paused", "Autoplay Enabled", "Speed Altered" as they apply, two blanks apart.
void Evaluation_FlagsText(const PlayFlags& flags, char* out, int size);

// Player 1 blue, player 2 orange, as the backdrop's frames.
extern const uint32_t kEvalPlayerColours[2];

// One player's panel inside the frame whose top left is (x, y).
void EvalPanel_Draw(EvalPanel& p, int x, int y, const EvalMoment& m);
// The panel's life graph from a life trace (see play_record.h); false without samples.
bool EvalPanel_MakeLifeGraph(EvalPanel& p, const std::vector<int16_t>& trace);

// A skin picture drawn at a size of its own; its size and opacity are put back,
// as the other screens draw the same picture. False when it is not loaded.
bool Eval_DrawPictureAt(Image& im, int x, int y, int w, int h, int alpha = 255);
void Eval_DrawTextRight(int size, uint32_t colour, int right, int y, const char* text);
// At the largest size down to `smallest` at which the text fits `width`; beyond
// that it is shortened and ends in "...".
void Eval_DrawFitted(int size, int smallest, uint32_t colour, int x, int y, int width, const char* text);
// The panel's inside darkened and its rules between the sections.
void Eval_DrawFrameInside(int x, int y, const int* rules, int ruleCount);

// The record card in the frame whose top left is (x, y).
void EvalCard_Draw(const EvalView& v, int x, int y, const EvalMoment& m);
// The columns of a picture that hold something not fully transparent: the first
// and how many; the whole width when the picture is empty.
void Evaluation_VisibleColumns(const Image& picture, int& left, int& width);

void EvalView_Build(EvalView& v, const Play& play, const Player players[2], const EvalOutcome outcomes[2], int award);
// The pieces of a build: each active player's panel from the player and the
// outcome (a course's fields are left to the caller), and the record card of a
// single player under the records key `key`.
void EvalView_BuildPanels(EvalView& v, const Player players[2], const EvalOutcome outcomes[2]);
void EvalView_BuildCard(EvalView& v, const std::string& key, const EvalOutcome outcomes[2]);
void EvalView_Draw(EvalView& v, const EvalMoment& m);
void EvalView_Free(EvalView& v);
