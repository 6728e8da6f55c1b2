#include "media/sound/sound_fx.h"
#include "media/audio/audio.h"
#include "platform/files.h"
#include "support/test_support.h"
#include <gtest/gtest.h>
#include <sndfile.h>
#include <vector>

namespace {
void writeWav(const std::string& path, int frames = 2205) {
  SF_INFO info{};
  info.samplerate = 22050;
  info.channels = 1;
  info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
  SNDFILE* f = sf_open(path.c_str(), SFM_WRITE, &info);
  std::vector<short> s((size_t)frames, 1000);
  sf_write_short(f, s.data(), frames);
  sf_close(f);
}

struct AudioUp {
  AudioUp() { ok = Audio_Init(-1, 22050, 0, nullptr); }
  ~AudioUp() {
    FreeSounds();
    Audio_Free();
  }
  bool ok;
};

int g_sequence[64], g_seqAt = 0;
int scripted() { return g_sequence[g_seqAt++ % 64]; }
}

TEST(SoundFx, VariantsNeverRepeatTheLastOne) {
  for (int i = 0; i < 64; i++) g_sequence[i] = (i * 7919) % 32768;
  int last = -1;
  for (int i = 0; i < 40; i++) {
    int v = SampleSet_PickIndex(2, last, scripted);
    ASSERT_NE(v, last);
    last = v;
  }
  EXPECT_EQ(SampleSet_PickIndex(1, 0, scripted), 0);
  EXPECT_EQ(SampleSet_PickIndex(0, -1, scripted), -1);
  for (int i = 0; i < 200; i++) {
    int v = SampleSet_PickIndex(5, 2, [] { return 32767; });
    ASSERT_EQ(v, 4);
  }
}

TEST(SoundFx, VoiceFoldersAndFallbacks) {
  TempDir dir;
  AudioUp audio;
  ASSERT_TRUE(audio.ok);
  Dir_Create("Sounds/Default");
  Dir_Create("Sounds/Fx");
  Dir_Create("Sounds/Voice/start/go");
  Dir_Create("Sounds/Voice/start/go/sub.wav");  // a folder, not a sample
  writeWav("Sounds/Voice/start/go/GO-ONE.WAV");
  writeWav("Sounds/Voice/start/go/go-two.wav");
  WriteFile("Sounds/Voice/start/go/notes.txt", "x");
  writeWav("Sounds/Default/select.wav");
  writeWav("Sounds/Fx/start.wav");
  writeWav("Sounds/Default/timer.wav");  // an announcer line is never taken from Default
  LoadSounds("Fx", "Voice");
  EXPECT_NE(g_sounds[SND_SELECT], 0u);   // effect set falls back to Default
  EXPECT_NE(g_sounds[SND_START], 0u);
  EXPECT_EQ(g_sounds[SND_CLAP], 0u);     // nowhere: silent
  EXPECT_EQ(g_sounds[SND_TIMER], 0u);
  const SampleSet& go = g_voices[VOICE_START_GO];
  ASSERT_EQ(go.count, 2);
  EXPECT_STREQ(go.files[0], "go-one.wav");
  EXPECT_NE(go.samples[0], 0u);          // found through its capital letters and preloaded
  EXPECT_TRUE(go.preload);
  EXPECT_EQ(g_voices[VOICE_EVAL_AAA].count, 0);
  EXPECT_FALSE(g_voices[VOICE_EVAL_AAA].preload);
  PlayVoice(VOICE_START_GO);
  EXPECT_GE(g_voices[VOICE_START_GO].last, 0);
  EXPECT_EQ(PlaySound(SND_CLAP), 0u);
}

TEST(SoundFx, QueueKeepsEightSlotsAndOverwritesTheFirst) {
  TempDir dir;
  AudioUp audio;
  ASSERT_TRUE(audio.ok);
  writeWav("a.wav", 22050);
  uint32_t s[10];
  for (int i = 0; i < 10; i++) {
    s[i] = Audio_SampleLoad(false, "a.wav", 0, 0, 10, 0x20040);
    ASSERT_NE(s[i], 0u);
  }
  for (int i = 0; i < 10; i++) ASSERT_TRUE(QueueSample(s[i]));
  EXPECT_EQ(SoundQueue_Serve(), 8);
  EXPECT_EQ(SoundQueue_Serve(), 0);  // emptied
  QueueSample(0);
  EXPECT_EQ(SoundQueue_Serve(), 0);  // handle 0 plays nothing
  // what one play left queued is dropped when the next play's worker starts
  QueueSample(s[0]);
  QueueSample(s[1]);
  SoundQueue_Clear();
  EXPECT_EQ(SoundQueue_Serve(), 0);
  QueueSample(s[2]);
  EXPECT_EQ(SoundQueue_Serve(), 1);
}
