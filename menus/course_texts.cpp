// The texts of the course panel: the life line, one block per entry, the
// records lines; and the scroll of an entry list longer than its window.
#include "library/courses.h"
#include "library/records.h"
#include "library/song_list.h"
#include "menus/course_select.h"
#include "menus/course_wheel.h"
#include <algorithm>
#include <cstdio>

namespace {
const char* const kDifficultyNames[4] = {"BASIC", "ANOTHER", "MANIAC", "SMANIAC"};
constexpr uint32_t kListRestMs = 2500;    // at the top and at the bottom
constexpr int kListMinSpeed = 30;         // pixels per second
constexpr uint32_t kListLongestMs = 20000;   // a long list scrolls faster, so it never takes longer

bool resultStored(const Result& r) { return r.bestScore > 0 || r.bestC > 0 || r.bestB > 0; }
}  // namespace

void CourseSelect_LifeLine(const Course& k, char* out, int size) {
  if (!out || size <= 0) return;
  const char* repeats = k.repeat ? ", Repeats" : "";
  if (k.livesSet) snprintf(out, (size_t)size, "%d lives%s", (int)k.lives, repeats);
  else snprintf(out, (size_t)size, "Standard%s", repeats);
}

void CourseEntry_Block(const CourseEntry& e, int number, int styleBase, CourseEntryBlock& out) {
  out = CourseEntryBlock{};
  snprintf(out.number, sizeof out.number, "%d", number);
  snprintf(out.modifiers, sizeof out.modifiers, "%s", e.hasModifiers ? e.modifierText : "");
  out.random = e.random != 0;
  out.difficulty = e.difficulty < 4 ? e.difficulty : -1;
  snprintf(out.level, sizeof out.level, "x ?");
  if (e.random) {
    snprintf(out.name, sizeof out.name, "RANDOM");
    bool range = e.difficulty == kDifficultyRange;
    int a = range ? e.levelMin : e.difficulty + 1, b = e.levelMax;   // a difficulty counts from 1 (BASIC)
    // a folder name longer than the line is cut: the line is one row of the panel
    char folder[kEntryNameSize];
    snprintf(folder, sizeof folder, "%.*s", kEntryNameSize - 1, e.randomFolder);
    if (folder[0] && range) snprintf(out.detail, sizeof out.detail, "/%s, Diff: %d - %d", folder, a, b);
    else if (folder[0]) snprintf(out.detail, sizeof out.detail, "/%s, Diff: %d", folder, a);
    else if (range) snprintf(out.detail, sizeof out.detail, "Difficulty: %d - %d", a, b);
    else snprintf(out.detail, sizeof out.detail, "Difficulty: %d", a);
    if (range && e.levelMin == e.levelMax) snprintf(out.level, sizeof out.level, "x %d", (int)e.levelMin);
    return;
  }
  const char* selector = e.selector == SELECT_BEST ? "BEST" : e.selector == SELECT_WORST ? "WORST" : nullptr;
  if (e.song < 0 || e.song >= (int)g_songs.size()) {
    // a BEST n or WORST n entry with no song to stand for (no song has been played in the style)
    snprintf(out.name, sizeof out.name, "%s %d", selector ? selector : "?", (int)e.bestIndex);
    return;
  }
  const SongEntry& s = g_songs[e.song];
  snprintf(out.name, sizeof out.name, "%.*s", kEntryNameSize - 1,
           s.hasDisplayTitle && s.displayTitle[0] ? s.displayTitle : s.title);
  if (selector) snprintf(out.detail, sizeof out.detail, "%s %d", selector, (int)e.bestIndex);
  int slot = styleBase + e.difficulty;
  if (e.difficulty < 4 && slot >= 0 && slot < kChartSlots && s.levels[slot] > 0)
    snprintf(out.level, sizeof out.level, "x %d", (int)s.levels[slot]);
}

const char* CourseEntry_DifficultyName(int difficulty) {
  return difficulty >= 0 && difficulty < 4 ? kDifficultyNames[difficulty] : "";
}

void CourseResult_Line(const Result& r, char* out, int size) {
  if (!out || size <= 0) return;
  out[0] = 0;
  if (!resultStored(r)) return;
  uint32_t ms = r.bestB;
  snprintf(out, (size_t)size, "Stg. %d   %3.1f%%   %02d:%02d:%03d", (int)r.bestC, r.bestA / 10.0, (int)(ms / 60000),
           (int)(ms / 1000 % 60), (int)(ms % 1000));
}

Result CourseResult_Machine(const Course& k, int styleKey) {
  if (k.recordIndex < 0 || k.recordIndex >= (int)g_records.records.size()) return Result{};
  return findResult(g_records, k.recordIndex, styleKey, 0);
}

Result CourseResult_Player(const Course& k, int player, int styleKey) {
  if (player < 0 || player > 1 || !g_playerRecords[player]) return Result{};
  // the key the machine's record has; a course without one has no record anywhere
  if (k.recordIndex < 0 || k.recordIndex >= (int)g_records.records.size()) return Result{};
  const SongRecord& machine = g_records.records[k.recordIndex];
  char key[sizeof machine.key + 1];
  snprintf(key, sizeof key, "%.*s", (int)sizeof machine.key, machine.key);
  RecordTable& t = *g_playerRecords[player];
  int r = findRecord(t, key);
  return r >= 0 ? findResult(t, r, styleKey, 0) : Result{};
}

int CourseList_Scroll(int overflow, uint32_t elapsedMs) {
  if (overflow <= 0) return 0;
  int speed = std::max(kListMinSpeed, (int)(((int64_t)overflow * 1000 + kListLongestMs - 1) / kListLongestMs));
  uint32_t down = (uint32_t)((int64_t)overflow * 1000 / speed);
  uint32_t t = elapsedMs % (kListRestMs + down + kListRestMs);
  if (t < kListRestMs) return 0;
  t -= kListRestMs;
  if (t >= down) return overflow;
  return (int)((int64_t)t * speed / 1000);
}
