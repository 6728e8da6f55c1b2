#include "play/grades.h"
#include <gtest/gtest.h>

TEST(Grades, TheEdgesOfEachGradeAndTheEmptyChart) {
  const std::pair<double, int> edges[] = {{100, 1},  {99.9991, 1}, {99.999, 2}, {93.0, 2}, {92.99, 3}, {80, 3},
                                          {79.99, 4}, {65, 4},     {64.99, 5},  {45, 5},   {44.99, 6}, {20.1, 6},
                                          {20, 7},    {-35, 7}};
  for (auto [percent, grade] : edges) EXPECT_EQ(Grade_Of(percent), grade) << percent;
  EXPECT_EQ(Grade_Of(Grade_Percent(9299, 10000)), 3);
  EXPECT_EQ(Grade_Of(Grade_Percent(99999, 100000)), 2) << "exactly 99.999 is AA";
  EXPECT_EQ(Grade_Of(Grade_Percent(200, 1000)), 7) << "exactly 20 is E";
  // a chart without judged records has no maximum: 0.0 %
  EXPECT_DOUBLE_EQ(Grade_Percent(12, 0), 0.0);
  EXPECT_STREQ(Grade_Name(1), "AAA");
  EXPECT_STREQ(Grade_Name(7), "E");
  EXPECT_STREQ(Grade_Name(8), "");
}
