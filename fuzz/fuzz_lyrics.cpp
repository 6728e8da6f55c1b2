// Arbitrary bytes as a lyrics file, at a brightness taken from the first byte
// (also outside 0..100), then every line looked up and laid out at the times
// around it and at the ends of the clock. A line or row that breaks the rules
// of the reader stops the run.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include "play/lyrics.h"

namespace {
void Check(bool ok, const char* what) {
  if (!ok) {
    fprintf(stderr, "lyrics check failed: %s\n", what);
    abort();
  }
}

void CheckFrame(Lyrics& l, int32_t t) {
  const LyricLine* line = Lyrics_Current(l, t);
  if (!line) return;
  Check(line->time <= t, "line shown before its time");
  int size, alpha;
  Lyrics_Style((int64_t)t - line->time, size, alpha);
  Check(size >= 0 && size <= 27 && alpha >= 0 && alpha <= 255, "style");
  std::vector<LyricRow> rows = Lyrics_Layout(*line, size, 380);
  Check((int)rows.size() == line->rowCount, "row count");
  for (size_t i = 0; i < rows.size(); i++) {
    Check(rows[i].colour >= 0 && rows[i].colour < 10, "colour entry");
    Check(i == 0 ? rows[i].colour == 0 : true, "a line starts in its first colour");
    Check(i == 0 || rows[i].y >= rows[i - 1].y, "rows go down");
  }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  int brightness = size ? data[0] * 2 - 100 : 100;
  std::string text((const char*)data + (size ? 1 : 0), size ? size - 1 : 0);
  Lyrics l;
  Lyrics_Parse(text, brightness, l);
  for (const LyricLine& line : l.lines) {
    Check(line.text.size() <= 255, "text length");
    int bars = 1;
    for (char c : line.text) bars += c == '|';
    Check(line.rowCount == bars, "rows");
    Check(line.colourCount >= 1 && line.colourCount <= 10, "colour count");
    for (uint32_t c : line.colours) Check(c <= 0xFFFFFF, "colour");
  }
  // the clock only runs forward, as in a play
  std::vector<int32_t> times = {INT32_MIN, -1, 0, 1};
  for (const LyricLine& line : l.lines) {
    times.push_back(line.time);
    times.push_back(line.time > INT32_MIN ? line.time - 1 : line.time);
    times.push_back(line.time < INT32_MAX - 100 ? line.time + 100 : INT32_MAX);
  }
  times.push_back(INT32_MAX);
  std::sort(times.begin(), times.end());
  for (int32_t t : times) CheckFrame(l, t);
  // and the drawing path itself, which has no font here and so draws nothing
  for (int32_t t : times) Lyrics_Draw(l, t, 380);
  Lyrics_Free(l);
  return 0;
}
