#pragma once
// The step analysis the indexer runs on every chart of a new or changed song:
// length, steps, jumps, off-beat steps and freeze time, logged as a short report
// and stored as five figures per chart in the song entry.
#include "library/song_entry.h"
#include <string>
#include <utility>
#include <vector>

struct AnalysisTiming {
  std::vector<std::pair<double, double>> tempoChanges;  // position, bpm
  std::vector<std::pair<double, double>> stops;         // position, ms
};

void analyseSong(const char* chartPath, SongEntry& entry);
// One chart of the prepared chart text. False when the chart is missing or empty
// (the entry then keeps what it had).
bool analyseChart(const std::string& text, const std::string& key, bool bothHalves, const AnalysisTiming& timing,
                  ChartFigures& figures, SongEntry& entry);
// "pos=value,pos=value" up to ";" after the tag.
void Analysis_ReadPairs(const std::string& text, const char* tag, std::vector<std::pair<double, double>>& out);
