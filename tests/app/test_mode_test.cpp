#include "app/test_mode.h"
#include <gtest/gtest.h>

namespace {
bool resolve(const char* style, const char* level, TestSetup& out, int side = 0) {
  TestRequest r;
  r.style = style;
  r.level = level;
  r.side = side;
  return TestMode_Resolve(r, out);
}
}

TEST(TestMode, StylesAndFields) {
  TestSetup s;
  ASSERT_TRUE(resolve("SINGLE", "BASIC", s, 1));
  EXPECT_EQ(s.player, 1);
  EXPECT_EQ(s.panels, 4);
  EXPECT_EQ(s.chartOffset, 0);
  EXPECT_EQ(s.fieldLeft, 175);
  EXPECT_EQ(s.fieldRight, 449);
  ASSERT_TRUE(resolve("DOUBLE", "MANIAC", s, 1));
  EXPECT_EQ(s.player, 0);  // DOUBLE is always player 1
  EXPECT_EQ(s.panels, 8);
  EXPECT_EQ(s.chartOffset, 4);
  EXPECT_EQ(s.fieldLeft, 46);
  EXPECT_EQ(s.fieldRight, 594);
  EXPECT_STREQ(s.styleName, "DOUBLE");
  ASSERT_TRUE(resolve("SOLO", "ANOTHER", s, 1));
  EXPECT_EQ(s.player, 1);
  EXPECT_EQ(s.panels, 6);
  EXPECT_EQ(s.chartOffset, 11);
  EXPECT_EQ(s.fieldLeft, 115);
  EXPECT_EQ(s.fieldRight, 525);
  EXPECT_FALSE(resolve("COUPLE", "BASIC", s));
}

TEST(TestMode, DifficultyWordsBySubstringInOrder) {
  TestSetup s;
  ASSERT_TRUE(resolve("SINGLE", "TRICK", s));
  EXPECT_EQ(s.difficulty, 1);
  ASSERT_TRUE(resolve("SINGLE", "ANOTHER", s));
  EXPECT_EQ(s.difficulty, 1);
  ASSERT_TRUE(resolve("SINGLE", "SMANIAC", s));
  EXPECT_EQ(s.difficulty, 3);
  ASSERT_TRUE(resolve("SINGLE", "MANIAC", s));
  EXPECT_EQ(s.difficulty, 2);
  ASSERT_TRUE(resolve("DOUBLE", "SMANIAC", s));
  EXPECT_FALSE(resolve("SOLO", "SMANIAC", s));
  EXPECT_TRUE(resolve("SOLO", "MANIAC", s));
  EXPECT_FALSE(resolve("SINGLE", "HARD", s));
  EXPECT_FALSE(resolve("SINGLE", "basic", s));  // the words are case-sensitive
}
