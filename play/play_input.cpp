#include "play/play_input.h"
#include "media/input/input.h"
#include "media/input_script.h"
#include <cstring>

namespace {
bool g_wasHeld[2][kColumnSlots];

// The binding behind a column: control and the player whose bindings are used.
bool columnBinding(int player, int panels, int column, int& bindPlayer, Control& c) {
  static const Control kCols[6] = {CTL_LEFT, CTL_DOWN, CTL_UP, CTL_RIGHT, CTL_UPLEFT, CTL_UPRIGHT};
  bindPlayer = player;
  if (column >= COL_RIGHT_PAD) {
    if (panels != 8) return false;
    bindPlayer = 1;
    column -= COL_RIGHT_PAD;
  }
  if (column < 0 || column > 5) return false;
  if (panels != 6 && column > 3) return false;
  c = kCols[column];
  return true;
}

double pressTime(const InputBinding& b, double nowMs) {
  uint32_t since;
  uint32_t now = (uint32_t)nowMs;
  for (int32_t k : {b.key1, b.key2})
    if (k > 0 && InputScript_KeyDownSince(k, now, &since)) return since;
  if (b.joystick >= 0 && b.button >= 0 && InputScript_ButtonDownSince(b.joystick, b.button, now, &since)) return since;
  return nowMs;
}
}

void PlayInput_Reset() { memset(g_wasHeld, 0, sizeof g_wasHeld); }

void PlayInput_Read(int player, int panels, double nowMs, PanelState& out) {
  memset(&out, 0, sizeof out);
  for (int col = 0; col < kColumnSlots; col++) {
    int bp;
    Control c;
    if (!columnBinding(player, panels, col, bp, c)) continue;
    const InputBinding& b = Binding(bp, c);
    bool held = Input_IsHeld(b);
    out.held[col] = held;
    if (held && !g_wasHeld[player][col]) out.presses[out.pressCount++] = {col, pressTime(b, nowMs)};
    g_wasHeld[player][col] = held;
  }
}
