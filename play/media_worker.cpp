#include "play/media_worker.h"
#include "platform/log.h"
#include "media/background/background.h"
#include "media/sound/sound_fx.h"
#include "platform/clock.h"
#include "platform/locks.h"
#include "platform/priority.h"
#include <atomic>
#include <chrono>
#include <thread>

namespace {
std::atomic<int> g_run{-1};  // 1 running, 0 asked to stop, -1 stopped
std::thread g_thread;

void work(int priority) {
  if (priority) Priority_RaiseThread(priority);
  while (g_run.load() > 0) {
    Backgrounds_ServeWorker();
    SoundQueue_Serve();
    Clock_SleepMs(5);
  }
  g_run = -1;
}
}

bool MediaWorker_Start(int threadPriority, bool boost) {
  WriteLog("Starting AVI/Animation thread...\n");
  if (g_thread.joinable()) return true;
  // sounds queued after the last play's worker stopped belong to that play
  SoundQueue_Clear();
  (void)boost;  // Linux has no per-thread priority boost to turn off
  g_run = 1;
  try {
    g_thread = std::thread(work, threadPriority);
  } catch (...) {
    g_run = -1;
    return false;
  }
  return true;
}

void MediaWorker_Stop() {
  WriteLog("Stopping AVI/Animation thread...\n");
  if (!g_thread.joinable()) return;
  g_run = 0;
  while (g_run.load() != -1) Clock_SleepMs(1);
  {
    std::unique_lock<std::timed_mutex> l(g_drawLock, std::defer_lock);
    bool locked = l.try_lock_for(std::chrono::milliseconds(kLockWaitMs));
    g_thread.join();
    (void)locked;
  }
  Clock_SleepMs(10);
}

bool MediaWorker_Running() { return g_thread.joinable() && g_run.load() > 0; }
