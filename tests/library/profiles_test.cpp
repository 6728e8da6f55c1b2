#include "library/profiles.h"
#include "platform/files.h"
#include "support/test_support.h"
#include <gtest/gtest.h>
#include <climits>
#include <cmath>
#include <cstring>

TEST(Profiles, ListingRulesAndSort) {
  TempDir dir;
  for (const char* n : {"zed", "Amy", "bob", ".hidden", "exactly15chars_", "sixteen_chars_16"}) Dir_Create(std::string("Profiles/") + n);
  WriteFile("Profiles/notafolder", "x");
  Profile stored{};
  stored.isNew = 0;
  stored.inUse = 1;
  stored.work32 = 77;
  stored.stats[1].steps = 4242;
  stored.modifiers[8] = 2;
  memcpy(stored.name, "garbage", 7);
  WriteFile("Profiles/bob/profile.dat", std::string((const char*)&stored, sizeof stored));
  ASSERT_EQ(listProfiles(), 4);
  EXPECT_STREQ(g_profiles[0].name, "Amy");
  EXPECT_STREQ(g_profiles[1].name, "bob");
  EXPECT_STREQ(g_profiles[2].name, "exactly15chars_");
  EXPECT_STREQ(g_profiles[3].name, "zed");
  EXPECT_EQ(g_profiles[0].isNew, 1);
  EXPECT_EQ(g_profiles[1].isNew, 0);
  EXPECT_EQ(g_profiles[1].inUse, 0);
  EXPECT_EQ(g_profiles[1].work32, 0);
  EXPECT_EQ(g_profiles[1].stats[1].steps, 4242);
  EXPECT_EQ(g_profiles[1].modifiers[8], 2);
}

TEST(Profiles, AtMost64AndSaveWrites288Bytes) {
  TempDir dir;
  for (int i = 0; i < 70; i++) Dir_Create("Profiles/p" + std::to_string(100 + i));
  EXPECT_EQ(listProfiles(), 64);
  g_profiles[0].reserved2[5] = 9;
  ASSERT_TRUE(saveProfile(g_profiles[0].name));
  std::string f = ReadFile(std::string("Profiles/") + g_profiles[0].name + "/profile.dat");
  ASSERT_EQ(f.size(), 288u);
  EXPECT_EQ(f[7], 9);
  EXPECT_FALSE(saveProfile("nobody"));
}

// A damaged "profile.dat" shows no "nan" or negative count, leaves no figure the
// evaluation could never raise, and a profile read from a file is never new.
TEST(Profiles, DamagedFiguresReadAsZeroAndAFileIsNeverNew) {
  TempDir dir;
  Dir_Create("Profiles/dan");
  Profile stored{};
  stored.isNew = 10;
  stored.stats[0].steps = std::nan("");
  stored.stats[0].perfects = 5;
  stored.stats[0].bestScore = -1e300;
  stored.stats[1].steps = 100;
  stored.stats[1].perfects = 250;
  stored.stats[1].courseBestPercent = 1e9;
  stored.stats[1].songs = -3;
  stored.stats[2].courseBestScore = INFINITY;
  stored.stats[2].courseLongestMs = INT32_MIN;
  stored.stats[2].bestCombo = 77;
  WriteFile("Profiles/dan/profile.dat", std::string((const char*)&stored, sizeof stored));
  ASSERT_EQ(listProfiles(), 1);
  const Profile& p = g_profiles[0];
  EXPECT_EQ(p.isNew, 0);
  EXPECT_EQ(p.stats[0].steps, 0);
  EXPECT_EQ(p.stats[0].perfects, 0);   // no more perfects than steps
  EXPECT_EQ(p.stats[0].bestScore, 0);
  EXPECT_EQ(p.stats[1].perfects, 100);
  EXPECT_EQ(p.stats[1].courseBestPercent, 100);
  EXPECT_EQ(p.stats[1].songs, 0);
  EXPECT_EQ(p.stats[2].courseBestScore, 0);
  EXPECT_EQ(p.stats[2].courseLongestMs, 0);
  EXPECT_EQ(p.stats[2].bestCombo, 77);   // sound figures stay
}
