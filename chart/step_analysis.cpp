#include "chart/step_analysis.h"
#include "platform/log.h"
#include "chart/chart_text.h"
#include "chart/step_data.h"
#include "platform/files.h"
#include <algorithm>
#include <cmath>
#include <cstring>

namespace {
const char* const kStyles[kChartSlots] = {"SINGLE", "SINGLE", "SINGLE", "SINGLE", "DOUBLE", "DOUBLE", "DOUBLE",
                                          "DOUBLE", "COUPLE", "COUPLE", "COUPLE", "SOLO",   "SOLO",   "SOLO"};
const char* const kDifficulties[kChartSlots] = {"BASIC", "ANOTHER", "MANIAC", "SMANIAC", "BASIC",  "ANOTHER", "MANIAC",
                                                "SMANIAC", "BASIC", "ANOTHER", "MANIAC", "BASIC", "ANOTHER", "MANIAC"};

struct Item {
  double pos;
  bool freeze;     // a freeze marker turned it into a freeze
  bool closed;     // the column's next arrow ended it
  double length;   // quarter-milliseconds
};

// Walks one advance of the position from p by `step`, growing the song length
// (first half only) and every open freeze, across tempo changes and stops.
struct Walker {
  const AnalysisTiming& t;
  double mspb;
  double baseMspb;
  size_t nextChange = 0, nextStop = 0;
  double length = 0;       // ms
  std::vector<Item>* items = nullptr;
  int open[6] = {};

  void growOpen(double quarterMs) {
    for (int c = 0; c < 6; c++)
      if (open[c] >= 0) (*items)[open[c]].length += quarterMs;
  }

  void advance(double p, double step, bool countLength) {
    double q = p + step;
    double at = p;
    for (;;) {
      double change = nextChange < t.tempoChanges.size() ? t.tempoChanges[nextChange].first : INFINITY;
      double stop = nextStop < t.stops.size() ? t.stops[nextStop].first : INFINITY;
      double ev = std::min(change, stop);
      if (!(ev < q)) break;
      if (ev > at) {
        growOpen((ev - at) * mspb);
        if (countLength) length += (ev - at) * mspb * 0.25;
        at = ev;
      }
      if (stop <= change) {
        double ms = t.stops[nextStop++].second;
        if (ms > 0 && std::isfinite(ms)) {
          growOpen(ms * 4);
          if (countLength) length += ms;
        }
      } else {
        double bpm = t.tempoChanges[nextChange++].second;
        if (bpm > 0 && std::isfinite(bpm)) mspb = 60000.0 / bpm;  // a tempo of 0 or less is skipped
      }
    }
    growOpen((q - at) * mspb);
    if (countLength) length += (q - at) * mspb * 0.25;
  }

  void restart() {
    mspb = baseMspb;
    nextChange = nextStop = 0;
    for (int& o : open) o = -1;
  }
};

int countArrows(const std::string& data, bool bothHalves) {
  int n = 0;
  for (size_t i = 0; i < data.size(); i++) {
    unsigned char c = (unsigned char)data[i];
    if (c == '!') { i++; continue; }
    if (c == ':') {
      if (!bothHalves) break;
      continue;
    }
    int m = Steps_RowMask(c);
    if (m > 0) n += __builtin_popcount((unsigned)m);
  }
  return n;
}
}

void Analysis_ReadPairs(const std::string& text, const char* tag, std::vector<std::pair<double, double>>& out) {
  out.clear();
  size_t at = ChartText_FindValue(text, tag);
  if (at == std::string::npos) return;
  std::string v(ChartText_Value(text, at));
  for (char& c : v)
    if (c == '=') c = ',';
  std::vector<double> nums;
  size_t s = 0;
  while (s <= v.size()) {
    size_t e = v.find(',', s);
    if (e == std::string::npos) e = v.size();
    double d = 0;
    ChartText_Decimal(std::string_view(v).substr(s, e - s), d);
    nums.push_back(d);
    s = e + 1;
  }
  for (size_t i = 0; i + 1 < nums.size(); i += 2) out.emplace_back(nums[i], nums[i + 1]);
  std::stable_sort(out.begin(), out.end(), [](auto& a, auto& b) { return a.first < b.first; });
}

bool analyseChart(const std::string& text, const std::string& key, bool bothHalves, const AnalysisTiming& timing,
                  ChartFigures& figures, SongAnalysis& song) {
  WriteLogf("Analysing steps: %s\n", key.c_str());
  size_t k = text.find(key);
  if (k == std::string::npos) {
    WriteLogf("could not find stepset...%s\n", key.c_str());
    return false;
  }
  size_t start = k + key.size();
  size_t end = text.find(';', start);
  if (end == std::string::npos) {
    WriteLogf("no end found to step set... %s\n", key.c_str());
    return false;
  }
  std::string data = text.substr(start, end - start);
  int total = countArrows(data, bothHalves);
  if (total == 0) {
    WriteLogf("no arrows found...%s\n", key.c_str());
    return false;
  }

  std::vector<Item> items;
  items.reserve((size_t)total);
  double bpm = song.bpm > 0 && std::isfinite(song.bpm) ? song.bpm : 0;
  if (bpm <= 0) {
    WriteLogf("no tempo for stepset...%s\n", key.c_str());
    return false;
  }
  Walker w{timing, 60000.0 / bpm, 60000.0 / bpm};
  w.items = &items;
  w.restart();
  int lastInColumn[6];
  for (int& c : lastInColumn) c = -1;
  double pos = 0, step = 2.0, saved = 2.0;
  bool firstHalf = true;
  for (size_t i = 0; i < data.size(); i++) {
    unsigned char c = (unsigned char)data[i];
    switch (c) {
      case '(': step = 1.0; continue;
      case '[': step = 2.0 / 3.0; continue;
      case '{': step = 0.25; continue;
      case '`': step = 1.0 / 12.0; continue;
      case ')': case ']': case '}': case '\'': case '>': step = 2.0; continue;
      case '<': saved = step; step = 0; continue;
      case ':':
        if (!bothHalves || !firstHalf) goto done;
        firstHalf = false;
        pos = 0;
        step = 2.0;
        w.restart();
        for (int& x : lastInColumn) x = -1;
        continue;
      case '!': {
        if (i + 1 >= data.size()) continue;
        int m = Steps_RowMask((unsigned char)data[++i]);
        for (int col = 0; col < 6; col++) {
          if (m <= 0 || !(m & (1 << col)) || lastInColumn[col] < 0) continue;
          Item& head = items[lastInColumn[col]];
          head.freeze = true;
          // the row of the head has already advanced the position
          head.length += (pos - head.pos) * w.mspb;
          w.open[col] = lastInColumn[col];
        }
        continue;
      }
      default: break;
    }
    int m = Steps_RowMask(c);
    if (m < 0) continue;
    for (int col = 0; col < 6; col++) {
      if (!(m & (1 << col))) continue;
      if (w.open[col] >= 0) {  // this arrow ends the column's freeze
        items[w.open[col]].closed = true;
        w.open[col] = -1;
        continue;
      }
      lastInColumn[col] = (int)items.size();
      items.push_back({pos, false, false, 0});
    }
    if (step > 0) w.advance(pos, step, firstHalf);
    pos += step;
  }
done:
  (void)saved;
  // a freeze never closed stays an ordinary arrow, as in play
  for (Item& it : items)
    if (it.freeze && !it.closed) it.freeze = false, it.length = 0;
  if (bothHalves)
    std::stable_sort(items.begin(), items.end(), [](const Item& a, const Item& b) { return a.pos < b.pos; });

  int steps = 0, jumps = 0, offSteps = 0;
  double offWeight = 0, freezeTime = 0, prev = -1e9;
  for (const Item& it : items) {
    double p = it.pos + 0.01;
    double f = p - 4.0 * std::trunc(p / 4.0);
    bool off = !it.freeze && f > 0.02;
    if (off) offWeight += (f >= 0.048 && f <= 0.052) ? 1.0 : 1.5;
    if (!it.freeze && std::fabs(it.pos - prev) < 0.01) {
      jumps++;
      if (off) offSteps--;  // the chord was counted off the beat once already
    } else {
      prev = it.pos;
    }
    if (it.freeze) {
      freezeTime += it.length;
    } else {
      steps++;
      if (off) offSteps++;
    }
  }
  double freezeSeconds = freezeTime / 4000.0;
  double length = w.length;
  int32_t songLength = length > 2147483647.0 ? 2147483647 : (int32_t)length;
  double scale = songLength > 0 ? 90000.0 / songLength : 1.0;
  figures.stream = steps * 0.15625 * scale;
  figures.voltage = (steps - jumps) * 0.1724137931034483 * scale;
  figures.air = jumps * scale;
  figures.freeze = freezeSeconds * scale;
  figures.chaos = steps > 0 ? offWeight * 75.0 / steps : 0;
  song.songLength = songLength;

  WriteLogf("Results for %s (%s)...\n", song.title ? song.title : "", key.c_str());
  WriteLogf("Song Length in seconds.... approx %.2f\n", length / 1000.0);
  WriteLogf("Max Combo possible........ %4d\n", steps);
  WriteLogf("Total number of jumps..... %4d\n", jumps);
  WriteLogf("Offbeat steps............. %4d (%d)\n", offSteps, (int)offWeight);
  WriteLogf("Approx. time in freezes... %3.1f sec\n", freezeSeconds);
  WriteLogf("%.2f,%.2f,%.2f,%.2f,%.2f,\n", figures.stream, figures.voltage, figures.air, figures.freeze, figures.chaos);
  return true;
}

void analyseSong(const char* chartPath, const int32_t levels[kChartSlots], SongAnalysis& song,
                 ChartFigures figures[kChartSlots]) {
  WriteLogf("%s...\n", chartPath);
  std::string text;
  if (!File_ReadText(chartPath, text)) return;
  ChartText_Prepare(text);
  AnalysisTiming timing;
  Analysis_ReadPairs(text, "#CHANGEBPM:", timing.tempoChanges);
  Analysis_ReadPairs(text, "#FREEZE:", timing.stops);
  for (int s = 0; s < kChartSlots; s++) {
    if (levels[s] <= 0) continue;
    char key[64];
    snprintf(key, sizeof key, "#%s:%s:%d:", kStyles[s], kDifficulties[s], (int)levels[s]);
    bool both = s >= 4 && s <= 10;
    analyseChart(text, key, both, timing, figures[s], song);
  }
}
