// A pack of thousands of songs in one group folder: indexed from disk, every
// song in the table, in its folder on the wheel, and the wheel reaches the last.
#include <gtest/gtest.h>

#include "library/indexer.h"
#include "menus/collection_test_util.h"
#include "menus/wheel.h"
#include "platform/files.h"
#include "support/test_support.h"

#include <cstdio>

TEST(BigPack, FiveThousandSongsInOneFolderAreListedAndTheWheelReachesTheLast) {
  TempDir dir;
  ResetCollectionWorld();
  constexpr int kSongs = 5000;
  char folder[64], chart[160];
  for (int n = 1; n <= kSongs; n++) {
    snprintf(folder, sizeof folder, "Songs/Mega Pack/%04d", n);
    ASSERT_TRUE(Dir_Create(folder));
    snprintf(chart, sizeof chart, "#TITLE:Track %04d;\n#ARTIST:Many;\n#BPM:140;\n#GAP:0;\n#SINGLE:BASIC:%d:\n2468;\n",
             n, 1 + n % 9);
    WriteFile(std::string(folder) + "/t.rkv", chart);
    WriteFile(std::string(folder) + "/t.ogg", "m");
  }
  IndexProgress p;
  std::timed_mutex m;
  indexSongs("Songs", "rkv2.sng", &p, &m);
  EXPECT_EQ(p.added, kSongs);
  ASSERT_EQ(loadSongList("rkv2.sng"), 1);
  ASSERT_EQ((int)g_songs.size(), kSongs);
  EXPECT_STREQ(g_songs.back().title, "Track 5000");
  FindAvailableModes(g_availableModes);

  Wheel w;
  uint32_t now = 1000;
  g_settings.currentSort = SORT_ALL_SEPARATED;   // one folder: every song inside it
  Wheel_Begin(w, 1, now);
  int g = GroupIndex(g_collection, "Mega Pack");
  ASSERT_GE(g, 0);
  ASSERT_EQ(g_collection.groups[g].count, kSongs);
  Wheel_Select(g_collection, {g, 0});
  int ordinal = 0, total = 0;
  Wheel_Ordinal(g_collection, {g, 0}, ordinal, total);
  EXPECT_GE(total, kSongs);
  // step by step to the last song, and one step left from the first lands on it too
  WheelPos at{g, 0};
  at = Wheel_StepBy(g_collection, at, kSongs - 1);
  ASSERT_GE(Wheel_SongAt(g_collection, at), 0);
  EXPECT_STREQ(g_songs[Wheel_SongAt(g_collection, at)].title, "Track 5000");
  WheelPos left = Wheel_Step(g_collection, WheelPos{g, 0}, -1);
  EXPECT_EQ(left.group, g);
  EXPECT_LT(left.index, 0);   // the folder item
  WheelPos last = Wheel_Step(g_collection, left, -1);
  if (last.group == g && last.index >= 0) {
    EXPECT_STREQ(g_songs[Wheel_SongAt(g_collection, last)].title, "Track 5000");
  }
  ResetCollectionWorld();
}
