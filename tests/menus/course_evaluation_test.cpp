// The course evaluation's totals and records: a course played song by song
// through the real judgement, the totals the play keeps, each player's outcome
// over the course, and what is stored, read back from the files field by field.
#include "course_test_util.h"
#include "library/courses.h"
#include "library/profiles.h"
#include "library/record_notes.h"
#include "library/records.h"
#include "library/settings.h"
#include "menus/collection.h"
#include "menus/course_evaluation.h"
#include "menus/evaluation_records.h"
#include "platform/files.h"
#include "platform/log.h"
#include "play/player.h"
#include "support/test_support.h"
#include <gtest/gtest.h>
#include <cstring>
#include <string>
#include <unistd.h>

namespace {
const char* const kKey = "COURSE|Night Run";

CourseSong song(int greats, bool withPlayer2 = false, int p2Greats = 0) {
  CourseSong s;
  s.late[0] = MostlyPerfect(40, greats);
  if (withPlayer2) s.late[1] = MostlyPerfect(40, p2Greats);
  return s;
}

class CourseTotals : public ::testing::Test {
 protected:
  TempDir dir;
  Play play;
  RecordTable ann;
  void SetUp() override {
    Settings_Defaults(g_settings);
    LogOpen(0);
    freeRecords(g_records);
    g_songListLoaded = true;
    g_playerRecords[0] = g_playerRecords[1] = nullptr;
    Players_Reset();
    Dir_Create("Profiles/ANN");
    Dir_Create("Profiles/BOB");
    ASSERT_EQ(listProfiles(), 2);
    ann.profile = "ANN";
    OneCourse("Night Run", 3);
  }
  void TearDown() override {
    for (Player& p : g_players) Chart_Free(p);
    Players_Reset();
    LogOff();
    freeRecords(g_records);
    g_playerRecords[0] = g_playerRecords[1] = nullptr;
    g_songListLoaded = false;
    g_profileCount = 0;
    g_courses.clear();
  }
  void outcomes(EvalOutcome o[2]) {
    for (int i = 0; i < 2; i++) o[i] = CourseEvaluation_Outcome(g_players[i], play.course, i);
  }
  // The course's result for `styleKey` in the records file `file`, as it was written.
  static Result stored(const char* file, int styleKey = 4) {
    RecordTable t;
    std::vector<uint8_t> bytes;
    if (!File_ReadAll(file, bytes) || !Records_Parse(t, bytes.data(), bytes.size())) return Result{};
    int r = findRecord(t, kKey);
    return r < 0 ? Result{} : findResult(t, r, styleKey, 0);
  }
  static Profile profileOnDisk(const char* name) {
    Profile p{};
    std::string file = ReadFile(std::string("Profiles/") + name + "/profile.dat");
    if (file.size() == sizeof p) memcpy(&p, file.data(), sizeof p);
    return p;
  }
};

TEST_F(CourseTotals, ThreeSongsAddUpScoreComboPercentageStepsAndTime) {
  PlayCourse(play, {song(2), song(4), song(0)}, CourseRules{});
  const CourseRun& c = play.course;
  EXPECT_EQ(c.songs, 3);
  EXPECT_EQ(c.maxDancePoints[0], 3 * 80);
  EXPECT_EQ(c.maxDancePoints[1], 0) << "player 2 did not play";
  EXPECT_EQ(c.steps[0], 120);
  EXPECT_EQ(c.perfects[0], 114);
  EXPECT_DOUBLE_EQ(c.musicMs, 3 * 11000.0);
  EXPECT_FALSE(c.flags.autoplay);

  EvalOutcome o[2];
  outcomes(o);
  EXPECT_TRUE(o[0].active && o[0].course);
  EXPECT_FALSE(o[1].active);
  EXPECT_EQ(g_players[0].dancePoints, 234) << "the dance points run through the course";
  EXPECT_DOUBLE_EQ(o[0].percent, 97.5);
  EXPECT_EQ(o[0].grade, 2);
  EXPECT_EQ(o[0].maxCombo, 120) << "GREAT keeps the combo from song to song";
  EXPECT_EQ(g_players[0].judgementCounts[0] + g_players[0].judgementCounts[1], 120);
  EXPECT_DOUBLE_EQ(o[0].score, (double)g_players[0].scorePoints);
  EXPECT_GT(o[0].score, 0);
  EXPECT_EQ(o[0].steps, 120);
  EXPECT_EQ(o[0].perfects, 114);
  EXPECT_EQ(o[0].stage, 3);
  EXPECT_EQ(o[0].timeMs, 33000u);
  EXPECT_EQ(o[0].difficulty, 0);
  EXPECT_FALSE(o[0].failed);

  Result r = Evaluation_Result(o[0]);
  EXPECT_EQ(r.styleKey, 4);
  EXPECT_EQ(r.difficultyKey, 0);
  EXPECT_EQ(r.bestA, 975);
  EXPECT_EQ(r.bestB, 33000u);
  EXPECT_EQ(r.bestC, 3);
}

TEST_F(CourseTotals, TheResultIsStoredUnderTheCourseInBothTablesWithItsNotesAndTheProfileFigures) {
  PlayCourse(play, {song(2), song(4), song(0)}, CourseRules{});
  g_players[0].profileSlot = (uint8_t)(1 + Profile_Find("ANN"));
  g_profiles[Profile_Find("ANN")].stats[0].steps = 1000;   // an arcade game before
  g_profiles[Profile_Find("ANN")].stats[0].songs = 3;
  g_playerRecords[0] = &ann;
  EvalOutcome o[2];
  outcomes(o);
  CourseEvaluation_Store(play, o);
  EXPECT_EQ(o[0].recordState, RECORD_NEW);

  for (const char* file : {"rkv2.rec", "Profiles/ANN/rkv2-user.rec"}) {
    SCOPED_TRACE(file);
    Result r = stored(file);
    EXPECT_EQ(r.styleKey, 4);
    EXPECT_EQ(r.difficultyKey, 0);
    EXPECT_DOUBLE_EQ(r.bestScore, (double)g_players[0].scorePoints);
    EXPECT_EQ(r.bestA, 975);
    EXPECT_EQ(r.bestGrade, 2);
    EXPECT_EQ(r.bestB, 33000u);
    EXPECT_EQ(r.bestC, 3);
  }
  EXPECT_STREQ(stored("rkv2.rec").holder, "ANN");
  EXPECT_STREQ(stored("Profiles/ANN/rkv2-user.rec").holder, "");
  ASSERT_GE(g_courses[0].recordIndex, 0) << "the course points at the record made for it";
  EXPECT_STREQ(g_records.records[g_courses[0].recordIndex].key, kKey);

  RecordTable back;
  ASSERT_TRUE(loadRecords(back));
  ResultNote n = findNote(back, kKey, 4, 0);
  EXPECT_EQ(n.bestCombo, 120);
  EXPECT_GT(n.bestScoreAt, 1700000000);

  Profile p = profileOnDisk("ANN");
  const ProfileStats& s = p.stats[0];
  EXPECT_DOUBLE_EQ(s.courseBestPercent, 97.5);
  EXPECT_EQ(s.courseBestStage, 3);
  EXPECT_EQ(s.courseLongestMs, 33000);
  EXPECT_DOUBLE_EQ(s.courseBestScore, (double)g_players[0].scorePoints);
  EXPECT_EQ(s.courseBestCombo, 120);
  EXPECT_DOUBLE_EQ(s.steps, 1120) << "the course's steps, counted once";
  EXPECT_DOUBLE_EQ(s.perfects, 114);
  EXPECT_EQ(s.songs, 3) << "a course is no arcade stage";
  EXPECT_EQ(s.bestCombo, 0);
}

TEST_F(CourseTotals, ABatteryCourseFailedInItsThirdSongStoresStageTwoAndKeepsABetterStage) {
  CourseRules battery{1, 2, 1, 0};
  CourseSong missed;   // player 1 steps on nothing: two misses empty the battery
  PlayCourse(play, {song(0), song(0), missed}, battery);
  EXPECT_EQ(play.course.songs, 2);
  EXPECT_TRUE(play.course.livesLost);
  EXPECT_EQ(play.course.maxDancePoints[0], 240) << "the failed song's chart counts";
  EXPECT_EQ(g_players[0].batteryLives, 0);
  EvalOutcome o[2];
  outcomes(o);
  EXPECT_TRUE(o[0].failed);
  EXPECT_EQ(o[0].stage, 2);
  EXPECT_DOUBLE_EQ(o[0].percent, 160 * 100.0 / 240);
  EXPECT_EQ(o[0].grade, 4);
  CourseEvaluation_Store(play, o);
  Result r = stored("rkv2.rec");
  EXPECT_EQ(r.bestC, 2);
  EXPECT_EQ(r.bestA, 666) << "cut, not rounded";
  EXPECT_EQ(r.bestB, 22000u + (uint32_t)play.song.clock.ms) << "the failed song's music counts to where it ended";

  // a later course that goes further raises the stage and keeps the better percentage
  for (Player& p : g_players) Chart_Free(p);
  Players_Reset();
  PlayCourse(play, {song(20), song(20), song(20)}, battery);
  outcomes(o);
  EXPECT_EQ(o[0].stage, 3);
  CourseEvaluation_Store(play, o);
  EXPECT_EQ(o[0].recordState, RECORD_NEW);
  r = stored("rkv2.rec");
  EXPECT_EQ(r.bestC, 3);
  EXPECT_EQ(r.bestA, 750);
  EXPECT_EQ(r.bestGrade, 4);
}

TEST_F(CourseTotals, OfTwoPlayersEachHasOwnPercentageAndTheBetterHoldsTheRecord) {
  PlayCourse(play, {song(10, true, 0), song(10, true, 2), song(10, true, 0)}, CourseRules{});
  g_players[0].profileSlot = (uint8_t)(1 + Profile_Find("ANN"));
  g_players[1].profileSlot = (uint8_t)(1 + Profile_Find("BOB"));
  EvalOutcome o[2];
  outcomes(o);
  EXPECT_DOUBLE_EQ(o[0].percent, 210 * 100.0 / 240);
  EXPECT_DOUBLE_EQ(o[1].percent, 238 * 100.0 / 240);
  CourseEvaluation_Store(play, o);
  EXPECT_EQ(o[1].recordState, RECORD_NEW);
  EXPECT_EQ(o[0].recordState, RECORD_NONE) << "beaten in the same course";
  EXPECT_STREQ(stored("rkv2.rec").holder, "BOB");
  EXPECT_EQ(stored("rkv2.rec").bestA, 991);
  EXPECT_EQ(profileOnDisk("ANN").stats[0].courseBestStage, 3);
  EXPECT_EQ(profileOnDisk("BOB").stats[0].courseBestCombo, 120);
}

TEST_F(CourseTotals, AutoPlayOnAnySongOrAnotherSpeedKeepsTheCourseOutOfTheRecords) {
  std::vector<CourseSong> songs = {song(0), song(0), song(0)};
  songs[0].autoplay = true;   // the last song played by hand
  PlayCourse(play, songs, CourseRules{});
  EXPECT_TRUE(play.course.flags.autoplay);
  EXPECT_FALSE(play.flags.autoplay);
  EvalOutcome o[2];
  outcomes(o);
  CourseEvaluation_Store(play, o);
  EXPECT_FALSE(File_Exists("rkv2.rec"));
  EXPECT_NE(ReadFile("rkv2.log").find("Autoplay was used: the results are not stored\n"), std::string::npos);

  play.course.flags = PlayFlags{};
  play.flags.speedAltered = true;
  CourseEvaluation_Store(play, o);
  EXPECT_FALSE(File_Exists("rkv2.rec"));

  play.flags = PlayFlags{};
  play.course.index = 7;   // not in the course table
  CourseEvaluation_Store(play, o);
  EXPECT_FALSE(File_Exists("rkv2.rec"));
  EXPECT_NE(ReadFile("rkv2.log").find("Course 7 is not in the course list: the results are not stored\n"),
            std::string::npos);
}

TEST_F(CourseTotals, FilesThatCannotBeWrittenKeepTheirOldContentsAndSaySo) {
  PlayCourse(play, {song(0), song(0), song(0)}, CourseRules{});
  g_players[0].profileSlot = (uint8_t)(1 + Profile_Find("ANN"));
  g_records.records.push_back(Records_New(kKey, 1000));
  g_records.results.emplace_back();
  g_records.index[kKey] = 0;
  ASSERT_TRUE(saveRecords(g_records));
  ASSERT_TRUE(saveProfile("ANN"));
  std::string records = ReadFile("rkv2.rec"), profile = ReadFile("Profiles/ANN/profile.dat");
  // the saves' temporary files cannot be made
  Dir_Create("rkv2.rec.tmp" + std::to_string((long)getpid()));
  Dir_Create("Profiles/ANN/profile.dat.tmp" + std::to_string((long)getpid()));
  EvalOutcome o[2];
  outcomes(o);
  CourseEvaluation_Store(play, o);
  EXPECT_EQ(o[0].recordState, RECORD_NEW) << "the course is still shown";
  EXPECT_EQ(ReadFile("rkv2.rec"), records);
  EXPECT_EQ(ReadFile("Profiles/ANN/profile.dat"), profile);
  EXPECT_EQ(findResult(g_records, 0, 4, 0).bestC, 3) << "the table in memory keeps the result";
  std::string log = ReadFile("rkv2.log");
  EXPECT_NE(log.find("Unable to save the records to 'rkv2.rec'; the old file stays\n"), std::string::npos);
  EXPECT_NE(log.find("Unable to write profile 'ANN'\n"), std::string::npos);
}
}  // namespace
