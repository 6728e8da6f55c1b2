#pragma once
// Modifier tables and arithmetic: the display names of the chosen modifiers, and
// where the effect and scroll modifiers put a note on the 640 x 480 screen.
#include "chart/scroll_speed.h"
#include <cstddef>
#include <cstdint>

struct Player;

constexpr int kModifierNameRows = 9;
constexpr int kModifierNameValues = 10;
constexpr int kModifierNameSize = 10;   // up to 9 characters
// Display names by option index and value; "" where nothing is shown.
extern const char kModifierNames[kModifierNameRows][kModifierNameValues][kModifierNameSize];

// The names of the player's non-zero options in option order, joined by ","
// (" " when there are none), into p.modifierText.
void Player_BuildModifierText(Player& p);
// The same join over any table of names by option and value: the non-empty
// name of each non-zero value, each followed by ",", the last comma removed;
// " " when there is none.
void Modifiers_JoinNames(const char (*names)[kModifierNameValues][kModifierNameSize],
                         const uint8_t values[kModifierNameRows], char* out, size_t size);

// Note placement. `y` is the note's base offset: its tape y minus the tape
// scroll, so that y = 55 is the receptor line; a note ahead has a larger y.
constexpr double kScreenBottom = 480.0;
constexpr double kReverseReceptorY = 356.0;
// Where the note is drawn. `pending`: not judged yet. `songPosition` drives the
// WAVE phase (one wave per 16 sixteenths).
double Note_ScreenY(double y, int effect, bool reverse, bool pending, double songPosition);
// True when a note drawn at `screenY` is beyond the edge the notes come from:
// the note field stops looking at later notes there.
bool Note_BeyondScreen(double screenY, int effect, bool reverse);
// The base offset of an arrow for a player whose tape has scrolled `tapeScroll`
// pixels in the current segment (REVERSE records store the mirrored tape y).
double Note_BaseOffset(double tapeY, bool reverse, double tapeScroll);
