#include "menus/modifier_screen.h"
#include "media/input/input.h"
#include "media/sound/sound_fx.h"
#include "play/player.h"

void ModifierScreen_Layout(ModifierLayout& l, bool fourPanels, int (*textWidth)(const char*)) {
  l = ModifierLayout{};
  for (int row = 0; row < kModifierRows; row++) {
    int x = kModifierLabelX;
    for (int v = 0; v < ModifierRow_Count(row); v++) {
      l.x[row][v] = x;
      if (!ModifierRow_Offered(row, v, fourPanels)) continue;   // empty: no room, no gap
      int w = row == 0 ? kSpeedLabelW : textWidth ? textWidth(kModifierLabels[row][v]) : 0;
      l.width[row][v] = w;
      x += w + kModifierLabelGap;
    }
  }
  l.exitWidth = textWidth ? textWidth(kModifierRowNames[kExitRow]) : 0;
  l.exitX = kModifierExitCentreX - l.exitWidth / 2;
}

void ModifierScreen_Begin(ModifierScreen& s) {
  s = ModifierScreen{};
  s.players = 0;
  for (int p = 0; p < 2; p++) {
    s.active[p] = g_players[p].active != 0;
    s.fourPanels[p] = ModifierRow_FourPanels(g_players[p]);
    if (s.active[p]) s.players++;
  }
  if (s.players == 0) {
    s.active[0] = true;
    s.players = 1;
  }
}

int ModifierScreen_RowY(int row) {
  return kModifierRowY + kModifierRowStep * row + (row >= kExitRow ? kModifierRowStep : 0);
}

int ModifierScreen_Input(ModifierScreen& s, uint32_t input) {
  if (input & MENU_ESCAPE) return 1;
  bool startOnExit = false;
  for (int p = 0; p < 2; p++) {
    if (!s.active[p]) continue;
    uint32_t b = s.players <= 1 ? input & 0xFF : (input >> (MENU_P2_SHIFT * p)) & 0xFF;
    int& row = s.row[p];
    if (b & (MENU_UP | MENU_DOWN)) {
      int to = row + ((b & MENU_DOWN) ? 1 : -1);
      if (to >= 0 && to <= kExitRow && to != row) {
        row = to;
        PlaySound(SND_SELECT);
      }
    }
    if ((b & (MENU_LEFT | MENU_RIGHT)) && row < kModifierRows) {
      Player& pl = g_players[p];
      int v = Player_Option(pl, row);
      int to = ModifierRow_Step(row, v, (b & MENU_RIGHT) ? 1 : -1, s.fourPanels[p], false);
      if (to != v) {
        Player_SetOption(pl, row, (uint8_t)to);
        PlaySound(SND_SELECT);
      }
    }
    if (b & MENU_START) {
      if (row < kExitRow) {
        PlaySound(SND_START);
        row++;
      } else {
        startOnExit = true;
      }
    }
  }
  if (!startOnExit) return -1;
  for (int p = 0; p < 2; p++)
    if (s.active[p] && s.row[p] != kExitRow) return -1;
  PlaySound(SND_START);
  return 0;
}
