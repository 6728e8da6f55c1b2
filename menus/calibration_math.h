#pragma once
// The arithmetic of timing calibration: taps against a steady beat, how far each
// lay from its nearest beat, and the mean and spread of those near enough to
// count, with the values they give "Global GAP" and a controller's input offset.
//
// Signs: an offset is positive when the tap came after the beat (late), as the
// play's timing figures are.
//  - A controller's input offset d is how late its presses arrive (the play
//    judges a press that much earlier).
//  - "Global GAP" g is added to every chart's gap: notes come that much later.
// Both take lateness off a press, so taps late by a mean of M ms (measured with
// neither, against a beat placed where it is heard, as the play's music is) are
// centred when d + g = M. Storing one sets it to M less the other as it stands,
// so storing both in turn still adds up to M.
#include <cstdint>

constexpr int kCalibTapsNeeded = 16;     // taps that count before the screen offers to store
constexpr int kCalibMaxTaps = 64;
constexpr double kCalibOutlierMs = 250;  // a tap further than this from its beat is left out

struct CalibTap {
  double offsetMs = 0;   // from the nearest beat, positive late
  bool kept = false;     // within kCalibOutlierMs
};

struct CalibTaps {
  CalibTap taps[kCalibMaxTaps];
  int count = 0;
  int kept = 0;
};

struct CalibStats {
  int count = 0;         // kept taps
  double meanMs = 0;
  double spreadMs = 0;   // standard deviation about the mean
};

// The distance of `atMs` from the nearest beat of a beat every `periodMs` that has
// one at `beatZeroMs`: from -period/2 (early) up to +period/2.
double Calib_OffsetFromBeat(double atMs, double beatZeroMs, double periodMs);
// Records a tap; returns whether it is kept (a full record takes no more).
bool Calib_Add(CalibTaps& t, double offsetMs);
void Calib_Clear(CalibTaps& t);
// The mean and spread of the kept taps.
CalibStats Calib_Stats(const CalibTaps& t);

// The values to store, rounded to whole ms: "Global GAP" (within -1000..1000)
// beside the controller's input offset, and the controller's input offset
// (within its range) beside "Global GAP".
int Calib_GapFor(double rawMeanMs, int deviceOffsetMs);
int Calib_DeviceOffsetFor(double rawMeanMs, int gapMs);
// After a play, whose presses were judged with `currentOffsetMs` already taken
// off: the offset that would have centred them.
int Calib_DeviceOffsetAfterPlay(int currentOffsetMs, double playMeanMs);
