#include "app/title_menu.h"
#include "library/song_list.h"
#include "menus/available_modes.h"
#include <gtest/gtest.h>
#include <cstring>

TEST(TitleMenu, IdleStepsAnnounceThenStartTheDemo) {
  EXPECT_EQ(TitleMenu_IdleAction(0, true, true), 1);
  EXPECT_EQ(TitleMenu_IdleAction(1, true, true), 2);
  EXPECT_EQ(TitleMenu_IdleAction(2, true, true), 3);   // the third quiet period: the demo
  EXPECT_EQ(TitleMenu_IdleAction(7, true, true), 3);
  EXPECT_EQ(TitleMenu_IdleAction(2, true, false), 0);  // no songs for SINGLE or DOUBLE
  for (int i = 0; i < 10; i++) EXPECT_EQ(TitleMenu_IdleAction(i, false, true), 0);
}

TEST(TitleMenu, StatusLine) {
  g_songs.assign(3, SongEntry{});
  g_groupList = {"A", "B"};
  g_titleStatus = TitleStatus{};
  g_titleStatus.scanChanged = true;
  g_titleStatus.added = 2;
  g_titleStatus.deleted = 1;
  char t[128];
  TitleMenu_StatusText(100, true, t, sizeof t);
  EXPECT_STREQ(t, "2 Added,  0 Updated,  1 Deleted");
  TitleMenu_StatusText(1600, true, t, sizeof t);
  EXPECT_STREQ(t, "3 songs available in 2 folders.");
  TitleMenu_StatusText(100, false, t, sizeof t);  // a later menu: no scan counts
  EXPECT_STREQ(t, "3 songs available in 2 folders.");
  TitleMenu_StatusText(5000, true, t, sizeof t);
  EXPECT_STREQ(t, "");
  g_songs.clear();
  g_groupList.clear();
}

TEST(AvailableModes, FirstThreeDifficultiesOfEachStyle) {
  g_songs.assign(2, SongEntry{});
  bool f[MODE_COUNT];
  FindAvailableModes(f);
  EXPECT_FALSE(f[MODE_SINGLE] || f[MODE_DOUBLE] || f[MODE_SOLO]);
  g_songs[0].levels[3] = 9;   // SMANIAC alone does not count
  g_songs[1].levels[6] = 4;   // DOUBLE MANIAC
  g_songs[1].levels[13] = 2;  // SOLO MANIAC
  FindAvailableModes(f);
  EXPECT_FALSE(f[MODE_SINGLE]);
  EXPECT_TRUE(f[MODE_DOUBLE]);
  EXPECT_TRUE(f[MODE_SOLO]);
  g_songs.clear();
}
