// The break of a repeating course: its fades, what ends it, and the whole screen
// on the dummy window with the generated break picture, a picture of another
// size, and none (TV_SCREENSHOT_DIR=folder keeps the screenshots for a look).
#include "menus/test_screen.h"
#include "menus/break_screen.h"
#include "library/settings.h"
#include "media/input_script.h"
#include "media/render/screen.h"
#include "media/skin/skin_images.h"
#include "platform/clock.h"
#include "platform/log.h"
#include "support/test_support.h"
#include <gtest/gtest.h>
#include <cstdlib>
#include <vector>

namespace {
// DIK codes: player 1 Start Space, Select Tab, Left A, Up W; player 2 Start Enter, Left the arrow.
constexpr uint8_t kEscape = 1, kSpace = 57, kEnter = 28, kTab = 15, kA = 30, kW = 17, kLeftArrow = 203, kF11 = 87;

TEST(BreakFade, TheBlackLayerOverBothFades) {
  EXPECT_EQ(BreakScreen_FadeInOpacity(0), 255);
  EXPECT_EQ(BreakScreen_FadeInOpacity(1000), 127);
  EXPECT_EQ(BreakScreen_FadeInOpacity(2000), 0);
  EXPECT_EQ(BreakScreen_FadeInOpacity(60000), 0) << "never below 0";
  EXPECT_EQ(BreakScreen_FadeOutOpacity(0), 0);
  EXPECT_EQ(BreakScreen_FadeOutOpacity(1000), 127);
  EXPECT_EQ(BreakScreen_FadeOutOpacity(2000), 255);
  EXPECT_EQ(BreakScreen_FadeOutOpacity(60000), 255) << "never above 255";
}

TEST(BreakFade, APressIsHeardOnlyOnceFadedInAndTheFadeOutRunsItsTwoSeconds) {
  BreakState b;
  bool over = true;
  EXPECT_EQ(BreakScreen_Frame(b, 0, false, over), 255);
  EXPECT_FALSE(over);
  EXPECT_EQ(BreakScreen_Frame(b, 1000, true, over), 127) << "a press while fading in";
  EXPECT_EQ(BreakScreen_Frame(b, 1999, true, over), 0);
  EXPECT_EQ(b.leaveAtMs, -1);
  EXPECT_EQ(BreakScreen_Frame(b, 2000, false, over), 0);
  EXPECT_EQ(BreakScreen_Frame(b, 90000, false, over), 0) << "waiting as long as nobody presses";
  EXPECT_FALSE(over);
  EXPECT_EQ(BreakScreen_Frame(b, 90500, true, over), 0);
  EXPECT_EQ(b.leaveAtMs, 90500);
  EXPECT_EQ(BreakScreen_Frame(b, 91500, true, over), 127) << "a second press changes nothing";
  EXPECT_EQ(b.leaveAtMs, 90500);
  EXPECT_FALSE(over);
  EXPECT_EQ(BreakScreen_Frame(b, 92499, false, over), 254);
  EXPECT_FALSE(over);
  EXPECT_EQ(BreakScreen_Frame(b, 92500, false, over), 255);
  EXPECT_TRUE(over);
}

class BreakRun : public ::testing::Test {
 protected:
  TempDir dir;
  Image picture;
  uint32_t startedAt = 0;
  std::vector<ScriptEvent> script;
  void SetUp() override {
    Settings_Defaults(g_settings);
    ASSERT_TRUE(TestScreen_Open());
    ASSERT_TRUE(TestScreen_UseGameSkin());
    LogOpen(0);
    startedAt = Clock_Ms();
  }
  void TearDown() override {
    picture.Free();
    LogOff();
    TestScreen_Close();
  }
  void press(uint32_t atMs, uint8_t code) {
    script.push_back(ScriptEvent{startedAt + atMs, 0, 1, 0, code});
    script.push_back(ScriptEvent{startedAt + atMs + 50, 0, 0, 0, code});
    std::sort(script.begin(), script.end(), [](const ScriptEvent& a, const ScriptEvent& b) { return a.ms < b.ms; });
    InputScript_Set(script);
  }
  uint32_t took() const { return Clock_Ms() - startedAt; }
  // Whether the last frame presented is black all over.
  static bool screenBlack() {
    for (int y = 0; y < 480; y += 3)
      for (int x = 0; x < 640; x += 3)
        if (Screen_Pixel(x, y)) return false;
    return true;
  }
};

const Pixel kYellowText = [](int r, int g, int b) { return r > 200 && g > 200 && b < 90; };

int light(uint32_t c) { return (int)(c >> 16 & 0xFF) + (int)(c >> 8 & 0xFF) + (int)(c & 0xFF); }

TEST_F(BreakRun, OnlyStartOfEitherPlayerOrEscapeEndIt) {
  ASSERT_TRUE(LoadPNG("rkv2-break.png", picture, 0, 0));
  for (uint8_t ender : {kSpace, kEnter, kEscape}) {
    script.clear();
    startedAt = Clock_Ms();
    press(900, kSpace);   // while fading in: not heard
    press(2300, kTab);
    press(2500, kA);
    press(2700, kW);
    press(2900, kLeftArrow);
    press(3200, ender);
    BreakScreen(picture);
    EXPECT_GE(took(), 5200u) << "ended by code " << (int)ender;
    EXPECT_LT(took(), 6600u) << "ended by code " << (int)ender;
    EXPECT_TRUE(screenBlack()) << "the last frame is faded out";
  }
  EXPECT_TRUE(picture.loaded) << "the picture stays the caller's";
  EXPECT_EQ(picture.width, 640);
}

TEST_F(BreakRun, FadesInFromBlackAndWaitsOnThePictureWithItsTwoLines) {
  ASSERT_TRUE(LoadPNG("rkv2-break.png", picture, 0, 0));
  press(1000, kF11);
  press(3000, kF11);
  press(3300, kSpace);
  BreakScreen(picture);
  auto shots = TestScreen_Shots();
  ASSERT_EQ(shots.size(), 2u);
  Shot half(shots[0]), full(shots[1]);
  // the moon of the picture: about half as bright a second in, as it is while waiting
  const int x = 470, y = 130;
  int own = light(picture.PixelAt(x, y));
  EXPECT_NEAR(light(full.at(x, y)), own, 6);
  EXPECT_NEAR(light(half.at(x, y)), own / 2, own / 10);
  // "Taking a Break" in yellow at y 390, "Press START to continue" in white below it
  EXPECT_TRUE(full.any(240, 392, 400, 414, kYellowText));
  EXPECT_FALSE(full.any(0, 0, 640, 386, kYellowText));
  EXPECT_TRUE(full.any(230, 417, 410, 432, [](int r, int g, int b) { return r > 230 && g > 230 && b > 230; }));
}

TEST_F(BreakRun, APictureOfAnotherSizeFillsTheScreenAndWithoutOneTheScreenIsDark) {
  ASSERT_TRUE(picture.Create(320, 240, IMAGE_RGB));   // white
  press(2600, kF11);
  press(2800, kSpace);
  BreakScreen(picture);
  EXPECT_EQ(picture.width, 320) << "the caller's picture keeps its size";

  picture.Free();
  script.clear();
  startedAt = Clock_Ms();
  press(2600, kF11);
  press(2800, kEscape);
  BreakScreen(picture);

  auto shots = TestScreen_Shots();
  ASSERT_EQ(shots.size(), 2u);
  Shot scaled(shots[0]), none(shots[1]);
  EXPECT_EQ(scaled.at(630, 470), 0xFFFFFFu) << "stretched to the bottom right";
  auto dark = [](uint32_t c) { return std::abs(light(c) - light(0x0A0C1C)) <= 6; };
  EXPECT_TRUE(dark(none.at(630, 470)) && dark(none.at(10, 200))) << std::hex << none.at(630, 470);
  EXPECT_TRUE(none.any(240, 392, 400, 414, kYellowText)) << "the words on the dark screen";
  EXPECT_NE(ReadFile("rkv2.log").find("No break picture: the break is shown on a plain screen\n"), std::string::npos);
}

TEST_F(BreakRun, WithTheTimeLimitOnAnUnattendedBreakGoesOnAfterThirtySecondsOfWaiting) {
  g_settings.timeLimit = 1;
  ASSERT_TRUE(LoadPNG("rkv2-break.png", picture, 0, 0));
  press(3000, kF11);
  BreakScreen(picture);
  // the limit counts the wait, not the fades on either side of it
  EXPECT_GE(took(), 34000u);
  EXPECT_LT(took(), 35500u);
  auto shots = TestScreen_Shots();
  ASSERT_EQ(shots.size(), 1u);
  Shot waiting(shots[0]);
  bool digits = false;   // the seconds left at the top right, where the picture is plain sky
  for (int y = 10; y < 48; y += 2)
    for (int x = 568; x < 628; x += 2)
      digits = digits || std::abs(light(waiting.at(x, y)) - light(picture.PixelAt(x, y))) > 90;
  EXPECT_TRUE(digits);
}
}  // namespace
