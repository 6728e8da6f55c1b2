#pragma once
// A manual-reset event: set by one thread, waited on by another, cleared by hand.
#include <condition_variable>
#include <mutex>

struct Event {
  std::mutex m;
  std::condition_variable cv;
  bool signalled = false;
};

void Event_Set(Event& e);
void Event_Reset(Event& e);
void Event_Wait(Event& e);                      // no time-out
bool Event_WaitMs(Event& e, unsigned timeoutMs); // false on time-out
