// The style and profile select screens run whole on the dummy window with the
// Default skin and scripted keys, as a player would use them. F11 presses in the
// scripts save screenshots; with TV_SHOTS_DIR set they are copied there to be
// looked at.
#include "menus/test_screen.h"
#include "library/profiles.h"
#include "library/settings.h"
#include "media/font/font.h"
#include "media/input/input.h"
#include "media/input_script.h"
#include "media/skin/skin_images.h"
#include "media/window.h"
#include "menus/available_modes.h"
#include "menus/collection.h"
#include "menus/profile_select.h"
#include "menus/style_select.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "play/player.h"
#include "support/test_support.h"
#include <FreeImage.h>
#include <gtest/gtest.h>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {
namespace fs = std::filesystem;

// Scan codes of the default keys.
enum : uint8_t {
  P1_RIGHT = 32, P1_START = 57, P2_LEFT = 203, P2_RIGHT = 205, P2_DOWN = 208, P2_START = 28,
  KEY_ESCAPE = 1, KEY_F11 = 87,
};

// Key taps at times counted from the start of the run.
struct Script {
  uint32_t start = Clock_Ms();
  std::vector<ScriptEvent> events;
  Script& tap(uint32_t at, uint8_t code) {
    events.push_back(ScriptEvent{start + at, 0, 1, 0, code});
    events.push_back(ScriptEvent{start + at + 120, 0, 0, 0, code});   // held over a few frames even when slow
    return *this;
  }
  void set() {   // the script is read in time order
    std::stable_sort(events.begin(), events.end(),
                     [](const ScriptEvent& a, const ScriptEvent& b) { return a.ms < b.ms; });
    InputScript_Set(events);
  }
};

// A picture with a diagonal band, so that its place on the screen shows.
void writeUserPicture(const std::string& path, int w, int h) {
  FIBITMAP* d = FreeImage_Allocate(w, h, 24);
  for (int y = 0; y < h; y++) {
    BYTE* row = FreeImage_GetScanLine(d, y);
    for (int x = 0; x < w; x++) {
      bool band = std::abs(x - y) < w / 6;
      row[3 * x + 0] = band ? 40 : 30;                      // blue
      row[3 * x + 1] = band ? 220 : (uint8_t)(x * 255 / w);  // green
      row[3 * x + 2] = band ? 255 : 200;                     // red
    }
  }
  ASSERT_TRUE(FreeImage_Save(FIF_PNG, d, path.c_str()));
  FreeImage_Unload(d);
}

class SelectScreens : public ::testing::Test {
 protected:
  TempDir dir;
  void SetUp() override {
    Settings_Defaults(g_settings);
    ASSERT_TRUE(TestScreen_Open());
    ASSERT_TRUE(TestScreen_UseGameSkin());
    Players_Reset();
    for (bool& m : g_availableModes) m = true;
  }
  void TearDown() override {
    Profiles_EndGame();
    TestScreen_Close();
    keepShots();
  }
  // The screenshots in the order taken.
  std::vector<fs::path> shotFiles() {
    std::error_code ec;
    std::vector<fs::path> files;
    for (fs::directory_iterator it("Screenshots", ec), end; !ec && it != end; it.increment(ec))
      files.push_back(it->path());
    std::sort(files.begin(), files.end(), [](const fs::path& a, const fs::path& b) {
      std::error_code e;
      return fs::last_write_time(a, e) < fs::last_write_time(b, e);
    });
    return files;
  }
  int shots() { return (int)shotFiles().size(); }
  // Copied, named after the test, to TV_SHOTS_DIR when it is set.
  void keepShots() {
    const char* to = getenv("TV_SHOTS_DIR");
    std::vector<fs::path> files = shotFiles();
    std::string test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    std::error_code ec;
    for (size_t i = 0; to && *to && i < files.size(); i++)
      fs::copy_file(files[i], fs::path(to) / (test + "-" + std::to_string(i + 1) + ".png"),
                    fs::copy_options::overwrite_existing, ec);
  }
};

TEST_F(SelectScreens, StyleSecondPlayerJoinsAndPlayerOneTakesDouble) {
  g_players[0].active = 1;
  Script s;
  s.tap(300, KEY_F11)              // one player, SINGLE under the cursor
      .tap(500, P2_START)          // player 2 joins: VERSUS
      .tap(800, KEY_F11)
      .tap(1000, P1_RIGHT)         // DOUBLE
      .tap(1300, KEY_F11)
      .tap(1500, P1_START)
      .set();
  int r = StyleSelect(g_players);
  uint32_t took = Clock_Ms() - s.start;
  EXPECT_EQ(r, 1);
  EXPECT_GE(took, 1500u + 750u);   // the choice stays on screen for 750 ms
  EXPECT_TRUE(g_players[0].active);
  EXPECT_FALSE(g_players[1].active);
  EXPECT_STREQ(g_players[0].styleName, "DOUBLE");
  EXPECT_EQ(g_players[0].panels, 8);
  EXPECT_EQ(g_players[0].fieldX, 46);
  EXPECT_EQ(g_styleBanner, 3);
  EXPECT_EQ(shots(), 3);

  // page 1 without SOLO charts: the message, then Escape backs out with nothing chosen
  g_availableModes[MODE_SOLO] = false;
  Players_Reset();
  g_players[1].active = 1;
  Script t;
  t.tap(200, P2_DOWN).tap(400, P2_START).tap(600, KEY_F11).tap(800, KEY_ESCAPE).set();
  EXPECT_EQ(StyleSelect(g_players), 0);
  EXPECT_FALSE(g_players[0].active);
  EXPECT_STREQ(g_players[1].styleName, "SINGLE");
  EXPECT_EQ(shots(), 4);
}

struct ProfileScreens : SelectScreens {
  void SetUp() override {
    SelectScreens::SetUp();
    for (const char* n : {"Ann", "Bob", "Cat", "Dan"}) Dir_Create(std::string("Profiles/") + n);
    writeUserPicture("Profiles/Ann/user.png", 96, 96);
    WriteFile("Profiles/Cat/user.png", "\x89PNG\r\n\x1a\nnot really a picture");
    writeUserPicture("Profiles/Dan/user.png", 9000, 4);   // wider than any picture is allowed
    ASSERT_EQ(listProfiles(), 4);
    // songs, best combo, steps, perfects, best score; course percent, stage, time, score, combo
    g_profiles[0].stats[0] = ProfileStats{42, 412, 18250, 15012, 87654321, 0, 0, 0, 0, 0, 0};
    g_profiles[1].stats[1] = ProfileStats{0, 0, 5100, 4000, 0, 91.4, 4, 754321, 23456789, 230, 0};
  }
};

TEST_F(ProfileScreens, TwoPlayersCannotTakeOneProfile) {
  for (int p = 0; p < 2; p++) {
    Player_SetStyle(g_players[p], "SINGLE", 4, false);
    g_players[p].active = 1;
  }
  Script s;
  s.tap(200, P1_RIGHT)           // Ann
      .tap(200, P2_RIGHT)        // Ann
      .tap(500, KEY_F11)
      .tap(700, P1_START)        // player 1 takes Ann
      .tap(900, KEY_F11)         // player 2 sees her in use
      .tap(1100, P2_START)       // refused
      .tap(1350, P2_RIGHT)       // Bob
      .tap(1600, P2_RIGHT)       // Cat: her picture is broken
      .tap(1850, KEY_F11)
      .tap(2100, P2_RIGHT)       // Dan: his picture is too wide
      .tap(2350, KEY_F11)
      .tap(2600, P2_LEFT)
      .tap(2850, P2_LEFT)        // Bob
      .tap(3100, P2_START)
      .set();
  EXPECT_EQ(ProfileSelect(0), 1);
  EXPECT_GE(Clock_Ms() - s.start, 3100u + 250u);
  ASSERT_EQ(g_playerRecords[0], &g_profileRecords[0]);
  ASSERT_EQ(g_playerRecords[1], &g_profileRecords[1]);
  EXPECT_EQ(g_profileRecords[0].profile, "Ann");
  EXPECT_EQ(g_profileRecords[1].profile, "Bob");
  EXPECT_EQ(g_profiles[0].inUse + g_profiles[1].inUse + g_profiles[2].inUse + g_profiles[3].inUse, 2);
  EXPECT_EQ(g_settings.profileFlags[0], 1);
  EXPECT_EQ(g_settings.profileFlags[1], 2);
  EXPECT_EQ(shots(), 4);
}

TEST_F(ProfileScreens, DoubleHasBothControllersAndBackingOutGivesTheProfileBack) {
  Player_SetStyle(g_players[0], "DOUBLE", 8, true);
  g_players[0].active = 1;
  g_settings.profileFlags[0] = 1;   // Ann last time
  Script s;
  s.tap(300, P2_RIGHT)           // the second controller moves player 1: Bob
      .tap(600, KEY_F11)
      .tap(800, P2_START)
      .set();
  EXPECT_EQ(ProfileSelect(1), 1);
  EXPECT_EQ(g_profileRecords[0].profile, "Bob");
  Profiles_EndGame();

  Players_Reset();
  g_players[0].active = g_players[1].active = 1;
  Script t;
  t.tap(300, P1_START).tap(500, KEY_ESCAPE).set();   // Bob again, then back out while player 2 chooses
  EXPECT_EQ(ProfileSelect(0), 0);
  EXPECT_EQ(g_profiles[1].inUse, 0);
  EXPECT_EQ(g_playerRecords[0], nullptr);
  EXPECT_EQ(shots(), 1);
}
}  // namespace
