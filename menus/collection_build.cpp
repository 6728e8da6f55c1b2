// BuildCollection: groups the song table for the song wheel. Every step walks the
// song table once (folder and genre names are found through hash tables), so a
// rebuild stays well inside a frame's worth of waiting even for large libraries.
#include "platform/log.h"
#include "library/courses.h"
#include "library/settings.h"
#include "library/song_list.h"
#include "media/skin/skin_config.h"
#include "menus/collection.h"
#include "menus/collection_internal.h"
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <unordered_map>

std::vector<int> g_bestOrder;

namespace {
constexpr int kLetterGroups = 37;   // A..Z, 0..9, ?

std::string lower(const char* s) {
  std::string r(s);
  for (char& c : r)
    if (c >= 'A' && c <= 'Z') c = (char)(c - 'A' + 'a');
  return r;
}

int letterGroup(char l) {
  if (l >= 'A' && l <= 'Z') return l - 'A';
  if (l >= '0' && l <= '9') return 26 + (l - '0');
  return 36;
}

bool noFolder(const char* label) { return label[0] == 0 || strcmp(label, " ") == 0; }

void setLabel(CollectionGroup& g, const char* text) { snprintf(g.label, sizeof g.label, "%s", text); }

// Step 1: records of the machine and of each loaded profile, white colours.
void linkRecords() {
  std::string key;
  for (SongEntry& e : g_songs) {
    key.assign(e.group, strnlen(e.group, sizeof e.group));
    key += '\\';
    key.append(e.folder, strnlen(e.folder, sizeof e.folder));
    e.record = findRecord(g_records, key.c_str());
    for (int p = 0; p < 2; p++) e.profileRecord[p] = g_playerRecords[p] ? findRecord(*g_playerRecords[p], key.c_str()) : -1;
    e.colour = 0xFFFFFF;
  }
}

// Step 2: the skin's song colours, one per group folder in the folder list's order.
void songColours() {
  const ColourList& songs = g_skinConfig.songs;
  if (songs.count <= 0) return;
  std::unordered_map<std::string, int> folder;
  for (size_t k = 0; k < g_groupList.size(); k++) folder.emplace(lower(g_groupList[k].c_str()), (int)k);
  for (SongEntry& e : g_songs) {
    auto it = folder.find(lower(e.group));
    if (it == folder.end()) continue;
    e.colour = songs.values[it->second % songs.count];
    e.selectable = 1;
  }
}

// Step 8: the group colours from the skin's folder colours. Without folder
// colours the groups stay white.
void groupColours(Collection& c, int groups) {
  const ColourList& folders = g_skinConfig.folders;
  if (g_skinConfig.songs.count <= 0 || folders.count <= 0) return;
  for (int k = 0; k < groups; k++) c.groups[k].colour = folders.values[k % folders.count];
}
}  // namespace

void CollectionFill::append(int g, int s) {
  CollectionGroup& grp = c.groups[g];
  if (grp.count >= kGroupEntries) {
    if (!cutLogged[g]) WriteLogf("Group '%s' holds more than %d songs; the rest are left out\n", grp.label, kGroupEntries);
    cutLogged[g] = 1;
    return;
  }
  int at = grp.count++;
  grp.songs[at] = s;
  memset(grp.overrides[at], 0, kOverrideBytes);
  SongEntry& e = g_songs[s];
  if (!extra) {
    e.selectable = 1;
  } else {
    e.selectable = 0;
    if (const CourseEntry* ce = bonusEntryFor(s)) {
      e.selectable = 1;
      e.colour = 0xFF0000;
      grp.overrides[at][0] = ce->difficulty;
      CourseEntry_Options(*ce, &grp.overrides[at][1]);
    }
  }
  if (c.restoreMode == RESTORE_SONG && !c.found && s == c.rememberedSong && restoreWhileFilling) {
    if (grp.state != GROUP_INLINE) grp.state = GROUP_OPEN;
    c.selectedGroup = g;
    c.selectedIndex = at;
    c.found = true;
  }
}

const CourseEntry* CollectionFill::bonusEntryFor(int s) const {
  if (!bonus || bonus->entryCount <= 0) return nullptr;
  for (int i = 0; i < bonus->entryCount && i < kMaxCourseEntries; i++) {
    const CourseEntry& ce = bonus->entries[i];
    if (!ce.random && ce.song == s) return &ce;
  }
  return nullptr;
}

bool CollectionFill::available(const SongEntry& e) const {
  if (filterMode == 0) return true;
  int sum = 0;
  for (int d = 0; d < difficulties; d++) sum += e.levels[style.base + d];
  return sum > 0;
}

namespace {
void fillFolders(CollectionFill& f, int groups) {
  std::unordered_map<std::string, int> byName;
  for (int k = 0; k < groups; k++) byName.emplace(lower(g_groupList[k].c_str()), k);
  for (int s = 0; s < (int)g_songs.size(); s++) {
    if (!f.available(g_songs[s])) continue;
    auto it = byName.find(lower(g_songs[s].group));
    if (it != byName.end()) f.append(it->second, s);
  }
}

// A genre group takes every song whose genre text holds its name. Genre names
// hold no "|", so a match always lies inside one of the "|"-separated pieces; the
// groups of each distinct piece are worked out once.
void fillGenres(CollectionFill& f, int groups) {
  std::vector<std::string> names(groups);
  for (int k = 0; k < groups; k++) names[k] = lower(g_genreList[k].c_str());
  std::unordered_map<std::string, std::vector<int>> byPiece;
  std::string text, piece;
  for (int s = 0; s < (int)g_songs.size(); s++) {
    const SongEntry& e = g_songs[s];
    if (!f.available(e)) continue;
    text = lower(e.genres);
    size_t start = 0;
    while (start <= text.size()) {
      size_t end = text.find('|', start);
      if (end == std::string::npos) end = text.size();
      if (end > start) {
        piece.assign(text, start, end - start);
        auto it = byPiece.find(piece);
        if (it == byPiece.end()) {
          std::vector<int> hit;
          for (int k = 0; k < groups; k++)
            if (piece.find(names[k]) != std::string::npos) hit.push_back(k);
          it = byPiece.emplace(piece, std::move(hit)).first;
        }
        for (int k : it->second) {
          const CollectionGroup& g = f.c.groups[k];
          if (g.count > 0 && g.songs[g.count - 1] == s) continue;   // already there through another piece
          f.append(k, s);
        }
      }
      start = end + 1;
    }
  }
}

void fillTitles(CollectionFill& f) {
  for (int s = 0; s < (int)g_songs.size(); s++) {
    const SongEntry& e = g_songs[s];
    if (!f.available(e)) continue;
    char l = Collection_Letter(e.title);
    if (l) f.append(letterGroup(l), s);
  }
}

// Artists are walked in the artist list's order; each contributes its songs in
// song table order to the group of its first letter.
void fillArtists(CollectionFill& f) {
  std::unordered_map<std::string, int> byName;
  for (size_t a = 0; a < g_artistList.size(); a++) byName.emplace(lower(g_artistList[a].c_str()), (int)a);
  std::vector<std::vector<int>> songsOf(g_artistList.size());
  for (int s = 0; s < (int)g_songs.size(); s++) {
    if (!f.available(g_songs[s])) continue;
    auto it = byName.find(lower(g_songs[s].artist));
    if (it != byName.end()) songsOf[it->second].push_back(s);
  }
  for (size_t a = 0; a < g_artistList.size(); a++) {
    char l = Collection_Letter(g_artistList[a].c_str());
    if (!l) continue;
    for (int s : songsOf[a]) f.append(letterGroup(l), s);
  }
}

// BPM and Player's Best: the whole ordered list is made first and then cut to
// the group's size, so that a large library keeps its slowest or most played songs.
void fillList(CollectionFill& f, int sort, int limit) {
  std::vector<int> songs;
  for (int s = 0; s < (int)g_songs.size(); s++)
    if (f.available(g_songs[s])) songs.push_back(s);
  if (sort == SORT_BPM) {
    std::stable_sort(songs.begin(), songs.end(), [](int a, int b) { return g_songs[a].bpmMax < g_songs[b].bpmMax; });
  } else {
    Collection_BestOrder(songs, f.style.group);
    if (limit > 0 && limit < (int)songs.size()) songs.resize((size_t)limit);
    if (LogEnabled())
      for (int s : songs) WriteLogf("%s = %d\n", g_songs[s].title, (int)Collection_PlayCount(g_songs[s], f.style.group));
    g_bestOrder = songs;
  }
  for (int s : songs) f.append(0, s);
}

// Places the remembered song after a sort: its first place opens its folder.
void findRemembered(Collection& c, int groups) {
  if (c.restoreMode != RESTORE_SONG || c.found || c.rememberedSong < 0) return;
  for (int g = 0; g < groups; g++) {
    CollectionGroup& grp = c.groups[g];
    for (int i = 0; i < grp.count; i++)
      if (grp.songs[i] == c.rememberedSong) {
        if (grp.state != GROUP_INLINE) grp.state = GROUP_OPEN;
        c.selectedGroup = g;
        c.selectedIndex = i;
        c.found = true;
        return;
      }
  }
}

int positionIn(const CollectionGroup& g, int song) {
  if (song < 0) return -1;
  for (int i = 0; i < g.count; i++)
    if (g.songs[i] == song) return i;
  return -1;
}

int firstGroupWithSongs(const Collection& c, int groups) {
  for (int g = 0; g < groups; g++)
    if (c.groups[g].count > 0) return g;
  return -1;
}
}  // namespace

int BuildCollection(int filterMode, const char* openLabel, int keepPosition, int stage, int limit) {
  Collection& c = g_collection;
  c.selectedGroup = g_settings.folderIndex;
  CollectionFill f(c);
  f.filterMode = filterMode;
  f.style = Collection_CurrentStyle();
  f.extraStage = g_settings.maxStage < 6 && stage > g_settings.maxStage ? stage - g_settings.maxStage : 0;
  f.extra = f.extraStage > 0;
  if (f.extra) {
    const Course& b = g_bonusCourses[f.extraStage == 1 ? 0 : 1];
    if (b.valid && b.entryCount > 0) f.bonus = &b;
  }

  // 1. and 2.
  linkRecords();
  songColours();

  // 3. which songs are available: those with a chart among the style's difficulties
  f.difficulties = f.extra || g_collectionShowSM ? 4 : 3;
  if (f.style.solo) f.difficulties = 3;

  // 4. what to restore
  c.found = false;
  c.rememberedSong = -1;
  if (c.selectedIndex >= 0) {
    c.restoreMode = RESTORE_SONG;
    c.rememberedSong = Collection_SelectedSong(c);
  } else if (keepPosition == 1) {
    c.restoreMode = RESTORE_NONE;
  } else {
    c.restoreMode = c.selectedIndex == ENTRY_NONE_YET ? RESTORE_NONE : RESTORE_POSITION;
  }
  int sort = g_settings.currentSort < SORT_COUNT ? (int)g_settings.currentSort : (int)SORT_ALL_MUSIC;
  const char* folderLabel = Collection_CurrentFolder();
  if (f.extra) {
    sort = SORT_ALL_MUSIC;
    g_settings.currentSort = SORT_ALL_MUSIC;
  } else if (sort == SORT_ALL_SEPARATED && noFolder(folderLabel)) {
    c.restoreMode = RESTORE_NONE;
  }
  f.restoreWhileFilling = sort == SORT_ALL_MUSIC || sort == SORT_ALL_SEPARATED || sort == SORT_TITLE ||
                          sort == SORT_ARTIST;

  // 5. caption and groups
  bool byFolder = g_settings.sortBy != 0;
  snprintf(c.caption, sizeof c.caption, "%s", SortMethod_Caption(sort, g_settings.sortBy));
  int groups = 1;
  if (sort <= SORT_DIFFICULTY) {
    size_t n = byFolder ? g_groupList.size() : g_genreList.size();
    if (n > (size_t)kMaxListGroups)
      WriteLogf("More than %d %s; the rest are left out of the song wheel\n", kMaxListGroups,
                byFolder ? "song folders" : "genres");
    groups = (int)std::min(n, (size_t)kMaxListGroups);
  } else if (sort == SORT_TITLE || sort == SORT_ARTIST) {
    groups = kLetterGroups;
  }
  Collection_Reserve(c, groups + 2);
  f.cutLogged.assign((size_t)groups, 0);
  std::string open;
  if (openLabel) open.assign(openLabel, strcspn(openLabel, "\n"));
  for (int k = 0; k < groups; k++) {
    CollectionGroup& g = c.groups[k];
    if (sort <= SORT_DIFFICULTY) {
      setLabel(g, (byFolder ? g_groupList[k] : g_genreList[k]).c_str());
    } else if (sort == SORT_TITLE || sort == SORT_ARTIST) {
      char l[2] = {k < 26 ? (char)('A' + k) : k < 36 ? (char)('0' + k - 26) : '?', 0};
      setLabel(g, l);
    } else {
      setLabel(g, sort == SORT_BPM ? "(BPM)" : "(Player's Best)");
    }
    if (sort == SORT_ALL_MUSIC || sort == SORT_BPM || sort == SORT_BEST)
      g.state = GROUP_INLINE;
    else
      g.state = openLabel && open == g.label ? GROUP_OPEN : GROUP_CLOSED;
    g.count = 0;
    g.colour = 0xFFFFFF;
  }
  c.groupCount = groups;

  // 6. and 7. filling and sorting
  if (sort <= SORT_DIFFICULTY) {
    if (byFolder)
      fillFolders(f, groups);
    else
      fillGenres(f, groups);
  } else if (sort == SORT_TITLE) {
    fillTitles(f);
  } else if (sort == SORT_ARTIST) {
    fillArtists(f);
  } else {
    fillList(f, sort, limit);
  }
  if (sort == SORT_DIFFICULTY) {
    if (filterMode > 0) {
      std::vector<std::pair<double, int>> keyed;
      for (int k = 0; k < groups; k++) {
        CollectionGroup& g = c.groups[k];
        keyed.resize((size_t)g.count);
        for (int i = 0; i < g.count; i++)
          keyed[i] = {Collection_DifficultyKey(g_songs[g.songs[i]], f.style.base, f.difficulties,
                                               g_settings.defaultDifficulty),
                      g.songs[i]};
        std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
        // the overrides of a normal stage are all zero, so only the songs move
        for (int i = 0; i < g.count; i++) g.songs[i] = keyed[i].second;
      }
    }
    findRemembered(c, groups);
  }

  // 8. and 9.
  groupColours(c, groups);
  if (filterMode > 0 && (sort == SORT_ALL_SEPARATED || sort == SORT_DIFFICULTY))
    for (int k = 0; k < groups; k++) {
      CollectionGroup& g = c.groups[k];
      char name[kLabelSize];
      snprintf(name, sizeof name, "%s", g.label);
      if (g.count == 1)
        snprintf(g.label, sizeof g.label, "%.240s\n(1 song)", name);
      else
        snprintf(g.label, sizeof g.label, "%.240s\n(%d songs)", name, (int)g.count);
    }

  if (groups > 0) c.selectedGroup = ((c.selectedGroup % groups) + groups) % groups;
  else c.selectedGroup = 0;

  if (filterMode > 0) {
    // 10. which folder stays open
    if (filterMode == 2 && !noFolder(folderLabel)) {
      int chosen = -1;
      for (int k = 0; k < groups; k++) {
        CollectionGroup& g = c.groups[k];
        if (g.state != GROUP_INLINE && Collection_LabelsEqual(g.label, folderLabel)) {
          g.state = GROUP_OPEN;
          if (chosen < 0) chosen = k;
        } else if (g.state == GROUP_OPEN) {
          g.state = GROUP_CLOSED;
        }
      }
      if (chosen >= 0) {
        // the player's folder is the place to come back to, on the song or on
        // the folder item when the song is no longer in it
        c.selectedGroup = chosen;
        c.selectedIndex = positionIn(c.groups[chosen], c.rememberedSong);
        c.found = true;
      }
    } else {
      int first = -1;
      for (int k = 0; k < groups; k++) {
        CollectionGroup& g = c.groups[k];
        if (g.state != GROUP_OPEN) continue;
        if (first < 0)
          first = k;
        else
          g.state = GROUP_CLOSED;
      }
      if (first >= 0 && first != c.selectedGroup) {
        c.selectedGroup = first;
        int at = positionIn(c.groups[first], c.rememberedSong);
        c.selectedIndex = at >= 0 ? at : ENTRY_FOLDER_ITEM;
        c.found = at >= 0;
      }
    }

    // 11. final selection
    if (c.restoreMode == RESTORE_NONE || c.found) {
      if (noFolder(folderLabel) && sort == SORT_ALL_SEPARATED && groups > 0) {
        if (c.groups[c.selectedGroup].count == 0) {
          int g = firstGroupWithSongs(c, groups);
          c.selectedGroup = g >= 0 ? g : 0;
        }
        c.selectedIndex = 0;
        c.groups[c.selectedGroup].state = GROUP_OPEN;
      }
    } else {
      int g = firstGroupWithSongs(c, groups);
      if (g < 0) {
        c.selectedGroup = 0;
        c.selectedIndex = 0;
      } else {
        c.selectedGroup = g;
        c.selectedIndex = c.groups[g].state == GROUP_INLINE ? 0 : ENTRY_FOLDER_ITEM;
      }
    }
    if (c.restoreMode == RESTORE_NONE && sort == SORT_ALL_MUSIC) c.selectedIndex = 0;

    // 12. the roulette groups, or the Bonus group of an extra stage
    if (f.extra)
      Collection_AddBonusGroup(f);
    else
      Collection_AddRouletteGroups(c, sort);
  }

  // 13.
  if ((sort == SORT_BPM || sort == SORT_BEST) && c.groupCount > 0) c.groups[0].state = GROUP_INLINE;

  // the selection always lies inside the table
  if (c.groupCount <= 0) {
    c.selectedGroup = 0;
  } else {
    c.selectedGroup = ((c.selectedGroup % c.groupCount) + c.groupCount) % c.groupCount;
    const CollectionGroup& g = c.groups[c.selectedGroup];
    if (c.selectedIndex >= g.count) c.selectedIndex = g.count > 0 ? g.count - 1 : ENTRY_FOLDER_ITEM;
  }
  g_settings.folderIndex = c.selectedGroup;
  return 1;
}
