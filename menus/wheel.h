#pragma once
// The song wheel's own record and its decisions, apart from the drawing: the
// items around the selection, moves, folders, sort changes, difficulties, the
// quick-modifier cursor, both roulettes, the time limit and the choice. The
// wheel browses g_collection and keeps its selection there (and the selected
// group in g_settings.folderIndex, where every build starts from).
#include "menus/collection.h"
#include "menus/menu_hot_keys.h"
#include <cstdint>

enum WheelState {
  WHEEL_IDLE = 0,
  WHEEL_MOVING_RIGHT = 1,
  WHEEL_MOVING_LEFT = 2,
  WHEEL_CHANGED = 5,   // a rebuild moved the selection to another song
  WHEEL_ROULETTE = 6,
  WHEEL_CHOSEN = 7,
  WHEEL_LEAVE = 8,
};

constexpr int kWheelItems = 11;              // drawn around the selection
constexpr uint32_t kWheelSlideMs = 100;      // one move's slide
constexpr double kWheelMaxLag = 1.5;         // the drawing is never further behind the selection
constexpr uint32_t kPreviewRestMs = 128;     // rest on a song before its preview starts
constexpr uint32_t kChosenWaitMs = 250;      // the chosen song shows before the wheel ends
constexpr uint32_t kWheelTimeLimitS = 60;
constexpr int kWheelBestLimit = 64;          // songs the wheel's "Player's Best" holds

// The drawing of a wheel runs `offset` items behind its selection and eases to
// it: a move slides one item in kWheelSlideMs, never more than kWheelMaxLag
// items behind however fast the moves come.
struct WheelSlide {
  double offset = 0, from = 0;
  uint32_t start = 0, ms = kWheelSlideMs;
};
// The selection moved one item in direction `dir` (1 right, -1 left).
void WheelSlide_Begin(WheelSlide& s, int dir, uint32_t nowMs);
// Eases the offset; false once the slide has come to rest (offset 0).
bool WheelSlide_Update(WheelSlide& s, uint32_t nowMs);
void WheelSlide_Stop(WheelSlide& s);

// One place on the wheel: a group and an entry in it, -1 for the folder item.
struct WheelPos {
  int group;
  int index;
};

struct WheelSide {
  bool active = false;
  int wanted = 0;      // the difficulty the player asked for (the song may lack it)
  int quickRow = 0;    // 0 hidden, 1..9 the modifier row under the quick-modifier cursor
};

// A roulette spin: the selection is already on the song it lands on; the drawing
// travels `distance` items to it, fast at first and slowing to a stop.
struct WheelSpin {
  double distance = 0;
  uint32_t startMs = 0, durationMs = 0;
};

struct Wheel {
  int state = WHEEL_IDLE;
  int stage = 1;
  int extraStage = 0;               // 1 or 2 on an extra stage
  CollectionStyle style{};
  int difficulties = 3;             // difficulties the style offers on this stage
  int players = 1;                  // active players
  WheelSide side[2];
  WheelSlide slide;                 // a roulette spin runs on its offset too
  WheelSpin spin;
  bool startWhenLanded = false;     // the time ran out: Start follows the roulette
  uint32_t restSince = 0;           // the selection came to rest
  uint32_t chosenAt = 0;
  HotKeyMessage message;
};

// ---- places ----
WheelPos Wheel_Selection(const Collection& c);
void Wheel_Select(Collection& c, WheelPos p);
// The place as it can be stood on: the next group with entries (wrapping) when
// its own has none; the folder item of a closed folder, a song of an inline group.
WheelPos Wheel_Settle(const Collection& c, WheelPos p);
// Whether the collection has any item to stand on.
bool Wheel_HasItems(const Collection& c);
// The next (dir 1) or previous (dir -1) item: past the last entry of a group, or
// from a closed folder item, to the next group with entries, on its folder item
// when it is a folder and its first song when it is inline; and the mirror of
// that to the left. Groups without entries are never stood on.
WheelPos Wheel_Step(const Collection& c, WheelPos p, int dir);
WheelPos Wheel_StepBy(const Collection& c, WheelPos p, int n);
// The song at a place, -1 for a folder or roulette item.
int Wheel_SongAt(const Collection& c, WheelPos p);
// The place's position among all items of the wheel and their number (the slider).
void Wheel_Ordinal(const Collection& c, WheelPos p, int& ordinal, int& total);
bool Wheel_IsRouletteGroup(const CollectionGroup& g);
// The current-folder label of the player the collection follows.
void Wheel_SetCurrentFolder(const char* label);

// ---- difficulties ----
// Whether the song has a chart at difficulty d of the wheel's style.
bool Wheel_HasChart(const Wheel& w, const SongEntry& e, int d);
// The chart a player who wants `wanted` plays on this song: that one, else the
// nearest easier one, else the nearest harder one; `wanted` when it has none.
int Wheel_EffectiveDifficulty(const Wheel& w, const SongEntry& e, int wanted);
// The previous (dir -1) or next (dir 1) difficulty with a chart, wrapping.
int Wheel_CycleDifficulty(const Wheel& w, const SongEntry& e, int from, int dir);
// What the player plays on the selected song.
int Wheel_PlayerDifficulty(const Wheel& w, int player);

// The records line of player `player` for a chart of the song: the machine's
// best score with its grade and holder, and the player's own best from the
// profile. `styleKey` is the records' style code: the player's panels (4 SINGLE
// and VERSUS, 8 DOUBLE, 6 SOLO), as the evaluation stores them.
void Wheel_RecordsLine(const SongEntry& e, int player, int styleKey, int difficulty, char* out, int size);
// Its two halves: "Best <score> <grade> <holder>" of the machine's result, or
// "No record yet"; "Mine <score> <grade>" of a player's own, "" without one.
void Wheel_BestText(const Result& best, char* out, int size);
void Wheel_MineText(const Result& mine, char* out, int size);

// ---- sort ----
// The sort the wheel opens with: "All Music" becomes "All Music (Separated)"
// when the groups are genres.
int Wheel_InitialSort(int sort, int sortBy);
// The sort after Up-Left: the next one, from the last back to the first, and
// with genre groups never "All Music".
int Wheel_NextSort(int sort, int sortBy);

// ---- the screen's life ----
// Wheel start-up for `stage`: the sort, the build (filter mode 2, limit 64), the
// move to a group with entries, and on an extra stage the Bonus overrides.
void Wheel_Begin(Wheel& w, int stage, uint32_t nowMs);
// One frame's input word (with one player, the second player's buttons already
// fold into the first's).
void Wheel_Input(Wheel& w, uint32_t input, uint32_t nowMs);
// The time limit ran out.
void Wheel_TimeUp(Wheel& w, uint32_t nowMs);
// The slide, the roulette's landing and what follows it.
void Wheel_Update(Wheel& w, uint32_t nowMs);
// 1 chosen (once the chosen song has shown), 2 left, 0 going on.
int Wheel_Result(const Wheel& w, uint32_t nowMs);
// The wheel still moves (the time limit stands still).
bool Wheel_Moving(const Wheel& w);
// The selection rests on a song long enough for its preview: the song, else -1.
int Wheel_PreviewSong(const Wheel& w, uint32_t nowMs);

// ---- pieces of the input, for the tests ----
void Wheel_Move(Wheel& w, int dir, uint32_t nowMs);
void Wheel_ChangeSort(Wheel& w, uint32_t nowMs);
// Start (or Up-Right) on the selection; `player` pressed it.
void Wheel_Start(Wheel& w, int player, uint32_t nowMs);
// Starts a roulette: over the whole library (sort "All Music" rebuilt) or only
// among the groups that are not closed folders. False when there is nothing to
// land on. `timeUp` draws the time limit's shorter spin.
bool Wheel_StartRoulette(Wheel& w, bool folderOnly, bool timeUp, uint32_t nowMs);
// The song is chosen when it can be: state WHEEL_CHOSEN and every active player's
// difficulty and level set. False for a song that is not selectable.
bool Wheel_Choose(Wheel& w, uint32_t nowMs);
// On an extra stage the players take the forced difficulty and modifiers of
// the selected Bonus entry.
void Wheel_TakeOverrides(Wheel& w);
// The pick of a roulette: a random group among the candidates (every group with
// a selectable song, or only those that are not closed folders) and a random
// selectable song in it. False when no group qualifies.
bool Wheel_PickRoulette(const Collection& c, bool folderOnly, WheelPos& out);
