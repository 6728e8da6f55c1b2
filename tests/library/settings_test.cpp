#include "library/settings.h"
#include "media/input_binding.h"
#include "platform/files.h"
#include "support/test_support.h"
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <cstring>
#include <unistd.h>

namespace {
std::string bytesOf(const Settings& s) { return std::string((const char*)&s, sizeof s); }

Settings defaults() {
  Settings s;
  Settings_Defaults(s);
  return s;
}

// Writes a record to "rkv2.cfg", loads it and returns what was loaded.
Settings roundTrip(const Settings& stored) {
  WriteFile("rkv2.cfg", bytesOf(stored));
  loadSettings(0);
  return g_settings;
}
}

TEST(Settings, DefaultsMatchTheDocumentedValues) {
  Settings s = defaults();
  EXPECT_EQ(s.version, 28);
  EXPECT_EQ(s.difficulty, 4);
  EXPECT_EQ(s.bgBrightness, 80);
  EXPECT_EQ(s.maxStage, 3);
  EXPECT_EQ(s.volume, 75);
  EXPECT_EQ(s.frequency, 2);
  EXPECT_EQ(s.sortBy, 1);
  EXPECT_EQ(s.randomAnimations, 3);
  EXPECT_STREQ(s.skin, "Default");
  EXPECT_STREQ(s.announcerSet, "Default");
  EXPECT_STREQ(s.effectSet, "Default");
  EXPECT_EQ(s.windows[0], 50);
  EXPECT_EQ(s.windows[3], 140);
  EXPECT_EQ(s.unused17[0], 0);
}

TEST(Settings, MissingFilesGiveDefaults) {
  TempDir dir;
  EXPECT_TRUE(loadSettings(0));
  EXPECT_EQ(bytesOf(g_settings), bytesOf(defaults()));
  EXPECT_EQ(g_bindings[0].key1, 17);
  EXPECT_EQ(g_bindings[7].key1, 57);
  EXPECT_EQ(g_bindings[8].key1, 200);
  EXPECT_EQ(g_bindings[15].key1, 28);
  EXPECT_EQ(g_bindings[3].joystick, -1);
  EXPECT_EQ(g_bindings[3].button, -1);
  EXPECT_EQ(g_functionKeys[0].key1, 59);
  EXPECT_EQ(g_functionKeys[10].key1, 87);
  EXPECT_EQ(g_functionKeys[12].key1, 197);
}

TEST(Settings, OtherVersionOrShortFileIsIgnoredWhole) {
  TempDir dir;
  Settings s = defaults();
  s.version = 27;
  s.volume = 20;
  EXPECT_EQ(bytesOf(roundTrip(s)), bytesOf(defaults()));
  s.version = 28;
  WriteFile("rkv2.cfg", bytesOf(s).substr(0, 500));
  loadSettings(0);
  EXPECT_EQ(g_settings.volume, 75);
  WriteFile("rkv2.cfg", "");
  loadSettings(0);
  EXPECT_EQ(bytesOf(g_settings), bytesOf(defaults()));
}

TEST(Settings, LongerFileReadsItsFirstRecord) {
  TempDir dir;
  Settings s = defaults();
  s.volume = 40;
  WriteFile("rkv2.cfg", bytesOf(s) + std::string(100, '\xff'));
  loadSettings(0);
  EXPECT_EQ(g_settings.volume, 40);
}

TEST(Settings, LoadRulesBringValuesIntoRange) {
  TempDir dir;
  Settings s = defaults();
  s.volume = 99;
  s.bgBrightness = 30;
  s.maxStage = 0;
  s.difficulty = 200;
  s.aviQuality = 23;
  s.frequency = 7;
  s.extraStages = 5;
  s.randomAnimations = 0xFE;
  s.globalGap = -5000;
  s.announcer = 7;
  Settings l = roundTrip(s);
  EXPECT_EQ(l.volume, 95);
  EXPECT_EQ(l.bgBrightness, 50);
  EXPECT_EQ(l.maxStage, 1);
  EXPECT_EQ(l.difficulty, 9);
  EXPECT_EQ(l.aviQuality, 1);
  EXPECT_EQ(l.frequency, 2);
  EXPECT_EQ(l.extraStages, 2);
  EXPECT_EQ(l.randomAnimations, 2);
  EXPECT_EQ(l.globalGap, -1000);
  EXPECT_EQ(l.announcer, 1);

  s = defaults();
  s.maxStage = 9;
  s.bgBrightness = 250;
  s.volume = 255;  // 255 % 101 = 53, down to 50
  s.globalGap = 123456;
  l = roundTrip(s);
  EXPECT_EQ(l.maxStage, 6);
  EXPECT_EQ(l.bgBrightness, 100);
  EXPECT_EQ(l.volume, 50);
  EXPECT_EQ(l.globalGap, 1000);
}

TEST(Settings, DefaultSortDependsOnSortBy) {
  TempDir dir;
  Settings s = defaults();
  s.defaultSort = 0;
  s.sortBy = 0;
  EXPECT_EQ(roundTrip(s).defaultSort, 1);
  s.sortBy = 1;
  EXPECT_EQ(roundTrip(s).defaultSort, 0);
  EXPECT_EQ(g_storedSortBy, 1);
  s.defaultSort = 14;  // 14 % 7 = 0, then the sortBy rule
  s.sortBy = 0;
  EXPECT_EQ(roundTrip(s).defaultSort, 1);
  EXPECT_EQ(g_storedSortBy, 0);   // the "Sort By" the shut-down writes back
}

TEST(Settings, TimingWindows) {
  TempDir dir;
  Settings s = defaults();
  const uint16_t w[4] = {60, 40, 115, 140};
  memcpy(s.windows, w, sizeof w);
  Settings l = roundTrip(s);
  EXPECT_EQ(l.windows[0], 50);
  EXPECT_EQ(l.windows[1], 41);
  EXPECT_EQ(l.windows[2], 115);
  EXPECT_EQ(l.windows[3], 140);
  const uint16_t big[4] = {65535, 65535, 65535, 65535};
  memcpy(s.windows, big, sizeof big);
  l = roundTrip(s);
  EXPECT_EQ(l.windows[0], 50);
  EXPECT_EQ(l.windows[3], 140);
}

TEST(Settings, VisPluginReducedByPluginCountEvenWhenNegative) {
  TempDir dir;
  Settings s = defaults();
  s.visPlugin = 7;
  WriteFile("rkv2.cfg", bytesOf(s));
  loadSettings(3);
  EXPECT_EQ(g_settings.visPlugin, 3);
  s.visPlugin = -1;
  WriteFile("rkv2.cfg", bytesOf(s));
  loadSettings(3);
  EXPECT_GE(g_settings.visPlugin, 0);
  EXPECT_LE(g_settings.visPlugin, 3);
}

TEST(Settings, UnterminatedNamesAreCut) {
  TempDir dir;
  Settings s = defaults();
  memset(s.skin, 'x', sizeof s.skin);
  Settings l = roundTrip(s);
  EXPECT_EQ(strlen(l.skin), 255u);
}

TEST(Settings, UnlistedBytesSurviveARoundTrip) {
  TempDir dir;
  Settings s = defaults();
  s.unused17[1] = 0xAB;
  s.profileFlags[0] = 3;
  s.unused829[2] = 0x5A;
  s.folderIndex = 12345;
  roundTrip(s);
  ASSERT_TRUE(saveSettings());
  EXPECT_EQ(ReadFile("rkv2.cfg"), bytesOf(s));
}

TEST(Settings, SaveWritesBothFilesByteForByte) {
  TempDir dir;
  loadSettings(0);
  g_settings.volume = 55;
  g_bindings[2].key1 = 77;
  g_bindings[2].joystick = 1;
  g_bindings[2].button = 4;
  ASSERT_TRUE(saveSettings());
  std::string cfg = ReadFile("rkv2.cfg");
  std::string inp = ReadFile("rkv2.inp");
  ASSERT_EQ(cfg.size(), 832u);
  ASSERT_EQ(inp.size(), 320u);
  EXPECT_EQ((uint8_t)cfg[38], 55);
  EXPECT_EQ((uint8_t)inp[2 * 20 + 4], 77);
  EXPECT_EQ((uint8_t)inp[2 * 20 + 12], 1);
  EXPECT_EQ((int8_t)inp[2 * 20 + 16], 4);
  loadSettings(0);
  EXPECT_EQ(g_settings.volume, 55);
  EXPECT_EQ(g_bindings[2].key1, 77);
}

TEST(Settings, BindingsFileSizeRule) {
  TempDir dir;
  InputBinding t[16] = {};
  for (int i = 0; i < 16; i++) t[i].key1 = 100 + i;
  std::string table((const char*)t, sizeof t);
  WriteFile("rkv2.inp", table + "x");  // 321 bytes: accepted
  loadSettings(0);
  EXPECT_EQ(g_bindings[5].key1, 105);
  WriteFile("rkv2.inp", table + std::string(19, 'z'));  // 339 bytes: accepted
  loadSettings(0);
  EXPECT_EQ(g_bindings[5].key1, 105);
  WriteFile("rkv2.inp", table.substr(0, 300));  // ignored
  loadSettings(0);
  EXPECT_EQ(g_bindings[5].key1, 18);
  WriteFile("rkv2.inp", table + std::string(20, 'z'));  // 340 bytes: ignored
  loadSettings(0);
  EXPECT_EQ(g_bindings[5].key1, 18);
}

TEST(Settings, UnwritableFolderKeepsTheOldFile) {
  if (geteuid() == 0) {
    // root writes anywhere; a folder in place of the file still cannot be replaced
    TempDir dir;
    Dir_Create("rkv2.cfg");
    loadSettings(0);
    EXPECT_FALSE(saveSettings());
    EXPECT_TRUE(File_Exists("rkv2.inp"));
    return;
  }
  TempDir dir;
  Settings s = defaults();
  s.volume = 10;
  WriteFile("rkv2.cfg", bytesOf(s));
  chmod(".", 0555);
  loadSettings(0);
  g_settings.volume = 90;
  EXPECT_FALSE(saveSettings());
  chmod(".", 0755);
  EXPECT_EQ(ReadFile("rkv2.cfg"), bytesOf(s));
}
