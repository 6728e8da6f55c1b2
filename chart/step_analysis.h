#pragma once
// The step analysis the indexer runs on every chart of a new or changed song:
// length, steps, jumps, off-beat steps and freeze time, logged as a short report
// and stored as five figures per chart in the song entry.
#include "chart/chart_figures.h"
#include <string>
#include <utility>
#include <vector>

struct AnalysisTiming {
  std::vector<std::pair<double, double>> tempoChanges;  // position, bpm
  std::vector<std::pair<double, double>> stops;         // position, ms
};

// What the analysis reads of a song, and the song length it finds.
struct SongAnalysis {
  const char* title = "";   // named in the report
  double bpm = 0;           // the song's first tempo
  int32_t songLength = 0;   // ms; set by every chart analysed
};

// Every chart of the file whose level in `levels` is above 0, into `figures`.
void analyseSong(const char* chartPath, const int32_t levels[kChartSlots], SongAnalysis& song,
                 ChartFigures figures[kChartSlots]);
// One chart of the prepared chart text. False when the chart is missing or empty
// (the figures and the song length then keep what they had).
bool analyseChart(const std::string& text, const std::string& key, bool bothHalves, const AnalysisTiming& timing,
                  ChartFigures& figures, SongAnalysis& song);
// "pos=value,pos=value" up to ";" after the tag.
void Analysis_ReadPairs(const std::string& text, const char* tag, std::vector<std::pair<double, double>>& out);
