#include "media/skin/skin_config.h"
#include "platform/files.h"
#include "support/test_support.h"
#include <gtest/gtest.h>

namespace {
SkinConfig parse(const std::string& text) {
  SkinConfig c;
  SkinConfig_Defaults(c);
  SkinConfig_Parse(text, c);
  return c;
}
}

TEST(SkinConfig, ValueListsHexAndDecimal) {
  uint32_t v[8];
  ASSERT_EQ(ParseValueList("FF0000,00FF00,0000FF", v, 8), 3);
  EXPECT_EQ(v[0], 0xFF0000u);
  EXPECT_EQ(v[1], 0x00FF00u);
  EXPECT_EQ(v[2], 0x0000FFu);
  ASSERT_EQ(ParseValueList("0x10,20", v, 8), 2);
  EXPECT_EQ(v[0], 0x10u);
  EXPECT_EQ(v[1], 20u);
  ASSERT_EQ(ParseValueList("123456", v, 8), 1);
  EXPECT_EQ(v[0], 123456u);
  ASSERT_EQ(ParseValueList("0xFFFFFFFF", v, 8), 1);
  EXPECT_EQ(v[0], 0xFFFFFFu);  // only the low 24 bits are kept
  ASSERT_EQ(ParseValueList("FFgg00", v, 8), 1);
  EXPECT_EQ(v[0], 0u);
  ASSERT_EQ(ParseValueList("12.9,  7", v, 8), 2);
  EXPECT_EQ(v[0], 12u);
  EXPECT_EQ(v[1], 7u);
  ASSERT_EQ(ParseValueList("1,2\xC3\xA9,3", v, 8), 2);  // a byte of 128 or more ends the list
}

TEST(SkinConfig, SectionsKeysAndLimits) {
  SkinConfig c = parse(
      "Author=Before any section\n[CREDITS]\nAuthor=The Tarvolen team\n[COLOURS]\nSongs=FF0000,00FF00,0000FF\n"
      "RegPerfect=0x112233\nStages=1,2,3,4,5,6,7,8\nComboGreat=\nFreezeMin=0x000010 FreezeMax=0x0000F0\n"
      "[POSITIONS]\nGamePlay_ModLeft=100\nGamePlay_PanelTop=50\nGamePlay_ModRight=900\nGamePlay_ModWidth=10\n");
  EXPECT_EQ(c.author, "The Tarvolen team");
  EXPECT_EQ(c.songs.count, 3);
  EXPECT_EQ(c.songs.values[1], 0x00FF00u);
  EXPECT_EQ(c.regPerfect, 0x112233u);
  EXPECT_EQ(c.stages.count, 6);
  EXPECT_EQ(c.stages.values[5], 6u);
  EXPECT_EQ(c.comboGreat.count, 0);          // an empty list value empties it
  EXPECT_EQ(c.comboPerfect.count, 1);
  EXPECT_EQ(c.freezeMax, 0xF0u);             // several keys may share a line
  EXPECT_EQ(c.modLeft, 242);
  EXPECT_EQ(c.panelTop, 10);
  EXPECT_EQ(c.modRight, 400);
  EXPECT_EQ(c.modWidth, 50);
  SkinConfig keep = parse("[COLORS]\nStages=\nRegGreat=\n");
  EXPECT_EQ(keep.stages.count, 6);           // "Stages=" keeps its colours
  EXPECT_EQ(keep.regGreat, 0x02FB5Fu);       // an empty single value changes nothing
  EXPECT_EQ(parse("Author=x\n").author, "(Unknown)");
}

TEST(SkinConfig, LongListsAndLinesStayInBounds) {
  std::string many = "[COLOURS]\nFolders=";
  for (int i = 0; i < 400; i++) many += "0x" + std::to_string(i % 10) + ",";
  many += std::string(100000, 'A') + "\n";
  SkinConfig c = parse(many);
  EXPECT_EQ(c.folders.count, kMaxColourList);
}

TEST(SkinConfig, FreezeGradient) {
  uint32_t g[16];
  SkinConfig_BuildFreezeGradient(0x000000, 0xFF7000, g);
  EXPECT_EQ(g[0], 0u);
  EXPECT_EQ(g[7], 0xFF7000u);
  EXPECT_EQ(g[8], 0xFF7000u);
  EXPECT_EQ(g[15], 0u);
  EXPECT_EQ(g[1], (uint32_t)(255 / 7) << 16 | (uint32_t)(0x70 / 7) << 8);
}

TEST(SkinConfig, SkinAndSoundSetLists) {
  TempDir dir;
  Dir_Create("Skins/Default");
  Dir_Create("Skins/zeta");
  Dir_Create("Skins/Alpha");
  Dir_Create("Skins/NoConfig");
  Dir_Create("Skins/.hidden");
  WriteFile("Skins/zeta/rkv2-skin.cfg", "");
  WriteFile("Skins/Alpha/rkv2-skin.cfg", "");
  for (int i = 0; i < 70; i++) {
    Dir_Create("Skins/s" + std::to_string(100 + i));
    WriteFile("Skins/s" + std::to_string(100 + i) + "/rkv2-skin.cfg", "");
  }
  char skin[256] = "NoConfig";
  EXPECT_EQ(ListSkins(skin, sizeof skin), 64);
  EXPECT_EQ(g_skinList[0], "Default");
  EXPECT_EQ(g_skinList[1], "Alpha");
  EXPECT_STREQ(skin, "Default");  // not offered, so not kept
  snprintf(skin, sizeof skin, "Alpha");
  ListSkins(skin, sizeof skin);
  EXPECT_STREQ(skin, "Alpha");

  Dir_Create("Sounds/Voices");
  char announcer[256] = "voices", effects[256] = "Gone";
  EXPECT_EQ(ListSoundSets(announcer, sizeof announcer, effects, sizeof effects), 2);
  EXPECT_STREQ(announcer, "voices");
  EXPECT_STREQ(effects, "Default");
}

TEST(SkinConfig, SoundSetCredits) {
  TempDir dir;
  Dir_Create("Sounds/Default");
  Dir_Create("Sounds/Other");
  WriteFile("Sounds/Default/rkv2-sound.cfg", "Announcer=too early\n[CREDITS]\nAnnouncer=Voice Person\nSoundFX=Click Maker\n");
  WriteFile("Sounds/Other/rkv2-sound.cfg", "[CREDITS]\nSoundFX=Other Maker\n");
  ASSERT_TRUE(LoadSoundSetConfig("Default", "Default"));
  EXPECT_EQ(g_announcerCredit, "Voice Person");
  EXPECT_EQ(g_effectCredit, "Click Maker");
  LoadSoundSetConfig("Default", "Other");
  EXPECT_EQ(g_effectCredit, "Other Maker");
}

// The options page draws a credit as C text: what follows a zero byte is no part
// of it, and a credit that starts with one is no credit.
TEST(SkinConfig, CreditsEndAtAZeroByte) {
  TempDir dir;
  Dir_Create("Sounds/Default");
  const char kCfg[] = "[CREDITS]\nAnnouncer=\0hidden\nSoundFX=Click\0 Maker\n";
  WriteFile("Sounds/Default/rkv2-sound.cfg", std::string(kCfg, sizeof kCfg - 1));
  ASSERT_TRUE(LoadSoundSetConfig("Default", "Default"));
  EXPECT_EQ(g_announcerCredit, "(Unknown)");
  EXPECT_EQ(g_effectCredit, "Click");
}
