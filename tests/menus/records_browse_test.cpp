// The records browser's decisions without its screen: the levels and their
// lists, cursor moves and the window of rows in view, the confirmation, what a
// reset clears (read back from the files field by field), and the texts of its
// record lines.
#include "library/profiles.h"
#include "media/input/input.h"
#include "menus/records_browse.h"
#include "menus/records_reset.h"
#include "menus/records_text.h"
#include "platform/files.h"
#include "records_test_util.h"
#include "support/game_library.h"
#include "support/test_support.h"
#include <gtest/gtest.h>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <unistd.h>

namespace {
std::vector<int> ints(std::initializer_list<int> l) { return l; }

// The items of a list as kind:index pairs, for compact comparisons.
std::vector<std::pair<int, int>> itemsOf(const RecordsList& l) {
  std::vector<std::pair<int, int>> out;
  for (const RecordsItem& i : l.items) out.push_back({i.kind, i.index});
  return out;
}

class RecordsBrowseTest : public ::testing::Test {
 protected:
  TempDir dir;
  RecordsBrowse b;

  void SetUp() override {
    ResetCollectionWorld();
    // two folders, one written in another case by one song; SOLO charts on two songs only
    std::vector<int> solo(14, 0);
    solo[11] = 3;
    SetLibrary({MakeSong({"Alpha", "", "Zebra Lines", "", "", {1, 2, 3}}),
                MakeSong({"Alpha", "", "Amber", "", "", solo}),
                MakeSong({"alpha", "", "Moss", "", "", {0, 0, 0, 0, 4}}),   // DOUBLE only
                MakeSong({"Beta", "", "Cinder", "", "", solo}),
                MakeSong({"Beta", "", "Dune", "", "", {5}})});
    g_profileCount = 0;
  }
  void TearDown() override {
    ResetCollectionWorld();
    g_profileCount = 0;
  }
  RecordsAction press(uint32_t input, const RecordTable* t = &g_records) { return RecordsBrowse_Press(b, input, t); }
  int song(const char* title) { return FindSong(title); }
};

TEST_F(RecordsBrowseTest, LevelsFromTheTableDownToTheSongsAndBackKeepTheCursors) {
  ASSERT_TRUE(WriteProfiles({"ANN", "BEN"}));
  ASSERT_EQ(listProfiles(), 2);
  AddCourse("Tour", "#SONG:Alpha\\Amber:BASIC;\n");
  RecordsBrowse_Begin(b, g_profileCount, 4);
  EXPECT_EQ(itemsOf(b.lists[RLEVEL_TABLE]),
            (std::vector<std::pair<int, int>>{{RITEM_TABLE, -1}, {RITEM_TABLE, 0}, {RITEM_TABLE, 1}, {RITEM_RETURN, 0}}));
  EXPECT_STREQ(RecordsBrowse_TableName(-1), "No User/System");
  EXPECT_STREQ(RecordsBrowse_TableName(1), "BEN");

  EXPECT_EQ(press(MENU_DOWN << MENU_P2_SHIFT), RACT_MOVED) << "player 2's controls act too";
  EXPECT_EQ(press(MENU_START), RACT_OPEN_TABLE);
  EXPECT_EQ(b.level, RLEVEL_STYLE);
  EXPECT_EQ(b.table, 0);
  EXPECT_EQ(itemsOf(b.lists[RLEVEL_STYLE]),
            (std::vector<std::pair<int, int>>{{RITEM_STYLE, 0}, {RITEM_STYLE, 1}, {RITEM_STYLE, 2}, {RITEM_RESET_ALL, 0},
                                              {RITEM_RETURN, 0}}));

  // SINGLE: the folders that hold a SINGLE chart, "alpha" counted with "Alpha"
  EXPECT_EQ(press(MENU_UPRIGHT), RACT_ENTERED) << "Up-Right chooses as Start does";
  ASSERT_EQ(b.level, RLEVEL_FOLDERS);
  const RecordsList& folders = b.lists[RLEVEL_FOLDERS];
  ASSERT_EQ(folders.items.size(), 4u);
  EXPECT_EQ(folders.items[0].kind, RITEM_FOLDER);
  EXPECT_EQ(g_groupList[folders.items[0].index], "Alpha");
  EXPECT_EQ(folders.items[0].count, 1) << "Moss has no SINGLE chart, Amber only SOLO";
  EXPECT_EQ(g_groupList[folders.items[1].index], "Beta");
  EXPECT_EQ(folders.items[2].kind, RITEM_COURSES);
  EXPECT_EQ(folders.items[3].kind, RITEM_RETURN);

  press(MENU_DOWN);
  EXPECT_EQ(press(MENU_START), RACT_ENTERED);
  ASSERT_EQ(b.level, RLEVEL_SONGS);
  EXPECT_EQ(itemsOf(b.lists[RLEVEL_SONGS]),
            (std::vector<std::pair<int, int>>{{RITEM_SONG, song("Dune")}, {RITEM_RETURN, 0}}));

  EXPECT_EQ(press(MENU_ESCAPE), RACT_BACK);
  EXPECT_EQ(b.level, RLEVEL_FOLDERS);
  EXPECT_EQ(b.lists[RLEVEL_FOLDERS].cursor, 1) << "back on the folder it came from";
  press(MENU_DOWN);
  EXPECT_EQ(press(MENU_START), RACT_ENTERED);
  EXPECT_EQ(b.level, RLEVEL_COURSES);
  EXPECT_EQ(b.lists[RLEVEL_COURSES].items[0].kind, RITEM_COURSE);
  press(MENU_DOWN);
  EXPECT_EQ(press(MENU_START), RACT_BACK) << "\"Return\" goes back as Escape does";
  EXPECT_EQ(press(MENU_UPLEFT), RACT_BACK) << "Up-Left too";
  EXPECT_EQ(b.level, RLEVEL_STYLE);
  EXPECT_EQ(press(MENU_ESCAPE), RACT_CLOSE_TABLE);
  EXPECT_EQ(b.level, RLEVEL_TABLE);
  EXPECT_EQ(b.lists[RLEVEL_TABLE].cursor, 1);
  EXPECT_EQ(press(MENU_ESCAPE), RACT_LEAVE);

  // SOLO: another style, other folders and counts
  RecordsBrowse_Begin(b, 0, 4);
  press(MENU_START);
  press(MENU_DOWN);
  press(MENU_DOWN);
  press(MENU_START);
  ASSERT_EQ(b.level, RLEVEL_FOLDERS);
  EXPECT_EQ(b.style, 2);
  EXPECT_EQ(b.folderSongs[0], ints({song("Amber")}));
  EXPECT_EQ(b.folderSongs[1], ints({song("Cinder")}));
}

TEST_F(RecordsBrowseTest, CursorWrapsByOneAndStopsAtTheEndsByThePage) {
  RecordsList l;
  for (int i = 0; i < 10; i++) l.items.push_back(RecordsItem{RITEM_SONG, i, 0});
  const int rows = 4;
  EXPECT_TRUE(RecordsList_Move(l, -1, rows));
  EXPECT_EQ(l.cursor, 9) << "up from the first wraps to the last";
  EXPECT_EQ(l.top, 6) << "the last row fills the window's bottom";
  EXPECT_TRUE(RecordsList_Move(l, 1, rows));
  EXPECT_EQ(l.cursor, 0);
  EXPECT_EQ(l.top, 0);
  EXPECT_TRUE(RecordsList_Move(l, rows, rows));
  EXPECT_EQ(l.cursor, 4);
  EXPECT_EQ(l.top, 1) << "the window moves only as far as it must";
  EXPECT_TRUE(RecordsList_Move(l, rows, rows));
  EXPECT_TRUE(RecordsList_Move(l, rows, rows));
  EXPECT_EQ(l.cursor, 9) << "a page stops at the end";
  EXPECT_FALSE(RecordsList_Move(l, rows, rows));
  EXPECT_TRUE(RecordsList_Move(l, -1, rows));
  EXPECT_EQ(l.cursor, 8);
  EXPECT_EQ(l.top, 6) << "moving inside the window leaves it";
  RecordsList_Move(l, -rows, rows);
  EXPECT_EQ(l.cursor, 4);
  EXPECT_EQ(l.top, 4);
  RecordsList_Move(l, -rows, rows);
  RecordsList_Move(l, -rows, rows);
  EXPECT_EQ(l.cursor, 0);
  EXPECT_EQ(l.top, 0);

  RecordsList shortList;   // fewer items than rows: the window never moves
  for (int i = 0; i < 3; i++) shortList.items.push_back(RecordsItem{});
  RecordsList_Move(shortList, -1, rows);
  EXPECT_EQ(shortList.cursor, 2);
  EXPECT_EQ(shortList.top, 0);
  RecordsList empty;
  EXPECT_FALSE(RecordsList_Move(empty, 1, rows));
  EXPECT_EQ(empty.cursor, 0);
}

TEST_F(RecordsBrowseTest, StartOnASongAsksBeforeAResetAndOnlyWhenThereIsOne) {
  AddResult(g_records, "Beta\\Dune", {4, 1, 500000, 800, 3});
  RecordsBrowse_Begin(b, 0, 8);
  press(MENU_START);   // the machine
  RecordsItem dune{RITEM_SONG, song("Dune"), 0}, zebra{RITEM_SONG, song("Zebra Lines"), 0};
  b.level = RLEVEL_SONGS;
  b.lists[RLEVEL_SONGS].items = {zebra, dune};

  EXPECT_EQ(press(MENU_START), RACT_REFUSED) << "Zebra Lines has no record";
  EXPECT_EQ(b.confirm.kind, RCONFIRM_NONE);
  press(MENU_DOWN);
  EXPECT_EQ(press(MENU_START, nullptr), RACT_REFUSED) << "a table that could not be read offers no reset";
  EXPECT_EQ(press(MENU_START), RACT_ENTERED);
  EXPECT_EQ(b.confirm.kind, RCONFIRM_RESET);
  EXPECT_EQ(b.confirm.item.index, dune.index);
  EXPECT_FALSE(b.confirm.onReset) << "the cursor starts on \"Return\"";
  char q[300], d[100];
  RecordsBrowse_Question(b, q, sizeof q, d, sizeof d);
  EXPECT_STREQ(q, "Reset the records of Dune?");
  EXPECT_STREQ(d, "Its results in every style and difficulty.");

  EXPECT_EQ(press(MENU_DOWN), RACT_CONFIRM_MOVED) << "the list stays where it is";
  EXPECT_EQ(b.lists[RLEVEL_SONGS].cursor, 1);
  EXPECT_EQ(press(MENU_RIGHT), RACT_CONFIRM_MOVED);
  EXPECT_EQ(press(MENU_START), RACT_CANCELLED) << "Start on \"Return\"";
  EXPECT_EQ(b.confirm.kind, RCONFIRM_NONE);
  press(MENU_START);
  press(MENU_LEFT);
  EXPECT_EQ(press(MENU_ESCAPE), RACT_CANCELLED);
  EXPECT_EQ(b.level, RLEVEL_SONGS) << "Escape closes the question, not the level";
  press(MENU_START);
  press(MENU_LEFT << MENU_P2_SHIFT);
  EXPECT_TRUE(b.confirm.onReset);
  EXPECT_EQ(press(MENU_START << MENU_P2_SHIFT), RACT_RESET);
  EXPECT_EQ(b.confirm.kind, RCONFIRM_RESET) << "kept for the screen to act on";

  // "Reset All": only a table with results
  RecordsBrowse_Begin(b, 0, 8);
  press(MENU_START);
  press(MENU_UP);
  press(MENU_UP);
  ASSERT_EQ(RecordsBrowse_Current(b)->kind, RITEM_RESET_ALL);
  EXPECT_EQ(press(MENU_START), RACT_ENTERED);
  RecordsBrowse_Question(b, q, sizeof q, d, sizeof d);
  EXPECT_STREQ(q, "Reset all the records of No User/System?");
  press(MENU_ESCAPE);
  RecordTable empty;
  empty.records.push_back(Records_New("Beta\\Dune", 5));
  empty.results.emplace_back();
  EXPECT_EQ(press(MENU_START, &empty), RACT_REFUSED);
}

TEST_F(RecordsBrowseTest, TallyCountsEachSongOnceAndEveryGrade) {
  AddResult(g_records, "Beta\\Dune", {4, 0, 1, 1000, 1});
  AddResult(g_records, "Beta\\Dune", {4, 2, 1, 500, 5});
  AddResult(g_records, "Beta\\Dune", {8, 2, 1, 500, 6});         // another style
  AddResult(g_records, "Alpha\\Zebra Lines", {4, 1, 1, 950, 2});
  AddCourse("Tour", "#SONG:Alpha\\Amber:BASIC;\n");
  StoredResult tour{4, 0, 1, 900, 3};
  tour.timeMs = 60000;
  AddResult(g_records, "COURSE|Tour", tour);
  AddResult(g_records, "Gone\\Song", {4, 0, 1, 100, 7});         // a song no longer in the library

  RecordsTally all = RecordsBrowse_Tally(g_records, 4, nullptr, false);
  EXPECT_EQ(all.songs, 3);
  EXPECT_EQ(all.courses, 1);
  EXPECT_EQ(all.grades[1], 1);
  EXPECT_EQ(all.grades[5], 1);
  EXPECT_EQ(all.grades[6], 0) << "DOUBLE is another style";
  EXPECT_EQ(all.grades[7], 1);
  std::vector<int> beta = {song("Cinder"), song("Dune")};
  RecordsTally folder = RecordsBrowse_Tally(g_records, 4, &beta, false);
  EXPECT_EQ(folder.songs, 1);
  EXPECT_EQ(folder.courses, 0);
  EXPECT_EQ(folder.grades[1] + folder.grades[5], 2);
  EXPECT_EQ(folder.grades[2], 0);
  RecordsTally courses = RecordsBrowse_Tally(g_records, 4, nullptr, true);
  EXPECT_EQ(courses.songs, 0);
  EXPECT_EQ(courses.courses, 1);
  EXPECT_EQ(courses.grades[3], 1);
}

// --- resets, read back from the files ---

class RecordsResetTest : public RecordsBrowseTest {
 protected:
  RecordTable profile;
  void SetUp() override {
    RecordsBrowseTest::SetUp();
    g_songListLoaded = true;   // as in the game: a save would count the play counters down
    RecordOf(g_records, "Alpha\\Amber", 111, 40);
    AddResult(g_records, "Alpha\\Amber", {4, 0, 700000, 912, 3, 99, 1700000000, "ANN"});
    AddResult(g_records, "Alpha\\Amber", {6, 2, 650000, 880, 3, 80, 1700000500});
    RecordOf(g_records, "Beta\\Dune", 222, 7);
    AddResult(g_records, "Beta\\Dune", {4, 1, 900000, 990, 2, 150, 1700001000});
    RecordOf(g_records, "Beta\\Cinder", 333, 0);   // a record without results
    g_records.records[1].used = 0;   // not seen in this run
    ASSERT_TRUE(writeRecords(g_records));
    ASSERT_TRUE(Dir_Create("Profiles/ANN"));
    profile.profile = "ANN";
    AddResult(profile, "Alpha\\Amber", {4, 0, 700000, 912, 3, 99, 1700000000});
    ASSERT_TRUE(writeRecords(profile));
  }
  void TearDown() override {
    g_songListLoaded = false;
    RecordsBrowseTest::TearDown();
  }
  // The machine's table as the files hold it.
  RecordTable onDisk(const char* name = "") {
    RecordTable t;
    t.profile = name;
    EXPECT_TRUE(loadRecords(t));
    return t;
  }
};

TEST_F(RecordsResetTest, ResetClearsOneSongsResultsAndNotesAndNothingElse) {
  std::string profileFile = ReadFile("Profiles/ANN/rkv2-user.rec"), profileNotes = ReadFile(Notes_Path(profile));
  ASSERT_TRUE(RecordsReset_HasResults(g_records, "Alpha\\Amber"));
  EXPECT_FALSE(RecordsReset_HasResults(g_records, "Beta\\Cinder"));
  EXPECT_FALSE(RecordsReset_HasResults(g_records, "Not\\There"));
  ASSERT_TRUE(RecordsReset_Apply(g_records, "Alpha\\Amber"));

  RecordTable t = onDisk();
  ASSERT_EQ(t.records.size(), 3u) << "the record stays";
  const char* keys[3] = {"Alpha\\Amber", "Beta\\Dune", "Beta\\Cinder"};
  const int32_t firstSeen[3] = {111, 222, 333};
  const int64_t counters[3] = {40, 7, 0};   // a reset is no play: no count-down
  for (int i = 0; i < 3; i++) {
    EXPECT_STREQ(t.records[i].key, keys[i]);
    EXPECT_EQ(t.records[i].firstSeen, firstSeen[i]);
    for (int c = 0; c < 3; c++) EXPECT_EQ(t.records[i].counters[c], counters[i]) << keys[i];
  }
  EXPECT_EQ(t.records[0].used, 1);
  EXPECT_EQ(t.records[1].used, 0);
  EXPECT_TRUE(t.results[0].empty()) << "both styles of Amber";
  EXPECT_EQ(t.records[0].resultCount, 0);
  ASSERT_EQ(t.results[1].size(), 1u);
  const Result& dune = t.results[1][0];
  EXPECT_EQ(dune.styleKey, 4);
  EXPECT_EQ(dune.difficultyKey, 1);
  EXPECT_DOUBLE_EQ(dune.bestScore, 900000);
  EXPECT_EQ(dune.bestA, 990);
  EXPECT_EQ(dune.bestGrade, 2);
  EXPECT_EQ(findNote(t, "Alpha\\Amber", 4, 0).bestCombo, 0);
  EXPECT_EQ(findNote(t, "Alpha\\Amber", 6, 2).bestScoreAt, 0);
  EXPECT_EQ(findNote(t, "Beta\\Dune", 4, 1).bestCombo, 150);
  EXPECT_EQ(findNote(t, "Beta\\Dune", 4, 1).bestScoreAt, 1700001000);
  EXPECT_EQ(ReadFile("Profiles/ANN/rkv2-user.rec"), profileFile) << "another table is not touched";
  EXPECT_EQ(ReadFile(Notes_Path(profile)), profileNotes);
  EXPECT_EQ(Records_Serialize(g_records), Records_Serialize(t)) << "the table in memory is what the file holds";
}

TEST_F(RecordsResetTest, ResetAllClearsEveryResultAndNoteOfTheTableOnly) {
  std::string machineFile = ReadFile("rkv2.rec");
  ASSERT_TRUE(RecordsReset_Apply(profile, nullptr));
  EXPECT_EQ(ReadFile("rkv2.rec"), machineFile) << "the profile's reset leaves the machine's records";
  RecordTable p = onDisk("ANN");
  ASSERT_EQ(p.records.size(), 1u);
  EXPECT_TRUE(p.results[0].empty());
  EXPECT_TRUE(p.notes.empty());

  EXPECT_EQ(RecordsReset_Clear(g_records, nullptr), 3);
  ASSERT_TRUE(writeRecords(g_records));
  RecordTable t = onDisk();
  ASSERT_EQ(t.records.size(), 3u);
  for (size_t i = 0; i < 3; i++) EXPECT_TRUE(t.results[i].empty());
  EXPECT_EQ(t.records[0].counters[1], 40);
  EXPECT_EQ(t.records[2].firstSeen, 333);
  EXPECT_TRUE(t.notes.empty());
  EXPECT_EQ(ReadFile(Notes_Path(g_records)), "");
}

TEST_F(RecordsResetTest, AFileThatCannotBeWrittenKeepsTheOldFileAndTheTable) {
  std::string before = ReadFile("rkv2.rec"), notesBefore = ReadFile(Notes_Path(g_records));
  std::vector<uint8_t> tableBefore = Records_Serialize(g_records);
  std::string tmp = "rkv2.rec.tmp" + std::to_string((long)getpid());
  ASSERT_TRUE(Dir_Create(tmp));
  EXPECT_FALSE(RecordsReset_Apply(g_records, nullptr));
  EXPECT_EQ(ReadFile("rkv2.rec"), before);
  EXPECT_EQ(ReadFile(Notes_Path(g_records)), notesBefore);
  EXPECT_EQ(Records_Serialize(g_records), tableBefore);
  EXPECT_EQ(findNote(g_records, "Beta\\Dune", 4, 1).bestCombo, 150);
  std::filesystem::remove(tmp);

  // the records are written, then their notes fail: the records file goes back
  std::string notesTmp = Notes_Path(g_records) + ".tmp" + std::to_string((long)getpid());
  ASSERT_TRUE(Dir_Create(notesTmp));
  EXPECT_FALSE(RecordsReset_Apply(g_records, "Beta\\Dune"));
  EXPECT_EQ(ReadFile("rkv2.rec"), before) << "the two files still agree";
  EXPECT_EQ(ReadFile(Notes_Path(g_records)), notesBefore);
  EXPECT_TRUE(RecordsReset_HasResults(g_records, "Beta\\Dune"));
  EXPECT_EQ(findNote(g_records, "Beta\\Dune", 4, 1).bestCombo, 150);
}

// --- the texts ---

// The text a filler writes into a buffer.
template <typename Fill>
std::string textOf(Fill fill) {
  char t[64];
  fill(t, sizeof t);
  return t;
}

TEST(RecordsText, TimesCountsAndLifeLines) {
  const std::pair<uint32_t, const char*> times[] = {
      {0, "00:00:000"}, {754321, "12:34:321"}, {3599999, "59:59:999"}, {3600000, "1:00:00 *"}, {37230250, "10:20:30 *"}};
  for (const auto& [ms, want] : times)
    EXPECT_EQ(textOf([&](char* t, size_t n) { RecordsText_Time(ms, t, n); }), want) << ms;
  const std::pair<int, const char*> counts[] = {{1, "(1 Song)"}, {0, "(0 Songs)"}, {12, "(12 Songs)"}};
  for (const auto& [n, want] : counts)
    EXPECT_EQ(textOf([&](char* t, size_t size) { RecordsText_SongCount(n, t, size); }), want);

  Course c;
  Course_Defaults(c);
  auto life = [&](int repeat, int livesSet) {
    c.repeat = (uint8_t)repeat;
    c.livesSet = (uint8_t)livesSet;
    c.lives = 7;
    return textOf([&](char* t, size_t n) { RecordsText_LifeLine(c, t, n); });
  };
  EXPECT_EQ(life(0, 0), "Standard");
  EXPECT_EQ(life(1, 0), "Standard, Repeats");
  EXPECT_EQ(life(1, 1), "7 lives, Repeats");
  EXPECT_EQ(life(0, 1), "7 lives");

  ProfileStats s{};
  char count[32], share[32];
  RecordsText_Perfects(s, count, sizeof count, share, sizeof share);
  EXPECT_EQ(std::string(count) + " | " + share, "0 Perfect | Perfect: n/a");
  s.steps = 3000;
  s.perfects = 2573;
  RecordsText_Perfects(s, count, sizeof count, share, sizeof share);
  EXPECT_EQ(std::string(count) + " | " + share, "2573 Perfect | Perfect: 85.8%");
}

TEST(RecordsText, ResultLines) {
  setenv("TZ", "UTC", 1);
  tzset();
  RecordLines l;
  RecordLines_Of(Result{}, ResultNote{}, true, false, l);
  EXPECT_FALSE(l.has) << "a song with no record";
  EXPECT_STREQ(l.score, "No record yet");
  EXPECT_STREQ(l.holder, "");

  Result r{};
  r.styleKey = 4;
  r.bestScore = 8123450.4;
  r.bestA = 934;
  r.bestGrade = 2;
  ResultNote n;
  n.bestCombo = 187;
  n.bestScoreAt = 1717200000;   // 2024-06-01 00:00 UTC
  RecordLines_Of(r, n, true, false, l);
  EXPECT_TRUE(l.has);
  EXPECT_STREQ(l.score, "Score: 8123450");
  EXPECT_STREQ(l.percent, "93.4%");
  EXPECT_STREQ(l.gradeName, "AA");
  EXPECT_EQ(l.grade, 2);
  EXPECT_STREQ(l.combo, "MAX COMBO: 187");
  EXPECT_STREQ(l.date, "2024-06-01");
  EXPECT_STREQ(l.holder, "SYSTEM RECORD") << "set without a profile";
  EXPECT_STREQ(l.stage, "") << "a song has no stage";

  memset(r.holder, 'X', sizeof r.holder);   // a full holder field without its zero
  RecordLines_Of(r, ResultNote{}, true, false, l);
  EXPECT_EQ(std::string(l.holder), std::string(22, 'X'));
  EXPECT_STREQ(l.combo, "MAX COMBO: -") << "no note: no combo";
  EXPECT_STREQ(l.date, "");
  RecordLines_Of(r, n, false, false, l);
  EXPECT_STREQ(l.holder, "") << "a profile's own table names no holder";

  r.bestA = 1000;
  r.bestGrade = 1;
  r.bestB = 3725250;
  r.bestC = 9;
  RecordLines_Of(r, n, false, true, l);
  EXPECT_STREQ(l.percent, "100.0%");
  EXPECT_STREQ(l.stage, "Stage: 9");
  EXPECT_STREQ(l.time, "1:02:05 *");
  char row[32];
  RecordsText_CourseRow(r, row, sizeof row);
  EXPECT_STREQ(row, "Stage 9  AAA");
  RecordsText_CourseRow(Result{}, row, sizeof row);
  EXPECT_STREQ(row, "");
  r.bestA = -30;   // never shown below zero
  r.bestGrade = 0;
  RecordLines_Of(r, n, false, true, l);
  EXPECT_STREQ(l.percent, "0.0%");
  EXPECT_STREQ(l.gradeName, "");
  unsetenv("TZ");
  tzset();
}
}  // namespace
