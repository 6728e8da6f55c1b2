#pragma once
// The timing model: positions (sixteenths) against time (milliseconds).
//
// The tempo changes split the chart into segments; segment 0 starts at position
// 0 with the "#BPM:" tempo. During play a ScrollState walks the segments from the
// chart time (music time minus gap, latency and gap adjustment):
//  - `position` is the song position, continuous in the chart time. A stop lets
//    it run on while the scroll holds; when the stop ends every later tempo
//    change and stop is moved later by the stop's length in sixteenths, so the
//    events keep their musical place in this running position.
//  - `chartPos` is the position on the chart's own grid (the arrows' startPos):
//    `position` minus the sixteenths of the finished stops, held at the stop's
//    place while a stop runs. The note field and the judgement use it.
//  - an arrow's tapeY is measured from the start of the current segment: at each
//    tempo change it moves by the distance the old segment scrolled, so on
//    screen the arrow does not jump (Timing_TapeScroll gives the distance
//    scrolled within the current segment).
#include <cstdint>
#include "chart/chart.h"

struct Player;

// Tempos and list values outside these bounds are refused by the loader.
constexpr double kMinBpm = 0.001;
constexpr double kMaxBpm = 1000000.0;
constexpr double kMaxListPosition = 1.0e9;    // sixteenths
constexpr double kMaxStopMs = 36000000.0;     // ten hours
constexpr int kPreRollMs = 3500;              // play starts this long before the first arrow

struct SongTiming {
  double bpm;             // current tempo; replaced at each tempo change during play
  double msPerBeat;       // 60000 / bpm
  double initialBpm;      // "#BPM:"
  int64_t gapMs;          // music time of position 0: "#GAP:" plus the global gap setting
  BpmChange* bpmChanges;  // "#CHANGEBPM:", by rising position
  int32_t bpmChangeCount;
  FreezeStop* stops;      // "#FREEZE:", by rising position
  int32_t stopCount;
  int32_t gapAdjust;      // the song play's correction; reset when the gap changes
  uint8_t havePreviousGap;
  int64_t previousGap;    // the effective gap of the previous load
};

extern SongTiming g_timing;

// Frees the two lists of the song.
void Timing_FreeLists(SongTiming& t);
// Installs the values of a freshly loaded chart: takes the lists over (freeing
// the ones it replaces) and applies the gap adjustment rule.
void Timing_Install(SongTiming& t, double bpm, int64_t gapMs, BpmChange* changes, int32_t changeCount,
                    FreezeStop* stops, int32_t stopCount);

// Music time of position 0 is gapMs; chart time = music time - (gap + latency + adjustment).
double Timing_ChartTime(const SongTiming& t, double musicMs, double latencyMs);

// Milliseconds after position 0 at which position p falls, without stops, the
// sum truncated to whole milliseconds at each tempo change (the start-of-play walk).
// Uses the lists as loaded (before play moved them).
int64_t Timing_TimeOfPosition(const SongTiming& t, double p);
// The inverse conversion in doubles: the position at chart time `ms`, without stops.
double Timing_PositionOfTime(const SongTiming& t, double ms);
// Chart time at which play starts: kPreRollMs before the earlier of the active
// players' first arrows (index 0 of their arrays).
int64_t Timing_StartTime(const SongTiming& t, const Player* players, int playerCount);

struct ScrollState {
  double segmentPos;      // song position where the current segment starts
  double segmentTime;     // chart time of that start
  double segmentChartPos; // the same start on the chart's grid
  int32_t nextChange;     // index of the next tempo change
  int32_t nextStop;       // index of the next stop
  uint8_t holding;        // a stop is running
  double holdEnd;         // chart time at which it ends
  double holdChartPos;    // where the scroll holds
  double holdMs;          // its length
  double stopShift;       // sixteenths added to later events by the finished stops
  double shiftThisFrame;  // sixteenths added by the stops that ended in the last advance
  double position;        // song position
  double chartPos;        // position on the chart's grid
};

// What an advance went through.
constexpr int TIMING_TEMPO_CHANGED = 1;
constexpr int TIMING_STOP_BEGAN = 2;
constexpr int TIMING_STOP_ENDED = 4;

// Back to the start of segment 0 at the "#BPM:" tempo. The lists and the
// players' arrays must be as loaded: a play that starts again loads the chart again.
void Timing_Begin(ScrollState& s, SongTiming& t);
// Moves to chart time `ms` (never backwards), taking each tempo change and stop
// once, in order. Tempo changes update t.bpm, t.msPerBeat, the players'
// pixelsPerMs and their arrows' tapeY; stops mark the arrows from the stop on
// (afterStop) and, when they end, move the later list entries. Players that are
// not active are left alone. Returns the TIMING_* events met.
int Timing_Advance(ScrollState& s, SongTiming& t, double ms, Player* players, int playerCount);
// Changes the tempo at the song's current position (the BPM override of the play
// keys): the position carries on from there at `bpm`, the players' scroll scale
// follows and the arrows keep their place on screen. False while a stop holds
// the scroll (try again later) or for a tempo out of bounds.
bool Timing_SetTempo(ScrollState& s, SongTiming& t, double bpm, Player* players, int playerCount);
// Pixels the tape of `p` has scrolled since the start of the current segment.
double Timing_TapeScroll(const ScrollState& s, const Player& p);
