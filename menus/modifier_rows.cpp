#include "menus/modifier_rows.h"
#include "menus/modifier_select.h"
#include "play/modifiers.h"
#include "play/player.h"
#include <cstdio>
#include <cstring>

const char kModifierRowNames[kModifierRows + 1][kModifierRowNameSize] = {
    "Speed", "Effect", "Appearance", "Turn", "Other", "Dark", "Scroll", "Freeze Arrows", "Power", "EXIT"};

const char kModifierLabels[kModifierRows][kModifierValues][kModifierLabelSize] = {
    {"1x", "1.5x", "2x", "3x", "4x", "5x", "8x", ".25x", ".5x", ".75x"},
    {"OFF", "BOOST", "BRAKE", "WAVE"},
    {"VISIBLE", "HIDDEN", "SUDDEN", "STEALTH"},
    {"OFF", "LEFT", "MIRROR", "RIGHT", "SHUFFLE"},
    {"OFF", "LITTLE", "FLAT", "SOLO", "CLASSIC"},
    {"OFF", "ON"},
    {"STANDARD", "REVERSE"},
    {"ON", "OFF"},
    {"OFF", "DROP", "DEATH"},
};

const char kModifierShortTexts[kModifierRows][kModifierValues][kModifierLabelSize] = {
    {"", "1.5x", "2x", "3x", "4x", "5x", "8x", ".25x", ".5x", ".75x"},
    {"", "BOOST", "BRAKE", "WAVE"},
    {},
    {"", "LEFT", "MIRROR", "RIGHT", "SHUFFLE"},
    {"", "LITTLE", "FLAT"},
    {},
    {},
    {"", "NO FREEZE"},
    {"", "P.DROP", "DEATH"},
};

namespace {
constexpr int kCounts[kModifierRows] = {10, 4, 4, 5, 5, 2, 2, 2, 3};
}

int ModifierRow_Count(int row) { return row >= 0 && row < kModifierRows ? kCounts[row] : 0; }

bool ModifierRow_Offered(int row, int value, bool fourPanels) {
  if (value < 0 || value >= ModifierRow_Count(row)) return false;
  if (row == kTurnRow && !fourPanels) return value == 0 || value == TURN_MIRROR;
  return true;
}

int ModifierRow_Step(int row, int value, int dir, bool fourPanels, bool wrap) {
  int n = ModifierRow_Count(row);
  if (n <= 0 || dir == 0) return value;
  dir = dir < 0 ? -1 : 1;
  // a value the style does not offer (set for another style) steps from its neighbours
  int v = value < 0 ? 0 : value >= n ? n - 1 : value;
  for (int tries = 0; tries < n; tries++) {
    v += dir;
    if (v < 0 || v >= n) {
      if (!wrap) return value;
      v = v < 0 ? n - 1 : 0;
    }
    if (ModifierRow_Offered(row, v, fourPanels)) return v;
  }
  return value;
}

bool ModifierRow_FourPanels(const Player& p) { return p.panels != 6 && p.panels != 8; }

void Modifiers_SummaryText(const uint8_t values[kModifierRows], char* out, size_t size) {
  Modifiers_JoinNames(kModifierShortTexts, values, out, size);
}

void Player_SetSummaryText(Player& p) {
  uint8_t values[kModifierRows];
  for (int row = 0; row < kModifierRows; row++) values[row] = Player_Option(p, row);
  Modifiers_SummaryText(values, p.modifierText, sizeof p.modifierText);
}
