#include "platform/pacer.h"
#include "platform/clock.h"
#include "platform/event.h"
#include "platform/timer.h"

FramePacer g_pacer;

namespace {
Event g_frameEvent;
void (*g_waitHook)() = nullptr;
}

void Pacer_SetWaitHook(void (*hook)()) { g_waitHook = hook; }

bool Pacer_Init(int fps) {
  g_pacer = FramePacer{};
  Event_Reset(g_frameEvent);
  // The millisecond clock is the finest the timer needs.
  g_pacer.timerPeriodMs = 1;
  g_pacer.limiterOn = fps > 0;
  g_pacer.frameIntervalMs = 1000u / (unsigned)(fps > 0 ? fps : 60);
  g_pacer.lastFrameMs = Clock_Ms();
  if (!g_pacer.limiterOn) return true;
  return Timer_Start(g_pacer.frameIntervalMs, &g_frameEvent);
}

int WaitFrame() {
  // unpaced, or already late: the hook still samples once before the present
  if (!g_pacer.limiterOn) {
    if (g_waitHook) g_waitHook();
    return 1;
  }
  uint32_t now = Clock_Ms();
  uint32_t elapsed = now - g_pacer.lastFrameMs;
  g_pacer.lastFrameDurationMs = elapsed;
  if (elapsed >= g_pacer.frameIntervalMs) {
    if (g_waitHook) g_waitHook();
    g_pacer.lastFrameMs = now;
    return 1;
  }
  if (g_waitHook) {
    // once as the wait begins, then in short slices, so that what the hook
    // samples is never more than ~1 ms old
    g_waitHook();
    while (!Event_WaitMs(g_frameEvent, 1)) g_waitHook();
  } else {
    Event_Wait(g_frameEvent);
  }
  Event_Reset(g_frameEvent);
  g_pacer.lastFrameMs = Clock_Ms();
  return 1;
}

void Pacer_SignalFrame() { Event_Set(g_frameEvent); }

bool Pacer_Restart(unsigned delayMs) {
  if (!g_pacer.limiterOn) return true;
  Timer_Stop();
  return Timer_Start(delayMs, &g_frameEvent);
}

void Pacer_End() {
  if (g_pacer.limiterOn) Timer_Stop();
}
