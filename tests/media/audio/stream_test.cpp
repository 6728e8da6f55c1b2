// Music streams on the running (dummy) device: play, stop, seek, rate steps,
// attributes, flags, self-freeing streams and handles that are no longer good.
#include "audio_test_util.h"

namespace {
class AudioStream : public AudioDeviceTest {
 protected:
  uint32_t makeStream(double seconds, int channels = 2, uint32_t flags = AUDIO_STREAM_EXACT_SEEK,
                      int rate = 44100, SoundKind kind = SoundKind::Wav16) {
    auto frames = sineFrames((int64_t)(seconds * rate), channels, 440, rate);
    std::string name = "s" + std::to_string(serial++) + ".snd";
    if (!writeSound(name, kind, rate, channels, frames)) return 0;
    return Audio_StreamCreateFile(false, name.c_str(), 0, 0, flags);
  }
  int serial = 0;
};

// Frames the stream moves while `ms` of wall time pass.
int64_t advanceOver(uint32_t s, int ms) {
  int64_t a = framePos(s, 4);
  sleepMs(ms);
  return framePos(s, 4) - a;
}
}

TEST_F(AudioStream, PlayStopResumeKeepsThePlace) {
  uint32_t s = makeStream(3);
  ASSERT_NE(s, 0u);
  EXPECT_EQ(Audio_ChannelIsActive(s), AUDIO_ACTIVE_STOPPED);
  EXPECT_EQ(Audio_ChannelGetPosition(s), 0u);
  ASSERT_TRUE(Audio_StreamPlay(s, false, 0));
  EXPECT_NE(Audio_ChannelIsActive(s), AUDIO_ACTIVE_STOPPED);
  sleepMs(300);
  ASSERT_TRUE(Audio_ChannelStop(s));
  EXPECT_EQ(Audio_ChannelIsActive(s), AUDIO_ACTIVE_STOPPED);
  int64_t at = framePos(s, 4);
  EXPECT_GT(at, 44100 * 0.2);
  EXPECT_LT(at, 44100 * 0.45);
  sleepMs(100);
  EXPECT_EQ(framePos(s, 4), at);   // a stopped stream stays put
  ASSERT_TRUE(Audio_StreamPlay(s, true, 0));
  EXPECT_TRUE(waitFor(500, [&] { return framePos(s, 4) > at + 2000; }));
  EXPECT_GE(framePos(s, 4), at);
  EXPECT_TRUE(Audio_StreamFree(s));
  EXPECT_FALSE(Audio_StreamFree(s));
}

TEST_F(AudioStream, SeekingBySecondsWhileStoppedAndPlaying) {
  uint32_t s = makeStream(4);
  ASSERT_NE(s, 0u);
  uint64_t b = Audio_ChannelSeconds2Bytes(s, 1.5f);
  EXPECT_EQ(b, 66150u * 4);
  EXPECT_FLOAT_EQ(Audio_ChannelBytes2Seconds(s, b), 1.5f);
  ASSERT_TRUE(Audio_ChannelSetPosition(s, b));
  EXPECT_EQ(Audio_ChannelGetPosition(s), b);
  EXPECT_FALSE(Audio_ChannelSetPosition(s, Audio_StreamGetLength(s) + 4));
  ASSERT_TRUE(Audio_StreamPlay(s, false, 0));
  sleepMs(100);
  // back to the start while playing: the next reading is there, and it moves on from there
  ASSERT_TRUE(Audio_ChannelSetPosition(s, 0));
  int64_t p = framePos(s, 4);
  EXPECT_GE(p, 0);
  EXPECT_LT(p, 44100 / 20);
  // a far seek ahead (past what was decoded) takes effect within a few buffers
  ASSERT_TRUE(Audio_ChannelSetPosition(s, Audio_ChannelSeconds2Bytes(s, 3.5f)));
  EXPECT_GE(framePos(s, 4), (int64_t)(44100 * 3.5));
  EXPECT_TRUE(waitFor(200, [&] { return framePos(s, 4) > (int64_t)(44100 * 3.5) + 441; }));
  // it plays out and reads its length at the end
  EXPECT_TRUE(waitFor(1500, [&] { return Audio_ChannelIsActive(s) == AUDIO_ACTIVE_STOPPED; }));
  EXPECT_EQ(Audio_ChannelGetPosition(s), Audio_StreamGetLength(s));
  // played to its end, it starts again from the top
  ASSERT_TRUE(Audio_StreamPlay(s, false, 0));
  EXPECT_TRUE(waitFor(300, [&] { return framePos(s, 4) > 0 && framePos(s, 4) < 44100; }));
}

TEST_F(AudioStream, RateStepsChangeHowFastThePositionMoves) {
  uint32_t s = makeStream(10);
  ASSERT_NE(s, 0u);
  uint32_t base = 0, vol = 0;
  int pan = 7;
  ASSERT_TRUE(Audio_ChannelGetAttributes(s, &base, &vol, &pan));
  EXPECT_EQ(base, 44100u);
  EXPECT_EQ(vol, 100u);
  EXPECT_EQ(pan, 0);
  ASSERT_TRUE(Audio_StreamPlay(s, false, 0));
  sleepMs(100);
  int64_t normal = advanceOver(s, 400);
  ASSERT_GT(normal, 0);
  for (int step : {9, 1, 7}) {
    uint32_t r = base * (step + 5) / 10;
    ASSERT_TRUE(Audio_ChannelSetAttributes(s, (int)r, -1, -101));
    uint32_t got = 0;
    ASSERT_TRUE(Audio_ChannelGetAttributes(s, &got, &vol, &pan));
    EXPECT_EQ(got, r);
    sleepMs(50);   // past the change
    double ratio = (double)advanceOver(s, 400) / normal;
    EXPECT_NEAR(ratio, (step + 5) / 10.0, 0.08) << "step " << step;
  }
  // 0 restores the file's rate
  ASSERT_TRUE(Audio_ChannelSetAttributes(s, 0, -1, -101));
  ASSERT_TRUE(Audio_ChannelGetAttributes(s, &base, nullptr, nullptr));
  EXPECT_EQ(base, 44100u);
}

TEST_F(AudioStream, AttributesKeepWhatIsNotGiven) {
  uint32_t s = makeStream(0.5);
  ASSERT_TRUE(Audio_ChannelSetAttributes(s, -1, 40, -30));
  uint32_t r, v;
  int p;
  ASSERT_TRUE(Audio_ChannelGetAttributes(s, &r, &v, &p));
  EXPECT_EQ(r, 44100u);
  EXPECT_EQ(v, 40u);
  EXPECT_EQ(p, -30);
  ASSERT_TRUE(Audio_ChannelSetAttributes(s, 30000, -1, -101));
  ASSERT_TRUE(Audio_ChannelGetAttributes(s, &r, &v, &p));
  EXPECT_EQ(r, 30000u);
  EXPECT_EQ(v, 40u);
  EXPECT_EQ(p, -30);
  ASSERT_TRUE(Audio_ChannelSetAttributes(s, 5000000, 300, 250));   // out of range: held to the limits
  ASSERT_TRUE(Audio_ChannelGetAttributes(s, &r, &v, &p));
  EXPECT_EQ(r, 100000u);
  EXPECT_EQ(v, 100u);
  EXPECT_EQ(p, 100);
}

TEST_F(AudioStream, FlagsTellMonoAndEightBit) {
  uint32_t stereo = makeStream(0.2, 2, AUDIO_STREAM_EXACT_SEEK);
  uint32_t mono = makeStream(0.2, 1, 0);
  uint32_t down = makeStream(0.2, 2, AUDIO_SAMPLE_MONO | AUDIO_SAMPLE_8BITS);
  EXPECT_EQ(Audio_ChannelGetFlags(stereo), AUDIO_STREAM_EXACT_SEEK);
  EXPECT_EQ(Audio_ChannelGetFlags(mono), AUDIO_SAMPLE_MONO);
  EXPECT_EQ(Audio_ChannelGetFlags(down), AUDIO_SAMPLE_MONO | AUDIO_SAMPLE_8BITS);
  EXPECT_EQ(Audio_StreamGetLength(stereo), 8820u * 4);
  EXPECT_EQ(Audio_StreamGetLength(mono), 8820u * 2);
  EXPECT_EQ(Audio_StreamGetLength(down), 8820u);
  EXPECT_EQ(Audio_ChannelSeconds2Bytes(down, 0.1f), 4410u);
}

TEST_F(AudioStream, OtherRatesReportTheirOwnTime) {
  // a 22050 Hz file on the 44100 Hz device: bytes and seconds of the file itself
  uint32_t s = makeStream(2, 1, 0, 22050);
  ASSERT_NE(s, 0u);
  EXPECT_EQ(Audio_StreamGetLength(s), 44100u * 2);
  ASSERT_TRUE(Audio_ChannelSetPosition(s, Audio_ChannelSeconds2Bytes(s, 1.0f)));
  EXPECT_FLOAT_EQ(Audio_ChannelBytes2Seconds(s, Audio_ChannelGetPosition(s)), 1.0f);
  ASSERT_TRUE(Audio_StreamPlay(s, false, 0));
  EXPECT_TRUE(waitFor(2000, [&] { return Audio_ChannelIsActive(s) == AUDIO_ACTIVE_STOPPED; }));
  EXPECT_EQ(Audio_ChannelGetPosition(s), Audio_StreamGetLength(s));
}

TEST_F(AudioStream, SelfFreeingStreamsGoWhenTheyEnd) {
  uint32_t s = makeStream(0.15, 2, AUDIO_STREAM_AUTOFREE, 44100, SoundKind::Ogg);
  ASSERT_NE(s, 0u);
  ASSERT_TRUE(Audio_StreamPlay(s, false, 0));
  EXPECT_TRUE(waitFor(1000, [&] { return Audio_StreamGetLength(s) == 0; }));
  EXPECT_EQ(Audio_ChannelIsActive(s), AUDIO_ACTIVE_STOPPED);
  EXPECT_FALSE(Audio_StreamPlay(s, false, 0));
  // stopping one frees it too
  uint32_t t = makeStream(2, 2, AUDIO_STREAM_AUTOFREE, 44100, SoundKind::Mp3);
  ASSERT_NE(t, 0u);
  ASSERT_TRUE(Audio_StreamPlay(t, false, 0));
  ASSERT_TRUE(Audio_ChannelStop(t));
  EXPECT_EQ(Audio_StreamGetLength(t), 0u);
  // the slots come back: many more one-off streams than the table holds
  for (int i = 0; i < 3 * kMaxStreams; i++) {
    uint32_t h = makeStream(0.01, 1, AUDIO_STREAM_AUTOFREE);
    ASSERT_NE(h, 0u) << i;
    ASSERT_TRUE(Audio_StreamPlay(h, false, 0));
    if (i % kMaxStreams == kMaxStreams - 1) {
      ASSERT_TRUE(waitFor(2000, [&] { return Audio_StreamGetLength(h) == 0; }));
    }
  }
}

TEST_F(AudioStream, BadAndStaleHandlesFailHarmlessly) {
  uint32_t s = makeStream(0.5);
  uint32_t smp = Audio_SampleLoad(false, "s0.snd", 0, 0, 1, 0);
  ASSERT_NE(smp, 0u);
  uint32_t freed = makeStream(0.5);
  ASSERT_TRUE(Audio_StreamFree(freed));
  uint32_t reused = makeStream(0.5);   // may take the same slot: the old handle must not reach it
  ASSERT_NE(reused, freed);
  int16_t buf[1024];
  for (uint32_t h : {0u, freed, 0xFFFFFFFFu, 0x10000FFFu, smp, s ^ 0x1000u}) {
    SCOPED_TRACE(h);
    EXPECT_FALSE(Audio_StreamPlay(h, false, 0));
    EXPECT_FALSE(Audio_ChannelStop(h));
    EXPECT_EQ(Audio_StreamGetLength(h), 0u);
    EXPECT_EQ(Audio_ChannelGetPosition(h), AUDIO_BAD_POSITION);
    EXPECT_LT(Audio_ChannelBytes2Seconds(h, 100), 0.0f);
    EXPECT_EQ(Audio_ChannelSeconds2Bytes(h, 1.0f), AUDIO_BAD_POSITION);
    EXPECT_FALSE(Audio_ChannelSetPosition(h, 0));
    EXPECT_FALSE(Audio_ChannelGetAttributes(h, nullptr, nullptr, nullptr));
    EXPECT_FALSE(Audio_ChannelSetAttributes(h, 1000, 10, 10));
    EXPECT_EQ(Audio_ChannelIsActive(h), 0u);
    EXPECT_EQ(Audio_ChannelGetFlags(h), AUDIO_BAD_VALUE);
    EXPECT_EQ(Audio_ChannelGetData(h, buf, 0x200), AUDIO_BAD_VALUE);
    EXPECT_FALSE(Audio_StreamFree(h));
    if (h != smp) {
      EXPECT_EQ(Audio_SamplePlay(h), 0u);
      EXPECT_FALSE(Audio_SampleStop(h));
      EXPECT_FALSE(Audio_SampleFree(h));
    }
  }
  // the good ones were not touched
  EXPECT_EQ(Audio_StreamGetLength(s), 22050u * 4);
  EXPECT_EQ(Audio_StreamGetLength(reused), 22050u * 4);
  EXPECT_EQ(Audio_ChannelGetPosition(s), 0u);
  EXPECT_EQ(Audio_ChannelGetData(s, nullptr, 0x200), AUDIO_BAD_VALUE);
  EXPECT_FALSE(Audio_ChannelSetPosition(s, 1ull << 40));
  EXPECT_EQ(Audio_ChannelSeconds2Bytes(s, -1.0f), AUDIO_BAD_POSITION);
  EXPECT_EQ(Audio_ChannelSeconds2Bytes(s, NAN), AUDIO_BAD_POSITION);
  EXPECT_LT(Audio_ChannelBytes2Seconds(s, AUDIO_BAD_POSITION), 0.0f);
}

TEST(AudioStreamClosed, NothingWorksBeforeTheDeviceOpens) {
  TempDir dir;
  ASSERT_TRUE(writeSound("a.wav", SoundKind::Wav16, 44100, 1, sineFrames(441, 1, 440, 44100)));
  EXPECT_EQ(Audio_StreamCreateFile(false, "a.wav", 0, 0, 0), 0u);
  EXPECT_EQ(Audio_SampleLoad(false, "a.wav", 0, 0, 1, 0), 0u);
  EXPECT_FALSE(Audio_Start());
  EXPECT_FALSE(Audio_SetVolume(50));
}
