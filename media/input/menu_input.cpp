// The menu input word: every menu screen reads it once a frame.
#include "media/input/input.h"
#include "platform/clock.h"

namespace {
// Word bit of each control, in the bindings' order: Up, Down, Left, Right,
// Up-Left, Up-Right, Select, Start.
constexpr uint32_t kControlBit[CTL_COUNT] = {MENU_UP,     MENU_DOWN,    MENU_LEFT,   MENU_RIGHT,
                                             MENU_UPLEFT, MENU_UPRIGHT, MENU_SELECT, MENU_START};
constexpr int kEscapeCode = 1;
uint32_t g_listenStart = 0;
bool g_escapeLatch = false;
}  // namespace

void MenuInput_Begin() {
  g_listenStart = Clock_Ms();
  InputBinding none{};
  Input_Repeat(none, 0);  // clears the shared repeat clock
}

uint32_t MenuInput_Word(uint32_t listenMs, uint32_t repeatMask, bool onePlayer) {
  uint32_t word = 0;
  for (int player = 0; player < 2; player++)
    for (int c = 0; c < CTL_COUNT; c++) {
      uint32_t bit = kControlBit[c] << (player * MENU_P2_SHIFT);
      InputBinding& b = Binding(player, (Control)c);
      bool on = (repeatMask & bit) ? Input_Repeat(b, listenMs) : Input_Pressed(b);
      if (on) word |= bit;
    }
  bool esc = Keyboard_IsDown(kEscapeCode);
  if (esc && !g_escapeLatch) word |= MENU_ESCAPE;
  g_escapeLatch = esc;
  if (onePlayer) word = (word & MENU_ESCAPE) | ((word | word >> MENU_P2_SHIFT) & 0xFF);
  return word;
}

uint32_t MenuInput_Read(uint32_t repeatMask, bool onePlayer) {
  Input_Poll();
  uint32_t t = Clock_Ms() - g_listenStart;
  return MenuInput_Word(t == 0 ? 1 : t, repeatMask, onePlayer);
}
