// The records browser in the real executable, headless: a game folder with
// records of its own, RECORDS chosen on the title menu, one song's records reset
// through the confirmation, and the files read back after the game has quit.
#include "library/record_notes.h"
#include "library/records.h"
#include "support/game_library.h"
#include "support/test_support.h"
#include <gtest/gtest.h>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/wait.h>

namespace {
constexpr int kStart = 57, kEscape = 1, kDown = 31, kLeft = 30, kF11 = 87;

// Lines of an "/input:" script; `hold` keeps a key down long enough for a
// menu's first press of a repeating control to count.
struct Lines {
  std::string text;
  Lines& at(const char* anchor) {
    text += std::string("@ ") + anchor + "\n";
    return *this;
  }
  Lines& hold(int ms, int code, int forMs = 60) {
    text += std::to_string(ms) + " down " + std::to_string(code) + "\n" + std::to_string(ms + forMs) + " up " +
            std::to_string(code) + "\n";
    return *this;
  }
};

Result result(int styleKey, int difficulty, double score, int tenths, int grade) {
  Result r{};
  r.styleKey = (uint8_t)styleKey;
  r.difficultyKey = (uint8_t)difficulty;
  r.bestScore = score;
  r.bestA = tenths;
  r.bestGrade = (uint8_t)grade;
  r.bestC = 1;
  return r;
}
}  // namespace

TEST(RecordsBrowserGame, ASongsRecordsAreResetFromTheTitleMenu) {
  TempDir dir;
  GameLibrary lib;
  ASSERT_EQ(WriteGameLibrary(lib).size(), 3u);
  ASSERT_TRUE(WriteGameSettings(GameSettings{}));
  ASSERT_EQ(IndexGameLibrary(), 3);
  // the records, after the indexing (whose song list writes the records of this process)
  RecordTable t;
  const char* keys[3] = {"Group 1\\Song 1", "Group 1\\Song 2", "Group 1\\Song 3"};
  for (int i = 0; i < 3; i++) {
    SongRecord r = Records_New(keys[i], 1000 + i);
    r.counters[0] = 300 + i;
    t.records.push_back(r);
    t.results.emplace_back();
  }
  t.results[0] = {result(4, 0, 2000000, 955, 2), result(8, 1, 1500000, 812, 3)};
  t.results[1] = {result(4, 2, 3000000, 1000, 1)};
  t.records[0].resultCount = 2;
  t.records[1].resultCount = 1;
  storeNote(t, keys[0], 4, 0, 44, true, 1700000000);
  storeNote(t, keys[1], 4, 2, 88, true, 1700000100);
  ASSERT_TRUE(writeRecords(t));

  Lines s;
  s.at("Loading 'rkv2-title.png'").hold(600, kDown, 180).hold(1000, kDown).hold(1400, kStart);   // RECORDS
  s.at("Starting records browser").hold(600, kStart)   // "No User/System"
      .hold(900, kStart)                                 // Single
      .hold(1200, kStart)                                // Group 1: Song 1 under the cursor
      .hold(1500, kStart)                                // "Reset the records of Song 1?" on "Return"
      .hold(1800, kLeft, 180).hold(2200, kF11)           // on "Reset"
      .hold(2500, kStart)
      .hold(3000, kEscape).hold(3300, kEscape).hold(3600, kEscape).hold(3900, kEscape);
  s.at("Leaving records browser").hold(800, kEscape);   // the title menu quits
  WriteFile("script.txt", s.text);
  std::string cmd = std::string("SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy timeout 120 '") + TV_GAME_EXE +
                    "' /log /skipsearch /fps:60 /input:script.txt > out.txt 2>&1";
  int rc = std::system(cmd.c_str());
  std::string log = ReadFile("rkv2.log");
  ASSERT_TRUE(WIFEXITED(rc) && WEXITSTATUS(rc) == 0) << log.substr(log.size() > 3000 ? log.size() - 3000 : 0);
  EXPECT_NE(log.find("Records reset: 2 results of Group 1\\Song 1 cleared in 'rkv2.rec'"), std::string::npos) << log;
  EXPECT_NE(log.find("Screenshot saved"), std::string::npos);

  RecordTable back;
  ASSERT_TRUE(loadRecords(back));
  ASSERT_EQ(back.records.size(), 3u);
  for (int i = 0; i < 3; i++) {
    EXPECT_STREQ(back.records[i].key, keys[i]);
    EXPECT_EQ(back.records[i].firstSeen, 1000 + i);
    EXPECT_EQ(back.records[i].counters[0], 300 + i) << "the reset counts nothing down";
  }
  EXPECT_TRUE(back.results[0].empty()) << "Song 1, every style";
  ASSERT_EQ(back.results[1].size(), 1u);
  EXPECT_DOUBLE_EQ(back.results[1][0].bestScore, 3000000);
  EXPECT_EQ(back.results[1][0].bestA, 1000);
  EXPECT_EQ(back.results[1][0].bestGrade, 1);
  EXPECT_EQ(findNote(back, keys[0], 4, 0).bestCombo, 0);
  EXPECT_EQ(findNote(back, keys[1], 4, 2).bestCombo, 88);
  EXPECT_EQ(findNote(back, keys[1], 4, 2).bestScoreAt, 1700000100);
}
