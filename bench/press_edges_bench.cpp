// How close a press's stamp lands to the moment it happened, through the two
// paths a joystick can take:
// - the SDL path: a fake joystick whose button a second thread sets at known
//   moments, read either by the main thread's sampler each frame and, paced,
//   every millisecond while the frame waits (the pacer's wait hook), or by the
//   joystick sampler's own thread every millisecond (as the game reads them);
// - the evdev path: events written to a pipe with the kernel's time of the
//   moment, read by the reader thread.
// Presses last 2 to 30 ms (many start and end inside one frame), 5 to 40 ms
// apart. Frames draw for 1 or 3 ms (the evdev path: 3 ms), then wait for the 60 Hz pacer, or (unpaced) give
// the system 1 ms as the play does and go on (the sampler then runs at the
// frame's start and before its present). Counters: mean and max |stamp -
// truth| in ms, presses missed (press and release both unseen), and the input
// path's CPU in % of a core (main thread sampling with the joystick sampler's
// thread, that thread alone as sampler_cpu_pct, or the reader thread). Each
// path wakes a thousand times a second: on a virtual machine whose timer
// wake-ups are dear, that alone is most of the figure.
#include "media/input/evdev_reader.h"
#include "media/input/input_edges.h"
#include "platform/clock.h"
#include "platform/pacer.h"
#include <benchmark/benchmark.h>
#include <linux/input.h>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <random>
#include <thread>
#include <time.h>
#include <unistd.h>
#include <vector>

namespace {
std::atomic<uint32_t> g_mask{0};
const EdgeSource kFakeJoystick = {nullptr, nullptr, [] { return 1; },
                                  [](int, uint32_t* m) {
                                    *m = g_mask.load();
                                    return true;
                                  }};

double threadCpuMs() {
  timespec ts;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
  return ts.tv_sec * 1000.0 + ts.tv_nsec / 1e6;
}

double monotonicMs() {
  timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return ts.tv_sec * 1000.0 + ts.tv_nsec / 1e6;
}

void busyMs(double ms) {
  double end = Clock_MsPrecise() + ms;
  while (Clock_MsPrecise() < end) {}
}

// Waits until `at` (program ms): asleep until shortly before, as a device takes
// no core while nobody presses, then spinning to hit the moment.
void waitUntil(double at) {
  double ahead = at - Clock_MsPrecise() - 1.5;
  if (ahead > 0) std::this_thread::sleep_for(std::chrono::microseconds((int64_t)(ahead * 1000)));
  while (Clock_MsPrecise() < at) std::this_thread::yield();
}

// Presses at random moments on `setButton`; returns the true down times.
std::vector<double> pressAtRandom(int count, unsigned seed, void (*setButton)(bool down)) {
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> hold(2, 30), gap(5, 40);
  std::vector<double> truth;
  for (int i = 0; i < count; i++) {
    double at = Clock_MsPrecise() + gap(rng);
    waitUntil(at);
    // a press whose thread was held up while setting it has no known moment
    double before = Clock_MsPrecise();
    setButton(true);
    double after = Clock_MsPrecise();
    truth.push_back(after - before < 0.1 ? (before + after) / 2 : -1);
    waitUntil(Clock_MsPrecise() + hold(rng));
    setButton(false);
  }
  return truth;
}

struct Figures {
  double sum = 0, max = 0;
  int matched = 0, missed = 0, unknown = 0;
  std::vector<double> errors;
};

void compare(const std::vector<double>& truth, uint64_t cursor, Figures& f) {
  std::vector<double> stamps;
  InputEdge e[256];
  while (int n = InputEdges_Read(cursor, e, 256))
    for (int i = 0; i < n; i++)
      if (e[i].down) stamps.push_back(e[i].atMs);
  // each true press takes the first stamp after the previous press's
  size_t k = 0;
  for (size_t i = 0; i < truth.size(); i++) {
    if (truth[i] < 0) {   // skipped, and its stamp with it
      f.unknown++;
      size_t j = i + 1;
      while (j < truth.size() && truth[j] < 0) j++;
      double next = j < truth.size() ? truth[j] : 1e18;
      while (k < stamps.size() && stamps[k] < next - 5) k++;
      continue;
    }
    double next = 1e18;
    for (size_t j = i + 1; j < truth.size(); j++)
      if (truth[j] >= 0) {
        next = truth[j];
        break;
      }
    while (k < stamps.size() && stamps[k] < truth[i] - 5) k++;
    if (k < stamps.size() && stamps[k] < next) {
      double d = std::fabs(stamps[k] - truth[i]);
      f.sum += d;
      f.max = std::max(f.max, d);
      f.errors.push_back(d);
      f.matched++;
      k++;
    } else {
      f.missed++;
    }
  }
}

void report(benchmark::State& state, const Figures& f, double cpuMs, double wallMs) {
  state.counters["mean_ms"] = f.matched ? f.sum / f.matched : 0;
  state.counters["max_ms"] = f.max;
  std::vector<double> e = f.errors;
  std::sort(e.begin(), e.end());
  state.counters["p99_ms"] = e.empty() ? 0 : e[std::min(e.size() - 1, e.size() * 99 / 100)];
  state.counters["missed"] = f.missed;
  state.counters["unknown"] = f.unknown;
  state.counters["presses"] = f.matched + f.missed;
  state.counters["cpu_pct"] = wallMs > 0 ? 100 * cpuMs / wallMs : 0;
}
}  // namespace

// Args: 1 paced at 60 frames a second with the wait hook, 0 unpaced; how long
// each frame draws (ms), during which the main thread samples nothing; 1 with
// the joystick sampler's thread, 0 the main thread alone.
static void BM_SdlJoystickStamps(benchmark::State& state) {
  bool paced = state.range(0) != 0;
  double drawMs = (double)state.range(1);
  bool sampler = state.range(2) != 0;
  InputEdges_SetSource(&kFakeJoystick);
  if (sampler) JoystickSampler_StartThread();
  Pacer_Init(paced ? 60 : 0);
  Pacer_SetWaitHook(InputEdges_SampleNow);
  Figures f;
  double inputCpu = 0, wall = 0;
  for (auto _ : state) {
    InputEdges_Clear();
    g_mask = 0;
    uint64_t cursor = InputEdges_Cursor();
    std::atomic<bool> done{false};
    std::vector<double> truth;
    std::thread presser([&] {
      truth = pressAtRandom(300, 11, [](bool d) { g_mask = d ? 1 : 0; });
      done = true;
    });
    double t0 = Clock_MsPrecise(), cpu0 = threadCpuMs(), drawn = 0;
    while (!done) {
      InputEdges_Sample(Clock_MsPrecise());   // the frame's own read
      double d0 = threadCpuMs();
      busyMs(drawMs);                         // drawing
      drawn += threadCpuMs() - d0;
      WaitFrame();                            // unpaced it returns at once
      if (!paced) Clock_SleepMs(1);           // as the play gives the system a moment
    }
    presser.join();
    wall += Clock_MsPrecise() - t0;
    inputCpu += threadCpuMs() - cpu0 - drawn;
    compare(truth, cursor, f);
  }
  double samplerCpu = 0;
  if (sampler) {
    JoystickSampler_Stop();
    samplerCpu = JoystickSampler_ThreadCpuMs();
  }
  report(state, f, inputCpu + samplerCpu, wall);
  state.counters["sampler_cpu_pct"] = wall > 0 ? 100 * samplerCpu / wall : 0;
  Pacer_SetWaitHook(nullptr);
  Pacer_End();
  InputEdges_SetSource(nullptr);
}
BENCHMARK(BM_SdlJoystickStamps)
    ->Args({1, 1, 0})->Args({1, 3, 0})->Args({0, 1, 0})->Args({0, 3, 0})
    ->Args({1, 1, 1})->Args({1, 3, 1})->Args({0, 1, 1})->Args({0, 3, 1})
    ->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

namespace {
int g_pipe[2];
void writeButton(bool down) {
  double mono = monotonicMs();
  input_event ev[2] = {};
  for (input_event& e : ev) {
    int64_t us = (int64_t)(mono * 1000);
    e.input_event_sec = us / 1000000;
    e.input_event_usec = us % 1000000;
  }
  ev[0].type = EV_KEY;
  ev[0].code = BTN_TRIGGER;
  ev[0].value = down ? 1 : 0;
  ev[1].type = EV_SYN;
  ev[1].code = SYN_REPORT;
  if (write(g_pipe[1], ev, sizeof ev) != (ssize_t)sizeof ev) return;
}
}  // namespace

// The frames do not matter to this path: the reader thread stamps on its own.
static void BM_EvdevStamps(benchmark::State& state) {
  bool paced = state.range(0) != 0;
  Pacer_Init(paced ? 60 : 0);
  Figures f;
  double wall = 0, cpu = 0;
  for (auto _ : state) {
    InputEdges_Clear();
    if (pipe(g_pipe) != 0) {
      state.SkipWithError("no pipe");
      return;
    }
    const uint16_t codes[] = {BTN_TRIGGER};
    Evdev_AddDevice(g_pipe[0], "Bench Mat", 0, codes, 1);
    Evdev_StartThread();
    uint64_t cursor = InputEdges_Cursor();
    std::atomic<bool> done{false};
    std::vector<double> truth;
    std::thread presser([&] {
      truth = pressAtRandom(300, 12, writeButton);
      done = true;
    });
    double t0 = Clock_MsPrecise();
    while (!done) {
      busyMs(3);
      WaitFrame();                            // unpaced it returns at once
      if (!paced) Clock_SleepMs(1);           // as the play gives the system a moment
    }
    presser.join();
    Clock_SleepMs(20);
    Evdev_Stop();
    close(g_pipe[1]);
    wall += Clock_MsPrecise() - t0;
    cpu += Evdev_ThreadCpuMs();
    compare(truth, cursor, f);
  }
  report(state, f, cpu, wall);
  Pacer_End();
}
BENCHMARK(BM_EvdevStamps)->Arg(1)->Arg(0)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
