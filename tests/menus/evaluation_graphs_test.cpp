// The timing histogram's buckets and figures, the life line's picture, and the
// texts of the evaluation's header.
#include "evaluation_test_util.h"
#include "library/settings.h"
#include "media/render/image.h"
#include "menus/evaluation_graphs.h"
#include "menus/evaluation_view.h"
#include "menus/timing_histogram.h"
#include "play/play_record.h"
#include <gtest/gtest.h>
#include <cmath>

namespace {
TEST(TimingHistogram, BucketsRunFromEarlyToLateWithTheNoteInTheMiddle) {
  const int n = kHistogramBuckets, mid = n / 2;
  const double width = 280.0 / n;   // ±140 ms
  EXPECT_EQ(Histogram_Bucket(0, 140, n), mid);
  EXPECT_EQ(Histogram_Bucket(width / 2 - 0.01, 140, n), mid);
  EXPECT_EQ(Histogram_Bucket(width / 2 + 0.01, 140, n), mid + 1);
  EXPECT_EQ(Histogram_Bucket(-width / 2 - 0.01, 140, n), mid - 1);
  EXPECT_EQ(Histogram_Bucket(-140, 140, n), 0);
  EXPECT_EQ(Histogram_Bucket(140, 140, n), n - 1);
  EXPECT_EQ(Histogram_Bucket(500, 140, n), n - 1) << "beyond the scale: the end buckets";
  EXPECT_EQ(Histogram_Bucket(-500, 140, n), 0);
  EXPECT_EQ(Histogram_Bucket(NAN, 140, n), 0);
  EXPECT_EQ(Histogram_Bucket(10, 0, n), 0);
}

TEST(TimingHistogram, CountsMeanSpreadAndTheWindows) {
  Settings_Defaults(g_settings);
  const uint16_t windows[4] = {20, 40, 60, 80};
  TimingHistogram h;
  Histogram_Build(h, {-10, 10, 20, 40, 40, 80}, windows);
  EXPECT_EQ(h.presses, 6);
  EXPECT_DOUBLE_EQ(h.meanMs, 30);
  EXPECT_NEAR(h.spreadMs, std::sqrt((1600 + 400 + 100 + 100 + 100 + 2500) / 6.0), 1e-9);
  EXPECT_EQ(h.rangeMs, 80) << "the BOO window is the scale";
  EXPECT_EQ(h.counts[Histogram_Bucket(40, 80, kHistogramBuckets)], 2);
  EXPECT_EQ(h.counts[kHistogramBuckets - 1], 1);
  EXPECT_EQ(h.peak, 2);
  EXPECT_EQ(Histogram_BucketWindow(h, kHistogramBuckets / 2), 0);
  EXPECT_EQ(Histogram_BucketWindow(h, Histogram_Bucket(30, 80, kHistogramBuckets)), 1);
  EXPECT_EQ(Histogram_BucketWindow(h, Histogram_Bucket(-50, 80, kHistogramBuckets)), 2);
  EXPECT_EQ(Histogram_BucketWindow(h, 0), 3);

  Histogram_Build(h, {}, windows);
  EXPECT_EQ(h.presses, 0);
  EXPECT_EQ(h.peak, 0);
  EXPECT_DOUBLE_EQ(h.spreadMs, 0);
  const uint16_t unset[4] = {0, 0, 0, 0};
  g_settings.windows[3] = 120;
  Histogram_Build(h, {}, unset);
  EXPECT_EQ(h.rangeMs, 120) << "a record without windows takes the settings'";
}

TEST(TimingHistogram, OfAPlayedChartOnlyThePressedSteps) {
  Settings_Defaults(g_settings);
  // 6 notes: pressed at -30, 0, 20 and 100 (GOOD) ms; notes 4 and 5 missed
  const std::vector<int> late[2] = {{-30, 0, 20, 100}, {}};
  PlayInto(6, 2, late);
  TimingHistogram h;
  Histogram_OfPlayer(h, g_players[0]);
  EXPECT_EQ(h.presses, 4);
  EXPECT_NEAR(h.meanMs, (-30 + 0 + 20 + 100) / 4.0, 1e-9) << "positive is late";
  EXPECT_EQ(h.counts[Histogram_Bucket(100, 140, kHistogramBuckets)], 1);
  for (Player& p : g_players) Chart_Free(p);
  Players_Reset();
}

TEST(LifeGraph, TheLineFromFullAtTheTopToDeadOnTheFloorWithTheAreaBelowShaded) {
  EXPECT_EQ(LifeGraph_Row(1700, 36), 0);
  EXPECT_EQ(LifeGraph_Row(-100, 36), 35);
  EXPECT_EQ(LifeGraph_Row(850, 35), 17);
  std::vector<int16_t> rising = {0, 1000, 1700};
  EXPECT_DOUBLE_EQ(LifeGraph_LifeAt(rising, 1, 5), 500);
  EXPECT_DOUBLE_EQ(LifeGraph_LifeAt(rising, 3, 5), 1350);
  EXPECT_DOUBLE_EQ(LifeGraph_LifeAt(rising, 9, 5), 1700);

  Image im;
  EXPECT_FALSE(LifeGraph_Make(im, {}, 50, 20, 0x3366FF));
  std::vector<int16_t> trace(40, 1700);   // full for the first half, dead for the second
  for (int i = 20; i < 40; i++) trace[i] = -100;
  ASSERT_TRUE(LifeGraph_Make(im, trace, 40, 20, 0x3366FF));
  EXPECT_EQ(im.PixelAt(5, 0), 0xFF3366FFu) << "the line at the top";
  EXPECT_GT(im.PixelAt(5, 10) >> 24, 0u);
  EXPECT_LT(im.PixelAt(5, 10) >> 24, 0xFFu) << "shaded below it";
  EXPECT_EQ(im.PixelAt(35, 19), 0xFF3366FFu) << "the line on the floor";
  EXPECT_EQ(im.PixelAt(35, 5) >> 24, 0u) << "nothing above it";
  EXPECT_EQ(im.PixelAt(20, 10) >> 24, 0xFFu) << "the fall is joined";
}

TEST(EvaluationTexts, TheTimeOfThePlayAndItsFlags) {
  char t[16];
  Evaluation_TimeText(95123, t, sizeof t);
  EXPECT_STREQ(t, "01:35:123");
  Evaluation_TimeText(-2500, t, sizeof t);
  EXPECT_STREQ(t, "00:00:000");
  Evaluation_TimeText(100.0 * 60000, t, sizeof t);
  EXPECT_STREQ(t, "99:00:000") << "two digits of minutes";
  char f[64];
  Evaluation_FlagsText(PlayFlags{}, f, sizeof f);
  EXPECT_STREQ(f, "");
  Evaluation_FlagsText(PlayFlags{true, false, true}, f, sizeof f);
  EXPECT_STREQ(f, "Song Paused  Speed Altered");
  Evaluation_FlagsText(PlayFlags{true, true, true}, f, 20);
  EXPECT_STREQ(f, "Song Paused  Autopl") << "cut to the field";
}
}  // namespace
