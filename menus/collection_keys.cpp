#include "chart/random.h"
#include "library/settings.h"
#include "library/song_list.h"
#include "menus/collection.h"
#include "play/player.h"
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

Collection g_collection;
bool g_collectionShowSM = false;
Collection g_courseCollection;
char g_currentFolder[2][kLabelSize] = {" ", " "};
RecordTable* g_playerRecords[2] = {nullptr, nullptr};

CollectionStyle Collection_CurrentStyle() {
  return Collection_StyleOf(g_players[0].active || !g_players[1].active ? g_players[0] : g_players[1]);
}

CollectionStyle Collection_StyleOf(const Player& p) {
  CollectionStyle s{0, 1, 1, false};
  bool solo = p.panels == 6 || strcmp(p.styleName, "SOLO") == 0;
  bool dbl = !solo && (p.panels == 8 || strcmp(p.styleName, "DOUBLE") == 0);
  if (solo) {
    s = {11, 2, 4, true};
  } else if (dbl) {
    s = {4, 1, 2, false};
  } else if (strcmp(p.styleName, "SINGLE") == 0) {
    s = {0, 0, 1, false};
  }
  return s;
}

const char* SortMethod_Name(int m) {
  static const char* const names[SORT_COUNT] = {"All Music", "All Music (Separated)", "Difficulty", "Title",
                                                "Artist",    "BPM",                   "Player's Best"};
  return m >= 0 && m < SORT_COUNT ? names[m] : "";
}

const char* SortMethod_Caption(int m, int sortBy) {
  bool folder = sortBy != 0;
  switch (m) {
    case SORT_ALL_MUSIC: return folder ? "All Music (Folder)" : "All Music (Genre)";
    case SORT_ALL_SEPARATED: return folder ? "All Music (Folder/Separated)" : "All Music (Genre/Separated)";
    case SORT_DIFFICULTY: return folder ? "Difficulty (Folder)" : "Difficulty (Genre)";
    default: return SortMethod_Name(m);
  }
}

char Collection_Letter(const char* text) {
  unsigned char c = (unsigned char)text[0];
  if (!c) return 0;
  if (c >= 'a' && c <= 'z') return (char)(c - 'a' + 'A');
  if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return (char)c;
  return '?';
}

double Collection_DifficultyKey(const SongEntry& e, int base, int n, int d0) {
  if (n < 1) n = 1;
  int d = ((d0 % n) + n) % n;
  // the player's default difficulty, else the next one that has a chart
  for (int tries = 0; tries < n && e.levels[base + d] == 0; tries++) d = (d + 1) % n;
  double bpm = std::isfinite(e.bpmValue) ? e.bpmValue : 150.0;
  double average = (4.0 * bpm + e.bpmMin + e.bpmMax) / 6.0;
  double distance = std::min(std::fabs(average - 150.0), 120.0);
  double factor = 1.0 + distance * 0.001;
  const ChartFigures& f = e.figures[base + d];
  auto radar = [](double v) { return std::isfinite(v) ? std::min(v, 120.0) : 0.0; };
  double sum = radar(f.stream) * factor + radar(f.voltage) * factor + radar(f.air) * factor + radar(f.freeze) +
               radar(f.chaos) * factor;
  return e.levels[base + d] * 1000.0 + sum;
}

int64_t Collection_PlayCount(const SongEntry& e, int styleGroup) {
  if (e.record < 0 || e.record >= (int)g_records.records.size() || styleGroup < 0 || styleGroup > 2) return 0;
  return g_records.records[e.record].counters[styleGroup];
}

void Collection_BestOrder(std::vector<int>& songs, int styleGroup) {
  int n = (int)songs.size();
  for (int i = 0; i < n; i++) {
    int j = Random_Below(n);
    if (j != i) std::swap(songs[i], songs[j]);
  }
  // the shuffle decides the order among equal counts, so the sort keeps it
  std::vector<std::pair<int64_t, int>> keyed(songs.size());
  for (size_t i = 0; i < songs.size(); i++) keyed[i] = {Collection_PlayCount(g_songs[songs[i]], styleGroup), songs[i]};
  std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
  for (size_t i = 0; i < songs.size(); i++) songs[i] = keyed[i].second;
}

int Collection_SelectedSong(const Collection& c) {
  if (c.groupCount <= 0 || c.selectedGroup < 0 || c.selectedGroup >= c.groupCount) return -1;
  const CollectionGroup& g = c.groups[c.selectedGroup];
  if (c.selectedIndex < 0 || c.selectedIndex >= g.count) return -1;
  int s = g.songs[c.selectedIndex];
  return s >= 0 && s < (int)g_songs.size() ? s : -1;
}

const char* Collection_CurrentFolder() {
  int p = g_players[0].active || !g_players[1].active ? 0 : 1;
  g_currentFolder[p][kLabelSize - 1] = 0;
  return g_currentFolder[p];
}

bool Collection_LabelsEqual(const char* a, const char* b) {
  size_t la = strcspn(a, "\n"), lb = strcspn(b, "\n");
  return la == lb && memcmp(a, b, la) == 0;
}

void Collection_Reserve(Collection& c, int n) {
  n = std::min(n, kMaxGroups);
  if ((int)c.groups.size() < n) c.groups.resize((size_t)n);
}

void Collection_NewGame() {
  g_settings.currentSort = g_settings.defaultSort;
  if (g_settings.currentSort > 4) g_settings.folderIndex = 0;
  for (auto& f : g_currentFolder) snprintf(f, sizeof f, " ");
  g_collection.selectedIndex = ENTRY_NONE_YET;
}
