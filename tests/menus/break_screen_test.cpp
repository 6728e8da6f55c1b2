// The break of a repeating course: its fades, what ends it, and whole runs on the
// dummy window with the generated break picture, a picture of another size and
// none (TV_SCREENSHOT_DIR=folder keeps the screenshots for a look).
#include "menus/test_screen.h"
#include "menus/break_screen.h"
#include "media/render/screen.h"
#include "platform/clock.h"
#include "platform/log.h"
#include "support/test_support.h"
#include <vector>

namespace {
// DIK codes: player 1 Start Space, Select Tab, Left A, Up W; player 2 Start Enter, Left the arrow.
constexpr uint8_t kEscape = 1, kSpace = 57, kEnter = 28, kTab = 15, kA = 30, kW = 17, kLeftArrow = 203, kF11 = 87;

TEST(BreakFade, BreaksFollowEveryNthSongOfARepeatingCourseOnly) {
  std::vector<int> after;
  for (int stage = 1; stage <= 13; stage++)
    if (BreakScreen_Due(stage, 4, true)) after.push_back(stage);
  EXPECT_EQ(after, (std::vector<int>{4, 8, 12}));
  EXPECT_FALSE(BreakScreen_Due(4, 4, false));   // a course that ends has no breaks
  EXPECT_FALSE(BreakScreen_Due(4, 0, true));    // "Break Stage After" OFF
  EXPECT_TRUE(BreakScreen_Due(1, 1, true));
  EXPECT_FALSE(BreakScreen_Due(0, 1, true));
}

TEST(BreakFade, TheBlackLayerOverBothFadesAndWhenAPressIsHeard) {
  const int fades[4][3] = {{0, 255, 0}, {1000, 127, 127}, {2000, 0, 255}, {60000, 0, 255}};   // ms, in, out
  for (auto& f : fades) {
    EXPECT_EQ(BreakScreen_FadeInOpacity(f[0]), f[1]) << f[0];
    EXPECT_EQ(BreakScreen_FadeOutOpacity(f[0]), f[2]) << f[0];
  }
  BreakState b;
  bool over = true;
  EXPECT_EQ(BreakScreen_Frame(b, 1000, true, over), 127);
  EXPECT_EQ(b.leaveAtMs, -1) << "a press while fading in is not heard";
  EXPECT_EQ(BreakScreen_Frame(b, 90000, false, over), 0) << "waiting as long as nobody presses";
  EXPECT_EQ(BreakScreen_Frame(b, 90500, true, over), 0);
  EXPECT_EQ(BreakScreen_Frame(b, 91500, true, over), 127) << "a second press changes nothing";
  EXPECT_FALSE(over);
  EXPECT_EQ(BreakScreen_Frame(b, 92500, false, over), 255);
  EXPECT_TRUE(over);
}

class BreakRun : public ::testing::Test {
 protected:
  TempDir dir;
  Image picture;
  void SetUp() override {
    Settings_Defaults(g_settings);
    ASSERT_TRUE(TestScreen_Open());
    ASSERT_TRUE(TestScreen_UseGameSkin());
    LogOpen(0);
  }
  void TearDown() override {
    picture.Free();
    LogOff();
    TestScreen_Close();
  }
  // Runs the break with these key presses (ms after it opens); returns the ms it took.
  uint32_t run(const std::vector<std::pair<uint32_t, uint8_t>>& keys) {
    uint32_t now = Clock_Ms();
    TestScreen_Keys(now, keys);
    BreakScreen(picture);
    return Clock_Ms() - now;
  }
};

int light(uint32_t c) { return (int)(c >> 16 & 0xFF) + (int)(c >> 8 & 0xFF) + (int)(c & 0xFF); }
const Pixel kYellowText = [](int r, int g, int b) { return r > 200 && g > 200 && b < 90; };

TEST_F(BreakRun, FadesInOverThePictureWaitsForStartOrEscapeOnlyAndFadesOut) {
  ASSERT_TRUE(LoadPNG("rkv2-break.png", picture, 0, 0));
  uint32_t took = run({{900, kSpace}, {1000, kF11}, {2300, kTab}, {2500, kA}, {2700, kW}, {2900, kLeftArrow},
                       {3000, kF11}, {3200, kSpace}});
  EXPECT_GE(took, 5200u) << "Start while fading in, and the other keys, are not heard";
  EXPECT_LT(took, 6600u);
  for (int y = 0; y < 480; y += 8) EXPECT_EQ(Screen_Pixel(320, y), 0u) << "the last frame is faded out";
  ASSERT_TRUE(picture.loaded && picture.width == 640) << "the picture stays the caller's";
  picture.Create(320, 240, IMAGE_RGB);   // white, stretched over the screen
  EXPECT_LT(run({{2500, kF11}, {2700, kEscape}}), 5200u);
  EXPECT_EQ(picture.width, 320);
  picture.Free();
  EXPECT_LT(run({{2500, kF11}, {2700, kEnter}}), 5200u) << "player 2's Start";

  auto shots = TestScreen_Shots();
  ASSERT_EQ(shots.size(), 4u);
  Shot half(shots[0]), full(shots[1]), scaled(shots[2]), none(shots[3]);
  Image moon;
  ASSERT_TRUE(LoadPNG("rkv2-break.png", moon, 0, 0));
  int own = light(moon.PixelAt(470, 130));
  EXPECT_NEAR(light(full.at(470, 130)), own, 6);
  EXPECT_NEAR(light(half.at(470, 130)), own / 2, own / 10) << "half faded in a second in";
  EXPECT_TRUE(full.any(240, 392, 400, 414, kYellowText)) << "\"Taking a Break\" at y 390";
  EXPECT_FALSE(full.any(0, 0, 640, 386, kYellowText));
  EXPECT_TRUE(full.any(230, 417, 410, 432, [](int r, int g, int b) { return r > 230 && g > 230 && b > 230; }));
  EXPECT_EQ(scaled.at(630, 470), 0xFFFFFFu);
  EXPECT_NEAR(light(none.at(630, 470)), light(0x0A0C1C), 6) << "a plain dark screen without a picture";
  EXPECT_TRUE(none.any(240, 392, 400, 414, kYellowText));
}

TEST_F(BreakRun, WithTheTimeLimitOnAnUnattendedBreakGoesOnAfterThirtySecondsOfWaiting) {
  g_settings.timeLimit = 1;
  ASSERT_TRUE(LoadPNG("rkv2-break.png", picture, 0, 0));
  uint32_t took = run({});
  EXPECT_GE(took, 34000u) << "the limit counts the wait, not the fades on either side of it";
  EXPECT_LT(took, 35500u);
}
}  // namespace
