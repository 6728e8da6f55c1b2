// The chart tag reader of the indexer and the step analysis from arbitrary text
// (the records file and the song database have targets of their own). The
// levels read and the song entry filled from the tags stay within their fields;
// the figures of the analysis are numbers the song wheel can draw.
#include "chart/chart_text.h"
#include "chart/step_analysis.h"
#include "fuzz/fuzz_support.h"
#include "library/rkv_parser.h"
#include <cmath>
#include <cstring>
#include <string>

namespace {
void check(bool ok, const char* what) { fuzz::Check(ok, "chart tags", what); }

template <size_t N>
bool ends(const char (&field)[N]) {
  return memchr(field, 0, N) != nullptr;
}

void checkFigures(const ChartFigures& f) {
  for (double v : {f.stream, f.voltage, f.air, f.freeze, f.chaos})
    check(std::isfinite(v) && v >= 0, "a figure that is not a number or below zero");
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text((const char*)data, size);
  RKVParser p;
  p.parseText(text);
  for (int32_t l : p.levels) check(l >= 0 && l <= 255, "level");
  SongEntry e{};
  RKVParser_FillEntry(p, e);
  check(ends(e.title) && ends(e.artist) && ends(e.cdTitle) && ends(e.displayTitle) && ends(e.displayArtist) &&
            ends(e.md5),
        "a text without its end");

  std::string prepared = text;
  ChartText_Prepare(prepared);
  AnalysisTiming t;
  Analysis_ReadPairs(prepared, "#CHANGEBPM:", t.tempoChanges);
  Analysis_ReadPairs(prepared, "#FREEZE:", t.stops);
  SongAnalysis a{};
  a.bpm = p.bpm > 0 ? p.bpm : 120;
  ChartFigures f{};
  if (analyseChart(prepared, "#SINGLE:BASIC:1:", false, t, f, a)) checkFigures(f);
  f = ChartFigures{};
  if (analyseChart(prepared, "#DOUBLE:BASIC:1:", true, t, f, a)) checkFigures(f);
  check(a.songLength >= 0, "song length");
  return 0;
}
