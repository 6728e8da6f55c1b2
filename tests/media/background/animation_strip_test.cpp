// Animation strips: the key rule, the frame cut and the frame shown over time.
#include <gtest/gtest.h>
#include <FreeImage.h>
#include <string>
#include <vector>
#include "media/background/animation_strip.h"
#include "platform/log.h"
#include "support/test_support.h"

namespace {
std::vector<std::string> g_log;
void Listen(const char* line) { g_log.push_back(line); }

// A 32-bit PNG whose pixel (x, y), counted from the top, is argb(x, y).
void WriteArgbPicture(const std::string& path, int w, int h, uint32_t (*argb)(int, int)) {
  FIBITMAP* d = FreeImage_Allocate(w, h, 32);
  for (int y = 0; y < h; y++) {
    uint32_t* row = (uint32_t*)FreeImage_GetScanLine(d, h - 1 - y);
    for (int x = 0; x < w; x++) row[x] = argb(x, y);
  }
  FreeImage_Save(FIF_PNG, d, path.c_str());
  FreeImage_Unload(d);
}

// Three frames of 4 x 2: red, green, blue; the bottom-left pixel is black.
uint32_t FrameColour(int x, int y) {
  if (x == 0 && y == 5) return 0x000000;
  return y < 2 ? 0xFF0000u : y < 4 ? 0x00FF00u : 0x0000FFu;
}

class Strip : public ::testing::Test {
 protected:
  TempDir dir;
  AnimationStrip strip;
  const uint16_t durations[3] = {100, 200, 300};
  void SetUp() override {
    WritePicture("strip.png", 4, 6, FrameColour);
    Log_SetListener(Listen);
    g_log.clear();
  }
  void TearDown() override { Log_SetListener(nullptr); }
  uint32_t Shown() const { return strip.image.PixelAt(1, 0) & 0xFFFFFF; }
};

TEST_F(Strip, KeyedByBottomLeftPixel) {
  ASSERT_TRUE(strip.Load("strip.png", 1, 3, durations, true));
  EXPECT_EQ(strip.frameWidth, 4);
  EXPECT_EQ(strip.frameHeight, 2);
  // the key colour is transparent black wherever it is, the rest opaque
  uint32_t bottomLeft = ((uint32_t*)FreeImage_GetScanLine(strip.picture, 0))[0];
  EXPECT_EQ(bottomLeft, 0u);
  EXPECT_EQ(strip.image.PixelAt(1, 0) >> 24, 255u);
  ASSERT_TRUE(strip.Select(301));
  EXPECT_EQ(strip.image.PixelAt(0, 1), 0u);

  // without the key every pixel shows
  ASSERT_TRUE(strip.Load("strip.png", 1, 3, durations, false));
  ASSERT_TRUE(strip.Select(301));
  EXPECT_EQ(strip.image.PixelAt(0, 1), 0xFF000000u);
}

TEST_F(Strip, ThirtyTwoBitPictureKeepsItsAlphaWithTheKey) {
  WriteArgbPicture("glow.png", 2, 4, [](int x, int y) -> uint32_t { return (uint32_t)(x * 100 + y * 20) << 24 | 0xFFFFFF; });
  ASSERT_TRUE(strip.Load("glow.png", 1, 2, durations, true));
  EXPECT_EQ(strip.image.PixelAt(1, 1) >> 24, 120u);
  EXPECT_EQ(strip.image.PixelAt(0, 0) >> 24, 0u);
  ASSERT_TRUE(strip.Load("glow.png", 1, 2, durations, false));
  EXPECT_EQ(strip.image.PixelAt(0, 0) >> 24, 255u);
}

TEST_F(Strip, RefusesWhatItCannotCut) {
  EXPECT_FALSE(strip.Load("strip.png", 1, 7, durations, false));   // 6 rows for 7 frames
  EXPECT_FALSE(strip.loaded);
  EXPECT_EQ(strip.picture, nullptr);
  ASSERT_FALSE(g_log.empty());
  EXPECT_NE(g_log.back().find("too short for 7 frames"), std::string::npos);
  EXPECT_FALSE(strip.Load("missing.png", 1, 1, durations, false));
  EXPECT_FALSE(strip.Load("strip.gif", 1, 1, durations, false));
  EXPECT_FALSE(strip.Select(0));
  EXPECT_FALSE(strip.Draw(0));
}

TEST_F(Strip, FrameAtCumulativeDurationsAndLooping) {
  ASSERT_TRUE(strip.Load("STRIP.PNG", 1, 3, durations, false));   // found without regard to case
  EXPECT_EQ(strip.totalMs, 600u);
  struct { int64_t t; int frame; uint32_t colour; } steps[] = {
      {0, 0, 0xFF0000}, {100, 0, 0xFF0000}, {101, 1, 0x00FF00}, {300, 1, 0x00FF00}, {301, 2, 0x0000FF},
      {599, 2, 0x0000FF}, {600, 0, 0xFF0000}, {750, 1, 0x00FF00}, {-1, 2, 0x0000FF}, {6000000001, 0, 0xFF0000}};
  for (auto& s : steps) {
    ASSERT_TRUE(strip.Select(s.t)) << s.t;
    EXPECT_EQ(strip.currentFrame, s.frame) << s.t;
    EXPECT_EQ(Shown(), s.colour) << s.t;
  }
}

TEST_F(Strip, ScaleAndZeroDurations) {
  const uint16_t some[2] = {0, 5};
  ASSERT_TRUE(strip.Load("strip.png", 2.5f, 2, some, false));
  EXPECT_EQ(strip.frameHeight, 3);
  EXPECT_EQ(strip.image.width, 10);
  EXPECT_EQ(strip.image.height, 7);
  EXPECT_EQ(strip.image.pictureWidth, 4);   // the pixels are cut at their own size
  EXPECT_EQ(strip.totalMs, 6u);   // a frame of no time still lasts a millisecond
  ASSERT_TRUE(strip.Select(1));
  EXPECT_EQ(strip.currentFrame, 0);
  ASSERT_TRUE(strip.Select(3));
  EXPECT_EQ(strip.currentFrame, 1);
  EXPECT_EQ(strip.image.width, 10);   // a new cut keeps the drawn size
  strip.Free();
  EXPECT_FALSE(strip.loaded);
  EXPECT_EQ(strip.picture, nullptr);
}

}  // namespace
