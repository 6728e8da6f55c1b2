// The menu screens' shared loop: its time limit on its own, then whole runs on
// the real screen with the dummy video driver.
#include "menus/test_screen.h"
#include "library/settings.h"
#include "media/draw_helpers.h"
#include "media/font/font.h"
#include "media/input/input.h"
#include "media/input_script.h"
#include "media/render/screen.h"
#include "media/skin/skin_images.h"
#include "media/window.h"
#include "menus/screen_loop.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "support/test_support.h"
#include <gtest/gtest.h>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {
TEST(ScreenTimer, TicksEachOfTheLastSixSecondsAndRunsOutOnce) {
  ScreenTimer t;
  ScreenTimer_Start(t, 30000, 1000);
  std::vector<int> ticked;
  int timeUps = 0;
  ScreenFrame f;
  ASSERT_FALSE(ScreenTimer_Frame(t, 1000, false, f));
  EXPECT_EQ(f.secondsLeft, 30);
  for (uint32_t now = 1100; now <= 33000; now += 100) {
    if (ScreenTimer_Frame(t, now, false, f)) ticked.push_back(f.secondsLeft);
    if (f.timeUp) {
      timeUps++;
      EXPECT_EQ(now, 31000u);
    }
    if (now == 25000 || now == 25100) {
      EXPECT_EQ(f.secondsLeft, 6);
    }
  }
  EXPECT_EQ(ticked, (std::vector<int>{6, 5, 4, 3, 2, 1}));
  EXPECT_EQ(timeUps, 1);
  EXPECT_EQ(f.secondsLeft, 0);
}

TEST(ScreenTimer, HeldFramesDoNotCountAndNoLimitCountsNothing) {
  ScreenTimer t;
  ScreenTimer_Start(t, 10000, 0);
  ScreenFrame f;
  ScreenTimer_Frame(t, 5000, false, f);
  EXPECT_EQ(f.secondsLeft, 5);
  ScreenTimer_Frame(t, 9000, true, f);   // the frame before held the count: these 4 s are not counted
  EXPECT_EQ(f.secondsLeft, 5);
  ScreenTimer_Frame(t, 9600, false, f);
  EXPECT_EQ(f.secondsLeft, 5);           // 4.4 s left, rounded up
  ScreenTimer_Frame(t, 13000, false, f);
  EXPECT_EQ(f.secondsLeft, 1);
  EXPECT_FALSE(f.timeUp);
  ScreenTimer_Frame(t, 14000, false, f);
  EXPECT_EQ(f.secondsLeft, 0);
  EXPECT_TRUE(f.timeUp);

  ScreenTimer none;
  ScreenTimer_Start(none, 0, 0);
  EXPECT_FALSE(ScreenTimer_Frame(none, 100000, false, f));
  EXPECT_EQ(f.secondsLeft, -1);
  EXPECT_FALSE(f.timeUp);
  EXPECT_EQ(Screen_SecondsLeft(1000, 0), 1);
  EXPECT_EQ(Screen_SecondsLeft(1000, 999), 1);
  EXPECT_EQ(Screen_SecondsLeft(1000, 1000), 0);
  EXPECT_EQ(Screen_SecondsLeft(1000, 5000), 0);
}

class ScreenLoopRun : public ::testing::Test {
 protected:
  TempDir dir;
  void SetUp() override {
    Settings_Defaults(g_settings);
    ASSERT_TRUE(TestScreen_Open());
    Dir_Create("Skins/Default");
    Dir_Create("Skins/Mine");
    LoadImages("Mine", false);   // pictures the chosen skin lacks come from Default
  }
  void TearDown() override { TestScreen_Close(); }
  // Whether any pixel of the area is lit.
  bool lit(int x0, int y0, int x1, int y1) {
    for (int y = y0; y < y1; y++)
      for (int x = x0; x < x1; x++)
        if (Screen_Pixel(x, y) != 0) return true;
    return false;
  }
};

TEST_F(ScreenLoopRun, BackdropUnderTheScreensDrawingAndTheLastFrameIsShown) {
  WritePicture("Skins/Default/rkv2-test.png", 640, 480, [](int, int) { return 0x3366CCu; });
  ScreenSetup setup;
  setup.backdrop = "rkv2-test.png";
  int frames = 0;
  int r = Screen_Run(setup, [&frames](ScreenFrame& f) {
    EXPECT_TRUE(f.backdrop && f.backdrop->loaded);
    EXPECT_EQ(Screen_Pixel(105, 105), 0x3366CCu);   // the backdrop is down before the screen draws
    Draw_FillRect(100, 100, 10, 10, 0xFF0000);
    return ++frames == 3 ? 7 : 0;
  });
  EXPECT_EQ(r, 7);
  EXPECT_EQ(frames, 3);
  EXPECT_EQ(Screen_Pixel(5, 5), 0x3366CCu);
  uint32_t red = Screen_Pixel(105, 105);
  EXPECT_GE(red >> 16, 0xF0u);
  EXPECT_EQ(red & 0xFFFF, 0u);
}

TEST_F(ScreenLoopRun, TiledBackdropDriftsDiagonallyAndWraps) {
  // one red pixel at the tile's top left, the rest blue
  WritePicture("Skins/Default/rkv2-tile.png", 32, 32,
               [](int x, int y) { return x == 0 && y == 0 ? 0xFF0000u : 0x0000FFu; });
  ScreenSetup setup;
  setup.backdrop = "rkv2-tile.png";
  setup.layout = BACKDROP_TILED_SCROLL;
  setup.fpsMeter = false;
  uint32_t startedAt = Clock_Ms();
  int checked = 0;
  Screen_Run(setup, [&](ScreenFrame& f) {
    int o = (int)(f.elapsedMs / 40) % 32;
    int at = (32 - o) % 32;
    EXPECT_EQ(Screen_Pixel(at, at), 0xFF0000u) << f.elapsedMs;
    EXPECT_EQ(Screen_Pixel(at + 32 * 19, at + 32 * 14), 0xFF0000u) << f.elapsedMs;
    EXPECT_EQ(Screen_Pixel(at + 1, at), 0x0000FFu) << f.elapsedMs;
    checked++;
    return Clock_Ms() - startedAt > 200 ? 1 : 0;
  });
  EXPECT_GT(checked, 2);
}

TEST_F(ScreenLoopRun, EscapeComesInTheMenuInputWord) {
  uint32_t now = Clock_Ms();
  InputScript_Set({ScriptEvent{now + 40, 0, 1, 0, 1}, ScriptEvent{now + 120, 0, 0, 0, 1}});
  uint32_t seen = 0;
  int frames = 0;
  int r = Screen_Run(ScreenSetup{}, [&](ScreenFrame& f) {
    seen |= f.input;
    frames++;
    if (f.input & MENU_ESCAPE) return 2;
    return Clock_Ms() - now > 2000 ? 9 : 0;
  });
  EXPECT_EQ(r, 2);
  EXPECT_TRUE(seen & MENU_ESCAPE);
  EXPECT_GT(frames, 1);
}

TEST_F(ScreenLoopRun, TheTimeLimitRunsOnlyWithItsSetting) {
  ScreenSetup setup;
  setup.timeLimitSeconds = 1;
  g_settings.timeLimit = 0;
  int lastSeconds = 99;
  int r = Screen_Run(setup, [&](ScreenFrame& f) {
    lastSeconds = f.secondsLeft;
    return f.elapsedMs > 60 ? 1 : 0;
  });
  EXPECT_EQ(r, 1);
  EXPECT_EQ(lastSeconds, -1);   // "Time Limit" off: no limit at all

  g_settings.timeLimit = 1;
  int timeUps = 0, framesAfter = 0;
  uint32_t upAt = 0;
  Screen_Run(setup, [&](ScreenFrame& f) {
    if (f.timeUp) {
      timeUps++;
      upAt = f.elapsedMs;
    }
    if (timeUps) framesAfter++;
    EXPECT_GE(f.secondsLeft, 0);
    EXPECT_LE(f.secondsLeft, 1);
    return framesAfter > 3 ? 1 : 0;
  });
  EXPECT_EQ(timeUps, 1);
  EXPECT_GE(upAt, 1000u);
}

TEST_F(ScreenLoopRun, FrameRateMeterAtTheTopRightWhileTheDisplayIsOn) {
  ASSERT_TRUE(Font_Load((TestScreen_GameFolder() + "/Skins/Default").c_str(), "font-Main"));
  auto run = [](bool meter, int y) {
    ScreenSetup setup;
    setup.fpsMeter = meter;
    return Screen_Run(setup, [y](ScreenFrame& f) {
      f.fpsY = y;
      return f.elapsedMs > 30 ? 1 : 0;
    });
  };
  g_settings.showFps = 0;   // stored 0: the meter is shown
  run(true, 2);
  EXPECT_TRUE(lit(540, 0, 640, 18));
  run(true, 20);
  EXPECT_FALSE(lit(540, 0, 640, 18));
  EXPECT_TRUE(lit(540, 20, 640, 38));
  run(false, 2);
  EXPECT_FALSE(lit(0, 0, 640, 480));
  g_settings.showFps = 1;
  run(true, 2);
  EXPECT_FALSE(lit(0, 0, 640, 480));
}
}  // namespace
