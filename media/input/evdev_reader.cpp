// The evdev reader: its thread, the events it turns into edges, and the pads'
// report meter.
#include "media/input/evdev_reader.h"
#include "media/input/evdev_keymap.h"
#include "media/input/input_edges.h"
#include "platform/clock.h"
#include "platform/log.h"
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <thread>
#ifdef __linux__
#include <fcntl.h>
#include <linux/input.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <time.h>
#include <unistd.h>
#endif

namespace {
constexpr int kMaxDevices = 16;
constexpr int kCodes = 0x300;              // key codes we number (KEY_CNT)
constexpr int kBtnMisc = 0x100, kBtnJoystick = 0x120, kBtnDigi = 0x140;
constexpr int kBtnTriggerHappy = 0x2c0, kBtnTriggerHappyEnd = 0x2e8;
constexpr double kPastLimitMs = 250;        // older than this when read: not the kernel's monotonic time
constexpr double kFutureSlackMs = 1;
constexpr int kFloodPerSecond = 20000;      // a 1 kHz pad sends a few events a report
constexpr int kEventsPerPass = 256;         // one busy device cannot starve the others
constexpr int kGapCount = 256;
constexpr double kLongestGapMs = 50;        // longer gaps tell the player's timing, not the pad's

struct Device {
  int fd = -1;
  char name[128] = {};
  int joystick = -1;             // kEdgeKeyboard for a keyboard
  int16_t buttonOf[kCodes];
  bool dropped = false;          // SYN_DROPPED: skip to the next report, then resync
  bool keyInPacket = false;
  bool haveReport = false;
  double lastReportMs = 0;
  double gaps[kGapCount];
  int gapCount = 0, gapNext = 0;
  double floodStartMs = 0;
  int floodEvents = 0;
  int badTimes = 0;
};

std::mutex g_devLock;              // the device table
Device g_dev[kMaxDevices];
int g_devCount = 0;
std::atomic<bool> g_owned[kEdgeJoysticks];
std::atomic<bool> g_running{false};
std::thread g_thread;
std::atomic<double> g_threadCpuMs{0};
std::atomic<bool> g_keyboardFocus{true};
constexpr int kKeyboardKeys = 256;  // the keys a keyboard read through evdev gives
double g_clockBase = 0;            // monotonic ms minus program ms
bool g_haveBase = false;

struct PadMeter {
  char name[128];
  double intervalMs;
  int samples;
};
PadMeter g_meters[kMaxDevices];
int g_meterCount = 0;

bool testBit(const uint8_t* bits, int bytes, int n) { return n / 8 < bytes && (bits[n / 8] >> (n % 8) & 1); }

#ifdef __linux__
double monotonicMs() {
  timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return ts.tv_sec * 1000.0 + ts.tv_nsec / 1e6;
}

// The program clock counts the monotonic clock from its zero: the offset is
// taken from the closest of a few paired readings.
void measureBase() {
  double best = 1e9;
  for (int i = 0; i < 5; i++) {
    double a = monotonicMs(), p = Clock_MsPrecise(), b = monotonicMs();
    if (b - a < best) {
      best = b - a;
      g_clockBase = (a + b) / 2 - p;
    }
  }
  g_haveBase = true;
}

// The gaps kept are the short ones; the pad's interval is their lowest decile,
// because most gaps between reports are the player's and only the shortest show
// how often the pad is asked (a 125 Hz mat never reports two changes closer than 8 ms).
void updateMeter(const Device& d) {
  int n = std::min(d.gapCount, kGapCount);
  PadMeter* m = nullptr;
  for (int i = 0; i < g_meterCount; i++)
    if (!strcmp(g_meters[i].name, d.name)) m = &g_meters[i];
  if (!m) {
    if (g_meterCount == kMaxDevices) return;
    m = &g_meters[g_meterCount++];
    snprintf(m->name, sizeof m->name, "%s", d.name);
  }
  m->samples = d.gapCount;
  if (n < 8) {
    m->intervalMs = 0;
    return;
  }
  double g[kGapCount];
  std::copy(d.gaps, d.gaps + n, g);
  std::nth_element(g, g + n / 10, g + n);
  m->intervalMs = g[n / 10];
}

void dropDevice(Device& d, const char* why) {
  WriteLogf("Input: '%s' %s, read through SDL\n", d.name, why);
  if (d.fd >= 0) close(d.fd);
  d.fd = -1;
  if (d.joystick >= 0 && d.joystick < kEdgeJoysticks) g_owned[d.joystick] = false;
}

// Sets the known state from the device's key state (after lost events or when
// the reader takes the device over); nothing when the node cannot tell. A
// keyboard sets only its paired keys, one by one: other keyboards may hold the rest.
void resync(Device& d, double nowMs) {
  uint8_t bits[kCodes / 8] = {};
  if (ioctl(d.fd, EVIOCGKEY(sizeof bits), bits) < 0) return;
  if (d.joystick == kEdgeKeyboard) {
    for (int c = 1; c < kKeyboardKeys; c++)
      if (int ours = EvdevKeymap_Code(c); ours > 0) InputEdges_Push(nowMs, kEdgeKeyboard, ours, testBit(bits, sizeof bits, c));
    return;
  }
  uint32_t mask = 0;
  for (int c = 0; c < kCodes; c++)
    if (d.buttonOf[c] >= 0 && d.buttonOf[c] < 32 && testBit(bits, sizeof bits, c)) mask |= 1u << d.buttonOf[c];
  InputEdges_SyncButtons(nowMs, d.joystick, mask, 32);
}

double stamp(Device& d, const input_event& e, double nowMs) {
  double t = Evdev_ProgramMs(e.input_event_sec, e.input_event_usec);
  bool future = t > nowMs + kFutureSlackMs, past = t < nowMs - kPastLimitMs;
  if (!future && !past) return t;
  if (d.badTimes++ < 3)
    WriteLogf("Input: '%s' sent an event stamped %.1f ms %s; taken at the time it was read\n", d.name,
              std::fabs(t - nowMs), future ? "in the future" : "in the past");
  return nowMs;
}

// False when the device is gone or misbehaves (it was dropped).
bool handle(Device& d, const input_event& e, double nowMs) {
  if (e.type == EV_SYN && e.code == SYN_DROPPED) {
    if (!d.dropped) WriteLogf("Input: '%s' lost events; its buttons are read again\n", d.name);
    d.dropped = true;
    return true;
  }
  if (e.type == EV_SYN && e.code == SYN_REPORT) {
    if (d.dropped) {
      d.dropped = false;
      resync(d, nowMs);
    } else if (d.keyInPacket) {
      double t = Evdev_ProgramMs(e.input_event_sec, e.input_event_usec);
      double gap = t - d.lastReportMs;
      if (d.haveReport && gap > 0 && gap < kLongestGapMs) {
        d.gaps[d.gapNext] = gap;
        d.gapNext = (d.gapNext + 1) % kGapCount;
        d.gapCount++;
      }
      d.lastReportMs = t;
      d.haveReport = true;
    }
    d.keyInPacket = false;
    return true;
  }
  if (e.type != EV_KEY || d.dropped || e.value == 2) return true;  // 2: the kernel's key repeat
  if (d.joystick == kEdgeKeyboard) {
    if (e.code >= kKeyboardKeys) return true;
    double t = stamp(d, e, nowMs);
    int ours = EvdevKeymap_Code(e.code);
    if (ours < 0) {   // SDL reads it until its key-down pairs it
      if (e.value) EvdevKeymap_NoteEvdevPress(e.code, t);
      return true;
    }
    // typed into another window: no press (a release still lets go)
    if (e.value && !g_keyboardFocus) return true;
    InputEdges_Push(t, kEdgeKeyboard, ours, e.value != 0);
    return true;
  }
  if (e.code >= kCodes || d.buttonOf[e.code] < 0 || d.buttonOf[e.code] >= 32) return true;
  d.keyInPacket = true;
  InputEdges_Push(stamp(d, e, nowMs), d.joystick, d.buttonOf[e.code], e.value != 0);
  return true;
}

int readDevice(Device& d) {
  input_event ev[64];
  int handled = 0;
  while (handled < kEventsPerPass) {
    ssize_t n = read(d.fd, ev, sizeof ev);
    if (n < 0 && (errno == EAGAIN || errno == EINTR)) break;
    if (n <= 0) {
      dropDevice(d, "is gone from evdev");
      break;
    }
    if (n % (ssize_t)sizeof(input_event)) {
      dropDevice(d, "sent a broken event");
      break;
    }
    double now = Clock_MsPrecise();
    int count = (int)(n / (ssize_t)sizeof(input_event));
    if (now - d.floodStartMs > 1000) {
      d.floodStartMs = now;
      d.floodEvents = 0;
    }
    d.floodEvents += count;
    if (d.floodEvents > kFloodPerSecond) {
      dropDevice(d, "floods events");
      break;
    }
    for (int i = 0; i < count; i++) handle(d, ev[i], now);
    handled += count;
    if (count < 64) break;
  }
  return handled;
}

void readerThread() {
  while (g_running) Evdev_ReadOnce(5);
}

#endif
}  // namespace

double Evdev_ProgramMs(int64_t sec, int64_t usec) {
#ifdef __linux__
  if (!g_haveBase) measureBase();
#endif
  return sec * 1000.0 + usec / 1000.0 - g_clockBase;
}

int Evdev_ButtonNumbers(const uint8_t* keyBits, int bytes, int16_t* buttonOf, int codes) {
  for (int c = 0; c < codes; c++) buttonOf[c] = -1;
  int n = 0;
  for (int c = kBtnJoystick; c < codes; c++)
    if (testBit(keyBits, bytes, c)) buttonOf[c] = (int16_t)n++;
  for (int c = kBtnMisc; c < kBtnJoystick && c < codes; c++)
    if (testBit(keyBits, bytes, c)) buttonOf[c] = (int16_t)n++;
  return n;
}

bool Evdev_IsJoystickClass(const uint8_t* keyBits, int bytes) {
  for (int c = kBtnJoystick; c < kBtnDigi; c++)
    if (testBit(keyBits, bytes, c)) return true;
  for (int c = kBtnTriggerHappy; c < kBtnTriggerHappyEnd; c++)
    if (testBit(keyBits, bytes, c)) return true;
  return false;
}

bool Evdev_IsKeyboardClass(const uint8_t* keyBits, int bytes) {
  constexpr int kKeyA = 30, kKeyZ = 44, kKeySpace = 57, kKeyEnter = 28;
  for (int c : {kKeyA, kKeyZ, kKeySpace, kKeyEnter})
    if (!testBit(keyBits, bytes, c)) return false;
  return !Evdev_IsJoystickClass(keyBits, bytes);
}

bool Evdev_OwnsJoystick(int n) { return n >= 0 && n < kEdgeJoysticks && g_owned[n]; }

bool Evdev_AddDevice(int fd, const char* name, int joystick, const uint16_t* keyCodes, int keyCount) {
#ifdef __linux__
  if (fd < 0 || joystick < 0 || joystick >= kEdgeJoysticks || keyCount < 0) return false;
  std::lock_guard<std::mutex> l(g_devLock);
  if (g_devCount == kMaxDevices) return false;
  uint8_t bits[kCodes / 8] = {};
  for (int i = 0; i < keyCount; i++)
    if (keyCodes[i] < kCodes) bits[keyCodes[i] / 8] |= (uint8_t)(1 << (keyCodes[i] % 8));
  Device& d = g_dev[g_devCount++];
  d = Device{};
  d.fd = fd;
  snprintf(d.name, sizeof d.name, "%s", name ? name : "");
  d.joystick = joystick;
  Evdev_ButtonNumbers(bits, sizeof bits, d.buttonOf, kCodes);
  int flags = fcntl(fd, F_GETFL);
  if (flags >= 0) fcntl(fd, F_SETFL, flags | O_NONBLOCK);
  g_owned[joystick] = true;
  resync(d, Clock_MsPrecise());   // buttons already held when the reader takes over
  return true;
#else
  return false;
#endif
}

bool Evdev_AddKeyboard(int fd, const char* name) {
#ifdef __linux__
  if (fd < 0) return false;
  std::lock_guard<std::mutex> l(g_devLock);
  if (g_devCount == kMaxDevices) return false;
  Device& d = g_dev[g_devCount++];
  d = Device{};
  d.fd = fd;
  snprintf(d.name, sizeof d.name, "%s", name ? name : "");
  d.joystick = kEdgeKeyboard;
  for (int16_t& b : d.buttonOf) b = -1;
  int flags = fcntl(fd, F_GETFL);
  if (flags >= 0) fcntl(fd, F_SETFL, flags | O_NONBLOCK);
  return true;
#else
  (void)fd;
  (void)name;
  return false;
#endif
}

int Evdev_KeyboardCount() {
  std::lock_guard<std::mutex> l(g_devLock);
  int n = 0;
  for (int i = 0; i < g_devCount; i++) n += g_dev[i].fd >= 0 && g_dev[i].joystick == kEdgeKeyboard;
  return n;
}

void Evdev_SetKeyboardFocus(bool focused) { g_keyboardFocus = focused; }

int Evdev_ReadOnce(int timeoutMs) {
#ifdef __linux__
  std::unique_lock<std::mutex> l(g_devLock);
  pollfd fds[kMaxDevices];
  int map[kMaxDevices], n = 0;
  for (int i = 0; i < g_devCount; i++)
    if (g_dev[i].fd >= 0) {
      fds[n] = pollfd{g_dev[i].fd, POLLIN, 0};
      map[n++] = i;
    }
  l.unlock();
  if (!n) {
    if (timeoutMs > 0) Clock_SleepMs((uint32_t)timeoutMs);
    return 0;
  }
  if (poll(fds, n, timeoutMs) <= 0) return 0;
  l.lock();
  int handled = 0;
  for (int k = 0; k < n; k++) {
    Device& d = g_dev[map[k]];
    if (d.fd != fds[k].fd || !fds[k].revents) continue;
    if (fds[k].revents & POLLIN) handled += readDevice(d);
    else dropDevice(d, "is gone from evdev");   // hung up or failed with nothing left to read
    if (d.joystick != kEdgeKeyboard) updateMeter(d);   // a keyboard is no pad
  }
  return handled;
#else
  if (timeoutMs > 0) Clock_SleepMs((uint32_t)timeoutMs);
  return 0;
#endif
}

void Evdev_StartThread() {
#ifdef __linux__
  if (g_running) return;
  g_running = true;
  g_thread = std::thread([] {
    readerThread();
    timespec ts;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    g_threadCpuMs = ts.tv_sec * 1000.0 + ts.tv_nsec / 1e6;
  });
#endif
}

double Evdev_ThreadCpuMs() { return g_threadCpuMs; }

int Evdev_DeviceCount() {
  std::lock_guard<std::mutex> l(g_devLock);
  int n = 0;
  for (int i = 0; i < g_devCount; i++) n += g_dev[i].fd >= 0;
  return n;
}

void Evdev_Stop() {
  g_running = false;
  if (g_thread.joinable()) g_thread.join();
#ifdef __linux__
  std::lock_guard<std::mutex> l(g_devLock);
  for (int i = 0; i < g_devCount; i++)
    if (g_dev[i].fd >= 0) close(g_dev[i].fd);
  g_devCount = 0;
#endif
  for (auto& o : g_owned) o = false;
}

int InputEdges_PadReports(PadReport* out, int max) {
  std::lock_guard<std::mutex> l(g_devLock);
  int n = 0;
  for (int i = 0; i < g_meterCount && n < max; i++) {
    memcpy(out[n].name, g_meters[i].name, sizeof out[n].name);
    out[n].name[sizeof out[n].name - 1] = 0;
    out[n].intervalMs = g_meters[i].intervalMs;
    out[n].samples = g_meters[i].samples;
    n++;
  }
  return n;
}

int InputEdges_SlowPads() {
  PadReport r[kMaxDevices];
  int n = InputEdges_PadReports(r, kMaxDevices), slow = 0;
  for (int i = 0; i < n; i++) slow += r[i].intervalMs > kSlowPadMs;
  return slow;
}
