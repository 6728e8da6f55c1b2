// The timing rules of the end of a game: the game-over words' opacity, the
// credits' scroll, fades, picture column and slideshow picks, and the credits
// text's line codes.
#include "chart/random.h"
#include "menus/credits_motion.h"
#include "menus/credits_text.h"
#include "menus/game_over_screen.h"
#include <gtest/gtest.h>
#include <cstring>
#include <set>
#include <string>

namespace {
TEST(EndTiming, GameOverWordsRiseHoldAndFall) {
  const std::pair<uint32_t, int> at[] = {{0, 0},      {100, 51},  {499, 254}, {500, 255}, {2500, 255},
                                         {2501, 254}, {2998, 1},  {3000, 0},  {4000, 0}};
  for (auto [ms, opacity] : at) EXPECT_EQ(GameOver_Opacity(ms), opacity) << ms;
}

TEST(EndTiming, CreditLinesRiseAndFadeByHeight) {
  EXPECT_EQ(Credits_LineY(0, 0), 480);
  EXPECT_EQ(Credits_LineY(1, 0), 479);
  EXPECT_EQ(Credits_LineY(175, 38), 508);    // about a pixel every 17.5 ms; the next line 38 lower
  EXPECT_EQ(Credits_LineY(17500, 0), -520);
  EXPECT_FALSE(Credits_LineShown(480));
  EXPECT_TRUE(Credits_LineShown(479) && Credits_LineShown(1));
  EXPECT_FALSE(Credits_LineShown(0));
  const std::pair<int, int> alpha[] = {{479, 0}, {450, 0}, {449, 8},  {421, 246}, {420, 255},
                                       {30, 255}, {29, 242}, {11, 12}, {10, 0},    {1, 0}};
  for (auto [y, a] : alpha) EXPECT_EQ(Credits_TextAlpha(y), a) << y;
  // the closing comes with the first time the last line is above y 29
  EXPECT_EQ(Credits_ClosingTime(0), 7893u);
  EXPECT_EQ(Credits_LineY(7892, 0), 29);
  uint32_t t = Credits_ClosingTime(731);
  EXPECT_TRUE(Credits_LineY(t, 731) < 29 && Credits_LineY(t - 1, 731) >= 29);
}

TEST(EndTiming, SlideColumnSinksAndMovesUpAPictureWhenTheBottomOneLeaves) {
  const uint32_t t[] = {0, 2864, 2880, 5744, 5760, 16 * 2880, 17 * 2880 + 160};
  const int y[] = {300, 479, 300, 479, 300, 300, 310};
  const int index[] = {0, 0, 15, 15, 14, 0, 15};
  for (int i = 0; i < 7; i++) {
    SlideColumn c = Credits_SlideColumn(t[i]);
    EXPECT_EQ(c.bottomY, y[i]) << t[i];
    EXPECT_EQ(c.bottomIndex, index[i]) << t[i];
  }
}

TEST(EndTiming, SlidesRepeatNoSongWithinARunNorTwiceInARow) {
  for (int songs : {1, 2, 3, 5, 15, 16, 17, 40, 5000}) {
    std::set<int> seen;
    for (uint32_t game = 1; game <= 60; game++) {
      Random_Seed(game * 0x9E3779B9u);
      int slides[kCreditsSlides];
      Credits_PickSlides(songs, slides);
      for (int run = 0; run < kCreditsSlides; run += songs) {
        std::set<int> inRun;
        for (int i = run; i < run + songs && i < kCreditsSlides; i++) {
          ASSERT_TRUE(slides[i] >= 0 && slides[i] < songs) << songs;
          EXPECT_TRUE(inRun.insert(slides[i]).second) << songs << " songs, game " << game << ", pick " << i;
        }
      }
      for (int i = 1; i < kCreditsSlides && songs > 1; i++) EXPECT_NE(slides[i], slides[i - 1]) << songs;
      seen.insert(slides, slides + kCreditsSlides);
    }
    // random picks: over 60 games a small library shows whole, a large one varies
    EXPECT_GE((int)seen.size(), std::min(songs, 500)) << songs;
  }
  int slides[kCreditsSlides];
  Credits_PickSlides(0, slides);
  for (int s : slides) EXPECT_EQ(s, -1);
}

TEST(EndTiming, EndingFadesTheMusicAndThePictureAndTheClosingFadesIn) {
  EXPECT_DOUBLE_EQ(Credits_EndingVolume(0), 100.0);
  EXPECT_NEAR(Credits_EndingVolume(756), 50.0, 0.01);
  EXPECT_GE(Credits_EndingVolume(1511), 0.0);
  EXPECT_LT(Credits_EndingVolume(1512), 0.0);   // the music stops and the credits end
  // from black over the first half second; to black from a second into the ending
  EXPECT_EQ(Credits_OverlayAlpha(0, false, 0), 255);
  EXPECT_EQ(Credits_OverlayAlpha(100, false, 0), 205);
  EXPECT_EQ(Credits_OverlayAlpha(511, false, 0), 0);
  EXPECT_EQ(Credits_OverlayAlpha(20000, true, 1000), 0);
  EXPECT_EQ(Credits_OverlayAlpha(20000, true, 1200), 100);
  EXPECT_EQ(Credits_OverlayAlpha(20000, true, 1510), 255);
  EXPECT_EQ(Credits_OverlayAlpha(20000, true, 3000), 255);
  EXPECT_EQ(Credits_OverlayAlpha(100, true, 50), 205);   // both at once: the darker
  EXPECT_EQ(Credits_ClosingAlpha(0), 0);
  EXPECT_EQ(Credits_ClosingAlpha(750), 127);
  EXPECT_EQ(Credits_ClosingAlpha(1499), 254);
  EXPECT_EQ(Credits_ClosingAlpha(1500), 255);
}

TEST(EndTiming, CreditCodesGiveColoursSpacingAndGeneratedLines) {
  CreditSources from{"Ann Voice", "Fx Maker", "Mine", "A. Painter"};
  CreditLine l[kCreditsLineMax];
  ASSERT_EQ(Credits_ExpandText("1Head|2Sub|aClose|A|S|f|s|xOther||a", from, l, 16), 10);
  const char* texts[] = {"Head", "Sub", "Close", "   Ann Voice", "   Mine Skin", "   Fx Maker", "   A. Painter",
                         "Other", "", ""};
  const uint32_t colours[] = {0xFFFF00, 0x00FFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFF00,
                              0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF};
  const int offsets[] = {0, 38, 61, 99, 137, 175, 213, 251, 289, 312};
  for (int i = 0; i < 10; i++) {
    EXPECT_STREQ(l[i].text, texts[i]) << i;
    EXPECT_EQ(l[i].colour, colours[i]) << i;
    EXPECT_EQ(l[i].offset, offsets[i]) << i;
    EXPECT_EQ(l[i].size, 20) << i;
  }
  ASSERT_EQ(Credits_ExpandText("A|f", CreditSources{"", nullptr, "Default", ""}, l, 16), 2);
  EXPECT_STREQ(l[1].text, "   (Unknown)");   // a credit nobody gave

  // only the first 599 characters count: 85 whole lines and "0abc"
  std::string text;
  for (int i = 0; i < 100; i++) text += "0abcde|";
  ASSERT_EQ(Credits_ExpandText(text.c_str(), from, l, kCreditsLineMax), 86);
  EXPECT_STREQ(l[85].text, "abc");
  EXPECT_EQ(Credits_ExpandText(text.c_str(), from, l, 5), 5);
  std::string longCredit(300, 'c');
  CreditSources big{longCredit.c_str(), "", "", ""};
  ASSERT_EQ(Credits_ExpandText(("1" + longCredit + "|A").c_str(), big, l, 4), 2);
  EXPECT_EQ(strlen(l[0].text), 127u);
  EXPECT_EQ(strlen(l[1].text), 127u);

  // the game's own text
  int n = Credits_ExpandText(kCreditsText, from, l, kCreditsLineMax);
  std::string all;
  for (int i = 0; i < n; i++) all += std::string(l[i].text) + "\n";
  for (const char* name : {"The Tarvolen developers", "SDL", "FreeImage", "libsndfile", "libsamplerate", "FFTW",
                           "Nettle", "FFmpeg", "Ann Voice", "Mine Skin", "Fx Maker", "A. Painter"})
    EXPECT_NE(all.find(name), std::string::npos) << name;
}
}  // namespace
