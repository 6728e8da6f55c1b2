#include "library/courses.h"
#include "platform/log.h"
#include "chart/chart_text.h"
#include "library/settings.h"
#include "library/song_list.h"
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <strings.h>

namespace {
struct Word {
  const char* word;
  uint8_t value;
  const char* text;   // display text; "%s" stands for the text so far
};

// Each group: the first listed word found anywhere in the field wins.
const Word kFilterWords[] = {{"LITTLE", 1, "LITTLE,"}, {"FLAT", 2, "FLAT,"}, {"SOLO", 3, "SOLO,"},
                             {"CLASSICAL", 4, "ALTETERNATE,"}};
const Word kTurnWords[] = {{"LEFT", 1, "LEFT,"}, {"MIRROR", 2, "MIRROR,"}, {"RIGHT", 3, "RIGHT,"},
                           {"SHUFFLE", 4, "SHUFFLE,"}};
const Word kAppearanceWords[] = {{"HIDDEN", 1, "HIDDEN,"}, {"SUDDEN", 2, "SUDDEN,"}, {"STEALTH", 3, "STEALTH,"}};
const Word kReverseWords[] = {{"REVERSE", 1, "REVERSE,"}};
const Word kSpeedWords[] = {{"1.5x", 1, "1.5x,"},   {"2.0x", 2, "2x,"},    {"3.0x", 3, "3x,"},
                            {"4.0x", 4, "4x,"},     {"5.0x", 5, "5x,"},    {"8.0x", 6, "8x,"},
                            {"0.25x", 7, "0.25x,"}, {"0.5x", 8, "0.5x,"}, {"0.75x", 9, "0.75x,"}};
const Word kFreezeWords[] = {{"NOFREEZE", 1, "NOFREEZE,"}};
// BRAKE carries a comma like every other name, so that the last-comma cut and
// the names after it stay whole.
const Word kScrollWords[] = {{"BRAKE", 2, "BRAKE,"}, {"BOOST", 1, "BOOST,"}, {"WAVE", 3, "WAVE,"}};
const Word kLifeWords[] = {{"POWER-DROP", 1, "POWER DROP,"}, {"DEATH", 2, "DEATH,"}};
const Word kDarkWords[] = {{"DARK", 1, "DARK,"}};
const Word kRandomWords[] = {{"1RANDOM", 1, "1 RANDOM,"}, {"2RANDOM", 2, "2 RANDOM,"}, {"3RANDOM", 3, "3 RANDOM,"},
                             {"4RANDOM", 4, "4 RANDOM,"}, {"5RANDOM", 5, "5 RANDOM,"}, {"6RANDOM", 6, "6 RANDOM,"},
                             {"7RANDOM", 7, "7 RANDOM,"}};

template <size_t N>
uint8_t matchGroup(std::string_view field, const Word (&words)[N], std::string& text) {
  for (const Word& w : words)
    if (field.find(w.word) != std::string_view::npos) {
      text += w.text;
      return w.value;
    }
  return 0;
}

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

std::string_view trim(std::string_view s) {
  while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
  return s;
}

template <size_t N>
void copyText(char (&field)[N], std::string_view s) {
  size_t n = std::min(s.size(), N - 1);
  if (n) memcpy(field, s.data(), n);  // an empty view may have no data at all
  field[n] = 0;
}

bool startsWith(std::string_view s, std::string_view p) { return s.substr(0, p.size()) == p; }

bool equalNoCase(std::string_view a, const char* b) {
  size_t n = strlen(b);
  return a.size() == n && strncasecmp(a.data(), b, n) == 0;
}

// The value of a tag: the text after it up to its ";" or the end of the line.
std::string_view tagValue(std::string_view line, size_t start) { return trim(ChartText_Value(line, start)); }

// Index of `folder` in the group folder list (matched without regard to case), or -1.
int findGroup(std::string_view folder) {
  std::string f(folder);
  auto less = [](const std::string& a, const std::string& b) { return strcasecmp(a.c_str(), b.c_str()) < 0; };
  auto it = std::lower_bound(g_groupList.begin(), g_groupList.end(), f, less);
  if (it == g_groupList.end() || strcasecmp(it->c_str(), f.c_str()) != 0) return -1;
  return (int)(it - g_groupList.begin());
}

// Songs of each group folder, so that a named song is found without walking the
// whole library for every course line. Built for one loadCourses run.
struct SongLookup {
  std::vector<std::vector<int>> byGroup;   // parallel to g_groupList
};
const SongLookup* g_lookup = nullptr;

bool songMatches(const SongEntry& e, std::string_view song) {
  return equalNoCase(song, e.title) || equalNoCase(song, e.folder);
}

// The first song of `folder` whose title or song folder is `song`, or -1.
int findSong(std::string_view folder, std::string_view song) {
  int g = findGroup(folder);
  if (g < 0) return -1;
  if (g_lookup && g < (int)g_lookup->byGroup.size()) {
    for (int s : g_lookup->byGroup[g])
      if (songMatches(g_songs[s], song)) return s;
    return -1;
  }
  for (size_t s = 0; s < g_songs.size(); s++)
    if (equalNoCase(folder, g_songs[s].group) && songMatches(g_songs[s], song)) return (int)s;
  return -1;
}

bool groupHasSong(int g) {
  if (g < 0) return false;
  if (g_lookup && g < (int)g_lookup->byGroup.size()) return !g_lookup->byGroup[g].empty();
  for (const SongEntry& e : g_songs)
    if (strcasecmp(e.group, g_groupList[g].c_str()) == 0) return true;
  return false;
}

int clampLevel(int v) { return v < 1 ? 1 : v > 99 ? 99 : v; }

// A difficulty word, else (for a random pick) a level "a" or range "a..b".
void randomDifficulty(std::string_view field, CourseEntry& e) {
  int d = Course_DifficultyWord(field);
  if (d >= 0) {
    e.difficulty = (uint8_t)d;
    return;
  }
  e.difficulty = kDifficultyRange;
  int a = clampLevel(ChartText_Integer(field));
  int b = a;
  size_t dots = field.find("..");
  if (dots != std::string_view::npos) b = std::max(a, clampLevel(ChartText_Integer(field.substr(dots + 2))));
  e.levelMin = a;
  e.levelMax = b;
}

void logRandom(const CourseEntry& e, bool fromFolder) {
  WriteLog(fromFolder ? "RANDOM (from folder): " : "RANDOM: ");
  WriteLog(fromFolder ? e.randomFolder : "*");
  WriteLog(", ");
  if (e.difficulty == kDifficultyRange)
    WriteLog("(range)\n");
  else
    WriteLogf("(deslevel=%d)\n", e.difficulty);
}

void defaults(CourseEntry& e) {
  memset(&e, 0, sizeof e);
  e.song = -1;
  e.group = -1;
  e.bestIndex = 1;
  e.levelMin = 1;
  e.levelMax = 10;
  e.award = kNoAward;
}
}  // namespace

CourseLookupScope::CourseLookupScope() {
  auto* l = new SongLookup;
  l->byGroup.assign(g_groupList.size(), {});
  for (size_t s = 0; s < g_songs.size(); s++) {
    int g = findGroup(g_songs[s].group);
    if (g >= 0) l->byGroup[g].push_back((int)s);
  }
  g_lookup = l;
}

CourseLookupScope::~CourseLookupScope() {
  delete g_lookup;
  g_lookup = nullptr;
}

int Course_FindGroup(std::string_view folder) { return findGroup(folder); }

int Course_DifficultyWord(std::string_view f) {
  auto has = [&](const char* w) { return f.find(w) != std::string_view::npos; };
  if (has("TRICK") || has("ANOTHER") || has("STANDARD")) return 1;
  if (has("SMANIAC")) return 3;
  if (has("MANIAC") || has("HEAVY")) return 2;
  if (has("LIGHT") || has("BASIC")) return 0;
  return -1;
}

void Course_ParseModifiers(std::string_view field, CourseEntry& e) {
  std::string text;
  e.arrowFilter = matchGroup(field, kFilterWords, text);
  e.turn = matchGroup(field, kTurnWords, text);
  e.appearance = matchGroup(field, kAppearanceWords, text);
  e.reverse = matchGroup(field, kReverseWords, text);
  e.speed = matchGroup(field, kSpeedWords, text);
  e.noFreeze = matchGroup(field, kFreezeWords, text);
  e.scroll = matchGroup(field, kScrollWords, text);
  e.life = matchGroup(field, kLifeWords, text);
  e.dark = matchGroup(field, kDarkWords, text);
  e.randomArrows = matchGroup(field, kRandomWords, text);
  size_t a = field.find("AWARD");
  e.award = kNoAward;
  if (a != std::string_view::npos) {
    std::string_view rest = field.substr(a + 5);
    if (!rest.empty() && rest[0] >= '0' && rest[0] <= '9') e.award = (uint8_t)std::min(ChartText_Integer(rest), 254);
  }
  if (!text.empty()) text.pop_back();   // the last comma
  copyText(e.modifierText, text);
  e.hasModifiers = !text.empty();
}

void CourseEntry_Options(const CourseEntry& e, uint8_t out[9]) {
  out[0] = e.speed;
  out[1] = e.scroll;
  out[2] = e.appearance;
  out[3] = e.turn;
  out[4] = e.arrowFilter;
  out[5] = e.dark;
  out[6] = e.reverse;
  out[7] = e.noFreeze;
  out[8] = e.life;
}

bool Course_ParseEntry(std::string_view value, CourseEntry& e) {
  defaults(e);
  std::string v(value);
  std::replace(v.begin(), v.end(), '\\', ':');
  std::vector<std::string_view> f;
  std::string_view rest(v);
  for (;;) {
    size_t cut = rest.find_first_of(":;");
    f.push_back(trim(rest.substr(0, cut)));
    if (cut == std::string_view::npos) break;
    rest.remove_prefix(cut + 1);
  }
  auto field = [&](size_t i) { return i < f.size() ? f[i] : std::string_view(); };
  std::string_view f0 = field(0);
  if (f0.empty()) {
    WriteLog("- Empty #SONG: line ignored\n");
    return false;
  }
  if (startsWith(f0, "BEST") || startsWith(f0, "WORST")) {
    bool best = startsWith(f0, "BEST");
    e.selector = best ? SELECT_BEST : SELECT_WORST;
    // BEST 0 would point before the first song of the list
    e.bestIndex = std::max(1, ChartText_Integer(f0.substr(best ? 4 : 5)));
    e.difficulty = (uint8_t)std::max(0, Course_DifficultyWord(field(1)));
    Course_ParseModifiers(field(2), e);
    WriteLogf(best ? "BEST: %d\n" : "WORST: %d\n", e.bestIndex);
    return true;
  }
  if (f0 == "*") {
    e.random = 1;
    randomDifficulty(field(1), e);
    Course_ParseModifiers(field(2), e);
    logRandom(e, false);
    return true;
  }
  std::string_view f1 = field(1);
  if (f1 == "*") {
    e.random = 1;
    copyText(e.randomFolder, f0);
    e.group = findGroup(f0);
    if (!groupHasSong(e.group)) {
      WriteLogf("- No songs in folder %s\n", e.randomFolder);
      return false;
    }
    randomDifficulty(field(2), e);
    Course_ParseModifiers(field(3), e);
    logRandom(e, true);
    return true;
  }
  int s = f1.empty() ? -1 : findSong(f0, f1);
  if (s < 0) {
    std::string a(f0), b(f1);
    WriteLogf("- Could not find song %s\\%s\n", a.c_str(), b.c_str());
    return false;
  }
  e.song = s;
  e.group = findGroup(g_songs[s].group);
  e.difficulty = (uint8_t)std::max(0, Course_DifficultyWord(field(2)));
  Course_ParseModifiers(field(3), e);
  return true;
}

void Course_Defaults(Course& c) {
  memset(&c, 0, sizeof c);
  c.lives = 4;
  c.comboMode = g_settings.comboType ? 2 : 1;   // the settings' combo type + 1
  c.recordIndex = -1;
  c.index = 0;
}

int Course_ParseText(std::string text, Course& c) {
  ChartText_Prepare(text);
  bool full = false;
  std::string_view all(text);
  while (!all.empty()) {
    size_t nl = all.find('\n');
    std::string_view line = all.substr(0, nl);
    all.remove_prefix(nl == std::string_view::npos ? all.size() : nl + 1);
    size_t p;
    if ((p = ChartText_FindValue(line, "#COURSE:")) != std::string_view::npos) copyText(c.name, tagValue(line, p));
    if ((p = ChartText_FindValue(line, "#DISPLAYCOURSE:")) != std::string_view::npos) {
      copyText(c.displayName, tagValue(line, p));
      c.hasDisplay = 1;
    }
    if (line.find("#COMBOMODE:1;") != std::string_view::npos) c.comboMode = 1;
    if (line.find("#COMBOMODE:2;") != std::string_view::npos) c.comboMode = 2;
    if (line.find("#COMBO:PERFECT") != std::string_view::npos) c.comboPerfect = 1;
    if (line.find("#REPEAT:YES;") != std::string_view::npos) c.repeat = 1;
    if (line.find("#RANDOMIZE:YES;") != std::string_view::npos) c.randomize = 1;
    if ((p = ChartText_FindValue(line, "#LIVES:")) != std::string_view::npos) {
      // a course without a life to lose would end before its first step
      c.lives = std::clamp(ChartText_Integer(line.substr(p)), 1, 10);
      c.livesSet = 1;
    }
    if ((p = ChartText_FindValue(line, "#SONG:")) != std::string_view::npos) {
      if (c.entryCount >= kMaxCourseEntries) {
        if (!full) WriteLogf("- More than %d songs in this course; the rest are left out\n", kMaxCourseEntries);
        full = true;
        continue;
      }
      if (Course_ParseEntry(line.substr(p), c.entries[c.entryCount])) c.entryCount++;
    }
  }
  return c.entryCount;
}
