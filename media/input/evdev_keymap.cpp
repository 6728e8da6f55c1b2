// The pairing of physical keys with our key codes, learnt from presses seen on
// both paths.
#include "media/input/evdev_keymap.h"
#include "platform/log.h"
#include <mutex>

namespace {
constexpr int kKeys = 256;           // physical keys we pair (the keyboard's block)
constexpr int kWaiting = 8;
constexpr double kPairWindowMs = 250;

struct Waiting {
  int code;
  double atMs;
};

std::mutex g_lock;
int16_t g_ours[kKeys];               // physical key -> our code, -1 none
int16_t g_physical[kKeys];           // our code -> physical key, -1 none
Waiting g_waiting[kWaiting];
int g_waitingCount = 0;
bool g_any = false;

void resetLocked() {
  for (int i = 0; i < kKeys; i++) g_ours[i] = g_physical[i] = -1;
  g_waitingCount = 0;
  g_any = false;
}

struct Init {
  Init() { resetLocked(); }
} g_init;
}  // namespace

void EvdevKeymap_Reset() {
  std::lock_guard<std::mutex> l(g_lock);
  resetLocked();
}

int EvdevKeymap_Code(int evdevCode) {
  if (evdevCode < 0 || evdevCode >= kKeys) return -1;
  std::lock_guard<std::mutex> l(g_lock);
  return g_ours[evdevCode];
}

void EvdevKeymap_NoteEvdevPress(int evdevCode, double atMs) {
  if (evdevCode <= 0 || evdevCode >= kKeys) return;
  std::lock_guard<std::mutex> l(g_lock);
  if (g_ours[evdevCode] >= 0) return;
  if (g_waitingCount == kWaiting) {   // the oldest goes
    for (int i = 1; i < kWaiting; i++) g_waiting[i - 1] = g_waiting[i];
    g_waitingCount--;
  }
  g_waiting[g_waitingCount++] = Waiting{evdevCode, atMs};
}

int EvdevKeymap_NoteSdlPress(int code, double atMs) {
  if (code <= 0 || code >= kKeys) return -1;
  std::lock_guard<std::mutex> l(g_lock);
  // a key already paired repeats or is pressed again: nothing to learn
  if (g_physical[code] >= 0) return -1;
  int found = -1;
  int keep = 0;
  for (int i = 0; i < g_waitingCount; i++) {
    const Waiting& w = g_waiting[i];
    bool inWindow = w.atMs <= atMs + 5 && w.atMs >= atMs - kPairWindowMs;
    if (found < 0 && inWindow && g_ours[w.code] < 0) {
      found = w.code;
      continue;   // taken out
    }
    if (w.atMs >= atMs - kPairWindowMs) g_waiting[keep++] = w;   // the stale ones go
  }
  g_waitingCount = keep;
  if (found < 0) return -1;
  g_ours[found] = (int16_t)code;
  g_physical[code] = (int16_t)found;
  g_any = true;
  WriteLogf("Input: key %d of the keyboard read through evdev is key %d\n", found, code);
  return found;
}

bool EvdevKeymap_Owns(int code) {
  if (code < 0 || code >= kKeys) return false;
  std::lock_guard<std::mutex> l(g_lock);
  return g_physical[code] >= 0;
}

bool EvdevKeymap_Owned(uint8_t owned[256]) {
  std::lock_guard<std::mutex> l(g_lock);
  for (int c = 0; c < kKeys; c++) owned[c] = g_physical[c] >= 0;
  return g_any;
}

bool EvdevKeymap_Any() {
  std::lock_guard<std::mutex> l(g_lock);
  return g_any;
}
