#include "media/background/movie_player.h"
#include "platform/locks.h"
#include "platform/log.h"
#include "support/movie_writer.h"
#include "support/test_support.h"
#include <gtest/gtest.h>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {
constexpr uint32_t kRed = 0xE02020, kGreen = 0x20E020, kBlue = 0x2020E0, kWhite = 0xF0F0F0;

std::vector<std::string> g_lines;
void keepLine(const char* line) { g_lines.push_back(line); }

bool logged(const std::string& part) {
  for (const auto& l : g_lines)
    if (l.find(part) != std::string::npos) return true;
  return false;
}

// The colour of the frame picture's middle, within what the codec keeps.
::testing::AssertionResult showsColour(const MoviePlayer& m, uint32_t want) {
  uint32_t got = m.frame.PixelAt(m.frameWidth / 2, m.frameHeight / 2) & 0xFFFFFF;
  for (int s = 0; s < 24; s += 8) {
    int a = (int)((got >> s) & 255), b = (int)((want >> s) & 255);
    if (std::abs(a - b) > 24)
      return ::testing::AssertionFailure() << std::hex << "shows 0x" << got << ", wanted 0x" << want;
  }
  return ::testing::AssertionSuccess();
}

class MoviePlayerTest : public ::testing::Test {
 protected:
  TempDir dir;
  void SetUp() override {
    Movie_Init();
    g_lines.clear();
    Log_SetListener(keepLine);
  }
  void TearDown() override { Log_SetListener(nullptr); }
  // Red, green, blue, white: a second each at 10 frames a second.
  std::string colourMovie(int w, int h) {
    std::string path = dir.path + "/colours.avi";
    EXPECT_TRUE(WriteColourMovie(path, w, h, 10, {kRed, kGreen, kBlue, kWhite}));
    return path;
  }
};
}  // namespace

TEST(MovieFrameSize, FollowsTheQualityRule) {
  int32_t w = 0, h = 0;
  Movie_FrameSize(40, 30, 0, &w, &h);  // 1200 pixels: full size whatever the quality
  EXPECT_EQ(40, w);
  EXPECT_EQ(30, h);
  Movie_FrameSize(320, 240, 50, &w, &h);  // 76800 pixels: the quality itself
  EXPECT_EQ(160, w);
  EXPECT_EQ(120, h);
  Movie_FrameSize(640, 480, 30, &w, &h);
  EXPECT_EQ(192, w);
  EXPECT_EQ(144, h);
  // In between the quality rises toward 100: 19200 pixels at 50 give 88.
  Movie_FrameSize(160, 120, 50, &w, &h);
  EXPECT_EQ(140, w);
  EXPECT_EQ(105, h);
  Movie_FrameSize(41, 30, 50, &w, &h);  // 1230 pixels: 99
  EXPECT_EQ(40, w);
  EXPECT_EQ(29, h);
  Movie_FrameSize(160, 120, 100, &w, &h);
  EXPECT_EQ(160, w);
  EXPECT_EQ(120, h);
}

TEST(MovieFrameSize, KeepsEachSideAtLeastEight) {
  int32_t w = 0, h = 0;
  Movie_FrameSize(4, 2, 50, &w, &h);
  EXPECT_EQ(8, w);
  EXPECT_EQ(8, h);
  Movie_FrameSize(2000, 40, 10, &w, &h);  // 80000 pixels at 10 per cent
  EXPECT_EQ(200, w);
  EXPECT_EQ(8, h);
  Movie_FrameSize(320, 240, 0, &w, &h);
  EXPECT_EQ(8, w);
  EXPECT_EQ(8, h);
  Movie_FrameSize(0, -5, 50, &w, &h);
  EXPECT_EQ(8, w);
  EXPECT_EQ(8, h);
  Movie_FrameSize(16000, 12000, 10, &w, &h);  // huge: no overflow
  EXPECT_EQ(1600, w);
  EXPECT_EQ(1200, h);
  Movie_FrameSize(640, 480, 250, &w, &h);  // the quality is at most 100
  EXPECT_EQ(640, w);
  EXPECT_EQ(480, h);
}

TEST(MovieFiles, KnowsTheMovieEndingsInAnyCase) {
  for (const char* n : {"a.avi", "b.MPG", "c.mpeg", "d.Mp4", "e.m4v", "f.mkv", "g.webm", "h.ogv", "i.MOV", "j.wmv",
                        "k.flv", "dir.x/clip.AVI"})
    EXPECT_TRUE(Movie_IsMovieFile(n)) << n;
  for (const char* n : {"a.png", "b.ogg", "c.mp3", "avi", ".avi", "clip.avi.txt", "d.mp", ""})
    EXPECT_FALSE(Movie_IsMovieFile(n)) << n;
  EXPECT_FALSE(Movie_IsMovieFile(nullptr));
}

TEST_F(MoviePlayerTest, OpensWithLengthSizesAndSteps) {
  MoviePlayer m;
  ASSERT_TRUE(m.Open(colourMovie(320, 240).c_str(), 50, false));
  EXPECT_TRUE(m.open);
  EXPECT_EQ(4000, m.lengthMs);
  EXPECT_EQ(320, m.movieWidth);
  EXPECT_EQ(240, m.movieHeight);
  EXPECT_EQ(160, m.frameWidth);
  EXPECT_EQ(120, m.frameHeight);
  EXPECT_EQ(512u, m.stepX);
  EXPECT_EQ(512u, m.stepY);
  EXPECT_TRUE(m.frame.loaded);
  EXPECT_EQ(160, m.frame.pictureWidth);
  EXPECT_EQ(120, m.frame.pictureHeight);
  EXPECT_EQ(255, m.frame.alpha);
  EXPECT_FALSE(m.frame.pixelAlpha);
  EXPECT_TRUE(showsColour(m, kRed));  // the first frame is there at once
  EXPECT_EQ(0xFFu, m.frame.pixels[0] >> 24);
}

TEST_F(MoviePlayerTest, SmallMovieKeepsNearlyFullSize) {
  MoviePlayer m;
  ASSERT_TRUE(m.Open(colourMovie(64, 48).c_str(), 50, false));
  int32_t w = 0, h = 0;
  Movie_FrameSize(64, 48, 50, &w, &h);
  EXPECT_EQ(w, m.frameWidth);
  EXPECT_EQ(h, m.frameHeight);
  EXPECT_EQ((uint32_t)(64 * 256 / w), m.stepX);
  EXPECT_EQ((uint32_t)(48 * 256 / h), m.stepY);
}

TEST_F(MoviePlayerTest, ShowsTheFrameForEachTimeLoopingAndGoingBack) {
  MoviePlayer m;
  ASSERT_TRUE(m.Open(colourMovie(64, 48).c_str(), 100, false));
  struct Step {
    int64_t t;
    uint32_t colour;
  };
  // forward, past the end (loops), back, a long jump ahead, before zero
  for (Step s : std::vector<Step>{{0, kRed},       {550, kRed},     {1050, kGreen}, {2500, kBlue},
                                  {3950, kWhite},  {4100, kRed},    {5500, kGreen}, {1200, kGreen},
                                  {200, kRed},     {3500, kWhite},  {10500, kBlue}, {-500, kWhite},
                                  {40000, kRed}}) {
    EXPECT_TRUE(m.Frame(s.t, true)) << s.t;
    EXPECT_TRUE(showsColour(m, s.colour)) << "at " << s.t;
  }
}

TEST_F(MoviePlayerTest, FindsFramesFarFromAnyKeyFrame) {
  // One key frame for the whole movie: every seek lands on it and decodes on.
  const uint32_t colours[] = {kRed, kGreen, kBlue, kWhite};
  ASSERT_TRUE(WriteTestMovie("one-key.avi", 64, 48, 10, 40, [&](int f, uint32_t* px, int w, int h) {
    for (int i = 0; i < w * h; i++) px[i] = colours[f / 10];
  }, 2, 1000));
  MoviePlayer m;
  ASSERT_TRUE(m.Open("one-key.avi", 100, false));
  for (int64_t t : {3500, 1500, 2500, 500, 3900, 1000}) {
    ASSERT_TRUE(m.Frame(t, true));
    EXPECT_TRUE(showsColour(m, colours[t / 1000])) << t;
  }
}

TEST_F(MoviePlayerTest, TellsWhenTheNextFrameIsDue) {
  MoviePlayer m;
  ASSERT_TRUE(m.Open(colourMovie(64, 48).c_str(), 100, false));
  ASSERT_TRUE(m.Frame(1050, true));
  EXPECT_EQ(1100, m.nextFrameMs);
  ASSERT_TRUE(m.Frame(1060, true));  // the same frame: nothing new to decode
  EXPECT_EQ(1100, m.nextFrameMs);
  ASSERT_TRUE(m.Frame(3990, true));  // the last frame: the loop starts next
  EXPECT_EQ(4000, m.nextFrameMs);
  ASSERT_TRUE(m.Frame(8030, true));  // in the caller's time, not the movie's
  EXPECT_EQ(8100, m.nextFrameMs);
}

TEST_F(MoviePlayerTest, SkipsTheCopyWhenTheFrameLockIsHeld) {
  MoviePlayer m;
  ASSERT_TRUE(m.Open(colourMovie(64, 48).c_str(), 100, false));
  std::mutex m1;
  std::unique_lock<std::mutex> go(m1);
  std::thread holder([&] {
    std::lock_guard<std::timed_mutex> hold(g_movieLock);
    std::lock_guard<std::mutex> wait(m1);  // until the test has tried
  });
  while (g_movieLock.try_lock()) {  // until the other thread holds it
    g_movieLock.unlock();
    std::this_thread::yield();
  }
  EXPECT_FALSE(m.Frame(1500, false));
  EXPECT_TRUE(showsColour(m, kRed));  // untouched
  go.unlock();
  holder.join();
  EXPECT_TRUE(m.Frame(1500, false));  // the frame decoded before is copied now
  EXPECT_TRUE(showsColour(m, kGreen));
}

TEST_F(MoviePlayerTest, AlphaPictureStaysOpaque) {
  MoviePlayer m;
  ASSERT_TRUE(m.Open(colourMovie(64, 48).c_str(), 100, true));
  EXPECT_TRUE(m.frame.pixelAlpha);
  ASSERT_TRUE(m.Frame(2500, true));
  EXPECT_TRUE(showsColour(m, kBlue));
  for (int i = 0; i < m.frame.surfaceWidth * m.frame.surfaceHeight; i++) ASSERT_EQ(0xFFu, m.frame.pixels[i] >> 24);
  m.frame.SetAlpha(128);  // a fade on top keeps working with new frames
  ASSERT_TRUE(m.Frame(3500, true));
  EXPECT_EQ(128u, m.frame.pixels[0] >> 24);
}

TEST_F(MoviePlayerTest, CloseFreesTheFrame) {
  MoviePlayer m;
  ASSERT_TRUE(m.Open(colourMovie(64, 48).c_str(), 100, false));
  m.Close();
  EXPECT_FALSE(m.open);
  EXPECT_FALSE(m.frame.loaded);
  EXPECT_EQ(nullptr, m.frame.pixels);
  EXPECT_FALSE(m.Frame(100, true));
  m.Close();  // twice is harmless
  ASSERT_TRUE(m.Open(colourMovie(64, 48).c_str(), 100, false));  // and it opens again
  EXPECT_TRUE(m.Frame(2500, true));
}

TEST_F(MoviePlayerTest, RefusesBadFilesWithALogLine) {
  std::string good = colourMovie(64, 48);
  std::string bytes = ReadFile(good);
  WriteFile("empty.avi", "");
  WriteFile("head.avi", bytes.substr(0, 100));
  std::string noise(20000, '\0');
  uint32_t x = 12345;
  for (auto& c : noise) c = (char)((x = x * 1103515245u + 12345u) >> 24);
  WriteFile("noise.avi", noise);
  // A WAV file: sound only
  std::string wav = "RIFF....WAVEfmt ";
  auto put32 = [&](uint32_t v) { for (int i = 0; i < 4; i++) wav += (char)(v >> (8 * i)); };
  auto put16 = [&](uint16_t v) { wav += (char)v, wav += (char)(v >> 8); };
  put32(16), put16(1), put16(1), put32(8000), put32(16000), put16(2), put16(16);
  wav += "data";
  put32(16000);
  wav += std::string(16000, '\0');
  WriteFile("sound.avi", wav);

  struct Case {
    const char* file;
    const char* line;
  };
  for (Case c : {Case{"missing.avi", "cannot open"}, Case{"empty.avi", "cannot open"}, Case{"head.avi", "Movie '"},
                 Case{"noise.avi", "Movie '"}, Case{"sound.avi", "no video stream"}, Case{"", "Movie ''"},
                 Case{"http://127.0.0.1:9/clip.avi", "cannot open"}}) {
    g_lines.clear();
    MoviePlayer m;
    EXPECT_FALSE(m.Open(c.file, 50, false)) << c.file;
    EXPECT_FALSE(m.open);
    EXPECT_FALSE(m.frame.loaded);
    EXPECT_TRUE(logged(c.line)) << c.file;
    EXPECT_FALSE(m.Frame(500, true));
  }
}

TEST_F(MoviePlayerTest, TruncatedMovieLoopsAtWhatItHolds) {
  // Busy texture on the left keeps the frames big, so that half the file is
  // about half the frames: red and green, no blue or white.
  const uint32_t colours[] = {kRed, kGreen, kBlue, kWhite};
  ASSERT_TRUE(WriteTestMovie("whole.avi", 160, 120, 10, 40, [&](int f, uint32_t* px, int w, int h) {
    uint32_t x = 99u + (uint32_t)f;
    for (int i = 0; i < w * h; i++) px[i] = i % w < w / 4 ? (x = x * 1103515245u + 12345u) >> 8 : colours[f / 10];
  }));
  std::string bytes = ReadFile("whole.avi");
  WriteFile("half.avi", bytes.substr(0, bytes.size() / 2));
  MoviePlayer m;
  ASSERT_TRUE(m.Open("half.avi", 100, false));
  EXPECT_LE(m.lengthMs, 4000);
  bool sawGreen = false, backToRed = false;
  for (int64_t t = 0; t < 12000; t += 100) {
    ASSERT_TRUE(m.Frame(t, true)) << t;
    ASSERT_FALSE(showsColour(m, kBlue) || showsColour(m, kWhite)) << t;
    sawGreen = sawGreen || showsColour(m, kGreen);
    backToRed = backToRed || (t >= 2000 && t < 4000 && showsColour(m, kRed));
  }
  EXPECT_TRUE(sawGreen);
  EXPECT_TRUE(backToRed);  // it looped before the length the header gave
}

TEST_F(MoviePlayerTest, RefusesHugeMovies) {
  std::string path = dir.path + "/wide.avi";
  ASSERT_TRUE(WriteTestMovie(path, 4112, 16, 10, 2, [](int, uint32_t* px, int w, int h) {
    for (int i = 0; i < w * h; i++) px[i] = 0x808080;
  }));
  MoviePlayer m;
  EXPECT_FALSE(m.Open(path.c_str(), 100, false));
  EXPECT_TRUE(logged("too large"));
}
