#pragma once
// What the records browser decides, apart from its drawing and its files: the
// levels a player walks through, the list of each level with its cursor and the
// window of rows in view, and the confirmation of a reset. Functions over the
// browser's state, the song table, the group list, the courses and the profiles.
//
// The levels, each one list that ends with "Return":
//   table    "Select Profile...": "No User/System" (the machine's records) and
//            each profile (its own records, read when it is chosen)
//   style    "Single", "Double", "Solo", and "Reset All" for the whole table
//   folders  the folders of the song list that hold songs of the style, each
//            "(n Songs)", then "[NONSTOP COURSES]" when there are courses
//   songs    the songs of one folder with their results per difficulty
//   courses  the courses with their results in the style
// Up/Down move (wrapping at the ends), Left/Right move a page (not wrapping),
// Start chooses, Escape goes back a level and out from the first. Start on a
// song or course that has results asks to reset them; on one without, it is
// refused. The confirmation offers "Reset" (or "Reset All") and "Return", with
// "Return" under the cursor, so a hurried Start never clears anything.
#include "library/records.h"
#include <cstdint>
#include <vector>

enum RecordsLevel { RLEVEL_TABLE, RLEVEL_STYLE, RLEVEL_FOLDERS, RLEVEL_SONGS, RLEVEL_COURSES, RLEVEL_COUNT };

enum RecordsItemKind {
  RITEM_TABLE,      // index: -1 the machine's table, else the profile in g_profiles
  RITEM_STYLE,      // index: 0 Single, 1 Double, 2 Solo
  RITEM_FOLDER,     // index: in g_groupList; count: its songs of the style
  RITEM_COURSES,    // "[NONSTOP COURSES]"; count: the courses
  RITEM_SONG,       // index: in g_songs
  RITEM_COURSE,     // index: in g_courses
  RITEM_RESET_ALL,
  RITEM_RETURN,
};

struct RecordsItem {
  int kind = RITEM_RETURN;
  int index = 0;
  int count = 0;
};

struct RecordsList {
  std::vector<RecordsItem> items;
  int cursor = 0;
  int top = 0;      // the first row in view
};

// The styles of the records: the chart table's first slot and difficulties, the
// style code the results are stored under (the player's panels) and the
// profile's statistics group.
struct RecordsStyle {
  const char* name;
  int base;
  int difficulties;
  int styleKey;
  int statsGroup;
};
extern const RecordsStyle kRecordsStyles[3];

enum RecordsConfirmKind { RCONFIRM_NONE, RCONFIRM_RESET, RCONFIRM_RESET_ALL };

struct RecordsConfirm {
  int kind = RCONFIRM_NONE;
  RecordsItem item;          // the song or course to reset
  bool onReset = false;      // the cursor is on "Reset" / "Reset All" (else on "Return")
};

struct RecordsBrowse {
  int level = RLEVEL_TABLE;
  int table = -1;            // -1 the machine's, else the profile in g_profiles
  int style = 0;
  int folder = -1;           // the open folder, in g_groupList
  int rows = 12;             // rows of a list in view
  RecordsList lists[RLEVEL_COUNT];   // each level keeps its cursor for the way back
  RecordsConfirm confirm;
  // the songs of each folder of g_groupList in the chosen style, in title order
  std::vector<std::vector<int>> folderSongs;
};

enum RecordsAction {
  RACT_NOTHING,
  RACT_MOVED,        // the cursor moved
  RACT_ENTERED,      // a level down (or the confirmation opened)
  RACT_OPEN_TABLE,   // the table was chosen: the screen reads it, and the style level shows
  RACT_CLOSE_TABLE,  // back from the style level: the screen frees a profile's table
  RACT_BACK,         // a level up
  RACT_REFUSED,      // nothing to reset
  RACT_LEAVE,        // out of the browser
  RACT_CONFIRM_MOVED,
  RACT_CANCELLED,    // the confirmation closed on "Return"
  RACT_RESET,        // the confirmation chose the reset: the screen clears and writes
};

// The state on entry: the table level over "No User/System" and `profileCount` profiles.
void RecordsBrowse_Begin(RecordsBrowse& b, int profileCount, int rows);
// The list of the current level.
RecordsList& RecordsBrowse_List(RecordsBrowse& b);
const RecordsItem* RecordsBrowse_Current(const RecordsBrowse& b);
// One frame's menu input (player 2's controls folded into player 1's); `table`
// is the table shown, null before one is chosen.
RecordsAction RecordsBrowse_Press(RecordsBrowse& b, uint32_t input, const RecordTable* table);

// The name of a table: "No User/System" for the machine's, else the profile's.
const char* RecordsBrowse_TableName(int table);
// A song's title (its folder when it has none) or a course's name; "" for other items.
const char* RecordsBrowse_ItemName(const RecordsItem& item);
// The confirmation's question, "Reset the records of <song>?" or "Reset all the
// records of <table>?", and its second line, which says what goes.
void RecordsBrowse_Question(const RecordsBrowse& b, char* question, size_t qSize, char* detail, size_t dSize);

// The results of a table in one style: how many songs and courses have one, and
// how many of those results have each grade (grades[1] AAA .. grades[7] E).
struct RecordsTally {
  int songs = 0;
  int courses = 0;
  int grades[8] = {};
};
// Over the songs given; without them over every record of the table, or with
// `courses` over the courses of the course list alone.
RecordsTally RecordsBrowse_Tally(const RecordTable& t, int styleKey, const std::vector<int>* songs, bool courses);

// --- the pieces, for the screen and the tests ---
// Moves the cursor by `delta` rows: wrapping for a single step, stopping at the
// ends for a page. Keeps the cursor in view. True when it moved.
bool RecordsList_Move(RecordsList& l, int delta, int rows);
// The window of rows in view that holds the cursor: `top` moves as little as it
// must, and never leaves rows empty below the last item when there are more
// items than rows.
void RecordsList_Scroll(RecordsList& l, int rows);
// The songs of each group of g_groupList (compared without regard to case) that
// have a chart in the style, in song-table (title) order.
void RecordsBrowse_FolderSongs(int style, std::vector<std::vector<int>>& out);
// Fills the list of `level` from the state (its cursor is put back at the top).
void RecordsBrowse_Build(RecordsBrowse& b, int level);
// The records key of a song or course item ("group\folder", "COURSE|name").
bool RecordsBrowse_Key(const RecordsItem& item, char* out, size_t size);
// A table's index of a key, without marking the record used; -1 none.
int RecordsBrowse_Find(const RecordTable& t, const char* key);
