#pragma once
// The song clock of a play, in milliseconds of music time (0 is the start of the
// music file). Before the music is heard it runs on wall time, scaled by the
// rate step; once the stream plays it is the position the listener hears, which
// the audio library keeps smooth and free of device latency.
#include <cstdint>

struct SongClock {
  double ms = 0;             // music time now
  bool onStream = false;     // the stream is playing and drives the clock
  double lastWallMs = 0;
  int rateStep = 5;          // 1..9, 5 normal
  double streamOffsetMs = 0; // music time minus stream time (0 unless the file was cut)
};

double Rate_Factor(int rateStep);   // (step + 5) / 10
void SongClock_Begin(SongClock& c, double startMs, int rateStep, double wallMs);
// One frame: `streamMs` is the stream's heard position (negative when not valid)
// and `streamActive` whether it plays (or waits for data). Until the stream gives
// its first valid position the clock runs on wall time; after that a bad reading
// keeps the last value. Returns the new music time.
double SongClock_Update(SongClock& c, double wallMs, double streamMs, bool streamActive);
// The music time at an earlier wall time `atWallMs` of this frame (a press read
// before the frame's clock was taken).
double SongClock_At(const SongClock& c, double atWallMs);
