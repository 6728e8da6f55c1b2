// The course wheel's collection and the BEST n / WORST n entries.
#include <gtest/gtest.h>

#include "menus/collection_test_util.h"
#include "support/test_support.h"

namespace {
class CourseCollectionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetCollectionWorld();
    auto song = [](const char* title, std::vector<int> levels) {
      SongSpec s;
      s.group = "Pack";
      s.title = title;
      s.artist = "A";
      s.levels = std::move(levels);
      return MakeSong(s);
    };
    std::vector<int> solo(14, 0);
    solo[11] = 3;
    solo[12] = 5;
    solo[13] = 7;
    std::vector<int> all = {1, 2, 3, 4, 0, 0, 5};
    SetLibrary({song("Often", {1, 2, 3, 9}), song("Never", all), song("Sometimes", {0, 0, 6}), song("Sixpanel", solo)});
    SetPlayCount("Often", 0, 30);
    SetPlayCount("Sometimes", 0, 10);
  }
  void TearDown() override { ResetCollectionWorld(); }

  void AddCourse(const char* folder, const char* name, const std::string& songs) {
    ASSERT_GT(AddTestCourse(folder, name, songs).entryCount, 0) << name;
  }
  TempDir dir;
};

TEST_F(CourseCollectionTest, SpacersAroundOneInlineFolder) {
  AddCourse("Main", "First", "#SONG:Pack\\Often:BASIC;\n");
  AddCourse("Main", "Second", "#SONG:*:3..5;\n");
  g_settings.currentSort = SORT_BPM;
  EXPECT_EQ(BuildCourseCollection(false), 2);
  const Collection& c = g_courseCollection;
  EXPECT_EQ(g_settings.currentSort, SORT_ALL_MUSIC);
  EXPECT_STREQ(c.caption, "All Courses");
  ASSERT_EQ(c.groupCount, 11);
  EXPECT_EQ(c.selectedGroup, 5);
  for (int g : {0, 4, 6, 10}) {
    EXPECT_STREQ(c.groups[g].label, " ");
    EXPECT_EQ(c.groups[g].state, GROUP_CLOSED);
    EXPECT_EQ(c.groups[g].count, 1);
  }
  EXPECT_STREQ(c.groups[5].label, "Main");
  EXPECT_EQ(c.groups[5].state, GROUP_INLINE);
  ASSERT_EQ(c.groups[5].count, 2);
  EXPECT_STREQ(g_courses[c.groups[5].courses[1]].name, "Second");
  EXPECT_EQ(g_courses[0].colour, 0x07FF1Cu);
}

TEST_F(CourseCollectionTest, SeveralFoldersAreClosedFolders) {
  AddCourse("One", "A", "#SONG:Pack\\Often:BASIC;\n");
  AddCourse("Two", "B", "#SONG:Pack\\Often:BASIC;\n");
  g_skinConfig.folders.count = 1;
  g_skinConfig.folders.values[0] = 0x123456;
  EXPECT_EQ(BuildCourseCollection(false), 2);
  EXPECT_EQ(g_courseCollection.groupCount, 12);
  EXPECT_EQ(g_courseCollection.groups[5].state, GROUP_CLOSED);
  EXPECT_EQ(g_courseCollection.groups[6].state, GROUP_CLOSED);
  EXPECT_EQ(g_courses[1].colour, 0x123456u);
}

TEST_F(CourseCollectionTest, SoloSmaniacCourseIsDroppedWithItsLogLine) {
  AddCourse("Main", "Hard Six", "#SONG:Pack\\Sixpanel:BASIC;\n#SONG:Pack\\Sixpanel:SMANIAC;\n");
  AddCourse("Main", "Fine Six", "#SONG:Pack\\Sixpanel:MANIAC;\n");
  Player_SetStyle(g_players[0], "SOLO", 6, true);
  LogOpen(0);
  EXPECT_EQ(BuildCourseCollection(true), 1);
  LogOff();
  EXPECT_STREQ(g_courses[g_courseCollection.groups[5].courses[0]].name, "Fine Six");
  EXPECT_NE(ReadFile("rkv2.log").find("Hard Six...\nProblem with: 'Sixpanel' in SOLO\n"), std::string::npos);
}

TEST_F(CourseCollectionTest, FixedEntriesNeedTheirChartAndRandomOnesTheStyle) {
  AddCourse("Main", "Singles", "#SONG:Pack\\Sometimes:BASIC;\n");
  AddCourse("Main", "Doubles", "#SONG:Pack\\Never:MANIAC;\n");
  AddCourse("Main", "Anything", "#SONG:*:BASIC;\n");
  Player_SetStyle(g_players[0], "DOUBLE", 8, true);
  LogOpen(0);
  EXPECT_EQ(BuildCourseCollection(true), 2);   // "Never" has a DOUBLE MANIAC chart; a random entry is fine
  LogOff();
  EXPECT_NE(ReadFile("rkv2.log").find("Singles...\nProblem with: 'Sometimes' in DOUBLE\n"), std::string::npos);
  g_availableModes[MODE_DOUBLE] = false;
  EXPECT_EQ(BuildCourseCollection(true), 1);
  EXPECT_EQ(BuildCourseCollection(false), 3);
}

TEST_F(CourseCollectionTest, BestAndWorstEntriesTakeTheMostAndLeastPlayed) {
  AddCourse("Main", "Favourites",
            "#SONG:BEST1:BASIC;\n#SONG:BEST2:BASIC;\n#SONG:WORST1:SMANIAC;\n#SONG:BEST9:BASIC;\n#SONG:WORST9:BASIC;\n");
  ResolveBestCourseEntries();
  EXPECT_EQ(g_settings.currentSort, SORT_BEST);
  const Course& k = g_courses[0];
  // SINGLE list: Often (30), Sometimes (10), then Never (0); Sixpanel has no SINGLE chart
  EXPECT_STREQ(g_songs[k.entries[0].song].title, "Often");
  EXPECT_STREQ(g_songs[k.entries[1].song].title, "Sometimes");
  EXPECT_EQ(k.entries[1].difficulty, 2);   // no BASIC or ANOTHER chart: the next one that exists
  EXPECT_STREQ(g_songs[k.entries[2].song].title, "Never");
  EXPECT_EQ(k.entries[2].difficulty, 3);
  EXPECT_STREQ(g_songs[k.entries[3].song].title, "Never");   // past the end: the last song
  EXPECT_STREQ(g_songs[k.entries[4].song].title, "Often");   // past the start: the first song
  EXPECT_EQ(k.entries[0].group, 0);
}

TEST_F(CourseCollectionTest, BestEntriesOfBonusCoursesAreResolvedToo) {
  Course& b = g_bonusCourses[0];
  b.valid = 1;
  ASSERT_EQ(Course_ParseText("#SONG:BEST1:ANOTHER;\n", b), 1);
  ResolveBestCourseEntries();
  EXPECT_STREQ(g_songs[b.entries[0].song].title, "Often");
  EXPECT_EQ(b.entries[0].difficulty, 1);
}

TEST_F(CourseCollectionTest, AvailableCoursesAreCountedPerStyle) {
  AddCourse("Main", "Single", "#SONG:Pack\\Often:BASIC;\n");
  AddCourse("Main", "Double", "#SONG:Pack\\Never:ANOTHER;\n");   // SINGLE ANOTHER 2, DOUBLE none
  AddCourse("Main", "Six", "#SONG:Pack\\Sixpanel:ANOTHER;\n");
  AddCourse("Main", "Any", "#SONG:*:BASIC;\n");
  int counts[3];
  Player_SetStyle(g_players[0], "SOLO", 6, true);
  int sum = DetermineAvailableCourses(counts);
  EXPECT_EQ(counts[0], 3);   // Single, Double (its SINGLE chart), Any
  EXPECT_EQ(counts[1], 1);   // Any: there are DOUBLE charts
  EXPECT_EQ(counts[2], 2);   // Six, Any
  EXPECT_EQ(sum, 6);
  EXPECT_STREQ(g_players[0].styleName, "SOLO");   // the player's style is put back
  EXPECT_EQ(g_players[0].panels, 6);
}
}  // namespace
