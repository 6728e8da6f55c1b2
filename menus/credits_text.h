#pragma once
// The credits text and its line format. Lines are separated by "|"; the first
// character of a line is its code:
//   "1" yellow, "2" cyan, anything else white;
//   "a" a white line that sits 15 pixels closer to the line before;
//   "A" the announcer set's credit, "f" the effect set's credit, "s" the skin's
//   author (each three spaces and the text, white), "S" "%s Skin" with the skin
//   name (three spaces first, yellow).
// Any other line shows its text after the code character.
#include <cstdint>

constexpr int kCreditsTextMax = 599;       // characters of the text read; the rest is cut
constexpr int kCreditsLineMax = 300;       // 599 characters hold at most this many lines
constexpr int kCreditsLineSpacing = 38;    // pixels from one line to the next
constexpr int kCreditsCloseSpacing = 23;   // the same before an "a" line

// The game's own credits, in the line format.
extern const char* const kCreditsText;
// The closing message's third line.
extern const char* const kCreditsAuthorLine;

struct CreditLine {
  char text[128];
  uint32_t colour;   // 0xRRGGBB
  int offset;        // pixels below the first line
  int size;          // font size, 20 unless the screen makes a long line smaller
};

// What the generated lines say.
struct CreditSources {
  const char* announcer;   // the announcer set's credit
  const char* effects;     // the effect set's credit
  const char* skin;        // the skin's name
  const char* skinAuthor;  // the skin's author
};

// Expands `text` (its first 599 characters) into lines; returns how many were
// written (at most `max`).
int Credits_ExpandText(const char* text, const CreditSources& sources, CreditLine* lines, int max);
