#include "menus/timing_histogram.h"
#include "library/settings.h"
#include "play/play_results.h"
#include "play/player.h"
#include <algorithm>
#include <cmath>

int Histogram_Bucket(double lateMs, int rangeMs, int buckets) {
  if (buckets <= 1 || rangeMs <= 0) return 0;
  double at = std::floor((lateMs + rangeMs) * buckets / (2.0 * rangeMs));
  if (!(at >= 0)) return 0;   // also NaN
  return at >= buckets ? buckets - 1 : (int)at;
}

void Histogram_Build(TimingHistogram& h, const std::vector<double>& lateMs, const uint16_t windows[4]) {
  h = TimingHistogram{};
  const uint16_t* w = windows && windows[3] ? windows : g_settings.windows[3] ? g_settings.windows : kDefaultWindows;
  std::copy(w, w + 4, h.windows);
  h.rangeMs = h.windows[3];
  double sum = 0;
  for (double v : lateMs) {
    h.counts[Histogram_Bucket(v, h.rangeMs, kHistogramBuckets)]++;
    sum += v;
  }
  h.presses = (int)lateMs.size();
  if (!h.presses) return;
  h.meanMs = sum / h.presses;
  double squares = 0;
  for (double v : lateMs) squares += (v - h.meanMs) * (v - h.meanMs);
  h.spreadMs = std::sqrt(squares / h.presses);
  h.peak = *std::max_element(h.counts, h.counts + kHistogramBuckets);
}

void Histogram_OfPlayer(TimingHistogram& h, const Player& p) {
  std::vector<double> late;
  late.reserve((size_t)std::max(p.arrowCount, 0));
  for (int32_t i = 0; i < p.arrowCount; i++) {
    double v;
    if (Results_PressLateMs(p.arrows[i], v)) late.push_back(v);
  }
  Histogram_Build(h, late, p.windows);
}

int Histogram_BucketWindow(const TimingHistogram& h, int bucket) {
  double width = 2.0 * h.rangeMs / kHistogramBuckets;
  double middle = std::fabs(-h.rangeMs + (bucket + 0.5) * width);
  for (int w = 0; w < 3; w++)
    if (middle < h.windows[w]) return w;
  return 3;
}
