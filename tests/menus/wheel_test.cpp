// The song wheel's decisions over a small library: places and moves, folders,
// sorts, difficulties, the quick-modifier cursor, roulettes, the time limit,
// extra stages and the choice.
#include <gtest/gtest.h>

#include "media/input/input.h"
#include "menus/collection_test_util.h"
#include "menus/wheel.h"
#include "support/test_support.h"

#include <set>

namespace {
class WheelTest : public ::testing::Test {
 protected:
  TempDir dir;
  Wheel w;
  uint32_t now = 1000;

  void SetUp() override {
    ResetCollectionWorld();
    std::vector<SongEntry> songs;
    // Pack A: three songs; Pack B: two; Pack C: one with DOUBLE charts only
    songs.push_back(MakeSong({"Pack A", "", "Alpha", "Ann", "|Pop|", {2, 0, 7, 9}}));
    songs.push_back(MakeSong({"Pack A", "", "Bravo", "Ben", "|Rock|", {1, 4, 0}}));
    songs.push_back(MakeSong({"Pack A", "", "Charlie", "Cid", "|Pop|", {0, 5, 8}}));
    songs.push_back(MakeSong({"Pack B", "", "Delta", "Dee", "|Rock|", {3, 6, 9}}));
    songs.push_back(MakeSong({"Pack B", "", "Echo", "Eve", "|Jazz|", {2, 5, 8}}));
    songs.push_back(MakeSong({"Pack C", "", "Foxtrot", "Fay", "|Jazz|", {0, 0, 0, 0, 3, 6, 9}}));
    SetLibrary(songs);
    Collection_NewGame();
  }
  void TearDown() override { ResetCollectionWorld(); }

  WheelPos sel() { return Wheel_Selection(g_collection); }
  int selectedSong() { return Wheel_SongAt(g_collection, sel()); }
  const char* selectedTitle() {
    int s = selectedSong();
    return s >= 0 ? g_songs[s].title : "<item>";
  }
  const CollectionGroup& group() { return g_collection.groups[g_collection.selectedGroup]; }
  void input(uint32_t word) {
    now += 20;
    Wheel_Input(w, word, now);
    Wheel_Update(w, now);
  }
  // Long enough for any slide or spin to end.
  void settle() {
    now += 5000;
    Wheel_Update(w, now);
  }
  // Moves right until the selection is on the item whose label starts with `label`.
  void goToGroupItem(const char* label) {
    for (int i = 0; i < 40; i++) {
      if (sel().index < 0 && strncmp(group().label, label, strlen(label)) == 0) return settle();
      Wheel_Move(w, 1, now);
    }
    FAIL() << "no item " << label;
  }
  void goToSong(const char* title) {
    for (int i = 0; i < 40; i++) {
      if (selectedSong() >= 0 && strcmp(selectedTitle(), title) == 0) return settle();
      Wheel_Move(w, 1, now);
    }
    FAIL() << "no song " << title;
  }
};

// A hand-made collection: inline, empty, closed and open groups.
void MakeCollection(Collection& c) {
  c = Collection{};
  Collection_Reserve(c, 4);
  c.groupCount = 4;
  int counts[4] = {2, 0, 3, 2};
  int states[4] = {GROUP_INLINE, GROUP_CLOSED, GROUP_CLOSED, GROUP_OPEN};
  int song = 0;
  for (int g = 0; g < 4; g++) {
    CollectionGroup& grp = c.groups[g];
    snprintf(grp.label, sizeof grp.label, "G%d", g);
    grp.count = counts[g];
    grp.state = states[g];
    for (int i = 0; i < grp.count; i++) grp.songs[i] = song++ % 6;
  }
}

TEST_F(WheelTest, StepsGoRoundTheItemsSkippingEmptyGroupsAndLandOnFolderItemsOrFirstSongs) {
  Collection c;
  MakeCollection(c);
  // right: inline 0, inline 1, closed folder 2 (group 1 has nothing), open folder 3 item, its songs, back to group 0
  std::vector<std::pair<int, int>> seen;
  WheelPos p{0, 0};
  for (int i = 0; i < 7; i++) {
    seen.emplace_back(p.group, p.index);
    p = Wheel_Step(c, p, 1);
  }
  std::vector<std::pair<int, int>> want = {{0, 0}, {0, 1}, {2, -1}, {3, -1}, {3, 0}, {3, 1}, {0, 0}};
  EXPECT_EQ(seen, want);
  // left is the mirror: from the first inline song to the last song of the open folder
  std::vector<std::pair<int, int>> back;
  p = WheelPos{0, 0};
  for (int i = 0; i < 7; i++) {
    back.emplace_back(p.group, p.index);
    p = Wheel_Step(c, p, -1);
  }
  std::vector<std::pair<int, int>> wantBack = {{0, 0}, {3, 1}, {3, 0}, {3, -1}, {2, -1}, {0, 1}, {0, 0}};
  EXPECT_EQ(back, wantBack);
  // a place inside a closed folder or in an empty group settles on a place that exists
  WheelPos inside = Wheel_Settle(c, {2, 1});
  EXPECT_EQ(inside.index, -1);
  WheelPos empty = Wheel_Settle(c, {1, 0});
  EXPECT_EQ(empty.group, 2);
  EXPECT_EQ(empty.index, -1);
  EXPECT_EQ(Wheel_StepBy(c, {0, 0}, 6).group, 0);
  EXPECT_EQ(Wheel_StepBy(c, {0, 0}, -4).group, 2);
  int ordinal = 0, total = 0;
  Wheel_Ordinal(c, {3, 1}, ordinal, total);
  EXPECT_EQ(total, 6);   // 2 inline, 1 closed, 1 + 2 open
  EXPECT_EQ(ordinal, 5);
  Collection none;
  EXPECT_FALSE(Wheel_HasItems(none));
  EXPECT_EQ(Wheel_Step(none, {0, 0}, 1).group, 0);
}

TEST_F(WheelTest, GenreGroupingNeverShowsAllMusicOnEntryOrWhenCycling) {
  EXPECT_EQ(Wheel_InitialSort(SORT_ALL_MUSIC, 0), SORT_ALL_SEPARATED);
  EXPECT_EQ(Wheel_InitialSort(SORT_ALL_MUSIC, 1), SORT_ALL_MUSIC);
  EXPECT_EQ(Wheel_NextSort(SORT_BEST, 0), SORT_ALL_SEPARATED);
  EXPECT_EQ(Wheel_NextSort(SORT_BEST, 1), SORT_ALL_MUSIC);
  EXPECT_EQ(Wheel_NextSort(SORT_TITLE, 0), SORT_ARTIST);

  g_settings.sortBy = 0;   // GENRE
  g_settings.currentSort = SORT_ALL_MUSIC;
  Wheel_Begin(w, 1, now);
  EXPECT_EQ(g_settings.currentSort, SORT_ALL_SEPARATED);
  EXPECT_STREQ(g_collection.caption, "All Music (Genre/Separated)");
  std::set<int> sorts;
  for (int i = 0; i < 14; i++) {
    input(MENU_UPLEFT);
    settle();
    sorts.insert(g_settings.currentSort);
    EXPECT_STRNE(g_collection.caption, "All Music (Genre)");
    EXPECT_TRUE(Wheel_HasItems(g_collection));
  }
  EXPECT_EQ(sorts, (std::set<int>{1, 2, 3, 4, 5, 6}));

  g_settings.sortBy = 1;   // FOLDER: All Music comes round
  sorts.clear();
  for (int i = 0; i < 7; i++) {
    input(MENU_UPLEFT);
    sorts.insert(g_settings.currentSort);
  }
  EXPECT_EQ(sorts.size(), 7u);
}

TEST_F(WheelTest, StartUpSettlesOnAGroupWithEntriesAndKeepsTheSongAcrossStages) {
  g_settings.currentSort = SORT_ALL_MUSIC;
  g_collection.selectedGroup = 2;   // Pack C: nothing in SINGLE
  g_settings.folderIndex = 2;
  Wheel_Begin(w, 1, now);
  EXPECT_GT(group().count, 0);
  EXPECT_STREQ(group().label, "ROULETTE");   // the next group with entries
  EXPECT_EQ(sel().index, -1);
  goToSong("Echo");
  int echo = selectedSong();
  Wheel_Begin(w, 2, now);   // the next stage comes back to it
  EXPECT_EQ(selectedSong(), echo);
}

TEST_F(WheelTest, DifficultyCyclesOverTheChartsThatExist) {
  Wheel_Begin(w, 1, now);
  const SongEntry& alpha = g_songs[FindSong("Alpha")];   // BASIC, MANIAC (SMANIAC only with four difficulties)
  EXPECT_EQ(w.difficulties, 3);
  EXPECT_EQ(Wheel_CycleDifficulty(w, alpha, 0, 1), 2);
  EXPECT_EQ(Wheel_CycleDifficulty(w, alpha, 2, 1), 0);   // wraps
  EXPECT_EQ(Wheel_CycleDifficulty(w, alpha, 0, -1), 2);
  w.difficulties = 4;
  EXPECT_EQ(Wheel_CycleDifficulty(w, alpha, 2, 1), 3);
  EXPECT_EQ(Wheel_CycleDifficulty(w, alpha, 3, 1), 0);
  w.difficulties = 3;
  const SongEntry& charlie = g_songs[FindSong("Charlie")];   // ANOTHER, MANIAC
  EXPECT_EQ(Wheel_EffectiveDifficulty(w, charlie, 0), 1);    // none easier: the nearest harder
  EXPECT_EQ(Wheel_EffectiveDifficulty(w, alpha, 1), 0);      // the nearest easier first
  EXPECT_EQ(Wheel_EffectiveDifficulty(w, alpha, 2), 2);

  // Down on Alpha from BASIC gives MANIAC; the wish follows the player's presses
  goToSong("Alpha");
  g_players[0].difficulty = 0;
  w.side[0].wanted = 0;
  input(MENU_DOWN);
  EXPECT_EQ(w.side[0].wanted, 2);
  EXPECT_EQ(g_players[0].difficulty, 2);
  input(MENU_UP);
  EXPECT_EQ(w.side[0].wanted, 0);
}

TEST_F(WheelTest, AHeldKeyMovesOnAndTheDrawingStaysCloseBehind) {
  g_settings.currentSort = SORT_ALL_MUSIC;
  Wheel_Begin(w, 1, now);
  WheelPos start = sel();
  // a move every 30 ms: faster than a slide ends
  for (int i = 0; i < 10; i++) {
    input(MENU_RIGHT);
    EXPECT_TRUE(Wheel_Moving(w));
    EXPECT_LE(w.offset, kWheelMaxLag);
    EXPECT_GT(w.offset, 0);
    now += 10;
    Wheel_Update(w, now);
  }
  EXPECT_EQ(Wheel_Selection(g_collection).group, Wheel_StepBy(g_collection, start, 10).group);
  EXPECT_EQ(Wheel_Selection(g_collection).index, Wheel_StepBy(g_collection, start, 10).index);
  EXPECT_EQ(Wheel_PreviewSong(w, now), -1);
  now += kWheelSlideMs;
  Wheel_Update(w, now);
  EXPECT_EQ(w.state, WHEEL_IDLE);
  EXPECT_EQ(w.offset, 0);
  EXPECT_EQ(Wheel_PreviewSong(w, now + kPreviewRestMs - 1), -1);
  EXPECT_EQ(Wheel_PreviewSong(w, now + kPreviewRestMs), selectedSong());
  input(MENU_LEFT);
  EXPECT_LT(w.offset, 0);
  EXPECT_EQ(w.state, WHEEL_MOVING_LEFT);
}

TEST_F(WheelTest, StartOpensAndClosesFoldersAndRemembersThePlayersFolder) {
  g_settings.currentSort = SORT_DIFFICULTY;
  Wheel_Begin(w, 1, now);
  goToGroupItem("Pack B");
  EXPECT_EQ(group().state, GROUP_CLOSED);
  input(MENU_START);
  EXPECT_EQ(group().state, GROUP_OPEN);
  EXPECT_EQ(sel().index, -1);
  EXPECT_STREQ(g_currentFolder[0], "Pack B\n(2 songs)");
  input(MENU_RIGHT);
  EXPECT_STREQ(selectedTitle(), "Echo");   // the easier song first
  input(MENU_LEFT);
  input(MENU_START);   // on the open folder's item: it closes
  EXPECT_EQ(group().state, GROUP_CLOSED);
  EXPECT_STREQ(g_currentFolder[0], " ");
  for (int g = 0; g < g_collection.groupCount; g++) EXPECT_NE(g_collection.groups[g].state, GROUP_OPEN);
}

TEST_F(WheelTest, TheFolderRouletteOnClosedFoldersDoesNothing) {
  g_settings.currentSort = SORT_DIFFICULTY;
  Wheel_Begin(w, 1, now);
  goToGroupItem("ROULETTE (Folder)");
  settle();
  WheelPos before = sel();
  input(MENU_START);
  EXPECT_EQ(w.state, WHEEL_IDLE);
  EXPECT_EQ(sel().group, before.group);
  EXPECT_EQ(sel().index, before.index);
  EXPECT_EQ(g_settings.currentSort, SORT_DIFFICULTY);

  // with a folder open it lands in that folder
  goToGroupItem("Pack A");
  input(MENU_START);
  goToGroupItem("ROULETTE (Folder)");
  input(MENU_START);
  ASSERT_EQ(w.state, WHEEL_ROULETTE);
  EXPECT_TRUE(Wheel_Moving(w));
  EXPECT_STRNE(selectedTitle(), "<item>");
  EXPECT_EQ(strcmp(g_songs[selectedSong()].group, "Pack A"), 0);
  settle();
  EXPECT_EQ(w.state, WHEEL_IDLE);
  EXPECT_EQ(w.offset, 0);
}

TEST_F(WheelTest, RoulettePicksLieInsideTheGroupsAndTheirSongs) {
  g_settings.currentSort = SORT_ALL_MUSIC;
  BuildCollection(1, nullptr, 0, 1, kWheelBestLimit);
  const Collection& c = g_collection;
  std::set<int> songs;
  for (int i = 0; i < 300; i++) {
    WheelPos p{-1, -1};
    ASSERT_TRUE(Wheel_PickRoulette(c, false, p));
    ASSERT_GE(p.group, 0);
    ASSERT_LT(p.group, c.groupCount);
    ASSERT_GE(p.index, 0);
    ASSERT_LT(p.index, c.groups[p.group].count);
    EXPECT_FALSE(Wheel_IsRouletteGroup(c.groups[p.group]));
    songs.insert(c.groups[p.group].songs[p.index]);
  }
  EXPECT_EQ(songs.size(), 5u);   // every song of SINGLE comes up
  // a song that cannot be chosen is never picked
  g_songs[FindSong("Delta")].selectable = 0;
  for (int i = 0; i < 200; i++) {
    WheelPos p;
    ASSERT_TRUE(Wheel_PickRoulette(c, false, p));
    EXPECT_STRNE(g_songs[c.groups[p.group].songs[p.index]].title, "Delta");
  }
}

TEST_F(WheelTest, TheWholeRouletteSpinsToASongOfTheLibrary) {
  g_settings.currentSort = SORT_TITLE;
  Wheel_Begin(w, 1, now);
  goToGroupItem("ROULETTE");
  ASSERT_EQ(strcmp(group().label, "ROULETTE"), 0);
  input(MENU_START);
  ASSERT_EQ(w.state, WHEEL_ROULETTE);
  EXPECT_EQ(g_settings.currentSort, SORT_ALL_MUSIC);
  EXPECT_GE(selectedSong(), 0);
  EXPECT_GE(w.offset, 8);
  input(MENU_START | MENU_LEFT);   // nothing stops or moves a spin
  EXPECT_EQ(w.state, WHEEL_ROULETTE);
  double before = w.offset;
  now += w.spin.durationMs / 2;
  Wheel_Update(w, now);
  EXPECT_LT(w.offset, before);
  settle();
  EXPECT_EQ(w.state, WHEEL_IDLE);
  EXPECT_GE(selectedSong(), 0);
}

TEST_F(WheelTest, TimeUpOnAFolderItemPlaysARandomSong) {
  g_settings.currentSort = SORT_DIFFICULTY;
  Wheel_Begin(w, 1, now);
  goToGroupItem("Pack B");
  w.side[0].quickRow = 3;
  Wheel_TimeUp(w, now);
  ASSERT_EQ(w.state, WHEEL_ROULETTE);
  EXPECT_EQ(w.side[0].quickRow, 0);
  EXPECT_LE(w.spin.durationMs, 2500u);   // the time limit's spin is short
  settle();
  EXPECT_EQ(w.state, WHEEL_CHOSEN);
  int s = selectedSong();
  ASSERT_GE(s, 0);
  EXPECT_EQ(g_players[0].level, g_songs[s].levels[g_players[0].difficulty]);
  EXPECT_EQ(Wheel_Result(w, now + kChosenWaitMs - 1), 0);
  EXPECT_EQ(Wheel_Result(w, now + kChosenWaitMs), 1);
}

TEST_F(WheelTest, TimeUpOnASongOrDuringASpinChoosesIt) {
  g_settings.currentSort = SORT_ALL_MUSIC;
  Wheel_Begin(w, 1, now);
  goToSong("Charlie");
  w.side[0].wanted = 0;   // Charlie has no BASIC: the nearest chart is played
  Wheel_TimeUp(w, now);
  EXPECT_EQ(w.state, WHEEL_CHOSEN);
  EXPECT_EQ(g_players[0].difficulty, 1);
  EXPECT_EQ(g_players[0].level, 5);

  Wheel_Begin(w, 1, now);
  goToGroupItem("ROULETTE");
  input(MENU_START);
  ASSERT_EQ(w.state, WHEEL_ROULETTE);
  Wheel_TimeUp(w, now);
  EXPECT_EQ(w.state, WHEEL_ROULETTE);   // the spin goes on
  settle();
  EXPECT_EQ(w.state, WHEEL_CHOSEN);
}

TEST_F(WheelTest, ASongThatIsNotSelectableCannotBeChosen) {
  g_settings.currentSort = SORT_ALL_MUSIC;
  Wheel_Begin(w, 1, now);
  goToSong("Bravo");
  g_songs[selectedSong()].selectable = 0;
  input(MENU_START);
  EXPECT_EQ(w.state, WHEEL_IDLE);
  EXPECT_FALSE(Wheel_Choose(w, now));
  // the time limit then plays one that can be chosen
  Wheel_TimeUp(w, now);
  EXPECT_EQ(w.state, WHEEL_CHOSEN);
  EXPECT_EQ(g_songs[selectedSong()].selectable, 1);
}

TEST_F(WheelTest, QuickModifierCursorTakesTheDirectionsAndHoldsBackStart) {
  Wheel_Begin(w, 1, now);
  goToSong("Alpha");
  WheelPos at = sel();
  input(MENU_SELECT);
  EXPECT_EQ(w.side[0].quickRow, 1);
  input(MENU_LEFT);                  // wraps to Power
  EXPECT_EQ(w.side[0].quickRow, 9);
  EXPECT_EQ(sel().index, at.index);  // the wheel stood still
  input(MENU_DOWN);
  input(MENU_DOWN);
  input(MENU_DOWN);                  // DROP, DEATH, OFF again
  EXPECT_EQ(g_players[0].options.power, 0);
  input(MENU_UP);
  EXPECT_EQ(g_players[0].options.power, 2);
  input(MENU_RIGHT);
  input(MENU_RIGHT);
  input(MENU_RIGHT);                 // Turn
  EXPECT_EQ(w.side[0].quickRow, 3);
  input(MENU_DOWN);
  EXPECT_EQ(g_players[0].options.appearance, 1);
  input(MENU_START);                 // closes the cursor, does not choose
  EXPECT_EQ(w.side[0].quickRow, 0);
  EXPECT_EQ(w.state, WHEEL_IDLE);
  input(MENU_START);
  EXPECT_EQ(w.state, WHEEL_CHOSEN);
}

TEST_F(WheelTest, OnDoubleTheQuickTurnTakesOnlyOffAndMirror) {
  Player_SetStyle(g_players[0], "DOUBLE", 8, true);
  Wheel_Begin(w, 1, now);
  EXPECT_EQ(w.style.base, 4);
  w.side[0].quickRow = 4;   // Turn
  input(MENU_DOWN);
  EXPECT_EQ(g_players[0].options.turn, TURN_MIRROR);
  input(MENU_DOWN);
  EXPECT_EQ(g_players[0].options.turn, 0);
  input(MENU_UP);
  EXPECT_EQ(g_players[0].options.turn, TURN_MIRROR);
  // the chosen song's level comes from the DOUBLE charts
  w.side[0].quickRow = 0;
  input(MENU_START);
  ASSERT_EQ(w.state, WHEEL_CHOSEN);
  EXPECT_STREQ(selectedTitle(), "Foxtrot");
  EXPECT_EQ(g_players[0].level, g_songs[selectedSong()].levels[4 + g_players[0].difficulty]);
}

TEST_F(WheelTest, TwoPlayersEachHaveTheirDifficultyAndBothAreSetOnTheChoice) {
  g_players[1].active = 1;
  g_players[0].difficulty = 0;
  g_players[1].difficulty = 2;
  g_settings.currentSort = SORT_ALL_MUSIC;
  Wheel_Begin(w, 1, now);
  EXPECT_EQ(w.players, 2);
  goToSong("Delta");
  input(MENU_DOWN << MENU_P2_SHIFT);   // player 2: MANIAC wraps to BASIC
  EXPECT_EQ(w.side[1].wanted, 0);
  EXPECT_EQ(w.side[0].wanted, 0);
  input(MENU_DOWN);                    // player 1: ANOTHER
  input(MENU_SELECT << MENU_P2_SHIFT);
  input(MENU_START);                   // player 2's cursor holds the choice back
  EXPECT_EQ(w.state, WHEEL_IDLE);
  input(MENU_SELECT << MENU_P2_SHIFT);
  input(MENU_START << MENU_P2_SHIFT);
  ASSERT_EQ(w.state, WHEEL_CHOSEN);
  EXPECT_EQ(g_players[0].difficulty, 1);
  EXPECT_EQ(g_players[0].level, 6);
  EXPECT_EQ(g_players[1].difficulty, 0);
  EXPECT_EQ(g_players[1].level, 3);
}

TEST_F(WheelTest, AnExtraStageTakesTheBonusOverridesAndLocksSortAndCursor) {
  Course& b = g_bonusCourses[0];
  Course_Defaults(b);
  b.valid = 1;
  b.index = -1;
  ASSERT_GT(Course_ParseText("#COURSE:Extra;\n#SONG:Pack B\\Echo:MANIAC:MIRROR,2.0x,REVERSE;\n", b), 0);
  g_settings.maxStage = 3;
  g_settings.currentSort = SORT_TITLE;
  Wheel_Begin(w, 4, now);
  EXPECT_EQ(w.extraStage, 1);
  EXPECT_EQ(w.difficulties, 4);
  ASSERT_STREQ(selectedTitle(), "Echo");
  EXPECT_EQ(g_players[0].difficulty, 2);
  EXPECT_EQ(g_players[0].options.turn, TURN_MIRROR);
  EXPECT_EQ(g_players[0].options.speed, 2);
  EXPECT_EQ(g_players[0].options.reverse, 1);
  int sort = g_settings.currentSort;
  input(MENU_UPLEFT);
  EXPECT_EQ(g_settings.currentSort, sort);
  input(MENU_SELECT);
  EXPECT_EQ(w.side[0].quickRow, 0);
  input(MENU_UP);                      // the forced difficulty stays
  EXPECT_EQ(w.side[0].wanted, 2);
  // the other songs cannot be chosen and do not change the forced values
  input(MENU_RIGHT);
  settle();
  EXPECT_STRNE(selectedTitle(), "Echo");
  input(MENU_START);
  EXPECT_EQ(w.state, WHEEL_IDLE);
  EXPECT_EQ(g_players[0].options.turn, TURN_MIRROR);
  input(MENU_LEFT);
  settle();
  input(MENU_START);
  ASSERT_EQ(w.state, WHEEL_CHOSEN);
  EXPECT_EQ(g_players[0].level, 8);
}

TEST_F(WheelTest, EscapeLeavesAndTheRecordsLineReadsTheRecords) {
  Wheel_Begin(w, 1, now);
  input(MENU_ESCAPE);
  EXPECT_EQ(w.state, WHEEL_LEAVE);
  EXPECT_EQ(Wheel_Result(w, now), 2);

  SongEntry e = g_songs[FindSong("Alpha")];
  char line[128];
  Wheel_RecordsLine(e, 0, 1, 2, line, sizeof line);
  EXPECT_STREQ(line, "No record yet");
  g_records.records.push_back(Records_New("Pack A\\Alpha", 0));
  g_records.results.emplace_back();
  e.record = 0;
  Result r{};
  r.bestScore = 1234567;
  r.bestGrade = 2;
  snprintf(r.holder, sizeof r.holder, "KIT");
  ASSERT_TRUE(storeResult(g_records, 0, 1, 2, false, r));
  Wheel_RecordsLine(e, 0, 1, 2, line, sizeof line);
  EXPECT_STREQ(line, "Best 1234567 AA");   // a stored result starts without a holder
  ASSERT_TRUE(setHolder(g_records, 0, 1, 2, "KIT"));
  Wheel_RecordsLine(e, 0, 1, 2, line, sizeof line);
  EXPECT_STREQ(line, "Best 1234567 AA KIT");
  Wheel_RecordsLine(e, 0, 2, 2, line, sizeof line);   // another style
  EXPECT_STREQ(line, "No record yet");
  RecordTable mine;
  mine.records.push_back(Records_New("Pack A\\Alpha", 0));
  mine.results.emplace_back();
  r.bestScore = 900000;
  r.bestGrade = 3;
  ASSERT_TRUE(storeResult(mine, 0, 1, 2, false, r));
  g_playerRecords[0] = &mine;
  e.profileRecord[0] = 0;
  Wheel_RecordsLine(e, 0, 1, 2, line, sizeof line);
  EXPECT_STREQ(line, "Best 1234567 AA KIT   Mine 900000 A");
  g_playerRecords[0] = nullptr;
}
}  // namespace

namespace {
TEST(WheelEmpty, AWheelWithoutSongsOnlyLeaves) {
  TempDir dir;
  ResetCollectionWorld();
  Collection_NewGame();
  Wheel w;
  Wheel_Begin(w, 1, 0);
  // only the roulette item is left, and it has nothing to land on
  ASSERT_EQ(g_collection.groupCount, 1);
  EXPECT_TRUE(Wheel_IsRouletteGroup(g_collection.groups[0]));
  for (uint32_t word : {MENU_LEFT, MENU_RIGHT, MENU_UP, MENU_DOWN, MENU_START, MENU_SELECT, MENU_UPLEFT}) {
    Wheel_Input(w, word, 10);
    Wheel_Update(w, 20);
  }
  EXPECT_EQ(w.state, WHEEL_IDLE);
  EXPECT_EQ(Wheel_PreviewSong(w, 5000), -1);
  Wheel_TimeUp(w, 30);
  EXPECT_EQ(w.state, WHEEL_LEAVE);
  ResetCollectionWorld();
}
}  // namespace
