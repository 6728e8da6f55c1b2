#pragma once
// Sounds made by the tests themselves (sines, click tracks), written as WAV, OGG
// Vorbis or MP3 through libsndfile, and a fixture that opens the output device.
#include "media/audio/audio.h"
#include "media/audio/audio_state.h"
#include "support/test_support.h"
#include <gtest/gtest.h>
#include <sndfile.h>
#include <chrono>
#include <cmath>
#include <functional>
#include <string>
#include <thread>
#include <vector>

enum class SoundKind { Wav16, Wav8, Ogg, Mp3 };

inline int sfFormat(SoundKind k) {
  switch (k) {
    case SoundKind::Wav16: return SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    case SoundKind::Wav8: return SF_FORMAT_WAV | SF_FORMAT_PCM_U8;
    case SoundKind::Ogg: return SF_FORMAT_OGG | SF_FORMAT_VORBIS;
    case SoundKind::Mp3: return SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III;
  }
  return 0;
}

// Interleaved float frames from a function of (frame, channel).
inline std::vector<float> makeFrames(int64_t frames, int channels, const std::function<float(int64_t, int)>& f) {
  std::vector<float> v((size_t)(frames * channels));
  for (int64_t i = 0; i < frames; i++)
    for (int c = 0; c < channels; c++) v[(size_t)(i * channels + c)] = f(i, c);
  return v;
}

inline std::vector<float> sineFrames(int64_t frames, int channels, double hz, int rate, double amp = 0.5) {
  return makeFrames(frames, channels, [=](int64_t i, int) { return (float)(amp * std::sin(2 * M_PI * hz * i / rate)); });
}

// A short 2 kHz burst every `every` frames (the first at frame 0).
inline std::vector<float> clickFrames(int64_t frames, int channels, int64_t every, int rate) {
  return makeFrames(frames, channels, [=](int64_t i, int) {
    int64_t ph = i % every;
    return ph < 200 ? (float)(0.8 * std::sin(2 * M_PI * 2000.0 * ph / rate)) : 0.0f;
  });
}

inline bool writeSound(const std::string& path, SoundKind kind, int rate, int channels,
                       const std::vector<float>& frames) {
  SF_INFO info{};
  info.samplerate = rate;
  info.channels = channels;
  info.format = sfFormat(kind);
  SNDFILE* f = sf_open(path.c_str(), SFM_WRITE, &info);
  if (!f) return false;
  sf_count_t n = (sf_count_t)(frames.size() / channels);
  bool ok = sf_writef_float(f, frames.data(), n) == n;
  sf_close(f);
  return ok;
}

// 16-bit WAV from exact sample values (float writes round on the way in).
inline bool writeWav16(const std::string& path, int rate, int channels, const std::vector<int16_t>& samples) {
  SF_INFO info{};
  info.samplerate = rate;
  info.channels = channels;
  info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
  SNDFILE* f = sf_open(path.c_str(), SFM_WRITE, &info);
  if (!f) return false;
  sf_count_t n = (sf_count_t)(samples.size() / channels);
  bool ok = sf_writef_short(f, samples.data(), n) == n;
  sf_close(f);
  return ok;
}

inline std::string soundBytes(SoundKind kind, int rate, int channels, const std::vector<float>& frames) {
  const char* name = "tmp-sound.bin";
  if (!writeSound(name, kind, rate, channels, frames)) return {};
  std::string b = ReadFile(name);
  std::remove(name);
  return b;
}

inline void sleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

// Waits up to `ms` for `cond`.
inline bool waitFor(int ms, const std::function<bool()>& cond) {
  auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (std::chrono::steady_clock::now() < end) {
    if (cond()) return true;
    sleepMs(2);
  }
  return cond();
}

// Closes the device when a test ends, however it ends.
struct CloseAfter {
  ~CloseAfter() { Audio_Free(); }
};

// A working folder and an open, running output device (the dummy driver in tests).
class AudioDeviceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(Audio_Init(-1, rate(), initFlags(), nullptr));
    if (startOutput()) {
      ASSERT_TRUE(Audio_Start());
    }
  }
  void TearDown() override { Audio_Free(); }
  virtual uint32_t rate() const { return 44100; }
  virtual uint32_t initFlags() const { return AUDIO_DEVICE_LATENCY; }
  virtual bool startOutput() const { return true; }
  TempDir dir;
};

// Device callbacks so far.
inline uint64_t callbacks() {
  std::lock_guard<std::mutex> lk(g_audio.lock);
  return g_audio.noteCount;
}

// Position of a channel in file frames.
inline int64_t framePos(uint32_t ch, int bytesPerFrame) {
  uint64_t p = Audio_ChannelGetPosition(ch);
  return p == AUDIO_BAD_POSITION ? -1 : (int64_t)(p / (uint64_t)bytesPerFrame);
}
