// How far a press's stamped time lands from the music: a stream plays on the
// audio library (dummy driver unless another is chosen), the song clock is taken
// once per 16 ms frame as the play does, and presses made at random moments
// between frames are stamped from it (SongClock_At). Each stamp is compared
// with the heard position read at the moment of the press. Reports the mean and
// the largest |difference| in ms.
#include "media/audio/audio.h"
#include "platform/clock.h"
#include "play/song_clock.h"
#include <benchmark/benchmark.h>
#include <cmath>
#include <cstring>
#include <cstdlib>
#include <random>
#include <vector>

namespace {
double heardMs(uint32_t s) {
  uint64_t pos = Audio_ChannelGetPosition(s);
  return pos == AUDIO_BAD_POSITION ? -1 : Audio_ChannelBytes2Seconds(s, pos) * 1000.0;
}
}

static void BM_PressStampError(benchmark::State& state) {
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  if (!Audio_Init(-1, 44100, 0, nullptr)) {
    state.SkipWithError("no audio device");
    return;
  }
  Audio_Start();
  // 30 s of silence, 16-bit stereo WAV in memory
  const uint32_t frames = 44100 * 30;
  std::vector<uint8_t> wav(44 + frames * 4, 0);
  auto put32 = [&](size_t at, uint32_t v) { for (int i = 0; i < 4; i++) wav[at + i] = (uint8_t)(v >> (8 * i)); };
  auto put16 = [&](size_t at, uint16_t v) { wav[at] = (uint8_t)v; wav[at + 1] = (uint8_t)(v >> 8); };
  memcpy(&wav[0], "RIFF", 4); put32(4, (uint32_t)wav.size() - 8); memcpy(&wav[8], "WAVEfmt ", 8);
  put32(16, 16); put16(20, 1); put16(22, 2); put32(24, 44100); put32(28, 44100 * 4); put16(32, 4); put16(34, 16);
  memcpy(&wav[36], "data", 4); put32(40, frames * 4);
  uint32_t s = Audio_StreamCreateFile(true, wav.data(), 0, (uint32_t)wav.size(), AUDIO_STREAM_EXACT_SEEK);
  Audio_StreamPlay(s, false, 0);
  Clock_SleepMs(300);  // past the first buffers
  std::mt19937 rng(7);
  std::vector<double> errors;
  for (auto _ : state) {
    SongClock c;
    double wall = Clock_MsPrecise();
    SongClock_Begin(c, heardMs(s), 5, wall);
    for (int frame = 0; frame < 60; frame++) {
      wall = Clock_MsPrecise();
      SongClock_Update(c, wall, heardMs(s), true);
      // a press somewhere in the next frame, stamped when that frame reads the devices
      double wait = std::uniform_real_distribution<double>(0.5, 15.5)(rng);
      while (Clock_MsPrecise() < wall + wait) {}
      double pressAt = Clock_MsPrecise();
      double truth = heardMs(s);
      while (Clock_MsPrecise() < wall + 16) {}
      double now = Clock_MsPrecise();
      SongClock_Update(c, now, heardMs(s), true);
      errors.push_back(std::fabs(SongClock_At(c, pressAt) - truth));
    }
  }
  double sum = 0, worst = 0;
  for (double e : errors) {
    sum += e;
    if (e > worst) worst = e;
  }
  state.counters["mean_ms"] = sum / errors.size();
  state.counters["max_ms"] = worst;
  state.counters["presses"] = (double)errors.size();
  Audio_StreamFree(s);
  Audio_Free();
}
BENCHMARK(BM_PressStampError)->Iterations(5)->Unit(benchmark::kMillisecond);
