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
  r.bestC = 1;
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

std::string tempOf(const std::string& path) { return path + ".tmp" + std::to_string((long)getpid()); }

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
  EXPECT_EQ(g_profiles[0].inUse, 1);
  EXPECT_EQ(g_players[0].profileSlot, 1);
  EXPECT_EQ(g_settings.profileFlags[0], 1);
  ASSERT_EQ(g_playerRecords[0], &g_profileRecords[0]);
  EXPECT_EQ(g_profileRecords[0].profile, "Ann");
  ASSERT_EQ(g_profileRecords[0].records.size(), 1u);
  int rec = findRecord(g_profileRecords[0], "Demo\\one");
  ASSERT_EQ(rec, 0);

  ASSERT_TRUE(ProfileSelect_Take(1, 1));
  EXPECT_EQ(g_players[1].profileSlot, 2);
  EXPECT_EQ(g_settings.profileFlags[1], 2);
  ASSERT_EQ(g_profileRecords[1].records.size(), 1u);   // a new profile starts from the machine's songs
  EXPECT_STREQ(g_profileRecords[1].records[0].key, "Demo\\two");
  EXPECT_EQ(g_profileRecords[1].results[0].size(), 0u);

  // the game: a new result for Ann, statistics for both
  storeResult(g_profileRecords[0], rec, 4, 2, false, aResult(2, 7000));
  g_profiles[0].stats[0].songs = 3;
  g_profiles[1].stats[2].steps = 512;
  Profiles_EndGame();

  RecordTable back;
  back.profile = "Ann";
  ASSERT_TRUE(loadRecords(back));
  ASSERT_EQ(back.records.size(), 1u);
  ASSERT_EQ(back.results[0].size(), 2u);
  EXPECT_EQ(findResult(back, 0, 4, 2).bestScore, 7000);
  EXPECT_EQ(findResult(back, 0, 4, 1).bestScore, 5000);
  std::string ann = ReadFile("Profiles/Ann/profile.dat"), bob = ReadFile("Profiles/Bob/profile.dat");
  ASSERT_EQ(ann.size(), sizeof(Profile));
  ASSERT_EQ(bob.size(), sizeof(Profile));
  Profile a, b;
  memcpy(&a, ann.data(), sizeof a);
  memcpy(&b, bob.data(), sizeof b);
  EXPECT_EQ(a.stats[0].songs, 3);
  EXPECT_EQ(b.stats[2].steps, 512);
  EXPECT_EQ(a.inUse, 0);   // the file never says "in use"
  EXPECT_STREQ(a.name, "Ann");
  EXPECT_TRUE(File_Exists("Profiles/Bob/rkv2-user.rec"));

  for (int p = 0; p < 2; p++) {
    EXPECT_EQ(g_profiles[p].inUse, 0);
    EXPECT_EQ(g_players[p].profileSlot, 0);
    EXPECT_EQ(g_playerRecords[p], nullptr);
    EXPECT_TRUE(g_profileRecords[p].profile.empty());
    EXPECT_TRUE(g_profileRecords[p].records.empty());
  }
  EXPECT_EQ(g_settings.profileFlags[0], 1);   // the next game starts where this one chose
}

TEST_F(ProfileSession, TheEndOfTheGameWritesEvenWhenThePlayerRecordsWereResetFirst) {
  ASSERT_EQ(listProfiles(), 2);
  ASSERT_TRUE(ProfileSelect_Take(1, 0));
  g_profiles[0].stats[1].songs = 9;
  Players_Reset();   // the slot is gone; the table still names the profile
  Profiles_EndGame();
  EXPECT_EQ(g_profiles[0].inUse, 0);
  std::string ann = ReadFile("Profiles/Ann/profile.dat");
  ASSERT_EQ(ann.size(), sizeof(Profile));
  EXPECT_EQ(((const Profile*)ann.data())->stats[1].songs, 9);
}

TEST_F(ProfileSession, FilesThatCannotBeWrittenKeepTheirOldContent) {
  ASSERT_TRUE(LogOpen(0));
  std::string oldRecords = recordsFile("Demo\\one", 5000);
  WriteFile("Profiles/Ann/rkv2-user.rec", oldRecords);
  Profile old{};
  old.stats[0].songs = 1;
  std::string oldProfile((const char*)&old, sizeof old);
  WriteFile("Profiles/Ann/profile.dat", oldProfile);
  // folders where the writer puts its temporary files: neither can be written
  Dir_Create(tempOf("Profiles/Ann/rkv2-user.rec"));
  Dir_Create(tempOf("Profiles/Ann/profile.dat"));
  // and Bob's records file is a folder itself
  Dir_Create("Profiles/Bob/rkv2-user.rec");
  ASSERT_EQ(listProfiles(), 2);

  ASSERT_TRUE(ProfileSelect_Take(0, 0));
  ASSERT_TRUE(ProfileSelect_Take(1, 1));
  EXPECT_TRUE(g_profileRecords[1].records.empty());
  storeResult(g_profileRecords[0], 0, 4, 2, false, aResult(2, 7000));
  g_profiles[0].stats[0].songs = 50;
  g_profiles[1].stats[0].songs = 7;
  Profiles_EndGame();

  EXPECT_EQ(ReadFile("Profiles/Ann/rkv2-user.rec"), oldRecords);
  EXPECT_EQ(ReadFile("Profiles/Ann/profile.dat"), oldProfile);
  std::error_code ec;
  EXPECT_TRUE(std::filesystem::is_directory("Profiles/Bob/rkv2-user.rec", ec));
  // what could be written was written, and nobody holds a profile any more
  std::string bob = ReadFile("Profiles/Bob/profile.dat");
  ASSERT_EQ(bob.size(), sizeof(Profile));
  EXPECT_EQ(((const Profile*)bob.data())->stats[0].songs, 7);
  for (int p = 0; p < 2; p++) {
    EXPECT_EQ(g_profiles[p].inUse, 0);
    EXPECT_EQ(g_playerRecords[p], nullptr);
  }
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
  EXPECT_EQ(ReadFile("Profiles/Ann/rkv2-user.rec.unreadable"), broken);
  Profiles_EndGame();
  EXPECT_EQ(ReadFile("Profiles/Ann/rkv2-user.rec"), std::string(4, '\0'));
  EXPECT_EQ(ReadFile("Profiles/Ann/rkv2-user.rec.unreadable"), broken);
}

TEST_F(ProfileSession, BackingOutGivesTheProfileBackUnwritten) {
  ASSERT_EQ(listProfiles(), 2);
  EXPECT_FALSE(ProfileSelect_Take(0, 2));
  EXPECT_FALSE(ProfileSelect_Take(2, 0));
  ASSERT_TRUE(ProfileSelect_Take(0, 1));
  ASSERT_TRUE(ProfileSelect_Take(0, 0));   // taking another gives the first back
  EXPECT_EQ(g_profiles[1].inUse, 0);
  EXPECT_EQ(g_profiles[0].inUse, 1);
  ProfileSelect_Release(0);
  EXPECT_EQ(g_profiles[0].inUse, 0);
  EXPECT_EQ(g_players[0].profileSlot, 0);
  EXPECT_EQ(g_playerRecords[0], nullptr);
  EXPECT_TRUE(g_profileRecords[0].profile.empty());
  Profiles_EndGame();
  EXPECT_FALSE(File_Exists("Profiles/Ann/profile.dat"));
  EXPECT_FALSE(File_Exists("Profiles/Ann/rkv2-user.rec"));

  ProfileSelect_Take(1, 1);
  ProfileSelect_TakeNone(1);
  EXPECT_EQ(g_profiles[1].inUse, 0);
  EXPECT_EQ(g_settings.profileFlags[1], 0);
  EXPECT_EQ(g_playerRecords[1], nullptr);
}

TEST_F(ProfileSession, WithUserProfilesOffTheScreenIsSkipped) {
  ASSERT_EQ(listProfiles(), 2);
  g_settings.userProfiles = 0;
  g_players[0].active = 1;
  EXPECT_EQ(ProfileSelect(0), 1);
  EXPECT_EQ(g_playerRecords[0], nullptr);
  EXPECT_EQ(g_profiles[0].inUse + g_profiles[1].inUse, 0);
}
}  // namespace
