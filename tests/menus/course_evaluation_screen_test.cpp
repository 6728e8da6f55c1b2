// The course evaluation as a whole, on the dummy window with the generated
// Default skin: a course played song by song goes in; the time the screen took,
// the records file and the screenshots come out (TV_SCREENSHOT_DIR=folder keeps
// the screenshots for a look).
#include "menus/test_screen.h"
#include "course_test_util.h"
#include "library/profiles.h"
#include "library/records.h"
#include "library/settings.h"
#include "media/input_script.h"
#include "media/render/screen.h"
#include "media/skin/skin_images.h"
#include "menus/collection.h"
#include "menus/course_evaluation.h"
#include "menus/style_select.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/log.h"
#include "support/test_support.h"
#include <gtest/gtest.h>
#include <string>

namespace {
constexpr uint8_t kEscape = 1, kSpace = 57, kEnter = 28, kF11 = 87;

const Pixel kRed = [](int r, int g, int b) { return r > 200 && g < 140 && b < 140; };
const Pixel kGreen = [](int r, int g, int b) { return g > 200 && r < 170 && b < 170; };

class CourseEvaluationRun : public ::testing::Test {
 protected:
  TempDir dir;
  Play play;
  Image backdrop;
  void SetUp() override {
    Settings_Defaults(g_settings);
    ASSERT_TRUE(TestScreen_Open());
    ASSERT_TRUE(TestScreen_UseGameSkin());
    LogOpen(0);
    freeRecords(g_records);
    g_songListLoaded = true;
    g_playerRecords[0] = g_playerRecords[1] = nullptr;
    g_profileCount = 0;
    g_styleBanner = 0;
    Players_Reset();
    LoadPNG("rkv2-results.png", backdrop, 0, 0);
  }
  void TearDown() override {
    for (Player& p : g_players) Chart_Free(p);
    Players_Reset();
    backdrop.Free();
    LogOff();
    TestScreen_Close();
    freeRecords(g_records);
    g_playerRecords[0] = g_playerRecords[1] = nullptr;
    g_songListLoaded = false;
    g_profileCount = 0;
    g_courses.clear();
  }
  // Runs the screen with key presses at these times after it opens (and F11 at
  // `shotMs`); returns the time it took and leaves the screenshot in `shot`.
  uint32_t run(std::vector<std::pair<uint32_t, uint8_t>> keys, uint32_t shotMs) {
    std::vector<ScriptEvent> events;
    uint32_t now = Clock_Ms();
    keys.push_back({shotMs, kF11});
    for (auto [at, code] : keys) {
      events.push_back(ScriptEvent{now + at, 0, 1, 0, code});
      events.push_back(ScriptEvent{now + at + 40, 0, 0, 0, code});
    }
    std::sort(events.begin(), events.end(), [](const ScriptEvent& a, const ScriptEvent& b) { return a.ms < b.ms; });
    InputScript_Set(events);
    CourseEvaluationScreen(play);
    uint32_t took = Clock_Ms() - now;
    auto shots = TestScreen_Shots();
    if (!shots.empty()) shot = std::make_unique<Shot>(shots.back());
    return took;
  }
  std::unique_ptr<Shot> shot;
  // Whether something was drawn over the area brighter than the backdrop there.
  bool drawnOver(int x0, int y0, int x1, int y1) const {
    auto light = [](uint32_t c) { return (int)((c >> 16) & 0xFF) + (int)((c >> 8) & 0xFF) + (int)(c & 0xFF); };
    for (int y = y0; y < y1; y++)
      for (int x = x0; x < x1; x++)
        if (light(shot->at(x, y)) > light(backdrop.PixelAt(x, y)) + 150) return true;
    return false;
  }
  static Result saved() {
    RecordTable t;
    if (!loadRecords(t)) return Result{};
    return findResult(t, findRecord(t, "COURSE|Night Run"), 4, 0);
  }
};

CourseSong song(int greats, bool withPlayer2 = false, int p2Greats = 0) {
  CourseSong s;
  s.late[0] = MostlyPerfect(40, greats);
  if (withPlayer2) s.late[1] = MostlyPerfect(40, p2Greats);
  return s;
}

TEST_F(CourseEvaluationRun, OnePlayerWithAProfileIsRecordedAndStartLeavesOnceTheCommentHasBegun) {
  OneCourse("Night Run", 3);
  PlayCourse(play, {song(2), song(4), song(0)}, CourseRules{});
  play.song.lifeTrace[0] = LifeTrace(110, 600);
  RecordTable own;
  ASSERT_TRUE(PlayerOneAsAnn(own));
  uint32_t took = run({{300, kSpace}, {2500, kSpace}}, 2300);
  g_playerRecords[0] = nullptr;
  EXPECT_GE(took, 2500u) << "Start during the count only completed it";
  EXPECT_LT(took, 5000u);
  Result r = saved();
  EXPECT_EQ(r.bestC, 3);
  EXPECT_EQ(r.bestA, 975);
  EXPECT_STREQ(r.holder, "ANN");
  std::string log = ReadFile("rkv2.log");
  EXPECT_NE(log.find("Starting course evaluation screen...\n"), std::string::npos);
  EXPECT_NE(log.find("Determining announcer comment for evaluation screen...\n"), std::string::npos);
  ASSERT_TRUE(shot);
  EXPECT_TRUE(drawnOver(340, 64 + 10, 612, 64 + 140)) << "the record card";
  EXPECT_TRUE(drawnOver(14 + 124, 64 + 128, 14 + 290, 64 + 146)) << "the record line";
  EXPECT_TRUE(drawnOver(14 + 10, 64 + 310, 14 + 150, 64 + 340)) << "the stage reached";
  EXPECT_TRUE(shot->any(14 + 200, 64 + 8, 14 + 292, 64 + 34, kGreen)) << "CLEARED";
}

TEST_F(CourseEvaluationRun, TwoPlayersOfABatteryCourseEachInTheirFrameWithTheLivesLeftAndEscapeLeaves) {
  OneCourse("Night Run", 3, true, 4);
  std::vector<CourseSong> songs = {song(10, true, 0), song(10, true, 2), song(10, true, 0)};
  songs[1].late[0].resize(38);   // two misses: two lives lost
  PlayCourse(play, songs, CourseRules{1, 4, 1, 0});
  ASSERT_EQ(g_players[0].batteryLives, 2);
  g_styleBanner = 2;
  uint32_t took = run({{2600, kEscape}}, 2400);
  EXPECT_GE(took, 2600u);
  EXPECT_LT(took, 5000u);
  EXPECT_STREQ(saved().holder, "") << "stored, without a profile's name";
  EXPECT_EQ(saved().bestA, 991);
  ASSERT_TRUE(shot);
  EXPECT_TRUE(drawnOver(326 + 124, 64 + 68, 326 + 290, 64 + 120)) << "player 2's percentage and score";
  EXPECT_TRUE(drawnOver(326 + 10, 64 + 310, 326 + 150, 64 + 340)) << "player 2's stage";
  // player 1's battery: the first two of four cells lit in the player's blue, the others dark
  auto blue = [](uint32_t c) { return (c & 0xFF) > 200 && (c >> 16 & 0xFF) < 150; };
  EXPECT_TRUE(blue(shot->at(14 + 58 + 20, 64 + 376)) && blue(shot->at(14 + 58 + 56 + 20, 64 + 376)));
  EXPECT_FALSE(blue(shot->at(14 + 58 + 112 + 20, 64 + 376)) || blue(shot->at(14 + 58 + 168 + 20, 64 + 376)));
}

TEST_F(CourseEvaluationRun, ABatteryCourseThatRanOutOfLivesSaysSo) {
  OneCourse("Night Run", 3, true, 3);
  CourseRules battery{1, 3, 1, 0};
  CourseSong missed;
  PlayCourse(play, {song(0), song(3), missed}, battery);
  ASSERT_EQ(play.course.songs, 2);
  uint32_t took = run({{2600, kEnter}}, 2400);
  EXPECT_LT(took, 5000u) << "player 2's Start ends it as well";
  EXPECT_EQ(saved().bestC, 2);
  ASSERT_TRUE(shot);
  EXPECT_TRUE(shot->any(14 + 200, 64 + 8, 14 + 292, 64 + 34, kRed)) << "FAILED";
  EXPECT_TRUE(shot->any(14 + 60, 64 + 362, 14 + 290, 64 + 386, kRed)) << "OUT OF LIVES";
}

TEST_F(CourseEvaluationRun, AnAutoplayedCourseIsShownWithItsFlagAndNotRecorded) {
  OneCourse("Night Run", 3);
  std::vector<CourseSong> songs = {song(0), song(0), song(0)};
  songs[1].autoplay = true;
  PlayCourse(play, songs, CourseRules{});
  run({{2600, kEscape}}, 2400);
  EXPECT_FALSE(File_Exists("rkv2.rec"));
  ASSERT_TRUE(shot);
  EXPECT_TRUE(shot->any(386, 26, 560, 40, kRed)) << "\"Autoplay Enabled\"";
}
}  // namespace
