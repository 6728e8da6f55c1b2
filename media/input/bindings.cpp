// The binding tests: held, press and release edges, and press with repeat.
#include "media/input/input.h"

// The table is read and written by the settings, but the input reads it (and the
// joystick hot-plug moves its joystick numbers), so it lives here.
InputBinding g_bindings[kBindingCount];

namespace {
// One stored time shared by every binding; 0 means none.
uint32_t g_repeatTime = 0;
constexpr uint32_t kRepeatLockout = 160;  // ms after a screen starts listening
constexpr uint32_t kRepeatInterval = 125;

bool keysHeld(const InputBinding& b) {
  return (b.key1 > 0 && Keyboard_IsDown(b.key1)) || (b.key2 > 0 && Keyboard_IsDown(b.key2));
}
}  // namespace

bool Input_IsHeld(const InputBinding& b) { return keysHeld(b) || Joystick_IsButtonDown(b); }

bool Input_Pressed(InputBinding& b) {
  bool keys = keysHeld(b), joy = Joystick_IsButtonDown(b);
  if (!b.latch) {
    if (keys) {
      b.lastSource = 0;
      b.latch = 1;
      return true;
    }
    if (joy) {
      b.lastSource = 1;
      b.latch = 1;
      return true;
    }
  } else if (!keys && !joy) {
    b.latch = 0;
  }
  return false;
}

bool Input_Released(InputBinding& b) {
  if (!b.latch) return false;
  bool gone = b.lastSource == 1 ? !Joystick_IsButtonDown(b) : !keysHeld(b);
  if (!gone) return false;
  b.latch = 0;
  return true;
}

bool Input_Repeat(InputBinding& b, uint32_t now) {
  if (now == 0) {
    g_repeatTime = 0;
    return false;
  }
  if (now <= kRepeatLockout) return false;
  bool held = Input_IsHeld(b), fire = false;
  if (held && !b.latch) {
    fire = g_repeatTime != 0;  // a press after a release fires at once
    g_repeatTime = now;
  } else if (!held && b.latch) {
    g_repeatTime = now;
  } else if (held && g_repeatTime != 0 && (now < g_repeatTime || now > g_repeatTime + kRepeatInterval)) {
    fire = true;
    g_repeatTime = now;
  }
  b.latch = held ? 1 : 0;
  return fire;
}
