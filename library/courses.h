#pragma once
// Nonstop courses: the ".crs" files in the folders of "Courses", and the two bonus
// (extra stage) files "bonus-1.crs" and "bonus-2.crs" beside the program. Each file
// becomes one Course of up to 64 entries; a course that is not a bonus file is
// linked to its record "COURSE|<name>" in the machine records.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

constexpr int kMaxCourses = 512;        // more course files are not read (logged)
constexpr int kMaxCourseEntries = 64;   // more "#SONG:" lines are not taken (logged)
constexpr int kCourseTextSize = 256;
constexpr int kCourseModifierTextSize = 128;
constexpr long long kMaxCourseFileBytes = 4 << 20;  // a course file is a few lines; bigger ones are not read

enum CourseSelector : uint8_t { SELECT_NAMED = 0, SELECT_BEST = 1, SELECT_WORST = 2 };
constexpr uint8_t kDifficultyRange = 255;   // a random entry that asks for a level range
constexpr uint8_t kNoAward = 255;

struct CourseEntry {
  int32_t song;            // index in g_songs; -1 for random picks and unresolved BEST/WORST
  int32_t group;           // index in g_groupList of the song's or the pick's folder, -1 none
  uint8_t selector;        // CourseSelector
  int32_t bestIndex;       // n of BEST n / WORST n, at least 1
  uint8_t random;          // a random pick
  char randomFolder[kCourseTextSize];  // group folder of a folder pick, "" for the whole library
  uint8_t difficulty;      // 0..3, or kDifficultyRange
  int32_t levelMin, levelMax;          // the level range of a range pick (default 1 and 10)
  uint8_t randomArrows;    // "1RANDOM".."7RANDOM": random modifiers to add, 0..7
  char modifierText[kCourseModifierTextSize];
  uint8_t hasModifiers;
  // the modifier values, in the groups of the course syntax
  uint8_t arrowFilter, turn, appearance, reverse, speed, noFreeze;
  uint8_t scroll;          // BOOST 1, BRAKE 2, WAVE 3
  uint8_t life;            // POWER-DROP 1, DEATH 2
  uint8_t dark;
  uint8_t award;           // "AWARD" n, kNoAward when absent
};

struct Course {
  char name[kCourseTextSize];         // "#COURSE:"
  char folder[kCourseTextSize];       // folder under "Courses"; "BONUS" for a bonus file
  char fileName[kCourseTextSize];     // the file name cut at its first "."
  char displayName[kCourseTextSize];  // "#DISPLAYCOURSE:"
  uint8_t hasDisplay;
  uint8_t repeat, randomize;
  uint8_t livesSet;
  int32_t lives;                      // default 4, at most 10
  uint8_t comboMode;                  // 1 or 2
  uint8_t comboPerfect;
  uint8_t valid;                      // the file was read
  int32_t index;                      // position in g_courses; -1 and -2 for the bonus files
  int32_t entryCount;
  CourseEntry entries[kMaxCourseEntries];
  int32_t recordIndex;                // in g_records, -1 none (bonus files have none)
  uint32_t colour;                    // the wheel colour, set by the course collection
};

extern std::vector<Course> g_courses;            // sorted by name without regard to case
extern std::vector<std::string> g_courseFolders; // folders under "Courses" that hold a loaded course
extern Course g_bonusCourses[2];                 // bonus-1 and bonus-2; valid with entries when loaded

// The course's key in the records: "COURSE|<name>", cut to the key's field.
std::string Course_RecordKey(const Course& c);
// Reads every "Courses/<folder>/*.crs"; returns the number of courses kept.
int loadCourses();
// Reads "bonus-1.crs", and "bonus-2.crs" only when the first one has entries.
void loadBonusCourses();
// One file: "Courses/<folder>/<fileName>", or "<fileName>" beside the program when
// `index` is negative (a bonus file). 1 when the course has entries.
int readCourse(const char* folder, const char* fileName, Course& course, int index);

// --- the pieces of the reader, for the tests and the fuzz target ---

// Defaults of a course before its file is read.
void Course_Defaults(Course& c);
// Applies the tags of a whole course text to `c` (entries resolved against
// g_songs and g_groupList). Returns the number of entries.
int Course_ParseText(std::string text, Course& c);
// One "#SONG:" value (the text after the tag). False when it resolves to no entry.
bool Course_ParseEntry(std::string_view value, CourseEntry& e);
// The modifier field of an entry: values, modifier text and award.
void Course_ParseModifiers(std::string_view field, CourseEntry& e);
// While one lives, named songs are looked up through an index of each folder's
// songs (built once) rather than by walking the whole library per line.
struct CourseLookupScope {
  CourseLookupScope();
  ~CourseLookupScope();
  CourseLookupScope(const CourseLookupScope&) = delete;
  CourseLookupScope& operator=(const CourseLookupScope&) = delete;
};
// Index of a group folder in g_groupList (without regard to case), or -1.
int Course_FindGroup(std::string_view folder);
// The difficulty words: 0..3, or -1 when the field holds none of them.
int Course_DifficultyWord(std::string_view field);
// The nine modifier values in the order of the modifier rows: speed, effect (the
// course's BOOST/BRAKE/WAVE), appearance, turn, other (arrow filter), dark, scroll
// (REVERSE), freeze arrows, power (the course's life group).
void CourseEntry_Options(const CourseEntry& e, uint8_t out[9]);

// The random pick of a course entry: a uniformly chosen song among the songs of
// the style (`styleMask` 1 SINGLE, 2 DOUBLE, 4 SOLO) that have a chart at the
// entry's difficulty, or one in its level range among the first `difficultyCount`
// difficulties, from the entry's folder when it names one. False when no song fits.
bool Course_PickRandomSong(const CourseEntry& e, int styleMask, int difficultyCount, int& song, int& difficulty);
// Whether song `s` fits entry `e`; the fitting difficulties are written to `diffs`.
int Course_FittingDifficulties(int s, const CourseEntry& e, int styleMask, int difficultyCount, int diffs[4]);
// Chart table offset of a style mask: 0 SINGLE, 4 DOUBLE, 11 SOLO.
int Course_StyleBase(int styleMask);
// Picks one of the fitting difficulties of song `s` (uniform).
int Course_ChooseDifficulty(int s, const CourseEntry& e, int styleMask, int difficultyCount);
