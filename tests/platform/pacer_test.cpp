#include "platform/pacer.h"
#include "platform/clock.h"
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
