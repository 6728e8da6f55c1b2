#include "play/song_clock.h"

double Rate_Factor(int rateStep) { return (rateStep + 5) / 10.0; }

void SongClock_Begin(SongClock& c, double startMs, int rateStep, double wallMs) {
  c = SongClock{};
  c.ms = startMs;
  c.rateStep = rateStep;
  c.lastWallMs = wallMs;
}

double SongClock_Update(SongClock& c, double wallMs, double streamMs, bool streamActive) {
  double elapsed = wallMs - c.lastWallMs;
  c.lastWallMs = wallMs;
  if (streamActive) {
    // a failed reading keeps the last value: once the music plays, only the
    // stream moves the clock (a stalled stream holds it, as the sound does)
    if (c.onStream && streamMs < 0) return c.ms;
    if (streamMs >= 0) {
      c.onStream = true;
      c.ms = streamMs + c.streamOffsetMs;
      return c.ms;
    }
  }
  c.onStream = false;
  if (elapsed > 0) c.ms += c.rateStep == 5 ? elapsed : elapsed * Rate_Factor(c.rateStep);
  return c.ms;
}

double SongClock_At(const SongClock& c, double atWallMs) {
  double back = c.lastWallMs - atWallMs;
  if (back < 0) back = 0;
  return c.ms - back * Rate_Factor(c.rateStep);
}
