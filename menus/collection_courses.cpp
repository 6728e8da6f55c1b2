// The course wheel's collection, and the BEST n / WORST n course entries, which
// take their songs from the Player's Best order.
#include "platform/log.h"
#include "library/courses.h"
#include "library/settings.h"
#include "library/song_list.h"
#include "media/skin/skin_config.h"
#include "menus/available_modes.h"
#include "menus/collection.h"
#include "menus/collection_internal.h"
#include "play/player.h"
#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {
constexpr int kSpacers = 5;   // spacer groups at each end of the course wheel

const char* const kStyleWords[3] = {"' in SINGLE\n", "' in DOUBLE\n", "' in SOLO\n"};

// The first entry that cannot be played in the style, or -1.
int failingEntry(const Course& k, const CollectionStyle& st) {
  int mode = st.mask == 2 ? MODE_DOUBLE : st.mask == 4 ? MODE_SOLO : MODE_SINGLE;
  for (int i = 0; i < k.entryCount && i < kMaxCourseEntries; i++) {
    const CourseEntry& e = k.entries[i];
    if (e.random) {
      if (!g_availableModes[mode]) return i;
      continue;
    }
    if (st.solo && e.difficulty == 3) return i;
    if (e.difficulty > 3) return i;
    if (e.song >= 0 && e.song < (int)g_songs.size() && g_songs[e.song].levels[st.base + e.difficulty] <= 0) return i;
  }
  return -1;
}
}  // namespace

int BuildCourseCollection(bool checkStyle) {
  Collection& c = g_courseCollection;
  g_settings.currentSort = SORT_ALL_MUSIC;
  CollectionStyle st = Collection_CurrentStyle();
  if (!checkStyle) st.base = 0;
  uint32_t colour = g_skinConfig.folders.count > 0 ? g_skinConfig.folders.values[0] : 0x07FF1C;
  for (Course& k : g_courses) k.colour = colour;

  snprintf(c.caption, sizeof c.caption, "All Courses");
  int folders = (int)std::min(g_courseFolders.size(), (size_t)(kMaxGroups - 2 * kSpacers));
  int groups = folders + 2 * kSpacers;
  Collection_Reserve(c, groups);
  c.groupCount = groups;
  c.selectedGroup = kSpacers;
  c.selectedIndex = 0;
  for (int g = 0; g < groups; g++) {
    CollectionGroup& grp = c.groups[g];
    grp.colour = 0xFFFFFF;
    if (g < kSpacers || g >= groups - kSpacers) {
      snprintf(grp.label, sizeof grp.label, " ");
      grp.state = GROUP_CLOSED;
      grp.count = 1;
      grp.courses[0] = -1;
      grp.songs[0] = -1;
      continue;
    }
    snprintf(grp.label, sizeof grp.label, "%s", g_courseFolders[g - kSpacers].c_str());
    grp.state = folders == 1 ? GROUP_INLINE : GROUP_CLOSED;
    grp.count = 0;
    for (size_t i = 0; i < g_courses.size(); i++) {
      const Course& k = g_courses[i];
      if (strcmp(k.folder, grp.label) != 0) continue;
      if (checkStyle && k.entryCount > 0) {
        int bad = failingEntry(k, st);
        if (bad >= 0) {
          const CourseEntry& e = k.entries[bad];
          const char* title = e.song >= 0 && e.song < (int)g_songs.size() ? g_songs[e.song].title : "RANDOM";
          WriteLog(k.name);
          WriteLog("...\nProblem with: '");
          WriteLog(title);
          WriteLog(kStyleWords[st.group]);
          continue;
        }
      }
      if (grp.count >= kGroupEntries) break;
      grp.songs[grp.count] = -1;
      grp.courses[grp.count++] = (int32_t)i;
    }
  }
  if (g_skinConfig.songs.count > 0 && g_skinConfig.folders.count > 0)
    for (int g = 0; g < groups; g++) c.groups[g].colour = g_skinConfig.folders.values[g % g_skinConfig.folders.count];

  int total = 0;
  for (int g = 0; g < groups; g++) total += c.groups[g].count;
  return total - 2 * kSpacers;
}

int ResolveBestCourseEntries() {
  g_settings.currentSort = SORT_BEST;
  BuildCollection(1, nullptr, 0, 0, 0);
  const std::vector<int>& order = g_bestOrder;   // the whole list, not only what the group holds
  CollectionStyle st = Collection_CurrentStyle();
  int slots = st.solo ? 3 : 4;
  int count = (int)order.size();
  auto resolve = [&](Course& k) {
    for (int i = 0; i < k.entryCount && i < kMaxCourseEntries; i++) {
      CourseEntry& e = k.entries[i];
      if (e.selector != SELECT_BEST && e.selector != SELECT_WORST) continue;
      if (count == 0) {
        e.song = -1;
        continue;
      }
      int n = std::min(std::max(e.bestIndex, 1), count);
      int s = order[(size_t)(e.selector == SELECT_BEST ? n - 1 : count - n)];
      e.song = s;
      e.group = Course_FindGroup(g_songs[s].group);
      // the asked difficulty, else the next one that has a chart
      int d = e.difficulty < slots ? e.difficulty : 0;
      for (int tries = 0; tries < slots && g_songs[s].levels[st.base + d] <= 0; tries++) d = (d + 1) % slots;
      e.difficulty = (uint8_t)d;
    }
  };
  for (Course& k : g_courses) resolve(k);
  for (Course& k : g_bonusCourses) resolve(k);
  return 1;
}

int DetermineAvailableCourses(int counts[3]) {
  ResolveBestCourseEntries();
  Player& p = g_players[0];
  uint8_t active[2] = {g_players[0].active, g_players[1].active};
  uint8_t panels = p.panels;
  char name[kStyleNameSize];
  memcpy(name, p.styleName, sizeof name);
  static const struct {
    const char* name;
    uint8_t panels;
  } styles[3] = {{"SINGLE", 4}, {"DOUBLE", 8}, {"SOLO", 6}};
  int sum = 0;
  for (int i = 0; i < 3; i++) {
    p.active = 1;
    g_players[1].active = 0;
    p.panels = styles[i].panels;
    snprintf(p.styleName, sizeof p.styleName, "%s", styles[i].name);
    int n = BuildCourseCollection(true);
    if (counts) counts[i] = n;
    sum += n;
  }
  g_players[0].active = active[0];
  g_players[1].active = active[1];
  p.panels = panels;
  memcpy(p.styleName, name, sizeof name);
  return sum;
}
