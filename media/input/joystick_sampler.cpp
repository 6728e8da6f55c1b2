// The joystick sampler's thread: the SDL joysticks read every millisecond on the
// monotonic clock's own ticks (absolute deadlines, so a late tick does not push
// the next ones), whatever the main thread is drawing. It runs only while a
// joystick is left to SDL; pads read through evdev need no ticks.
#include "media/input/evdev_reader.h"
#include "media/input/input.h"
#include "media/input/input_edges.h"
#include "platform/clock.h"
#include "platform/log.h"
#include "platform/priority.h"
#include <atomic>
#include <thread>
#include <sys/prctl.h>
#include <time.h>

namespace {
std::thread g_thread;
std::atomic<bool> g_running{false};
std::atomic<double> g_cpuMs{0};

void addNs(timespec& t, long ns) {
  t.tv_nsec += ns;
  while (t.tv_nsec >= 1000000000L) {
    t.tv_nsec -= 1000000000L;
    t.tv_sec++;
  }
}

bool before(const timespec& a, const timespec& b) {
  return a.tv_sec < b.tv_sec || (a.tv_sec == b.tv_sec && a.tv_nsec < b.tv_nsec);
}

void tick() {
  const long periodNs = (long)(kJoystickSampleMs * 1e6);
  // a tick that waits behind the drawing is a press stamped late: ahead of the
  // game's other threads where the system lets us, and woken on time
  Priority_RaiseThread(2);
  prctl(PR_SET_TIMERSLACK, 1UL, 0, 0, 0);
  timespec next;
  clock_gettime(CLOCK_MONOTONIC, &next);
  while (g_running) {
    InputEdges_SampleJoysticks(Clock_MsPrecise());
    addNs(next, periodNs);
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    // held up for several ticks (a suspended machine, a busy system): go on from
    // now rather than run the missed ticks back to back
    timespec late = next;
    addNs(late, 4 * periodNs);
    if (before(late, now)) {
      next = now;
      addNs(next, periodNs);
    }
    clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &next, nullptr);
  }
  timespec cpu;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &cpu);
  g_cpuMs = cpu.tv_sec * 1000.0 + cpu.tv_nsec / 1e6;
}
}  // namespace

void JoystickSampler_StartThread() {
  if (g_running) return;
  g_running = true;
  g_thread = std::thread(tick);
}

void JoystickSampler_Start(int count) {
  int sdl = 0;
  for (int j = 0; j < count; j++) sdl += Joystick_IsReal(j) && !Evdev_OwnsJoystick(j);
  if (!sdl || g_running) return;
  WriteLogf("Joysticks read through SDL: %d, sampled every %.0f ms on their own thread\n", sdl,
            kJoystickSampleMs);
  JoystickSampler_StartThread();
}

void JoystickSampler_Stop() {
  g_running = false;
  if (g_thread.joinable()) g_thread.join();
}

bool JoystickSampler_Running() { return g_running; }

double JoystickSampler_ThreadCpuMs() { return g_cpuMs; }
