// Places on the wheel: the items a collection shows (inline songs, folder items,
// the songs of an open folder) in their cyclic order, and the steps between them.
#include "library/settings.h"
#include "library/song_list.h"
#include "menus/wheel.h"
#include "play/player.h"
#include <cstdio>
#include <cstring>

namespace {
bool hasEntries(const Collection& c, int g) { return g >= 0 && g < c.groupCount && c.groups[g].count > 0; }

// The next group with entries after `from` in direction `dir`, wrapping (from
// itself last); -1 when there is none.
int nextGroupWithEntries(const Collection& c, int from, int dir) {
  int n = c.groupCount;
  for (int k = 1; k <= n; k++) {
    int g = ((from + dir * k) % n + n) % n;
    if (hasEntries(c, g)) return g;
  }
  return -1;
}

}  // namespace

WheelPos Wheel_Settle(const Collection& c, WheelPos p) {
  if (!hasEntries(c, p.group)) {
    int g = nextGroupWithEntries(c, p.group < 0 ? -1 : p.group, 1);
    if (g < 0) return {0, 0};
    p = {g, c.groups[g].state == GROUP_INLINE ? 0 : ENTRY_FOLDER_ITEM};
  }
  const CollectionGroup& g = c.groups[p.group];
  if (g.state == GROUP_CLOSED) p.index = ENTRY_FOLDER_ITEM;
  else if (g.state == GROUP_INLINE && p.index < 0) p.index = 0;
  else if (p.index < ENTRY_FOLDER_ITEM) p.index = ENTRY_FOLDER_ITEM;
  if (p.index >= g.count) p.index = g.count - 1;
  return p;
}

namespace {
// Items a group shows on the wheel.
int itemsOf(const CollectionGroup& g) {
  if (g.count <= 0) return 0;
  if (g.state == GROUP_INLINE) return g.count;
  if (g.state == GROUP_CLOSED) return 1;
  return 1 + g.count;
}
}  // namespace

WheelPos Wheel_Selection(const Collection& c) { return {c.selectedGroup, c.selectedIndex}; }

void Wheel_Select(Collection& c, WheelPos p) {
  c.selectedGroup = p.group;
  c.selectedIndex = p.index;
  g_settings.folderIndex = p.group;
}

bool Wheel_HasItems(const Collection& c) {
  for (int g = 0; g < c.groupCount; g++)
    if (c.groups[g].count > 0) return true;
  return false;
}

WheelPos Wheel_Step(const Collection& c, WheelPos p, int dir) {
  if (!Wheel_HasItems(c) || dir == 0) return p;
  p = Wheel_Settle(c, p);
  const CollectionGroup& g = c.groups[p.group];
  if (dir > 0) {
    if (g.state != GROUP_CLOSED && p.index < g.count - 1) return {p.group, p.index + 1};
    int n = nextGroupWithEntries(c, p.group, 1);
    return {n, c.groups[n].state == GROUP_INLINE ? 0 : ENTRY_FOLDER_ITEM};
  }
  bool leaves = g.state == GROUP_CLOSED || (g.state == GROUP_INLINE && p.index <= 0) ||
                (g.state == GROUP_OPEN && p.index < 0);
  if (!leaves) return {p.group, p.index - 1};
  int n = nextGroupWithEntries(c, p.group, -1);
  const CollectionGroup& to = c.groups[n];
  return {n, to.state == GROUP_CLOSED ? ENTRY_FOLDER_ITEM : to.count - 1};
}

WheelPos Wheel_StepBy(const Collection& c, WheelPos p, int n) {
  int dir = n < 0 ? -1 : 1;
  for (int k = 0; k < (n < 0 ? -n : n); k++) p = Wheel_Step(c, p, dir);
  return p;
}

int Wheel_SongAt(const Collection& c, WheelPos p) {
  if (p.group < 0 || p.group >= c.groupCount) return -1;
  const CollectionGroup& g = c.groups[p.group];
  if (p.index < 0 || p.index >= g.count) return -1;
  int s = g.songs[p.index];
  return s >= 0 && s < (int)g_songs.size() ? s : -1;
}

void Wheel_Ordinal(const Collection& c, WheelPos p, int& ordinal, int& total) {
  ordinal = total = 0;
  if (!Wheel_HasItems(c)) return;
  p = Wheel_Settle(c, p);
  for (int g = 0; g < c.groupCount; g++) {
    const CollectionGroup& grp = c.groups[g];
    if (g == p.group) ordinal = total + (grp.state == GROUP_INLINE ? p.index : p.index + 1);
    total += itemsOf(grp);
  }
}

bool Wheel_IsRouletteGroup(const CollectionGroup& g) {
  return g.count == 1 && g.songs[0] < 0 && strncmp(g.label, "ROULETTE", 8) == 0;
}

void Wheel_SetCurrentFolder(const char* label) {
  int p = g_players[0].active || !g_players[1].active ? 0 : 1;   // as Collection_CurrentFolder reads it
  snprintf(g_currentFolder[p], kLabelSize, "%s", label);
}

bool Wheel_HasChart(const Wheel& w, const SongEntry& e, int d) {
  return d >= 0 && d < w.difficulties && e.levels[w.style.base + d] > 0;
}

int Wheel_EffectiveDifficulty(const Wheel& w, const SongEntry& e, int wanted) {
  if (Wheel_HasChart(w, e, wanted)) return wanted;
  for (int d = wanted - 1; d >= 0; d--)
    if (Wheel_HasChart(w, e, d)) return d;
  for (int d = wanted + 1; d < w.difficulties; d++)
    if (Wheel_HasChart(w, e, d)) return d;
  return wanted;
}

int Wheel_CycleDifficulty(const Wheel& w, const SongEntry& e, int from, int dir) {
  int n = w.difficulties;
  if (n <= 0) return from;
  int d = from < 0 ? 0 : from >= n ? n - 1 : from;
  for (int k = 1; k <= n; k++) {
    int t = ((d + (dir < 0 ? -k : k)) % n + n) % n;
    if (Wheel_HasChart(w, e, t)) return t;
  }
  return from;
}

int Wheel_PlayerDifficulty(const Wheel& w, int player) {
  int s = Wheel_SongAt(g_collection, Wheel_Selection(g_collection));
  int wanted = w.side[player].wanted;
  return s < 0 ? wanted : Wheel_EffectiveDifficulty(w, g_songs[s], wanted);
}

int Wheel_InitialSort(int sort, int sortBy) {
  if (sort < 0 || sort >= SORT_COUNT) sort = SORT_ALL_MUSIC;
  return sort == SORT_ALL_MUSIC && sortBy == 0 ? SORT_ALL_SEPARATED : sort;
}

int Wheel_NextSort(int sort, int sortBy) {
  int next = sort >= 0 && sort < SORT_COUNT - 1 ? sort + 1 : SORT_ALL_MUSIC;
  return Wheel_InitialSort(next, sortBy);
}
