#include "platform/event.h"
#include <chrono>

void Event_Set(Event& e) {
  { std::lock_guard<std::mutex> l(e.m); e.signalled = true; }
  e.cv.notify_all();
}

void Event_Reset(Event& e) {
  std::lock_guard<std::mutex> l(e.m);
  e.signalled = false;
}

void Event_Wait(Event& e) {
  std::unique_lock<std::mutex> l(e.m);
  e.cv.wait(l, [&] { return e.signalled; });
}

bool Event_WaitMs(Event& e, unsigned timeoutMs) {
  std::unique_lock<std::mutex> l(e.m);
  return e.cv.wait_for(l, std::chrono::milliseconds(timeoutMs), [&] { return e.signalled; });
}
