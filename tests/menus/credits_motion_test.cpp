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
TEST(GameOverOpacity, RisesHoldsAndFallsToNothing) {
  EXPECT_EQ(GameOver_Opacity(0), 0);
  EXPECT_EQ(GameOver_Opacity(100), 51);
  EXPECT_EQ(GameOver_Opacity(499), 254);
  EXPECT_EQ(GameOver_Opacity(500), 255);
  EXPECT_EQ(GameOver_Opacity(2500), 255);
  EXPECT_EQ(GameOver_Opacity(2501), 254);
  EXPECT_EQ(GameOver_Opacity(2998), 1);
  EXPECT_EQ(GameOver_Opacity(3000), 0);
  EXPECT_EQ(GameOver_Opacity(3500), 0);   // never below 0
  EXPECT_EQ(GameOver_Opacity(4000), 0);
}

TEST(CreditsText, LinesRiseAboutAPixelEvery17AndAHalfMs) {
  EXPECT_EQ(Credits_LineY(0, 0), 480);
  EXPECT_EQ(Credits_LineY(1, 0), 479);
  EXPECT_EQ(Credits_LineY(175, 0), 470);
  EXPECT_EQ(Credits_LineY(17500, 0), -520);
  EXPECT_EQ(Credits_LineY(175, 38), 508);   // a line 38 pixels lower
  EXPECT_FALSE(Credits_LineShown(480));
  EXPECT_TRUE(Credits_LineShown(479));
  EXPECT_TRUE(Credits_LineShown(1));
  EXPECT_FALSE(Credits_LineShown(0));
}

TEST(CreditsText, FadeByHeightAtTheBottomAndTheTop) {
  EXPECT_EQ(Credits_TextAlpha(479), 0);
  EXPECT_EQ(Credits_TextAlpha(450), 0);
  EXPECT_EQ(Credits_TextAlpha(449), 8);
  EXPECT_EQ(Credits_TextAlpha(421), 246);
  EXPECT_EQ(Credits_TextAlpha(420), 255);
  EXPECT_EQ(Credits_TextAlpha(30), 255);
  EXPECT_EQ(Credits_TextAlpha(29), 242);
  EXPECT_EQ(Credits_TextAlpha(11), 12);
  EXPECT_EQ(Credits_TextAlpha(10), 0);
  EXPECT_EQ(Credits_TextAlpha(1), 0);   // never below 0
}

TEST(CreditsText, TheClosingComesWhenTheLastLineIsAbove29) {
  EXPECT_EQ(Credits_ClosingTime(0), 7893u);
  EXPECT_EQ(Credits_LineY(7892, 0), 29);
  EXPECT_EQ(Credits_LineY(7893, 0), 28);
  uint32_t t = Credits_ClosingTime(731);
  EXPECT_LT(Credits_LineY(t, 731), 29);
  EXPECT_GE(Credits_LineY(t - 1, 731), 29);
  EXPECT_NEAR(t, (451 + 731) * 17.5, 2.0);
}

TEST(CreditsSlides, TheColumnSinksAndMovesUpAPictureWhenTheBottomOneLeaves) {
  SlideColumn c = Credits_SlideColumn(0);
  EXPECT_EQ(c.bottomY, 300);
  EXPECT_EQ(c.bottomIndex, 0);
  c = Credits_SlideColumn(2864);   // 479: still on the screen
  EXPECT_EQ(c.bottomY, 479);
  EXPECT_EQ(c.bottomIndex, 0);
  c = Credits_SlideColumn(2880);   // 480: off; the one above becomes the bottom
  EXPECT_EQ(c.bottomY, 300);
  EXPECT_EQ(c.bottomIndex, 15);
  c = Credits_SlideColumn(5744);
  EXPECT_EQ(c.bottomY, 479);
  EXPECT_EQ(c.bottomIndex, 15);
  c = Credits_SlideColumn(5760);
  EXPECT_EQ(c.bottomY, 300);
  EXPECT_EQ(c.bottomIndex, 14);
  c = Credits_SlideColumn(16 * 2880);   // sixteen pictures on: round again
  EXPECT_EQ(c.bottomY, 300);
  EXPECT_EQ(c.bottomIndex, 0);
  c = Credits_SlideColumn(17 * 2880 + 160);
  EXPECT_EQ(c.bottomY, 310);
  EXPECT_EQ(c.bottomIndex, 15);
}

TEST(CreditsSlides, NoSongTwiceWithinEachRunOfAsManyPicksAsSongs) {
  for (int songs : {1, 2, 3, 5, 7, 15, 16, 17, 40, 5000}) {
    std::set<int> seenOverSeeds;
    for (uint32_t game = 1; game <= 60; game++) {
      uint32_t seed = game * 0x9E3779B9u;
      Random_Seed(seed);
      int slides[kCreditsSlides];
      Credits_PickSlides(songs, slides);
      for (int run = 0; run < kCreditsSlides; run += songs) {
        std::set<int> inRun;
        for (int i = run; i < run + songs && i < kCreditsSlides; i++) {
          ASSERT_GE(slides[i], 0) << songs;
          ASSERT_LT(slides[i], songs) << songs;
          EXPECT_TRUE(inRun.insert(slides[i]).second) << songs << " songs, seed " << seed << ", pick " << i;
        }
        // a run short of the 16 picks' end holds every song once
        if (run + songs <= kCreditsSlides) {
          EXPECT_EQ((int)inRun.size(), songs);
        }
      }
      // neighbours in the column are different songs
      for (int i = 1; i < kCreditsSlides && songs > 1; i++) EXPECT_NE(slides[i], slides[i - 1]) << songs << " " << i;
      seenOverSeeds.insert(slides, slides + kCreditsSlides);
    }
    // the picks are random: over 60 games every song of a small library shows, and a large one varies
    if (songs <= 40) {
      EXPECT_EQ((int)seenOverSeeds.size(), songs);
    } else {
      EXPECT_GT((int)seenOverSeeds.size(), 500);
    }
  }
  int slides[kCreditsSlides];
  Credits_PickSlides(0, slides);
  for (int s : slides) EXPECT_EQ(s, -1);
}

TEST(CreditsEnding, TheMusicFadesInAboutOneAndAHalfSecondsAndThePictureGoesBlack) {
  EXPECT_DOUBLE_EQ(Credits_EndingVolume(0), 100.0);
  EXPECT_NEAR(Credits_EndingVolume(756), 50.0, 0.01);
  EXPECT_GE(Credits_EndingVolume(1511), 0.0);
  EXPECT_LT(Credits_EndingVolume(1512), 0.0);   // the music stops and the credits end

  // the fade in from black over the first half second
  EXPECT_EQ(Credits_OverlayAlpha(0, false, 0), 255);
  EXPECT_EQ(Credits_OverlayAlpha(100, false, 0), 205);
  EXPECT_EQ(Credits_OverlayAlpha(510, false, 0), 0);
  EXPECT_EQ(Credits_OverlayAlpha(511, false, 0), 0);
  EXPECT_EQ(Credits_OverlayAlpha(20000, false, 0), 0);
  // the fade to black from a second into the ending
  EXPECT_EQ(Credits_OverlayAlpha(20000, true, 0), 0);
  EXPECT_EQ(Credits_OverlayAlpha(20000, true, 1000), 0);
  EXPECT_EQ(Credits_OverlayAlpha(20000, true, 1200), 100);
  EXPECT_EQ(Credits_OverlayAlpha(20000, true, 1510), 255);
  EXPECT_EQ(Credits_OverlayAlpha(20000, true, 3000), 255);
  // an ending in the first half second keeps the darker of the two
  EXPECT_EQ(Credits_OverlayAlpha(100, true, 50), 205);

  EXPECT_EQ(Credits_ClosingAlpha(0), 0);
  EXPECT_EQ(Credits_ClosingAlpha(750), 127);
  EXPECT_EQ(Credits_ClosingAlpha(1499), 254);
  EXPECT_EQ(Credits_ClosingAlpha(1500), 255);
  EXPECT_EQ(Credits_ClosingAlpha(60000), 255);
}

CreditSources sources() { return CreditSources{"Ann Voice", "Fx Maker", "Mine", "A. Painter"}; }

TEST(CreditsLines, CodesGiveColoursSpacingAndGeneratedLines) {
  CreditLine l[16];
  int n = Credits_ExpandText("1Head|2Sub|aClose|A|S|f|s|0Plain|xOther||a", sources(), l, 16);
  ASSERT_EQ(n, 11);
  const char* texts[] = {"Head", "Sub", "Close", "   Ann Voice", "   Mine Skin", "   Fx Maker", "   A. Painter",
                         "Plain", "Other", "", ""};
  const uint32_t colours[] = {0xFFFF00, 0x00FFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFF00, 0xFFFFFF,
                              0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF};
  const int offsets[] = {0, 38, 61, 99, 137, 175, 213, 251, 289, 327, 350};
  for (int i = 0; i < n; i++) {
    EXPECT_STREQ(l[i].text, texts[i]) << i;
    EXPECT_EQ(l[i].colour, colours[i]) << i;
    EXPECT_EQ(l[i].offset, offsets[i]) << i;
    EXPECT_EQ(l[i].size, 20) << i;
  }
  // credits nobody gave
  CreditSources none{"", nullptr, "Default", ""};
  ASSERT_EQ(Credits_ExpandText("A|f|S|s", none, l, 16), 4);
  EXPECT_STREQ(l[0].text, "   (Unknown)");
  EXPECT_STREQ(l[1].text, "   (Unknown)");
  EXPECT_STREQ(l[2].text, "   Default Skin");
  EXPECT_STREQ(l[3].text, "   (Unknown)");
}

TEST(CreditsLines, OnlyThe599CharactersAreReadAndLongLinesAreCut) {
  std::string text;
  for (int i = 0; i < 100; i++) text += "0abcde|";   // 700 characters
  CreditLine l[kCreditsLineMax];
  int n = Credits_ExpandText(text.c_str(), sources(), l, kCreditsLineMax);
  ASSERT_EQ(n, 86);                      // 85 whole lines and "0abc" of the 86th
  EXPECT_STREQ(l[84].text, "abcde");
  EXPECT_STREQ(l[85].text, "abc");
  EXPECT_EQ(Credits_ExpandText(text.c_str(), sources(), l, 5), 5);

  std::string longLine = "1" + std::string(400, 'W');
  ASSERT_EQ(Credits_ExpandText(longLine.c_str(), sources(), l, 4), 1);
  EXPECT_EQ(std::string(l[0].text), std::string(127, 'W'));
  std::string longCredit(300, 'c');
  CreditSources big{longCredit.c_str(), "", "", ""};
  ASSERT_EQ(Credits_ExpandText("A", big, l, 4), 1);
  EXPECT_EQ(strlen(l[0].text), 127u);
}

TEST(CreditsLines, TheGamesOwnTextNamesItsMakersAndLibraries) {
  CreditLine l[kCreditsLineMax];
  int n = Credits_ExpandText(kCreditsText, sources(), l, kCreditsLineMax);
  std::string all;
  int generated = 0;
  for (int i = 0; i < n; i++) {
    all += std::string(l[i].text) + "\n";
    if (!strncmp(l[i].text, "   ", 3)) generated++;
  }
  for (const char* name : {"The Tarvolen developers", "SDL", "FreeImage", "libsndfile", "libsamplerate", "FFTW",
                           "Nettle", "FFmpeg", "Ann Voice", "Mine Skin", "Fx Maker", "A. Painter"})
    EXPECT_NE(all.find(name), std::string::npos) << name;
  EXPECT_EQ(generated, 4);
  EXPECT_LE(strlen(kCreditsText), 599u);
}
}  // namespace
