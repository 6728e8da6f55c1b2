// Decoding throughput of the stream decoder per format: 10 s of stereo music-like
// sound at 44.1 kHz, decoded to device-rate frames as the decoder thread does.
#include "media/audio/decoder.h"
#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <string>

namespace {
constexpr int kSeconds = 10;

std::vector<uint8_t> makeFile(int format, int rate) {
  static std::map<std::pair<int, int>, std::vector<uint8_t>> cache;
  auto key = std::make_pair(format, rate);
  if (cache.count(key)) return cache[key];
  const char* path = "/tmp/tv-bench-decode.snd";
  SF_INFO info{};
  info.samplerate = rate;
  info.channels = 2;
  info.format = format;
  SNDFILE* f = sf_open(path, SFM_WRITE, &info);
  if (!f) return {};
  std::mt19937 rng(7);
  std::normal_distribution<float> noise(0, 0.05f);
  int64_t n = (int64_t)kSeconds * rate;
  std::vector<float> v((size_t)n * 2);
  for (int64_t i = 0; i < n; i++) {
    double t = (double)i / rate;
    double chord = 0.2 * std::sin(2 * M_PI * 220 * t) + 0.15 * std::sin(2 * M_PI * 277.2 * t) +
                   0.1 * std::sin(2 * M_PI * 329.6 * t);
    double beat = std::fmod(t, 0.5) < 0.03 ? 0.4 * std::sin(2 * M_PI * 60 * t) : 0;
    v[(size_t)(2 * i)] = (float)(chord + beat) + noise(rng);
    v[(size_t)(2 * i + 1)] = (float)(chord - beat) + noise(rng);
  }
  sf_writef_float(f, v.data(), n);
  sf_close(f);
  std::ifstream in(path, std::ios::binary);
  cache[key] = std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
  std::remove(path);
  return cache[key];
}

void decodeBench(benchmark::State& state, int format, int fileRate, uint32_t deviceRate) {
  std::vector<uint8_t> file = makeFile(format, fileRate);
  if (file.empty()) {
    state.SkipWithError("cannot write the test file");
    return;
  }
  int64_t frames = 0;
  for (auto _ : state) {
    StreamDecoder d;
    if (!SoundFile_Open(d.file, std::vector<uint8_t>(file), "bench") || !StreamDecoder_Init(d, 2, false, deviceRate)) {
      state.SkipWithError("cannot open the test file");
      return;
    }
    while (!d.finished) frames += StreamDecoder_Run(d, 8192);
    StreamDecoder_Close(d);
  }
  state.counters["frames_per_s"] = benchmark::Counter((double)frames, benchmark::Counter::kIsRate);
  state.counters["x_realtime"] = benchmark::Counter((double)frames / deviceRate, benchmark::Counter::kIsRate);
  state.counters["file_kB"] = (double)file.size() / 1024;
}
}

static void BM_DecodeWav(benchmark::State& s) { decodeBench(s, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 44100, 44100); }
static void BM_DecodeOgg(benchmark::State& s) { decodeBench(s, SF_FORMAT_OGG | SF_FORMAT_VORBIS, 44100, 44100); }
static void BM_DecodeMp3(benchmark::State& s) { decodeBench(s, SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III, 44100, 44100); }
// with rate conversion: a 48 kHz file on a 44.1 kHz device
static void BM_DecodeMp3At48k(benchmark::State& s) { decodeBench(s, SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III, 48000, 44100); }
static void BM_DecodeWav22kTo44k(benchmark::State& s) { decodeBench(s, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 22050, 44100); }
BENCHMARK(BM_DecodeWav)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeOgg)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeMp3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeMp3At48k)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeWav22kTo44k)->Unit(benchmark::kMillisecond);
