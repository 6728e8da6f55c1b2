#pragma once
// Where the song stands for the judgement in one frame, and the time difference
// between a record and a press. Positions are on the chart's grid (sixteenths).
#include <cstdint>

struct ScrollState;
struct SongTiming;

struct JudgeClock {
  int64_t songMs;         // the song clock of this frame; press times are on the same clock
  double position;        // chart position now (the scroll's chartPos)
  double msPerBeat;       // in effect now (the BPM override's while it is on)
  uint8_t holding;        // a stop holds the scroll
  double stopPos;         // while holding: the stop's place on the chart's grid
  double stopElapsedMs;   // while holding: how long it has held
  double stopRemainingMs; // while holding: how long it still holds
};

// The clock of a frame: `chartMs` is the chart time the scroll was advanced to,
// `songMs` the clock the presses are stamped with, `msPerBeat` the tempo in effect.
JudgeClock JudgeClock_Make(const ScrollState& s, double chartMs, int64_t songMs, double msPerBeat);
// A clock without stops, for a plain position (tools and tests).
JudgeClock JudgeClock_At(double position, double msPerBeat, int64_t songMs);
// False for a clock the judgement cannot use (a position or tempo that is not a
// finite number, a tempo of 0): nothing is judged in such a frame.
bool JudgeClock_Usable(const JudgeClock& c);

// Milliseconds from a press at `pressMs` to the record at `pos`; positive while
// the record is still ahead. The note's distance is measured at the current
// tempo; while a stop holds, records up to the stop were due when it began and
// later ones are that much further away. The value is taken to a millionth of
// a millisecond so that rounding noise cannot decide a window's edge.
double Judge_Delta(const JudgeClock& c, double pos, int64_t pressMs);
// The judgement for a distance |delta| (all comparisons strict): BOO unless it
// is within GOOD, GREAT or PERFECT; -1 when it is not within the BOO window.
int Judge_Classify(double absDelta, const uint16_t windows[4]);
