// The output device: version, device list, opening in every format the settings
// can ask for, latency, start/pause/stop, volume, and a device that cannot open.
#include "audio_test_util.h"
#include <gmock/gmock.h>
#include <cstdlib>

using ::testing::HasSubstr;

TEST(AudioDevice, VersionPassesTheStartUpCheck) {
  uint32_t v = Audio_GetVersion();
  EXPECT_GE(v, 0x60001u);
  EXPECT_EQ(v & 0xFFFF, 1u);   // major in the low word
}

TEST(AudioDevice, ListsTheDefaultDeviceOfTheDriver) {
  const char* name = Audio_GetDeviceDescription(0);
  ASSERT_NE(name, nullptr);
  EXPECT_THAT(std::string(name), HasSubstr("dummy"));
  EXPECT_EQ(Audio_GetDeviceDescription(1), nullptr);
  EXPECT_EQ(Audio_GetDeviceDescription(-1), nullptr);
  Audio_Free();
}

TEST(AudioDevice, OpensEveryFormatWithATruthfulSmallLatency) {
  CloseAfter closer;
  for (uint32_t rate : {11025u, 22050u, 44100u}) {
    for (uint32_t fmt : {0u, AUDIO_DEVICE_MONO, AUDIO_DEVICE_8BITS, AUDIO_DEVICE_MONO | AUDIO_DEVICE_8BITS}) {
      SCOPED_TRACE(testing::Message() << rate << " Hz, flags " << fmt);
      ASSERT_TRUE(Audio_Init(-1, rate, AUDIO_DEVICE_LATENCY | fmt, nullptr));
      AudioInfo info{};
      info.size = sizeof info;
      ASSERT_TRUE(Audio_GetInfo(&info));
      EXPECT_EQ(info.flags, fmt);
      EXPECT_EQ(info.minRate, rate);
      uint32_t buffer = g_audio.bufferFrames;
      EXPECT_LE(buffer, rate / 80);   // about 10 ms
      EXPECT_EQ(info.latency, (uint32_t)std::ceil(1000.0 * (buffer + g_audio.queuedFrames) / rate));
      EXPECT_GT(info.latency, 0u);
      EXPECT_LE(info.latency, 25u);
      ASSERT_TRUE(Audio_Start());
      uint64_t before = callbacks();
      EXPECT_TRUE(waitFor(500, [&] { return callbacks() > before + 3; }));   // the callback runs
      ASSERT_TRUE(Audio_Pause());
      sleepMs(30);
      uint64_t paused = callbacks();
      sleepMs(60);
      EXPECT_EQ(callbacks(), paused);
      ASSERT_TRUE(Audio_Start());
      EXPECT_TRUE(waitFor(500, [&] { return callbacks() > paused + 2; }));
      ASSERT_TRUE(Audio_Stop());
      ASSERT_TRUE(Audio_Free());
    }
  }
}

TEST(AudioDevice, WithoutTheLatencyFlagNoLatencyIsMeasured) {
  CloseAfter closer;
  ASSERT_TRUE(Audio_Init(-1, 44100, 0, nullptr));
  AudioInfo info{};
  info.size = 48;
  ASSERT_TRUE(Audio_GetInfo(&info));
  EXPECT_EQ(info.latency, 0u);
  info.size = 40;
  EXPECT_FALSE(Audio_GetInfo(&info));
  EXPECT_FALSE(Audio_GetInfo(nullptr));
  Audio_Free();
  info.size = 48;
  EXPECT_FALSE(Audio_GetInfo(&info));
}

TEST(AudioDevice, OneOpenAtATimeAndOnlyRealDevices) {
  CloseAfter closer;
  EXPECT_FALSE(Audio_Init(3, 44100, 0, nullptr));
  EXPECT_FALSE(Audio_Init(-1, 1000, 0, nullptr));
  ASSERT_TRUE(Audio_Init(0, 22050, 0, nullptr));
  EXPECT_FALSE(Audio_Init(-1, 44100, 0, nullptr));
  EXPECT_TRUE(Audio_Free());
  EXPECT_FALSE(Audio_Free());
  ASSERT_TRUE(Audio_Init(-1, 44100, 0, nullptr));
  EXPECT_TRUE(Audio_SetVolume(0));
  EXPECT_TRUE(Audio_SetVolume(100));
  EXPECT_FALSE(Audio_SetVolume(101));
  Audio_Free();
}

TEST(AudioDevice, ADeviceThatCannotOpenIsAFailure) {
  const char* old = getenv("SDL_AUDIODRIVER");
  std::string keep = old ? old : "";
  setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
  EXPECT_EQ(Audio_GetDeviceDescription(0), nullptr);
  EXPECT_FALSE(Audio_Init(-1, 44100, AUDIO_DEVICE_LATENCY, nullptr));
  Audio_Free();
  if (old) setenv("SDL_AUDIODRIVER", keep.c_str(), 1);
  else unsetenv("SDL_AUDIODRIVER");
  ASSERT_TRUE(Audio_Init(-1, 44100, AUDIO_DEVICE_LATENCY, nullptr));
  Audio_Free();
}

namespace {
// Renders one buffer by hand (the output is not started, so no callback runs).
std::vector<uint8_t> renderOnce(int bytes) {
  std::vector<uint8_t> out((size_t)bytes);
  Mixer_Render(out.data(), bytes);
  return out;
}
}

TEST(AudioMixer, VolumePanAndMasterVolumeScaleTheMix) {
  TempDir dir;
  CloseAfter closer;
  ASSERT_TRUE(Audio_Init(-1, 44100, 0, nullptr));
  ASSERT_TRUE(writeSound("dc.wav", SoundKind::Wav16, 44100, 1, makeFrames(44100, 1, [](int64_t, int) { return 0.5f; })));
  uint32_t smp = Audio_SampleLoad(false, "dc.wav", 0, 0, 3, 0);
  uint32_t ch = Audio_SamplePlay(smp);
  ASSERT_NE(ch, 0u);
  auto at = [](const std::vector<uint8_t>& b, int i) {
    int16_t v;
    memcpy(&v, b.data() + 2 * i, 2);
    return (int)v;
  };
  std::vector<uint8_t> b = renderOnce(512 * 4);
  EXPECT_NEAR(at(b, 100), 16384, 2);
  EXPECT_NEAR(at(b, 101), 16384, 2);
  ASSERT_TRUE(Audio_ChannelSetAttributes(ch, -1, 50, -100));
  b = renderOnce(512 * 4);
  EXPECT_NEAR(at(b, 100), 8192, 2);
  EXPECT_EQ(at(b, 101), 0);
  ASSERT_TRUE(Audio_SetVolume(50));
  ASSERT_TRUE(Audio_ChannelSetAttributes(ch, -1, 100, 50));
  b = renderOnce(512 * 4);
  EXPECT_NEAR(at(b, 100), 4096, 2);
  EXPECT_NEAR(at(b, 101), 8192, 2);
  // two playbacks add up, and the sum is held at full scale
  ASSERT_TRUE(Audio_SetVolume(100));
  ASSERT_NE(Audio_SamplePlay(smp), 0u);
  ASSERT_NE(Audio_SamplePlay(smp), 0u);
  b = renderOnce(512 * 4);
  EXPECT_EQ(at(b, 101), 32767);
  Audio_Free();
}

TEST(AudioMixer, EightBitMonoOutput) {
  TempDir dir;
  CloseAfter closer;
  ASSERT_TRUE(Audio_Init(-1, 22050, AUDIO_DEVICE_MONO | AUDIO_DEVICE_8BITS, nullptr));
  ASSERT_TRUE(writeSound("dc.wav", SoundKind::Wav16, 22050, 2, makeFrames(22050, 2, [](int64_t, int c) { return c ? 0.5f : 0.0f; })));
  ASSERT_NE(Audio_SamplePlay(Audio_SampleLoad(false, "dc.wav", 0, 0, 1, 0)), 0u);
  std::vector<uint8_t> b = renderOnce(256);
  EXPECT_NEAR(b[10], 128 + 32, 1);   // (0 + 0.5) / 2 of full scale
  Audio_Free();
}
