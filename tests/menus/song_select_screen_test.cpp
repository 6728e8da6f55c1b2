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
  g_settings.timeLimit = 1;   // shown, never reached
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
