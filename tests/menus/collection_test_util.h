#pragma once
// A small song library made in memory for the collection, course and song list
// tests, and the reset of every record these modules read.
#include "platform/log.h"
#include "chart/random.h"
#include "library/courses.h"
#include "library/records.h"
#include "library/settings.h"
#include "library/song_list.h"
#include "media/skin/skin_config.h"
#include "menus/available_modes.h"
#include "menus/collection.h"
#include "play/player.h"
#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <string>
#include <strings.h>
#include <vector>

struct SongSpec {
  std::string group, folder, title, artist, genres;
  std::vector<int> levels;   // slots 0.. in order; missing ones are 0
  double bpm = 150;
  int bpmMin = 150, bpmMax = 150;
  std::string banner = "banner.png";
};

inline SongEntry MakeSong(const SongSpec& s) {
  SongEntry e{};
  SetField(e.group, s.group.c_str());
  SetField(e.folder, (s.folder.empty() ? s.title : s.folder).c_str());
  SetField(e.title, s.title.c_str());
  SetField(e.artist, s.artist.c_str());
  std::string genres = s.genres;
  if (genres.empty()) genres.append("|").append(s.group).append("|");
  SetField(e.genres, genres.c_str());
  SetField(e.banner, s.banner.c_str());
  for (size_t i = 0; i < s.levels.size() && i < (size_t)kChartSlots; i++) e.levels[i] = s.levels[i];
  e.bpmValue = s.bpm;
  e.bpmMin = s.bpmMin;
  e.bpmMax = s.bpmMax;
  e.record = -1;
  e.profileRecord[0] = e.profileRecord[1] = -1;
  e.selectable = 1;
  return e;
}

// The song table as the song list leaves it: sorted by title (equal titles keep
// their order), with its folder, artist and genre lists.
inline void SetLibrary(const std::vector<SongEntry>& songs) {
  g_songs = songs;
  std::stable_sort(g_songs.begin(), g_songs.end(),
                   [](const SongEntry& a, const SongEntry& b) { return strcasecmp(a.title, b.title) < 0; });
  g_groupList.clear();
  g_artistList.clear();
  g_genreList.clear();
  for (const SongEntry& e : g_songs) {
    SongList_AddDistinct(g_groupList, e.group);
    SongList_AddDistinct(g_artistList, e.artist);
    std::string g = e.genres;
    size_t s = 0;
    while ((s = g.find('|', s)) != std::string::npos) {
      size_t t = g.find('|', s + 1);
      if (t == std::string::npos) break;
      if (t > s + 1) SongList_AddDistinct(g_genreList, g.substr(s + 1, t - s - 1));
      s = t + 1;
    }
  }
  FindAvailableModes(g_availableModes);
}

inline void ResetCollectionWorld() {
  LogOff();
  SetLibrary({});
  freeRecords(g_records);
  Settings_Defaults(g_settings);
  g_settings.sortBy = 1;
  g_settings.currentSort = SORT_ALL_MUSIC;
  g_settings.maxStage = 3;
  g_settings.folderIndex = 0;
  Players_Reset();
  g_players[0].active = 1;
  SkinConfig_Defaults(g_skinConfig);
  g_collectionShowSM = false;
  g_courses.clear();
  g_courseFolders.clear();
  Course_Defaults(g_bonusCourses[0]);
  Course_Defaults(g_bonusCourses[1]);
  g_collection = Collection{};
  g_courseCollection = Collection{};
  snprintf(g_currentFolder[0], kLabelSize, " ");
  snprintf(g_currentFolder[1], kLabelSize, " ");
  g_playerRecords[0] = g_playerRecords[1] = nullptr;
  Random_Seed(1);
}

// "prefix" followed by the number.
inline std::string Numbered(const char* prefix, int n) {
  std::string s(prefix);
  s += std::to_string(n);
  return s;
}

inline int FindSong(const char* title) {
  for (size_t i = 0; i < g_songs.size(); i++)
    if (strcmp(g_songs[i].title, title) == 0) return (int)i;
  return -1;
}

// Titles of group `g` in display order.
inline std::vector<std::string> Titles(const Collection& c, int g) {
  std::vector<std::string> t;
  for (int i = 0; i < c.groups[g].count; i++) {
    int s = c.groups[g].songs[i];
    t.push_back(s >= 0 ? g_songs[s].title : "<none>");
  }
  return t;
}

inline int GroupIndex(const Collection& c, const char* label) {
  for (int g = 0; g < c.groupCount; g++)
    if (Collection_LabelsEqual(c.groups[g].label, label)) return g;
  return -1;
}

// The record of `key` in a table, made when it has none.
inline int TestRecord(RecordTable& t, const std::string& key) {
  int r = findRecord(t, key.c_str());
  if (r >= 0) return r;
  t.records.push_back(Records_New(key.c_str(), 0));
  t.results.emplace_back();
  r = (int)t.records.size() - 1;
  t.index[key] = r;
  return r;
}

// Gives song `title` a machine record whose play counter of `styleGroup` is `count`.
inline void SetPlayCount(const char* title, int styleGroup, int64_t count) {
  int r = TestRecord(g_records, SongList_RecordKey(g_songs[FindSong(title)]));
  g_records.records[r].counters[styleGroup] = count;
}

// A course in `folder` read from `songs` (its "#SONG:" lines), added as
// loadCourses leaves it (without its record). A course without entries is
// added too: check entryCount.
inline Course& AddTestCourse(const char* folder, const char* name, const std::string& songs) {
  Course c;
  Course_Defaults(c);
  c.valid = 1;
  snprintf(c.folder, sizeof c.folder, "%s", folder);
  Course_ParseText(std::string("#COURSE:") + name + ";\n" + songs, c);
  c.index = (int)g_courses.size();
  g_courses.push_back(c);
  if (std::find(g_courseFolders.begin(), g_courseFolders.end(), folder) == g_courseFolders.end())
    g_courseFolders.push_back(folder);
  return g_courses.back();
}

// A course's result as its evaluation stores it.
inline Result CourseResultOf(double score, int percentTenths, int grade, uint32_t timeMs, int stage) {
  Result r{};
  r.bestScore = score;
  r.bestA = percentTenths;
  r.bestGrade = (uint8_t)grade;
  r.bestB = timeMs;
  r.bestC = stage;
  return r;
}
