#include "play/judge_clock.h"
#include <cmath>
#include "chart/timing.h"
#include "play/judgement.h"

namespace {
// A record this close to a stop's place counts as lying on it.
constexpr double kOnStop = 0.001;
}

JudgeClock JudgeClock_Make(const ScrollState& s, double chartMs, int64_t songMs, double msPerBeat) {
  JudgeClock c{};
  c.songMs = songMs;
  c.position = s.chartPos;
  c.msPerBeat = msPerBeat;
  if (s.holding) {
    c.holding = 1;
    c.stopPos = s.holdChartPos;
    c.stopRemainingMs = s.holdEnd - chartMs;
    if (c.stopRemainingMs < 0) c.stopRemainingMs = 0;
    c.stopElapsedMs = s.holdMs - c.stopRemainingMs;
    if (c.stopElapsedMs < 0) c.stopElapsedMs = 0;
  }
  return c;
}

JudgeClock JudgeClock_At(double position, double msPerBeat, int64_t songMs) {
  JudgeClock c{};
  c.songMs = songMs;
  c.position = position;
  c.msPerBeat = msPerBeat;
  return c;
}

bool JudgeClock_Usable(const JudgeClock& c) {
  return std::isfinite(c.position) && std::isfinite(c.msPerBeat) && c.msPerBeat > 0 &&
         (!c.holding || (std::isfinite(c.stopPos) && std::isfinite(c.stopElapsedMs) &&
                         std::isfinite(c.stopRemainingMs)));
}

double Judge_Delta(const JudgeClock& c, double pos, int64_t pressMs) {
  double d = (pos - c.position) * c.msPerBeat * 0.25 + (double)(c.songMs - pressMs);
  if (c.holding) d += pos > c.stopPos + kOnStop ? c.stopRemainingMs : -c.stopElapsedMs;
  return std::round(d * 1.0e6) / 1.0e6;
}

int Judge_Classify(double absDelta, const uint16_t windows[4]) {
  if (!(absDelta < windows[JUDGE_BOO])) return -1;
  int j = JUDGE_BOO;
  if (absDelta < windows[JUDGE_GOOD]) j = JUDGE_GOOD;
  if (absDelta < windows[JUDGE_GREAT]) j = JUDGE_GREAT;
  if (absDelta < windows[JUDGE_PERFECT]) j = JUDGE_PERFECT;
  return j;
}
