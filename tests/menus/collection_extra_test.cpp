// Extra stages: the Bonus group, its forced difficulties and modifiers, and the
// random picks of course entries.
#include <gtest/gtest.h>

#include "menus/collection_test_util.h"
#include "support/test_support.h"

#include <map>
#include <set>

namespace {
class ExtraStageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetCollectionWorld();
    std::vector<SongEntry> songs;
    for (const char* t : {"Alpha", "Bravo", "Charlie", "Delta", "Echo"}) {
      SongSpec s;
      s.group = "Pack";
      s.title = t;
      s.artist = "Artist";
      s.levels = {2, 4, 6, 8};
      songs.push_back(MakeSong(s));
    }
    SetLibrary(songs);
    g_settings.maxStage = 3;
    g_settings.extraStages = 2;   // CHOICE
  }
  void TearDown() override { ResetCollectionWorld(); }

  // A bonus course from course text, resolved against the library.
  void SetBonus(int which, const std::string& text) {
    Course& b = g_bonusCourses[which];
    Course_Defaults(b);
    b.valid = 1;
    b.index = -1 - which;
    ASSERT_GT(Course_ParseText(text, b), 0);
  }

  const CollectionGroup& Bonus() { return g_collection.groups[g_collection.groupCount - 1]; }
  TempDir dir;
};

TEST_F(ExtraStageTest, NamedBonusSongsAreTheOnlySelectableOnes) {
  SetBonus(0, "#COURSE:Extra;\n#SONG:Pack\\Charlie:SMANIAC:MIRROR,1.5x,DARK;\n");
  g_settings.currentSort = SORT_TITLE;   // an extra stage always shows All Music
  BuildCollection(1, nullptr, 0, 4, 0);
  EXPECT_EQ(g_settings.currentSort, SORT_ALL_MUSIC);
  ASSERT_EQ(g_collection.groupCount, 2);
  EXPECT_STREQ(Bonus().label, "Bonus");
  EXPECT_EQ(Bonus().state, GROUP_INLINE);
  ASSERT_EQ(Titles(g_collection, 1), (std::vector<std::string>{"Charlie"}));
  EXPECT_EQ(Titles(g_collection, 0), (std::vector<std::string>{"Alpha", "Bravo", "Delta", "Echo"}));
  const uint8_t* o = Bonus().overrides[0];
  EXPECT_EQ(o[0], 3);   // SMANIAC
  EXPECT_EQ(o[1], 1);   // speed 1.5x
  EXPECT_EQ(o[4], 2);   // turn MIRROR
  EXPECT_EQ(o[6], 1);   // dark
  const SongEntry& c = g_songs[FindSong("Charlie")];
  EXPECT_EQ(c.selectable, 1);
  EXPECT_EQ(c.colour, 0xFF0000u);
  for (const char* t : {"Alpha", "Bravo", "Delta", "Echo"}) EXPECT_EQ(g_songs[FindSong(t)].selectable, 0) << t;
  EXPECT_EQ(g_collection.selectedGroup, 1);
  EXPECT_EQ(g_collection.selectedIndex, 0);
  // the next normal build makes every song selectable again, in any sort
  g_settings.currentSort = SORT_TITLE;
  BuildCollection(1, nullptr, 0, 1, 0);
  for (const SongEntry& e : g_songs) EXPECT_EQ(e.selectable, 1) << e.title;
}

TEST_F(ExtraStageTest, TheSecondExtraStageUsesTheSecondBonusCourse) {
  SetBonus(0, "#SONG:Pack\\Alpha:BASIC;\n");
  SetBonus(1, "#SONG:Pack\\Echo:MANIAC:REVERSE,DEATH;\n");
  BuildCollection(1, nullptr, 0, 5, 0);
  ASSERT_EQ(Titles(g_collection, g_collection.groupCount - 1), (std::vector<std::string>{"Echo"}));
  const uint8_t* o = Bonus().overrides[0];
  EXPECT_EQ(o[0], 2);
  EXPECT_EQ(o[7], 1);   // scroll REVERSE
  EXPECT_EQ(o[9], 2);   // power DEATH
}

TEST_F(ExtraStageTest, RandomBonusEntriesPickSongsOutsideBonus) {
  SetBonus(0, "#SONG:Pack\\Bravo:BASIC;\n#SONG:*:MANIAC:HIDDEN;\n#SONG:*:5..9;\n");
  BuildCollection(1, nullptr, 0, 4, 0);
  const CollectionGroup& b = Bonus();
  ASSERT_EQ(b.count, 3);
  EXPECT_STREQ(g_songs[b.songs[0]].title, "Bravo");
  EXPECT_EQ(b.overrides[1][0], 2);
  EXPECT_EQ(b.overrides[1][3], 1);   // appearance HIDDEN
  // levels 5..9 are the MANIAC (6) and SMANIAC (8) charts
  EXPECT_TRUE(b.overrides[2][0] == 2 || b.overrides[2][0] == 3);
  std::set<int> distinct(b.songs, b.songs + b.count);
  EXPECT_EQ(distinct.size(), 3u);
  int outside = 0;
  for (int g = 0; g < g_collection.groupCount - 1; g++) outside += g_collection.groups[g].count;
  EXPECT_EQ(outside, 2);
  for (int i = 0; i < b.count; i++) {
    EXPECT_EQ(g_songs[b.songs[i]].selectable, 1);
    EXPECT_EQ(g_songs[b.songs[i]].colour, 0xFF0000u);
  }
}

TEST_F(ExtraStageTest, WithoutABonusCourseThreeRandomSongsThenOneDarkDeath) {
  BuildCollection(1, nullptr, 0, 4, 0);
  EXPECT_EQ(Bonus().count, 3);
  for (int i = 0; i < 3; i++) {
    EXPECT_EQ(Bonus().overrides[i][0], 2);
    EXPECT_EQ(Bonus().overrides[i][6], 0);
  }
  BuildCollection(1, nullptr, 0, 5, 0);
  ASSERT_EQ(Bonus().count, 1);
  EXPECT_EQ(Bonus().overrides[0][6], 1);   // dark
  EXPECT_EQ(Bonus().overrides[0][9], 2);   // power DEATH
}

TEST_F(ExtraStageTest, RandomExtraStagesLeaveOneSongSelectable) {
  g_settings.extraStages = 1;   // RANDOM
  BuildCollection(1, nullptr, 0, 4, 0);
  ASSERT_EQ(Bonus().count, 3);
  int selectable = 0;
  for (int i = 0; i < Bonus().count; i++) selectable += g_songs[Bonus().songs[i]].selectable;
  EXPECT_EQ(selectable, 1);
  EXPECT_EQ(g_songs[Collection_SelectedSong(g_collection)].selectable, 1);
}

TEST_F(ExtraStageTest, UnlimitedStagesAreNeverExtra) {
  g_settings.maxStage = 6;
  BuildCollection(1, nullptr, 0, 9, 0);
  EXPECT_STREQ(g_collection.groups[g_collection.groupCount - 1].label, "ROULETTE");
}

TEST_F(ExtraStageTest, CollectionPickIsUniformAndHonoursTheEntry) {
  BuildCollection(1, nullptr, 0, 1, 0);
  CourseEntry e;
  ASSERT_TRUE(Course_ParseEntry("*:ANOTHER", e));
  std::map<int, int> seen;
  for (int i = 0; i < 5000; i++) {
    int g, idx, d;
    ASSERT_TRUE(Collection_PickRandom(g_collection, e, 1, 3, -1, g, idx, d));
    EXPECT_EQ(d, 1);
    seen[g_collection.groups[g].songs[idx]]++;
  }
  ASSERT_EQ(seen.size(), 5u);
  for (auto& [s, n] : seen) EXPECT_NEAR(n, 1000, 150) << g_songs[s].title;
  // nothing fits a level no chart has
  ASSERT_TRUE(Course_ParseEntry("*:50", e));
  int g, idx, d;
  EXPECT_FALSE(Collection_PickRandom(g_collection, e, 1, 3, -1, g, idx, d));
  // and nothing is left outside the group the pick must avoid
  ASSERT_TRUE(Course_ParseEntry("*:BASIC", e));
  EXPECT_FALSE(Collection_PickRandom(g_collection, e, 1, 3, 0, g, idx, d));
}
}  // namespace
