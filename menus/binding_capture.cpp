#include "menus/binding_capture.h"
#include "media/input/input.h"

namespace {
void moveOn(BindingCapture& c) {
  c.armed = false;
  if (++c.input > c.lastInput) c.active = false;
}
}  // namespace

void Capture_Begin(BindingCapture& c, CaptureKind kind, int player, int first, int last, bool tabSkips) {
  c = BindingCapture{};
  c.active = true;
  c.kind = kind;
  c.player = player;
  c.input = first;
  c.lastInput = last;
  c.tabSkips = tabSkips;
}

CaptureResult Capture_Frame(BindingCapture& c, InputBinding* table, const CaptureRead& r) {
  CaptureResult out;
  if (!c.active) return out;
  out.input = c.input;
  if (r.escape || r.key == kEscapeKey) {
    c.active = false;
    out.step = STEP_CANCELLED;
    return out;
  }
  bool keys = c.kind == CAPTURE_KEY;
  bool anything = r.key || (!keys && r.button);
  out.step = STEP_WAITING;
  if (!c.armed) {
    c.armed = !anything;
    return out;
  }
  if (r.key == kTabKey && c.tabSkips) {
    moveOn(c);
    out.step = STEP_SKIPPED;
    return out;
  }
  out.taken.joystick = -1;
  out.taken.button = -1;
  if (keys && r.key) {
    out.taken.key1 = r.key;
    out.report = Bindings_SetKey(table, c.player, c.input % CTL_COUNT, c.input / CTL_COUNT, r.key);
  } else if (!keys && r.button) {
    out.taken.joystick = r.joystick;
    out.taken.button = (int8_t)r.buttonNumber;
    out.report = Bindings_SetButton(table, c.player, c.input, r.joystick, r.buttonNumber);
  } else {
    return out;   // nothing, or a key where a button is wanted
  }
  if (out.report.outcome == BIND_REFUSED) {
    c.armed = false;
    out.step = STEP_REFUSED;
    return out;
  }
  moveOn(c);
  out.step = STEP_BOUND;
  return out;
}

CaptureRead Capture_ReadDevices(bool escape) {
  CaptureRead r;
  r.escape = escape;
  r.key = Keyboard_CaptureKey();
  InputBinding pressed{};
  if (Joystick_CaptureButton(pressed)) {
    r.button = true;
    r.joystick = pressed.joystick;
    r.buttonNumber = pressed.button;
  }
  return r;
}
