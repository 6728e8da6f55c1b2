#include "platform/clock.h"
#include <chrono>
#include <mutex>
#include <thread>

namespace {
using Steady = std::chrono::steady_clock;
Steady::time_point g_zero;
std::once_flag g_once;
}

void Clock_Start() { std::call_once(g_once, [] { g_zero = Steady::now(); }); }

double Clock_MsPrecise() {
  Clock_Start();
  return std::chrono::duration<double, std::milli>(Steady::now() - g_zero).count();
}

uint32_t Clock_Ms() { return (uint32_t)(uint64_t)Clock_MsPrecise(); }

void Clock_SleepMs(uint32_t ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
