// SelectSong and the modifier screen run whole on the dummy window, driven by
// scripted keys.
#include "menus/modifier_select.h"
#include "library/profiles.h"
#include "menus/song_wheel.h"
#include "play/player.h"
#include "wheel_screen_util.h"

namespace {
TEST_F(WheelScreenRun, OnePlayerBrowsesChoosesAndSetsModifiers) {
  DemoLibrary();
  Collection_NewGame();
  Player_SetStyle(g_players[0], "SINGLE", 4, true);
  KeyScript k;
  k.tap(key::kF11, 400)
      .hold(key::kRight, 200, 140)
      .tap(key::kRight, 200)
      .tap(key::kF11, 400)
      .tap(key::kSelect, 100)
      .tap(key::kDown, 150)
      .tap(key::kF11, 150)
      .tap(key::kSelect, 100)
      .tap(key::kStart, 150)      // the song is chosen
      .tap(key::kF11, 700)        // the modifier screen
      .hold(key::kDown, 100, 140)
      .tap(key::kRight, 100)
      .tap(key::kF11, 200);
  for (int i = 0; i < 9; i++) k.tap(key::kStart, 80);
  k.tap(key::kStart, 100);        // on EXIT
  k.run();
  int r = SelectSong(1);
  EXPECT_EQ(r, 1);
  int s = Collection_SelectedSong(g_collection);
  ASSERT_GE(s, 0);
  EXPECT_GE(g_players[0].difficulty, 0);
  EXPECT_EQ(g_players[0].level, g_songs[s].levels[g_players[0].difficulty]);
  EXPECT_EQ(g_players[0].options.effect, 1);
  EXPECT_STREQ(g_players[0].modifierText, "1.5x,BOOST");
}
}  // namespace

namespace {
// Gives the demo song `title` a machine result for SINGLE MANIAC.
void GiveRecord(const char* title, double score, int grade, const char* holder) {
  SongEntry& e = g_songs[FindSong(title)];
  std::string k = SongList_RecordKey(e);
  g_records.records.push_back(Records_New(k.c_str(), 0));
  g_records.results.emplace_back();
  g_records.index[k] = (int)g_records.records.size() - 1;
  Result r{};
  r.bestScore = score;
  r.bestGrade = (uint8_t)grade;
  storeResult(g_records, (int)g_records.records.size() - 1, 1, 2, false, r);
  setHolder(g_records, (int)g_records.records.size() - 1, 1, 2, holder);
}

TEST_F(WheelScreenRun, TwoPlayersChooseTheirDifficultiesAndBothLeaveByExit) {
  DemoLibrary();
  GiveRecord("Neon Stride", 8765432, 2, "KIT");
  Collection_NewGame();
  g_players[1].active = 1;
  g_players[0].difficulty = 2;
  g_players[1].difficulty = 0;
  g_players[1].options.turn = TURN_MIRROR;
  g_players[1].options.power = 1;
  KeyScript k;
  k.hold(key::kRight, 300, 140)
      .tap(key::kDown2, 250)            // player 2: ANOTHER
      .tap(key::kSelect2, 150)
      .tap(key::kF11, 300)
      .tap(key::kSelect2, 100)
      .tap(key::kStart, 150)
      .tap(key::kF11, 800);            // the modifier screen with both cursors
  for (int i = 0; i < 9; i++) k.tap(key::kStart, 60);
  k.tap(key::kStart, 100);              // player 1 alone on EXIT: nothing
  k.tap(key::kF11, 200);
  for (int i = 0; i < 9; i++) k.tap(key::kStart2, 60);
  k.tap(key::kStart2, 100);
  k.run();
  ASSERT_EQ(SelectSong(1), 1);
  EXPECT_STREQ(g_songs[Collection_SelectedSong(g_collection)].title, "Neon Stride");
  EXPECT_EQ(g_players[0].difficulty, 2);
  EXPECT_EQ(g_players[1].difficulty, 1);
  EXPECT_STREQ(g_players[0].modifierText, " ");
  EXPECT_STREQ(g_players[1].modifierText, "MIRROR,P.DROP");
}

TEST_F(WheelScreenRun, FoldersOpenAndCloseAndEscapeLeaves) {
  DemoLibrary();
  Collection_NewGame();
  g_settings.currentSort = SORT_DIFFICULTY;
  KeyScript k;
  k.tap(key::kF11, 400)
      .hold(key::kRight, 100, 140)
      .tap(key::kStart, 300)            // opens the folder
      .tap(key::kRight, 200)
      .tap(key::kF11, 400)
      .tap(key::kEscape, 100);
  k.run();
  EXPECT_EQ(SelectSong(2), 0);
  EXPECT_EQ(g_collection.groups[g_collection.selectedGroup].state, GROUP_OPEN);
}

TEST_F(WheelScreenRun, PlayersBestCarriesTheBestMarks) {
  DemoLibrary();
  for (int i = 0; i < (int)g_songs.size(); i++) SetPlayCount(g_songs[i].title, 0, 100 - i * 7);
  Collection_NewGame();
  g_settings.currentSort = SORT_BEST;
  KeyScript k;
  k.tap(key::kF11, 500).tap(key::kEscape, 100);
  k.run();
  EXPECT_EQ(SelectSong(2), 0);
  EXPECT_STREQ(g_collection.caption, "Player's Best");
}

TEST_F(WheelScreenRun, TheRouletteSpinsAndStops) {
  DemoLibrary();
  Collection_NewGame();
  KeyScript k;
  k.hold(key::kLeft, 300, 140)          // the last item: ROULETTE
      .tap(key::kF11, 300)
      .tap(key::kStart, 100)
      .tap(key::kF11, 500)
      .tap(key::kF11, 3500)
      .tap(key::kEscape, 100);
  k.run();
  EXPECT_EQ(SelectSong(2), 0);
  EXPECT_GE(Collection_SelectedSong(g_collection), 0);
}

TEST_F(WheelScreenRun, AnExtraStageOffersItsBonusSongWithItsModifiers) {
  DemoLibrary();
  Collection_NewGame();
  g_settings.maxStage = 3;
  Course& b = g_bonusCourses[0];
  Course_Defaults(b);
  b.valid = 1;
  b.index = -1;
  ASSERT_GT(Course_ParseText("#COURSE:Extra;\n#SONG:Demo\\starfall-run:MANIAC:1.5x,REVERSE,SUDDEN;\n", b), 0);
  KeyScript k;
  k.tap(key::kF11, 500).tap(key::kSelect, 100).tap(key::kStart, 200);   // no quick cursor on an extra stage
  k.run();
  ASSERT_EQ(SelectSong(4), 1);   // no modifier screen
  EXPECT_STREQ(g_songs[Collection_SelectedSong(g_collection)].title, "Starfall Run");
  EXPECT_EQ(g_players[0].difficulty, 2);
  EXPECT_STREQ(g_players[0].modifierText, "1.5x");
}

TEST_F(WheelScreenRun, DoubleGoesBackFromTheModifierScreenAndStoresTheProfile) {
  DemoLibrary();
  Collection_NewGame();
  Player_SetStyle(g_players[0], "DOUBLE", 8, true);
  Dir_Create("Profiles/KIT");
  ASSERT_EQ(listProfiles(), 1);
  g_players[0].profileSlot = 1;
  KeyScript k;
  k.tap(key::kStart, 500)
      .hold(key::kDown, 700, 140)
      .tap(key::kDown, 100)
      .tap(key::kDown, 100)
      .tap(key::kRight, 100)            // Turn: MIRROR
      .tap(key::kRight, 100)            // and no further
      .tap(key::kF11, 200)
      .tap(key::kEscape, 100)           // back to the wheel
      .tap(key::kF11, 800)
      .tap(key::kStart, 100)
      .tap(key::kStart, 600);           // the modifier screen again: ten rows down to EXIT
  for (int i = 0; i < 9; i++) k.tap(key::kStart, 100);
  k.run();
  ASSERT_EQ(SelectSong(1), 1);
  EXPECT_EQ(g_players[0].options.turn, TURN_MIRROR);
  EXPECT_STREQ(g_players[0].modifierText, "MIRROR");
  std::string saved = ReadFile("Profiles/KIT/profile.dat");
  ASSERT_EQ(saved.size(), sizeof(Profile));
  EXPECT_EQ((uint8_t)saved[offsetof(Profile, modifiers) + 3], TURN_MIRROR);
  // the same modifiers again: nothing to store
  EXPECT_FALSE(SelectSong_StoreModifiers(g_players[0]));
  g_players[0].options.speed = 3;
  EXPECT_TRUE(SelectSong_StoreModifiers(g_players[0]));
  EXPECT_EQ((uint8_t)ReadFile("Profiles/KIT/profile.dat")[offsetof(Profile, modifiers)], 3);
}
}  // namespace
