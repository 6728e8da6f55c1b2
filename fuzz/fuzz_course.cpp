// The course reader from arbitrary text, against a small library: every entry it
// keeps must point into the library and stay within the bounds of its fields.
#include "library/courses.h"
#include "library/song_list.h"
#include <cstdlib>
#include <cstring>
#include <string>

namespace {
void makeLibrary() {
  static bool made = false;
  if (made) return;
  made = true;
  const char* const songs[][3] = {{"Demo", "neon-stride", "Neon Stride"}, {"Demo", "glass", "Glass Circuit"},
                                  {"Other", "deep", "Deep Water"}};
  for (auto& s : songs) {
    SongEntry e{};
    SetField(e.group, s[0]);
    SetField(e.folder, s[1]);
    SetField(e.title, s[2]);
    e.levels[0] = 3;
    e.levels[2] = 7;
    e.record = -1;
    g_songs.push_back(e);
    SongList_AddDistinct(g_groupList, s[0]);
  }
}

bool terminated(const char* field, size_t size) { return memchr(field, 0, size) != nullptr; }
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  makeLibrary();
  static Course c;
  Course_Defaults(c);
  int n = Course_ParseText(std::string((const char*)data, size), c);
  if (n != c.entryCount || n < 0 || n > kMaxCourseEntries) abort();
  if (c.lives < 1 || c.lives > 10 || (c.comboMode != 1 && c.comboMode != 2)) abort();
  if (!terminated(c.name, sizeof c.name) || !terminated(c.displayName, sizeof c.displayName)) abort();
  for (int i = 0; i < n; i++) {
    const CourseEntry& e = c.entries[i];
    if (e.song < -1 || e.song >= (int)g_songs.size()) abort();
    if (e.group < -1 || e.group >= (int)g_groupList.size()) abort();
    if (e.difficulty > 3 && e.difficulty != kDifficultyRange) abort();
    if (e.levelMin < 1 || e.levelMax > 99 || e.levelMin > e.levelMax) abort();
    if (e.bestIndex < 1 || e.randomArrows > 7 || e.speed > 9) abort();
    if (!terminated(e.modifierText, sizeof e.modifierText) || !terminated(e.randomFolder, sizeof e.randomFolder)) abort();
    if (!e.random && e.selector == SELECT_NAMED && e.song < 0) abort();
    int diffs[4];
    if (Course_FittingDifficulties(0, e, 1, 4, diffs) > 4) abort();
  }
  return 0;
}
