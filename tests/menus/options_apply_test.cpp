// Leaving the options menu: the edits made the game's and written (only when
// something changed, never losing the old files), "Sort By" taking hold, and
// "Reset Player's Best"; and what "Unlimited" stages mean for extra stages.
#include "collection_test_util.h"
#include "media/input_binding.h"
#include "menus/evaluation_rules.h"
#include "menus/evaluation_screen.h"
#include "menus/options_apply.h"
#include "menus/options_pages.h"
#include "library/replay_file.h"
#include "library/tarvolen_ini.h"
#include "platform/files.h"
#include "play/hud.h"
#include "support/test_support.h"
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <filesystem>
#include <set>

namespace {
class OptionsApplyTest : public ::testing::Test {
 protected:
  TempDir dir;
  void SetUp() override {
    ResetCollectionWorld();
    Bindings_Defaults();
    g_storedSortBy = 1;
  }
  void TearDown() override {
    LogOff();
    ResetCollectionWorld();
    Bindings_Defaults();
  }
};

std::string bytesOf(const void* p, size_t n) { return std::string((const char*)p, n); }

// Eight songs of two folders, each in both genres' lists once.
void library() {
  std::vector<SongEntry> songs;
  for (int i = 0; i < 8; i++) {
    SongSpec s;
    s.group = i < 4 ? "Pack A" : "Pack B";
    s.title = Numbered("Song ", i);
    s.artist = "Artist";
    s.genres = i % 2 ? "|Rock|" : "|Pop|";
    s.levels = {2, 4, 6};
    songs.push_back(MakeSong(s));
  }
  SetLibrary(songs);
}

std::vector<std::string> bestOrder() {
  g_settings.currentSort = SORT_BEST;
  BuildCollection(1, nullptr, 0, 1, 0);
  return Titles(g_collection, 0);
}
}  // namespace

TEST_F(OptionsApplyTest, NothingChangedWritesNothing) {
  OptionsEdit e;
  Options_Begin(e);
  EXPECT_EQ(memcmp(&e.settings, &g_settings, sizeof e.settings), 0);
  EXPECT_EQ(memcmp(e.bindings, g_bindings, sizeof e.bindings), 0);
  // a held key in play is no change of the bindings
  g_bindings[3].latch = 1;
  g_bindings[3].lastSource = 1;
  EXPECT_TRUE(Options_Apply(e));
  EXPECT_FALSE(File_Exists("rkv2.cfg"));
  EXPECT_FALSE(File_Exists("rkv2.inp"));
  EXPECT_EQ(g_bindings[3].latch, 1);
}

// "Replays Kept" goes to tarvolen.ini, beside the player's own lines, and a
// smaller number clears the oldest replays at once.
TEST_F(OptionsApplyTest, ReplaysKeptIsWrittenToTheIniAndTakesHoldAtOnce) {
  WriteFile("tarvolen.ini", "# mine\noffset.keyboard.input = 12\n");
  ASSERT_TRUE(TarvolenIni_Load());
  for (int i = 0; i < 3; i++) {
    Replay r;
    Replay_InitHeader(r.header);
    r.header.playedAt = 100 + i;
    r.header.players[0].active = 1;
    r.header.players[0].panels = 4;
    r.header.players[0].dancePoints = i;   // the last is the best
    ASSERT_TRUE(Replay_Save("Replays/" + std::to_string(i) + ".tvr", r));
  }
  OptionsEdit e;
  Options_Begin(e);
  EXPECT_EQ(g_optionsReplayKeep, 200);
  EXPECT_TRUE(Options_Apply(e));
  EXPECT_EQ(ReadFile("tarvolen.ini"), "# mine\noffset.keyboard.input = 12\n");   // unchanged: not written
  g_optionsReplayKeep = 0;
  EXPECT_TRUE(Options_Apply(e));
  EXPECT_EQ(ReadFile("tarvolen.ini"), "# mine\noffset.keyboard.input = 12\nreplay.keep = 0\n");
  EXPECT_FALSE(File_Exists("Replays/0.tvr"));
  EXPECT_FALSE(File_Exists("Replays/1.tvr"));
  EXPECT_TRUE(File_Exists("Replays/2.tvr"));
  EXPECT_FALSE(File_Exists("rkv2.cfg"));   // the settings record did not change
  Options_Begin(e);
  EXPECT_EQ(g_optionsReplayKeep, 0);
  TarvolenIni_LoadText("");
  g_optionsReplayKeep = 200;
}

TEST_F(OptionsApplyTest, TheEditsBecomeTheGamesAndAreWritten) {
  OptionsEdit e;
  Options_Begin(e);
  ASSERT_TRUE(OptionsItem_Change(e.settings, OPT_VOLUME, -1, 0, {}));
  ASSERT_TRUE(OptionsItem_Change(e.settings, OPT_AUTO_PLAY, 1, 0, {}));
  e.bindings[7].key1 = 28;   // player 1's Start on Enter
  // meanwhile the run moved on (a song list reset, the wheel)
  g_settings.folderIndex = 3;
  g_settings.currentSort = SORT_ALL_SEPARATED;
  g_bindings[2].latch = 1;
  ASSERT_TRUE(Options_Apply(e));
  EXPECT_EQ(g_settings.volume, 70);
  EXPECT_EQ(g_settings.autoPlay, 0);
  EXPECT_EQ(g_settings.folderIndex, 3);
  EXPECT_EQ(g_settings.currentSort, SORT_ALL_SEPARATED);
  EXPECT_EQ(Binding(0, CTL_START).key1, 28);
  EXPECT_EQ(g_bindings[2].latch, 1);
  EXPECT_EQ(ReadFile("rkv2.cfg"), bytesOf(&g_settings, sizeof g_settings));
  EXPECT_EQ(ReadFile("rkv2.inp"), bytesOf(g_bindings, sizeof g_bindings));
  // and they load back as they are
  Settings kept = g_settings;
  loadSettings(0);
  EXPECT_EQ(memcmp(&kept, &g_settings, sizeof kept), 0);
  EXPECT_EQ(Binding(0, CTL_START).key1, 28);
}

TEST_F(OptionsApplyTest, SortByRebuildsTheCollectionAndIsTheOneKept) {
  library();
  BuildCollection(0, nullptr, 0, 1, 0);
  EXPECT_STREQ(g_collection.caption, "All Music (Folder)");
  EXPECT_EQ(g_collection.groupCount, 2);   // Pack A, Pack B
  OptionsEdit e;
  Options_Begin(e);
  ASSERT_TRUE(OptionsItem_Change(e.settings, OPT_SORT_BY, 1, 0, {}));
  e.sortByChanged = true;
  ASSERT_TRUE(Options_Apply(e));
  EXPECT_STREQ(g_collection.caption, "All Music (Genre)");
  EXPECT_EQ(GroupIndex(g_collection, "Pop"), 0);
  EXPECT_EQ(g_collection.groups[0].count, 4);
  EXPECT_EQ(g_storedSortBy, 0);   // what the shut-down writes back
  EXPECT_EQ(((const Settings*)ReadFile("rkv2.cfg").data())->sortBy, 0);
  EXPECT_FALSE(e.sortByChanged);
}

// A file that cannot be written: false, a log line, the game runs on the new
// settings and the old file stays.
TEST_F(OptionsApplyTest, AnUnwritableFileKeepsTheOldOne) {
  Settings old = g_settings;
  WriteFile("rkv2.inp", bytesOf(g_bindings, sizeof g_bindings));
  bool root = geteuid() == 0;
  if (root)
    Dir_Create("rkv2.cfg");   // root writes anywhere; a folder still cannot be replaced by a file
  else
    WriteFile("rkv2.cfg", bytesOf(&old, sizeof old));
  OptionsEdit e;
  Options_Begin(e);
  ASSERT_TRUE(OptionsItem_Change(e.settings, OPT_MAX_STAGE, 1, 0, {}));
  if (!root) chmod(".", 0555);
  LogOpen(0);
  EXPECT_FALSE(Options_Apply(e));
  LogOff();
  if (!root) chmod(".", 0755);
  EXPECT_EQ(g_settings.maxStage, 4);
  if (root) {
    EXPECT_TRUE(std::filesystem::is_directory("rkv2.cfg"));
    EXPECT_NE(ReadFile("rkv2.log").find("Unable to write settings file (rkv2.cfg)"), std::string::npos);
  } else {
    EXPECT_EQ(ReadFile("rkv2.cfg"), bytesOf(&old, sizeof old));
  }
  EXPECT_EQ(ReadFile("rkv2.inp"), bytesOf(g_bindings, sizeof g_bindings));
}

TEST_F(OptionsApplyTest, ResetPlayersBestClearsThePlayCountsAndShufflesTheList) {
  library();
  for (int i = 0; i < 8; i++) {
    SetPlayCount(Numbered("Song ", i).c_str(), 0, 100 * (i + 1));
    SetPlayCount(Numbered("Song ", i).c_str(), 1, 7);
    SetPlayCount(Numbered("Song ", i).c_str(), 2, 300);
  }
  int gone = TestRecord(g_records, "Old Pack\\Gone");   // a song no longer in the list
  g_records.records[gone].counters[0] = 500;
  std::vector<std::string> most = bestOrder();
  ASSERT_EQ(most.front(), "Song 7");
  EXPECT_EQ(bestOrder(), most);   // by the counts: the same every time

  Options_ResetPlayersBest();
  for (int i = 0; i < 8; i++) {
    const SongRecord& r = g_records.records[g_records.index.at(SongList_RecordKey(g_songs[i]))];
    EXPECT_EQ(r.counters[0] + r.counters[1] + r.counters[2], 0) << g_songs[i].title;
  }
  EXPECT_EQ(g_records.records[gone].counters[0], 500);
  // written at once, as it stands
  RecordTable disk;
  ASSERT_TRUE(loadRecords(disk));
  ASSERT_EQ(disk.records.size(), g_records.records.size());
  for (size_t i = 0; i < disk.records.size(); i++)
    EXPECT_EQ(disk.records[i].counters[0], g_records.records[i].counters[0]);
  // every count now equal: the list comes in random order
  std::set<std::vector<std::string>> orders;
  for (int n = 0; n < 10; n++) orders.insert(bestOrder());
  EXPECT_GT(orders.size(), 5u);
}

// "Unlimited" stages never lead to an extra stage: no Bonus folder on the wheel,
// no award, no FINAL or EXTRA label.
TEST_F(OptionsApplyTest, UnlimitedStagesHaveNoExtraStage) {
  library();
  g_settings.extraStages = 2;
  Settings s = g_settings;
  s.maxStage = 5;
  ASSERT_TRUE(OptionsItem_Change(s, OPT_MAX_STAGE, 1, 0, {}));
  char t[64];
  OptionsItem_Value(s, OPT_MAX_STAGE, {}, t, sizeof t);
  EXPECT_STREQ(t, "Unlimited");
  EXPECT_EQ(s.maxStage, 6);

  // with three stages the fourth is extra: its Bonus folder closes the wheel
  g_settings.maxStage = 3;
  BuildCollection(1, nullptr, 0, 4, 0);
  EXPECT_GE(GroupIndex(g_collection, "Bonus"), 0);
  g_settings.maxStage = s.maxStage;
  for (int stage : {4, 6, 7, 9}) {
    BuildCollection(1, nullptr, 0, stage, 0);
    EXPECT_LT(GroupIndex(g_collection, "Bonus"), 0) << stage;
    EXPECT_NE(Hud_StageLabel(stage, 6), 6);
    EXPECT_NE(Hud_StageLabel(stage, 6), 7);
    EXPECT_NE(Hud_StageLabel(stage, 6), 8);
  }
  EvalOutcome best[2];
  best[0].active = true;
  best[0].grade = 1;
  best[0].percent = 100;
  best[0].difficulty = 2;
  EXPECT_EQ(Evaluation_Award(best, 3, 3, true), AWARD_EXTRA);
  for (int stage = 1; stage <= 8; stage++) EXPECT_EQ(Evaluation_Award(best, stage, 6, true), AWARD_NONE);
}
