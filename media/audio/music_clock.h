#pragma once
// The device clock behind every play position: how many device frames the
// listener has heard at a given moment of the monotonic clock.
//
// The device callback reports, each time it runs, how far the listener has got
// (frames handed over minus those still queued) and how far they can get before
// the next callback (the end of what was handed over). Between callbacks the
// clock runs on the monotonic clock at the device's measured rate, steered gently
// toward each report instead of jumping to it, so it is smooth at callback
// boundaries, never runs backwards, and follows a device whose crystal (or, for
// the dummy driver, whose sleeps) is a little fast or slow.
#include <cstdint>

struct MusicClock {
  bool valid = false;
  double nominalRate = 44100;   // frames per second the device was opened at
  double rate = 44100;          // measured frames per second
  double anchorT = 0;           // seconds (monotonic)
  double anchorFrames = 0;
  double slope = 44100;         // frames per second from the anchor on
  double limit = 0;             // heard frames cannot pass this before the next report
  double lastRead = 0;          // what was last answered: answers never go below it
  double lastReportT = 0;
  double expectedGap = 0.01;    // seconds between reports the device asks for
  bool rateKnown = false;       // measured once; afterwards only steered
  // recent reports, for the rate measurement
  static constexpr int kWindow = 128;
  double obsT[kWindow];
  double obsF[kWindow];
  int obsCount = 0;
  int obsHead = 0;
};

// Steering time: an error is worked off over about this long.
constexpr double kClockSteerSeconds = 0.04;
// A lasting error is worked out of the rate over about this long.
constexpr double kClockRateSteerSeconds = 1.0;
// An error of more than this (seconds of sound) is not steered but jumped over.
constexpr double kClockJumpSeconds = 0.1;

void MusicClock_Reset(MusicClock& c, double nominalRate, double expectedGap);
// A callback report at time t: `heard` frames are being heard now, and until the
// next report no more than `limit` can be.
void MusicClock_Report(MusicClock& c, double t, double heard, double limit);
// The output was halted: what was handed over still plays out, up to `limit`.
void MusicClock_Halt(MusicClock& c, double limit);
// Frames heard at time t (monotonic, never below an earlier answer).
double MusicClock_Read(MusicClock& c, double t);
