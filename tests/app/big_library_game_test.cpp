// A big library in the real executable, headless: start-up to the title menu, a
// game, the wheel moved through every folder and every sort, and "Reset
// Songlist", with the game's resident memory read at each step and every frame
// held over 50 ms logged (TARVOLEN_FRAME_WATCH). CI runs 400 songs; by hand,
// tools/big_library.sh runs 10,000 and prints the figures.
#include "support/game_script.h"
#include "support/test_support.h"
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace {
constexpr int kUpLeft1 = 16;   // player 1's Up-Left: the next sort

double nowMs() {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
}


struct Phase {
  const char* line;    // the log line that ends it
  int occurrence;      // which one of them
  const char* name;
  double atMs = -1;
  long rss = -1;
};
}  // namespace

TEST(BigLibrary, StartsWalksSortsPlaysAndReindexesWithMemoryAndHeldFramesReported) {
  const char* v = getenv("TV_BIG_SONGS");
  const int songs = std::clamp(v ? std::atoi(v) : 400, 100, 20000);
  const int groups = std::max(4, songs / 100);
  TempDir dir;
  GameLibrary lib;
  lib.songs = songs;
  lib.groups = groups;
  lib.seconds = 3;
  lib.tinyMusic = true;
  double t0 = nowMs();
  ASSERT_EQ(WriteGameLibrary(lib).size(), (size_t)songs);
  GameSettings settings;
  settings.maxStage = 6;
  settings.autoPlay = true;
  ASSERT_TRUE(WriteGameSettings(settings));
  ASSERT_EQ(IndexGameLibrary(), songs);
  printf("library of %d songs in %d groups written and indexed in %.1f s\n", songs, groups, (nowMs() - t0) / 1000);

  MenuPresses p;
  p.anchor("Loading 'rkv2-title.png'");
  p.screen(kStart1);                          // ARCADE MODE
  p.anchor("Loading 'rkv2-style.png'", 500);
  p.screen(kStart1);
  p.anchor("Starting Song Select", 1400);
  p.screen(kStart1);                          // the first song
  p.s.leaveModifiers(false);
  p.s.evaluation();                           // the machine plays it
  // the wheel held to the right past every song of the open folder and every folder
  p.anchor("Starting Song Select", 1400);
  int moves = songs / groups + groups + 4;
  p.key(kRight1, moves * 125 + 600);
  for (int i = 0; i < 6; i++) p.key(kUpLeft1, 200);   // every sort and back
  p.screen(kEscape);
  p.anchor("Loading 'rkv2-title.png'");
  p.move(kDown1, 3);                          // OPTIONS
  p.screen(kStart1);
  p.anchor("Starting options menu");
  p.move(kDown1, 8);                          // Reset Songlist
  p.screen(kStart1);
  p.anchor("Generating 'rkv2-songlist.html'", 1500);
  p.move(kDown1, 2);                          // Return to Main Menu
  p.screen(kStart1);
  p.anchor("Leaving options menu", 1000);
  p.key(kEscape);
  WriteFile("script.txt", p.s.text);

  Phase phases[] = {{"Loading 'rkv2-title.png'", 1, "start-up to the title menu"},
                    {"Starting Song Select", 1, "to the wheel"},
                    {"Starting Song Select", 2, "a game, back on the wheel"},
                    {"Loading 'rkv2-title.png'", 2, "every folder and sort, back on the title"},
                    {"Generating 'rkv2-songlist.html'", 1, "options and Reset Songlist"}};
  double start = nowMs();
  pid_t pid = StartGame({"/log", "/fps:60", "/input:script.txt"}, 240 + songs / 20, {"TARVOLEN_FRAME_WATCH=50"});
  ASSERT_GT(pid, 0);
  int status = 0;
  long peak = 0;
  for (;;) {
    if (waitpid(pid, &status, WNOHANG) == pid) break;
    long rss = ProcStatus(pid, "VmRSS:");
    peak = std::max(peak, rss);
    std::string log = ReadFile("rkv2.log");
    for (Phase& ph : phases)
      if (ph.atMs < 0 && CountOf(log, ph.line) >= ph.occurrence) {
        ph.atMs = nowMs() - start;
        ph.rss = rss;
      }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  std::string log = ReadFile("rkv2.log");
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << log.substr(log.size() > 3000 ? log.size() - 3000 : 0);

  double before = 0;
  for (const Phase& ph : phases) {
    EXPECT_GE(ph.atMs, 0) << ph.name;
    printf("%-44s %8.0f ms  rss %ld KB\n", ph.name, ph.atMs - before, ph.rss);
    before = ph.atMs;
  }
  printf("resident memory at its highest: %ld KB\n", peak);
  int held = 0;
  for (const std::string& line : SplitLines(log))
    if (line.rfind("Frame held", 0) == 0) {
      held++;
      printf("%s\n", line.c_str());
    }
  printf("frames held over 50 ms: %d\n", held);

  // the game went where the script led: one play, the wheel moved through it all,
  // every sort, the songs found again by the search
  EXPECT_EQ(CountOf(log, "Starting evaluation screen...\n"), 1);
  EXPECT_GE(CountOf(log, "Reset Songlist\n"), 1);
  EXPECT_TRUE(InOrder(log, {"Starting Song Select", "Starting main game...", "Starting Song Select",
                            "Starting options menu", "Reset Songlist", "Leaving options menu"}));
}
