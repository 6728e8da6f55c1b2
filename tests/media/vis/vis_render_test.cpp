// What plug-ins hear: the sound data taken from a real music stream, and our
// own plug-ins drawing with it.
#include "media/audio/audio_test_util.h"
#include "vis_test_util.h"

namespace {
double binHz(int k) { return k * 44100.0 / 512; }

class VisRender : public AudioDeviceTest {
 protected:
  void TearDown() override {
    Vis_Unload();
    AudioDeviceTest::TearDown();
  }
  // Two seconds: a sine on bin 20 on the left, on bin 64 on the right.
  uint32_t stereoStream(uint32_t flags = 0) {
    auto frames = makeFrames(88200, 2, [](int64_t i, int c) {
      return (float)(0.8 * std::sin(2 * M_PI * binHz(c == 0 ? 20 : 64) * i / 44100));
    });
    if (!File_Exists("two.wav")) writeSound("two.wav", SoundKind::Wav16, 44100, 2, frames);
    uint32_t s = Audio_StreamCreateFile(false, "two.wav", 0, 0, flags);
    int bytesPerFrame = (flags & AUDIO_SAMPLE_8BITS ? 1 : 2) * (flags & AUDIO_SAMPLE_MONO ? 1 : 2);
    if (s) Audio_ChannelSetPosition(s, 10000 * (uint64_t)bytesPerFrame);
    return s;
  }
  LogLines log;
};

int peak(const uint8_t* v, int n) { return (int)(std::max_element(v, v + n) - v); }
}  // namespace

TEST_F(VisRender, PluginsGetTheWaveformAndSpectrumOfTheMusic) {
  CopyPlugin("recorder", "Vis/r.svp");
  Recorder rec("Vis/r.svp");
  rec.var<uint32_t>("tvt_needs") = TV_VIS_NEEDS_WAVEFORM | TV_VIS_NEEDS_SPECTRUM;
  rec.var<int>("tvt_result") = 0;
  ASSERT_TRUE(Vis_CreateFrame(10, false));
  VisInstance vis;
  ASSERT_TRUE(vis.Load("Vis/r.svp", VIS_LOAD_START));
  auto& sound = rec.var<TvVisSoundData>("tvt_sound");

  uint32_t s = stereoStream();
  ASSERT_NE(s, 0u);
  vis.Render(1234, s);
  EXPECT_EQ(sound.time, 1234u);
  for (int c = 0; c < 2; c++) {
    const uint8_t* w = sound.waveform[c];
    auto [lo, hi] = std::minmax_element(w, w + 512);
    EXPECT_LT(*lo, 40) << c;    // 0.8 of full scale around the centre 128
    EXPECT_GT(*hi, 215) << c;
  }
  EXPECT_EQ(peak(sound.spectrum[0], 256), 20);
  EXPECT_EQ(peak(sound.spectrum[1], 256), 64);
  EXPECT_EQ(sound.spectrum[0][20], 255);   // 0.8 x 512, kept to a byte
  EXPECT_LT(sound.spectrum[0][64], 8);

  // 8-bit data arrives as it is, and matches the 16-bit data's top byte
  TvVisSoundData sixteen = sound;
  uint32_t s8 = stereoStream(AUDIO_SAMPLE_8BITS);
  vis.Render(1234, s8);
  for (int i = 0; i < 512; i++) ASSERT_NEAR(sound.waveform[0][i], sixteen.waveform[0][i], 1) << i;

  // a mono channel gives the same data to both sides
  uint32_t m = stereoStream(AUDIO_SAMPLE_MONO);
  vis.Render(1250, m);
  EXPECT_EQ(0, memcmp(sound.waveform[0], sound.waveform[1], 512));
  EXPECT_EQ(0, memcmp(sound.spectrum[0], sound.spectrum[1], 256));
  EXPECT_GT(sound.spectrum[0][20], 100);
  EXPECT_GT(sound.spectrum[0][64], 100);

  // no channel, or one that is gone: silence
  Audio_StreamFree(m);
  for (uint32_t ch : {m, 0u}) {
    vis.Render(1300, ch);
    EXPECT_EQ(sound.waveform[0][7], 128);
    EXPECT_EQ(sound.waveform[1][300], 128);
    EXPECT_EQ(*std::max_element(sound.spectrum[0], sound.spectrum[0] + 256), 0);
  }
}

TEST_F(VisRender, OurOwnPluginsDrawTheMusic) {
  uint32_t s = stereoStream();
  ASSERT_NE(s, 0u);
  struct Shipped {
    const char* file;
    const char* name;
  } shipped[] = {{"tv-spectrum.svp", "Spectrum Bars"}, {"tv-scope.svp", "Oscilloscope"}};
  for (const Shipped& p : shipped) {
    std::string path = std::string(TV_GAME_VIS_DIR) + "/" + p.file;
    for (int quality : {100, 10, 1}) {
      SCOPED_TRACE(std::string(p.file) + " at " + std::to_string(quality));
      ASSERT_TRUE(Vis_CreateFrame(quality, true));
      VisInstance vis;
      ASSERT_TRUE(vis.Load(path.c_str(), VIS_LOAD_USE));
      EXPECT_STREQ(vis.module->name, p.name);
      EXPECT_EQ(vis.module->version, TV_VIS_VERSION);
      for (uint32_t t = 0; t < 200; t += 20) {
        Audio_ChannelSetPosition(s, (uint64_t)(10000 + t * 44) * 4);
        EXPECT_TRUE(vis.Render(t, s));
      }
      const Image& img = Vis_FrameImage();
      int lit = 0, n = img.pictureWidth * img.pictureHeight;
      for (int y = 0; y < img.pictureHeight; y++)
        for (int x = 0; x < img.pictureWidth; x++) {
          uint32_t c = img.PixelAt(x, y);
          if (((c >> 16) & 255) + ((c >> 8) & 255) + (c & 255) > 120) lit++;
          ASSERT_EQ(c >> 24, 0xFFu);
        }
      EXPECT_GT(lit, n / 50) << lit << " of " << n;
      vis.Free();
    }
  }
  EXPECT_TRUE(log.has("QI:QueryInt(currentsongposition,1)\n"));
  EXPECT_TRUE(log.has("Initialized Visualization 'Spectrum Bars'\n"));
}
