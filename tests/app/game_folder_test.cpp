// The player's game folder: which folder the game runs in, how it is made and
// filled from the bundled content, and that nothing of the player's is touched.
#include "app/game_folder.h"
#include "support/test_support.h"
#include <gtest/gtest.h>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {
// An installed tree under `prefix`: bin/tarvolen and share/tarvolen's content.
std::string installAt(const std::string& prefix) {
  fs::create_directories(prefix + "/bin");
  WriteFile(prefix + "/bin/tarvolen", "");
  std::string share = prefix + "/share/tarvolen";
  fs::create_directories(share + "/Skins/Default");
  WriteFile(share + "/Skins/Default/rkv2-skin.cfg", "[Skin]\n");
  WriteFile(share + "/Songs/Demo/neon/neon.rkv", "#TITLE:Neon;\n");
  WriteFile(share + "/Courses/demo.crs", "course\n");
  WriteFile(prefix + "/lib/tarvolen/Vis/tv-scope.svp", "plug-in");   // a library: not under share
  WriteFile(share + "/bonus-1.crs", "bonus");
  return prefix + "/bin/tarvolen";
}
}  // namespace

TEST(GameFolder, TheOptionIsTakenOutOfTheArgumentsInEitherForm) {
  std::vector<std::string> args{"/log", "--game-dir", "/tmp/g", "/fps:60"};
  std::string dir, error;
  ASSERT_TRUE(GameFolder_TakeOption(args, dir, error));
  EXPECT_EQ(dir, "/tmp/g");
  EXPECT_EQ(args, (std::vector<std::string>{"/log", "/fps:60"}));
  args = {"--game-dir=/srv/dance", "/log"};
  ASSERT_TRUE(GameFolder_TakeOption(args, dir, error));
  EXPECT_EQ(dir, "/srv/dance");
  EXPECT_EQ(args, (std::vector<std::string>{"/log"}));
  args = {"/log", "--game-dir"};
  EXPECT_FALSE(GameFolder_TakeOption(args, dir, error));
  EXPECT_NE(error.find("needs a folder"), std::string::npos);
  args = {"--game-dir="};
  EXPECT_FALSE(GameFolder_TakeOption(args, dir, error));
}

TEST(GameFolder, InstalledItRunsInThePlayersFolderAndFromABuildWhereItIs) {
  TempDir t;
  std::string exe = installAt(t.path + "/usr");
  GameFolderPlan plan;
  std::string error;
  ASSERT_TRUE(GameFolder_Plan(exe, "", "/home/ann/.data", "/home/ann", plan, error));
  EXPECT_EQ(plan.folder, "/home/ann/.data/tarvolen");
  EXPECT_EQ(plan.bundled, (std::vector<std::string>{t.path + "/usr/share/tarvolen", t.path + "/usr/lib/tarvolen"}));
  ASSERT_TRUE(GameFolder_Plan(exe, "", nullptr, "/home/ann", plan, error));
  EXPECT_EQ(plan.folder, "/home/ann/.local/share/tarvolen");
  ASSERT_TRUE(GameFolder_Plan(exe, "", "", "/home/ann", plan, error)) << "an empty XDG_DATA_HOME is unset";
  EXPECT_EQ(plan.folder, "/home/ann/.local/share/tarvolen");
  ASSERT_TRUE(GameFolder_Plan(exe, "/mnt/party", "/x", "/home/ann", plan, error));
  EXPECT_EQ(plan.folder, "/mnt/party");
  EXPECT_EQ(plan.bundled.size(), 2u) << "the content and the plug-ins";

  // bad environments: no folder can be named
  EXPECT_FALSE(GameFolder_Plan(exe, "", "relative/data", "/home/ann", plan, error));
  EXPECT_NE(error.find("XDG_DATA_HOME"), std::string::npos);
  EXPECT_FALSE(GameFolder_Plan(exe, "", nullptr, nullptr, plan, error));
  EXPECT_NE(error.find("HOME"), std::string::npos);

  // a build folder: the executable beside its content, no share folder
  fs::create_directories(t.path + "/build/game/Skins/Default");
  WriteFile(t.path + "/build/game/tarvolen", "");
  ASSERT_TRUE(GameFolder_Plan(t.path + "/build/game/tarvolen", "", "/x", "/home/ann", plan, error));
  EXPECT_EQ(plan.folder, "");
  EXPECT_TRUE(plan.bundled.empty());
  ASSERT_TRUE(GameFolder_Plan(t.path + "/build/game/tarvolen", "/mnt/g", nullptr, nullptr, plan, error));
  EXPECT_EQ(plan.bundled, std::vector<std::string>{t.path + "/build/game"});
}

TEST(GameFolder, TheFirstStartFillsItAndLaterStartsAddOnlyWhatIsMissing) {
  TempDir t;
  std::string exe = installAt(t.path + "/usr");
  GameFolderPlan plan;
  std::string error;
  ASSERT_TRUE(GameFolder_Plan(exe, "", (t.path + "/data").c_str(), nullptr, plan, error));
  int copied = 0;
  ASSERT_TRUE(GameFolder_Prepare(plan, error, &copied)) << error;
  EXPECT_EQ(copied, 5);
  EXPECT_EQ(ReadFile(t.path + "/data/tarvolen/bonus-1.crs"), "bonus");
  std::string g = t.path + "/data/tarvolen";
  for (const char* sub : {"Songs", "Courses", "Profiles", "Movies", "Vis", "Skins/Default"})
    EXPECT_TRUE(fs::is_directory(g + "/" + sub)) << sub;
  EXPECT_EQ(ReadFile(g + "/Songs/Demo/neon/neon.rkv"), "#TITLE:Neon;\n");

  // the player edits a bundled chart, removes the course, adds a song and settings
  WriteFile(g + "/Songs/Demo/neon/neon.rkv", "#TITLE:Neon (my edit);\n");
  fs::remove(g + "/Courses/demo.crs");
  WriteFile(g + "/Songs/Mine/a/a.rkv", "#TITLE:Mine;\n");
  WriteFile(g + "/rkv2.cfg", "settings");
  // a newer package brings a song
  WriteFile(t.path + "/usr/share/tarvolen/Songs/Demo/new/new.rkv", "#TITLE:New;\n");
  ASSERT_TRUE(GameFolder_Prepare(plan, error, &copied));
  EXPECT_EQ(copied, 2) << "the new song and the course put back";
  EXPECT_EQ(ReadFile(g + "/Songs/Demo/neon/neon.rkv"), "#TITLE:Neon (my edit);\n");
  EXPECT_EQ(ReadFile(g + "/Songs/Mine/a/a.rkv"), "#TITLE:Mine;\n");
  EXPECT_EQ(ReadFile(g + "/rkv2.cfg"), "settings");
  EXPECT_TRUE(fs::exists(g + "/Songs/Demo/new/new.rkv"));
  EXPECT_TRUE(fs::exists(g + "/Courses/demo.crs"));
  for (auto& e : fs::recursive_directory_iterator(g))
    EXPECT_EQ(e.path().string().find(".part"), std::string::npos) << e.path();
}

TEST(GameFolder, APlayersFileWhereAFolderGoesIsKeptAndAFolderThatIsAFileRefused) {
  TempDir t;
  std::string exe = installAt(t.path + "/usr");
  fs::create_directories(t.path + "/g");
  WriteFile(t.path + "/g/Vis", "my notes");   // where the plug-ins would go
  GameFolderPlan plan;
  std::string error;
  ASSERT_TRUE(GameFolder_Plan(exe, t.path + "/g", nullptr, nullptr, plan, error));
  int copied = 0;
  ASSERT_TRUE(GameFolder_Prepare(plan, error, &copied)) << error;
  EXPECT_EQ(ReadFile(t.path + "/g/Vis"), "my notes");
  EXPECT_EQ(copied, 4);

  WriteFile(t.path + "/file", "x");
  ASSERT_TRUE(GameFolder_Plan(exe, t.path + "/file", nullptr, nullptr, plan, error));
  EXPECT_FALSE(GameFolder_Prepare(plan, error));
  EXPECT_NE(error.find("is not a folder"), std::string::npos);
  EXPECT_EQ(ReadFile(t.path + "/file"), "x");
  ASSERT_TRUE(GameFolder_Plan(exe, t.path + "/file/under", nullptr, nullptr, plan, error));
  EXPECT_FALSE(GameFolder_Prepare(plan, error));
  EXPECT_NE(error.find("cannot be made"), std::string::npos);
}

TEST(GameFolder, FromABuildOnlyTheContentIsCopiedNeverAPlayersFiles) {
  TempDir t;
  std::string game = t.path + "/build/game";
  fs::create_directories(game + "/Skins/Default");
  WriteFile(game + "/tarvolen", "");
  WriteFile(game + "/Skins/Default/rkv2-title.png", "png");
  WriteFile(game + "/rkv2.cfg", "the developer's settings");
  WriteFile(game + "/rkv2.log", "log");
  GameFolderPlan plan;
  std::string error;
  ASSERT_TRUE(GameFolder_Plan(game + "/tarvolen", t.path + "/party", nullptr, nullptr, plan, error));
  ASSERT_TRUE(GameFolder_Prepare(plan, error));
  EXPECT_TRUE(fs::exists(t.path + "/party/Skins/Default/rkv2-title.png"));
  EXPECT_FALSE(fs::exists(t.path + "/party/rkv2.cfg"));
  EXPECT_FALSE(fs::exists(t.path + "/party/rkv2.log"));
}
