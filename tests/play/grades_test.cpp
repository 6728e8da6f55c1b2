#include "play/grades.h"
#include <gtest/gtest.h>

TEST(Grades, TheEdgesOfEachGrade) {
  EXPECT_EQ(Grade_Of(100), 1);
  EXPECT_EQ(Grade_Of(99.9991), 1);
  EXPECT_EQ(Grade_Of(99.999), 2) << "AAA is above 99.999 only";
  EXPECT_EQ(Grade_Of(93.0), 2);
  EXPECT_EQ(Grade_Of(92.99), 3);
  EXPECT_EQ(Grade_Of(80), 3);
  EXPECT_EQ(Grade_Of(79.99), 4);
  EXPECT_EQ(Grade_Of(65), 4);
  EXPECT_EQ(Grade_Of(64.99), 5);
  EXPECT_EQ(Grade_Of(45), 5);
  EXPECT_EQ(Grade_Of(44.99), 6);
  EXPECT_EQ(Grade_Of(20.1), 6);
  EXPECT_EQ(Grade_Of(20), 7) << "D is above 20 only";
  EXPECT_EQ(Grade_Of(-35), 7);
}

TEST(Grades, PercentFromDancePointsAtTheEdges) {
  EXPECT_EQ(Grade_Of(Grade_Percent(93, 100)), 2);
  EXPECT_EQ(Grade_Of(Grade_Percent(9299, 10000)), 3);
  EXPECT_EQ(Grade_Of(Grade_Percent(99999, 100000)), 2);
  EXPECT_EQ(Grade_Of(Grade_Percent(100000, 100000)), 1);
  EXPECT_EQ(Grade_Of(Grade_Percent(201, 1000)), 6);
  EXPECT_EQ(Grade_Of(Grade_Percent(200, 1000)), 7);
  EXPECT_DOUBLE_EQ(Grade_Percent(-40, 80), -50.0);
  // a chart without judged records has no maximum: 0.0 %, grade E
  EXPECT_DOUBLE_EQ(Grade_Percent(0, 0), 0.0);
  EXPECT_DOUBLE_EQ(Grade_Percent(12, 0), 0.0);
  EXPECT_EQ(Grade_Of(Grade_Percent(12, 0)), 7);
  EXPECT_STREQ(Grade_Name(1), "AAA");
  EXPECT_STREQ(Grade_Name(7), "E");
  EXPECT_STREQ(Grade_Name(0), "");
  EXPECT_STREQ(Grade_Name(8), "");
}
