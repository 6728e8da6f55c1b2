#pragma once
// The process-wide locks, all made at start-up. Waits on them are limited to
// 50 ms where a frame must not stall; a missed wait skips that update.
#include <mutex>

extern std::timed_mutex g_drawLock;        // presenting, and what a worker shares with the screen
extern std::timed_mutex g_soundQueueLock;  // the play's sound queue
extern std::timed_mutex g_movieLock;       // movie frames
extern std::timed_mutex g_pluginLock;      // visualization plug-ins

constexpr int kLockWaitMs = 50;
