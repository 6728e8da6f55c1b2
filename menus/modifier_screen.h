#pragma once
// The modifier screen's own record and decisions, apart from its drawing: the
// layout of the value labels, the players' cursors, and what their buttons do.
#include "menus/menu_hot_keys.h"
#include "menus/modifier_rows.h"
#include <cstdint>

constexpr int kModifierLabelX = 170;      // the first label of every row
constexpr int kModifierLabelGap = 16;
constexpr int kSpeedLabelW = 23;          // every Speed label takes this much room
constexpr int kModifierRowY = 70, kModifierRowStep = 32;
constexpr int kModifierExitCentreX = 320;
constexpr uint32_t kModifierTimeLimitS = 30;

struct ModifierLayout {
  int x[kModifierRows][kModifierValues];
  int width[kModifierRows][kModifierValues];   // 0: the value is not offered and takes no room
  int exitX, exitWidth;
};

struct ModifierScreen {
  bool active[2] = {false, false};
  int players = 1;
  bool fourPanels[2] = {true, true};
  int row[2] = {0, 0};           // the cursor, 0..9 (9 is EXIT)
  ModifierLayout layout{};
  HotKeyMessage message;
};

// The labels' places: from x 170 one after another with 16 pixels between them,
// each as wide as its text (`textWidth`), Speed labels 23 wide; on styles that
// are not four-panel only OFF and MIRROR of Turn; EXIT centred on x 320.
void ModifierScreen_Layout(ModifierLayout& l, bool fourPanels, int (*textWidth)(const char*));
// Sets up the players from their records (both cursors on the first row).
void ModifierScreen_Begin(ModifierScreen& s);
// One frame's menu input word (one player: the second player's buttons already
// folded into the first's). Returns 0 to go on to the play, 1 back to the wheel,
// -1 to stay. Values go into the players' records at once.
int ModifierScreen_Input(ModifierScreen& s, uint32_t input);
// The y of a row's labels (EXIT one row further down).
int ModifierScreen_RowY(int row);
