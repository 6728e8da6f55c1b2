#pragma once
// Song collections: what the song wheel and the course wheel browse. A collection
// is an ordered table of groups (folders, genres, letters, or one BPM or Player's
// Best list), each holding its songs or courses in display order, built from the
// song table by the current sort method, the grouping source ("Sort By"), the
// current style and the stage. It is rebuilt in place; the selection survives a
// rebuild through the song that was selected before it.
#include "library/records.h"
#include "library/song_entry.h"
#include <cstdint>
#include <vector>

struct CourseEntry;
struct Player;

// Songs (or courses) one group holds; more are cut (logged). Packs of a few
// thousand songs in one folder are common: they must all reach the wheel. A
// group costs 18 bytes per place, about 150 KB, for each folder or genre.
constexpr int kGroupEntries = 8192;
constexpr int kMaxListGroups = 1024;    // folder or genre groups; more folders or genres are cut (logged)
constexpr int kMaxGroups = kMaxListGroups + 10;
constexpr int kOverrideBytes = 10;      // forced difficulty, then the nine modifier values
constexpr int kLabelSize = 256;
constexpr int kCaptionSize = 64;

enum SortMethod : uint8_t {
  SORT_ALL_MUSIC = 0,       // one inline group per folder or genre
  SORT_ALL_SEPARATED = 1,   // one folder per folder or genre
  SORT_DIFFICULTY = 2,      // as 1, each folder sorted by the difficulty key
  SORT_TITLE = 3,           // 37 letter folders
  SORT_ARTIST = 4,          // 37 letter folders
  SORT_BPM = 5,             // one list "(BPM)"
  SORT_BEST = 6,            // one list "(Player's Best)", most played first
  SORT_COUNT = 7
};

enum GroupState { GROUP_INLINE = 0, GROUP_CLOSED = 1, GROUP_OPEN = 2 };
enum RestoreMode { RESTORE_NONE = 0, RESTORE_SONG = 1, RESTORE_POSITION = 2 };
enum { ENTRY_FOLDER_ITEM = -1, ENTRY_NONE_YET = -2 };

struct CollectionGroup {
  char label[kLabelSize];                       // may hold "\n(%d songs)"
  int32_t songs[kGroupEntries];                 // indices in g_songs; -1 for the roulette item
  int32_t courses[kGroupEntries];               // indices in g_courses (course collection only)
  uint8_t overrides[kGroupEntries][kOverrideBytes];  // parallel to songs (extra stages)
  int32_t count;
  int32_t state;                                // GroupState
  uint32_t colour;                              // 0xRRGGBB of the folder item
};

struct Collection {
  std::vector<CollectionGroup> groups;          // the table; it grows to the most groups a build needed
  int32_t groupCount = 0;
  char caption[kCaptionSize] = "";
  int32_t selectedGroup = 0;
  int32_t selectedIndex = ENTRY_NONE_YET;       // -1 the folder item, -2 nothing chosen yet
  int32_t rememberedSong = -1;                  // the song selected before the last build
  int32_t restoreMode = RESTORE_NONE;
  bool found = false;                           // the remembered song was placed again
};

// "/showsm": songs whose only chart of the style is SMANIAC are offered outside
// extra stages too. Set at start-up.
extern bool g_collectionShowSM;

extern Collection g_collection;                 // the song wheel's; its selected group is g_settings.folderIndex
extern Collection g_courseCollection;           // the course wheel's
extern char g_currentFolder[2][kLabelSize];     // per player: the folder they are in, " " for none
// The records of each player's loaded profile, or null: set by profile select.
extern RecordTable* g_playerRecords[2];

// filterMode 0 takes every song; 1 only songs with a chart in the current style;
// 2 as 1 and reopens the player's current folder. `openLabel` (cut at its first
// line break) names a folder to build open. `keepPosition` 1: without a song to
// restore nothing is restored. `stage` past "Max Stage" (when below 6) builds an
// extra stage. `limit` bounds "Player's Best" (0 keeps all). Returns 1.
int BuildCollection(int filterMode, const char* openLabel, int keepPosition, int stage, int limit);
// The course wheel's collection, with five spacer groups at each end. With
// `checkStyle` courses that cannot be played in the current style are left out
// (logged). Returns the number of courses placed.
int BuildCourseCollection(bool checkStyle);
// Fills the BEST n and WORST n entries of every course and bonus course from the
// Player's Best order of the current style. Returns 1.
int ResolveBestCourseEntries();
// Resolves the best entries, then counts the courses playable in SINGLE, DOUBLE
// and SOLO (`counts` may be null). Returns the sum.
int DetermineAvailableCourses(int counts[3]);
// Start of a game: current sort from "Default Sort Method" (selected group 0 when
// above 4), both current folders " ", nothing selected.
void Collection_NewGame();

// --- pieces of the build, for the wheel and the tests ---

struct CollectionStyle {
  int base;     // chart table offset: 0, 4 DOUBLE, 11 SOLO
  int group;    // play counter group: 0 SINGLE, 1 other styles, 2 SOLO
  int mask;     // 1 SINGLE, 2 DOUBLE, 4 SOLO
  bool solo;
};
// The style of the first active player (player 1 when none is).
CollectionStyle Collection_CurrentStyle();
// The style of one player record.
CollectionStyle Collection_StyleOf(const Player& p);
const char* SortMethod_Name(int method);        // the options menu's names
// The caption of a sort method for the grouping source `sortBy` (0 genre, 1 folder).
const char* SortMethod_Caption(int method, int sortBy);
// 'A'..'Z', '0'..'9' or '?' for the first character of `text`; 0 for an empty text.
char Collection_Letter(const char* text);
// The difficulty sort key: rating x 1000 plus the weighted radar sum.
double Collection_DifficultyKey(const SongEntry& e, int base, int difficulties, int defaultDifficulty);
// Songs in Player's Best order: shuffled, then by the play counter of `styleGroup`,
// most played first (equal counts in random order).
void Collection_BestOrder(std::vector<int>& songs, int styleGroup);
int64_t Collection_PlayCount(const SongEntry& e, int styleGroup);
// The song at the selection, or -1.
int Collection_SelectedSong(const Collection& c);
// The current-folder label of the player driving the wheel.
const char* Collection_CurrentFolder();
// Labels compared up to their first line break.
bool Collection_LabelsEqual(const char* a, const char* b);
// The random pick of a course entry among the songs of the collection outside
// group `exceptGroup`: a uniformly chosen song that fits the entry, its first
// place (group, index) and one fitting difficulty. False when none fits.
bool Collection_PickRandom(const Collection& c, const CourseEntry& e, int styleMask, int difficultyCount,
                           int exceptGroup, int& group, int& index, int& difficulty);
// Grows the table to hold `n` groups (at most kMaxGroups).
void Collection_Reserve(Collection& c, int n);
