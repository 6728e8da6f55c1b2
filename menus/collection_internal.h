#pragma once
// What one BuildCollection run knows while it fills the groups; shared by the
// build steps in the collection_*.cpp files.
#include "menus/collection.h"
#include <vector>

struct Course;

struct CollectionFill {
  explicit CollectionFill(Collection& col) : c(col) {}
  Collection& c;
  int filterMode = 0;
  CollectionStyle style{};
  int difficulties = 3;            // difficulties that make a song available
  int extraStage = 0;              // 1 or 2 on an extra stage, else 0
  bool extra = false;
  const Course* bonus = nullptr;   // the bonus course of this extra stage, when it has entries
  bool restoreWhileFilling = false;
  std::vector<uint8_t> cutLogged;  // per group: the 2048 cut was logged

  bool available(const SongEntry& e) const;
  // Appends song `s` to group `g` (bounded), with the stage's selectable flag and
  // overrides, and places the remembered song.
  void append(int g, int s);
  const CourseEntry* bonusEntryFor(int s) const;
};

// The whole Player's Best list of the last build in that sort (a group holds
// at most kGroupEntries of it).
extern std::vector<int> g_bestOrder;

void Collection_AddRouletteGroups(Collection& c, int sort);
void Collection_AddBonusGroup(CollectionFill& f);
