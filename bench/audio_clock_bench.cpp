// Accuracy of the music clock on the running device: a stream's reported
// position read at 1 kHz for 10 s, against the frames the device had really
// played at each moment. Target: at most 1 ms off.
//
// Two references: "cb" lets each buffer play evenly from its callback to the next
// (what the dummy driver does); "line" is the device's steady sample clock fitted
// over the whole run (what a sound card does, its callbacks jittering around it).
#include "media/audio/audio.h"
#include "media/audio/audio_state.h"
#include <benchmark/benchmark.h>
#include <sndfile.h>
#include <chrono>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

namespace {
bool writeTone(const char* path, double seconds) {
  SF_INFO info{};
  info.samplerate = 44100;
  info.channels = 2;
  info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
  SNDFILE* f = sf_open(path, SFM_WRITE, &info);
  if (!f) return false;
  int64_t n = (int64_t)(seconds * 44100);
  std::vector<float> v((size_t)n * 2);
  for (int64_t i = 0; i < n; i++) v[(size_t)(2 * i)] = v[(size_t)(2 * i + 1)] = (float)(0.2 * std::sin(i * 0.05));
  sf_writef_float(f, v.data(), n);
  sf_close(f);
  return true;
}

// A reading and the moments just before and after it: the position was taken
// somewhere between, so it is held against the truth over that span (a thread
// preempted inside the call is not a clock error).
struct Reading {
  double t, t2;
  double frames;
};

double distanceTo(double x, double lo, double hi) { return x < lo ? lo - x : x > hi ? x - hi : 0; }
}

static void BM_ClockError(benchmark::State& state) {
  int step = (int)state.range(0);
  double ratio = (step + 5) / 10.0;
  if (!writeTone("/tmp/tv-bench-clock.wav", 16) || !Audio_Init(-1, 44100, AUDIO_DEVICE_LATENCY, nullptr) ||
      !Audio_Start()) {
    state.SkipWithError("audio set-up failed");
    Audio_Free();
    return;
  }
  uint32_t s = Audio_StreamCreateFile(false, "/tmp/tv-bench-clock.wav", 0, 0, AUDIO_STREAM_EXACT_SEEK);
  Audio_ChannelSetAttributes(s, (int)(44100 * ratio), -1, -101);
  if (!s || !Audio_StreamPlay(s, false, 0)) {
    state.SkipWithError("stream failed");
    Audio_Free();
    return;
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  std::vector<Reading> reads;
  for (auto _ : state) {
    auto next = std::chrono::steady_clock::now();
    for (int i = 0; i < 10000; i++) {
      next += std::chrono::milliseconds(1);
      std::this_thread::sleep_until(next);
      double t = Audio_Now();
      double f = (double)(Audio_ChannelGetPosition(s) / 4);
      reads.push_back({t, Audio_Now(), f});
    }
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  std::vector<CallbackNote> notes = Mixer_Notes();
  double queued, firstPos;
  uint64_t firstDev;
  {
    std::lock_guard<std::mutex> lk(g_audio.lock);
    queued = g_audio.queuedFrames;
    firstPos = g_audio.streams[s & 0xFFF].v.firstPos;
    firstDev = g_audio.streams[s & 0xFFF].v.firstDev;
  }
  Audio_Free();
  // the steady clock through the callbacks of the run
  double st = 0, sf = 0, stt = 0, stf = 0;
  int m = 0;
  double t0 = reads.front().t;
  for (const CallbackNote& n : notes) {
    if (n.t < reads.front().t - 0.1 || n.t > reads.back().t + 0.1) continue;
    double x = n.t - t0, y = (double)n.handed - queued;
    st += x, sf += y, stt += x * x, stf += x * y;
    m++;
  }
  double slope = (m * stf - st * sf) / (m * stt - st * st), icpt = (sf - slope * st) / m;
  if (const char* dump = getenv("TV_CLOCK_DUMP")) {
    FILE* f = fopen(dump, "w");
    for (const CallbackNote& n : notes) fprintf(f, "n %.9f %llu\n", n.t, (unsigned long long)n.handed);
    for (const Reading& r : reads) fprintf(f, "r %.9f %.3f %.9f\n", r.t, r.frames, r.t2);
    fprintf(f, "q %f %f %llu\n", queued, firstPos, (unsigned long long)firstDev);
    fclose(f);
  }
  std::vector<double> errs;
  double maxCb = 0, sumCb = 0, maxLine = 0, sumLine = 0, maxStep = 0;
  int back = 0;
  for (size_t i = 0; i < reads.size(); i++) {
    const Reading& r = reads[i];
    auto cb = [&](double t) { return firstPos + (Notes_HeardAt(notes, queued, t) - (double)firstDev) * ratio; };
    auto line = [&](double t) { return firstPos + (icpt + slope * (t - t0) - (double)firstDev) * ratio; };
    double eCb = distanceTo(r.frames, cb(r.t), cb(r.t2)) / 44.1;
    double eLine = distanceTo(r.frames, line(r.t), line(r.t2)) / 44.1;
    maxCb = std::max(maxCb, eCb);
    errs.push_back(eCb);
    sumCb += eCb;
    maxLine = std::max(maxLine, eLine);
    sumLine += eLine;
    if (i) {
      double d = r.frames - reads[i - 1].frames;
      if (d < 0) back++;
      maxStep = std::max(maxStep, d / 44.1 / ratio - (r.t2 - reads[i - 1].t) * 1000);
    }
  }
  state.counters["cb_max_ms"] = maxCb;
  state.counters["cb_mean_ms"] = sumCb / reads.size();
  std::sort(errs.begin(), errs.end());
  state.counters["cb_p99_ms"] = errs[errs.size() * 99 / 100];
  state.counters["cb_p999_ms"] = errs[errs.size() * 999 / 1000];
  state.counters["line_max_ms"] = maxLine;
  state.counters["line_mean_ms"] = sumLine / reads.size();
  state.counters["max_jump_ms"] = maxStep;   // a reading ahead of the time that passed
  state.counters["backwards"] = back;
  state.counters["device_speed"] = slope / 44100;
}
BENCHMARK(BM_ClockError)->Arg(5)->Arg(7)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
