#pragma once
// The steady beat of the calibration screen: a click of our own making, looped,
// and where its beats fall on the program clock. With sound the beats are placed
// where the listener hears them (the channel's heard position), so the delay of
// the sound device is part of what the taps measure, as it is in a play. Without
// sound (no device, or the sample would not load) the beat runs on the program
// clock alone, with a short lead-in, and only the picture pulses.
#include <cstdint>

constexpr double kCalibBpm = 100;
constexpr double kCalibPeriodMs = 60000.0 / kCalibBpm;
constexpr int kCalibBeatsPerBar = 4;     // the first of each bar clicks higher
constexpr int kCalibLeadInBeats = 2;

struct CalibBeat {
  uint32_t sample = 0, channel = 0;
  double periodMs = kCalibPeriodMs;
  bool known = false;        // beatZeroMs holds; taps before it are not measured
  double beatZeroMs = 0;     // program time of the first beat of a bar
  double loopMs = 0;         // the length of the looped bar
  double heardMs = 0;        // how much of the loop has been heard, counting the turns
  double lastPosMs = 0;
};

// Starts a beat every `periodMs`. `nowMs` (program clock) is the screen's start;
// a beat on the clock alone counts from the moment it finds it has no sound.
void CalibBeat_Start(CalibBeat& b, double nowMs, double periodMs = kCalibPeriodMs);
// Each frame: follows the heard position of the sound.
void CalibBeat_Frame(CalibBeat& b, double nowMs);
void CalibBeat_Stop(CalibBeat& b);
// Where `atMs` lies in the beat: the beat's number since beat zero (may be
// negative) and 0..1 through it. False before the beat is known.
bool CalibBeat_Phase(const CalibBeat& b, double atMs, int& beat, double& through);

// The looped bar as a WAV file in memory (16-bit mono at `rate`): four clicks
// `periodMs` apart, the first higher. Returns its bytes, 0 when it does not fit.
int CalibBeat_MakeWav(uint8_t* out, int capacity, int rate, double periodMs);
