// The frame plug-ins draw into: its size for each quality, its picture, the fade
// between frames and when a frame is shown.
#include "vis_test_util.h"
#include "platform/locks.h"
#include <atomic>
#include <thread>

namespace {
class VisFrameTest : public ::testing::Test {
 protected:
  void TearDown() override { Vis_Unload(); }
  TempDir dir;
  LogLines log;
};

std::pair<int, int> sizeFor(int quality) {
  if (!Vis_CreateFrame(quality, false)) return {-1, -1};
  return {Vis_FrameWidth(), Vis_FrameHeight()};
}
}  // namespace

TEST_F(VisFrameTest, SizeFollowsTheQuality) {
  using P = std::pair<int, int>;
  EXPECT_EQ(sizeFor(100), P(320, 240));
  EXPECT_EQ(sizeFor(50), P(160, 120));
  EXPECT_EQ(sizeFor(30), P(96, 72));
  EXPECT_EQ(sizeFor(10), P(32, 24));
  EXPECT_EQ(sizeFor(0), P(32, 24));      // 0 or less counts as 10
  EXPECT_EQ(sizeFor(-40), P(32, 24));
  EXPECT_EQ(sizeFor(250), P(320, 240));  // over 100 as 100
  EXPECT_EQ(sizeFor(5), P(16, 12));
  EXPECT_EQ(sizeFor(3), P(10, 8));       // 9 raised to even; 7 raised to the minimum 8
  EXPECT_EQ(sizeFor(1), P(8, 8));
  EXPECT_EQ(sizeFor(33), P(106, 80));    // 105.6 -> 105 -> 106; 79.2 -> 79 -> 80
  EXPECT_EQ(sizeFor(99), P(316, 238));

  Image& img = Vis_FrameImage();
  EXPECT_TRUE(img.loaded);
  EXPECT_EQ(img.pictureWidth, 316);
  EXPECT_EQ(img.pictureHeight, 238);
  EXPECT_EQ(img.PixelAt(0, 0), 0xFF000000u);     // starts black
  EXPECT_EQ(img.PixelAt(315, 237), 0xFF000000u);
}

TEST_F(VisFrameTest, TheSameQualityKeepsTheFrame) {
  ASSERT_TRUE(Vis_CreateFrame(50, false));
  const uint32_t* before = Vis_FrameImage().pixels;
  ASSERT_TRUE(Vis_CreateFrame(50, false));
  EXPECT_EQ(Vis_FrameImage().pixels, before);
  ASSERT_TRUE(Vis_CreateFrame(50, true));   // another picture kind is a new frame
  EXPECT_TRUE(Vis_FrameImage().pixelAlpha);
  EXPECT_EQ(Vis_FrameImage().PixelAt(3, 3) >> 24, 0xFFu);   // drawn opaque all the same
  Vis_FreeFrame();
  EXPECT_FALSE(Vis_FrameImage().loaded);
  EXPECT_EQ(Vis_FrameWidth(), 0);
  Vis_FreeFrame();   // twice is harmless
  Vis_ClearFrame();  // and clearing no frame too
}

TEST_F(VisFrameTest, FadesAndShowsOnlyWhatThePluginReportsChanged) {
  CopyPlugin("recorder", "Vis/r.svp");
  Recorder rec("Vis/r.svp");
  rec.var<uint32_t>("tvt_needs") = TV_VIS_NEEDS_FADE;
  ASSERT_TRUE(Vis_CreateFrame(50, false));
  VisInstance vis;
  ASSERT_TRUE(vis.Load("Vis/r.svp", VIS_LOAD_USE));

  rec.var<uint32_t>("tvt_fill") = 0xFF808080u;
  EXPECT_TRUE(vis.Render(100, 0));
  EXPECT_EQ(rec.count("tvt_width"), 160);
  EXPECT_EQ(rec.count("tvt_height"), 120);
  EXPECT_EQ(rec.count("tvt_pitch"), 160);
  EXPECT_EQ(rec.var<TvVisSoundData>("tvt_sound").time, 100u);
  EXPECT_EQ(rec.var<uint32_t>("tvt_seen_first"), 0xFF000000u);
  EXPECT_EQ(Vis_FrameImage().PixelAt(159, 119), 0xFF808080u);

  // the plug-in sees the last frame faded through the table (0.8 at first)
  rec.var<uint32_t>("tvt_fill") = 0;
  EXPECT_TRUE(vis.Render(116, 0));
  EXPECT_EQ(rec.var<uint32_t>("tvt_seen_first"), 0xFF666666u);   // 128 x 0.8 = 102
  Vis_SetFade(0.5f);
  vis.Render(132, 0);
  EXPECT_EQ(rec.var<uint32_t>("tvt_seen_first"), 0xFF333333u);
  Vis_SetFade(4.0f);   // clamped at full
  vis.Render(148, 0);
  EXPECT_EQ(rec.var<uint32_t>("tvt_seen_first"), 0xFFCCCCCCu);
  vis.Render(149, 0);
  EXPECT_EQ(rec.var<uint32_t>("tvt_seen_first"), 0xFFFFFFFFu);
  Vis_SetFade(0.8f);

  // "no change": the picture keeps what it showed
  rec.var<uint32_t>("tvt_fill") = 0xFF0000FFu;
  rec.var<int>("tvt_result") = 0;
  EXPECT_FALSE(vis.Render(164, 0));
  EXPECT_NE(Vis_FrameImage().PixelAt(0, 0), 0xFF0000FFu);
  rec.var<int>("tvt_result") = 1;
  EXPECT_TRUE(vis.Render(180, 0));
  EXPECT_EQ(Vis_FrameImage().PixelAt(0, 0), 0xFF0000FFu);

  // the frame's rendering never moves the current folder
  EXPECT_EQ(rec.text("tvt_cwd_draw"), RealFolder(dir.path));

  Vis_ClearFrame();
  EXPECT_EQ(Vis_FrameImage().PixelAt(5, 5), 0xFF000000u);

  // a frame let go comes back at its size on the next render
  Vis_FreeFrame();
  EXPECT_TRUE(vis.Render(196, 0));
  EXPECT_EQ(Vis_FrameWidth(), 160);
  EXPECT_EQ(Vis_FrameImage().PixelAt(0, 0), 0xFF0000FFu);

  // without any frame made nothing is drawn
  Vis_Unload();
  EXPECT_FALSE(vis.Render(212, 0));
}

TEST_F(VisFrameTest, WithoutFadeTheFrameIsLeftAsDrawn) {
  CopyPlugin("recorder", "Vis/r.svp");
  Recorder rec("Vis/r.svp");
  rec.var<uint32_t>("tvt_needs") = 0;
  rec.var<uint32_t>("tvt_fill") = 0x00123456u;   // alpha left out by the plug-in
  ASSERT_TRUE(Vis_CreateFrame(10, false));
  VisInstance vis;
  ASSERT_TRUE(vis.Load("Vis/r.svp", VIS_LOAD_START));
  ASSERT_TRUE(vis.Render(0, 0));
  EXPECT_EQ(Vis_FrameImage().PixelAt(0, 0), 0xFF123456u);   // shown opaque
  rec.var<uint32_t>("tvt_fill") = 0;
  vis.Render(20, 0);
  EXPECT_EQ(rec.var<uint32_t>("tvt_seen_first"), 0x00123456u);
}

// The worker renders while the main thread draws the picture and lets the frame
// go: nothing may tear or crash (run under the sanitizers to see races).
TEST_F(VisFrameTest, RenderingOnTheWorkerWhileTheMainThreadDrawsAndFrees) {
  CopyPlugin("recorder", "Vis/r.svp");
  Recorder rec("Vis/r.svp");
  rec.var<uint32_t>("tvt_fill") = 0xFF204060u;
  ASSERT_TRUE(Vis_CreateFrame(30, false));
  VisInstance vis;
  ASSERT_TRUE(vis.Load("Vis/r.svp", VIS_LOAD_START));
  std::atomic<bool> run{true};
  std::thread worker([&] {
    for (uint32_t t = 0; run; t += 5) vis.Render(t, 0);
  });
  int seen = 0;
  for (int i = 0; i < 200; i++) {
    {
      std::lock_guard<std::timed_mutex> frame(g_movieLock);
      const Image& img = Vis_FrameImage();
      if (img.loaded) {
        uint32_t c = img.PixelAt(img.pictureWidth - 1, img.pictureHeight - 1);
        EXPECT_TRUE(c == 0xFF204060u || c == 0xFF000000u) << std::hex << c;
        seen += c == 0xFF204060u;
      }
    }
    if (i % 20 == 0) Vis_FreeFrame();
    if (i % 50 == 0) Vis_ClearFrame();
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  run = false;
  worker.join();
  EXPECT_GT(seen, 0);
  EXPECT_GT(rec.count("tvt_draw"), 0);
}
