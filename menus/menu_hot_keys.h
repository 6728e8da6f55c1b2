#pragma once
// The hot keys of the song wheel and the modifier screen: two keys lower and
// raise the music speed of the coming play (1 to 9, 5 normal), a third switches
// the assist ticks; each shows its message in the top left corner for 2000 ms.
#include <cstdint>

constexpr uint32_t kHotKeyMessageMs = 2000;

struct HotKeyMessage {
  char text[32] = "";
  uint32_t shownAt = 0;
};

enum HotKey : uint32_t { HOTKEY_SLOWER = 1, HOTKEY_FASTER = 2, HOTKEY_TICKS = 4 };

// The hot keys pressed in this frame (HotKey bits), from the function keys.
uint32_t HotKeys_Read();
// Applies the pressed keys to the play's rate step and the assist-tick setting
// and sets the message. Returns true when something changed.
bool HotKeys_Apply(uint32_t pressed, HotKeyMessage& m, uint32_t nowMs);
// Draws the message while it stands.
void HotKeys_DrawMessage(const HotKeyMessage& m, uint32_t nowMs);
