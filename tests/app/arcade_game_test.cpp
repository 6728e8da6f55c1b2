// Whole arcade games run by the real executable, headless, on a small library of
// short songs the test writes. A script anchored on the game's log lines drives
// every screen and steps on every note of each song exactly on time.
#include "library/profiles.h"
#include "media/input_binding.h"
#include "library/records.h"
#include "support/game_library.h"
#include "support/test_support.h"
#include <gtest/gtest.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace {
// Keys (scan codes): player 1 steps on A S W D, Start is Space; player 2 on the
// arrow keys, Start is Enter.
constexpr int kStart1 = 57, kStart2 = 28, kEscape = 1;
constexpr int kRight1 = 32, kDown1 = 31, kRight2 = 205;
constexpr int kPads[2][4] = {{30, 31, 17, 32}, {203, 208, 200, 205}};   // Left Down Up Right
enum { L = 1, D = 2, U = 4, R = 8 };
// Player 1's keys in the order of the bindings (Up Down Left Right Up-Left
// Up-Right Select Start); a gamepad game binds button b to the control b.
constexpr int kPadButtons[8] = {17, 31, 30, 32, 16, 18, 15, 57};

struct Script {
  std::string text;
  bool gamepad = false;   // player 1 presses the buttons of joystick 0 instead of keys
  void at(const char* anchor) { text += std::string("@ ") + anchor + "\n"; }
  // A press held long enough for any menu to take it.
  void tap(int ms, int code) {
    text += std::to_string(ms) + press(code, true) + std::to_string(ms + 150) + press(code, false);
  }
  // " down 57\n", or on the gamepad " joy 0 7 down\n" for player 1's controls.
  std::string press(int code, bool down) const {
    for (int b = 0; gamepad && b < 8; b++)
      if (kPadButtons[b] == code) return " joy 0 " + std::to_string(b) + (down ? " down\n" : " up\n");
    return (down ? " down " : " up ") + std::to_string(code) + "\n";
  }
  // The panels of `mask` stepped on at music time `ms` by player `p`.
  void step(int p, int ms, int mask) {
    for (int c = 0; c < 4; c++) {
      if (!(mask & (1 << c))) continue;
      text += "play " + std::to_string(ms) + press(kPads[p][c], true);
      text += "play " + std::to_string(ms + 60) + press(kPads[p][c], false);
    }
  }
  // The library's charts of a 4-second song: SINGLE BASIC steps L D U R every half
  // second from 1 s; MANIAC a row every quarter second with two jumps.
  void basic(int p) {
    int rows[4] = {L, D, U, R};
    for (int i = 0; i < 4; i++) step(p, 1000 + 500 * i, rows[i]);
  }
  void maniac(int p) {
    int rows[8] = {L, L | R, D, U, U | D, R, L, L | R};
    for (int i = 0; i < 8; i++) step(p, 1000 + 250 * i, rows[i]);
  }
  // Start on the modifier rows until both players stand on EXIT and it is taken.
  void leaveModifiers(bool both) {
    at("ModifierSelect()...");
    for (int i = 0; i < 10; i++) {
      tap(300 + 220 * i, kStart1);
      if (both) tap(300 + 220 * i, kStart2);
    }
  }
  void evaluation() {
    at("Starting evaluation screen...");
    tap(2500, kStart1);   // the numbers stand after 1.5 s; the comment has begun
  }
  void credits() {
    at("Starting credits...");
    tap(1500, kStart1);
    at("Loading 'rkv2-title.png'");
    tap(1000, kEscape);
  }
};

struct GameRun {
  int status = -1;
  std::string log, results;
};

// A game folder on the library: not a first run (one old record), the song
// database made in this process, so no search and no warning screen.
void prepare(const GameSettings& settings, int songs = 3) {
  GameLibrary lib;
  lib.songs = songs;
  ASSERT_EQ(WriteGameLibrary(lib).size(), (size_t)songs);
  ASSERT_TRUE(WriteGameSettings(settings));
  ASSERT_EQ(IndexGameLibrary(), songs);
  // after the indexing, whose song list would write the records of this process
  SongRecord old = Records_New("Old\\Song", 1000);
  int32_t n = 1;
  WriteFile("rkv2.rec", std::string((const char*)&n, 4) + std::string((const char*)&old, sizeof old));
}

GameRun runGame(const Script& s, int timeoutSeconds = 240) {
  WriteFile("script.txt", s.text);
  std::string cmd = std::string("SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy timeout ") +
                    std::to_string(timeoutSeconds) + " '" + TV_GAME_EXE +
                    "' /log /skipsearch /fps:60 /input:script.txt /results:r.json > out.txt 2>&1";
  int rc = std::system(cmd.c_str());
  GameRun r;
  r.status = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
  r.log = ReadFile("rkv2.log");
  r.results = ReadFile("r.json");
  return r;
}

int count(const std::string& text, const std::string& part) {
  int n = 0;
  for (size_t p = text.find(part); p != std::string::npos; p = text.find(part, p + 1)) n++;
  return n;
}

// The text value of "key" in a results line, or its number as text.
std::string field(const std::string& line, const std::string& key) {
  size_t p = line.find("\"" + key + "\":");
  if (p == std::string::npos) return "";
  p += key.size() + 3;
  bool quoted = line[p] == '"';
  size_t e = quoted ? line.find('"', p + 1) : line.find_first_of(",}", p);
  return line.substr(quoted ? p + 1 : p, e - p - (quoted ? 1 : 0));
}

// Whether `parts` stand in the log in this order.
bool inOrder(const std::string& log, std::initializer_list<const char*> parts) {
  size_t at = 0;
  for (const char* p : parts) {
    at = log.find(p, at);
    if (at == std::string::npos) return false;
    at++;
  }
  return true;
}

const Result* resultOf(const RecordTable& t, const char* key) {
  for (size_t i = 0; i < t.records.size(); i++)
    if (strcmp(t.records[i].key, key) == 0) return t.results[i].empty() ? nullptr : &t.results[i][0];
  return nullptr;
}

const SongRecord* recordOf(const RecordTable& t, const char* key) {
  for (const SongRecord& r : t.records)
    if (strcmp(r.key, key) == 0) return &r;
  return nullptr;
}
}  // namespace

TEST(ArcadeGame, ThreeStagesFromTheTitleToTheCreditsStoreEveryRecord) {
  TempDir dir;
  GameSettings settings;
  prepare(settings);
  Script s;
  s.at("Loading 'rkv2-title.png'");
  s.tap(400, kStart1);                 // ARCADE MODE
  s.at("Loading 'rkv2-style.png'");
  s.tap(500, kStart1);                 // SINGLE; "User Profiles" is off
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
  GameRun r = runGame(s);
  ASSERT_EQ(r.status, 0) << r.log.substr(r.log.size() > 3000 ? r.log.size() - 3000 : 0);

  // three stages of "Max Stage" 3, never a fourth wheel, then the credits
  EXPECT_EQ(count(r.log, "SelectSong()...\n"), 3);
  EXPECT_EQ(count(r.log, "Starting evaluation screen...\n"), 3);
  EXPECT_EQ(count(r.log, "Loading 'rkv2-profile.png'"), 0);
  EXPECT_TRUE(inOrder(r.log, {"Loading 'rkv2-style.png'", "SelectSong()...",
                              "ModifierSelect()...", "Starting main game...", "Starting evaluation screen...",
                              "SelectSong()...", "Starting main game...", "SelectSong()...",
                              "Starting main game...", "Starting evaluation screen...", "Starting credits...",
                              "Loading 'rkv2-title.png'"}));
  EXPECT_EQ(count(r.log, "Game over...\n"), 0);

  std::vector<std::string> res = SplitLines(r.results);
  ASSERT_EQ(res.size(), 3u) << r.results;
  for (int i = 0; i < 3; i++) {
    const std::string& line = res[i];
    EXPECT_EQ(field(line, "chart"), "Songs/Group 1/Song " + std::to_string(i + 1) + "/song.rkv");
    EXPECT_EQ(field(line, "difficulty"), "BASIC");
    EXPECT_EQ(field(line, "perfect"), "4") << line;
    EXPECT_EQ(field(line, "miss"), "0");
    EXPECT_EQ(field(line, "grade"), "AAA");
  }

  // "rkv2.rec" read back field by field
  RecordTable rec;
  ASSERT_TRUE(loadRecords(rec));
  int64_t previous = -1;
  for (int n = 1; n <= 3; n++) {
    std::string key = "Group 1\\Song " + std::to_string(n);
    const SongRecord* sr = recordOf(rec, key.c_str());
    ASSERT_NE(sr, nullptr) << key;
    EXPECT_EQ(sr->resultCount, 1);
    const Result* best = resultOf(rec, key.c_str());
    ASSERT_NE(best, nullptr);
    EXPECT_EQ(best->styleKey, 4);           // four panels
    EXPECT_EQ(best->difficultyKey, 0);      // BASIC
    EXPECT_EQ(best->bestScore, std::atof(field(res[n - 1], "score").c_str()));
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
  EXPECT_NE(recordOf(rec, "Old\\Song"), nullptr);   // the old record is kept
}

TEST(ArcadeGame, AnAACleanManiacOnTheLastStageEarnsTheExtraAndThenTheBonusStage) {
  TempDir dir;
  GameSettings settings;
  settings.maxStage = 1;
  settings.extraStages = 2;
  settings.userProfiles = false;
  prepare(settings);
  WriteFile("bonus-1.crs", "#COURSE:Extra Stage;\n#SONG:Group 1\\Song 2:MANIAC:1.5x;\n");
  WriteFile("bonus-2.crs", "#COURSE:Bonus Stage;\n#SONG:Group 1\\Song 3:MANIAC;\n");
  Script s;
  s.at("Loading 'rkv2-title.png'");
  s.tap(400, kStart1);
  s.at("Loading 'rkv2-style.png'");
  s.tap(500, kStart1);
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
  GameRun r = runGame(s);
  ASSERT_EQ(r.status, 0) << r.log.substr(r.log.size() > 3000 ? r.log.size() - 3000 : 0);

  EXPECT_EQ(count(r.log, "SelectSong()...\n"), 3);
  EXPECT_EQ(count(r.log, "ModifierSelect()...\n"), 1);   // none on the extra stages
  std::vector<std::string> res = SplitLines(r.results);
  ASSERT_EQ(res.size(), 3u) << r.results;
  const char* songs[3] = {"Song 1", "Song 2", "Song 3"};
  for (int i = 0; i < 3; i++) {
    EXPECT_EQ(field(res[i], "chart"), std::string("Songs/Group 1/") + songs[i] + "/song.rkv");
    EXPECT_EQ(field(res[i], "difficulty"), "MANIAC");
    EXPECT_EQ(field(res[i], "grade"), "AAA") << res[i];
  }
  RecordTable rec;
  ASSERT_TRUE(loadRecords(rec));
  const Result* bonus = resultOf(rec, "Group 1\\Song 3");
  ASSERT_NE(bonus, nullptr);
  EXPECT_EQ(bonus->difficultyKey, 2);
}

TEST(ArcadeGame, VersusWithTwoProfilesStoresEachPlayersOwnRecords) {
  TempDir dir;
  GameSettings settings;
  settings.maxStage = 1;
  settings.userProfiles = true;
  prepare(settings, 2);
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
  GameRun r = runGame(s);
  ASSERT_EQ(r.status, 0) << r.log.substr(r.log.size() > 3000 ? r.log.size() - 3000 : 0);

  std::vector<std::string> res = SplitLines(r.results);
  ASSERT_EQ(res.size(), 2u) << r.results;
  EXPECT_EQ(field(res[0], "player"), "1");
  EXPECT_EQ(field(res[1], "player"), "2");
  for (const std::string& line : res) {
    EXPECT_EQ(field(line, "style"), "SINGLE");
    EXPECT_EQ(field(line, "grade"), "AAA") << line;
  }
  // the machine's record names its holder; each profile keeps its own
  RecordTable rec;
  ASSERT_TRUE(loadRecords(rec));
  const Result* best = resultOf(rec, "Group 1\\Song 1");
  ASSERT_NE(best, nullptr);
  EXPECT_TRUE(strcmp(best->holder, "ALICE") == 0 || strcmp(best->holder, "BOB") == 0) << best->holder;
  for (const char* name : {"ALICE", "BOB"}) {
    RecordTable own;
    own.profile = name;
    ASSERT_TRUE(loadRecords(own)) << name;
    const Result* mine = resultOf(own, "Group 1\\Song 1");
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
  prepare(settings, 1);
  Script s;
  s.at("Starting main game...");       // after three quiet periods of 15 s
  s.tap(3000, kStart1);
  s.at("Loading 'rkv2-title.png'");    // the menu again
  s.tap(1000, kEscape);
  GameRun r = runGame(s);
  ASSERT_EQ(r.status, 0) << r.log.substr(r.log.size() > 3000 ? r.log.size() - 3000 : 0);
  EXPECT_EQ(count(r.log, "Starting main game...\n"), 1);
  EXPECT_EQ(count(r.log, "Loading 'rkv2-title.png'"), 2);
  EXPECT_EQ(count(r.log, "Starting evaluation screen...\n"), 0);   // the demo is not evaluated
  std::vector<std::string> res = SplitLines(r.results);
  ASSERT_EQ(res.size(), 2u) << r.results;   // both players played it
  EXPECT_EQ(field(res[0], "style"), "SINGLE");
  // the records stay as they were: nothing of the demo is kept
  RecordTable rec;
  ASSERT_TRUE(loadRecords(rec));
  for (size_t i = 0; i < rec.records.size(); i++) EXPECT_EQ(rec.records[i].resultCount, 0) << rec.records[i].key;
}

TEST(ArcadeGame, AGamepadPlaysAWholeGame) {
  TempDir dir;
  GameSettings settings;
  settings.maxStage = 1;
  prepare(settings, 1);
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
  s.at("Loading 'rkv2-title.png'");
  s.tap(400, kStart1);
  s.at("Loading 'rkv2-style.png'");
  s.tap(500, kStart1);
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
  GameRun r = runGame(s);
  ASSERT_EQ(r.status, 0) << r.log.substr(r.log.size() > 3000 ? r.log.size() - 3000 : 0);
  std::vector<std::string> res = SplitLines(r.results);
  ASSERT_EQ(res.size(), 1u) << r.results;
  EXPECT_EQ(field(res[0], "perfect"), "4") << res[0];
  EXPECT_EQ(field(res[0], "grade"), "AAA");
  EXPECT_EQ(count(r.log, "Starting credits...\n"), 1);
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
  prepare(settings, 2);
  ASSERT_TRUE(WriteProfiles({"ALICE"}));
  Script s;
  s.at("Loading 'rkv2-title.png'");
  s.tap(400, kStart1);
  s.at("Loading 'rkv2-title.png'");
  s.tap(1000, kEscape);
  GameRun r = runGame(s, 420);
  ASSERT_EQ(r.status, 0) << r.log.substr(r.log.size() > 3000 ? r.log.size() - 3000 : 0);
  EXPECT_TRUE(inOrder(r.log, {"Loading 'rkv2-style.png'", "Loading 'rkv2-profile.png'", "SelectSong()...",
                              "ModifierSelect()...", "Starting main game...", "Starting evaluation screen...",
                              "Starting credits...", "Loading 'rkv2-title.png'"}));
  std::vector<std::string> res = SplitLines(r.results);
  ASSERT_EQ(res.size(), 1u) << r.results;
  EXPECT_EQ(field(res[0], "style"), "SINGLE");
}

TEST(ArcadeGame, ASongThatWillNotPlayGivesItsStageBackAndGivingUpEndsOnGameOver) {
  TempDir dir;
  GameSettings settings;
  settings.maxStage = 1;
  prepare(settings, 2);
  WriteFile("Songs/Group 1/Song 1/song.wav", "not a sound file");
  Script s;
  s.at("Loading 'rkv2-title.png'");
  s.tap(400, kStart1);
  s.at("Loading 'rkv2-style.png'");
  s.tap(500, kStart1);
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
  GameRun r = runGame(s);
  ASSERT_EQ(r.status, 0) << r.log.substr(r.log.size() > 3000 ? r.log.size() - 3000 : 0);
  EXPECT_EQ(count(r.log, "SelectSong()...\n"), 2);
  EXPECT_EQ(count(r.log, "Starting main game...\n"), 1);
  EXPECT_TRUE(inOrder(r.log, {"dead=0,gameover=1,giveup=1\n", "Game over...\n", "Loading 'rkv2-title.png'"}));
  EXPECT_EQ(count(r.log, "Starting evaluation screen...\n"), 0);
  EXPECT_EQ(count(r.log, "Starting credits...\n"), 0);
  std::vector<std::string> res = SplitLines(r.results);
  ASSERT_EQ(res.size(), 1u) << r.results;
  EXPECT_EQ(field(res[0], "chart"), "Songs/Group 1/Song 2/song.rkv");
  RecordTable rec;
  ASSERT_TRUE(loadRecords(rec));
  EXPECT_EQ(resultOf(rec, "Group 1\\Song 1"), nullptr);
  EXPECT_EQ(resultOf(rec, "Group 1\\Song 2"), nullptr);   // a game given up stores nothing
}
