// The chart tag reader and the step analysis, the records file and the song
// database from arbitrary bytes.
#include "chart/chart_text.h"
#include "chart/step_analysis.h"
#include "library/records.h"
#include "library/rkv_parser.h"
#include "library/song_db.h"
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text((const char*)data, size);
  RKVParser p;
  p.parseText(text);
  for (int32_t l : p.levels)
    if (l < 0 || l > 255) abort();

  std::string prepared = text;
  ChartText_Prepare(prepared);
  AnalysisTiming t;
  Analysis_ReadPairs(prepared, "#CHANGEBPM:", t.tempoChanges);
  Analysis_ReadPairs(prepared, "#FREEZE:", t.stops);
  SongAnalysis e{};
  e.bpm = p.bpm > 0 ? p.bpm : 120;
  ChartFigures f;
  analyseChart(prepared, "#SINGLE:BASIC:1:", false, t, f, e);
  analyseChart(prepared, "#DOUBLE:BASIC:1:", true, t, f, e);

  RecordTable table;
  if (Records_Parse(table, data, size)) {
    std::vector<uint8_t> back = Records_Serialize(table);
    RecordTable again;
    if (!Records_Parse(again, back.data(), back.size()) || again.records.size() != table.records.size()) abort();
  }

  static std::string dbPath = "/tmp/fuzz-library-" + std::to_string(getpid()) + ".sng";
  if (FILE* fp = fopen(dbPath.c_str(), "wb")) {
    fwrite(data, 1, size, fp);
    fclose(fp);
    SongDatabase db;
    SongDb_Read(dbPath, db);
    std::vector<int32_t> tables[4];
    SongDb_BuildIndexes(db, tables);
  }
  return 0;
}
