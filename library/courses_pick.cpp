// The random song of a course entry: every song of the style with a chart that
// the entry accepts is equally likely; then one of its accepted charts, again
// uniformly.
#include "chart/random.h"
#include "library/courses.h"
#include "library/song_list.h"
#include <algorithm>
#include <strings.h>

int Course_StyleBase(int styleMask) { return styleMask == 2 ? 4 : styleMask == 4 ? 11 : 0; }

int Course_FittingDifficulties(int s, const CourseEntry& e, int styleMask, int difficultyCount, int diffs[4]) {
  if (s < 0 || s >= (int)g_songs.size()) return 0;
  const SongEntry& x = g_songs[s];
  if (e.randomFolder[0] && strcasecmp(x.group, e.randomFolder) != 0) return 0;
  int base = Course_StyleBase(styleMask);
  int slots = styleMask == 4 ? 3 : 4;   // SOLO has no SMANIAC chart
  if (e.difficulty != kDifficultyRange) {
    if (e.difficulty >= slots || x.levels[base + e.difficulty] <= 0) return 0;
    diffs[0] = e.difficulty;
    return 1;
  }
  int n = 0;
  int count = std::clamp(difficultyCount, 1, slots);
  for (int d = 0; d < count; d++) {
    int lv = x.levels[base + d];
    if (lv > 0 && lv >= e.levelMin && lv <= e.levelMax) diffs[n++] = d;
  }
  return n;
}

int Course_ChooseDifficulty(int s, const CourseEntry& e, int styleMask, int difficultyCount) {
  int diffs[4];
  int n = Course_FittingDifficulties(s, e, styleMask, difficultyCount, diffs);
  return n ? diffs[Random_Below(n)] : -1;
}

bool Course_PickRandomSong(const CourseEntry& e, int styleMask, int difficultyCount, int& song, int& difficulty) {
  song = -1;
  difficulty = -1;
  int diffs[4];
  int count = 0;
  for (int s = 0; s < (int)g_songs.size(); s++)
    if (Course_FittingDifficulties(s, e, styleMask, difficultyCount, diffs)) count++;
  if (!count) return false;
  int k = Random_Below(count);
  for (int s = 0; s < (int)g_songs.size(); s++)
    if (Course_FittingDifficulties(s, e, styleMask, difficultyCount, diffs) && k-- == 0) {
      song = s;
      difficulty = Course_ChooseDifficulty(s, e, styleMask, difficultyCount);
      return true;
    }
  return false;
}
