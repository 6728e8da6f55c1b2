// Replays in the real executable, headless: plays with imperfect presses (early,
// late, missed, a freeze let go) leave their replays under Replays/, and
// "/replay:" plays each again through the judgement to the very same results
// line; a replay whose chart changed, or that was damaged, is refused.
#include "library/records.h"
#include "library/replay_file.h"
#include "support/game_script.h"
#include "support/test_support.h"
#include <gtest/gtest.h>
#include <dirent.h>
#include <algorithm>
#include <string>
#include <vector>

namespace {
constexpr int kF4 = 62;   // the wheel's "faster" key
constexpr int kLeft = 30, kDown = 31, kUp = 17, kRight = 32;

// 9 s at 120 BPM, a row every 250 ms: eight steps from 1 s, an Up freeze from
// 3 s to 4 s, a Left freeze from 5 s to 6 s, then four steps from 7 s.
void writeChart() {
  WriteFile("Songs/Group 1/Song 1/song.rkv",
            "#TITLE:Song 1;\n#ARTIST:Tarvolen tests;\n#BPM:120;\n#GAP:0;\n"
            "#SINGLE:BASIC:5:\n0000 4286 4286 8!8000 8000 4!4000 4000 6262;\n");
}

void press(Script& s, int ms, int code, int holdMs = 60) {
  s.text += "play " + std::to_string(ms) + s.press(code, true);
  s.text += "play " + std::to_string(ms + holdMs) + s.press(code, false);
}

// Early, late, missed and on time; the first freeze held through, the second let
// go early.
void imperfectPlay(Script& s) {
  s.at("Starting main game...");
  press(s, 980, kLeft);           // 20 ms early
  press(s, 1285, kDown);          // 35 ms late
  // 1500 Up: missed
  press(s, 1750, kRight);
  press(s, 1960, kLeft);          // 40 ms early
  press(s, 2310, kDown);          // 60 ms late
  press(s, 2600, kUp);            // 100 ms late
  press(s, 2745, kRight);
  press(s, 3000, kUp, 1150);      // held past its end
  press(s, 5010, kLeft, 390);     // let go at 5.4 s
  press(s, 7000, kRight);
  press(s, 7262, kDown);
  // 7500 Right: missed
  press(s, 7745, kDown);
}

// Two 9-second songs, the first with the chart above.
void prepare() {
  GameSettings settings;
  GameLibrary lib;
  lib.songs = 2;
  lib.seconds = 9;
  PrepareGame(settings, lib, writeChart);
}

// From the title to the first stage's play of Song 1 on SINGLE BASIC, played imperfectly.
void firstStage(Script& s) {
  s.at("Loading 'rkv2-title.png'");
  s.tap(400, kStart1);
  s.at("Loading 'rkv2-style.png'");
  s.tap(500, kStart1);
  s.at("Starting Song Select");
  s.tap(1400, kStart1);
  s.leaveModifiers(false);
  imperfectPlay(s);
}

std::vector<std::string> replays() {
  std::vector<std::string> names;
  if (DIR* d = opendir("Replays")) {
    while (dirent* e = readdir(d))
      if (std::string(e->d_name).ends_with(".tvr")) names.push_back(std::string("Replays/") + e->d_name);
    closedir(d);
  }
  std::sort(names.begin(), names.end());
  return names;
}
}  // namespace

TEST(ReplayGame, ImperfectPlaysReplayToTheSameResultsAtNormalAndFasterRates) {
  TempDir dir;
  prepare();
  Script s;
  firstStage(s);
  s.evaluation();
  // the second stage on the same song two rate steps faster
  s.at("Starting Song Select");
  s.tap(1200, kF4);
  s.tap(1700, kF4);
  s.tap(2400, kStart1);
  s.leaveModifiers(false);
  imperfectPlay(s);
  s.evaluation();
  s.at("Starting Song Select");
  s.tap(1500, kEscape);
  s.at("Loading 'rkv2-title.png'");
  s.tap(1000, kEscape);
  GameRun played = RunGame(s);
  ASSERT_EQ(played.status, 0) << played.tail();
  std::vector<std::string> lines = SplitLines(played.results);
  ASSERT_EQ(lines.size(), 2u) << played.results;
  EXPECT_EQ(Field(lines[0], "rateStep"), "5");
  EXPECT_EQ(Field(lines[1], "rateStep"), "7");
  // the plays were what the test meant: a little of everything
  for (const std::string& line : lines) {
    EXPECT_EQ(Field(line, "miss"), "2") << line;
    EXPECT_EQ(Field(line, "ok"), "1") << line;
    EXPECT_EQ(Field(line, "ng"), "1") << line;
    EXPECT_NE(Field(line, "great"), "0") << line;
    EXPECT_NE(Field(line, "perfect"), "12") << line;
  }
  std::vector<std::string> files = replays();
  ASSERT_EQ(files.size(), 2u);
  EXPECT_EQ(CountOf(played.log, "Replay written to 'Replays/"), 2);
  std::string records = ReadFile("rkv2.rec");

  // each replay gives its play's line again, to the last figure
  for (int i = 0; i < 2; i++) {
    GameRun again = RunGameWith("/replay:" + files[i] + " /results:again.json", "again.json");
    ASSERT_EQ(again.status, 0) << again.tail();
    EXPECT_NE(again.log.find("Watching the replay '" + files[i] + "'"), std::string::npos);
    ASSERT_EQ(SplitLines(again.results).size(), 1u) << again.results;
    EXPECT_EQ(SplitLines(again.results)[0], lines[i]);
    EXPECT_EQ(CountOf(again.log, "Replay written"), 0);   // watching makes no replay
    remove("again.json");
  }
  EXPECT_EQ(replays().size(), 2u);
  EXPECT_EQ(ReadFile("rkv2.rec"), records);

  // watched with its evaluation: shown, nothing stored
  WriteFile("watch.txt", "@ Starting evaluation screen...\n2500 down 57\n2650 up 57\n");
  GameRun watched = RunGameWith("/replay:" + files[0] + " /input:watch.txt", "none.json");
  ASSERT_EQ(watched.status, 0) << watched.tail();
  EXPECT_TRUE(InOrder(watched.log, {"Watching the replay", "Starting main game...", "Starting evaluation screen...",
                                    "A replay was watched: the results are not stored"}));
  EXPECT_EQ(ReadFile("rkv2.rec"), records);

  // damaged files and a changed chart: refused with the reason, nothing played
  std::string bytes = ReadFile(files[0]);
  WriteFile("Replays/cut.tvr", bytes.substr(0, bytes.size() - 7));
  std::string edited = bytes;
  edited[edited.size() - 3] ^= 0x20;
  WriteFile("Replays/edited.tvr", edited);
  std::string later = bytes;
  later[8] = 9;   // the version
  WriteFile("Replays/later.tvr", later);
  struct Refusal {
    std::string path, why;
  } refusals[] = {{"Replays/cut.tvr", "it is cut short"},
                  {"Replays/edited.tvr", "it was changed since it was written"},
                  {"Replays/later.tvr", "it was written by a later version of the game (replay version 9)"},
                  {"Replays/none.tvr", "the file is not there"}};
  for (const Refusal& r : refusals) {
    GameRun bad = RunGameWith("/replay:" + r.path + " /results:bad.json", "bad.json");
    EXPECT_EQ(bad.status, 2) << r.path;
    EXPECT_NE(bad.log.find("Replay '" + r.path + "' cannot be played: " + r.why), std::string::npos)
        << bad.tail();
    EXPECT_EQ(CountOf(bad.log, "Starting main game..."), 0);
    EXPECT_EQ(bad.results, "");
  }
  WriteFile("Songs/Group 1/Song 1/song.rkv", ReadFile("Songs/Group 1/Song 1/song.rkv") + "\n");
  GameRun changed = RunGameWith("/replay:" + files[0] + " /results:bad.json", "bad.json");
  EXPECT_EQ(changed.status, 2);
  EXPECT_NE(changed.log.find("its chart 'Songs/Group 1/Song 1/song.rkv' has changed since"), std::string::npos)
      << changed.tail();
  EXPECT_EQ(changed.results, "");
  ASSERT_EQ(rename("Songs/Group 1/Song 1/song.rkv", "Songs/Group 1/Song 1/song.old"), 0);
  GameRun gone = RunGameWith("/replay:" + files[0] + " /results:bad.json", "bad.json");
  EXPECT_EQ(gone.status, 2);
  EXPECT_NE(gone.log.find("its chart 'Songs/Group 1/Song 1/song.rkv' is gone"), std::string::npos) << gone.tail();
  EXPECT_EQ(gone.results, "");
}

// "Watch Replay" on the evaluation plays the stage again before the game goes
// on, ending on the replay's own evaluation; Select on the song in the records
// browser watches its best replay. Neither stores anything.
TEST(ReplayGame, WatchedFromTheEvaluationAndFromTheRecords) {
  TempDir dir;
  prepare();
  constexpr int kF11 = 87, kSelect1 = 15;
  Script s;
  firstStage(s);
  s.at("Starting evaluation screen...");
  s.tap(2000, kF11);
  s.tap(2600, kUp);                    // Watch Replay
  s.at("Watching the replay");
  s.text += "play 2300 down 87\nplay 2360 up 87\n";   // the replay's play, with its REPLAY
  s.at("Starting evaluation screen...");
  s.tap(2500, kStart1);
  s.at("Starting Song Select");        // the game goes on to its second stage
  s.tap(1500, kEscape);
  s.at("Loading 'rkv2-title.png'");
  // the first press held past the menu's repeat step, the second short
  s.text += "600 down 31\n780 up 31\n1000 down 31\n1060 up 31\n";
  s.tap(1400, kStart1);                // RECORDS
  s.at("Starting records browser");
  s.tap(600, kStart1);                 // No User/System
  s.tap(1000, kStart1);                // Single
  s.tap(1400, kStart1);                // Group 1: Song 1 under the cursor
  s.tap(1900, kF11);
  s.tap(2300, kSelect1);               // its best replay
  s.at("Starting evaluation screen...");
  s.tap(2500, kStart1);
  for (int i = 0; i < 4; i++) s.tap(4000 + 400 * i, kEscape);   // back up through the browser's levels
  s.at("Leaving records browser");
  s.tap(800, kEscape);
  GameRun r = RunGame(s, 300);
  ASSERT_EQ(r.status, 0) << r.tail();
  EXPECT_EQ(CountOf(r.log, "Watching the replay"), 2);
  EXPECT_EQ(CountOf(r.log, "A replay was watched: the results are not stored"), 2);
  EXPECT_TRUE(InOrder(r.log, {"Starting main game...", "Starting evaluation screen...", "Watch Replay",
                              "Watching the replay", "Starting main game...", "Starting evaluation screen...",
                              "SelectSong()", "Starting records browser", "Watching the replay",
                              "Leaving records browser"}));
  EXPECT_EQ(SplitLines(r.results).size(), 3u);   // the stage and both replays wrote their lines
  EXPECT_EQ(replays().size(), 1u);
  EXPECT_EQ(CountOf(r.log, "Screenshot saved"), 3);
  if (const char* shots = getenv("TV_SCREENSHOT_DIR")) {
    EXPECT_EQ(std::system(("cp Screenshots/* '" + std::string(shots) + "'/").c_str()), 0);
  }
}

// A nonstop course leaves one replay of all its songs; "/replay:" plays them
// back to back, the second running on from the first, to the same lines.
TEST(ReplayGame, ACourseReplaysItsSongsBackToBackToTheSameResults) {
  TempDir dir;
  prepare();
  WriteFile("Courses/Trial/two.crs",
            "#COURSE:Replay Trial;\n#SONG:Group 1\\Song 1:BASIC;\n#SONG:Group 1\\Song 2:BASIC;\n");
  Script s;
  s.at("Loading 'rkv2-title.png'");
  s.tap(400, kDown1);                  // NONSTOP MODE
  s.tap(900, kStart1);
  s.at("Loading 'rkv2-style.png'");
  s.tap(500, kStart1);
  s.at("Starting Course Select");
  s.tap(1400, kStart1);
  imperfectPlay(s);
  // Song 2: Left, Down, Up, Right ... every half second from 1 s; three of the
  // first four, then none: the life runs out and the course ends failed
  s.at("Starting main game...");
  press(s, 1010, kLeft);
  press(s, 1480, kDown);
  press(s, 2530, kRight);
  press(s, 3000, kLeft);
  s.at("Starting course evaluation screen...");
  s.tap(2500, kStart1);
  s.at("Game over...");
  s.at("Loading 'rkv2-title.png'");
  s.tap(1000, kEscape);
  GameRun played = RunGame(s);
  ASSERT_EQ(played.status, 0) << played.tail();
  std::vector<std::string> lines = SplitLines(played.results);
  ASSERT_EQ(lines.size(), 2u) << played.results;
  EXPECT_EQ(Field(lines[1], "dead"), "true");
  std::vector<std::string> files = replays();
  ASSERT_EQ(files.size(), 1u);
  EXPECT_NE(played.log.find("(a course of 2 songs)"), std::string::npos);
  std::string records = ReadFile("rkv2.rec");

  GameRun again = RunGameWith("/replay:" + files[0] + " /results:again.json", "again.json");
  ASSERT_EQ(again.status, 0) << again.tail();
  EXPECT_EQ(SplitLines(again.results), lines);
  EXPECT_EQ(CountOf(again.log, "Replay written"), 0);

  // watched with the course's evaluation: nothing stored
  WriteFile("watch.txt", "@ Starting course evaluation screen...\n2500 down 57\n2650 up 57\n");
  GameRun watched = RunGameWith("/replay:" + files[0] + " /input:watch.txt", "none.json");
  ASSERT_EQ(watched.status, 0) << watched.tail();
  EXPECT_TRUE(InOrder(watched.log, {"Watching the replay", "Starting main game...", "Starting main game...",
                                    "Starting course evaluation screen...",
                                    "A replay was watched: the results are not stored"}));
  EXPECT_EQ(ReadFile("rkv2.rec"), records);

  // a course whose second song changed is refused whole
  WriteFile("Songs/Group 1/Song 2/song.rkv", ReadFile("Songs/Group 1/Song 2/song.rkv") + "\n");
  GameRun changed = RunGameWith("/replay:" + files[0] + " /results:bad.json", "bad.json");
  EXPECT_EQ(changed.status, 2);
  EXPECT_NE(changed.log.find("cannot be played: song 2 of the course: its chart 'Songs/Group 1/Song 2/song.rkv' "
                             "has changed since"),
            std::string::npos)
      << changed.tail();
  EXPECT_EQ(CountOf(changed.log, "Starting main game..."), 0);
}
