#pragma once
// The frame pacer every screen loop calls once per frame, after drawing and before
// presenting. With "/fps:" a timer thread sets an event every frame interval and
// WaitFrame sleeps on it; without it frames are bounded only by presentation.
#include <cstdint>

struct FramePacer {
  bool limiterOn = false;
  uint32_t frameIntervalMs = 16;   // 1000 / fps, truncated; 16 at the nominal 60
  uint32_t lastFrameMs = 0;
  uint32_t lastFrameDurationMs = 0;
  unsigned timerPeriodMs = 0;      // resolution of the periodic timer
};

extern FramePacer g_pacer;

bool Pacer_Init(int fps);          // fps 0: limiter off; false when the timer cannot start
int WaitFrame();
bool Pacer_Restart(unsigned delayMs);  // the timer with another delay
// Sets the frame event at once: a frame that was not presented does not make the
// next WaitFrame sleep a whole interval more.
void Pacer_SignalFrame();
void Pacer_End();
// Called about every millisecond while WaitFrame waits (the input sampler), and
// once when it does not wait, on the thread that waits; nullptr for none. The
// frame timing stays the same.
void Pacer_SetWaitHook(void (*hook)());
