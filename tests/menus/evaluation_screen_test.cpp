// The evaluation screen, and the course evaluation, as a whole, on the dummy
// window with the generated Default skin: a prepared play (or course) goes in,
// and what comes out is the award, the records file, the log and the last frame. With TV_EVAL_SHOTS set to a folder,
// the F11 screenshots of the runs are copied there to be looked at.
#include "menus/test_screen.h"
#include "course_test_util.h"
#include "menus/course_evaluation.h"
#include "library/profiles.h"
#include "library/records.h"
#include "library/settings.h"
#include "media/font/font.h"
#include "media/input/input.h"
#include "media/input_script.h"
#include "media/render/screen.h"
#include "media/skin/skin_images.h"
#include "media/window.h"
#include "menus/collection.h"
#include "menus/evaluation_screen.h"
#include "menus/style_select.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/log.h"
#include "library/device_offsets.h"
#include "library/tarvolen_ini.h"
#include "play/play_record.h"
#include "support/test_support.h"
#include <gtest/gtest.h>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {
constexpr uint8_t kEscape = 1, kSpace = 57, kF11 = 87;

class EvaluationRun : public ::testing::Test {
 protected:
  TempDir dir;
  Play play;
  bool course = false;   // the course evaluation instead
  void SetUp() override {
    Settings_Defaults(g_settings);
    ASSERT_TRUE(TestScreen_Open());
    ASSERT_TRUE(TestScreen_UseGameSkin());
    LogOpen(0);
    freeRecords(g_records);
    g_playerRecords[0] = g_playerRecords[1] = nullptr;
    g_profileCount = 0;
    g_styleBanner = 0;
    Players_Reset();
    play.source.group = "Demo";
    play.source.folder = "neon-stride";
    play.source.title = "Neon Stride";
    play.source.artist = "Tarvolen Sound Team";
    play.song.startMusicMs = -1500;
    play.song.clock.ms = 93623;   // 01:35:123 of music
  }
  void TearDown() override {
    for (Player& p : g_players) Chart_Free(p);
    Players_Reset();
    LogOff();
    TestScreen_Close();
    freeRecords(g_records);
    g_courses.clear();
  }

  // Runs the screen with key presses at these times after it opens (a screenshot
  // at `shotMs` when above 0); returns the award and the time the screen took.
  int run(int stage, std::vector<std::pair<uint32_t, uint8_t>> keys, uint32_t shotMs, const char* shotName,
          uint32_t* tookMs = nullptr) {
    uint32_t now = Clock_Ms();
    if (shotMs) keys.push_back({shotMs, kF11});
    TestScreen_Keys(now, keys);
    int award = AWARD_NONE;
    if (course) CourseEvaluationScreen(play);
    else award = EvaluationScreen(play, stage);
    if (tookMs) *tookMs = Clock_Ms() - now;
    const char* out = getenv("TV_EVAL_SHOTS");
    std::error_code ec;
    if (out && shotMs)
      for (auto& e : std::filesystem::directory_iterator("Screenshots", ec))
        std::filesystem::copy_file(e.path(), std::string(out) + "/" + shotName + ".png",
                                   std::filesystem::copy_options::overwrite_existing, ec);
    return award;
  }

  // The result in the saved "rkv2.rec" for SINGLE at `difficulty`.
  static Result savedResult(int difficulty = 2) {
    RecordTable saved;
    if (!loadRecords(saved)) return Result{};
    return findResult(saved, findRecord(saved, "Demo\\neon-stride"), 4, difficulty);
  }

  // Whether something was drawn over the area brighter than the backdrop there
  // (text and pictures; the darkening of a frame does not count).
  bool drawnOver(int x0, int y0, int x1, int y1) {
    auto light = [](uint32_t c) { return (int)((c >> 16) & 0xFF) + (int)((c >> 8) & 0xFF) + (int)(c & 0xFF); };
    Image backdrop;
    LoadPNG("rkv2-results.png", backdrop, 0, 0);
    for (int y = y0; y < y1; y++)
      for (int x = x0; x < x1; x++)
        if (light(Screen_Pixel(x, y)) > light(backdrop.PixelAt(x, y)) + 150) return true;
    return false;
  }
  static bool lit(int x0, int y0, int x1, int y1, const Pixel& test) {
    for (int y = y0; y < y1; y++)
      for (int x = x0; x < x1; x++)
        if (uint32_t c = Screen_Pixel(x, y); test((int)(c >> 16), (int)(c >> 8) & 0xFF, (int)c & 0xFF)) return true;
    return false;
  }
};

TEST_F(EvaluationRun, OnePlayerNewRecordIsStoredAndSavedAndStartLeavesAfterTheCount) {
  const std::vector<int> late[2] = {MostlyPerfect(40, 3), {}};
  PlayInto(40, 2, late);
  ASSERT_EQ(g_players[0].arrowCount, 40);
  play.song.lifeTrace[0] = LifeTrace(120, 400);
  RecordTable own;
  ASSERT_TRUE(PlayerOneAsAnn(own));
  uint32_t took = 0;
  int award = run(1, {{300, kSpace}, {2500, kSpace}}, 2300, "one-player-new-record", &took);
  EXPECT_EQ(award, AWARD_NONE);
  EXPECT_GE(took, 2500u) << "Start during the count only completed it";
  EXPECT_LT(took, 5000u);

  g_playerRecords[0] = nullptr;
  Result best = savedResult();
  EXPECT_EQ(best.bestGrade, 2);
  EXPECT_EQ(best.bestA, 962);   // 77 of 80 dance points
  EXPECT_DOUBLE_EQ(best.bestScore, (double)g_players[0].scorePoints);
  EXPECT_STREQ(best.holder, "ANN");
  EXPECT_TRUE(File_Exists("Profiles/ANN/rkv2-user.rec"));
  EXPECT_NE(ReadFile("rkv2.log").find("Determining announcer comment for evaluation screen...\n"), std::string::npos);
  EXPECT_FALSE(drawnOver(386, 42, 634, 62)) << "no award line";
  EXPECT_FALSE(drawnOver(340, 64 + 338, 612, 64 + 380)) << "no award line";
  EXPECT_TRUE(drawnOver(340, 64 + 10, 612, 64 + 140)) << "the record card";
  EXPECT_TRUE(drawnOver(14 + 124, 64 + 128, 14 + 290, 64 + 146)) << "the record line";
}

TEST_F(EvaluationRun, TheLastStageAwardsTheExtraStageAndShowsIt) {
  g_settings.maxStage = 3;
  g_settings.extraStages = 2;
  const std::vector<int> late[2] = {MostlyPerfect(40, 2), {}};
  PlayInto(40, 2, late, 3);
  play.song.lifeTrace[0] = LifeTrace(120, 900);
  int award = run(3, {{2600, kSpace}}, 2400, "extra-stage");
  EXPECT_EQ(award, AWARD_EXTRA);
  EXPECT_TRUE(drawnOver(340, 64 + 338, 612, 64 + 380)) << "\"Try Extra Stage!!!\" on the record card";
  EXPECT_FALSE(drawnOver(386, 42, 634, 62)) << "and not twice";
}

TEST_F(EvaluationRun, TwoPlayersInTheirFramesWithTheBonusStageInTheHeaderAndEscapeLeaves) {
  g_settings.maxStage = 3;
  g_settings.extraStages = 1;
  const std::vector<int> late[2] = {MostlyPerfect(40, 2), MostlyPerfect(40, 20)};
  PlayInto(40, 0, late, 4);
  play.song.lifeTrace[0] = LifeTrace(120, 900);
  play.song.lifeTrace[1] = LifeTrace(120, 200);
  play.flags.paused = play.flags.speedAltered = true;
  play.source.title = "A Song With A Rather Long Title That Does Not Fit The Header";
  g_styleBanner = 2;
  int award = run(4, {{2600, kEscape}}, 2400, "bonus-two-players");
  EXPECT_EQ(award, AWARD_BONUS);
  EXPECT_TRUE(drawnOver(386, 42, 634, 62)) << "\"Try Bonus Stage!!!\"";
  EXPECT_TRUE(drawnOver(326 + 124, 64 + 68, 326 + 290, 64 + 120)) << "player 2's percentage and score";
  EXPECT_EQ(savedResult(0).bestGrade, 0) << "a play at another speed is shown, not recorded";
}

TEST_F(EvaluationRun, AutoplayedPlaysStoreNothing) {
  const std::vector<int> late[2] = {MostlyPerfect(20, 0), {}};
  PlayInto(20, 2, late);
  play.flags.autoplay = true;
  run(1, {{1700, kEscape}}, 0, "");
  EXPECT_FALSE(File_Exists("rkv2.rec"));
}

TEST_F(EvaluationRun, ACourseShowsItsTotalsTheBatteryAndTheStageReachedAndIsRecorded) {
  course = true;
  OneCourse("Night Run", 3, true, 4);
  std::vector<CourseSong> songs(3, CourseSong{40, {MostlyPerfect(40, 10), MostlyPerfect(40, 2)}});
  songs[1].late[0].resize(38);   // two misses: two lives lost
  PlayCourse(play, songs, CourseRules{1, 4, 1, 0});
  uint32_t took = 0;
  run(0, {{300, kSpace}, {2600, kEscape}}, 2400, "course-two-players", &took);
  EXPECT_GE(took, 2600u) << "Start during the count only completed it";
  EXPECT_EQ(findResult(g_records, findRecord(g_records, "COURSE|Night Run"), 4, 0).bestA, 975) << "player 2's";
  EXPECT_TRUE(drawnOver(326 + 124, 64 + 68, 326 + 290, 64 + 120)) << "player 2's percentage and score";
  EXPECT_TRUE(drawnOver(14 + 10, 64 + 310, 14 + 150, 64 + 340)) << "the stage reached";
  auto blue = [](int r, int, int b) { return b > 200 && r < 150; };
  EXPECT_TRUE(lit(14 + 60, 64 + 370, 14 + 160, 64 + 384, blue)) << "two of player 1's four lives lit";
  EXPECT_FALSE(lit(14 + 172, 64 + 370, 14 + 280, 64 + 384, blue));

  for (Player& p : g_players) Chart_Free(p);
  Players_Reset();
  OneCourse("Night Run", 3, true, 3);
  PlayCourse(play, {CourseSong{40, {MostlyPerfect(40, 0)}}, CourseSong{40, {MostlyPerfect(40, 3)}}, CourseSong{}},
             CourseRules{1, 3, 1, 0});
  run(0, {{2600, kEscape}}, 2400, "course-out-of-lives");
  auto red = [](int r, int g, int b) { return r > 200 && g < 140 && b < 140; };
  EXPECT_TRUE(lit(14 + 200, 64 + 8, 14 + 292, 64 + 34, red)) << "FAILED";
  EXPECT_TRUE(lit(14 + 60, 64 + 362, 14 + 290, 64 + 386, red)) << "OUT OF LIVES";
  EXPECT_TRUE(drawnOver(340, 64 + 10, 612, 64 + 140)) << "the course's record card";
}
}  // namespace

TEST_F(EvaluationRun, SelectCalibratesTheKeyboardFromTheLastPlay) {
  TarvolenIni_LoadText("offset.keyboard.input = 4\n");
  const std::vector<int> late[2] = {std::vector<int>(40, 10), {}};
  PlayInto(40, 2, late);
  constexpr uint8_t kTab = 15;   // player 1's Select
  run(1, {{400, kTab}, {700, kTab}, {2500, kSpace}}, 1000, "calibrate-from-last-play");
  // the play was judged with 4 ms taken off and still came 10 ms late
  EXPECT_EQ(DeviceOffsets_Input(nullptr), 14);
  EXPECT_NE(ReadFile("tarvolen.ini").find("offset.keyboard.input = 14"), std::string::npos);
  EXPECT_NE(ReadFile("rkv2.log").find("Calibrated from last play: input offset of Keyboard 4 -> 14 ms"),
            std::string::npos);
  TarvolenIni_LoadText("");
}
