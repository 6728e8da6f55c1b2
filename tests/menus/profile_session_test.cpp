// Taking a profile for a game and giving it back at the end: the records and the
// profile file are written back, and files that cannot be written or read keep
// what they held.
#include "library/profiles.h"
#include "library/records.h"
#include "library/settings.h"
#include "menus/collection.h"
#include "menus/profile_select.h"
#include "platform/files.h"
#include "platform/log.h"
#include "play/player.h"
#include "support/test_support.h"
#include <gtest/gtest.h>
#include <unistd.h>
#include <cstring>
#include <filesystem>
#include <string>

namespace {
Result aResult(uint8_t difficulty, double score) {
  Result r{};
  r.styleKey = 4;
  r.difficultyKey = difficulty;
  r.bestScore = score;
  r.bestGrade = 3;
  return r;
}

// A records file of one song with one result.
std::string recordsFile(const char* key, double score) {
  RecordTable t;
  t.records.push_back(Records_New(key, 1700000000));
  t.results.push_back({aResult(1, score)});
  std::vector<uint8_t> b = Records_Serialize(t);
  return std::string(b.begin(), b.end());
}

// The profile file as written; all zero when it is not 288 bytes.
Profile storedProfile(const char* name) {
  Profile p{};
  std::string f = ReadFile(std::string("Profiles/") + name + "/profile.dat");
  EXPECT_EQ(f.size(), sizeof p) << name;
  if (f.size() == sizeof p) memcpy(&p, f.data(), sizeof p);
  return p;
}

struct ProfileSession : ::testing::Test {
  TempDir dir;
  void SetUp() override {
    Settings_Defaults(g_settings);
    Players_Reset();
    freeRecords(g_records);
    g_songListLoaded = false;
    Dir_Create("Profiles/Ann");
    Dir_Create("Profiles/Bob");
  }
  void TearDown() override {
    Profiles_EndGame();
    LogOff();
  }
};

TEST_F(ProfileSession, TakingLoadsTheRecordsAndTheEndOfTheGameWritesThemBack) {
  WriteFile("Profiles/Ann/rkv2-user.rec", recordsFile("Demo\\one", 5000));
  // the machine's songs, which a profile without records starts from
  g_records.records.push_back(Records_New("Demo\\two", 1600000000));
  g_records.results.emplace_back();
  ASSERT_EQ(listProfiles(), 2);

  ASSERT_TRUE(ProfileSelect_Take(0, 0));
  ASSERT_TRUE(ProfileSelect_Take(1, 1));
  EXPECT_EQ(g_profiles[0].inUse + g_profiles[1].inUse, 2);
  EXPECT_EQ(g_players[1].profileSlot, 2);
  EXPECT_EQ(g_settings.profileFlags[1], 2);
  ASSERT_EQ(g_playerRecords[0], &g_profileRecords[0]);
  ASSERT_EQ(findRecord(g_profileRecords[0], "Demo\\one"), 0);
  ASSERT_EQ(g_profileRecords[1].records.size(), 1u);
  EXPECT_STREQ(g_profileRecords[1].records[0].key, "Demo\\two");

  // the game: a new result for Ann, statistics for both
  storeResult(g_profileRecords[0], 0, 4, 2, false, aResult(2, 7000));
  g_profiles[0].stats[0].songs = 3;
  g_profiles[1].stats[2].steps = 512;
  Profiles_EndGame();

  RecordTable back;
  back.profile = "Ann";
  ASSERT_TRUE(loadRecords(back));
  ASSERT_EQ(back.results.at(0).size(), 2u);
  EXPECT_EQ(findResult(back, 0, 4, 2).bestScore, 7000);
  EXPECT_EQ(findResult(back, 0, 4, 1).bestScore, 5000);
  Profile a = storedProfile("Ann");
  EXPECT_EQ(a.stats[0].songs, 3);
  EXPECT_EQ(a.inUse, 0);   // the file never says "in use"
  EXPECT_EQ(storedProfile("Bob").stats[2].steps, 512);
  EXPECT_TRUE(File_Exists("Profiles/Bob/rkv2-user.rec"));
  for (int p = 0; p < 2; p++) {
    EXPECT_EQ(g_profiles[p].inUse, 0);
    EXPECT_EQ(g_players[p].profileSlot, 0);
    EXPECT_EQ(g_playerRecords[p], nullptr);
    EXPECT_TRUE(g_profileRecords[p].records.empty());
  }
  EXPECT_EQ(g_settings.profileFlags[0], 1);   // the next game starts where this one chose
}

TEST_F(ProfileSession, FilesThatCannotBeWrittenKeepTheirOldContent) {
  ASSERT_TRUE(LogOpen(0));
  std::string oldRecords = recordsFile("Demo\\one", 5000);
  WriteFile("Profiles/Ann/rkv2-user.rec", oldRecords);
  std::string oldProfile(sizeof(Profile), '\1');
  WriteFile("Profiles/Ann/profile.dat", oldProfile);
  // folders where the writer puts its temporary files: neither can be written
  std::string pid = std::to_string((long)getpid());
  Dir_Create("Profiles/Ann/rkv2-user.rec.tmp" + pid);
  Dir_Create("Profiles/Ann/profile.dat.tmp" + pid);
  Dir_Create("Profiles/Bob/rkv2-user.rec");   // and Bob's records file is a folder itself
  ASSERT_EQ(listProfiles(), 2);

  ASSERT_TRUE(ProfileSelect_Take(0, 0));
  ASSERT_TRUE(ProfileSelect_Take(1, 1));
  storeResult(g_profileRecords[0], 0, 4, 2, false, aResult(2, 7000));
  g_profiles[1].stats[0].songs = 7;
  Profiles_EndGame();

  EXPECT_EQ(ReadFile("Profiles/Ann/rkv2-user.rec"), oldRecords);
  EXPECT_EQ(ReadFile("Profiles/Ann/profile.dat"), oldProfile);
  EXPECT_TRUE(std::filesystem::is_directory("Profiles/Bob/rkv2-user.rec"));
  EXPECT_EQ(storedProfile("Bob").stats[0].songs, 7);   // what could be written was
  EXPECT_EQ(g_profiles[0].inUse, 0);
  EXPECT_EQ(g_playerRecords[0], nullptr);
  std::string log = ReadFile("rkv2.log");
  EXPECT_NE(log.find("Unable to write the records of profile 'Ann'"), std::string::npos) << log;
  EXPECT_NE(log.find("Unable to write the records of profile 'Bob'"), std::string::npos) << log;
  EXPECT_NE(log.find("Unable to write profile 'Ann'"), std::string::npos) << log;
}

TEST_F(ProfileSession, AnUnreadableRecordsFileIsSetAsideNotOverwritten) {
  std::string broken = std::string("\xE8\x03\0\0", 4) + "ten bytes!";   // 1000 records promised
  WriteFile("Profiles/Ann/rkv2-user.rec", broken);
  ASSERT_EQ(listProfiles(), 2);
  ASSERT_TRUE(ProfileSelect_Take(0, 0));
  EXPECT_TRUE(g_profileRecords[0].records.empty());
  Profiles_EndGame();
  EXPECT_EQ(ReadFile("Profiles/Ann/rkv2-user.rec"), std::string(4, '\0'));
  EXPECT_EQ(ReadFile("Profiles/Ann/rkv2-user.rec.unreadable"), broken);
}

TEST_F(ProfileSession, BackingOutGivesTheProfileBackUnwritten) {
  ASSERT_EQ(listProfiles(), 2);
  EXPECT_FALSE(ProfileSelect_Take(0, 2));
  ASSERT_TRUE(ProfileSelect_Take(0, 1));
  ASSERT_TRUE(ProfileSelect_Take(0, 0));   // taking another gives the first back
  EXPECT_EQ(g_profiles[1].inUse, 0);
  ProfileSelect_Release(0);
  EXPECT_EQ(g_profiles[0].inUse, 0);
  EXPECT_EQ(g_players[0].profileSlot, 0);
  EXPECT_EQ(g_playerRecords[0], nullptr);
  Profiles_EndGame();
  EXPECT_FALSE(File_Exists("Profiles/Ann/profile.dat"));

  // the table, not the player's slot, says who holds a profile at the end
  ASSERT_TRUE(ProfileSelect_Take(1, 1));
  g_profiles[1].stats[1].songs = 9;
  Players_Reset();
  Profiles_EndGame();
  EXPECT_EQ(g_profiles[1].inUse, 0);
  EXPECT_EQ(storedProfile("Bob").stats[1].songs, 9);

  g_settings.userProfiles = 0;   // "User Profiles" off: no screen, nobody holds a profile
  g_players[0].active = 1;
  EXPECT_EQ(ProfileSelect(0), 1);
  EXPECT_EQ(g_playerRecords[0], nullptr);
}
}  // namespace
