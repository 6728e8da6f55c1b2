// Sample data and spectra of what a channel plays, for the visualizations.
#include "audio_test_util.h"

namespace {
class AudioData : public AudioDeviceTest {};

int peakBin(const float* bins, int n, int stride = 1) {
  int best = 0;
  for (int k = 1; k < n; k++)
    if (bins[k * stride] > bins[best * stride]) best = k;
  return best;
}

double binHz(int k) { return k * 44100.0 / 512; }
}

TEST_F(AudioData, SpectrumPeaksInTheSinesBin) {
  // left a sine centred on bin 20, right one on bin 64
  auto frames = makeFrames(44100, 2, [](int64_t i, int c) {
    return (float)(0.8 * std::sin(2 * M_PI * binHz(c == 0 ? 20 : 64) * i / 44100));
  });
  ASSERT_TRUE(writeSound("two.wav", SoundKind::Wav16, 44100, 2, frames));
  uint32_t s = Audio_StreamCreateFile(false, "two.wav", 0, 0, 0);
  ASSERT_NE(s, 0u);
  ASSERT_TRUE(Audio_ChannelSetPosition(s, 10000 * 4));

  float each[512];
  ASSERT_EQ(Audio_ChannelGetData(s, each, AUDIO_DATA_FFT512 | AUDIO_DATA_FFT_INDIVIDUAL), 512u * 4);
  EXPECT_EQ(peakBin(each, 256, 2), 20);
  EXPECT_EQ(peakBin(each + 1, 256, 2), 64);
  EXPECT_NEAR(each[20 * 2], 0.8, 0.02);
  EXPECT_LT(each[64 * 2], 0.01);   // no leak of the other channel

  float mixed[256];
  ASSERT_EQ(Audio_ChannelGetData(s, mixed, AUDIO_DATA_FFT512), 256u * 4);
  EXPECT_NEAR(mixed[20], 0.4, 0.02);
  EXPECT_NEAR(mixed[64], 0.4, 0.02);
  EXPECT_LT(mixed[40], 0.01);

  // while playing, the spectrum follows the music
  ASSERT_TRUE(Audio_StreamPlay(s, false, 0));
  sleepMs(100);
  ASSERT_EQ(Audio_ChannelGetData(s, mixed, AUDIO_DATA_FFT512), 256u * 4);
  EXPECT_EQ(peakBin(mixed, 256) == 20 || peakBin(mixed, 256) == 64, true);
}

TEST_F(AudioData, MonoSpectrumIsOneSetOfBins) {
  ASSERT_TRUE(writeSound("m.ogg", SoundKind::Ogg, 44100, 1, sineFrames(44100, 1, binHz(100), 44100, 0.5)));
  uint32_t s = Audio_StreamCreateFile(false, "m.ogg", 0, 0, 0);
  ASSERT_NE(s, 0u);
  ASSERT_TRUE(Audio_ChannelSetPosition(s, 20000 * 2));
  float bins[512];
  ASSERT_EQ(Audio_ChannelGetData(s, bins, AUDIO_DATA_FFT512 | AUDIO_DATA_FFT_INDIVIDUAL), 256u * 4);
  EXPECT_EQ(peakBin(bins, 256), 100);
  EXPECT_NEAR(bins[100], 0.5, 0.05);
}

TEST_F(AudioData, SampleDataIsTheChannelsOwnFormat) {
  std::vector<int16_t> pcm(20000 * 2);
  for (size_t i = 0; i < pcm.size(); i++) pcm[i] = (int16_t)((((int)(i / 2) % 100) - 50) * 2 * 128 + (int)(i % 2) * 8 * 128);
  ASSERT_TRUE(writeWav16("r.wav", 44100, 2, pcm));
  uint32_t s16 = Audio_StreamCreateFile(false, "r.wav", 0, 0, 0);
  uint32_t s8 = Audio_StreamCreateFile(false, "r.wav", 0, 0, AUDIO_SAMPLE_8BITS);
  uint32_t m16 = Audio_StreamCreateFile(false, "r.wav", 0, 0, AUDIO_SAMPLE_MONO);
  ASSERT_TRUE(s16 && s8 && m16);
  ASSERT_TRUE(Audio_ChannelSetPosition(s16, 5000 * 4));
  ASSERT_TRUE(Audio_ChannelSetPosition(s8, 5000 * 2));
  ASSERT_TRUE(Audio_ChannelSetPosition(m16, 5000 * 2));
  for (uint32_t len : {0x200u, 0x400u, 0x800u}) {
    int16_t d16[1024];
    uint8_t d8[2048];
    int16_t dm[1024];
    ASSERT_EQ(Audio_ChannelGetData(s16, d16, len), len);
    ASSERT_EQ(Audio_ChannelGetData(s8, d8, len), len);
    ASSERT_EQ(Audio_ChannelGetData(m16, dm, len), len);
    for (uint32_t i = 0; i < len / 4; i++) {
      int64_t f = 5000 + i;
      int want0 = (int)(((f % 100) - 50) * 2 * 128), want1 = want0 + 8 * 128;
      ASSERT_EQ(d16[2 * i], want0) << i;
      ASSERT_EQ(d16[2 * i + 1], want1) << i;
      ASSERT_EQ(d8[2 * i], (uint8_t)(128 + (want0 >> 8))) << i;
      ASSERT_EQ(dm[i], (want0 + want1) / 2) << i;
    }
  }
  // a request past the end reads silence, never beyond the data
  ASSERT_TRUE(Audio_ChannelSetPosition(s16, 19990 * 4));
  int16_t tail[1024];
  ASSERT_EQ(Audio_ChannelGetData(s16, tail, 0x800), 0x800u);
  EXPECT_EQ(tail[2 * 20], 0);
}

TEST_F(AudioData, SamplePlaybacksHaveDataToo) {
  ASSERT_TRUE(writeSound("c.wav", SoundKind::Wav16, 44100, 1, sineFrames(44100, 1, binHz(50), 44100, 0.9)));
  uint32_t smp = Audio_SampleLoad(false, "c.wav", 0, 0, 1, 0);
  uint32_t ch = Audio_SamplePlay(smp);
  ASSERT_NE(ch, 0u);
  sleepMs(60);
  float bins[256];
  ASSERT_EQ(Audio_ChannelGetData(ch, bins, AUDIO_DATA_FFT512), 256u * 4);
  EXPECT_EQ(peakBin(bins, 256), 50);
  EXPECT_EQ(Audio_ChannelGetData(smp, bins, AUDIO_DATA_FFT512), AUDIO_BAD_VALUE);   // a sample is no channel
}
