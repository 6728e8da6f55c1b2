// The test library writer the whole-game tests share: what it writes is what the
// game's indexer, settings and profile readers take in.
#include "library/profiles.h"
#include "library/settings.h"
#include "library/song_list.h"
#include "platform/files.h"
#include "platform/log.h"
#include "support/game_library.h"
#include "support/test_support.h"
#include <gtest/gtest.h>
#include <sndfile.h>
#include <cstdlib>
#include <cstring>
#include <sys/wait.h>
#include <string>

namespace {
TEST(GameLibrary, SongsIndexWithEveryChartTheirMusicAndPictures) {
  TempDir dir;
  LogOff();
  GameLibrary lib;
  lib.songs = 5;
  lib.groups = 2;
  lib.seconds = 6;
  lib.banners = true;
  lib.backgrounds = true;
  auto folders = WriteGameLibrary(lib);
  ASSERT_EQ(folders.size(), 5u);
  EXPECT_EQ(folders[0], "Songs/Group 1/Song 1");
  EXPECT_EQ(folders[1], "Songs/Group 2/Song 2");
  EXPECT_EQ(folders[4], "Songs/Group 1/Song 5");

  SF_INFO info{};
  SNDFILE* f = sf_open((folders[2] + "/song.wav").c_str(), SFM_READ, &info);
  ASSERT_TRUE(f);
  sf_close(f);
  EXPECT_EQ(info.samplerate, 22050);
  EXPECT_EQ(info.channels, 1);
  EXPECT_EQ(info.frames, 6 * 22050);

  ASSERT_EQ(IndexGameLibrary(), 5);
  EXPECT_EQ(g_groupList.size(), 2u);
  for (const SongEntry& e : g_songs) {
    SCOPED_TRACE(e.title);
    EXPECT_EQ(std::string(e.title).rfind("Song ", 0), 0u);
    EXPECT_STREQ(e.artist, "Tarvolen tests");
    EXPECT_EQ(e.bpmValue, 120.0);
    const int levels[kChartSlots] = {3, 5, 8, 0, 4, 0, 9, 0, 0, 0, 0, 4, 0, 0};
    for (int s = 0; s < kChartSlots; s++) EXPECT_EQ(e.levels[s], levels[s]) << "slot " << s;
    // the step data spans the music exactly
    EXPECT_EQ(e.songLength, 6000);
    EXPECT_TRUE(e.hasBanner);
    EXPECT_STREQ(e.banner, "banner.png");
    EXPECT_TRUE(e.hasBackground);
    EXPECT_STREQ(e.background, "bg.png");
    std::string music = e.musicFile;
    EXPECT_EQ(music, std::string("Songs/") + e.group + "/" + e.folder + "/song.wav");
    EXPECT_GT(e.figures[0].stream, 0.0);
  }
}

TEST(GameLibrary, StylesCanBeLeftOutAndShortSongsStayPlayable) {
  TempDir dir;
  LogOff();
  GameLibrary lib;
  lib.songs = 1;
  lib.seconds = 1;   // raised to the shortest that holds steps
  lib.doubles = false;
  lib.solo = false;
  ASSERT_EQ(WriteGameLibrary(lib).size(), 1u);
  ASSERT_EQ(IndexGameLibrary(), 1);
  const SongEntry& e = g_songs[0];
  EXPECT_EQ(e.levels[0], 3);
  EXPECT_EQ(e.levels[2], 8);
  for (int s = 4; s < kChartSlots; s++) EXPECT_EQ(e.levels[s], 0) << s;
  EXPECT_EQ(e.songLength, 3000);
  EXPECT_EQ(File_Size("Songs/Group 1/Song 1/song.wav"), 44 + 3 * 22050 * 2);
  EXPECT_FALSE(File_Exists("Songs/Group 1/Song 1/bg.png"));
}

TEST(GameLibrary, SettingsAndProfilesAreReadBackByTheGame) {
  TempDir dir;
  GameSettings s;
  s.autoPlay = true;
  s.timeLimit = false;
  s.maxStage = 2;
  s.extraStages = 1;
  s.userProfiles = true;
  s.gameOver = false;
  s.announcer = true;
  s.fpsMeter = true;
  ASSERT_TRUE(WriteGameSettings(s));
  Settings_Defaults(g_settings);
  loadSettings();
  EXPECT_EQ(g_settings.autoPlay, 0);   // stored 0 for ON
  EXPECT_EQ(g_settings.timeLimit, 0);
  EXPECT_EQ(g_settings.maxStage, 2);
  EXPECT_EQ(g_settings.extraStages, 1);
  EXPECT_EQ(g_settings.userProfiles, 1);
  EXPECT_EQ(g_settings.gameOver, 0);
  EXPECT_EQ(g_settings.announcer, 1);
  EXPECT_EQ(g_settings.showFps, 0);
  EXPECT_STREQ(g_settings.skin, "Default");

  GameSettings d;   // the writer's own defaults
  ASSERT_TRUE(WriteGameSettings(d));
  loadSettings();
  EXPECT_EQ(g_settings.autoPlay, 1);
  EXPECT_EQ(g_settings.timeLimit, 0);
  EXPECT_EQ(g_settings.gameOver, 1);
  EXPECT_EQ(g_settings.showFps, 1);
  Settings_Defaults(g_settings);

  ASSERT_TRUE(WriteProfiles({"BOB", "ALICE"}));
  ASSERT_EQ(listProfiles(), 2);
  EXPECT_STREQ(g_profiles[0].name, "ALICE");
  EXPECT_STREQ(g_profiles[1].name, "BOB");
  EXPECT_EQ(g_profiles[0].isNew, 0);
  EXPECT_FALSE(WriteProfiles({"A NAME FAR TOO LONG"}));
}
}  // namespace

namespace {
// The game itself, headless, in the working directory.
int runGame(const std::string& args) {
  std::string cmd = std::string("SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy timeout 120 '") + TV_GAME_EXE + "' " +
                    args + " > out.txt 2>&1";
  int rc = std::system(cmd.c_str());
  return WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
}

TEST(GameLibrary, EveryStylesChartPlaysThroughWithAutoPlay) {
  TempDir dir;
  GameLibrary lib;
  lib.songs = 1;
  lib.seconds = 4;
  ASSERT_EQ(WriteGameLibrary(lib).size(), 1u);
  GameSettings s;
  s.autoPlay = true;
  ASSERT_TRUE(WriteGameSettings(s));
  for (const char* style : {"/style:SINGLE /level:MANIAC", "/style:DOUBLE /level:MANIAC", "/style:SOLO /level:BASIC"})
    ASSERT_EQ(runGame(std::string("/results:r.json /test:Songs/Group 1/Song 1/song.rkv ") + style), 0)
        << style << "\n" << ReadFile("out.txt");
  std::string r = ReadFile("r.json");
  int lines = 0;
  for (size_t p = r.find('\n'); p != std::string::npos; p = r.find('\n', p + 1)) lines++;
  ASSERT_EQ(lines, 3) << r;
  size_t at = 0;
  for (int i = 0; i < 3; i++, at = r.find('\n', at) + 1) {
    std::string line = r.substr(at, r.find('\n', at) - at);
    EXPECT_NE(line.find("\"grade\":\"AAA\""), std::string::npos) << line;
    EXPECT_NE(line.find("\"miss\":0"), std::string::npos) << line;
    EXPECT_EQ(line.find("\"perfect\":0,"), std::string::npos) << line;   // there were steps
  }
}
}  // namespace
