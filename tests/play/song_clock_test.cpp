#include "play/song_clock.h"
#include <gtest/gtest.h>

TEST(SongClock, PreRollRunsOnWallTimeAtTheRateStep) {
  SongClock c;
  SongClock_Begin(c, -3500, 5, 1000);
  EXPECT_DOUBLE_EQ(SongClock_Update(c, 1100, -1, false), -3400);
  SongClock_Begin(c, -3500, 7, 1000);  // 1.2 x
  EXPECT_DOUBLE_EQ(SongClock_Update(c, 1100, -1, false), -3380);
  EXPECT_DOUBLE_EQ(Rate_Factor(1), 0.6);
  EXPECT_DOUBLE_EQ(Rate_Factor(9), 1.4);
}

TEST(SongClock, PlayingStreamDrivesTheClockAndBadReadingsKeepIt) {
  SongClock c;
  SongClock_Begin(c, 0, 5, 0);
  SongClock_Update(c, 10, 5, true);
  EXPECT_DOUBLE_EQ(c.ms, 5);
  EXPECT_TRUE(c.onStream);
  SongClock_Update(c, 20, -1, true);  // a failed reading keeps the last value
  EXPECT_DOUBLE_EQ(c.ms, 5);
  SongClock_Update(c, 30, 25.5, true);
  EXPECT_DOUBLE_EQ(c.ms, 25.5);
}

TEST(SongClock, WallTimeRunsUntilTheStreamGivesAPosition) {
  SongClock c;
  SongClock_Begin(c, -20, 5, 0);
  SongClock_Update(c, 10, -1, true);  // started, no position yet: the lead-in carries on
  EXPECT_DOUBLE_EQ(c.ms, -10);
  EXPECT_FALSE(c.onStream);
  SongClock_Update(c, 30, 12, true);
  EXPECT_DOUBLE_EQ(c.ms, 12);
  SongClock_Update(c, 60, 12, true);  // a stalled stream holds the clock
  EXPECT_DOUBLE_EQ(c.ms, 12);
}

TEST(SongClock, PressesReadEarlierInTheFrameGetTheirOwnTime) {
  SongClock c;
  SongClock_Begin(c, 0, 5, 0);
  SongClock_Update(c, 100, 1000, true);
  EXPECT_DOUBLE_EQ(SongClock_At(c, 96), 996);
  EXPECT_DOUBLE_EQ(SongClock_At(c, 150), 1000);  // never later than the frame's clock
  c.rateStep = 7;
  EXPECT_DOUBLE_EQ(SongClock_At(c, 90), 988);
}
