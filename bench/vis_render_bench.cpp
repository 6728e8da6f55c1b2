// The media worker's cost per visualization frame: VisInstance::Render with each
// plug-in we ship (sound data from a playing stream, the fade, the plug-in's
// drawing and the upload into the frame picture), at SVP quality 5 and 10.
#include "media/audio/audio.h"
#include "media/vis/tarvolen_vis.h"
#include "media/vis/vis.h"
#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {
constexpr int kRate = 44100, kSeconds = 30;

// A 16-bit stereo WAV file in memory: a chord with a beat, so that every band moves.
std::vector<uint8_t> makeWav() {
  int64_t frames = (int64_t)kRate * kSeconds;
  uint32_t dataBytes = (uint32_t)(frames * 4);
  std::vector<uint8_t> v(44 + dataBytes);
  auto put32 = [&](size_t at, uint32_t x) { memcpy(&v[at], &x, 4); };
  auto put16 = [&](size_t at, uint16_t x) { memcpy(&v[at], &x, 2); };
  memcpy(&v[0], "RIFF", 4);
  put32(4, 36 + dataBytes);
  memcpy(&v[8], "WAVEfmt ", 8);
  put32(16, 16);
  put16(20, 1);
  put16(22, 2);
  put32(24, kRate);
  put32(28, kRate * 4);
  put16(32, 4);
  put16(34, 16);
  memcpy(&v[36], "data", 4);
  put32(40, dataBytes);
  int16_t* pcm = (int16_t*)&v[44];
  for (int64_t i = 0; i < frames; i++) {
    double t = (double)i / kRate;
    double chord = 0.2 * std::sin(2 * M_PI * 220 * t) + 0.15 * std::sin(2 * M_PI * 277.2 * t) +
                   0.1 * std::sin(2 * M_PI * 1760 * t);
    double beat = std::fmod(t, 0.5) < 0.05 ? 0.4 * std::sin(2 * M_PI * 60 * t) : 0;
    pcm[2 * i] = (int16_t)((chord + beat) * 32767);
    pcm[2 * i + 1] = (int16_t)((chord - beat) * 32767);
  }
  return v;
}

void renderBench(benchmark::State& state, const char* file) {
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  if (!Audio_Init(-1, kRate, 0, nullptr) || !Audio_Start()) {
    state.SkipWithError("no audio device");
    Audio_Free();
    return;
  }
  std::vector<uint8_t> wav = makeWav();
  uint32_t stream = Audio_StreamCreateFile(true, wav.data(), 0, (uint32_t)wav.size(), 0);
  std::string path = std::string(TV_GAME_DIR) + "/Vis/" + file;
  VisInstance vis;
  if (!stream || !Audio_StreamPlay(stream, false, 0) || !Vis_CreateFrame((int)state.range(0) * 10, true) ||
      !vis.Load(path.c_str(), VIS_LOAD_START)) {
    state.SkipWithError("cannot play the stream or load the plug-in");
    Audio_Free();
    return;
  }
  uint32_t t = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(vis.Render(t, stream));
    t += 16;
  }
  state.counters["width"] = Vis_FrameWidth();
  state.counters["height"] = Vis_FrameHeight();
  vis.Free();
  Vis_FreeFrame();
  Audio_Free();
}

void BM_SpectrumBars(benchmark::State& state) { renderBench(state, "tv-spectrum.svp"); }
void BM_Oscilloscope(benchmark::State& state) { renderBench(state, "tv-scope.svp"); }
}  // namespace

// The argument is the SVP quality setting (the frame is quality x 10 per cent).
BENCHMARK(BM_SpectrumBars)->Arg(5)->Arg(10)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Oscilloscope)->Arg(5)->Arg(10)->Unit(benchmark::kMicrosecond);
