// What the calibration screen does with taps and with the rows it offers.
#include "library/device_offsets.h"
#include "media/input/input.h"
#include "menus/calibration_screen.h"
#include "menus/options_edit.h"
#include "platform/log.h"
#include "play/press_device.h"
#include <cstdio>

namespace {
constexpr uint32_t kStored = 0x80FF80, kRefused = 0xFF9060;

void say(CalibSession& s, uint32_t colour, const char* text) {
  snprintf(s.message, sizeof s.message, "%s", text);
  s.messageColour = colour;
}

void storeGap(CalibSession& s, OptionsEdit& e) {
  CalibStats st = Calib_Stats(s.taps);
  int gap = Calib_GapFor(st.meanMs, PressDevice_InputOffsetMs(s.device));
  e.settings.globalGap = gap;
  WriteLogf("Timing calibration: Global GAP %d from %d taps (mean %.1f ms, spread %.1f ms)\n", gap, st.count,
            st.meanMs, st.spreadMs);
  char t[96];
  snprintf(t, sizeof t, "Global GAP set to %d", gap);
  say(s, kStored, t);
}

void storeDevice(CalibSession& s, const OptionsEdit& e) {
  CalibStats st = Calib_Stats(s.taps);
  int ms = Calib_DeviceOffsetFor(st.meanMs, e.settings.globalGap);
  const char* name = s.device == kKeyboardDevice ? nullptr : Joystick_Name(s.device);
  char t[96];
  if (s.device != kKeyboardDevice && !name) {
    WriteLogf("Timing calibration: joystick %d has no name to keep an offset under\n", s.device);
    say(s, kRefused, "This controller has no name to keep an offset under");
    return;
  }
  if (!DeviceOffsets_SetInput(name, ms)) {
    say(s, kRefused, "The offset could not be written to tarvolen.ini");
    return;
  }
  WriteLogf("Timing calibration: input offset of %s set to %d ms from %d taps\n", CalibSession_DeviceName(s.device),
            ms, st.count);
  snprintf(t, sizeof t, "Input offset of %.48s set to %d ms", CalibSession_DeviceName(s.device), ms);
  say(s, kStored, t);
}
}  // namespace

const char* CalibSession_DeviceName(int device) {
  if (device == kKeyboardDevice) return "Keyboard";
  const char* name = device >= 0 ? Joystick_Name(device) : nullptr;
  return name ? name : "Joystick";
}

void CalibSession_Tap(CalibSession& s, int device, double offsetMs) {
  if (s.phase != CALIB_TAPPING) return;
  if (device != s.device) {
    // each controller has its own delay: its taps are counted on their own
    if (s.taps.count) say(s, 0xFFFF60, "Another controller: counting again");
    Calib_Clear(s.taps);
    s.device = device;
  }
  if (s.taps.count >= kCalibMaxTaps) Calib_Clear(s.taps);   // a stream of outliers starts over
  Calib_Add(s.taps, offsetMs);
  if (s.taps.kept >= kCalibTapsNeeded) {
    s.phase = CALIB_CHOOSING;
    s.cursor = CALIB_STORE_GAP;
    CalibStats st = Calib_Stats(s.taps);
    WriteLogf("Timing calibration: %d taps on %s, mean %.1f ms, spread %.1f ms\n", st.count,
              CalibSession_DeviceName(s.device), st.meanMs, st.spreadMs);
  }
}

int CalibSession_Input(CalibSession& s, uint32_t input, OptionsEdit& e) {
  if (s.phase != CALIB_CHOOSING) return 0;
  uint32_t in = (input | input >> MENU_P2_SHIFT) & 0xFF;
  if (in & (MENU_UP | MENU_DOWN)) {
    s.cursor = (s.cursor + ((in & MENU_UP) ? CALIB_CHOICES - 1 : 1)) % CALIB_CHOICES;
    return 0;
  }
  if (!(in & MENU_START)) return 0;
  switch (s.cursor) {
    case CALIB_STORE_GAP: storeGap(s, e); break;
    case CALIB_STORE_DEVICE: storeDevice(s, e); break;
    case CALIB_TAP_AGAIN:
      Calib_Clear(s.taps);
      s.phase = CALIB_TAPPING;
      s.message[0] = 0;
      break;
    default: return 1;
  }
  return 0;
}
