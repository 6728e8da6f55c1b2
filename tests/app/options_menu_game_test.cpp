// The options menu in the real executable, headless: OPTIONS from the title
// menu, one change on every page (a key and a button bound, another skin and
// sound set chosen), "Reset Songlist" and "Reset Player's Best", then the files
// read back byte for byte, and a second start that shows the chosen skin.
#include "library/settings.h"
#include "media/input_binding.h"
#include "support/game_script.h"
#include "support/test_support.h"
#include <FreeImage.h>
#include <gtest/gtest.h>
#include <cstring>
#include <filesystem>
#include <string>

namespace {
constexpr int kDown = 31, kRight = 32, kLeft = 30, kStart = 57, kF11 = 87, kKeyI = 23;
constexpr uint32_t kViolet = 0x7020C0;

uint32_t pixelOf(const std::string& png, int x, int y) {
  FIBITMAP* d = FreeImage_Load(FIF_PNG, png.c_str(), 0);
  if (!d) return 0xFFFFFFFF;
  RGBQUAD q{};
  FreeImage_GetPixelColor(d, (unsigned)x, (unsigned)(FreeImage_GetHeight(d) - 1 - y), &q);
  FreeImage_Unload(d);
  return (uint32_t)q.rgbRed << 16 | (uint32_t)q.rgbGreen << 8 | q.rgbBlue;
}

std::string onlyScreenshot() {
  namespace fs = std::filesystem;
  std::string found;
  std::error_code ec;
  for (const auto& f : fs::directory_iterator("Screenshots", ec)) found = f.path().string();
  return found;
}
}  // namespace

TEST(OptionsMenuGame, EveryPageChangesWhatItShowsAndTheFilesKeepIt) {
  TempDir dir;
  GameSettings settings;
  PrepareGame(settings, 2);
  // a second skin and a second sound set beside the Default ones
  std::filesystem::create_directories("Skins");
  std::filesystem::create_directory_symlink(std::filesystem::path(TV_GAME_EXE).parent_path() / "Skins/Default",
                                            "Skins/Default");
  WritePicture("Skins/Violet/rkv2-title.png", 640, 480, [](int, int) { return kViolet; });
  WriteFile("Skins/Violet/rkv2-skin.cfg", "[Skin]\n");
  std::filesystem::create_directories("Sounds/Default");
  std::filesystem::create_directories("Sounds/Robot");   // no "rkv2-sound.cfg": it still counts
  // a song added since the database was made: only "Reset Songlist" finds it
  std::filesystem::copy("Songs/Group 1/Song 1", "Songs/Group 1/Song 9");
  std::string before = ReadFile("rkv2.cfg");
  ASSERT_EQ(before.size(), sizeof(Settings));

  MenuPresses p;
  p.anchor("Loading 'rkv2-title.png'");
  p.move(kDown, 3);                      // OPTIONS
  p.screen(kStart);
  p.anchor("Starting options menu");
  p.screen(kStart);                      // Game Options: Difficulty one up
  p.move(kRight);
  p.screen(1);
  p.move(kDown);                         // Sound Options: Volume one step down
  p.screen(kStart);
  p.move(kDown, 3);
  p.move(kLeft);
  p.screen(1);
  p.move(kDown);                         // Background Options: Danger Display turned over
  p.screen(kStart);
  p.move(kRight);
  p.screen(1);
  p.move(kDown);                         // Keyboard Configuration: player 1's Up on I
  p.screen(kStart);
  p.screen(kStart);
  p.key(kKeyI);
  p.screen(1);                           // the walk through the controls stops
  p.screen(1);
  p.screen(1);
  p.move(kDown);                         // Gamepad Configuration: player 1's Up on button 5
  p.screen(kStart);
  p.screen(kStart);
  p.joy(5);
  p.screen(1);
  p.screen(1);
  p.screen(1);
  p.move(kDown);                         // System Options: Attract/Demo turned over
  p.screen(kStart);
  p.move(kDown, 4);
  p.move(kRight);
  p.screen(1);
  p.move(kDown);                         // Skin Selection: Violet
  p.screen(kStart);
  p.move(kDown);
  p.key(kStart);
  p.key(kF11);
  p.screen(1);
  p.move(kDown);                         // Announcer/Sound Selection: Robot, effects and announcer
  p.screen(kStart);
  p.move(kDown);
  p.key(kStart);
  p.key(kF11);
  p.screen(1);
  p.move(kDown);                         // Reset Songlist
  p.screen(kStart);
  p.anchor("Generating 'rkv2-songlist.html'", 1200);
  p.move(kDown);                         // Reset Player's Best
  p.screen(kStart);
  p.move(kDown);                         // Return to Main Menu
  p.screen(kStart);
  p.anchor("Leaving options menu", 1000);
  p.key(1);                              // the title menu quits
  GameRun r = RunGame(p.s, 180);
  ASSERT_EQ(r.status, 0) << r.tail();
  EXPECT_TRUE(InOrder(r.log, {"Starting options menu", "CreateSongImages()...", "Checking Courses...",
                              "Finding Available modes...", "Determining Available courses...",
                              "Generating 'rkv2-songlist.html'...", "Leaving options menu"}))
      << r.tail();

  // "rkv2.cfg": what was there, with exactly the changes made
  std::string after = ReadFile("rkv2.cfg");
  ASSERT_EQ(after.size(), sizeof(Settings));
  Settings want, got;
  memcpy(&want, before.data(), sizeof want);
  memcpy(&got, after.data(), sizeof got);
  want.difficulty++;
  want.volume -= 5;
  want.dangerDisplay ^= 1;
  want.attractDemo ^= 1;
  snprintf(want.skin, sizeof want.skin, "Violet");
  snprintf(want.effectSet, sizeof want.effectSet, "Robot");
  snprintf(want.announcerSet, sizeof want.announcerSet, "Robot");
  for (size_t i = 0; i < sizeof(Settings); i++)
    EXPECT_EQ(((const uint8_t*)&got)[i], ((const uint8_t*)&want)[i]) << "byte " << i;

  // "rkv2.inp": the default table with player 1's Up on I and on joystick 0's button 5
  std::string inp = ReadFile("rkv2.inp");
  ASSERT_EQ(inp.size(), sizeof(InputBinding) * kBindingCount);
  InputBinding table[kBindingCount], defaults[kBindingCount];
  memcpy(table, inp.data(), sizeof table);
  Bindings_DefaultTable(defaults);
  defaults[CTL_UP].key1 = kKeyI;
  defaults[CTL_UP].joystick = 0;
  defaults[CTL_UP].button = 5;
  for (int i = 0; i < kBindingCount; i++) {
    EXPECT_EQ(table[i].key1, defaults[i].key1) << "control " << i;
    EXPECT_EQ(table[i].key2, defaults[i].key2) << "control " << i;
    EXPECT_EQ(table[i].joystick, defaults[i].joystick) << "control " << i;
    EXPECT_EQ(table[i].button, defaults[i].button) << "control " << i;
  }

  // the database made anew holds the song added since
  EXPECT_NE(ReadFile("rkv2.sng").find("Song 9"), std::string::npos);
  EXPECT_EQ(CountOf(ReadFile("rkv2-songlist.html"), "Tarvolen tests"), 3);   // its copy is titled "Song 1"

  // the next start is in the chosen skin
  std::filesystem::rename("rkv2.log", "first.log");
  std::filesystem::rename("Screenshots", "first-shots");
  Script again;
  again.at("Loading 'rkv2-title.png'");
  again.tap(1200, kF11);
  again.tap(2000, 1);
  GameRun second = RunGame(again, 60);
  ASSERT_EQ(second.status, 0) << second.tail();
  std::string shot = onlyScreenshot();
  ASSERT_FALSE(shot.empty());
  EXPECT_EQ(pixelOf(shot, 630, 200), kViolet);
}
