#include "library/record_notes.h"
// What the evaluation stores: record states, the results in the machine's and
// the profile's tables (read back from the files), holders, the play counter and
// the profile's statistics, and a records file that cannot be written.
#include "library/profiles.h"
#include "library/records.h"
#include "library/song_list.h"
#include "menus/evaluation_records.h"
#include "platform/files.h"
#include "platform/log.h"
#include "support/test_support.h"
#include <gtest/gtest.h>
#include <cstring>
#include <string>
#include <unistd.h>

namespace {
const char* const kKey = "Demo\\neon-stride";

EvalOutcome played(double score, double percent, int grade, int styleKey = 4) {
  EvalOutcome o;
  o.active = true;
  o.score = score;
  o.percent = percent;
  o.grade = grade;
  o.difficulty = 2;
  o.styleKey = styleKey;
  o.statsGroup = o.counterGroup = styleKey == 6 ? 2 : 0;
  o.maxCombo = 120;
  o.steps = 300;
  o.perfects = 250;
  return o;
}

TEST(EvaluationRecordValues, TheResultTheRecordStatesAndTheProfileFigures) {
  Result r = Evaluation_Result(played(8765432, 93.49, 2, 8));
  EXPECT_EQ(r.styleKey, 8);
  EXPECT_EQ(r.difficultyKey, 2);
  EXPECT_DOUBLE_EQ(r.bestScore, 8765432);
  EXPECT_EQ(r.bestA, 934) << "tenths, cut";
  EXPECT_EQ(r.bestGrade, 2);
  EXPECT_EQ(r.bestB, 0u);
  EXPECT_EQ(r.bestC, 1);
  EXPECT_EQ(Evaluation_PercentTenths(934 * 100.0 / 1000), 934);
  EXPECT_EQ(Evaluation_PercentTenths(99.96), 999) << "never 100.0 below 100 %";
  EXPECT_EQ(Evaluation_PercentTenths(100), 1000);
  EXPECT_EQ(Evaluation_PercentTenths(-12.5), 0);

  EXPECT_EQ(Evaluation_RecordState(501, 500, true, 900), RECORD_NEW);
  EXPECT_EQ(Evaluation_RecordState(500, 500, true, 400), RECORD_PERSONAL) << "equal is no new record";
  EXPECT_EQ(Evaluation_RecordState(500, 500, true, 500), RECORD_NONE);
  EXPECT_EQ(Evaluation_RecordState(450, 500, false, 0), RECORD_NONE) << "no personal best without a profile";
  EXPECT_EQ(Evaluation_RecordState(0, 0, true, 0), RECORD_NONE) << "nothing scored beats nothing";

  ProfileStats s{};
  s.songs = 4;
  s.bestCombo = 200;
  s.steps = 1000;
  s.perfects = 700;
  s.bestScore = 9000000;
  Evaluation_AddStats(s, played(8000000, 90, 3));
  EXPECT_EQ(s.songs, 5);
  EXPECT_EQ(s.bestCombo, 200);
  EXPECT_DOUBLE_EQ(s.steps, 1300);
  EXPECT_DOUBLE_EQ(s.perfects, 950);
  EXPECT_DOUBLE_EQ(s.bestScore, 9000000);
}

void expectResult(const Result& r, const char* holder, double score, int tenths, int grade) {
  EXPECT_STREQ(r.holder, holder);
  EXPECT_DOUBLE_EQ(r.bestScore, score);
  EXPECT_EQ(r.bestA, tenths);
  EXPECT_EQ(r.bestGrade, grade);
  EXPECT_EQ(r.bestC, 1);
}

class EvaluationStore : public ::testing::Test {
 protected:
  TempDir dir;
  RecordTable ann;
  RecordTable* profileTables[2] = {nullptr, nullptr};
  void SetUp() override {
    LogOff();
    freeRecords(g_records);
    g_songs.clear();
    g_songListLoaded = true;
    Dir_Create("Profiles/ANN");
    Dir_Create("Profiles/BOB");
    ASSERT_EQ(listProfiles(), 2);
    ann.profile = "ANN";
  }
  void TearDown() override {
    freeRecords(g_records);
    g_songListLoaded = false;
    g_profileCount = 0;
    g_songs.clear();
  }
  // The song's record in `t`, with a result of style 4, MANIAC, held by CAT when `score` is above 0.
  static void songIn(RecordTable& t, double score, int grade) {
    t.records.push_back(Records_New(kKey, 1000));
    t.results.emplace_back();
    t.index[kKey] = (int)t.records.size() - 1;
    if (score <= 0) return;
    Result r{};
    r.bestScore = score;
    r.bestGrade = (uint8_t)grade;
    r.bestA = 800;
    storeResult(t, 0, 4, 2, false, r);
    setHolder(t, 0, 4, 2, "CAT");
  }
  static Result stored(const char* file, int styleKey = 4) {
    RecordTable t;
    std::vector<uint8_t> bytes;
    if (!File_ReadAll(file, bytes) || !Records_Parse(t, bytes.data(), bytes.size())) return Result{};
    auto it = t.index.find(kKey);
    return it == t.index.end() ? Result{} : findResult(t, it->second, styleKey, 2);
  }
  void store(EvalOutcome players[2]) {
    Evaluation_StoreRecords("Demo", "neon-stride", players, g_records, profileTables);
  }
};

TEST_F(EvaluationStore, ANewRecordIsHeldByTheProfileAndSavedInBothTables) {
  songIn(g_records, 5000000, 3);
  songIn(ann, 0, 0);
  profileTables[0] = &ann;
  EvalOutcome players[2] = {played(8000000, 95.26, 2), EvalOutcome{}};
  players[0].profileSlot = 1 + Profile_Find("ANN");
  store(players);
  EXPECT_EQ(players[0].recordState, RECORD_NEW);
  expectResult(stored("rkv2.rec"), "ANN", 8000000, 952, 2);
  expectResult(stored("Profiles/ANN/rkv2-user.rec"), "", 8000000, 952, 2);
  // the play counter: 100 for the play, less the 1 every save takes
  EXPECT_EQ(g_records.records[0].counters[0], kPlayCounterStep - 1);
  EXPECT_EQ(g_records.records[0].counters[2], 0);
  std::string file = ReadFile("Profiles/ANN/profile.dat");
  ASSERT_EQ(file.size(), sizeof(Profile));
  Profile onDisk;
  memcpy(&onDisk, file.data(), sizeof onDisk);
  EXPECT_EQ(onDisk.stats[0].songs, 1);
  EXPECT_DOUBLE_EQ(onDisk.stats[0].steps, 300);
  EXPECT_DOUBLE_EQ(onDisk.stats[0].bestScore, 8000000);
  // the combo and the date beside both records files
  RecordTable back;
  ASSERT_TRUE(loadRecords(back));
  ResultNote n = findNote(back, "Demo\\neon-stride", players[0].styleKey, players[0].difficulty);
  EXPECT_EQ(n.bestCombo, 120);
  EXPECT_GT(n.bestScoreAt, 1700000000);
  back.profile = "ANN";
  ASSERT_TRUE(loadRecords(back));
  EXPECT_EQ(findNote(back, "Demo\\neon-stride", players[0].styleKey, players[0].difficulty).bestCombo, 120);
}

TEST_F(EvaluationStore, APersonalBestBelowTheMachinesKeepsItsHolderAndAWorsePlayLowersNothing) {
  songIn(g_records, 9000000, 2);
  songIn(ann, 6000000, 4);
  profileTables[0] = &ann;
  EvalOutcome players[2] = {played(7000000, 85, 3), EvalOutcome{}};
  store(players);
  EXPECT_EQ(players[0].recordState, RECORD_PERSONAL);
  expectResult(stored("rkv2.rec"), "CAT", 9000000, 850, 2);   // each best is kept on its own
  expectResult(stored("Profiles/ANN/rkv2-user.rec"), "CAT", 7000000, 850, 3);

  EvalOutcome again[2] = {played(100, 10, 7), EvalOutcome{}};
  store(again);
  EXPECT_EQ(again[0].recordState, RECORD_NONE);
  EXPECT_DOUBLE_EQ(stored("Profiles/ANN/rkv2-user.rec").bestScore, 7000000);
  EXPECT_EQ(stored("Profiles/ANN/rkv2-user.rec").bestGrade, 3);
  EXPECT_EQ(g_records.records[0].counters[0], 2 * (kPlayCounterStep - 1));
  // the worse play's date is not the best score's
  EXPECT_EQ(findNote(g_records, "Demo\\neon-stride", again[0].styleKey, again[0].difficulty).bestScoreAt, 0);
}

TEST_F(EvaluationStore, OfTwoPlayersOnlyTheBetterSetsTheRecord) {
  songIn(g_records, 5000000, 3);
  EvalOutcome players[2] = {played(6000000, 85, 3), played(7000000, 90, 3)};
  players[0].profileSlot = 1 + Profile_Find("ANN");
  players[1].profileSlot = 1 + Profile_Find("BOB");
  store(players);
  EXPECT_EQ(players[1].recordState, RECORD_NEW);
  EXPECT_EQ(players[0].recordState, RECORD_NONE) << "beaten in the same stage";
  EXPECT_STREQ(stored("rkv2.rec").holder, "BOB");
  EXPECT_EQ(g_records.records[0].counters[0], kPlayCounterStep - 1) << "one play, however many players";
  EXPECT_EQ(g_profiles[Profile_Find("ANN")].stats[0].songs, 1);
  EXPECT_EQ(g_profiles[Profile_Find("BOB")].stats[0].songs, 1);
}

TEST_F(EvaluationStore, ASongWithoutARecordGetsOneAndSoloItsOwnCounter) {
  SongEntry e{};
  snprintf(e.group, sizeof e.group, "Demo");
  snprintf(e.folder, sizeof e.folder, "neon-stride");
  e.record = e.profileRecord[0] = e.profileRecord[1] = -1;
  g_songs.push_back(e);
  g_records.records.push_back(Records_New("Other\\song", 5));
  g_records.results.emplace_back();
  g_records.index["Other\\song"] = 0;
  profileTables[0] = &ann;
  EvalOutcome players[2] = {played(1234, 30, 6, 6), EvalOutcome{}};
  store(players);
  EXPECT_EQ(players[0].recordState, RECORD_NEW);
  ASSERT_EQ(g_records.records.size(), 2u);
  EXPECT_STREQ(g_records.records[1].key, kKey);
  EXPECT_EQ(g_songs[0].record, 1) << "the song points at its new record";
  EXPECT_EQ(g_songs[0].profileRecord[0], 0);
  EXPECT_EQ(g_records.records[1].counters[2], kPlayCounterStep - 1);
  EXPECT_STREQ(stored("rkv2.rec", 6).holder, "") << "no profile, no name";
  EXPECT_DOUBLE_EQ(stored("Profiles/ANN/rkv2-user.rec", 6).bestScore, 1234);
}

TEST_F(EvaluationStore, ARecordsFileThatCannotBeWrittenKeepsTheOldOneAndSaysSo) {
  songIn(g_records, 5000000, 3);
  ASSERT_TRUE(saveRecords(g_records));
  std::string before = ReadFile("rkv2.rec");
  Dir_Create("rkv2.rec.tmp" + std::to_string((long)getpid()));   // the save's temporary file cannot be made
  ASSERT_TRUE(LogOpen(0));
  EvalOutcome players[2] = {played(8000000, 95, 2), EvalOutcome{}};
  store(players);
  LogOff();
  EXPECT_EQ(players[0].recordState, RECORD_NEW) << "the stage is still shown";
  EXPECT_EQ(ReadFile("rkv2.rec"), before);
  EXPECT_DOUBLE_EQ(findResult(g_records, 0, 4, 2).bestScore, 8000000) << "the table in memory keeps the result";
  EXPECT_NE(ReadFile("rkv2.log").find("Unable to save the records to 'rkv2.rec'; the old file stays\n"),
            std::string::npos);
}
}  // namespace
