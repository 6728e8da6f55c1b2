// The random-background movie Movies/Random/tv-drift.avi: the game's own movie
// player opens it at 640 x 480 for eight seconds, it stays small, dark enough
// to read arrows on, and its last frame runs into its first without a jump.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "content_helpers.h"
#include "media/background/movie_player.h"

namespace {
const std::string kMovie = GamePath("Movies/Random/tv-drift.avi");

// Mean brightness (0..255) of the frame picture.
double MeanLevel(const MoviePlayer& m) {
  double sum = 0;
  for (int y = 0; y < m.frameHeight; y += 2)
    for (int x = 0; x < m.frameWidth; x += 2) {
      uint32_t c = m.frame.PixelAt(x, y);
      sum += (((c >> 16) & 255) + ((c >> 8) & 255) + (c & 255)) / 3.0;
    }
  return sum / ((m.frameHeight / 2) * (m.frameWidth / 2));
}

// Mean difference per colour channel between the frames shown at two times.
double Difference(MoviePlayer& m, int64_t a, int64_t b) {
  std::vector<uint32_t> first;
  EXPECT_TRUE(m.Frame(a, true));
  first.assign(m.frame.pixels, m.frame.pixels + m.frameWidth * m.frameHeight);
  EXPECT_TRUE(m.Frame(b, true));
  double sum = 0;
  for (size_t i = 0; i < first.size(); i++)
    for (int s = 0; s < 24; s += 8) sum += std::abs((int)((first[i] >> s) & 255) - (int)((m.frame.pixels[i] >> s) & 255));
  return sum / (first.size() * 3.0);
}

TEST(ContentMovie, OpensAtFullSizeForEightSecondsAndStaysSmall) {
  ASSERT_TRUE(std::filesystem::exists(kMovie));
  EXPECT_LT(std::filesystem::file_size(kMovie), 3u * 1024 * 1024);
  Movie_Init();
  MoviePlayer m;
  ASSERT_TRUE(m.Open(kMovie.c_str(), 100, false));
  EXPECT_EQ(640, m.movieWidth);
  EXPECT_EQ(480, m.movieHeight);
  EXPECT_EQ(640, m.frameWidth);
  EXPECT_EQ(8000, m.lengthMs);
  for (int64_t t : {0, 2000, 4000, 6000}) {
    ASSERT_TRUE(m.Frame(t, true));
    double level = MeanLevel(m);
    EXPECT_GT(level, 12) << t;  // something to see
    EXPECT_LT(level, 90) << t;  // arrows stay readable on top
  }
}

TEST(ContentMovie, LoopsWithoutASeam) {
  Movie_Init();
  MoviePlayer m;
  ASSERT_TRUE(m.Open(kMovie.c_str(), 50, false));
  // Steps onto a key frame (one a second) and between two others.
  double step = std::max({Difference(m, 980, 1010), Difference(m, 3980, 4010), Difference(m, 7900, 7934)});
  double seam = Difference(m, 7980, 8010);  // the last frame, then the first
  EXPECT_GT(step, 0.2);                     // it moves
  EXPECT_LT(seam, step * 1.5);
}
}  // namespace
