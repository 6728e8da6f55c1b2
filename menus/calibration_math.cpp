#include "menus/calibration_math.h"
#include "library/device_offsets.h"
#include <algorithm>
#include <cmath>

namespace {
constexpr int kGapLimit = 1000;   // the range of "Global GAP" the settings keep

int roundMs(double ms) { return std::isfinite(ms) ? (int)std::lround(ms) : 0; }
}  // namespace

double Calib_OffsetFromBeat(double atMs, double beatZeroMs, double periodMs) {
  if (!(periodMs > 0) || !std::isfinite(atMs) || !std::isfinite(beatZeroMs)) return 0;
  double d = std::fmod(atMs - beatZeroMs, periodMs);
  if (d < 0) d += periodMs;
  return d > periodMs / 2 ? d - periodMs : d;
}

bool Calib_Add(CalibTaps& t, double offsetMs) {
  if (t.count >= kCalibMaxTaps) return false;
  CalibTap& tap = t.taps[t.count++];
  tap.offsetMs = offsetMs;
  tap.kept = std::isfinite(offsetMs) && std::fabs(offsetMs) <= kCalibOutlierMs;
  if (tap.kept) t.kept++;
  return tap.kept;
}

void Calib_Clear(CalibTaps& t) { t = CalibTaps{}; }

CalibStats Calib_Stats(const CalibTaps& t) {
  CalibStats s;
  double sum = 0;
  for (int i = 0; i < t.count; i++)
    if (t.taps[i].kept) {
      sum += t.taps[i].offsetMs;
      s.count++;
    }
  if (!s.count) return s;
  s.meanMs = sum / s.count;
  double sq = 0;
  for (int i = 0; i < t.count; i++)
    if (t.taps[i].kept) sq += (t.taps[i].offsetMs - s.meanMs) * (t.taps[i].offsetMs - s.meanMs);
  s.spreadMs = std::sqrt(sq / s.count);
  return s;
}

int Calib_GapFor(double rawMeanMs, int deviceOffsetMs) {
  return std::clamp(roundMs(rawMeanMs) - deviceOffsetMs, -kGapLimit, kGapLimit);
}

int Calib_DeviceOffsetFor(double rawMeanMs, int gapMs) {
  return std::clamp(roundMs(rawMeanMs) - gapMs, kDeviceOffsetMinMs, kDeviceOffsetMaxMs);
}

int Calib_DeviceOffsetAfterPlay(int currentOffsetMs, double playMeanMs) {
  return std::clamp(currentOffsetMs + roundMs(playMeanMs), kDeviceOffsetMinMs, kDeviceOffsetMaxMs);
}
