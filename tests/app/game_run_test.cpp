// Runs the real executable headless in a fresh game folder.
#include "library/records.h"
#include "library/settings.h"
#include "platform/files.h"
#include "support/test_support.h"
#include <gtest/gtest.h>
#include <cstdlib>
#include <string>
#include <sys/wait.h>

namespace {
struct GameResult {
  int status;
  std::string out;
};

GameResult runGame(const std::string& args) {
  std::string cmd = std::string("SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy timeout 60 '") + TV_GAME_EXE + "' " +
                    args + " > out.txt 2>&1";
  int rc = std::system(cmd.c_str());
  return {WIFEXITED(rc) ? WEXITSTATUS(rc) : -1, ReadFile("out.txt")};
}

// Presses and releases Escape shortly after start; the plain screen ends on it.
// A records file with one record means this is no first run (no 12-second notice).
void escapeScript() {
  WriteFile("quit.txt", "# leave at once\n300 down 1\n400 up 1\n");
  SongRecord r = Records_New("Old\\Song", 1000);
  int32_t n = 1;
  WriteFile("rkv2.rec", std::string((const char*)&n, 4) + std::string((const char*)&r, sizeof r));
}

std::string settingsBytes(uint8_t volume) {
  Settings s;
  Settings_Defaults(s);
  s.volume = volume;
  s.unused17[0] = 0x42;  // an unlisted byte must come back as it was
  return std::string((const char*)&s, sizeof s);
}
}

TEST(GameRun, LogsStartUpAndWritesSettingsAtShutDown) {
  TempDir dir;
  escapeScript();
  GameResult r = runGame("/log /input:quit.txt /fps:60");
  ASSERT_EQ(r.status, 0) << r.out;
  std::string log = ReadFile("rkv2.log");
  EXPECT_EQ(log.rfind("Starting log...\n", 0), 0u) << log;
  size_t a = log.find("Loading settings...\n");
  size_t b = log.find("STARTING RKV...\n");
  size_t c = log.find("Initialising Graphics...");
  size_t d = log.find("Starting main loop...\n");
  ASSERT_NE(a, std::string::npos);
  ASSERT_NE(d, std::string::npos);
  EXPECT_LT(a, b);
  EXPECT_LT(b, c);
  EXPECT_LT(c, d);
  EXPECT_EQ(ReadFile("rkv2.cfg").size(), 832u);
  EXPECT_EQ(ReadFile("rkv2.inp").size(), 320u);
}

TEST(GameRun, StoredSettingsComeBackByteForByte) {
  TempDir dir;
  escapeScript();
  std::string cfg = settingsBytes(40);
  WriteFile("rkv2.cfg", cfg);
  GameResult r = runGame("/input:quit.txt");
  ASSERT_EQ(r.status, 0) << r.out;
  EXPECT_EQ(ReadFile("rkv2.cfg"), cfg);
}

TEST(GameRun, NoLogWithoutOption) {
  TempDir dir;
  escapeScript();
  ASSERT_EQ(runGame("/input:quit.txt").status, 0);
  EXPECT_EQ(ReadFile("rkv2.log"), "");
}

TEST(GameRun, HelpListsEveryOption) {
  TempDir dir;
  GameResult r = runGame("--help");
  ASSERT_EQ(r.status, 0);
  for (const char* opt : {"/log", "/log2", "/minRAM:", "/maxRAM:", "/sdl", "/altmovie", "/noshade", "/16bpp",
                          "/fullscreen", "/window", "/sw", "/hw", "/anysize", "/search", "/skipsearch", "/altcombo",
                          "/minsize:", "/v5hack", "/fps:", "/showsm", "/test:", "/style:", "/level:", "/speed:",
                          "/scroll:", "/dark", "/startat:", "/p1", "/p2", "/tick:1", "/dither:0", "/key:exclusive",
                          "/key:nonexclusive", "/key:fg", "/key:bg", "/key:nowin", "/key:win", "/priority:1",
                          "/priority:2", "/boost:0", "/sdevice:", "/results:", "/input:", "--version"})
    EXPECT_NE(r.out.find(opt), std::string::npos) << opt;
  EXPECT_FALSE(File_Exists("rkv2.cfg"));
  r = runGame("--version");
  EXPECT_EQ(r.out, "Tarvolen v2.50.00\n");
}

TEST(GameRun, TestModeWithMissingChartFails) {
  TempDir dir;
  GameResult r = runGame("/log /test:Songs/None/x.rkv");
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.out.find("'Songs/None/x.rkv': File not found/Syntax incorrect..."), std::string::npos) << r.out;
  EXPECT_NE(ReadFile("rkv2.log").find("File not found/Syntax incorrect..."), std::string::npos);
  // test mode never writes the settings back
  EXPECT_FALSE(File_Exists("rkv2.cfg"));
}

TEST(GameRun, TestModeRefusesSoloSmaniac) {
  TempDir dir;
  WriteFile("x.rkv", "#TITLE:x;\n");
  GameResult r = runGame("/test:x.rkv /style:SOLO /level:SMANIAC");
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.out.find("Error: Invalid style/difficulty given, or steps not available for given mode."),
            std::string::npos)
      << r.out;
}
