#pragma once
// Waiting for the key or button a control is to get, one frame at a time, so that
// a page never blocks: the capture takes what the devices show each frame and
// binds it through the rules of binding_rules.h.
//
// - A capture first waits until every key (and, for buttons, every button) is
//   up: the Start press that began it, or the key just bound, is never taken.
// - Escape (and the window's close button) cancels the capture; Escape is never
//   bound. In a walk it ends the walk; what was bound before stays.
// - A walk goes through the inputs from `input` to `lastInput` one by one; TAB
//   skips an input and keeps what it had. Where TAB does not skip (one key
//   asked for alone), TAB is a key like any other.
// - A refused binding leaves the capture on the same input, waiting again.
#include "menus/binding_rules.h"

enum CaptureKind { CAPTURE_KEY, CAPTURE_BUTTON };

struct BindingCapture {
  bool active = false;
  CaptureKind kind = CAPTURE_KEY;
  int player = 0;
  // Keys: set * CTL_COUNT + control (Set 1 first); buttons: the control.
  int input = 0;
  int lastInput = 0;
  bool tabSkips = false;
  bool armed = false;   // everything was up since the capture began or last took something
};

// What the devices show in one frame.
struct CaptureRead {
  int key = 0;           // the lowest bindable key down, 0 none
  bool button = false;   // a joystick button is down: the first one is
  int joystick = -1, buttonNumber = -1;
  bool escape = false;   // the menu's escape (the window's close button among others)
};

enum CaptureStep {
  STEP_IDLE,        // no capture
  STEP_WAITING,
  STEP_BOUND,       // the input took it (report filled); the capture moved on or ended
  STEP_REFUSED,     // the rules refused it (report filled); still waiting on the same input
  STEP_SKIPPED,     // TAB: the input kept what it had
  STEP_CANCELLED,
};

struct CaptureResult {
  CaptureStep step = STEP_IDLE;
  BindReport report;
  int input = 0;   // the input the step was about
  InputBinding taken{};   // with STEP_BOUND and STEP_REFUSED: the key (key1) or the button pressed
};

constexpr int kEscapeKey = 1, kTabKey = 15;

void Capture_Begin(BindingCapture& c, CaptureKind kind, int player, int first, int last, bool tabSkips);
CaptureResult Capture_Frame(BindingCapture& c, InputBinding* table, const CaptureRead& r);
// The devices now: polls the keyboard and the joysticks.
CaptureRead Capture_ReadDevices(bool escape);
