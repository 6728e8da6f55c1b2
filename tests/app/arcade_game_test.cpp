// Whole arcade games run by the real executable, headless, on a small library of
// short songs the test writes. A script anchored on the game's log lines drives
// every screen and steps on every note of each song exactly on time.
#include "library/profiles.h"
#include "media/input_binding.h"
#include "library/records.h"
#include "support/game_script.h"
#include "support/test_support.h"
#include <gtest/gtest.h>
#include <cstring>
#include <string>
#include <vector>


namespace {
// ARCADE MODE, then SINGLE on the style select.
void toTheStyles(Script& s) {
  s.at("Loading 'rkv2-title.png'");
  s.tap(400, kStart1);
  s.at("Loading 'rkv2-style.png'");
  s.tap(500, kStart1);
}
}  // namespace

TEST(ArcadeGame, ThreeStagesFromTheTitleToTheCreditsStoreEveryRecord) {
  TempDir dir;
  GameSettings settings;
  PrepareGame(settings);
  Script s;
  toTheStyles(s);                      // "User Profiles" is off
  for (int stage = 1; stage <= 3; stage++) {
    s.at("Starting Song Select");
    if (stage > 1) s.tap(600, kRight1);   // the next song
    s.tap(1400, kStart1);
    s.leaveModifiers(false);
    s.at("Starting main game...");
    s.basic(0);
    s.evaluation();
  }
  s.credits();
  GameRun r = RunGame(s);
  ASSERT_EQ(r.status, 0) << r.tail();

  // three stages of "Max Stage" 3, never a fourth wheel, then the credits
  EXPECT_EQ(CountOf(r.log, "SelectSong()...\n"), 3);
  EXPECT_EQ(CountOf(r.log, "Starting evaluation screen...\n"), 3);
  EXPECT_EQ(CountOf(r.log, "Loading 'rkv2-profile.png'"), 0);
  EXPECT_TRUE(InOrder(r.log, {"Loading 'rkv2-style.png'", "SelectSong()...",
                              "ModifierSelect()...", "Starting main game...", "Starting evaluation screen...",
                              "SelectSong()...", "Starting main game...", "SelectSong()...",
                              "Starting main game...", "Starting evaluation screen...", "Starting credits...",
                              "Loading 'rkv2-title.png'"}));
  EXPECT_EQ(CountOf(r.log, "Game over...\n"), 0);

  std::vector<std::string> res = SplitLines(r.results);
  ASSERT_EQ(res.size(), 3u) << r.results;
  for (int i = 0; i < 3; i++) {
    const std::string& line = res[i];
    EXPECT_EQ(Field(line, "chart"), "Songs/Group 1/Song " + std::to_string(i + 1) + "/song.rkv");
    EXPECT_EQ(Field(line, "difficulty"), "BASIC");
    EXPECT_EQ(Field(line, "perfect"), "4") << line;
    EXPECT_EQ(Field(line, "miss"), "0");
    EXPECT_EQ(Field(line, "grade"), "AAA");
  }

  // "rkv2.rec" read back field by field
  RecordTable rec;
  ASSERT_TRUE(loadRecords(rec));
  int64_t previous = -1;
  for (int n = 1; n <= 3; n++) {
    std::string key = "Group 1\\Song " + std::to_string(n);
    const SongRecord* sr = RecordOf(rec, key.c_str());
    ASSERT_NE(sr, nullptr) << key;
    EXPECT_EQ(sr->resultCount, 1);
    const Result* best = ResultOf(rec, key.c_str());
    ASSERT_NE(best, nullptr);
    EXPECT_EQ(best->styleKey, 4);           // four panels
    EXPECT_EQ(best->difficultyKey, 0);      // BASIC
    EXPECT_EQ(best->bestScore, std::atof(Field(res[n - 1], "score").c_str()));
    EXPECT_EQ(best->bestA, 1000);           // 100.0 % in tenths
    EXPECT_EQ(best->bestGrade, 1);          // AAA
    EXPECT_EQ(best->bestB, 0u);
    EXPECT_EQ(best->bestC, 1);
    EXPECT_STREQ(best->holder, "");         // no profile
    // each play counts in its style group, and every later save wears it down
    EXPECT_GT(sr->counters[0], 90);
    EXPECT_GT(sr->counters[0], previous);
    previous = sr->counters[0];
  }
  EXPECT_NE(RecordOf(rec, "Old\\Song"), nullptr);   // the old record is kept
}

TEST(ArcadeGame, AnAACleanManiacOnTheLastStageEarnsTheExtraAndThenTheBonusStage) {
  TempDir dir;
  GameSettings settings;
  settings.maxStage = 1;
  settings.extraStages = 2;
  settings.userProfiles = false;
  PrepareGame(settings);
  WriteFile("bonus-1.crs", "#COURSE:Extra Stage;\n#SONG:Group 1\\Song 2:MANIAC:1.5x;\n");
  WriteFile("bonus-2.crs", "#COURSE:Bonus Stage;\n#SONG:Group 1\\Song 3:MANIAC;\n");
  Script s;
  toTheStyles(s);
  s.at("Starting Song Select");
  s.tap(600, kDown1);                  // ANOTHER
  s.tap(1000, kDown1);                 // MANIAC
  s.tap(1600, kStart1);
  s.leaveModifiers(false);
  s.at("Starting main game...");
  s.maniac(0);
  s.evaluation();
  for (int extra = 0; extra < 2; extra++) {   // the Bonus group offers the course's song: no modifier screen
    s.at("Starting Song Select");
    s.tap(1400, kStart1);
    s.at("Starting main game...");
    s.maniac(0);
    s.evaluation();
  }
  s.credits();
  GameRun r = RunGame(s);
  ASSERT_EQ(r.status, 0) << r.tail();

  EXPECT_EQ(CountOf(r.log, "SelectSong()...\n"), 3);
  EXPECT_EQ(CountOf(r.log, "ModifierSelect()...\n"), 1);   // none on the extra stages
  std::vector<std::string> res = SplitLines(r.results);
  ASSERT_EQ(res.size(), 3u) << r.results;
  const char* songs[3] = {"Song 1", "Song 2", "Song 3"};
  for (int i = 0; i < 3; i++) {
    EXPECT_EQ(Field(res[i], "chart"), std::string("Songs/Group 1/") + songs[i] + "/song.rkv");
    EXPECT_EQ(Field(res[i], "difficulty"), "MANIAC");
    EXPECT_EQ(Field(res[i], "grade"), "AAA") << res[i];
  }
  RecordTable rec;
  ASSERT_TRUE(loadRecords(rec));
  const Result* bonus = ResultOf(rec, "Group 1\\Song 3");
  ASSERT_NE(bonus, nullptr);
  EXPECT_EQ(bonus->difficultyKey, 2);
}

TEST(ArcadeGame, VersusWithTwoProfilesStoresEachPlayersOwnRecords) {
  TempDir dir;
  GameSettings settings;
  settings.maxStage = 1;
  settings.userProfiles = true;
  PrepareGame(settings, 2);
  ASSERT_TRUE(WriteProfiles({"ALICE", "BOB"}));
  Script s;
  s.at("Loading 'rkv2-title.png'");
  s.tap(400, kStart1);
  s.at("Loading 'rkv2-style.png'");
  s.tap(500, kStart2);                 // player 2 joins: the cursor goes to VERSUS
  s.tap(1000, kStart1);
  s.at("Loading 'rkv2-profile.png'");
  s.tap(500, kRight1);                 // ALICE
  s.tap(500, kRight2);
  s.tap(900, kRight2);                 // BOB
  s.tap(1500, kStart1);
  s.tap(1500, kStart2);
  s.at("Starting Song Select");
  s.tap(1400, kStart1);
  s.leaveModifiers(true);
  s.at("Starting main game...");
  s.basic(0);
  s.basic(1);
  s.evaluation();
  s.credits();
  GameRun r = RunGame(s);
  ASSERT_EQ(r.status, 0) << r.tail();

  std::vector<std::string> res = SplitLines(r.results);
  ASSERT_EQ(res.size(), 2u) << r.results;
  EXPECT_EQ(Field(res[0], "player"), "1");
  EXPECT_EQ(Field(res[1], "player"), "2");
  for (const std::string& line : res) {
    EXPECT_EQ(Field(line, "style"), "SINGLE");
    EXPECT_EQ(Field(line, "grade"), "AAA") << line;
  }
  // the machine's record names its holder; each profile keeps its own
  RecordTable rec;
  ASSERT_TRUE(loadRecords(rec));
  const Result* best = ResultOf(rec, "Group 1\\Song 1");
  ASSERT_NE(best, nullptr);
  EXPECT_TRUE(strcmp(best->holder, "ALICE") == 0 || strcmp(best->holder, "BOB") == 0) << best->holder;
  for (const char* name : {"ALICE", "BOB"}) {
    RecordTable own;
    own.profile = name;
    ASSERT_TRUE(loadRecords(own)) << name;
    const Result* mine = ResultOf(own, "Group 1\\Song 1");
    ASSERT_NE(mine, nullptr) << name;
    EXPECT_EQ(mine->bestGrade, 1);
  }
  ASSERT_EQ(listProfiles(), 2);
  for (int i = 0; i < 2; i++) {
    EXPECT_EQ(g_profiles[i].stats[0].songs, 1) << g_profiles[i].name;
    EXPECT_EQ(g_profiles[i].stats[0].steps, 4);
    EXPECT_EQ(g_profiles[i].stats[0].perfects, 4);
    EXPECT_EQ(g_profiles[i].inUse, 0);
  }
}

TEST(ArcadeGame, TheAttractDemoStartsAfterTheIdleTimeAndStartBringsTheMenuBack) {
  TempDir dir;
  GameSettings settings;
  PrepareGame(settings, 1);
  Script s;
  s.at("Starting main game...");       // after three quiet periods of 15 s
  s.tap(3000, kStart1);
  s.at("Loading 'rkv2-title.png'");    // the menu again
  s.tap(1000, kEscape);
  GameRun r = RunGame(s);
  ASSERT_EQ(r.status, 0) << r.tail();
  EXPECT_EQ(CountOf(r.log, "Starting main game...\n"), 1);
  EXPECT_EQ(CountOf(r.log, "Loading 'rkv2-title.png'"), 2);
  EXPECT_EQ(CountOf(r.log, "Starting evaluation screen...\n"), 0);   // the demo is not evaluated
  std::vector<std::string> res = SplitLines(r.results);
  ASSERT_EQ(res.size(), 2u) << r.results;   // both players played it
  EXPECT_EQ(Field(res[0], "style"), "SINGLE");
  // the records stay as they were: nothing of the demo is kept
  RecordTable rec;
  ASSERT_TRUE(loadRecords(rec));
  for (size_t i = 0; i < rec.records.size(); i++) EXPECT_EQ(rec.records[i].resultCount, 0) << rec.records[i].key;
}

TEST(ArcadeGame, AGamepadPlaysAWholeGame) {
  TempDir dir;
  GameSettings settings;
  settings.maxStage = 1;
  PrepareGame(settings, 1);
  // player 1's controls also on the buttons of joystick 0
  InputBinding b[16] = {};
  for (int i = 0; i < 16; i++) {
    b[i].key1 = i < 8 ? kPadButtons[i] : 0;
    b[i].joystick = i < 8 ? 0 : -1;
    b[i].button = (int8_t)(i < 8 ? i : -1);
  }
  WriteFile("rkv2.inp", std::string((const char*)b, sizeof b));
  Script s;
  s.gamepad = true;
  toTheStyles(s);
  s.at("Starting Song Select");
  s.tap(1400, kStart1);
  s.leaveModifiers(false);
  s.at("Starting main game...");
  s.basic(0);
  s.evaluation();
  s.at("Starting credits...");
  s.tap(1500, kStart1);
  s.gamepad = false;
  s.at("Loading 'rkv2-title.png'");
  s.tap(1000, kEscape);
  GameRun r = RunGame(s);
  ASSERT_EQ(r.status, 0) << r.tail();
  std::vector<std::string> res = SplitLines(r.results);
  ASSERT_EQ(res.size(), 1u) << r.results;
  EXPECT_EQ(Field(res[0], "perfect"), "4") << res[0];
  EXPECT_EQ(Field(res[0], "grade"), "AAA");
  EXPECT_EQ(CountOf(r.log, "Starting credits...\n"), 1);
}

TEST(ArcadeGame, EveryTimeLimitRunsOutAndTheGameGoesOnByItself) {
  // nobody touches anything after choosing ARCADE MODE: style, profile, wheel,
  // modifiers and evaluation each run out of time, the credits end by themselves
  TempDir dir;
  GameSettings settings;
  settings.maxStage = 1;
  settings.timeLimit = true;
  settings.userProfiles = true;
  settings.autoPlay = true;
  PrepareGame(settings, 2);
  ASSERT_TRUE(WriteProfiles({"ALICE"}));
  Script s;
  s.at("Loading 'rkv2-title.png'");
  s.tap(400, kStart1);
  s.at("Loading 'rkv2-title.png'");
  s.tap(1000, kEscape);
  GameRun r = RunGame(s, 420);
  ASSERT_EQ(r.status, 0) << r.tail();
  EXPECT_TRUE(InOrder(r.log, {"Loading 'rkv2-style.png'", "Loading 'rkv2-profile.png'", "SelectSong()...",
                              "ModifierSelect()...", "Starting main game...", "Starting evaluation screen...",
                              "Starting credits...", "Loading 'rkv2-title.png'"}));
  std::vector<std::string> res = SplitLines(r.results);
  ASSERT_EQ(res.size(), 1u) << r.results;
  EXPECT_EQ(Field(res[0], "style"), "SINGLE");
}

TEST(ArcadeGame, ASongThatWillNotPlayGivesItsStageBackAndGivingUpEndsOnGameOver) {
  TempDir dir;
  GameSettings settings;
  settings.maxStage = 1;
  PrepareGame(settings, 2);
  WriteFile("Songs/Group 1/Song 1/song.wav", "not a sound file");
  Script s;
  toTheStyles(s);
  s.at("Starting Song Select");
  s.tap(1400, kStart1);                // Song 1
  s.leaveModifiers(false);
  s.at("Loading Background...");
  s.tap(1200, kStart1);                // past the notice that the music does not open
  s.at("Starting Song Select");        // the same stage again
  s.tap(600, kRight1);
  s.tap(1400, kStart1);                // Song 2
  s.leaveModifiers(false);
  s.at("Starting main game...");
  s.tap(3000, kEscape);                // give up
  s.at("Game over...");
  s.at("Loading 'rkv2-title.png'");
  s.tap(1000, kEscape);
  GameRun r = RunGame(s);
  ASSERT_EQ(r.status, 0) << r.tail();
  EXPECT_EQ(CountOf(r.log, "SelectSong()...\n"), 2);
  EXPECT_EQ(CountOf(r.log, "Starting main game...\n"), 1);
  EXPECT_TRUE(InOrder(r.log, {"dead=0,gameover=1,giveup=1\n", "Game over...\n", "Loading 'rkv2-title.png'"}));
  EXPECT_EQ(CountOf(r.log, "Starting evaluation screen...\n"), 0);
  EXPECT_EQ(CountOf(r.log, "Starting credits...\n"), 0);
  std::vector<std::string> res = SplitLines(r.results);
  ASSERT_EQ(res.size(), 1u) << r.results;
  EXPECT_EQ(Field(res[0], "chart"), "Songs/Group 1/Song 2/song.rkv");
  RecordTable rec;
  ASSERT_TRUE(loadRecords(rec));
  EXPECT_EQ(ResultOf(rec, "Group 1\\Song 1"), nullptr);
  EXPECT_EQ(ResultOf(rec, "Group 1\\Song 2"), nullptr);   // a game given up stores nothing
}
