#include "play/player.h"
#include <cstdio>
#include <cstring>
#include "library/settings.h"
#include "play/modifiers.h"

Player g_players[2];

void Player_SetField(Player& p, int panels, bool alone) {
  if (panels == 8) {
    p.fieldX = 46, p.fieldRightX = 594, p.fieldCentreX = 320;
  } else if (panels == 6) {
    p.fieldX = 115, p.fieldRightX = 525, p.fieldCentreX = 320;
  } else if (alone) {
    p.fieldX = 175, p.fieldRightX = 449, p.fieldCentreX = 320;
  } else if (p.number == 2) {
    p.fieldX = 351, p.fieldRightX = 625, p.fieldCentreX = 486;
  } else {
    p.fieldX = 15, p.fieldRightX = 289, p.fieldCentreX = 150;
  }
}

void Player_SetStyle(Player& p, const char* styleName, int panels, bool alone) {
  snprintf(p.styleName, sizeof p.styleName, "%s", styleName ? styleName : "");
  p.panels = (uint8_t)panels;
  Player_SetField(p, panels, alone);
}

void Player_Reset(Player& p, int number) {
  Chart_Free(p);
  p.number = (uint8_t)number;
  p.panels = 4;
  p.active = 0;
  Player_SetField(p, 4, false);
  p.difficulty = g_settings.defaultDifficulty;
  snprintf(p.styleName, sizeof p.styleName, "SINGLE");
  p.modifierText[0] = 0;
  memset(&p.options, 0, sizeof p.options);
  p.profileSlot = 0;
}

void Players_Reset() {
  Player_Reset(g_players[0], 1);
  Player_Reset(g_players[1], 2);
}

void Players_ClearModifierText() {
  for (Player& p : g_players) snprintf(p.modifierText, sizeof p.modifierText, " ");
}

bool Players_AnyAlive() {
  for (const Player& p : g_players)
    if (p.active && p.lifeState != LIFE_DEAD) return true;
  return false;
}

uint8_t Player_Option(const Player& p, int index) {
  if (index < 0 || index >= kOptionCount) return 0;
  return reinterpret_cast<const uint8_t*>(&p.options)[index];
}

void Player_SetOption(Player& p, int index, uint8_t value) {
  if (index < 0 || index >= kOptionCount) return;
  reinterpret_cast<uint8_t*>(&p.options)[index] = value;
}

void Player_SetScrollScale(Player& p, double bpm) {
  p.pixelsPerBeat = Speed_PixelsPerBeat(p.options.speed);
  p.pixelsPerMs = Speed_Scale(p.pixelsPerBeat, bpm);
}
