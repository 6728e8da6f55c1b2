// Mixing cost of the audio library: one music stream and 8 samples playing,
// per second of output, rendered by hand and inside the running device callback.
// Target: well under 1 % of one core.
#include "media/audio/audio.h"
#include "media/audio/audio_state.h"
#include <benchmark/benchmark.h>
#include <sndfile.h>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

namespace {
std::string writeTone(const char* path, int rate, int channels, double seconds, double hz) {
  SF_INFO info{};
  info.samplerate = rate;
  info.channels = channels;
  info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
  SNDFILE* f = sf_open(path, SFM_WRITE, &info);
  int64_t n = (int64_t)(seconds * rate);
  std::vector<float> v((size_t)(n * channels));
  for (int64_t i = 0; i < n; i++)
    for (int c = 0; c < channels; c++)
      v[(size_t)(i * channels + c)] = (float)(0.3 * std::sin(2 * M_PI * hz * (c + 1) * i / rate));
  sf_writef_float(f, v.data(), n);
  sf_close(f);
  return path;
}

struct Scene {
  uint32_t music = 0;
  uint32_t samples[8] = {};
};

// Music plus 8 looping effects, mono and stereo, one recorded at another rate.
bool buildScene(Scene& s, int rateStep) {
  if (!Audio_Init(-1, 44100, AUDIO_DEVICE_LATENCY, nullptr)) return false;
  writeTone("/tmp/tv-bench-music.wav", 44100, 2, 30, 220);
  s.music = Audio_StreamCreateFile(false, "/tmp/tv-bench-music.wav", 0, 0, AUDIO_STREAM_EXACT_SEEK);
  if (!s.music) return false;
  Audio_ChannelSetAttributes(s.music, 44100 * (rateStep + 5) / 10, -1, -101);
  for (int k = 0; k < 8; k++) {
    std::string p = "/tmp/tv-bench-fx" + std::to_string(k) + ".wav";
    writeTone(p.c_str(), k == 3 ? 22050 : 44100, 1 + k % 2, 1.0, 300 + 50 * k);
    s.samples[k] = Audio_SampleLoad(false, p.c_str(), 0, 0, 1, 0x20044);
    if (!s.samples[k] || !Audio_SamplePlay(s.samples[k])) return false;
  }
  return Audio_StreamPlay(s.music, false, 0);
}

// Waits until the decoder has the music well ahead (untimed).
void refill(uint32_t music) {
  Audio_ChannelSetPosition(music, 0);
  for (int i = 0; i < 500; i++) {
    {
      std::lock_guard<std::mutex> lk(g_audio.lock);
      Stream* s = Stream_Find(music);
      if (!s || s->ringEnd - (int64_t)s->v.pos >= 44100) return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
}
}

// One second of output (86 device buffers of 512 frames), mixed by hand while
// the device is open but not started.
static void BM_MixOneSecond(benchmark::State& state) {
  Scene scene;
  if (!buildScene(scene, (int)state.range(0))) {
    state.SkipWithError("audio set-up failed");
    Audio_Free();
    return;
  }
  std::vector<uint8_t> out(512 * 4);
  double mixed = 0;
  for (auto _ : state) {
    state.PauseTiming();
    refill(scene.music);
    state.ResumeTiming();
    auto t0 = std::chrono::steady_clock::now();
    for (int b = 0; b < 86; b++) Mixer_Render(out.data(), (int)out.size());
    mixed += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    benchmark::DoNotOptimize(out.data());
  }
  // 86 x 512 frames = 0.9985 s of sound per iteration
  state.counters["core_percent"] = 100.0 * mixed / (state.iterations() * 86 * 512 / 44100.0);
  Audio_Free();
}
BENCHMARK(BM_MixOneSecond)->Arg(5)->Arg(7)->Unit(benchmark::kMicrosecond);

// The same scene on the running device: the time spent inside the callback,
// over 3 s of real output.
static void BM_CallbackLive(benchmark::State& state) {
  Scene scene;
  if (!buildScene(scene, 5) || !Audio_Start()) {
    state.SkipWithError("audio set-up failed");
    Audio_Free();
    return;
  }
  double busy = 0, wall = 0;
  for (auto _ : state) {
    double m0, t0 = Audio_Now();
    {
      std::lock_guard<std::mutex> lk(g_audio.lock);
      m0 = g_audio.mixSeconds;
    }
    std::this_thread::sleep_for(std::chrono::seconds(3));
    std::lock_guard<std::mutex> lk(g_audio.lock);
    busy += g_audio.mixSeconds - m0;
    wall += Audio_Now() - t0;
  }
  state.counters["core_percent"] = 100.0 * busy / wall;
  Audio_Free();
}
BENCHMARK(BM_CallbackLive)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
