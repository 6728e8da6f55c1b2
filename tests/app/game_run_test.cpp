// Runs the real executable headless in a fresh game folder.
#include "library/records.h"
#include "library/song_db.h"
#include <ctime>
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

TEST(GameRun, IndexesASmallLibraryShowsTheMenuAndLeavesItsFiles) {
  TempDir dir;
  for (const char* song : {"Alpha", "Beta"}) {
    std::string d = std::string("Songs/Pack/") + song;
    Dir_Create(d);
    WriteFile(d + "/steps.rkv", std::string("#TITLE:") + song + " Song;\n#ARTIST:Tester;\n#BPM:150;\n#GAP:-20;\n"
                                    "#SINGLE:BASIC:4:\n2468 2468;\n#SOLO:MANIAC:8:\nCD CD;\n");
    WriteFile(d + "/music.ogg", "not decoded by the indexer");
  }
  // new songs bring the 12-second notice; then Escape taps until the menu takes one
  std::string script;
  for (int t = 12500; t < 40000; t += 700) script += std::to_string(t) + " down 1\n" + std::to_string(t + 150) + " up 1\n";
  WriteFile("quit.txt", script);
  GameResult r = runGame("/log /input:quit.txt");
  ASSERT_EQ(r.status, 0) << r.out;
  std::string log = ReadFile("rkv2.log");
  size_t search = log.find("Searching for songs (Songs folder)...");
  size_t warning = log.find("Warning screen...");
  size_t menu = log.find("Loading 'rkv2-title.png' (LoadPNG)...");
  ASSERT_NE(search, std::string::npos);
  EXPECT_LT(search, warning);
  EXPECT_LT(warning, menu);

  SongDatabase db;
  ASSERT_EQ(SongDb_Read("rkv2.sng", db), 1);
  ASSERT_EQ(db.slots.size(), 2u);
  EXPECT_EQ(db.liveCount, 2);
  EXPECT_STREQ(db.slots[0].group, "Pack");
  EXPECT_STREQ(db.slots[0].folder, "Alpha");
  EXPECT_STREQ(db.slots[0].title, "Alpha Song");
  EXPECT_STREQ(db.slots[0].artist, "Tester");
  EXPECT_STREQ(db.slots[0].genres, "|Pack|");
  EXPECT_STREQ(db.slots[0].musicFile, "Songs/Pack/Alpha/music.ogg");
  EXPECT_EQ(db.slots[0].levels[0], 4);
  EXPECT_EQ(db.slots[0].levels[13], 8);
  EXPECT_DOUBLE_EQ(db.slots[0].bpmValue, 150);
  EXPECT_EQ(db.slots[0].sampleLength, 13000);
  EXPECT_STREQ(db.slots[1].folder, "Beta");

  RecordTable rec;
  ASSERT_TRUE(loadRecords(rec));
  ASSERT_EQ(rec.records.size(), 2u);
  EXPECT_STREQ(rec.records[0].key, "Pack\\Alpha");
  EXPECT_STREQ(rec.records[1].key, "Pack\\Beta");
  EXPECT_EQ(rec.records[0].resultCount, 0);
  EXPECT_EQ(rec.records[0].used, 1);
  // a first run dates the songs four weeks back, so that none is NEW
  EXPECT_LT(rec.records[0].firstSeen, (int32_t)time(nullptr) - 2419200 + 60);
}
