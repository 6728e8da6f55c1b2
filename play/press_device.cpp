#include "play/press_device.h"
#include "chart/chart.h"
#include "library/device_offsets.h"
#include "media/input/input.h"
#include "play/play_input.h"

namespace {
bool keyDown(int32_t k) { return k > 0 && Keyboard_IsDown(k); }

// The device's name for its offsets: null for the keyboard, "" for nothing.
const char* deviceName(int device) {
  if (device == kKeyboardDevice) return nullptr;
  const char* name = Joystick_Name(device);
  return name ? name : "";
}
}  // namespace

int PressDevice_OfBinding(const InputBinding& b) {
  if (keyDown(b.key1) || keyDown(b.key2)) return kKeyboardDevice;
  bool hasJoy = b.joystick >= 0 && b.button >= 0;
  if (hasJoy && Joystick_IsButtonDown(b)) return b.joystick;
  if (hasJoy && b.key1 <= 0 && b.key2 <= 0) return b.joystick;
  return kKeyboardDevice;
}

int PressDevice_OfColumn(int player, int panels, int column) {
  int bindPlayer;
  Control c;
  if (player < 0 || player > 1 || !PlayInput_ColumnBinding(player, panels, column, bindPlayer, c)) return kKeyboardDevice;
  return PressDevice_OfBinding(Binding(bindPlayer, c));
}

int PressDevice_OfPlayer(int player) {
  if (player < 0 || player > 1) return kKeyboardDevice;
  const InputBinding& b = Binding(player, CTL_LEFT);
  if (b.joystick >= 0 && b.button >= 0 && Joystick_Name(b.joystick)) return b.joystick;
  return kKeyboardDevice;
}

int PressDevice_InputOffsetMs(int device) {
  const char* name = deviceName(device);
  return name && !*name ? 0 : DeviceOffsets_Input(name);
}

int PressDevice_VisualOffsetMs(int device) {
  const char* name = deviceName(device);
  return name && !*name ? 0 : DeviceOffsets_Visual(name);
}
