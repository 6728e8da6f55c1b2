#include "platform/pacer.h"
#include "platform/clock.h"
#include "platform/frame_watch.h"
#include "platform/log.h"
#include <cstdlib>
#include <string>
#include <gtest/gtest.h>

TEST(Pacer, IntervalFromFps) {
  ASSERT_TRUE(Pacer_Init(0));
  EXPECT_FALSE(g_pacer.limiterOn);
  EXPECT_EQ(g_pacer.frameIntervalMs, 16u);
  ASSERT_TRUE(Pacer_Init(20));
  EXPECT_TRUE(g_pacer.limiterOn);
  EXPECT_EQ(g_pacer.frameIntervalMs, 50u);
  Pacer_End();
  ASSERT_TRUE(Pacer_Init(200));
  EXPECT_EQ(g_pacer.frameIntervalMs, 5u);
  Pacer_End();
}

TEST(Pacer, LimiterHoldsFramesToTheInterval) {
  // 20 frames at 50 fps take about 400 ms; without the limiter they take no time.
  ASSERT_TRUE(Pacer_Init(50));
  double t0 = Clock_MsPrecise();
  for (int i = 0; i < 20; i++) WaitFrame();
  double paced = Clock_MsPrecise() - t0;
  Pacer_End();
  EXPECT_GT(paced, 300.0);
  ASSERT_TRUE(Pacer_Init(0));
  t0 = Clock_MsPrecise();
  for (int i = 0; i < 20; i++) WaitFrame();
  EXPECT_LT(Clock_MsPrecise() - t0, 50.0);
}

namespace {
int g_hookCalls = 0;
void countHook() { g_hookCalls++; }
}  // namespace

TEST(Pacer, WaitHookRunsWhileTheFrameWaitsAndOnceWhenItDoesNot) {
  ASSERT_TRUE(Pacer_Init(20));   // 50 ms frames
  Pacer_SetWaitHook(countHook);
  g_hookCalls = 0;
  WaitFrame();
  WaitFrame();                   // at least one whole frame waited in short slices
  EXPECT_GT(g_hookCalls, 5);
  Pacer_End();
  ASSERT_TRUE(Pacer_Init(0));
  g_hookCalls = 0;
  WaitFrame();
  EXPECT_EQ(g_hookCalls, 1);
  Pacer_SetWaitHook(nullptr);
  WaitFrame();
  EXPECT_EQ(g_hookCalls, 1);
}

namespace {
std::string g_watchLines;
}

TEST(FrameWatch, LogsOnlyHeldFramesAndNeverTheLoadBeforeAScreensFirstFrame) {
  setenv("TARVOLEN_FRAME_WATCH", "40", 1);
  Log_SetListener([](const char* line) { g_watchLines += line; });
  FrameWatch_Init();
  FrameWatch_Frame("rkv2-select.png");
  Clock_SleepMs(70);                       // a held frame
  FrameWatch_Frame("rkv2-select.png");
  FrameWatch_Frame("rkv2-select.png");     // a quick one
  Clock_SleepMs(70);                       // loading the next screen
  FrameWatch_Restart();
  FrameWatch_Frame("the play");
  EXPECT_EQ(FrameWatch_HeldCount(), 1);
  EXPECT_GE(FrameWatch_LongestMs(), 70.0);
  EXPECT_NE(g_watchLines.find("Frame held"), std::string::npos);
  EXPECT_NE(g_watchLines.find(" ms on rkv2-select.png\n"), std::string::npos);
  EXPECT_EQ(g_watchLines.find("the play"), std::string::npos);
  unsetenv("TARVOLEN_FRAME_WATCH");
  FrameWatch_Init();                        // off: nothing is counted
  FrameWatch_Frame("x");
  Clock_SleepMs(50);
  FrameWatch_Frame("x");
  EXPECT_EQ(FrameWatch_HeldCount(), 0);
  Log_SetListener(nullptr);
}
