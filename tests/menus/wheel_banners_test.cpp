// The wheel's banner cache with good and bad pictures, and the radar painting.
#include <gtest/gtest.h>

#include "media/skin/skin_images.h"
#include "menus/collection_test_util.h"
#include "menus/wheel_banners.h"
#include "menus/wheel_radar.h"
#include "platform/files.h"
#include "support/test_support.h"

#include <cmath>
#include <string>

namespace {
void writePng(const std::string& path, int w, int h, uint32_t rgb) {
  WritePicture(path, w, h, [rgb](int, int) { return rgb; });
}

class WheelBanners : public ::testing::Test {
 protected:
  TempDir dir;
  void SetUp() override {
    LogOff();
    WheelBanners_FreeAll();
    Dir_Create("Songs/Pack/a");
    for (int i = 0; i < 6; i++) writePng("Songs/Pack/a/b" + std::to_string(i) + ".png", 256, 80, 0x3060C0 + i);
  }
  void TearDown() override { WheelBanners_FreeAll(); }
};

TEST_F(WheelBanners, LoadedAsTheyComeIntoViewAFewAFrameAndReleasedAsTheyLeave) {
  auto path = [](int i) { return "Songs/Pack/a/b" + std::to_string(i) + ".png"; };
  static_assert(kBannerLoadsPerFrame < 5);
  // frame 1: the frame's loads are used up by the first ones asked for
  WheelBanners_BeginFrame();
  for (int i = 0; i < kBannerLoadsPerFrame; i++) EXPECT_EQ(WheelBanners_Get(path(i)).state, BANNER_READY) << i;
  EXPECT_EQ(WheelBanners_Get(path(kBannerLoadsPerFrame)).state, BANNER_PENDING);
  EXPECT_EQ(WheelBanners_Get(path(0)).state, BANNER_READY);   // held ones cost nothing
  WheelBanners_EndFrame();
  EXPECT_EQ(WheelBanners_Loaded(), kBannerLoadsPerFrame);

  // frame 2: banner 0 has left the view; the waiting one comes in
  WheelBanners_BeginFrame();
  for (int i = 1; i < kBannerLoadsPerFrame; i++) EXPECT_EQ(WheelBanners_Get(path(i)).state, BANNER_READY);
  BannerLook next = WheelBanners_Get(path(kBannerLoadsPerFrame));
  ASSERT_EQ(next.state, BANNER_READY);
  EXPECT_EQ(next.image->PixelAt(10, 10) & 0xFFFFFF, 0x3060C0u + kBannerLoadsPerFrame);
  WheelBanners_EndFrame();
  EXPECT_EQ(WheelBanners_Loaded(), kBannerLoadsPerFrame);

  // frame 3: nothing in view, nothing held
  WheelBanners_BeginFrame();
  WheelBanners_EndFrame();
  EXPECT_EQ(WheelBanners_Loaded(), 0);
}

TEST_F(WheelBanners, MissingBrokenEmptyAndHugePicturesGiveNoBannerAndAreNotTriedAgain) {
  WriteFile("Songs/Pack/a/broken.png", "\x89PNG\r\n\x1a\nthis is not a picture");
  WriteFile("Songs/Pack/a/empty.png", "");
  writePng("Songs/Pack/a/huge.png", kMaxBannerSide + 1, 4, 0xFFFFFF);
  for (const char* f : {"missing.png", "broken.png", "empty.png", "huge.png"}) {
    WheelBanners_BeginFrame();
    EXPECT_EQ(WheelBanners_Get(std::string("Songs/Pack/a/") + f).state, BANNER_NONE) << f;
    WheelBanners_EndFrame();
  }
  EXPECT_EQ(WheelBanners_Loaded(), 0);
  // remembered: asking again spends none of the frame's loads
  WheelBanners_BeginFrame();
  for (int i = 0; i < 5; i++) EXPECT_EQ(WheelBanners_Get("Songs/Pack/a/huge.png").state, BANNER_NONE);
  EXPECT_EQ(WheelBanners_Get("Songs/Pack/a/b4.png").state, BANNER_READY);
  WheelBanners_EndFrame();
  EXPECT_EQ(WheelBanners_Get("").state, BANNER_NONE);
}

TEST_F(WheelBanners, LargeBannersAreCutDownToTheBannerBox) {
  writePng("Songs/Pack/a/big.png", 1024, 320, 0x20C040);
  writePng("Songs/Pack/a/square.png", 512, 512, 0x20C040);
  WheelBanners_BeginFrame();
  BannerLook big = WheelBanners_Get("Songs/Pack/a/big.png");
  ASSERT_EQ(big.state, BANNER_READY);
  EXPECT_EQ(big.image->surfaceWidth, 256);
  EXPECT_EQ(big.image->surfaceHeight, 80);
  WheelBanners_EndFrame();
  WheelBanners_BeginFrame();
  WheelBanners_Get("Songs/Pack/a/big.png");
  BannerLook sq = WheelBanners_Get("Songs/Pack/a/square.png");
  ASSERT_EQ(sq.state, BANNER_READY);
  EXPECT_EQ(sq.image->surfaceWidth, kBannerBoxH);
  EXPECT_EQ(sq.image->surfaceHeight, kBannerBoxH);
  WheelBanners_EndFrame();
}

TEST_F(WheelBanners, ASongsBannerPathIsItsFolderAndFile) {
  ResetCollectionWorld();
  SongSpec s{"Pack", "a", "Title", "Artist", "", {1}};
  s.banner = "b0.png";
  SongSpec none{"Pack", "b", "Other", "Artist", "", {1}};
  none.banner = "";
  SetLibrary({MakeSong(s), MakeSong(none)});
  EXPECT_EQ(WheelBanners_SongPath(FindSong("Title")), "Songs/Pack/a/b0.png");
  EXPECT_EQ(WheelBanners_SongPath(FindSong("Other")), "");
  EXPECT_EQ(WheelBanners_SongPath(-1), "");
  EXPECT_EQ(WheelBanners_SongPath(99), "");
}

TEST(WheelRadar, FiguresReachOutFromTheCentreClampedToTheEdge) {
  EXPECT_DOUBLE_EQ(Radar_Reach(50), 0.5);
  EXPECT_DOUBLE_EQ(Radar_Reach(250), 1.0);
  EXPECT_DOUBLE_EQ(Radar_Reach(0), kRadarLeast);
  EXPECT_DOUBLE_EQ(Radar_Reach(-5), kRadarLeast);
  EXPECT_DOUBLE_EQ(Radar_Reach(NAN), kRadarLeast);
  double x, y;
  Radar_Corner(184, 0, 1.0, x, y);   // stream straight up
  EXPECT_NEAR(x, 92, 1e-9);
  EXPECT_LT(y, 10);
  Radar_Corner(184, 1, 1.0, x, y);   // voltage to the upper right
  EXPECT_GT(x, 150);
  EXPECT_LT(y, 92);

  Image r;
  ASSERT_TRUE(r.Create(184, 184, IMAGE_ARGB));
  auto alphaAt = [&r](double reach, int k) {
    double px, py;
    Radar_Corner(184, k, reach, px, py);
    return r.PixelAt((int)px, (int)py) >> 24;
  };
  ChartFigures streamy{100, 0, 0, 0, 0};
  Radar_Paint(r, streamy, 0x2F8BFF);
  EXPECT_GT(alphaAt(0.6, 0), 100u);          // inside the shape towards stream
  EXPECT_EQ(alphaAt(0.6, 2), 0u);            // nothing out towards air
  EXPECT_EQ(r.PixelAt(92, 40) & 0xFFFFFF, 0x2F8BFFu);
  ChartFigures airy{0, 0, 100, 0, 0};
  Radar_Paint(r, airy, 0x2F8BFF);            // painted afresh, not on top
  EXPECT_EQ(alphaAt(0.6, 0), 0u);
  EXPECT_GT(alphaAt(0.6, 2), 100u);
  Radar_Clear(r);
  EXPECT_EQ(alphaAt(0.0, 0), 0u);
  Image unloaded;
  Radar_Paint(unloaded, streamy, 0xFFFFFF);  // nothing to paint into: nothing happens
  EXPECT_FALSE(unloaded.loaded);
}
}  // namespace
