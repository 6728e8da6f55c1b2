#include "library/record_notes.h"
// What the evaluation stores: record states, the results in the machine's and
// the profile's tables (read back from the files), holders, the play counter and
// the profile's statistics, and a records file that cannot be written; and the
// same for a whole nonstop course played song by song through the real judgement.
#include "course_test_util.h"
#include "library/profiles.h"
#include "library/records.h"
#include "library/song_list.h"
#include "menus/course_evaluation.h"
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
  static Result stored(const char* file, int styleKey = 4, const char* key = kKey, int difficulty = 2) {
    RecordTable t;
    std::vector<uint8_t> bytes;
    if (!File_ReadAll(file, bytes) || !Records_Parse(t, bytes.data(), bytes.size())) return Result{};
    auto it = t.index.find(key);
    return it == t.index.end() ? Result{} : findResult(t, it->second, styleKey, difficulty);
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
// A nonstop course "Night Run" of three songs, played into the game's player records.
class CourseStore : public EvaluationStore {
 protected:
  static constexpr const char* kCourse = "COURSE|Night Run";
  Play play;
  EvalOutcome o[2];
  void SetUp() override {
    EvaluationStore::SetUp();
    LogOpen(0);
    Players_Reset();
    OneCourse("Night Run", 3);
  }
  void TearDown() override {
    for (Player& p : g_players) Chart_Free(p);
    Players_Reset();
    LogOff();
    g_playerRecords[0] = nullptr;
    g_courses.clear();
    EvaluationStore::TearDown();
  }
  void store() {
    for (int i = 0; i < 2; i++) o[i] = CourseEvaluation_Outcome(g_players[i], play.course, i);
    CourseEvaluation_Store(play, o);
  }
};

TEST_F(CourseStore, ThreeSongsAddUpAndTheCourseIsStoredInBothTablesWithItsNotesAndTheProfileFigures) {
  PlayCourse(play, {CourseSong{40, {MostlyPerfect(40, 2)}}, CourseSong{40, {MostlyPerfect(40, 4)}},
                    CourseSong{40, {MostlyPerfect(40, 0)}}}, CourseRules{});
  RecordTable own;
  ASSERT_TRUE(PlayerOneAsAnn(own));
  g_profiles[Profile_Find("ANN")].stats[0].steps = 1000;   // an arcade game before
  store();
  EXPECT_EQ(g_players[0].dancePoints, 234) << "the dance points run through the course";
  EXPECT_EQ(o[0].maxCombo, 120) << "and so does the combo";
  EXPECT_EQ(o[0].recordState, RECORD_NEW);
  for (const char* file : {"rkv2.rec", "Profiles/ANN/rkv2-user.rec"}) {
    Result r = stored(file, 4, kCourse, 0);
    EXPECT_EQ(r.styleKey * 10 + r.difficultyKey, 40) << file;
    EXPECT_DOUBLE_EQ(r.bestScore, (double)g_players[0].scorePoints) << file;
    EXPECT_GT(r.bestScore, 0);
    EXPECT_EQ(r.bestA, 975) << file;
    EXPECT_EQ(r.bestGrade, 2) << file;
    EXPECT_EQ(r.bestB, 33000u) << file;
    EXPECT_EQ(r.bestC, 3) << file;
  }
  EXPECT_STREQ(stored("rkv2.rec", 4, kCourse, 0).holder, "ANN");
  ASSERT_GE(g_courses[0].recordIndex, 0) << "the course points at the record made for it";
  EXPECT_STREQ(g_records.records[g_courses[0].recordIndex].key, kCourse);
  RecordTable back;
  ASSERT_TRUE(loadRecords(back));
  EXPECT_EQ(findNote(back, kCourse, 4, 0).bestCombo, 120);
  EXPECT_GT(findNote(back, kCourse, 4, 0).bestScoreAt, 1700000000);

  ProfileStats s{};
  std::string file = ReadFile("Profiles/ANN/profile.dat");
  ASSERT_EQ(file.size(), sizeof(Profile));
  memcpy(&s, file.data() + offsetof(Profile, stats), sizeof s);
  EXPECT_DOUBLE_EQ(s.courseBestPercent, 97.5);
  EXPECT_EQ(s.courseBestStage * 100000 + s.courseLongestMs, 333000);
  EXPECT_DOUBLE_EQ(s.courseBestScore, (double)g_players[0].scorePoints);
  EXPECT_EQ(s.courseBestCombo, 120);
  EXPECT_DOUBLE_EQ(s.steps, 1120) << "the course's steps, counted once";
  EXPECT_DOUBLE_EQ(s.perfects, 114);
  EXPECT_EQ(s.songs + s.bestCombo, 0) << "a course is no arcade stage";
}

TEST_F(CourseStore, ABatteryCourseFailedInItsThirdSongStoresStageTwo) {
  // two misses in the third song empty the battery of two
  PlayCourse(play, {CourseSong{40, {MostlyPerfect(40, 0)}}, CourseSong{40, {MostlyPerfect(40, 0)}}, CourseSong{}},
             CourseRules{1, 2, 1, 0});
  EXPECT_TRUE(play.course.livesLost);
  EXPECT_EQ(play.course.maxDancePoints[0], 240) << "the failed song's chart counts";
  store();
  EXPECT_TRUE(o[0].failed);
  EXPECT_EQ(o[0].stage, 2);
  EXPECT_EQ(o[0].grade, 4);
  EXPECT_EQ(stored("rkv2.rec", 4, kCourse, 0).bestC, 2);
  EXPECT_EQ(stored("rkv2.rec", 4, kCourse, 0).bestA, 666) << "160 of 240, cut";
}

TEST_F(CourseStore, AutoPlayOnAnySongOrACourseNotInTheListKeepsItOutOfTheRecords) {
  std::vector<CourseSong> songs(3, CourseSong{40, {MostlyPerfect(40, 0)}});
  songs[0].autoplay = true;   // the last song played by hand
  PlayCourse(play, songs, CourseRules{});
  store();
  play.course.flags = PlayFlags{};
  play.course.index = 7;
  store();
  EXPECT_FALSE(File_Exists("rkv2.rec"));
  std::string log = ReadFile("rkv2.log");
  EXPECT_NE(log.find("Autoplay was used: the results are not stored\n"), std::string::npos);
  EXPECT_NE(log.find("Course 7 is not in the course list: the results are not stored\n"), std::string::npos);
}

TEST_F(CourseStore, FilesThatCannotBeWrittenKeepTheirOldContentsAndSaySo) {
  PlayCourse(play, std::vector<CourseSong>(3, CourseSong{40, {MostlyPerfect(40, 0)}}), CourseRules{});
  RecordTable own;
  ASSERT_TRUE(PlayerOneAsAnn(own));
  ASSERT_TRUE(saveRecords(g_records) && saveProfile("ANN"));
  std::string records = ReadFile("rkv2.rec"), profile = ReadFile("Profiles/ANN/profile.dat");
  // the saves' temporary files cannot be made
  Dir_Create("rkv2.rec.tmp" + std::to_string((long)getpid()));
  Dir_Create("Profiles/ANN/profile.dat.tmp" + std::to_string((long)getpid()));
  store();
  EXPECT_EQ(ReadFile("rkv2.rec"), records);
  EXPECT_EQ(ReadFile("Profiles/ANN/profile.dat"), profile);
  EXPECT_EQ(findResult(g_records, findRecord(g_records, kCourse), 4, 0).bestC, 3) << "the table in memory keeps it";
  std::string log = ReadFile("rkv2.log");
  EXPECT_NE(log.find("Unable to save the records to 'rkv2.rec'; the old file stays\n"), std::string::npos);
  EXPECT_NE(log.find("Unable to write profile 'ANN'\n"), std::string::npos);
}
}  // namespace
