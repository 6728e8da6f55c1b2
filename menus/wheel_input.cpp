// The wheel's start-up and what the players' buttons do to it: moves, folders,
// sort changes, difficulties, the quick-modifier cursor and Start.
#include "platform/log.h"
#include "library/settings.h"
#include "library/song_list.h"
#include "media/input/input.h"
#include "media/sound/sound_fx.h"
#include "menus/modifier_rows.h"
#include "menus/wheel.h"
#include "play/player.h"
#include <cmath>
#include <cstdio>
#include <cstring>

namespace {
// After a build: the selection on a group with entries, on its folder item when
// it is closed and on a song when it is inline.
void settleSelection(Collection& c) {
  if (Wheel_HasItems(c)) Wheel_Select(c, Wheel_Settle(c, Wheel_Selection(c)));
}

void rebuild(Wheel& w, int filterMode, const char* openLabel, int keepPosition, uint32_t nowMs) {
  BuildCollection(filterMode, openLabel, keepPosition, w.stage, kWheelBestLimit);
  settleSelection(g_collection);
  WheelSlide_Stop(w.slide);
  w.restSince = nowMs;
  if (w.extraStage) Wheel_TakeOverrides(w);
}

// This frame's buttons of player `p` (bit layout of player 1).
uint32_t buttonsOf(const Wheel& w, uint32_t input, int p) {
  if (w.players <= 1) return w.side[p].active ? input & 0xFF : 0;
  return (input >> (MENU_P2_SHIFT * p)) & 0xFF;
}

void quickCursor(Wheel& w, int p, uint32_t b) {
  WheelSide& s = w.side[p];
  if (b & (MENU_LEFT | MENU_RIGHT)) {
    int dir = (b & MENU_RIGHT) ? 1 : -1;
    s.quickRow = (s.quickRow - 1 + dir + kModifierRows) % kModifierRows + 1;
    PlaySound(SND_SELECT);
  }
  if (b & (MENU_UP | MENU_DOWN)) {
    int row = s.quickRow - 1, dir = (b & MENU_DOWN) ? 1 : -1;
    Player& pl = g_players[p];
    int v = ModifierRow_Step(row, Player_Option(pl, row), dir, ModifierRow_FourPanels(pl), true);
    Player_SetOption(pl, row, (uint8_t)v);
    PlaySound(SND_SWITCH);
  }
}

void difficulty(Wheel& w, int p, int dir) {
  if (w.extraStage) return;   // the Bonus songs carry their difficulty
  int s = Wheel_SongAt(g_collection, Wheel_Selection(g_collection));
  if (s < 0) return;
  const SongEntry& e = g_songs[s];
  int from = Wheel_EffectiveDifficulty(w, e, w.side[p].wanted);
  int to = Wheel_CycleDifficulty(w, e, from, dir);
  if (to == from && to == w.side[p].wanted) return;
  w.side[p].wanted = to;
  g_players[p].difficulty = to;
  PlaySound(SND_SWITCH);
}

bool ended(const Wheel& w) {
  return w.state == WHEEL_ROULETTE || w.state == WHEEL_CHOSEN || w.state == WHEEL_LEAVE;
}
}  // namespace

void Wheel_Begin(Wheel& w, int stage, uint32_t nowMs) {
  w = Wheel{};
  w.stage = stage;
  w.extraStage = g_settings.maxStage < 6 && stage > g_settings.maxStage ? stage - g_settings.maxStage : 0;
  w.style = Collection_CurrentStyle();
  w.difficulties = w.extraStage || g_collectionShowSM ? 4 : 3;
  if (w.style.solo) w.difficulties = 3;
  w.players = 0;
  for (int p = 0; p < 2; p++) {
    WheelSide& s = w.side[p];
    s.active = g_players[p].active != 0;
    if (s.active) w.players++;
    int d = g_players[p].difficulty;
    if (d < 0 || d >= w.difficulties)
      d = g_settings.defaultDifficulty < w.difficulties ? g_settings.defaultDifficulty : 0;
    s.wanted = d;
  }
  if (w.players == 0) {
    w.side[0].active = true;   // a wheel without players is driven by player 1
    w.players = 1;
  }

  g_settings.currentSort = (uint8_t)Wheel_InitialSort(g_settings.currentSort, g_settings.sortBy);
  WriteLog("Setting up songs...\n");
  if (w.extraStage) ResolveBestCourseEntries();
  BuildCollection(2, nullptr, 0, stage, kWheelBestLimit);

  WriteLog("Move collection...?\n");
  settleSelection(g_collection);

  WriteLog("Load song images...\n");
  if (w.extraStage) Wheel_TakeOverrides(w);
  WriteLog("Starting Song Select\n");
  w.restSince = nowMs;
}

void Wheel_Move(Wheel& w, int dir, uint32_t nowMs) {
  Collection& c = g_collection;
  if (!Wheel_HasItems(c)) return;
  Wheel_Select(c, Wheel_Step(c, Wheel_Selection(c), dir));
  Wheel_Update(w, nowMs);
  WheelSlide_Begin(w.slide, dir, nowMs);
  w.state = dir > 0 ? WHEEL_MOVING_RIGHT : WHEEL_MOVING_LEFT;
  w.restSince = nowMs;
  PlaySound(SND_SELECT);
  if (w.extraStage) Wheel_TakeOverrides(w);
}

void Wheel_ChangeSort(Wheel& w, uint32_t nowMs) {
  Collection& c = g_collection;
  int before = Wheel_SongAt(c, Wheel_Selection(c));
  g_settings.currentSort = (uint8_t)Wheel_NextSort(g_settings.currentSort, g_settings.sortBy);
  if (c.selectedGroup >= 0 && c.selectedGroup < c.groupCount) Wheel_SetCurrentFolder(c.groups[c.selectedGroup].label);
  rebuild(w, 1, nullptr, 0, nowMs);
  PlaySound(SND_SWITCH);
  int after = Wheel_SongAt(c, Wheel_Selection(c));
  w.state = after != before ? WHEEL_CHANGED : WHEEL_IDLE;
}

void Wheel_Start(Wheel& w, int player, uint32_t nowMs) {
  Collection& c = g_collection;
  if (!Wheel_HasItems(c)) return;
  WheelPos sel = Wheel_Selection(c);
  const CollectionGroup& g = c.groups[sel.group];
  if (sel.index < 0 && g.state == GROUP_CLOSED) {
    if (Wheel_IsRouletteGroup(g)) {
      if (Wheel_StartRoulette(w, strstr(g.label, "(Folder)") != nullptr, false, nowMs)) {
        PlaySound(SND_START);
        PlaySound(SND_SELECT);
      }
      return;
    }
    char label[kLabelSize];
    snprintf(label, sizeof label, "%s", g.label);
    Wheel_SetCurrentFolder(label);
    rebuild(w, 1, label, 1, nowMs);
    w.state = WHEEL_IDLE;
    PlaySound(SND_SWITCH);
    return;
  }
  if (sel.index < 0 && g.state == GROUP_OPEN) {
    Wheel_SetCurrentFolder(" ");
    rebuild(w, 1, nullptr, 1, nowMs);
    w.state = WHEEL_IDLE;
    PlaySound(SND_SWITCH);
    return;
  }
  // on a song: a player with the quick-modifier cursor open closes it first
  if (w.side[player].quickRow > 0) {
    w.side[player].quickRow = 0;
    PlaySound(SND_SWITCH);
    return;
  }
  for (const WheelSide& s : w.side)
    if (s.active && s.quickRow > 0) return;
  Wheel_Choose(w, nowMs);
}

void Wheel_Input(Wheel& w, uint32_t input, uint32_t nowMs) {
  if (w.state == WHEEL_CHOSEN || w.state == WHEEL_LEAVE) return;
  if (input & MENU_ESCAPE) {
    w.state = WHEEL_LEAVE;
    return;
  }
  if (w.state == WHEEL_ROULETTE) return;
  for (int p = 0; p < 2 && !ended(w); p++) {
    WheelSide& s = w.side[p];
    uint32_t b = buttonsOf(w, input, p);
    if (!s.active || !b) continue;
    if (s.quickRow > 0) {
      quickCursor(w, p, b);
    } else {
      if (b & MENU_LEFT) Wheel_Move(w, -1, nowMs);
      if (b & MENU_RIGHT) Wheel_Move(w, 1, nowMs);
      if (b & (MENU_UP | MENU_DOWN)) difficulty(w, p, (b & MENU_DOWN) ? 1 : -1);
    }
    if ((b & MENU_UPLEFT) && !w.extraStage) Wheel_ChangeSort(w, nowMs);
    if (b & (MENU_START | MENU_UPRIGHT)) Wheel_Start(w, p, nowMs);
    if (ended(w)) break;
    if ((b & MENU_SELECT) && !w.extraStage) {
      s.quickRow = s.quickRow ? 0 : 1;
      PlaySound(SND_SWITCH);
    }
  }
}
