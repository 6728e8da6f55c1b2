#pragma once
// One game control's binding: up to two keys (DIK scan codes) and one joystick
// button. Stored as 20-byte records in "rkv2.inp"; the layout is fixed.
#include <cstddef>
#include <cstdint>

struct InputBinding {
  int32_t lastSource;  // 0 keys, 1 joystick: which one pressed the control last
  int32_t key1;        // first key scan code, 0 none
  int32_t key2;        // second key scan code, 0 or less none
  int32_t joystick;    // joystick number, negative none
  int8_t button;       // joystick button, negative none
  uint8_t latch;       // 1 while the control is counted as held
  uint8_t pad[2];
};
static_assert(sizeof(InputBinding) == 20);
static_assert(offsetof(InputBinding, key1) == 4 && offsetof(InputBinding, key2) == 8);
static_assert(offsetof(InputBinding, joystick) == 12 && offsetof(InputBinding, button) == 16);
static_assert(offsetof(InputBinding, latch) == 17);

// Controls of one player, in the order of the bindings table.
enum Control { CTL_UP, CTL_DOWN, CTL_LEFT, CTL_RIGHT, CTL_UPLEFT, CTL_UPRIGHT, CTL_SELECT, CTL_START, CTL_COUNT };
constexpr int kBindingCount = 16;   // two players
constexpr int kFunctionKeyCount = 14;

extern InputBinding g_bindings[kBindingCount];
// F1..F10, F11, F12, Pause; the fourteenth entry is unbound. Set up at every load, never stored.
extern InputBinding g_functionKeys[kFunctionKeyCount];

inline InputBinding& Binding(int player, Control c) { return g_bindings[player * CTL_COUNT + c]; }
