#include "media/audio/music_clock.h"
#include <algorithm>

namespace {
double predict(const MusicClock& c, double t) {
  double v = c.anchorFrames + (t - c.anchorT) * c.slope;
  v = std::min(v, c.limit);
  return std::max(v, c.lastRead);
}

// The device's frames per second over the recent reports (least squares), or 0
// while there are too few of them to tell.
double measuredRate(const MusicClock& c) {
  if (c.obsCount < 8) return 0;
  int first = (c.obsHead - c.obsCount + MusicClock::kWindow) % MusicClock::kWindow;
  double t0 = c.obsT[first], f0 = c.obsF[first];
  double st = 0, sf = 0;
  for (int i = 0; i < c.obsCount; i++) {
    int k = (first + i) % MusicClock::kWindow;
    st += c.obsT[k] - t0;
    sf += c.obsF[k] - f0;
  }
  double mt = st / c.obsCount, mf = sf / c.obsCount;
  double stt = 0, stf = 0;
  for (int i = 0; i < c.obsCount; i++) {
    int k = (first + i) % MusicClock::kWindow;
    double dt = c.obsT[k] - t0 - mt;
    stt += dt * dt;
    stf += dt * (c.obsF[k] - f0 - mf);
  }
  double span = c.obsT[(c.obsHead - 1 + MusicClock::kWindow) % MusicClock::kWindow] - t0;
  if (span < 0.05 || stt <= 0) return 0;
  return stf / stt;
}
}

void MusicClock_Reset(MusicClock& c, double nominalRate, double expectedGap) {
  c = MusicClock{};
  c.nominalRate = c.rate = c.slope = nominalRate;
  c.expectedGap = expectedGap;
}

void MusicClock_Halt(MusicClock& c, double limit) {
  // What the device already holds still plays; the reports stop, so the rate
  // measurement must not bridge the silence that follows.
  c.limit = std::max(c.limit, limit);
  c.obsCount = 0;
}

static void addReport(MusicClock& c, double t, double heard) {
  c.obsT[c.obsHead] = t;
  c.obsF[c.obsHead] = heard;
  c.obsHead = (c.obsHead + 1) % MusicClock::kWindow;
  if (c.obsCount < MusicClock::kWindow) c.obsCount++;
}

void MusicClock_Report(MusicClock& c, double t, double heard, double limit) {
  if (!c.valid) {
    c.valid = true;
    c.anchorT = t;
    c.anchorFrames = std::max(heard, c.lastRead);
    c.slope = c.rate;
    c.limit = std::max(limit, c.anchorFrames);
    c.lastReportT = t;
    c.obsCount = 0;
    addReport(c, t, heard);
  } else {
    // A long silence between reports (a stall, a halt) is no sample of the rate.
    if (t - c.lastReportT > 4 * c.expectedGap + 0.05) c.obsCount = 0;
    double p = predict(c, t);
    double e = heard - p;
    if (e > kClockJumpSeconds * c.nominalRate) {
      p = heard;  // far behind (a start, an underrun recovered): catch up at once
      e = 0;
    }
    c.anchorT = t;
    c.anchorFrames = p;
    c.lastReportT = t;
    addReport(c, t, heard);
    // The rate is measured over the first reports, then only nudged by lasting
    // errors: a later measurement would count the device's stalls (a late dummy
    // callback, an underrun) as slowness and leave the clock lagging after them.
    if (!c.rateKnown) {
      double r = measuredRate(c);
      if (r > 0 && c.obsCount >= 16) {
        c.rate = r;
        c.rateKnown = true;
      }
    } else {
      c.rate *= 1 + std::clamp(e / c.rate / kClockRateSteerSeconds, -0.002, 0.002);
    }
    c.rate = std::clamp(c.rate, 0.8 * c.nominalRate, 1.25 * c.nominalRate);
    // Ahead of the device: slow down, down to a halt; behind: up to double speed.
    double corr = std::clamp(e / (c.rate * kClockSteerSeconds), -1.0, 1.0);
    c.slope = c.rate * (1 + corr);
    c.limit = std::max(limit, p);
  }
}

double MusicClock_Read(MusicClock& c, double t) {
  if (!c.valid) return c.lastRead;
  double v = predict(c, t);
  c.lastRead = v;
  return v;
}
