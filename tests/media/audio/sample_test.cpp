// Samples: load, immediate play, the maximum number of playbacks, loops, stop
// and free.
#include "audio_test_util.h"

namespace {
class AudioSample : public AudioDeviceTest {
 protected:
  uint32_t load(double seconds, uint32_t max, uint32_t flags, int rate = 44100) {
    std::string name = "smp" + std::to_string(serial++) + ".wav";
    if (!writeSound(name, SoundKind::Wav16, rate, 1, sineFrames((int64_t)(seconds * rate), 1, 440, rate))) return 0;
    return Audio_SampleLoad(false, name.c_str(), 0, 0, max, flags);
  }
  int serial = 0;
};
}

TEST_F(AudioSample, TheLongestPlayingGivesWayAtTheMaximum) {
  uint32_t smp = load(2, 2, 0x20040);
  ASSERT_NE(smp, 0u);
  uint32_t a = Audio_SamplePlay(smp);
  sleepMs(40);
  uint32_t b = Audio_SamplePlay(smp);
  sleepMs(40);
  ASSERT_NE(a, 0u);
  ASSERT_NE(b, 0u);
  EXPECT_NE(Audio_ChannelIsActive(a), 0u);
  uint32_t c = Audio_SamplePlay(smp);
  ASSERT_NE(c, 0u);
  EXPECT_EQ(Audio_ChannelIsActive(a), 0u);   // the first one was replaced
  EXPECT_EQ(Audio_ChannelGetPosition(a), AUDIO_BAD_POSITION);
  EXPECT_NE(Audio_ChannelIsActive(b), 0u);
  EXPECT_NE(Audio_ChannelIsActive(c), 0u);
  uint32_t d = Audio_SamplePlay(smp);
  EXPECT_EQ(Audio_ChannelIsActive(b), 0u);
  EXPECT_NE(Audio_ChannelIsActive(c), 0u);
  EXPECT_NE(Audio_ChannelIsActive(d), 0u);
}

TEST_F(AudioSample, WithoutOverrideAFullSampleRefusesAndTheQuietestCanGo) {
  uint32_t plain = load(1, 1, 0);
  uint32_t a = Audio_SamplePlay(plain);
  ASSERT_NE(a, 0u);
  EXPECT_EQ(Audio_SamplePlay(plain), 0u);
  EXPECT_NE(Audio_ChannelIsActive(a), 0u);

  uint32_t byVol = load(1, 2, AUDIO_SAMPLE_OVER_VOL);
  uint32_t loud = Audio_SamplePlay(byVol);
  uint32_t quiet = Audio_SamplePlay(byVol);
  ASSERT_TRUE(Audio_ChannelSetAttributes(quiet, -1, 10, -101));
  uint32_t next = Audio_SamplePlay(byVol);
  ASSERT_NE(next, 0u);
  EXPECT_NE(Audio_ChannelIsActive(loud), 0u);
  EXPECT_EQ(Audio_ChannelIsActive(quiet), 0u);
}

TEST_F(AudioSample, APlaybackEndsAndItsHandleGoes) {
  uint32_t smp = load(0.1, 3, 0x20040);
  uint32_t ch = Audio_SamplePlay(smp);
  ASSERT_NE(ch, 0u);
  EXPECT_EQ(Audio_ChannelGetFlags(ch), 0x20040u | AUDIO_SAMPLE_MONO);
  EXPECT_TRUE(waitFor(1000, [&] { return Audio_ChannelIsActive(ch) == 0; }));
  EXPECT_EQ(Audio_ChannelGetPosition(ch), AUDIO_BAD_POSITION);
  // the sample itself stays and plays again
  EXPECT_NE(Audio_SamplePlay(smp), 0u);
}

TEST_F(AudioSample, LoopsPlayRoundAndRound) {
  uint32_t smp = load(0.1, 1, 0x20044);
  uint32_t ch = Audio_SamplePlay(smp);
  ASSERT_NE(ch, 0u);
  sleepMs(350);
  EXPECT_EQ(Audio_ChannelIsActive(ch), AUDIO_ACTIVE_PLAYING);
  int64_t p = framePos(ch, 2);
  EXPECT_GE(p, 0);
  EXPECT_LT(p, 4410);
  // its callers stop it
  EXPECT_TRUE(Audio_SampleStop(smp));
  EXPECT_EQ(Audio_ChannelIsActive(ch), 0u);
}

TEST_F(AudioSample, PositionsAreInTheFilesOwnFrames) {
  uint32_t smp = load(1, 1, 0, 22050);
  uint32_t ch = Audio_SamplePlay(smp);
  ASSERT_NE(ch, 0u);
  EXPECT_TRUE(waitFor(500, [&] { return framePos(ch, 2) > 2205; }));
  EXPECT_LT(Audio_ChannelBytes2Seconds(ch, Audio_ChannelGetPosition(ch)), 0.6f);
  ASSERT_TRUE(Audio_ChannelSetPosition(ch, 22000 * 2));
  EXPECT_GE(framePos(ch, 2), 22000);
  EXPECT_TRUE(waitFor(500, [&] { return Audio_ChannelIsActive(ch) == 0; }));
  uint32_t r = 0;
  ASSERT_TRUE(Audio_ChannelGetAttributes(Audio_SamplePlay(smp), &r, nullptr, nullptr));
  EXPECT_EQ(r, 22050u);
}

TEST_F(AudioSample, StopAndFreeEndEveryPlayback) {
  uint32_t smp = load(1, 4, 0x20040);
  uint32_t chans[4];
  for (uint32_t& c : chans) c = Audio_SamplePlay(smp);
  for (uint32_t c : chans) EXPECT_NE(Audio_ChannelIsActive(c), 0u);
  EXPECT_TRUE(Audio_ChannelStop(chans[1]));
  EXPECT_EQ(Audio_ChannelIsActive(chans[1]), 0u);
  EXPECT_NE(Audio_ChannelIsActive(chans[2]), 0u);
  EXPECT_TRUE(Audio_SampleStop(smp));
  for (uint32_t c : chans) EXPECT_EQ(Audio_ChannelIsActive(c), 0u);
  uint32_t again = Audio_SamplePlay(smp);
  EXPECT_NE(again, 0u);
  EXPECT_TRUE(Audio_SampleFree(smp));
  EXPECT_EQ(Audio_ChannelIsActive(again), 0u);
  EXPECT_EQ(Audio_SamplePlay(smp), 0u);
  EXPECT_FALSE(Audio_SampleFree(smp));
}

TEST_F(AudioSample, LoadsFromMemoryWithAnOffset) {
  ASSERT_TRUE(writeSound("m.wav", SoundKind::Wav16, 44100, 2, sineFrames(4410, 2, 440, 44100)));
  std::string bytes = "PADDING!" + ReadFile("m.wav");
  uint32_t smp = Audio_SampleLoad(true, bytes.data(), 8, (uint32_t)bytes.size() - 8, 1, 0);
  ASSERT_NE(smp, 0u);
  uint32_t ch = Audio_SamplePlay(smp);
  EXPECT_EQ(Audio_ChannelGetFlags(ch), 0u);
  EXPECT_EQ(Audio_SampleLoad(true, bytes.data(), 0, (uint32_t)bytes.size(), 1, 0), 0u);   // the padding is no header
  EXPECT_EQ(Audio_SampleLoad(false, "m.wav", 1 << 20, 0, 1, 0), 0u);
}
