#include "chart/timing.h"
#include <cmath>
#include <cstdlib>
#include "chart/player_record.h"

SongTiming g_timing;

namespace {
// Truncation towards zero into whole milliseconds that never overflows.
int64_t TruncMs(double v) {
  if (!(v == v)) return 0;
  if (v >= 9.0e18) return INT64_C(9000000000000000000);
  if (v <= -9.0e18) return -INT64_C(9000000000000000000);
  return (int64_t)v;
}

double MsPerBeat(double bpm) { return 60000.0 / bpm; }
}  // namespace

void Timing_FreeLists(SongTiming& t) {
  free(t.bpmChanges);
  free(t.stops);
  t.bpmChanges = nullptr;
  t.stops = nullptr;
  t.bpmChangeCount = 0;
  t.stopCount = 0;
}

void Timing_Install(SongTiming& t, double bpm, int64_t gapMs, BpmChange* changes, int32_t changeCount,
                    FreezeStop* stops, int32_t stopCount) {
  Timing_FreeLists(t);
  t.bpm = bpm;
  t.initialBpm = bpm;
  t.msPerBeat = MsPerBeat(bpm);
  t.gapMs = gapMs;
  t.bpmChanges = changes;
  t.bpmChangeCount = changes ? changeCount : 0;
  t.stops = stops;
  t.stopCount = stops ? stopCount : 0;
  // the adjustment made for one gap means nothing for another
  if (!t.havePreviousGap || t.previousGap != gapMs) t.gapAdjust = 0;
  t.havePreviousGap = 1;
  t.previousGap = gapMs;
}

double Timing_ChartTime(const SongTiming& t, double musicMs, double latencyMs) {
  return musicMs - ((double)t.gapMs + latencyMs + t.gapAdjust);
}

int64_t Timing_TimeOfPosition(const SongTiming& t, double p) {
  int64_t acc = 0;
  double prev = 0.0;
  double m = MsPerBeat(t.initialBpm);
  for (int32_t i = 0; i < t.bpmChangeCount && t.bpmChanges[i].position < p; i++) {
    const BpmChange& c = t.bpmChanges[i];
    acc = TruncMs(m * (c.position - prev) * 0.25 + (double)acc);
    m = MsPerBeat(c.bpm);
    prev = c.position;
  }
  return TruncMs((p - prev) * m * 0.25 + (double)acc);
}

double Timing_PositionOfTime(const SongTiming& t, double ms) {
  double segPos = 0.0, segTime = 0.0, m = MsPerBeat(t.initialBpm);
  for (int32_t i = 0; i < t.bpmChangeCount; i++) {
    const BpmChange& c = t.bpmChanges[i];
    double reach = segTime + (c.position - segPos) * m * 0.25;
    if (ms < reach) break;
    segPos = c.position;
    segTime = reach;
    m = MsPerBeat(c.bpm);
  }
  return segPos + (ms - segTime) * 4.0 / m;
}

int64_t Timing_StartTime(const SongTiming& t, const Player* players, int playerCount) {
  bool any = false;
  int64_t start = 0;
  for (int i = 0; i < playerCount && i < 2; i++) {
    const Player& p = players[i];
    if (!p.active || !p.arrows || p.arrowCount <= 0) continue;
    int64_t s = Timing_TimeOfPosition(t, p.arrows[0].startPos) - kPreRollMs;
    if (!any || s < start) start = s;
    any = true;
  }
  return any ? start : -kPreRollMs;
}

void Timing_Begin(ScrollState& s, SongTiming& t) {
  s = ScrollState{};
  t.bpm = t.initialBpm;
  t.msPerBeat = MsPerBeat(t.bpm);
}

namespace {
void TempoChange(ScrollState& s, SongTiming& t, const BpmChange& c, Player* players, int playerCount) {
  double reach = s.segmentTime + (c.position - s.segmentPos) * t.msPerBeat * 0.25;
  double chartStart = c.position - s.stopShift;
  double length = chartStart - s.segmentChartPos;   // sixteenths the tape scrolled in the old segment
  t.bpm = c.bpm;
  t.msPerBeat = MsPerBeat(c.bpm);
  for (int i = 0; i < playerCount && i < 2; i++) {
    Player& p = players[i];
    if (!p.active) continue;
    double shift = length * p.pixelsPerBeat * 0.25;
    if (p.options.reverse == 0) shift = -shift;
    for (int32_t k = 0; k < p.arrowCount && p.arrows; k++)
      if (p.arrows[k].kind <= 3) p.arrows[k].tapeY += shift;
    p.pixelsPerMs = p.pixelsPerBeat * t.bpm / 60000.0;
  }
  s.segmentPos = c.position;
  s.segmentTime = reach;
  s.segmentChartPos = chartStart;
}

void StopBegins(ScrollState& s, SongTiming& t, const FreezeStop& st, Player* players, int playerCount) {
  s.holding = 1;
  s.holdChartPos = st.position - s.stopShift;
  s.holdMs = st.milliseconds;
  s.holdEnd = s.segmentTime + (st.position - s.segmentPos) * t.msPerBeat * 0.25 + st.milliseconds;
  for (int i = 0; i < playerCount && i < 2; i++) {
    Player& p = players[i];
    if (!p.active) continue;
    for (int32_t k = 0; k < p.arrowCount && p.arrows; k++)
      if (p.arrows[k].startPos >= s.holdChartPos) p.arrows[k].afterStop = 1;
  }
}

void StopEnds(ScrollState& s, SongTiming& t) {
  double length = s.holdMs * t.bpm / 60000.0 * 4.0;
  for (int32_t i = s.nextChange; i < t.bpmChangeCount; i++) t.bpmChanges[i].position += length;
  for (int32_t i = s.nextStop; i < t.stopCount; i++) t.stops[i].position += length;
  s.stopShift += length;
  s.shiftThisFrame += length;
  s.holding = 0;
}
}  // namespace

int Timing_Advance(ScrollState& s, SongTiming& t, double ms, Player* players, int playerCount) {
  int events = 0;
  s.shiftThisFrame = 0;
  // every turn takes one event (a tempo change, the start or the end of a stop),
  // so the loop ends after at most changes + 2 * stops + 1 turns
  for (;;) {
    if (s.holding) {
      if (ms < s.holdEnd) break;
      StopEnds(s, t);
      events |= TIMING_STOP_ENDED;
      continue;
    }
    double pos = s.segmentPos + (ms - s.segmentTime) * 4.0 / t.msPerBeat;
    bool change = s.nextChange < t.bpmChangeCount && pos >= t.bpmChanges[s.nextChange].position;
    bool stop = s.nextStop < t.stopCount && pos >= t.stops[s.nextStop].position;
    if (change && stop && t.stops[s.nextStop].position < t.bpmChanges[s.nextChange].position) change = false;
    if (change) {
      TempoChange(s, t, t.bpmChanges[s.nextChange++], players, playerCount);
      events |= TIMING_TEMPO_CHANGED;
    } else if (stop) {
      StopBegins(s, t, t.stops[s.nextStop++], players, playerCount);
      events |= TIMING_STOP_BEGAN;
    } else {
      break;
    }
  }
  s.position = s.segmentPos + (ms - s.segmentTime) * 4.0 / t.msPerBeat;
  s.chartPos = s.holding ? s.holdChartPos : s.position - s.stopShift;
  return events;
}

bool Timing_SetTempo(ScrollState& s, SongTiming& t, double bpm, Player* players, int playerCount) {
  if (!(bpm >= kMinBpm && bpm <= kMaxBpm)) return false;
  if (bpm == t.bpm) return true;
  // a stop holds the tape at its own place; the tempo waits until it ends
  if (s.holding) return false;
  // a tempo change where the song is now: the position carries on from here at
  // the new tempo and the arrows on screen do not jump
  TempoChange(s, t, BpmChange{s.position, bpm}, players, playerCount);
  return true;
}

double Timing_TapeScroll(const ScrollState& s, const Player& p) {
  return (s.chartPos - s.segmentChartPos) * p.pixelsPerBeat * 0.25;
}
