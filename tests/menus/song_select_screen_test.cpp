// SelectSong and the modifier screen run whole on the dummy window, driven by
// scripted keys.
#include "menus/modifier_select.h"
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
