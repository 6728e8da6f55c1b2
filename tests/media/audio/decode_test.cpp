// Decoding of WAV, OGG Vorbis and MP3 files the test writes itself: lengths,
// sample values and click timing, from paths and from memory, and bad files.
#include "audio_test_util.h"
#include "media/audio/decoder.h"

namespace {
std::vector<float> decodeAll(const std::string& bytes, int channels, uint32_t deviceRate, int64_t& fileFrames) {
  SoundFile f;
  std::vector<uint8_t> b(bytes.begin(), bytes.end());
  std::vector<float> out;
  fileFrames = 0;
  if (!SoundFile_Open(f, std::move(b), "test")) return out;
  Sound_DecodeWhole(f, channels, false, deviceRate, 1 << 26, out, fileFrames);
  SoundFile_Close(f);
  return out;
}

// Frame of the first sample at or after `from` whose magnitude passes 0.2.
int64_t onsetAfter(const std::vector<float>& mono, int64_t from) {
  for (int64_t i = std::max<int64_t>(from, 0); i < (int64_t)mono.size(); i++)
    if (std::fabs(mono[(size_t)i]) > 0.2f) return i;
  return -1;
}
}

TEST(AudioDecode, WavSamplesComeBackExactly) {
  TempDir dir;
  // a ramp through the whole 16-bit range, different on each channel
  std::vector<int16_t> pcm(30000 * 2);
  for (size_t i = 0; i < pcm.size(); i++) pcm[i] = (int16_t)((int)((i / 2) * 7 + (i % 2) * 1000) % 65536 - 32768);
  ASSERT_TRUE(writeWav16("ramp.wav", 44100, 2, pcm));
  int64_t n = 0;
  std::vector<float> got = decodeAll(ReadFile("ramp.wav"), 2, 44100, n);
  ASSERT_EQ(n, 30000);
  ASSERT_EQ(got.size(), pcm.size());
  for (size_t i = 0; i < got.size(); i++) ASSERT_EQ(got[i] * 32768.0f, (float)pcm[i]) << i;
}

TEST(AudioDecode, LossyFormatsKeepLengthAndTiming) {
  TempDir dir;
  const int rate = 44100;
  const int64_t frames = rate * 2;
  const int64_t every = rate / 4;   // a click each 250 ms
  for (SoundKind kind : {SoundKind::Ogg, SoundKind::Mp3}) {
    SCOPED_TRACE(kind == SoundKind::Ogg ? "ogg" : "mp3");
    std::string bytes = soundBytes(kind, rate, 1, clickFrames(frames, 1, every, rate));
    ASSERT_FALSE(bytes.empty());
    int64_t n = 0;
    std::vector<float> got = decodeAll(bytes, 1, rate, n);
    EXPECT_EQ(n, frames);
    // every click where it was written, to well within a millisecond
    for (int k = 0; k < 8; k++) {
      int64_t at = onsetAfter(got, k * every - 20);
      EXPECT_NEAR((double)at, (double)(k * every), 10.0) << "click " << k;
    }
    // and the sine inside a click keeps its shape
    std::vector<float> ref = clickFrames(frames, 1, every, rate);
    double err = 0, sig = 0;
    for (int64_t i = every; i < every + 200; i++) {
      err += (got[i] - ref[i]) * (got[i] - ref[i]);
      sig += ref[i] * ref[i];
    }
    EXPECT_LT(std::sqrt(err / sig), 0.1);   // within -20 dB
  }
}

TEST(AudioDecode, RateConversionKeepsLengthAndPitch) {
  TempDir dir;
  // one second at 22050 Hz to a 44100 Hz device: twice the frames, same tone
  std::string bytes = soundBytes(SoundKind::Wav16, 22050, 1, sineFrames(22050, 1, 1000, 22050));
  int64_t n = 0;
  std::vector<float> got = decodeAll(bytes, 1, 44100, n);
  EXPECT_EQ(n, 22050);
  EXPECT_NEAR((double)got.size(), 44100.0, 4.0);
  // zero crossings of a 1 kHz tone: 2000 a second
  int crossings = 0;
  for (size_t i = 1000; i + 1 < 43000; i++)
    if ((got[i] < 0) != (got[i + 1] < 0)) crossings++;
  EXPECT_NEAR(crossings, 2000 * 42000 / 44100, 3);
}

TEST(AudioDecode, StereoMixesDownAndMonoSpreads) {
  TempDir dir;
  auto frames = makeFrames(1000, 2, [](int64_t, int c) { return c == 0 ? 0.5f : -0.25f; });
  std::string bytes = soundBytes(SoundKind::Wav16, 44100, 2, frames);
  int64_t n = 0;
  std::vector<float> mono = decodeAll(bytes, 1, 44100, n);
  ASSERT_EQ(mono.size(), 1000u);
  EXPECT_FLOAT_EQ(mono[10], 0.125f);
  std::string m = soundBytes(SoundKind::Wav16, 44100, 1, sineFrames(1000, 1, 440, 44100));
  std::vector<float> stereo = decodeAll(m, 2, 44100, n);
  ASSERT_EQ(stereo.size(), 2000u);
  EXPECT_EQ(stereo[200], stereo[201]);
}

class AudioDecodeDevice : public AudioDeviceTest {};

TEST_F(AudioDecodeDevice, StreamsFromPathAndMemoryAgree) {
  auto frames = sineFrames(44100, 2, 440, 44100);
  ASSERT_TRUE(writeSound("tone.wav", SoundKind::Wav16, 44100, 2, frames));
  std::string bytes = ReadFile("tone.wav");
  uint32_t a = Audio_StreamCreateFile(false, "tone.wav", 0, 0, AUDIO_STREAM_EXACT_SEEK);
  uint32_t b = Audio_StreamCreateFile(true, bytes.data(), 0, (uint32_t)bytes.size(), AUDIO_STREAM_EXACT_SEEK);
  bytes.assign(bytes.size(), 'x');   // the library keeps its own copy
  ASSERT_NE(a, 0u);
  ASSERT_NE(b, 0u);
  EXPECT_EQ(Audio_StreamGetLength(a), 44100u * 4);
  EXPECT_EQ(Audio_StreamGetLength(b), 44100u * 4);
  EXPECT_FLOAT_EQ(Audio_ChannelBytes2Seconds(a, Audio_StreamGetLength(a)), 1.0f);
  // the same samples at the same place from both
  ASSERT_TRUE(Audio_ChannelSetPosition(a, 12345 * 4));
  ASSERT_TRUE(Audio_ChannelSetPosition(b, 12345 * 4));
  int16_t da[256], db[256];
  ASSERT_EQ(Audio_ChannelGetData(a, da, 0x200), 0x200u);
  ASSERT_EQ(Audio_ChannelGetData(b, db, 0x200), 0x200u);
  for (int i = 0; i < 256; i++) {
    int16_t want = (int16_t)std::lrint(frames[(size_t)(12345 * 2 + i)] * 32768.0f);
    EXPECT_NEAR(da[i], want, 1) << i;
    EXPECT_EQ(da[i], db[i]);
  }
}

TEST_F(AudioDecodeDevice, MissingPathFallsBackToCaseBlindLookup) {
  ASSERT_TRUE(writeSound("Tone.WAV", SoundKind::Wav16, 44100, 1, sineFrames(4410, 1, 440, 44100)));
  uint32_t s = Audio_StreamCreateFile(false, "tone.wav", 0, 0, 0);
  EXPECT_NE(s, 0u);
  EXPECT_EQ(Audio_StreamCreateFile(false, "nothere.wav", 0, 0, 0), 0u);
  EXPECT_EQ(Audio_SampleLoad(false, "nothere.wav", 0, 0, 1, 0), 0u);
}

TEST_F(AudioDecodeDevice, BadFilesGiveNothingOrWhatDecodes) {
  auto tone = sineFrames(44100, 2, 440, 44100);
  std::string wav = soundBytes(SoundKind::Wav16, 44100, 2, tone);
  std::string ogg = soundBytes(SoundKind::Ogg, 44100, 2, tone);
  std::string mp3 = soundBytes(SoundKind::Mp3, 44100, 2, tone);
  WriteFile("tone.wav", wav);
  WriteFile("empty.wav", "");
  WriteFile("junk.mp3", std::string(5000, '\x5a'));
  WriteFile("text.ogg", "this is not a sound at all, only a few words of text\n");
  WriteFile("half.wav", wav.substr(0, wav.size() / 2));
  WriteFile("half.ogg", ogg.substr(0, ogg.size() / 2));
  WriteFile("half.mp3", mp3.substr(0, mp3.size() / 2));
  WriteFile("header.wav", wav.substr(0, 44));
  WriteFile("ogg-named.mp3", ogg);
  std::string flipped = mp3;
  for (size_t i = 600; i < flipped.size(); i += 97) flipped[i] = (char)~flipped[i];
  WriteFile("flipped.mp3", flipped);

  for (const char* name : {"empty.wav", "text.ogg", "header.wav"}) {
    EXPECT_EQ(Audio_StreamCreateFile(false, name, 0, 0, 0), 0u) << name;
    EXPECT_EQ(Audio_SampleLoad(false, name, 0, 0, 1, 0), 0u) << name;
  }
  EXPECT_EQ(Audio_StreamCreateFile(true, nullptr, 0, 100, 0), 0u);
  EXPECT_EQ(Audio_StreamCreateFile(true, wav.data(), 0, 0, 0), 0u);
  EXPECT_EQ(Audio_StreamCreateFile(false, "tone.wav", 1u << 30, 0, 0), 0u);

  // a mislabelled file is known by its contents
  uint32_t s = Audio_StreamCreateFile(false, "ogg-named.mp3", 0, 0, 0);
  ASSERT_NE(s, 0u);
  EXPECT_EQ(Audio_StreamGetLength(s), 44100u * 4);

  // damaged files: whatever decodes plays, and each plays out to an end
  std::vector<uint32_t> plays;
  for (const char* name : {"junk.mp3", "half.wav", "half.ogg", "half.mp3", "flipped.mp3"}) {
    uint32_t h = Audio_StreamCreateFile(false, name, 0, 0, 0);
    uint32_t smp = Audio_SampleLoad(false, name, 0, 0, 1, 0);
    if (smp) {
      EXPECT_NE(Audio_SamplePlay(smp), 0u) << name;
    }
    if (!h) continue;
    EXPECT_TRUE(Audio_ChannelSetAttributes(h, 100000, -1, -101));   // play them fast
    EXPECT_TRUE(Audio_StreamPlay(h, false, 0)) << name;
    plays.push_back(h);
  }
  EXPECT_GE(plays.size(), 3u);   // at least the halves of the three formats
  for (uint32_t h : plays) EXPECT_TRUE(waitFor(3000, [&] { return Audio_ChannelIsActive(h) == 0; }));
  // a truncated WAV is as long as what it holds, not what its header claims
  uint32_t half = Audio_StreamCreateFile(false, "half.wav", 0, 0, 0);
  ASSERT_NE(half, 0u);
  EXPECT_TRUE(Audio_StreamPlay(half, false, 0));
  EXPECT_TRUE(waitFor(3000, [&] { return Audio_ChannelIsActive(half) == 0; }));
  EXPECT_NEAR((double)Audio_StreamGetLength(half), (double)(wav.size() / 2 - 44), 4.0);
  EXPECT_EQ(Audio_ChannelGetPosition(half), Audio_StreamGetLength(half));
}
