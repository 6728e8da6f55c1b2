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
using Places = std::vector<std::pair<int, int>>;

class WheelTest : public ::testing::Test {
 protected:
  TempDir dir;
  Wheel w;
  uint32_t now = 1000;

  void SetUp() override {
    ResetCollectionWorld();
    // Pack C has DOUBLE charts only
    SetLibrary({MakeSong({"Pack A", "", "Alpha", "Ann", "|Pop|", {2, 0, 7, 9}}),
                MakeSong({"Pack A", "", "Bravo", "Ben", "|Rock|", {1, 4, 0}}),
                MakeSong({"Pack A", "", "Charlie", "Cid", "|Pop|", {0, 5, 8}}),
                MakeSong({"Pack B", "", "Delta", "Dee", "|Rock|", {3, 6, 9}}),
                MakeSong({"Pack B", "", "Echo", "Eve", "|Jazz|", {2, 5, 8}}),
                MakeSong({"Pack C", "", "Foxtrot", "Fay", "|Jazz|", {0, 0, 0, 0, 3, 6, 9}})});
    Collection_NewGame();
  }
  void TearDown() override { ResetCollectionWorld(); }

  WheelPos sel() { return Wheel_Selection(g_collection); }
  int song() { return Wheel_SongAt(g_collection, sel()); }
  const char* title() { return song() >= 0 ? g_songs[song()].title : "<item>"; }
  const CollectionGroup& group() { return g_collection.groups[g_collection.selectedGroup]; }
  void begin(int sort, int stage = 1) {
    g_settings.currentSort = (uint8_t)sort;
    Wheel_Begin(w, stage, now);
  }
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
  // Moves right to the folder item whose label starts with `label`, or to the song.
  void goTo(const char* label, bool folder) {
    for (int i = 0; i < 40; i++) {
      bool there = folder ? sel().index < 0 && strncmp(group().label, label, strlen(label)) == 0
                          : song() >= 0 && strcmp(title(), label) == 0;
      if (there) return settle();
      Wheel_Move(w, 1, now);
    }
    FAIL() << "not on the wheel: " << label;
  }
};

// Inline, empty, closed and open groups, made by hand.
void MakeCollection(Collection& c) {
  c = Collection{};
  Collection_Reserve(c, 4);
  c.groupCount = 4;
  const int counts[4] = {2, 0, 3, 2}, states[4] = {GROUP_INLINE, GROUP_CLOSED, GROUP_CLOSED, GROUP_OPEN};
  for (int g = 0; g < 4; g++) {
    c.groups[g].count = counts[g];
    c.groups[g].state = states[g];
    for (int i = 0; i < counts[g]; i++) c.groups[g].songs[i] = i;
  }
}

Places walk(const Collection& c, int dir, int steps) {
  Places seen;
  WheelPos p{0, 0};
  for (int i = 0; i < steps; i++, p = Wheel_Step(c, p, dir)) seen.emplace_back(p.group, p.index);
  return seen;
}

TEST_F(WheelTest, StepsGoRoundTheItemsSkippingEmptyGroupsAndLandOnFolderItemsOrFirstSongs) {
  Collection c;
  MakeCollection(c);
  EXPECT_EQ(walk(c, 1, 7), (Places{{0, 0}, {0, 1}, {2, -1}, {3, -1}, {3, 0}, {3, 1}, {0, 0}}));
  EXPECT_EQ(walk(c, -1, 7), (Places{{0, 0}, {3, 1}, {3, 0}, {3, -1}, {2, -1}, {0, 1}, {0, 0}}));
  EXPECT_EQ(Wheel_Settle(c, {2, 1}).index, -1);   // inside a closed folder: its item
  EXPECT_EQ(Wheel_Settle(c, {1, 0}).group, 2);    // an empty group: the next with entries
  int ordinal = 0, total = 0;
  Wheel_Ordinal(c, {3, 1}, ordinal, total);
  EXPECT_EQ(total, 6);
  EXPECT_EQ(ordinal, 5);
}

TEST_F(WheelTest, GenreGroupingNeverShowsAllMusicOnEntryOrWhenCycling) {
  EXPECT_EQ(Wheel_NextSort(SORT_BEST, 1), SORT_ALL_MUSIC);
  g_settings.sortBy = 0;   // GENRE
  begin(SORT_ALL_MUSIC);
  EXPECT_EQ(g_settings.currentSort, SORT_ALL_SEPARATED);
  EXPECT_STREQ(g_collection.caption, "All Music (Genre/Separated)");
  std::set<int> sorts;
  for (int i = 0; i < 14; i++) {
    input(MENU_UPLEFT);
    sorts.insert(g_settings.currentSort);
    EXPECT_STRNE(g_collection.caption, "All Music (Genre)");
  }
  EXPECT_EQ(sorts, (std::set<int>{1, 2, 3, 4, 5, 6}));
}

TEST_F(WheelTest, StartUpSettlesOnAGroupWithEntriesAndKeepsTheSongAcrossStages) {
  g_collection.selectedGroup = g_settings.folderIndex = 2;   // Pack C: nothing in SINGLE
  begin(SORT_ALL_MUSIC);
  EXPECT_STREQ(group().label, "ROULETTE");                     // the next group with entries
  EXPECT_EQ(sel().index, -1);
  goTo("Echo", false);
  begin(SORT_ALL_MUSIC, 2);
  EXPECT_STREQ(title(), "Echo");
}

TEST_F(WheelTest, DifficultyCyclesOverTheChartsThatExist) {
  begin(SORT_ALL_MUSIC);
  const SongEntry& alpha = g_songs[FindSong("Alpha")];     // BASIC, MANIAC, and SMANIAC
  EXPECT_EQ(Wheel_CycleDifficulty(w, alpha, 0, 1), 2);
  EXPECT_EQ(Wheel_CycleDifficulty(w, alpha, 2, 1), 0);     // SMANIAC only with four difficulties
  EXPECT_EQ(Wheel_CycleDifficulty(w, alpha, 0, -1), 2);
  w.difficulties = 4;
  EXPECT_EQ(Wheel_CycleDifficulty(w, alpha, 2, 1), 3);
  w.difficulties = 3;
  EXPECT_EQ(Wheel_EffectiveDifficulty(w, g_songs[FindSong("Charlie")], 0), 1);   // none easier: harder
  EXPECT_EQ(Wheel_EffectiveDifficulty(w, alpha, 1), 0);                          // the easier first
  goTo("Alpha", false);
  w.side[0].wanted = 0;
  input(MENU_DOWN);
  EXPECT_EQ(w.side[0].wanted, 2);
  EXPECT_EQ(g_players[0].difficulty, 2);
  input(MENU_UP);
  EXPECT_EQ(w.side[0].wanted, 0);
}

TEST_F(WheelTest, AHeldKeyMovesOnAndTheDrawingStaysCloseBehind) {
  begin(SORT_ALL_MUSIC);
  WheelPos start = sel();
  for (int i = 0; i < 10; i++) {   // a move every 30 ms: faster than a slide ends
    input(MENU_RIGHT);
    EXPECT_TRUE(Wheel_Moving(w));
    EXPECT_GT(w.slide.offset, 0);
    EXPECT_LE(w.slide.offset, kWheelMaxLag);
    now += 10;
  }
  EXPECT_EQ(sel().group, Wheel_StepBy(g_collection, start, 10).group);
  EXPECT_EQ(sel().index, Wheel_StepBy(g_collection, start, 10).index);
  now += kWheelSlideMs;
  Wheel_Update(w, now);
  EXPECT_EQ(w.state, WHEEL_IDLE);
  EXPECT_EQ(w.slide.offset, 0);
  EXPECT_EQ(Wheel_PreviewSong(w, now + kPreviewRestMs - 1), -1);
  EXPECT_EQ(Wheel_PreviewSong(w, now + kPreviewRestMs), song());
  input(MENU_LEFT);
  EXPECT_LT(w.slide.offset, 0);
}

TEST_F(WheelTest, StartOpensAndClosesFoldersAndRemembersThePlayersFolder) {
  begin(SORT_DIFFICULTY);
  goTo("Pack B", true);
  input(MENU_START);
  EXPECT_EQ(group().state, GROUP_OPEN);
  EXPECT_EQ(sel().index, -1);
  EXPECT_STREQ(g_currentFolder[0], "Pack B\n(2 songs)");
  input(MENU_RIGHT);
  EXPECT_STREQ(title(), "Echo");   // the easier song first
  input(MENU_LEFT);
  input(MENU_START);
  EXPECT_STREQ(g_currentFolder[0], " ");
  for (int g = 0; g < g_collection.groupCount; g++) EXPECT_NE(g_collection.groups[g].state, GROUP_OPEN);
}

TEST_F(WheelTest, TheFolderRouletteOnClosedFoldersDoesNothingAndElseLandsInTheOpenFolder) {
  begin(SORT_DIFFICULTY);
  goTo("ROULETTE (Folder)", true);
  WheelPos before = sel();
  input(MENU_START);
  EXPECT_EQ(w.state, WHEEL_IDLE);
  EXPECT_EQ(sel().group, before.group);
  EXPECT_EQ(sel().index, before.index);
  goTo("Pack A", true);
  input(MENU_START);
  goTo("ROULETTE (Folder)", true);
  input(MENU_START);
  ASSERT_EQ(w.state, WHEEL_ROULETTE);
  EXPECT_STREQ(g_songs[song()].group, "Pack A");
  input(MENU_START | MENU_RIGHT);   // nothing moves a spin
  EXPECT_EQ(w.state, WHEEL_ROULETTE);
  settle();
  EXPECT_EQ(w.state, WHEEL_IDLE);
}

TEST_F(WheelTest, RoulettePicksLieInsideTheGroupsAndTheirSelectableSongs) {
  BuildCollection(1, nullptr, 0, 1, kWheelBestLimit);
  const Collection& c = g_collection;
  g_songs[FindSong("Delta")].selectable = 0;
  std::set<std::string> picked;
  for (int i = 0; i < 300; i++) {
    WheelPos p{-1, -1};
    ASSERT_TRUE(Wheel_PickRoulette(c, false, p));
    ASSERT_TRUE(p.group >= 0 && p.group < c.groupCount);
    ASSERT_TRUE(p.index >= 0 && p.index < c.groups[p.group].count);
    picked.insert(g_songs[c.groups[p.group].songs[p.index]].title);
  }
  EXPECT_EQ(picked, (std::set<std::string>{"Alpha", "Bravo", "Charlie", "Echo"}));
}

TEST_F(WheelTest, TimeUpPlaysTheSongOrARandomOneFromAFolderItem) {
  begin(SORT_DIFFICULTY);
  goTo("Pack B", true);
  w.side[0].quickRow = 3;
  Wheel_TimeUp(w, now);
  ASSERT_EQ(w.state, WHEEL_ROULETTE);
  EXPECT_EQ(g_settings.currentSort, SORT_ALL_MUSIC);   // a roulette over the whole library
  EXPECT_EQ(w.side[0].quickRow, 0);
  Wheel_TimeUp(w, now);                                // the spin goes on
  settle();
  ASSERT_EQ(w.state, WHEEL_CHOSEN);
  EXPECT_EQ(g_players[0].level, g_songs[song()].levels[g_players[0].difficulty]);
  EXPECT_EQ(Wheel_Result(w, now + kChosenWaitMs - 1), 0);
  EXPECT_EQ(Wheel_Result(w, now + kChosenWaitMs), 1);

  begin(SORT_ALL_MUSIC);
  goTo("Charlie", false);
  w.side[0].wanted = 0;   // no BASIC: the nearest chart is played
  Wheel_TimeUp(w, now);
  EXPECT_EQ(w.state, WHEEL_CHOSEN);
  EXPECT_EQ(g_players[0].difficulty, 1);
  EXPECT_EQ(g_players[0].level, 5);
}

TEST_F(WheelTest, ASongThatIsNotSelectableCannotBeChosen) {
  begin(SORT_ALL_MUSIC);
  goTo("Bravo", false);
  g_songs[song()].selectable = 0;
  input(MENU_START);
  EXPECT_EQ(w.state, WHEEL_IDLE);
  Wheel_TimeUp(w, now);   // the time limit plays one that can be chosen
  EXPECT_EQ(w.state, WHEEL_CHOSEN);
  EXPECT_EQ(g_songs[song()].selectable, 1);
}

TEST_F(WheelTest, QuickModifierCursorTakesTheDirectionsAndHoldsBackStart) {
  begin(SORT_ALL_MUSIC);
  goTo("Alpha", false);
  WheelPos at = sel();
  input(MENU_SELECT);
  input(MENU_LEFT);                  // from Speed round to Power
  EXPECT_EQ(w.side[0].quickRow, 9);
  EXPECT_EQ(sel().index, at.index);  // the wheel stood still
  for (int i = 0; i < 3; i++) input(MENU_DOWN);
  EXPECT_EQ(g_players[0].options.power, 0);   // DROP, DEATH and round to OFF
  input(MENU_UP);
  EXPECT_EQ(g_players[0].options.power, 2);
  input(MENU_START);                 // closes the cursor, does not choose
  EXPECT_EQ(w.side[0].quickRow, 0);
  EXPECT_EQ(w.state, WHEEL_IDLE);
  input(MENU_START);
  EXPECT_EQ(w.state, WHEEL_CHOSEN);
}

TEST_F(WheelTest, OnDoubleTheQuickTurnIsOffOrMirrorAndTheLevelComesFromTheDoubleCharts) {
  Player_SetStyle(g_players[0], "DOUBLE", 8, true);
  begin(SORT_ALL_MUSIC);
  w.side[0].quickRow = 4;
  input(MENU_DOWN);
  EXPECT_EQ(g_players[0].options.turn, TURN_MIRROR);
  input(MENU_DOWN);
  EXPECT_EQ(g_players[0].options.turn, 0);
  input(MENU_SELECT);
  input(MENU_START);
  ASSERT_EQ(w.state, WHEEL_CHOSEN);
  EXPECT_STREQ(title(), "Foxtrot");
  EXPECT_EQ(g_players[0].level, g_songs[song()].levels[4 + g_players[0].difficulty]);
}

TEST_F(WheelTest, TwoPlayersEachHaveTheirDifficultyAndBothAreSetOnTheChoice) {
  g_players[1].active = 1;
  g_players[1].difficulty = 2;
  begin(SORT_ALL_MUSIC);
  goTo("Delta", false);
  input(MENU_DOWN << MENU_P2_SHIFT);   // player 2: MANIAC round to BASIC
  input(MENU_DOWN);                    // player 1: ANOTHER
  input(MENU_SELECT << MENU_P2_SHIFT);
  input(MENU_START);                   // player 2's cursor holds the choice back
  EXPECT_EQ(w.state, WHEEL_IDLE);
  input(MENU_SELECT << MENU_P2_SHIFT);
  input(MENU_START << MENU_P2_SHIFT);
  ASSERT_EQ(w.state, WHEEL_CHOSEN);
  EXPECT_EQ(g_players[0].level, 6);
  EXPECT_EQ(g_players[1].difficulty, 0);
  EXPECT_EQ(g_players[1].level, 3);
}

TEST_F(WheelTest, AnExtraStageTakesTheBonusOverridesAndLocksSortCursorAndDifficulty) {
  Course& b = g_bonusCourses[0];
  Course_Defaults(b);
  b.valid = 1;
  b.index = -1;
  ASSERT_GT(Course_ParseText("#COURSE:Extra;\n#SONG:Pack B\\Echo:MANIAC:MIRROR,2.0x,REVERSE;\n", b), 0);
  begin(SORT_TITLE, 4);
  EXPECT_EQ(w.extraStage, 1);
  ASSERT_STREQ(title(), "Echo");
  EXPECT_EQ(g_players[0].difficulty, 2);
  EXPECT_EQ(g_players[0].options.turn, TURN_MIRROR);
  EXPECT_EQ(g_players[0].options.speed, 2);
  EXPECT_EQ(g_players[0].options.reverse, 1);
  int sort = g_settings.currentSort;
  input(MENU_UPLEFT);
  input(MENU_SELECT);
  input(MENU_UP);
  EXPECT_EQ(g_settings.currentSort, sort);
  EXPECT_EQ(w.side[0].quickRow, 0);
  EXPECT_EQ(w.side[0].wanted, 2);
  input(MENU_RIGHT);   // the other songs can neither be chosen nor change what is forced
  settle();
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
  begin(SORT_ALL_MUSIC);
  input(MENU_ESCAPE);
  EXPECT_EQ(Wheel_Result(w, now), 2);

  SongEntry e = g_songs[FindSong("Alpha")];
  char line[128];
  Wheel_RecordsLine(e, 0, 4, 2, line, sizeof line);
  EXPECT_STREQ(line, "No record yet");
  RecordTable mine;
  for (RecordTable* t : {&g_records, &mine}) {
    t->records.push_back(Records_New("Pack A\\Alpha", 0));
    t->results.emplace_back();
  }
  e.record = e.profileRecord[0] = 0;
  g_playerRecords[0] = &mine;
  Result r{};
  r.bestScore = 1234567;
  r.bestGrade = 2;
  ASSERT_TRUE(storeResult(g_records, 0, 4, 2, false, r));
  ASSERT_TRUE(setHolder(g_records, 0, 4, 2, "KIT"));
  Wheel_RecordsLine(e, 0, 4, 2, line, sizeof line);
  EXPECT_STREQ(line, "Best 1234567 AA KIT");
  Wheel_RecordsLine(e, 0, 8, 2, line, sizeof line);   // another style
  EXPECT_STREQ(line, "No record yet");
  r.bestScore = 900000;
  r.bestGrade = 3;
  ASSERT_TRUE(storeResult(mine, 0, 4, 2, false, r));
  Wheel_RecordsLine(e, 0, 4, 2, line, sizeof line);
  EXPECT_STREQ(line, "Best 1234567 AA KIT   Mine 900000 A");
  g_playerRecords[0] = nullptr;
}

TEST_F(WheelTest, AWheelWithoutSongsOnlyLeaves) {
  SetLibrary({});
  begin(SORT_ALL_MUSIC);
  ASSERT_EQ(g_collection.groupCount, 1);   // the roulette item alone, with nothing to land on
  for (uint32_t word : {MENU_LEFT, MENU_RIGHT, MENU_UP, MENU_DOWN, MENU_START, MENU_SELECT, MENU_UPLEFT}) input(word);
  EXPECT_EQ(w.state, WHEEL_IDLE);
  Wheel_TimeUp(w, now);
  EXPECT_EQ(w.state, WHEEL_LEAVE);
}
}  // namespace
