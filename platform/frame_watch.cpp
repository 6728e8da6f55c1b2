#include "platform/frame_watch.h"
#include "platform/clock.h"
#include "platform/log.h"
#include <cstdlib>

namespace {
double g_limitMs = 0;      // 0: not watching
double g_lastMs = -1;
int g_held = 0;
double g_longestMs = 0;
}  // namespace

void FrameWatch_Init() {
  const char* v = getenv("TARVOLEN_FRAME_WATCH");
  g_limitMs = v ? atof(v) : 0;
  if (g_limitMs < 0) g_limitMs = 0;
  g_lastMs = -1;
  g_held = 0;
  g_longestMs = 0;
  if (g_limitMs > 0) WriteLogf("Watching for frames held over %.0f ms\n", g_limitMs);
}

void FrameWatch_Restart() { g_lastMs = -1; }

void FrameWatch_Frame(const char* where) {
  if (g_limitMs <= 0) return;
  double now = Clock_MsPrecise();
  double took = g_lastMs < 0 ? 0 : now - g_lastMs;
  g_lastMs = now;
  if (took <= g_limitMs) return;
  g_held++;
  if (took > g_longestMs) g_longestMs = took;
  WriteLogf("Frame held %.0f ms on %s\n", took, where && *where ? where : "a screen");
}

int FrameWatch_HeldCount() { return g_held; }
double FrameWatch_LongestMs() { return g_longestMs; }
