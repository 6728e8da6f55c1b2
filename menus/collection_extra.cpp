// The groups a build appends after the song groups: the two roulette items of a
// normal stage, or the "Bonus" group that holds the only songs of an extra stage.
#include "platform/log.h"
#include "chart/random.h"
#include "library/courses.h"
#include "library/settings.h"
#include "library/song_list.h"
#include "menus/collection.h"
#include "menus/collection_internal.h"
#include <cstdio>
#include <cstring>
#include <utility>

namespace {
constexpr uint8_t kExtraChoiceRandom = 1;   // "Extra Stages": OFF, RANDOM, CHOICE

CollectionGroup& addGroup(Collection& c, const char* label, int state) {
  Collection_Reserve(c, c.groupCount + 1);
  CollectionGroup& g = c.groups[c.groupCount++];
  snprintf(g.label, sizeof g.label, "%s", label);
  g.state = state;
  g.count = 0;
  g.colour = 0xFFFFFF;
  return g;
}

void addRoulette(Collection& c, const char* label) {
  if (c.groupCount >= kMaxGroups) return;
  CollectionGroup& g = addGroup(c, label, GROUP_CLOSED);
  g.count = 1;
  g.songs[0] = -1;
  g.courses[0] = -1;
  memset(g.overrides[0], 0, kOverrideBytes);
}

// The entry used when the bonus course gives no song: a random MANIAC chart.
CourseEntry builtInEntry() {
  CourseEntry e{};
  e.song = -1;
  e.group = -1;
  e.random = 1;
  e.difficulty = 2;
  e.levelMin = 1;
  e.levelMax = 10;
  e.award = kNoAward;
  return e;
}

// Takes every place of song `s` out of the groups before `bonusGroup`.
void removeEverywhere(Collection& c, int bonusGroup, int s) {
  for (int g = 0; g < bonusGroup; g++) {
    CollectionGroup& grp = c.groups[g];
    int w = 0;
    for (int i = 0; i < grp.count; i++) {
      if (grp.songs[i] == s) continue;
      if (w != i) {
        grp.songs[w] = grp.songs[i];
        memcpy(grp.overrides[w], grp.overrides[i], kOverrideBytes);
      }
      w++;
    }
    grp.count = w;
  }
}

bool songsOutside(const Collection& c, int bonusGroup) {
  for (int g = 0; g < bonusGroup; g++)
    if (c.groups[g].count > 0) return true;
  return false;
}

// One random pick moved into Bonus with its difficulty and the entry's modifiers.
bool pickIntoBonus(CollectionFill& f, int bonusGroup, const CourseEntry& e, const uint8_t options[9]) {
  Collection& c = f.c;
  CollectionGroup& bonus = c.groups[bonusGroup];
  if (bonus.count >= kGroupEntries || !songsOutside(c, bonusGroup)) return false;
  int group = -1, index = -1, difficulty = -1;
  if (!Collection_PickRandom(c, e, f.style.mask, f.difficulties, bonusGroup, group, index, difficulty)) return false;
  int s = c.groups[group].songs[index];
  removeEverywhere(c, bonusGroup, s);
  int at = bonus.count++;
  bonus.songs[at] = s;
  bonus.overrides[at][0] = (uint8_t)difficulty;
  memcpy(&bonus.overrides[at][1], options, 9);
  g_songs[s].selectable = 1;
  g_songs[s].colour = 0xFF0000;
  return true;
}
}  // namespace

void Collection_AddRouletteGroups(Collection& c, int sort) {
  addRoulette(c, "ROULETTE");
  if (sort != SORT_ALL_MUSIC && sort != SORT_BEST) addRoulette(c, "ROULETTE (Folder)");
}

void Collection_AddBonusGroup(CollectionFill& f) {
  Collection& c = f.c;
  WriteLog("Extra stage...\n");
  if (c.groupCount >= kMaxGroups) return;
  int built = c.groupCount;
  addGroup(c, "Bonus", GROUP_INLINE);
  CollectionGroup& bonus = c.groups[built];

  // the songs the bonus course names, each once, with their overrides
  std::vector<uint8_t> moved(g_songs.size(), 0);
  for (int g = 0; g < built; g++) {
    CollectionGroup& grp = c.groups[g];
    int w = 0;
    for (int i = 0; i < grp.count; i++) {
      int s = grp.songs[i];
      if (s >= 0 && g_songs[s].selectable) {
        if (!moved[s] && bonus.count < kGroupEntries) {
          bonus.songs[bonus.count] = s;
          memcpy(bonus.overrides[bonus.count], grp.overrides[i], kOverrideBytes);
          bonus.count++;
          moved[s] = 1;
        }
        continue;
      }
      if (w != i) {
        grp.songs[w] = s;
        memcpy(grp.overrides[w], grp.overrides[i], kOverrideBytes);
      }
      w++;
    }
    grp.count = w;
  }

  // its random entries
  if (f.bonus)
    for (int i = 0; i < f.bonus->entryCount && i < kMaxCourseEntries; i++) {
      const CourseEntry& e = f.bonus->entries[i];
      if (!e.random) continue;
      uint8_t options[9];
      CourseEntry_Options(e, options);
      if (!songsOutside(c, built)) break;
      if (!pickIntoBonus(f, built, e, options)) WriteLog("- No song fits a random entry of the bonus course\n");
    }

  // nothing from the course: random MANIAC charts, three for the first extra
  // stage, one (dark, with the DEATH power) for the second
  if (bonus.count == 0) {
    CourseEntry e = builtInEntry();
    uint8_t options[9] = {};
    if (f.extraStage >= 2) {
      options[5] = 1;
      options[8] = 2;
    }
    int picks = f.extraStage >= 2 ? 1 : 3;
    for (int i = 0; i < picks; i++) {
      if (pickIntoBonus(f, built, e, options)) continue;
      // a library without MANIAC charts still gets its extra stage
      CourseEntry any = e;
      any.difficulty = kDifficultyRange;
      any.levelMin = 1;
      any.levelMax = 99;
      if (!pickIntoBonus(f, built, any, options)) break;
    }
  }

  c.selectedGroup = built;
  c.selectedIndex = 0;
  if (g_settings.extraStages == kExtraChoiceRandom && bonus.count > 0) {
    int k = Random_Below(bonus.count);
    c.selectedIndex = k;
    for (int i = 0; i < bonus.count; i++)
      if (i != k) g_songs[bonus.songs[i]].selectable = 0;
  }
}

bool Collection_PickRandom(const Collection& c, const CourseEntry& e, int styleMask, int difficultyCount,
                           int exceptGroup, int& group, int& index, int& difficulty) {
  group = index = difficulty = -1;
  std::vector<uint8_t> seen(g_songs.size(), 0);
  std::vector<std::pair<int, int>> places;   // the first place of each fitting song
  int diffs[4];
  for (int g = 0; g < c.groupCount; g++) {
    if (g == exceptGroup) continue;
    const CollectionGroup& grp = c.groups[g];
    for (int i = 0; i < grp.count; i++) {
      int s = grp.songs[i];
      if (s < 0 || s >= (int)g_songs.size() || seen[s]) continue;
      seen[s] = 1;
      if (Course_FittingDifficulties(s, e, styleMask, difficultyCount, diffs)) places.emplace_back(g, i);
    }
  }
  if (places.empty()) return false;
  auto [g, i] = places[(size_t)Random_Below((int)places.size())];
  group = g;
  index = i;
  difficulty = Course_ChooseDifficulty(c.groups[g].songs[i], e, styleMask, difficultyCount);
  return true;
}
