// The installed game: the build installed into a folder of the test's own
// (DESTDIR), started headless with XDG_DATA_HOME in it, makes the player's game
// folder, finds the bundled songs, plays a short song of the test's in test
// mode and keeps its settings there; a second start keeps everything. And the
// Debian package made from the build, its file list and dependencies.
#include "support/game_library.h"
#include "support/game_script.h"
#include "support/test_support.h"
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;

namespace {
int run(const std::string& cmd) {
  int rc = std::system(cmd.c_str());
  return WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
}

std::string output(const std::string& cmd) {
  std::string out;
  if (FILE* p = popen(cmd.c_str(), "r")) {
    char buf[4096];
    while (size_t n = fread(buf, 1, sizeof buf, p)) out.append(buf, n);
    pclose(p);
  }
  return out;
}

// The game as installed under `dest`, started with `xdg` as XDG_DATA_HOME.
int startInstalled(const std::string& dest, const std::string& xdg, const std::string& args) {
  return run("cd / && XDG_DATA_HOME='" + xdg + "' SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy timeout 180 '" + dest +
             "/usr/games/tarvolen' " + args + " > '" + xdg + "/out.txt' 2>&1");
}
}  // namespace

TEST(InstalledGame, MakesThePlayersFolderFindsTheBundledSongsPlaysAndKeepsItsFiles) {
  TempDir t;
  std::string dest = t.path + "/dest", xdg = t.path + "/data";
  ASSERT_EQ(run("DESTDIR='" + dest + "' '" TV_CMAKE "' --install '" TV_BUILD_DIR "' --prefix /usr > install.txt 2>&1"), 0)
      << ReadFile("install.txt");
  fs::create_directories(xdg);

  // a short song of the player's own before the first start: the folder is
  // filled around it
  std::string game = xdg + "/tarvolen";
  fs::create_directories(game);
  fs::current_path(game);
  GameLibrary lib;
  lib.songs = 1;
  ASSERT_EQ(WriteGameLibrary(lib).size(), 1u);
  fs::current_path(t.path);

  // the first start: to the title menu and out again
  WriteFile(xdg + "/quit.txt", "@ Loading 'rkv2-title.png'\n800 down 1\n900 up 1\n");
  ASSERT_EQ(startInstalled(dest, xdg, "/log /input:" + xdg + "/quit.txt"), 0) << ReadFile(xdg + "/out.txt");
  for (const char* p : {"Songs/Demo", "Courses/Demo", "Profiles", "Movies/Random/tv-drift.avi", "Vis/tv-scope.svp",
                        "Skins/Default/rkv2-skin.cfg", "Sounds/Default", "bonus-1.crs", "rkv2.cfg", "rkv2.sng"})
    EXPECT_TRUE(fs::exists(game + "/" + p)) << p;
  std::string log = ReadFile(game + "/rkv2.log");
  EXPECT_NE(log.find("Adding 'Songs/Demo/neon-stride'"), std::string::npos) << "the bundled songs are found";
  EXPECT_NE(log.find("Adding 'Songs/Group 1/Song 1'"), std::string::npos) << "and the player's";
  EXPECT_EQ(log.find("Unable to save"), std::string::npos);
  std::string settings = ReadFile(game + "/rkv2.cfg");
  ASSERT_FALSE(settings.empty());

  // a play in test mode on the player's short song
  ASSERT_EQ(startInstalled(dest, xdg, "\"/test:Songs/Group 1/Song 1/song.rkv\" /style:SINGLE /level:BASIC /results:r.json"),
            0)
      << ReadFile(xdg + "/out.txt");
  std::string results = ReadFile(game + "/r.json");
  EXPECT_EQ(Field(results, "chart"), "Songs/Group 1/Song 1/song.rkv") << results;

  // the player changes a bundled skin file; a second start keeps it and the settings
  WriteFile(game + "/Skins/Default/rkv2-skin.cfg", "[Skin]\n// mine\n");
  fs::remove_all(game + "/Movies/Random");
  ASSERT_EQ(startInstalled(dest, xdg, "/log /input:" + xdg + "/quit.txt"), 0) << ReadFile(xdg + "/out.txt");
  EXPECT_EQ(ReadFile(game + "/Skins/Default/rkv2-skin.cfg"), "[Skin]\n// mine\n");
  EXPECT_EQ(ReadFile(game + "/rkv2.cfg"), settings);
  EXPECT_TRUE(fs::exists(game + "/Movies/Random/tv-drift.avi")) << "what is missing comes back";
  EXPECT_TRUE(fs::exists(game + "/Songs/Group 1/Song 1/song.rkv"));
}

TEST(InstalledGame, AGameFolderThatCannotBeUsedEndsWithAMessageAndTakesNothing) {
  TempDir t;
  std::string dest = t.path + "/dest";
  ASSERT_EQ(run("DESTDIR='" + dest + "' '" TV_CMAKE "' --install '" TV_BUILD_DIR "' --prefix /usr > install.txt 2>&1"), 0);
  WriteFile(t.path + "/data/tarvolen", "a file where the folder goes");
  EXPECT_EQ(startInstalled(dest, t.path + "/data", "/log"), 1);
  EXPECT_NE(ReadFile(t.path + "/data/out.txt").find("cannot use the game folder"), std::string::npos);
  EXPECT_EQ(ReadFile(t.path + "/data/tarvolen"), "a file where the folder goes");
  EXPECT_EQ(run("cd / && XDG_DATA_HOME=relative/path SDL_VIDEODRIVER=dummy '" + dest + "/usr/games/tarvolen' > /dev/null 2>&1"),
            1);
  EXPECT_EQ(run("cd / && env -u HOME -u XDG_DATA_HOME SDL_VIDEODRIVER=dummy '" + dest + "/usr/games/tarvolen' > /dev/null 2>&1"),
            1);
}

TEST(InstalledGame, TheDebianPackageHoldsTheGameAndNeedsOnlyRuntimePackages) {
  if (run("command -v dpkg-shlibdeps > /dev/null && command -v dpkg-deb > /dev/null") != 0)
    GTEST_SKIP() << "dpkg-dev is not installed";
  TempDir t;
  ASSERT_EQ(run("cd '" TV_BUILD_DIR "' && '" TV_CPACK "' -G DEB -B '" + t.path + "/pkg' > '" + t.path + "/cpack.txt' 2>&1"), 0)
      << ReadFile(t.path + "/cpack.txt");
  std::string deb;
  for (auto& e : fs::directory_iterator(t.path + "/pkg"))
    if (e.path().extension() == ".deb") deb = e.path().string();
  ASSERT_FALSE(deb.empty());
  std::string files = output("dpkg-deb -c '" + deb + "'");
  for (const char* p : {"./usr/games/tarvolen", "./usr/share/tarvolen/Skins/Default/rkv2-skin.cfg",
                        "./usr/share/tarvolen/Songs/Demo/neon-stride/neon-stride.rkv", "./usr/share/tarvolen/bonus-1.crs",
                        "./usr/share/tarvolen/Courses/Demo/demo-tour.crs", "./usr/share/tarvolen/Movies/Random/tv-drift.avi",
                        "./usr/lib/tarvolen/Vis/tv-spectrum.svp", "./usr/share/applications/tarvolen.desktop",
                        "./usr/share/icons/hicolor/48x48/apps/tarvolen.png", "./usr/share/icons/hicolor/256x256/apps/tarvolen.png",
                        "./usr/share/metainfo/io.github.tarvolen.Tarvolen.metainfo.xml", "./usr/share/doc/tarvolen/copyright",
                        "./usr/share/doc/tarvolen/changelog.gz", "./usr/share/man/man6/tarvolen.6.gz"})
    EXPECT_NE(files.find(p), std::string::npos) << p;
  EXPECT_EQ(files.find(".content-stamp"), std::string::npos);
  EXPECT_EQ(files.find("rkv2.cfg"), std::string::npos) << "no player's file is packed";
  std::string depends = output("dpkg-deb -f '" + deb + "' Depends");
  EXPECT_NE(depends.find("libfreeimage3"), std::string::npos) << depends;
  EXPECT_NE(depends.find("libsdl1.2-compat-shim"), std::string::npos) << depends;
  EXPECT_EQ(depends.find("-dev"), std::string::npos) << depends;
}
