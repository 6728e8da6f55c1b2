#include "menus/menu_hot_keys.h"
#include "library/settings.h"
#include "media/draw_helpers.h"
#include "media/font/font.h"
#include "media/input/input.h"
#include "play/play_record.h"
#include <cstdio>

namespace {
// Entries of the function-key table: F3, F4 and F12.
constexpr int kKeySlower = 2, kKeyFaster = 3, kKeyTicks = 11;
constexpr int kMessageSize = 16;
constexpr int kMinRate = 1, kMaxRate = 9;
}  // namespace

uint32_t HotKeys_Read() {
  uint32_t pressed = 0;
  if (Input_Pressed(g_functionKeys[kKeySlower])) pressed |= HOTKEY_SLOWER;
  if (Input_Pressed(g_functionKeys[kKeyFaster])) pressed |= HOTKEY_FASTER;
  if (Input_Pressed(g_functionKeys[kKeyTicks])) pressed |= HOTKEY_TICKS;
  return pressed;
}

bool HotKeys_Apply(uint32_t pressed, HotKeyMessage& m, uint32_t nowMs) {
  bool changed = false;
  for (uint32_t key : {HOTKEY_SLOWER, HOTKEY_FASTER}) {
    if (!(pressed & key)) continue;
    int step = g_play.rateStep + (key == HOTKEY_SLOWER ? -1 : 1);
    if (step < kMinRate || step > kMaxRate) continue;
    g_play.rateStep = step;
    snprintf(m.text, sizeof m.text, "Speed = %d/5", step);
    m.shownAt = nowMs;
    changed = true;
  }
  if (pressed & HOTKEY_TICKS) {
    g_settings.assistTick = !g_settings.assistTick;
    snprintf(m.text, sizeof m.text, "%s", g_settings.assistTick ? "Assist Ticks ON" : "Assist Ticks OFF");
    m.shownAt = nowMs;
    changed = true;
  }
  return changed;
}

void HotKeys_DrawMessage(const HotKeyMessage& m, uint32_t nowMs) {
  if (!m.text[0] || nowMs - m.shownAt >= kHotKeyMessageMs) return;
  int w = Font_TextWidth(kMessageSize, m.text);
  Draw_FillRect(0, 0, w + 12, 22, 0x000000, 170);
  Font_DrawText(kMessageSize, 0xFFFFFF, 6, 3, m.text);
}
