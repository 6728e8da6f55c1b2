// The test library writer the whole-game tests share: what it writes is what the
// game's indexer, settings and profile readers and the game itself take in.
#include "library/profiles.h"
#include "library/settings.h"
#include "library/song_list.h"
#include "platform/files.h"
#include "platform/log.h"
#include "support/game_library.h"
#include "support/test_support.h"
#include <gtest/gtest.h>
#include <cstdlib>
#include <string>
#include <sys/wait.h>

namespace {
TEST(GameLibrary, SongsIndexWithTheirChartsMusicAndPictures) {
  TempDir dir;
  LogOff();
  GameLibrary lib;
  lib.songs = 5;
  lib.groups = 2;
  lib.seconds = 6;
  lib.banners = lib.backgrounds = true;
  auto folders = WriteGameLibrary(lib);
  ASSERT_EQ(folders.size(), 5u);
  EXPECT_EQ(folders[1], "Songs/Group 2/Song 2");
  EXPECT_EQ(folders[4], "Songs/Group 1/Song 5");
  EXPECT_EQ(File_Size(folders[0] + "/song.wav"), 44 + 6 * 22050 * 2);   // 16-bit mono at 22050 Hz

  ASSERT_EQ(IndexGameLibrary(), 5);
  EXPECT_EQ(g_groupList.size(), 2u);
  for (const SongEntry& e : g_songs) {
    SCOPED_TRACE(e.title);
    EXPECT_STREQ(e.artist, "Tarvolen tests");
    EXPECT_EQ(e.bpmValue, 120.0);
    const int levels[kChartSlots] = {3, 5, 8, 0, 4, 0, 9, 0, 0, 0, 0, 4, 0, 0};
    for (int s = 0; s < kChartSlots; s++) EXPECT_EQ(e.levels[s], levels[s]) << "slot " << s;
    EXPECT_EQ(e.songLength, 6000);   // the step data spans the music exactly
    EXPECT_TRUE(e.hasBanner && e.hasBackground);
    EXPECT_STREQ(e.background, "bg.png");
    EXPECT_EQ(std::string(e.musicFile), std::string("Songs/") + e.group + "/" + e.folder + "/song.wav");
  }
}

TEST(GameLibrary, SettingsAndProfilesAreReadBackByTheGame) {
  TempDir dir;
  GameSettings s;
  s.autoPlay = s.userProfiles = s.announcer = s.fpsMeter = true;
  s.gameOver = false;
  s.maxStage = 2;
  s.extraStages = 1;
  ASSERT_TRUE(WriteGameSettings(s));
  loadSettings();
  const Settings& g = g_settings;   // autoPlay and showFps are stored 0 for ON
  EXPECT_TRUE(g.autoPlay == 0 && g.timeLimit == 0 && g.maxStage == 2 && g.extraStages == 1);
  EXPECT_TRUE(g.userProfiles == 1 && g.gameOver == 0 && g.announcer == 1 && g.showFps == 0);
  ASSERT_TRUE(WriteGameSettings(GameSettings{}));
  loadSettings();
  EXPECT_TRUE(g.autoPlay == 1 && g.gameOver == 1 && g.showFps == 1 && g.announcer == 0);
  Settings_Defaults(g_settings);

  ASSERT_TRUE(WriteProfiles({"BOB", "ALICE"}));
  ASSERT_EQ(listProfiles(), 2);
  EXPECT_STREQ(g_profiles[0].name, "ALICE");
  EXPECT_EQ(g_profiles[0].isNew, 0);
  EXPECT_FALSE(WriteProfiles({"A NAME FAR TOO LONG"}));
}

TEST(GameLibrary, EveryStylesChartPlaysThroughWithAutoPlay) {
  TempDir dir;
  GameLibrary lib;
  lib.songs = 1;
  ASSERT_EQ(WriteGameLibrary(lib).size(), 1u);
  GameSettings s;
  s.autoPlay = true;
  ASSERT_TRUE(WriteGameSettings(s));
  for (const char* style : {"/style:SINGLE /level:MANIAC", "/style:DOUBLE /level:MANIAC", "/style:SOLO /level:BASIC"}) {
    std::string cmd = std::string("SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy timeout 120 '") + TV_GAME_EXE +
                      "' /results:r.json /test:Songs/Group 1/Song 1/song.rkv " + style + " > out.txt 2>&1";
    int rc = std::system(cmd.c_str());
    ASSERT_TRUE(WIFEXITED(rc) && WEXITSTATUS(rc) == 0) << style << "\n" << ReadFile("out.txt");
  }
  std::string r = ReadFile("r.json");
  size_t at = 0;
  for (int i = 0; i < 3; i++, at++) {
    size_t end = r.find('\n', at);
    ASSERT_NE(end, std::string::npos) << r;
    std::string line = r.substr(at, end - at);
    EXPECT_NE(line.find("\"grade\":\"AAA\""), std::string::npos) << line;
    EXPECT_NE(line.find("\"miss\":0"), std::string::npos) << line;
    EXPECT_EQ(line.find("\"perfect\":0,"), std::string::npos) << line;   // there were steps
    at = end;
  }
}
}  // namespace
