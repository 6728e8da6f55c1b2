// The wheel over time: the slide of a move, the roulettes that spin and slow to
// a stop on a song picked by chance, the time limit, the choice of a song and the
// forced difficulty and modifiers of an extra stage's Bonus songs.
#include "chart/random.h"
#include "library/settings.h"
#include "library/song_list.h"
#include "media/sound/sound_fx.h"
#include "menus/wheel.h"
#include "play/player.h"
#include <cmath>
#include <cstdio>
#include <vector>

namespace {
// Selectable songs of a group, in order.
std::vector<int> selectableEntries(const CollectionGroup& g) {
  std::vector<int> at;
  for (int i = 0; i < g.count; i++) {
    int s = g.songs[i];
    if (s >= 0 && s < (int)g_songs.size() && g_songs[s].selectable) at.push_back(i);
  }
  return at;
}

// The spin's length and travel from the player's draw r (0..32767): a faster
// start spins longer and further. The time limit's spin draws a second factor
// that keeps it short.
void planSpin(WheelSpin& s, bool timeUp, uint32_t nowMs) {
  double speed = (Random_Next() * 30 / kRandomMax + 5) * 0.01;            // 0.05 .. 0.35
  double ms = 1800 + speed * 4000;                                         // 2.0 .. 3.2 s
  if (timeUp) {
    double factor = (Random_Next() * 40 / kRandomMax + 10) * 0.005;       // 0.05 .. 0.25
    ms = 1000 + factor * 6000;                                             // 1.3 .. 2.5 s
  }
  double startSpeed = 0.01 + speed * 0.1;   // items per ms at the start of the spin
  // an ease-out cubic starts at 3 x distance / duration
  s.distance = std::fmax(8.0, std::round(startSpeed * ms / 3));
  s.durationMs = (uint32_t)ms;
  s.startMs = nowMs;
}

// The first selectable song in a group that is not a closed folder.
bool firstSelectable(const Collection& c, WheelPos& out) {
  for (int g = 0; g < c.groupCount; g++) {
    if (c.groups[g].state == GROUP_CLOSED) continue;
    std::vector<int> at = selectableEntries(c.groups[g]);
    if (!at.empty()) {
      out = {g, at[0]};
      return true;
    }
  }
  return false;
}

void hideQuickCursors(Wheel& w) {
  for (WheelSide& s : w.side) s.quickRow = 0;
}

// Start for both players when the time has run out or the roulette it started
// has landed: the song is chosen, a song that cannot be chosen gives way to the
// first one that can, and a wheel without any leaves.
void forcedStart(Wheel& w, uint32_t nowMs) {
  hideQuickCursors(w);
  if (Wheel_Choose(w, nowMs)) return;
  WheelPos p;
  if (firstSelectable(g_collection, p)) {
    Wheel_Select(g_collection, p);
    if (w.extraStage) Wheel_TakeOverrides(w);
    if (Wheel_Choose(w, nowMs)) return;
  }
  w.state = WHEEL_LEAVE;
}
}  // namespace

bool Wheel_PickRoulette(const Collection& c, bool folderOnly, WheelPos& out) {
  std::vector<int> groups;
  for (int g = 0; g < c.groupCount; g++) {
    const CollectionGroup& grp = c.groups[g];
    if (Wheel_IsRouletteGroup(grp) || grp.count <= 0) continue;
    if (folderOnly && grp.state == GROUP_CLOSED) continue;
    if (!selectableEntries(grp).empty()) groups.push_back(g);
  }
  if (groups.empty()) return false;
  int g = groups[(size_t)Random_Below((int)groups.size())];
  std::vector<int> at = selectableEntries(c.groups[g]);
  out = {g, at[(size_t)Random_Below((int)at.size())]};
  return true;
}

bool Wheel_StartRoulette(Wheel& w, bool folderOnly, bool timeUp, uint32_t nowMs) {
  Collection& c = g_collection;
  if (!folderOnly) {
    // the whole library; with genre groups "All Music" is never shown, so the
    // separated genres stand in for it
    g_settings.currentSort = (uint8_t)Wheel_InitialSort(SORT_ALL_MUSIC, g_settings.sortBy);
    BuildCollection(1, nullptr, 0, w.stage, kWheelBestLimit);
  }
  WheelPos target;
  if (!Wheel_PickRoulette(c, folderOnly, target)) {
    if (!folderOnly) Wheel_Select(c, Wheel_Settle(c, Wheel_Selection(c)));
    return false;
  }
  Wheel_Select(c, target);
  if (c.groups[target.group].state == GROUP_CLOSED) {
    // its folder opens: built again around the picked song, which it restores
    Wheel_SetCurrentFolder(c.groups[target.group].label);
    BuildCollection(1, nullptr, 0, w.stage, kWheelBestLimit);
    Wheel_Select(c, Wheel_Settle(c, Wheel_Selection(c)));
  }
  planSpin(w.spin, timeUp, nowMs);
  w.slide.offset = w.spin.distance;
  w.state = WHEEL_ROULETTE;
  w.restSince = nowMs;
  return true;
}

bool Wheel_Choose(Wheel& w, uint32_t nowMs) {
  int s = Wheel_SongAt(g_collection, Wheel_Selection(g_collection));
  if (s < 0 || !g_songs[s].selectable) return false;
  const SongEntry& e = g_songs[s];
  for (int p = 0; p < 2; p++) {
    if (!w.side[p].active) continue;
    Player& pl = g_players[p];
    int d = Wheel_EffectiveDifficulty(w, e, w.side[p].wanted);
    pl.difficulty = d;
    int level = d >= 0 && d < 4 ? e.levels[w.style.base + d] : 0;
    pl.level = (uint8_t)(level < 0 ? 0 : level > 255 ? 255 : level);
  }
  hideQuickCursors(w);
  WheelSlide_Stop(w.slide);
  w.state = WHEEL_CHOSEN;
  w.chosenAt = nowMs;
  PlaySound(SND_START);
  return true;
}

void Wheel_TakeOverrides(Wheel& w) {
  const Collection& c = g_collection;
  WheelPos p = Wheel_Selection(c);
  int s = Wheel_SongAt(c, p);
  if (s < 0 || !g_songs[s].selectable) return;   // only the Bonus songs carry what they force
  const uint8_t* o = c.groups[p.group].overrides[p.index];
  for (int i = 0; i < 2; i++) {
    if (!w.side[i].active) continue;
    if (o[0] < w.difficulties) {
      w.side[i].wanted = o[0];
      g_players[i].difficulty = o[0];
    }
    for (int row = 0; row < 9; row++) Player_SetOption(g_players[i], row, o[1 + row]);
  }
}

void Wheel_TimeUp(Wheel& w, uint32_t nowMs) {
  if (w.state == WHEEL_CHOSEN || w.state == WHEEL_LEAVE) return;
  if (w.state == WHEEL_ROULETTE) {
    w.startWhenLanded = true;
    return;
  }
  WheelSlide_Stop(w.slide);
  w.state = WHEEL_IDLE;
  hideQuickCursors(w);
  if (Wheel_SongAt(g_collection, Wheel_Selection(g_collection)) >= 0) {
    forcedStart(w, nowMs);
    return;
  }
  if (Wheel_StartRoulette(w, false, true, nowMs)) {
    w.startWhenLanded = true;
    PlaySound(SND_START);
    PlaySound(SND_SELECT);
    return;
  }
  w.state = WHEEL_LEAVE;   // nothing to play at all
}

void Wheel_Update(Wheel& w, uint32_t nowMs) {
  switch (w.state) {
    case WHEEL_MOVING_RIGHT:
    case WHEEL_MOVING_LEFT:
      if (WheelSlide_Update(w.slide, nowMs)) return;
      w.state = WHEEL_IDLE;
      w.restSince = nowMs;
      return;
    case WHEEL_ROULETTE: {
      double x = (double)(nowMs - w.spin.startMs) / (w.spin.durationMs ? w.spin.durationMs : 1);
      if (x < 1) {
        w.slide.offset = w.spin.distance * (1 - x) * (1 - x) * (1 - x);
        return;
      }
      WheelSlide_Stop(w.slide);
      w.state = WHEEL_IDLE;
      w.restSince = nowMs;
      if (w.extraStage) Wheel_TakeOverrides(w);
      if (w.startWhenLanded) {
        w.startWhenLanded = false;
        forcedStart(w, nowMs);
      }
      return;
    }
    case WHEEL_CHANGED:
      w.state = WHEEL_IDLE;
      w.restSince = nowMs;
      return;
    default: return;
  }
}

void WheelSlide_Begin(WheelSlide& s, int dir, uint32_t nowMs) {
  // the drawing keeps up: it starts from where it stands, one item further back
  WheelSlide_Update(s, nowMs);
  s.offset = s.from = std::fmax(-kWheelMaxLag, std::fmin(kWheelMaxLag, s.offset + dir));
  s.start = nowMs;
  s.ms = kWheelSlideMs;
}

bool WheelSlide_Update(WheelSlide& s, uint32_t nowMs) {
  if (s.from == 0) return false;
  double x = (double)(nowMs - s.start) / (s.ms ? s.ms : 1);
  if (x < 1) {
    s.offset = s.from * (1 - x) * (1 - x);
    return true;
  }
  WheelSlide_Stop(s);
  return false;
}

void WheelSlide_Stop(WheelSlide& s) { s.offset = s.from = 0; }

int Wheel_Result(const Wheel& w, uint32_t nowMs) {
  if (w.state == WHEEL_LEAVE) return 2;
  if (w.state == WHEEL_CHOSEN && nowMs - w.chosenAt >= kChosenWaitMs) return 1;
  return 0;
}

bool Wheel_Moving(const Wheel& w) {
  return w.state == WHEEL_MOVING_RIGHT || w.state == WHEEL_MOVING_LEFT || w.state == WHEEL_ROULETTE;
}

int Wheel_PreviewSong(const Wheel& w, uint32_t nowMs) {
  if (w.state != WHEEL_IDLE && w.state != WHEEL_CHOSEN) return -1;
  if (nowMs - w.restSince < kPreviewRestMs) return -1;
  return Wheel_SongAt(g_collection, Wheel_Selection(g_collection));
}
