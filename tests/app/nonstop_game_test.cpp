// Whole nonstop games run by the real executable, headless: NONSTOP MODE on the
// title menu, the style, the course wheel, the course's songs back to back, the
// course evaluation and its records, on short songs and courses the test writes.
#include "library/profiles.h"
#include "library/records.h"
#include "support/game_script.h"
#include "support/test_support.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {
// NONSTOP MODE (the second item), then SINGLE on the style select.
void toTheStyles(Script& s) {
  s.at("Loading 'rkv2-title.png'");
  s.tap(400, kDown1);
  s.tap(900, kStart1);
  s.at("Loading 'rkv2-style.png'");
  s.tap(500, kStart1);
}

void toTheCourseWheel(Script& s) {
  toTheStyles(s);
  s.at("Starting Course Select");
}

void courseEvaluation(Script& s) {
  s.at("Starting course evaluation screen...");
  s.tap(2500, kStart1);
}
}  // namespace

TEST(NonstopGame, ACourseOfThreeSongsPlaysThroughToItsEvaluationAndIsRecorded) {
  TempDir dir;
  GameSettings settings;
  settings.userProfiles = true;
  PrepareGame(settings);
  ASSERT_TRUE(WriteProfiles({"ALICE"}));
  WriteFile("Courses/Trial/three.crs",
            "#COURSE:Three In A Row;\n#SONG:Group 1\\Song 1:BASIC;\n#SONG:Group 1\\Song 2:BASIC;\n"
            "#SONG:Group 1\\Song 3:BASIC;\n");
  Script s;
  toTheStyles(s);
  s.at("Loading 'rkv2-profile.png'");
  s.tap(500, kRight1);   // ALICE
  s.tap(1200, kStart1);
  s.at("Starting Course Select");
  s.tap(1400, kStart1);
  for (int song = 0; song < 3; song++) {
    s.at("Starting main game...");
    s.basic(0);
  }
  courseEvaluation(s);
  s.credits();
  GameRun r = RunGame(s);
  ASSERT_EQ(r.status, 0) << r.tail();

  // no song wheel, no modifiers, no evaluation between the songs; one at the end
  EXPECT_EQ(CountOf(r.log, "SelectSong()...\n"), 0);
  EXPECT_EQ(CountOf(r.log, "ModifierSelect()...\n"), 0);
  EXPECT_EQ(CountOf(r.log, "Starting evaluation screen...\n"), 0);
  EXPECT_EQ(CountOf(r.log, "Starting course evaluation screen...\n"), 1);
  EXPECT_EQ(CountOf(r.log, "DoMainGame()...\n"), 3);
  EXPECT_TRUE(InOrder(r.log, {"Starting Course Select", "Starting Nonstop...", "Setting up modifiers...",
                              "Setting up song...", "Starting main game...", "Starting main game...",
                              "Starting main game...", "Starting course evaluation screen...",
                              "Starting credits...", "Loading 'rkv2-title.png'"}))
      << r.tail();
  EXPECT_EQ(CountOf(r.log, "Game over...\n"), 0);

  std::vector<std::string> res = SplitLines(r.results);
  ASSERT_EQ(res.size(), 3u) << r.results;
  for (int i = 0; i < 3; i++) {
    EXPECT_EQ(Field(res[i], "chart"), "Songs/Group 1/Song " + std::to_string(i + 1) + "/song.rkv");
    EXPECT_EQ(Field(res[i], "perfect"), "4") << res[i];
    EXPECT_EQ(Field(res[i], "miss"), "0");
    EXPECT_EQ(Field(res[i], "percent"), "100.0000") << "each song's own figures";
    EXPECT_EQ(Field(res[i], "score"), Field(res[0], "score"));
    EXPECT_EQ(Field(res[i], "maxCombo"), std::to_string(4 * (i + 1))) << "the combo runs on";
  }

  // the course's record: the stages reached, the percentage in tenths, the time
  RecordTable rec;
  ASSERT_TRUE(loadRecords(rec));
  const Result* course = ResultOf(rec, "COURSE|Three In A Row");
  ASSERT_NE(course, nullptr);
  EXPECT_EQ(course->styleKey, 4);
  EXPECT_EQ(course->bestC, 3);            // three stages
  EXPECT_EQ(course->bestA, 1000);         // 100.0 %
  EXPECT_EQ(course->bestGrade, 1);
  EXPECT_GE(course->bestB, 3u * 3900u);   // three songs of about 4 s, in ms
  EXPECT_LE(course->bestB, 3u * 4600u);   // without the lead-ins before the music
  EXPECT_STREQ(course->holder, "ALICE");
  // the songs of a course keep no records of their own
  EXPECT_EQ(ResultOf(rec, "Group 1\\Song 1"), nullptr);
  // ALICE's own records and her nonstop figures
  RecordTable own;
  own.profile = "ALICE";
  ASSERT_TRUE(loadRecords(own));
  const Result* mine = ResultOf(own, "COURSE|Three In A Row");
  ASSERT_NE(mine, nullptr);
  EXPECT_EQ(mine->bestC, 3);
  EXPECT_EQ(mine->bestA, 1000);
  ASSERT_EQ(listProfiles(), 1);
  EXPECT_EQ(g_profiles[0].inUse, 0);
  const ProfileStats& st = g_profiles[0].stats[0];
  EXPECT_EQ(st.courseBestStage, 3);
  EXPECT_DOUBLE_EQ(st.courseBestPercent, 100.0);
  EXPECT_EQ(st.courseLongestMs, (int32_t)course->bestB);
  EXPECT_EQ(st.courseBestCombo, 12);
  EXPECT_EQ(st.steps, 12);
  EXPECT_EQ(st.perfects, 12);
}

TEST(NonstopGame, ABatteryCourseEndsOnGameOverWhenTheLivesRunOut) {
  TempDir dir;
  GameSettings settings;
  settings.gameOver = false;   // the lives end a battery course all the same
  PrepareGame(settings, 2);
  WriteFile("Courses/Trial/battery.crs",
            "#COURSE:One Life;\n#LIVES:1;\n#SONG:Group 1\\Song 1:BASIC;\n#SONG:Group 1\\Song 2:BASIC;\n");
  Script s;
  toTheCourseWheel(s);
  s.tap(1400, kStart1);
  s.at("Starting main game...");   // nobody steps: the first miss takes the only life
  courseEvaluation(s);
  s.at("Game over...");
  s.at("Loading 'rkv2-title.png'");
  s.tap(1000, kEscape);
  GameRun r = RunGame(s);
  ASSERT_EQ(r.status, 0) << r.tail();
  EXPECT_EQ(CountOf(r.log, "Starting main game...\n"), 1) << "the second song is never played";
  EXPECT_TRUE(InOrder(r.log, {"dead=1,gameover=0,giveup=0\n", "Starting course evaluation screen...",
                              "Game over...", "Loading 'rkv2-title.png'"}))
      << r.tail();
  EXPECT_EQ(CountOf(r.log, "Starting credits...\n"), 0);
  RecordTable rec;
  ASSERT_TRUE(loadRecords(rec));
  const Result* course = ResultOf(rec, "COURSE|One Life");
  ASSERT_NE(course, nullptr);
  EXPECT_EQ(course->bestC, 0);   // no song of it was played to its end
  EXPECT_LT(course->bestA, 100);
}

TEST(NonstopGame, ARepeatingCourseBreaksAfterEverySecondSongAndEscapeLeavesIt) {
  TempDir dir;
  GameSettings settings;
  settings.autoPlay = true;     // the machine steps; nothing of it is stored
  settings.breakAfter = 2;
  PrepareGame(settings, 2);
  WriteFile("Courses/Trial/endless.crs",
            "#COURSE:Endless;\n#REPEAT:YES;\n#SONG:Group 1\\Song 1:BASIC;\n#SONG:Group 1\\Song 2:BASIC;\n"
            "#SONG:Group 1\\Missing:BASIC;\n#SONG:*:15;\n");   // a song that is gone; a level no song has
  Script s;
  toTheCourseWheel(s);
  s.tap(1400, kStart1);
  s.at("Taking a break...");
  s.tap(2600, kStart1);          // once the fade in is over
  s.at("Taking a break...");
  s.tap(2600, kStart1);
  s.at("Starting main game...");
  s.tap(1500, kEscape);          // the fifth song given up
  courseEvaluation(s);
  s.at("Game over...");
  s.at("Loading 'rkv2-title.png'");
  s.tap(1000, kEscape);
  GameRun r = RunGame(s, 300);
  ASSERT_EQ(r.status, 0) << r.tail();
  EXPECT_EQ(CountOf(r.log, "Starting main game...\n"), 5);
  EXPECT_EQ(CountOf(r.log, "Taking a break...\n"), 2);
  EXPECT_EQ(CountOf(r.log, "- Entry 3 of the course has no song to play; it is skipped\n"), 2);
  EXPECT_EQ(CountOf(r.log, "The break is over\n"), 2);
  EXPECT_TRUE(InOrder(r.log, {"Starting main game...", "Starting main game...", "Taking a break...",
                              "Starting main game...", "Starting main game...", "Taking a break...",
                              "Starting main game...", "Starting course evaluation screen...", "Game over..."}))
      << r.tail();
  // the title menu after a nonstop game starts on NONSTOP MODE
  EXPECT_EQ(CountOf(r.log, "Loading 'rkv2-title.png'"), 2);
  RecordTable rec;
  ASSERT_TRUE(loadRecords(rec));
  EXPECT_EQ(ResultOf(rec, "COURSE|Endless"), nullptr) << "an Auto Play course is not recorded";
}

TEST(NonstopGame, ARepeatingCourseWithNothingToPlayEndsAtOnce) {
  TempDir dir;
  GameSettings settings;
  PrepareGame(settings, 1);
  WriteFile("Courses/Trial/nothing.crs", "#COURSE:Nothing;\n#REPEAT:YES;\n#SONG:*:15;\n#SONG:*:MANIAC:AWARD3;\n");
  WriteFile("Songs/Group 1/Song 1/song.rkv", "#TITLE:Song 1;\n#BPM:120;\n");   // gone since it was indexed
  Script s;
  toTheCourseWheel(s);
  s.tap(1400, kStart1);
  s.at("- No entry of the course can be played; the course ends");
  s.at("Loading 'rkv2-title.png'");
  s.tap(1000, kEscape);
  GameRun r = RunGame(s, 120);
  ASSERT_EQ(r.status, 0) << r.tail();
  EXPECT_TRUE(InOrder(r.log, {"- Entry 1 of the course has no song to play; it is skipped\n",
                              "Chart 'SINGLE:MANIAC:8:' is not in the file",
                              "- The course's song could not be played; it is skipped\n",
                              "- No entry of the course can be played; the course ends\n"}))
      << r.tail();
  EXPECT_EQ(CountOf(r.log, "Starting main game...\n"), 0);
  EXPECT_EQ(CountOf(r.log, "Starting course evaluation screen...\n"), 0);
  RecordTable rec;
  ASSERT_TRUE(loadRecords(rec));
  EXPECT_EQ(ResultOf(rec, "COURSE|Nothing"), nullptr);
}
