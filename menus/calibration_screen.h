#pragma once
// "Timing Calibration", opened from "System Options": a steady beat (see
// calibration_beat.h); the players tap along on any panel or Start, keyboard or
// joystick, each tap taken at the time its key or button edge was seen. The
// screen lists each tap's distance from its beat, the mean and the spread; after
// kCalibTapsNeeded taps that count it offers to store the mean as "Global GAP"
// (into the menu's working settings, written when the menu is left) or as the
// input offset of the controller that tapped (written to "tarvolen.ini" at
// once), each beside the other as it stands (calibration_math.h), or to tap
// again. Taps from another controller start the count again,
// since each controller has its own delay. Escape or Select leaves, storing
// nothing more.
#include "menus/calibration_beat.h"
#include "menus/calibration_math.h"
#include <cstdint>

struct OptionsEdit;

enum CalibPhase { CALIB_TAPPING, CALIB_CHOOSING };
enum CalibChoice { CALIB_STORE_GAP, CALIB_STORE_DEVICE, CALIB_TAP_AGAIN, CALIB_RETURN, CALIB_CHOICES };

struct CalibSession {
  CalibTaps taps;
  CalibPhase phase = CALIB_TAPPING;
  int device = -2;            // the controller of the taps so far (-1 keyboard), -2 none yet
  int cursor = CALIB_STORE_GAP;
  char message[96] = "";      // the last thing done, shown until the next
  uint32_t messageColour = 0;
};

// A tap `offsetMs` from its beat on controller `device`. Ignored while choosing.
void CalibSession_Tap(CalibSession& s, int device, double offsetMs);
// The menu input word while choosing: Up/Down move, Start carries out the row.
// Returns 1 when the screen is to be left ("Return"), else 0.
int CalibSession_Input(CalibSession& s, uint32_t input, OptionsEdit& e);
// The controller's name as the screen shows it ("Keyboard", a joystick's own name).
const char* CalibSession_DeviceName(int device);

// The screen on the shared loop, a beat every `periodMs` (100 BPM; the tests
// take a faster one). Returns 0.
int CalibrationScreen(OptionsEdit& e, double periodMs = kCalibPeriodMs);
