#pragma once
// Timed lyrics: "<chart name>.lrc" beside the chart. Lines "[mm:ss.xx]text",
// "[COLOR]" colour lists and "[offset:ms]" lines; drawn centred near the bottom
// of the play field, growing in over their first quarter second.
#include <cstdint>
#include <string>
#include <vector>

struct LyricLine {
  int32_t time;            // ms
  int32_t rowCount;        // 1 + the "|" in the text
  uint32_t colours[10];
  int colourCount;
  std::string text;        // at most 255 characters
};

struct Lyrics {
  std::vector<LyricLine> lines;
  size_t cursor = 0;       // the line shown last; the lookup only walks forward
  bool started = false;
};

// One row of a line as drawn in one frame.
struct LyricRow {
  std::string text;
  int x, y;                // top-left
  int colour;              // the entry of the line's list in force at the row's start
};

// Reads the lyrics of the chart into `out` (emptied first); false when there are none.
bool Lyrics_Load(Lyrics& out, const char* group, const char* songFolder, const char* chartFile, int brightness,
                 bool testMode);
// Parses lyrics text (the loader reads the file, then calls this).
void Lyrics_Parse(const std::string& text, int brightness, Lyrics& out);
// The line to show at `timeMs` (nullptr before the first), and its growth step.
const LyricLine* Lyrics_Current(Lyrics& l, int32_t timeMs);
void Lyrics_Style(int64_t elapsedMs, int& size, int& alpha);
// The rows of `line` at `size`, centred on x 320 and on `centreY`. Every frame
// starts the line in the first entry of its list; only the colour in force at
// the end of a row carries into the next row.
std::vector<LyricRow> Lyrics_Layout(const LyricLine& line, int size, int centreY);
void Lyrics_Draw(Lyrics& l, int32_t timeMs, int centreY);
void Lyrics_Free(Lyrics& l);
