#include "play/play_results.h"
#include "support/test_support.h"
#include <gtest/gtest.h>

TEST(Results, OneJsonLinePerPlayerAppended) {
  TempDir dir;
  PlayResult r;
  r.player = 2;
  r.chart = "Songs/Demo/A \"quoted\"\\name\n/x.rkv";
  r.style = "SINGLE";
  r.difficulty = "BASIC";
  r.level = 3;
  r.score = "1234560";
  r.perfect = 10;
  r.miss = 1;
  r.grade = "AA";
  r.percent = 93.25;
  r.life = 0.5;
  r.dead = false;
  ASSERT_TRUE(Results_Append("out/r.json", r) == false);  // no such folder
  ASSERT_TRUE(Results_Append("r.json", r));
  r.player = 1;
  r.dead = true;
  ASSERT_TRUE(Results_Append("r.json", r));
  std::string text = ReadFile("r.json");
  size_t nl = text.find('\n');
  ASSERT_NE(nl, std::string::npos);
  std::string first = text.substr(0, nl);
  EXPECT_EQ(first.front(), '{');
  EXPECT_EQ(first.back(), '}');
  EXPECT_NE(first.find("\"player\":2"), std::string::npos);
  EXPECT_NE(first.find("\"chart\":\"Songs/Demo/A \\\"quoted\\\"\\\\name\\n/x.rkv\""), std::string::npos);
  EXPECT_NE(first.find("\"percent\":93.2500"), std::string::npos);
  EXPECT_NE(first.find("\"dead\":false"), std::string::npos);
  for (const char* k : {"style", "difficulty", "level", "score", "perfect", "great", "good", "boo", "miss", "ok",
                        "ng", "maxCombo", "dancePoints", "maxDancePoints", "grade", "life", "rateStep", "musicMs",
                        "wallMs", "presses", "offsetMeanMs", "offsetMeanAbsMs", "offsetMaxMs"})
    EXPECT_NE(first.find(std::string("\"") + k + "\":"), std::string::npos) << k;
  EXPECT_NE(text.find("\"dead\":true,"), std::string::npos);
  EXPECT_EQ(text.back(), '\n');
  EXPECT_EQ(text[text.size() - 2], '}');
}

TEST(Results, ControlBytesAreEscaped) {
  PlayResult r;
  r.chart = std::string("a\x01" "b\x7f", 4);
  std::string j = Results_ToJson(r);
  EXPECT_NE(j.find("a\\u0001b\\u007f"), std::string::npos);
}
