#include "platform/timer.h"
#include <atomic>
#include <chrono>
#include <thread>

namespace {
std::thread g_thread;
std::mutex g_stopM;
std::condition_variable g_stopCv;
bool g_stop = false;
std::atomic<bool> g_running{false};

void run(unsigned periodMs, Event* target) {
  using Clock = std::chrono::steady_clock;
  auto next = Clock::now() + std::chrono::milliseconds(periodMs);
  std::unique_lock<std::mutex> l(g_stopM);
  while (!g_stop) {
    if (g_stopCv.wait_until(l, next, [] { return g_stop; })) break;
    Event_Set(*target);
    // Ticks stay on the period grid; after a long stall the grid restarts from now
    // instead of firing a burst of late ticks.
    next += std::chrono::milliseconds(periodMs);
    auto now = Clock::now();
    if (next < now) next = now + std::chrono::milliseconds(periodMs);
  }
}
}

bool Timer_Start(unsigned periodMs, Event* target) {
  Timer_Stop();
  if (!target || periodMs == 0) return false;
  { std::lock_guard<std::mutex> l(g_stopM); g_stop = false; }
  try {
    g_thread = std::thread(run, periodMs, target);
  } catch (...) {
    return false;
  }
  g_running = true;
  return true;
}

void Timer_Stop() {
  if (!g_thread.joinable()) return;
  { std::lock_guard<std::mutex> l(g_stopM); g_stop = true; }
  g_stopCv.notify_all();
  g_thread.join();
  g_running = false;
}

bool Timer_Running() { return g_running; }
