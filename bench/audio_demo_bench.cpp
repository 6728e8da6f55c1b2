// A listening check: plays a sound through the default output for about four
// seconds, audibly when there is a sound card (run without SDL_AUDIODRIVER=dummy).
//   build/bin/audio_demo_bench                      a synthesized tune (OGG)
//   TV_AUDIO_FILE=song.mp3 build/bin/audio_demo_bench   any WAV, OGG or MP3 file
// Halfway it steps the speed up (rate step 7) and back, and it reports the
// device, its latency and how far the clock moved.
#include "media/audio/audio.h"
#include <benchmark/benchmark.h>
#include <sndfile.h>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

namespace {
// A little arpeggio over a steady beat.
bool writeTune(const char* path) {
  SF_INFO info{};
  info.samplerate = 44100;
  info.channels = 2;
  info.format = SF_FORMAT_OGG | SF_FORMAT_VORBIS;
  SNDFILE* f = sf_open(path, SFM_WRITE, &info);
  if (!f) return false;
  const double notes[] = {261.6, 329.6, 392.0, 523.3, 392.0, 329.6, 293.7, 349.2};
  int64_t n = 44100 * 5;
  std::vector<float> v((size_t)n * 2);
  for (int64_t i = 0; i < n; i++) {
    double t = i / 44100.0;
    int k = (int)(t / 0.25);
    double in = std::fmod(t, 0.25);
    double env = std::exp(-in * 8);
    double tone = 0.3 * env * std::sin(2 * M_PI * notes[k % 8] * t);
    double kick = std::fmod(t, 0.5) < 0.08 ? 0.5 * std::exp(-std::fmod(t, 0.5) * 40) * std::sin(2 * M_PI * 55 * t) : 0;
    v[(size_t)(2 * i)] = (float)(tone + kick);
    v[(size_t)(2 * i + 1)] = (float)(0.8 * tone + kick);
  }
  sf_writef_float(f, v.data(), n);
  sf_close(f);
  return true;
}
}

static void BM_PlayDemo(benchmark::State& state) {
  const char* file = getenv("TV_AUDIO_FILE");
  const char* tune = "/tmp/tv-audio-demo.ogg";
  if (!file) {
    if (!writeTune(tune)) {
      state.SkipWithError("cannot write the tune");
      return;
    }
    file = tune;
  }
  const char* device = Audio_GetDeviceDescription(0);
  if (!Audio_Init(-1, 44100, AUDIO_DEVICE_LATENCY, nullptr) || !Audio_Start()) {
    state.SkipWithError("Unable to initialise sound");
    Audio_Free();
    return;
  }
  AudioInfo info{};
  info.size = sizeof info;
  Audio_GetInfo(&info);
  Audio_SetVolume(80);
  uint32_t s = Audio_StreamCreateFile(false, file, 0, 0, AUDIO_STREAM_EXACT_SEEK);
  if (!s) {
    state.SkipWithError("the file does not play");
    Audio_Free();
    return;
  }
  uint32_t base = 44100;
  Audio_ChannelGetAttributes(s, &base, nullptr, nullptr);
  double moved = 0;
  for (auto _ : state) {
    Audio_StreamPlay(s, false, 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    Audio_ChannelSetAttributes(s, (int)(base * 12 / 10), -1, -101);
    std::this_thread::sleep_for(std::chrono::milliseconds(1000));
    Audio_ChannelSetAttributes(s, (int)base, -1, -101);
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    moved = Audio_ChannelBytes2Seconds(s, Audio_ChannelGetPosition(s));
    Audio_ChannelStop(s);
  }
  fprintf(stderr, "played '%s' on %s, latency %u ms\n", file, device ? device : "?", info.latency);
  state.counters["latency_ms"] = info.latency;
  state.counters["song_seconds"] = moved;   // about 4.2 for 4 s with one second at 1.2x
  Audio_Free();
}
BENCHMARK(BM_PlayDemo)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
