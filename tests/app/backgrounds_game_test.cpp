// Living backgrounds played by the real executable, headless: a short song whose
// chart carries a background script (a base picture, an overlay, an animation
// strip, a movie, our spectrum plug-in and an OFF), screenshots at three of its
// events; and the same song with scripts off, which gets random backgrounds.
#include "library/settings.h"
#include "media/render/image.h"
#include "menus/test_screen.h"
#include "support/game_library.h"
#include "support/game_script.h"
#include "support/movie_writer.h"
#include "support/test_support.h"
#include <gtest/gtest.h>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

namespace {
namespace fs = std::filesystem;

// At 120 BPM a sixteenth is 125 ms and a script character an eighth: events at
// 0, 1 s (8), 2 s (16) and 4 s (32).
constexpr const char* kScript =
    "#RANDSTART:8;\n"
    "#BACKGROUND:\n"
    "1:LAYER:0:FILE:base.png;\n"
    "2:LAYER:1:FILE:box.png:POSITION:80,130;\n"
    "3:LAYER:2:FILE:strip.png:ANIMATE:2,200,200:POSITION:500,300;\n"
    "4:LAYER:0:MOVIE:clip.avi;\n"
    "5:LAYER:0:VIS:tv-spectrum.svp;\n"
    "6:LAYER:1:OFF;\n"
    "SCRIPT:1,3...2...4.......5,6;\n"
    "#END;\n";

constexpr uint32_t kBase = 0xC00000, kBox = 0x00E000, kMovie = 0xD000D0;

// Pictures and movies are shown at the "BG Brightness" setting, 80 % by default.
bool near(uint32_t c, uint32_t want, int tol = 24) {
  for (int s = 0; s <= 16; s += 8)
    if (std::abs((int)((c >> s) & 255) - (int)(((want >> s) & 255) * 8 / 10)) > tol) return false;
  return true;
}

// The library's one song of 8 s with the script, its pictures and movie, and the
// game folder's plug-ins. Test play needs no song database.
void writeSong() {
  GameLibrary lib;
  lib.songs = 1;
  lib.seconds = 8;
  ASSERT_EQ(WriteGameLibrary(lib).size(), 1u);
  ASSERT_TRUE(WriteGameSettings(GameSettings{}));
  std::string dir = "Songs/Group 1/Song 1/";
  std::string chart = ReadFile(dir + "song.rkv");
  WriteFile(dir + "song.rkv", chart + kScript);
  WritePicture(dir + "base.png", 640, 480, [](int, int) { return kBase; });
  // the box keeps a black border, which is the key colour of its bottom-left pixel
  WritePicture(dir + "box.png", 64, 64, [](int x, int y) { return x < 4 || y > 59 ? 0x000000u : kBox; });
  WritePicture(dir + "strip.png", 32, 64, [](int x, int y) { return x == 0 ? 0u : y < 32 ? 0x0000F0u : 0xF0F000u; });
  ASSERT_TRUE(WriteColourMovie(dir + "clip.avi", 160, 120, 25, {kMovie}));
  std::error_code ec;
  fs::remove_all("Vis", ec);
  fs::create_directory_symlink(TestScreen_GameFolder() + "/Vis", "Vis", ec);
  ASSERT_FALSE(ec);
}

GameRun runTest(const std::string& script) {
  WriteFile("script.txt", script);
  std::string cmd = std::string("SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy timeout 120 '") + TV_GAME_EXE +
                    "' '/test:Songs/Group 1/Song 1/song.rkv' /style:SINGLE /level:BASIC /log /fps:60 "
                    "/input:script.txt > out.txt 2>&1";
  int rc = std::system(cmd.c_str());
  GameRun r;
  r.status = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
  r.log = ReadFile("rkv2.log");
  return r;
}
}  // namespace

TEST(BackgroundsGame, AScriptedSongShowsItsLayersAtEachEvent) {
  TempDir dir;
  writeSong();
  std::string script = "@ Starting main game...\n";
  for (int ms : {1500, 3300, 5000}) script += "play " + std::to_string(ms) + " down 87\nplay " +
                                              std::to_string(ms + 60) + " up 87\n";
  GameRun r = runTest(script);
  ASSERT_EQ(r.status, 0) << r.tail();
  EXPECT_TRUE(InOrder(r.log, {"Loading Background...", "Loading Vis/tv-spectrum.svp...",
                              "Initialized Visualization 'Spectrum Bars'", "defined background...",
                              "Getting first frames of animation...", "bg:4, type:AVI", "bg:5, type:VIS", "done",
                              "Starting AVI/Animation thread...", "Starting main game...",
                              "Stopping AVI/Animation thread...", "Unloading backgrounds...",
                              "Resetting backgrounds...", " - bg  1 (type = 0)... done",
                              " - bg  3 (type = 1)... done", " - bg  4 (type = 2)... done",
                              " - bg  5 (type = 3)... Freed library... done", "Resetting background layers."}))
      << r.tail();
  EXPECT_EQ(CountOf(r.log, "Generating random background..."), 0);

  std::vector<std::string> shots = TestScreen_Shots();
  ASSERT_EQ(shots.size(), 3u) << r.tail();
  // 1.5 s: the base picture, the box keyed by its border, the strip's second frame
  Shot a(shots[0]);
  EXPECT_TRUE(near(a.at(600, 250), kBase)) << std::hex << a.at(600, 250);
  EXPECT_TRUE(near(a.at(110, 160), kBox)) << std::hex << a.at(110, 160);
  EXPECT_TRUE(near(a.at(81, 160), kBase)) << "the key colour shows through";
  EXPECT_TRUE(near(a.at(515, 315), 0xF0F000)) << std::hex << a.at(515, 315);
  // 3.3 s: the movie under the box, and the strip back on its first frame
  Shot b(shots[1]);
  EXPECT_TRUE(near(b.at(600, 250), kMovie, 60)) << std::hex << b.at(600, 250);
  EXPECT_TRUE(near(b.at(110, 160), kBox));
  EXPECT_TRUE(near(b.at(515, 315), 0x0000F0)) << std::hex << b.at(515, 315);
  // 5 s: the plug-in's bars instead of the movie, the box switched off
  Shot c(shots[2]);
  EXPECT_FALSE(near(c.at(600, 250), kMovie, 60));
  EXPECT_FALSE(near(c.at(110, 160), kBox));
  EXPECT_TRUE(c.any(0, 100, 640, 400, [](int r, int g, int b) { return r + g + b > 200; }));
}

TEST(BackgroundsGame, WithScriptsOffTheSongGetsRandomMoviesAndPlugins) {
  TempDir dir;
  writeSong();
  Settings s;
  ASSERT_TRUE(loadSettings(0));
  s = g_settings;
  s.bgScripts = 0;
  s.randomAnimations = 3;
  WriteFile("rkv2.cfg", std::string((const char*)&s, sizeof s));
  GameRun r = runTest("@ Starting main game...\nplay 3000 down 1\nplay 3100 up 1\n");
  ASSERT_EQ(r.status, 0) << r.tail();
  // the song folder's own movie comes first among the random sources
  EXPECT_TRUE(InOrder(r.log, {"Loading Background...", "Finding random animations...",
                              " - found animations in current folder", "Background script left out",
                              "Generating random background...", "numRAVIs=1, numvis=2", "Determining AVIs to use...",
                              "Loading AVIs...", "set backgrounds...", "set effects...", "defined background...",
                              "Getting first frames of animation...", "Starting main game..."}))
      << r.tail();
  EXPECT_EQ(CountOf(r.log, "clip.avi..."), 1) << r.tail();
  EXPECT_EQ(CountOf(r.log, "Loading VIS Vis/"), 2) << r.tail();
}

// The background options act: scripts off, random visualizations only, and one
// chosen plug-in, set in the options menu, give the next play that plug-in.
TEST(BackgroundsGame, TheBackgroundOptionsChooseWhatTheNextPlayShows) {
  constexpr int kDown = 31, kLeft = 30, kRight = 32, kStart = 57, kF11 = 87, kEscape = 1;
  TempDir dir;
  PrepareGame(GameSettings{}, 1);
  std::error_code ec;
  fs::create_directory_symlink(TestScreen_GameFolder() + "/Vis", "Vis", ec);
  MenuPresses p;
  p.anchor("Loading 'rkv2-title.png'");
  p.move(kDown, 3);   // OPTIONS
  p.screen(kStart);
  p.anchor("Starting options menu");
  p.move(kDown, 2);   // Background Options
  p.screen(kStart);
  p.move(kDown);      // Process BG Scripts: OFF
  p.move(kLeft);
  p.move(kDown);      // Random Animations: VIS
  p.move(kLeft);
  p.move(kDown, 5);   // Plug-in to Use: the first of the list
  p.move(kRight);
  p.key(kF11);
  p.screen(kEscape);
  p.screen(kEscape);
  p.anchor("Leaving options menu", 1000);
  p.key(kEscape);
  GameRun r = RunGame(p.s, 90);
  ASSERT_EQ(r.status, 0) << r.tail();
  std::string cfg = ReadFile("rkv2.cfg");
  ASSERT_EQ(cfg.size(), sizeof(Settings));
  Settings s;
  memcpy(&s, cfg.data(), sizeof s);
  EXPECT_EQ(s.bgScripts, 0);
  EXPECT_EQ(s.randomAnimations, 2);
  EXPECT_EQ(s.visPlugin, 1);
  EXPECT_EQ(TestScreen_Shots().size(), 1u);

  // the song starts its random backgrounds early enough for its 4 s
  std::string chart = ReadFile("Songs/Group 1/Song 1/song.rkv");
  WriteFile("Songs/Group 1/Song 1/song.rkv", chart + "#RANDSTART:8;\n");
  GameRun play = runTest("@ Starting main game...\nplay 2500 down 1\nplay 2600 up 1\n");
  ASSERT_EQ(play.status, 0) << play.tail();
  EXPECT_TRUE(InOrder(play.log, {"Generating random background...", "numRAVIs=0, numvis=2", "effects=2",
                                 "(1) Loading VIS Vis/tv-scope.svp...", "Initialized Visualization 'Oscilloscope'",
                                 "defined background..."}))
      << play.tail();
  EXPECT_EQ(CountOf(play.log, "Loading VIS"), 1);
}
