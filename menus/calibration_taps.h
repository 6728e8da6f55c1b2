#pragma once
// The taps of the calibration screen: new presses of any panel (Left, Down, Up,
// Right, Up Left, Up Right) or Start of either player, keyboard or joystick, each
// with the time its key or button edge was seen, and scripted presses with the
// time of their event.
#include <cstdint>

struct TapPress {
  int device;     // -1 the keyboard, else a joystick number
  double atMs;    // program clock
};

struct TapReader {
  uint64_t cursor = 0;
  bool scriptHeld[2][8] = {};   // scripted presses are not in the edge log
};

// Starts reading from now: what is held already is no tap.
void TapReader_Begin(TapReader& r, uint32_t nowMs);
// The taps since the last read, oldest first; at most `max`.
int TapReader_Read(TapReader& r, uint32_t nowMs, TapPress* out, int max);
