// The course wheel's decisions over a small library and a few courses: places
// and moves that stop short of the spacers, folders, the choice, the time limit;
// the texts of the life line, the entry blocks and the records; the list scroll.
#include <gtest/gtest.h>

#include "media/input/input.h"
#include "menus/collection_test_util.h"
#include "menus/course_select.h"
#include "menus/course_wheel.h"
#include "support/test_support.h"

namespace {
using Places = std::vector<std::pair<int, int>>;

class CourseWheelTest : public ::testing::Test {
 protected:
  TempDir dir;
  CourseWheel w;
  uint32_t now = 1000;

  void SetUp() override {
    ResetCollectionWorld();
    std::vector<int> solo(14, 0);
    solo[11] = 3;
    solo[12] = 5;
    SetLibrary({MakeSong({"Pack", "", "Often", "A", "", {1, 2, 3, 9}}),
                MakeSong({"Pack", "", "Never", "A", "", {1, 2, 3, 4, 6, 0, 8}}),
                MakeSong({"Pack", "", "Sixpanel", "A", "", solo})});
  }
  void TearDown() override { ResetCollectionWorld(); }

  Course& AddCourse(const char* folder, const char* name, const std::string& songs) {
    Course& k = AddTestCourse(folder, name, songs);
    EXPECT_GT(k.entryCount, 0) << name;
    return k;
  }
  // Alpha: two courses; Beta: one; Gamma: one that only SINGLE can play.
  void ThreeFolders() {
    AddCourse("Alpha", "A1", "#SONG:Pack\\Often:BASIC;\n");
    AddCourse("Alpha", "A2", "#SONG:Pack\\Never:MANIAC;\n#SONG:*:3..5;\n");
    AddCourse("Beta", "B1", "#SONG:Pack\\Never:BASIC;\n");
    AddCourse("Gamma", "G1", "#SONG:Pack\\Often:SMANIAC;\n");
  }
  Collection& c() { return g_courseCollection; }
  WheelPos sel() { return Wheel_Selection(c()); }
  std::string at() {
    int k = CourseWheel_CourseAt(c(), sel());
    if (k >= 0) return g_courses[k].name;
    return std::string("[") + c().groups[sel().group].label + "]";
  }
  void input(uint32_t word) {
    now += 20;
    CourseWheel_Input(w, word, now);
    CourseWheel_Update(w, now);
  }
  void settle() {
    now += 1000;
    CourseWheel_Update(w, now);
  }
  // Every place a run of moves in `dir` stands on, from the current one.
  std::vector<std::string> walk(int dir, int moves) {
    std::vector<std::string> seen{at()};
    for (int i = 0; i < moves; i++) {
      input(dir > 0 ? MENU_RIGHT : MENU_LEFT);
      settle();
      seen.push_back(at());
    }
    return seen;
  }
};

TEST_F(CourseWheelTest, StartsInTheFirstFolderOpenedAndMovesStopShortOfTheSpacers) {
  ThreeFolders();
  g_players[1].active = 1;
  ASSERT_TRUE(CourseWheel_Begin(w, now));
  EXPECT_EQ(sel().group, kCourseSpacers);
  EXPECT_EQ(c().groups[kCourseSpacers].state, GROUP_OPEN);
  EXPECT_EQ(walk(-1, 2), (std::vector<std::string>{"A1", "[Alpha]", "[Alpha]"}));
  EXPECT_EQ(walk(1, 6), (std::vector<std::string>{"[Alpha]", "A1", "A2", "[Beta]", "[Gamma]", "[Gamma]", "[Gamma]"}));
  EXPECT_FALSE(CourseWheel_Move(w, 1, now));   // the end of the wheel: no move, no slide
  EXPECT_FALSE(CourseWheel_Moving(w));
  int ordinal = 0, total = 0;
  CourseWheel_Ordinal(c(), sel(), ordinal, total);
  EXPECT_EQ(total, 5);   // Alpha's item and two courses, Beta, Gamma
  EXPECT_EQ(ordinal, 4);
  input(MENU_LEFT << MENU_P2_SHIFT);   // either player moves the wheel
  EXPECT_EQ(at(), "[Beta]");
  EXPECT_TRUE(CourseWheel_Moving(w));
  input(MENU_LEFT | MENU_RIGHT);       // both ways at once: neither
  EXPECT_EQ(at(), "[Beta]");
}

TEST_F(CourseWheelTest, StartOnAFolderTogglesItAndClosesEveryOther) {
  ThreeFolders();
  ASSERT_TRUE(CourseWheel_Begin(w, now));
  walk(1, 2);
  ASSERT_EQ(at(), "[Beta]");
  input(MENU_UPRIGHT);   // Up-Right only chooses courses
  EXPECT_EQ(c().groups[6].state, GROUP_CLOSED);
  input(MENU_START);
  EXPECT_EQ(c().groups[6].state, GROUP_OPEN);
  EXPECT_EQ(c().groups[5].state, GROUP_CLOSED);
  EXPECT_EQ(walk(1, 1), (std::vector<std::string>{"[Beta]", "B1"}));
  EXPECT_EQ(walk(-1, 2), (std::vector<std::string>{"B1", "[Beta]", "[Alpha]"}));
  input(MENU_START << MENU_P2_SHIFT);
  EXPECT_EQ(c().groups[5].state, GROUP_OPEN);
  EXPECT_EQ(c().groups[6].state, GROUP_CLOSED);
  input(MENU_START);
  EXPECT_EQ(c().groups[5].state, GROUP_CLOSED);
  EXPECT_EQ(w.state, COURSE_IDLE);
}

TEST_F(CourseWheelTest, StartOrUpRightOnACourseChoosesItAndEscapeLeaves) {
  ThreeFolders();
  ASSERT_TRUE(CourseWheel_Begin(w, now));
  walk(1, 1);
  input(MENU_UPRIGHT);
  EXPECT_EQ(CourseWheel_Result(w, now + kChosenWaitMs - 1), 0);
  EXPECT_EQ(CourseWheel_Result(w, now + kChosenWaitMs), 1);
  input(MENU_ESCAPE | MENU_RIGHT);   // nothing moves once chosen
  EXPECT_EQ(w.state, COURSE_CHOSEN);
  EXPECT_STREQ(g_courses[CourseSelect_SelectedCourse()].name, "A2");
  ASSERT_TRUE(CourseWheel_Begin(w, now));
  input(MENU_ESCAPE | MENU_START);
  EXPECT_EQ(CourseWheel_Result(w, now), 2);
}

TEST_F(CourseWheelTest, TimeUpChoosesTheCourseOrTheFirstOfTheFolderItStandsOn) {
  ThreeFolders();
  ASSERT_TRUE(CourseWheel_Begin(w, now));
  walk(1, 1);
  CourseWheel_TimeUp(w, now);
  EXPECT_EQ(w.state, COURSE_CHOSEN);
  EXPECT_EQ(at(), "A2");
  ASSERT_TRUE(CourseWheel_Begin(w, now));
  walk(1, 3);
  ASSERT_EQ(at(), "[Gamma]");
  CourseWheel_TimeUp(w, now);
  EXPECT_EQ(w.state, COURSE_CHOSEN);
  EXPECT_EQ(at(), "G1");
  EXPECT_EQ(c().groups[5].state, GROUP_CLOSED);
}

TEST_F(CourseWheelTest, CoursesTheStyleCannotPlayAreLeftOutAndWithNoneTheScreenLeaves) {
  ThreeFolders();
  Player_SetStyle(g_players[0], "DOUBLE", 8, true);
  ASSERT_TRUE(CourseWheel_Begin(w, now));
  EXPECT_EQ(w.styleBase, 4);
  EXPECT_EQ(w.styleKey, 8);
  // A1 (no DOUBLE BASIC of Often) and G1 are left out; Gamma is empty and skipped
  EXPECT_EQ(walk(1, 2), (std::vector<std::string>{"A2", "[Beta]", "[Beta]"}));
  EXPECT_EQ(walk(-1, 2), (std::vector<std::string>{"[Beta]", "A2", "[Alpha]"}));

  g_courses.clear();
  g_courseFolders.clear();
  AddCourse("Alpha", "A1", "#SONG:Pack\\Often:BASIC;\n");
  AddCourse("Beta", "B1", "#SONG:Pack\\Sixpanel:BASIC;\n");
  Player_SetStyle(g_players[0], "SOLO", 6, true);
  ASSERT_TRUE(CourseWheel_Begin(w, now));
  EXPECT_EQ(at(), "B1");   // the first folder has nothing for SOLO: the next one opens
  EXPECT_EQ(c().groups[6].state, GROUP_OPEN);
  Player_SetStyle(g_players[0], "DOUBLE", 8, true);
  LogOpen(0);
  EXPECT_FALSE(CourseWheel_Begin(w, now));
  LogOff();
  EXPECT_EQ(CourseWheel_Result(w, now), 2);
  EXPECT_NE(ReadFile("rkv2.log").find("No course can be played in this style\n"), std::string::npos);
  EXPECT_EQ(CourseSelect(), 0);   // leaves at once, without a screen
}

TEST_F(CourseWheelTest, ASingleFolderShowsItsCoursesInlineAndStartNeverFolds) {
  AddCourse("Only", "One", "#SONG:Pack\\Often:BASIC;\n");
  AddCourse("Only", "Two", "#SONG:Pack\\Often:ANOTHER;\n");
  ASSERT_TRUE(CourseWheel_Begin(w, now));
  EXPECT_EQ(c().groups[5].state, GROUP_INLINE);
  EXPECT_EQ(walk(-1, 1), (std::vector<std::string>{"One", "One"}));
  EXPECT_EQ(walk(1, 2), (std::vector<std::string>{"One", "Two", "Two"}));
  CourseWheel_ToggleFolder(c(), 5);
  EXPECT_EQ(c().groups[5].state, GROUP_INLINE);
}

// ---- texts ----

CourseEntryBlock block(const Course& k, int i, int base = 0) {
  CourseEntryBlock b;
  CourseEntry_Block(k.entries[i], i + 1, base, b);
  return b;
}

TEST_F(CourseWheelTest, TheLifeLineNamesLivesAndRepeats) {
  Course& k = AddCourse("F", "K", "#SONG:*:BASIC;\n");
  char line[64];
  CourseSelect_LifeLine(k, line, sizeof line);
  EXPECT_STREQ(line, "Standard");
  k.repeat = 1;
  CourseSelect_LifeLine(k, line, sizeof line);
  EXPECT_STREQ(line, "Standard, Repeats");
  Course& lives = AddCourse("F", "L", "#LIVES:12;\n#REPEAT:YES;\n#SONG:*:BASIC;\n");
  CourseSelect_LifeLine(lives, line, sizeof line);
  EXPECT_STREQ(line, "10 lives, Repeats");
  lives.repeat = 0;
  lives.lives = 1;
  CourseSelect_LifeLine(lives, line, sizeof line);
  EXPECT_STREQ(line, "1 lives");
}

TEST_F(CourseWheelTest, AFixedSongShowsItsTitleDifficultyModifiersAndTheLevelOfTheStyle) {
  const Course& k = AddCourse("F", "K",
                              "#SONG:Pack\\Never:SMANIAC:MIRROR,1.5x;\n#SONG:Pack\\never:ANOTHER;\n"
                              "#SONG:Pack\\Never:MANIAC;\n");
  CourseEntryBlock b = block(k, 0);
  EXPECT_STREQ(b.number, "1");
  EXPECT_STREQ(b.name, "Never");
  EXPECT_STREQ(b.level, "x 4");
  EXPECT_EQ(b.difficulty, 3);
  EXPECT_STREQ(CourseEntry_DifficultyName(b.difficulty), "SMANIAC");
  EXPECT_STREQ(b.detail, "");
  EXPECT_STREQ(b.modifiers, "MIRROR,1.5x");
  EXPECT_STREQ(block(k, 1, 4).level, "x ?");   // DOUBLE: Never has no ANOTHER chart there
  EXPECT_STREQ(block(k, 1, 4).number, "2");
  EXPECT_STREQ(block(k, 2, 4).level, "x 8");
  EXPECT_STREQ(block(k, 2, 0).level, "x 3");
}

TEST_F(CourseWheelTest, ARandomEntryShowsItsDifficultyLine) {
  const Course& k = AddCourse("F", "K",
                              "#SONG:*:MANIAC:HIDDEN;\n#SONG:*:3..6;\n#SONG:*:7;\n"
                              "#SONG:Pack\\*:BASIC;\n#SONG:Pack\\*:2..4;\n#SONG:Pack\\*:5..5;\n");
  ASSERT_EQ(k.entryCount, 6);
  struct {
    const char* detail;
    const char* level;
  } want[6] = {{"Difficulty: 3", "x ?"},      {"Difficulty: 3 - 6", "x ?"}, {"Difficulty: 7 - 7", "x 7"},
               {"/Pack, Diff: 1", "x ?"},     {"/Pack, Diff: 2 - 4", "x ?"}, {"/Pack, Diff: 5 - 5", "x 5"}};
  for (int i = 0; i < 6; i++) {
    CourseEntryBlock b = block(k, i);
    EXPECT_STREQ(b.name, "RANDOM") << i;
    EXPECT_TRUE(b.random) << i;
    EXPECT_STREQ(b.detail, want[i].detail) << i;
    EXPECT_STREQ(b.level, want[i].level) << i;
  }
  EXPECT_EQ(block(k, 0).difficulty, 2);
  EXPECT_EQ(block(k, 1).difficulty, -1);
  EXPECT_STREQ(block(k, 0).modifiers, "HIDDEN");
}

TEST_F(CourseWheelTest, BestAndWorstEntriesShowTheSongTheyResolveTo) {
  SetPlayCount("Never", 0, 50);
  const Course& k = AddCourse("F", "K", "#SONG:BEST1:MANIAC;\n#SONG:WORST2:BASIC;\n");
  CourseEntryBlock before = block(k, 0);
  EXPECT_STREQ(before.name, "BEST 1");
  EXPECT_STREQ(before.level, "x ?");
  EXPECT_STREQ(block(k, 1).name, "WORST 2");
  ResolveBestCourseEntries();
  CourseEntryBlock b = block(k, 0);
  EXPECT_STREQ(b.name, "Never");
  EXPECT_STREQ(b.detail, "BEST 1");
  EXPECT_STREQ(b.level, "x 3");
  EXPECT_EQ(b.difficulty, 2);
  b = block(k, 1);
  EXPECT_STREQ(b.name, g_songs[k.entries[1].song].title);
  EXPECT_STREQ(b.detail, "WORST 2");
}

TEST_F(CourseWheelTest, TheRecordsLineComesFromTheStoredResultOfTheStyle) {
  Course& k = AddCourse("F", "Marathon", "#SONG:*:BASIC;\n");
  char line[96];
  CourseResult_Line(CourseResult_Machine(k, 4), line, sizeof line);
  EXPECT_STREQ(line, "");   // no record: nothing
  k.recordIndex = TestRecord(g_records, "COURSE|Marathon");
  Result r = CourseResultOf(2345678, 934, 2, 3 * 60000 + 12 * 1000 + 345, 4);
  snprintf(r.holder, sizeof r.holder, "KIT");
  ASSERT_TRUE(storeResult(g_records, k.recordIndex, 4, 0, true, r));
  Result best = CourseResult_Machine(k, 4);
  CourseResult_Line(best, line, sizeof line);
  EXPECT_STREQ(line, "Stg. 4   93.4%   03:12:345");
  Wheel_BestText(best, line, sizeof line);
  EXPECT_STREQ(line, "Best 2345678 AA");   // storeResult leaves the holder to setHolder
  CourseResult_Line(CourseResult_Machine(k, 8), line, sizeof line);
  EXPECT_STREQ(line, "");   // DOUBLE has none

  // the player's own, under the same key in the profile's records
  RecordTable mine;
  mine.profile = "KIT";
  TestRecord(mine, "COURSE|Marathon");
  r.bestB = 61 * 60000 + 5;
  r.bestC = 12;
  r.bestA = 1000;
  ASSERT_TRUE(storeResult(mine, 0, 4, 0, true, r));
  EXPECT_EQ(CourseResult_Player(k, 0, 4).bestScore, 0);   // no profile records for player 1 yet
  g_playerRecords[0] = &mine;
  CourseResult_Line(CourseResult_Player(k, 0, 4), line, sizeof line);
  EXPECT_STREQ(line, "Stg. 12   100.0%   61:00:005");
  EXPECT_EQ(CourseResult_Player(k, 1, 4).bestScore, 0);
  g_playerRecords[0] = nullptr;
}

TEST(CourseList, AListThatFitsStandsStillALongOneRestsScrollsAndStartsOver) {
  EXPECT_EQ(CourseList_Scroll(0, 5000), 0);
  EXPECT_EQ(CourseList_Scroll(-40, 5000), 0);
  // 60 px over: 30 px a second
  EXPECT_EQ(CourseList_Scroll(60, 0), 0);
  EXPECT_EQ(CourseList_Scroll(60, 2499), 0);
  EXPECT_EQ(CourseList_Scroll(60, 3500), 30);
  EXPECT_EQ(CourseList_Scroll(60, 4500), 60);
  EXPECT_EQ(CourseList_Scroll(60, 6999), 60);
  EXPECT_EQ(CourseList_Scroll(60, 7000), 0);   // and again from the top
  // 64 blocks: the whole list goes by within 20 s, and the scroll never steps back while it runs
  int overflow = 64 * 29 - 171, last = 0;
  for (uint32_t t = 2500; t < 2500 + 20000; t += 100) {
    int s = CourseList_Scroll(overflow, t);
    EXPECT_GE(s, last);
    last = s;
  }
  EXPECT_EQ(last, overflow);
}
}  // namespace
