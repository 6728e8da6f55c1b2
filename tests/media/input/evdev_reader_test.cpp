#include "media/input/evdev_keymap.h"
#include "media/input/evdev_reader.h"
#include "media/input/input_edges.h"
#include "platform/clock.h"
#include "platform/log.h"
#include <gtest/gtest.h>
#include <linux/input.h>
#include <csignal>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <time.h>
#include <unistd.h>
#include <vector>

namespace {
std::mutex g_logLock;
std::string g_log;
void listen(const char* line) {
  std::lock_guard<std::mutex> l(g_logLock);
  g_log += line;
}
bool logged(const char* text) {
  std::lock_guard<std::mutex> l(g_logLock);
  return g_log.find(text) != std::string::npos;
}

double monotonicMs() {
  timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return ts.tv_sec * 1000.0 + ts.tv_nsec / 1e6;
}

input_event event(int type, int code, int value, double monoMs) {
  input_event e{};
  int64_t us = (int64_t)(monoMs * 1000);
  e.input_event_sec = us / 1000000;
  e.input_event_usec = us % 1000000;
  e.type = (uint16_t)type;
  e.code = (uint16_t)code;
  e.value = value;
  return e;
}

std::vector<InputEdge> readAll(uint64_t& cursor) {
  std::vector<InputEdge> all;
  InputEdge e[64];
  while (int n = InputEdges_Read(cursor, e, 64)) all.insert(all.end(), e, e + n);
  return all;
}

// A mat on a pipe: four panels on the joystick buttons and one on an extra trigger.
struct Evdev : ::testing::Test {
  int fds[2] = {-1, -1};
  uint64_t cursor = 0;
  void SetUp() override {
    g_log.clear();
    Log_SetListener(listen);
    InputEdges_Clear();
    cursor = InputEdges_Cursor();
    ASSERT_EQ(pipe(fds), 0);
    const uint16_t codes[] = {BTN_TRIGGER, BTN_THUMB, BTN_THUMB2, BTN_TOP, BTN_TRIGGER_HAPPY1};
    ASSERT_TRUE(Evdev_AddDevice(fds[0], name(), 2, codes, 5));
  }
  void TearDown() override {
    Evdev_Stop();
    if (fds[1] >= 0) close(fds[1]);
    Log_SetListener(nullptr);
    InputEdges_Clear();
  }
  virtual const char* name() { return "Test Mat"; }
  void send(const std::vector<input_event>& ev) {
    ASSERT_EQ(write(fds[1], ev.data(), ev.size() * sizeof ev[0]), (ssize_t)(ev.size() * sizeof ev[0]));
  }
  void press(int code, double downMono, double upMono) {
    send({event(EV_KEY, code, 1, downMono), event(EV_SYN, SYN_REPORT, 0, downMono),
          event(EV_KEY, code, 0, upMono), event(EV_SYN, SYN_REPORT, 0, upMono)});
  }
};
}  // namespace

TEST(EvdevButtons, NumberedAsSdlDoes) {
  uint8_t bits[KEY_CNT / 8] = {};
  for (int c : {BTN_0, BTN_TRIGGER, BTN_THUMB, BTN_A, BTN_TRIGGER_HAPPY1}) bits[c / 8] |= 1 << (c % 8);
  int16_t of[KEY_CNT];
  EXPECT_EQ(Evdev_ButtonNumbers(bits, sizeof bits, of, KEY_CNT), 5);
  EXPECT_EQ(of[BTN_TRIGGER], 0);
  EXPECT_EQ(of[BTN_THUMB], 1);
  EXPECT_EQ(of[BTN_A], 2);
  EXPECT_EQ(of[BTN_TRIGGER_HAPPY1], 3);
  EXPECT_EQ(of[BTN_0], 4);   // the misc buttons come after the joystick's
  EXPECT_EQ(of[KEY_A], -1);
  EXPECT_TRUE(Evdev_IsJoystickClass(bits, sizeof bits));

  uint8_t keyboard[KEY_CNT / 8] = {}, mouse[KEY_CNT / 8] = {}, extra[KEY_CNT / 8] = {};
  keyboard[KEY_A / 8] |= 1 << (KEY_A % 8);
  mouse[BTN_LEFT / 8] |= 1 << (BTN_LEFT % 8);
  extra[BTN_TRIGGER_HAPPY5 / 8] |= 1 << (BTN_TRIGGER_HAPPY5 % 8);
  EXPECT_FALSE(Evdev_IsJoystickClass(keyboard, sizeof keyboard));
  EXPECT_FALSE(Evdev_IsJoystickClass(mouse, sizeof mouse));
  EXPECT_TRUE(Evdev_IsJoystickClass(extra, sizeof extra));
}

TEST_F(Evdev, EdgesCarryTheKernelTimes) {
  EXPECT_TRUE(Evdev_OwnsJoystick(2));
  double mono = monotonicMs(), prog = Clock_MsPrecise();
  press(BTN_THUMB2, mono - 20, mono - 10);
  send({event(EV_KEY, BTN_TRIGGER_HAPPY1, 1, mono - 5), event(EV_KEY, BTN_TRIGGER_HAPPY1, 2, mono - 4),
        event(EV_KEY, KEY_A, 1, mono - 4), event(EV_SYN, SYN_REPORT, 0, mono - 4)});
  EXPECT_EQ(Evdev_ReadOnce(100), 8);
  auto all = readAll(cursor);
  ASSERT_EQ(all.size(), 3u);   // the repeat and the key it does not have are no edges
  EXPECT_EQ(all[0].device, 2);
  EXPECT_EQ(all[0].code, 2);
  EXPECT_EQ(all[0].down, 1);
  EXPECT_NEAR(all[0].atMs, prog - 20, 0.5);
  EXPECT_NEAR(all[1].atMs, prog - 10, 0.5);
  EXPECT_EQ(all[1].down, 0);
  EXPECT_EQ(all[2].code, 4);
  EXPECT_TRUE(InputEdges_ButtonDown(2, 4));
}

TEST_F(Evdev, TimesInThePastOrFutureAreTakenWhenRead) {
  double mono = monotonicMs();
  double before = Clock_MsPrecise();
  press(BTN_TRIGGER, mono + 10000, mono - 100000);
  Evdev_ReadOnce(100);
  double after = Clock_MsPrecise();
  auto all = readAll(cursor);
  ASSERT_EQ(all.size(), 2u);
  for (const InputEdge& e : all) {
    EXPECT_GE(e.atMs, before);
    EXPECT_LE(e.atMs, after);
  }
  EXPECT_TRUE(logged("in the future"));
  EXPECT_TRUE(logged("in the past"));
}

TEST_F(Evdev, LostEventsAreSkippedUpToTheNextReport) {
  double mono = monotonicMs();
  send({event(EV_SYN, SYN_DROPPED, 0, mono - 3), event(EV_KEY, BTN_TRIGGER, 1, mono - 3),
        event(EV_SYN, SYN_REPORT, 0, mono - 3), event(EV_KEY, BTN_THUMB, 1, mono - 2),
        event(EV_SYN, SYN_REPORT, 0, mono - 2)});
  Evdev_ReadOnce(100);
  auto all = readAll(cursor);
  ASSERT_EQ(all.size(), 1u);
  EXPECT_EQ(all[0].code, 1);
  EXPECT_TRUE(logged("lost events"));
}

TEST_F(Evdev, AVanishedNodeFallsBackToSdl) {
  double mono = monotonicMs();
  press(BTN_TRIGGER, mono - 2, mono - 1);
  close(fds[1]);
  fds[1] = -1;
  for (int i = 0; i < 5 && Evdev_DeviceCount(); i++) Evdev_ReadOnce(100);
  EXPECT_EQ(readAll(cursor).size(), 2u);   // what came before it went is kept
  EXPECT_EQ(Evdev_DeviceCount(), 0);
  EXPECT_FALSE(Evdev_OwnsJoystick(2));
  EXPECT_TRUE(logged("Input: 'Test Mat' is gone from evdev, read through SDL"));
}

TEST_F(Evdev, ABrokenEventDropsTheDevice) {
  char half[5] = {};
  ASSERT_EQ(write(fds[1], half, sizeof half), 5);
  Evdev_ReadOnce(100);
  EXPECT_FALSE(Evdev_OwnsJoystick(2));
  EXPECT_TRUE(logged("sent a broken event"));
}

TEST_F(Evdev, AFloodingDeviceFallsBackToSdl) {
  auto old = signal(SIGPIPE, SIG_IGN);
  std::thread writer([&] {
    double mono = monotonicMs();
    std::vector<input_event> chunk;
    for (int i = 0; i < 32; i++) {
      chunk.push_back(event(EV_KEY, BTN_TRIGGER, i % 2, mono));
      chunk.push_back(event(EV_SYN, SYN_REPORT, 0, mono));
    }
    for (int i = 0; i < 2000; i++)
      if (write(fds[1], chunk.data(), chunk.size() * sizeof chunk[0]) < 0) break;   // dropped
  });
  for (int i = 0; i < 10000 && Evdev_OwnsJoystick(2); i++) Evdev_ReadOnce(100);
  close(fds[1]);   // ends the writer if it still writes
  fds[1] = -1;
  writer.join();
  signal(SIGPIPE, old);
  EXPECT_FALSE(Evdev_OwnsJoystick(2));
  EXPECT_TRUE(logged("floods events"));
}

namespace {
struct EvdevMeter : Evdev {
  const char* name() override { return "Slow Mat"; }
};
}  // namespace

TEST_F(EvdevMeter, MeasuresHowOftenThePadReports) {
  double mono = monotonicMs() - 2000;
  // a 125 Hz mat: changes land on 8 ms ticks, most gaps are the player's
  std::vector<input_event> ev;
  double t = mono;
  for (int i = 0; i < 40; i++) {
    t += (i % 3 == 0) ? 8 : (i % 3 == 1) ? 16 : 40;
    ev.push_back(event(EV_KEY, BTN_TRIGGER + i % 4, (i / 4) % 2 ? 0 : 1, t));
    ev.push_back(event(EV_SYN, SYN_REPORT, 0, t));
  }
  send(ev);
  Evdev_ReadOnce(100);
  PadReport r[16];
  int n = InputEdges_PadReports(r, 16);
  const PadReport* mine = nullptr;
  for (int i = 0; i < n; i++)
    if (std::string(r[i].name) == "Slow Mat") mine = &r[i];
  ASSERT_NE(mine, nullptr);
  EXPECT_NEAR(mine->intervalMs, 8, 0.01);
  EXPECT_GE(InputEdges_SlowPads(), 1);
}

TEST_F(Evdev, TheReaderThreadPicksEventsUp) {
  Evdev_StartThread();
  double mono = monotonicMs();
  press(BTN_TOP, mono - 1, mono);
  std::vector<InputEdge> all;
  for (int i = 0; i < 200 && all.size() < 2; i++) {
    auto more = readAll(cursor);
    all.insert(all.end(), more.begin(), more.end());
    Clock_SleepMs(5);
  }
  ASSERT_EQ(all.size(), 2u);
  EXPECT_EQ(all[0].code, 3);
}

// ---- Keyboards ----
TEST(EvdevKeymap, PairsEachKeyWithTheKeyDownSdlNamesForItInOrder) {
  EvdevKeymap_Reset();
  // an AZERTY keyboard: the key where QWERTY has Q gives 'a' (our 30)
  EvdevKeymap_NoteEvdevPress(KEY_Q, 1000);
  EXPECT_EQ(EvdevKeymap_NoteSdlPress(30, 1006), KEY_Q);
  EXPECT_EQ(EvdevKeymap_Code(KEY_Q), 30);
  EXPECT_TRUE(EvdevKeymap_Owns(30));
  EXPECT_FALSE(EvdevKeymap_Owns(16));
  // a jump: two keys down together, SDL names them in the order they came
  EvdevKeymap_NoteEvdevPress(KEY_LEFT, 2000);
  EvdevKeymap_NoteEvdevPress(KEY_RIGHT, 2000.5);
  EXPECT_EQ(EvdevKeymap_NoteSdlPress(203, 2004), KEY_LEFT);
  EXPECT_EQ(EvdevKeymap_NoteSdlPress(205, 2004), KEY_RIGHT);
  // a key-down SDL repeats, or of a key paired already, teaches nothing and takes
  // no other key's press
  EvdevKeymap_NoteEvdevPress(KEY_S, 3000);
  EXPECT_EQ(EvdevKeymap_NoteSdlPress(30, 3002), -1);
  EXPECT_EQ(EvdevKeymap_NoteSdlPress(31, 3003), KEY_S);
  // a press SDL never names (a key with no symbol) goes stale and pairs nothing later
  EvdevKeymap_NoteEvdevPress(KEY_PROG1, 4000);
  EXPECT_EQ(EvdevKeymap_NoteSdlPress(17, 4400), -1);
  EXPECT_EQ(EvdevKeymap_Code(KEY_PROG1), -1);
  uint8_t owned[256];
  ASSERT_TRUE(EvdevKeymap_Owned(owned));
  EXPECT_EQ(owned[30] + owned[31] + owned[203] + owned[205], 4);
  EXPECT_EQ(owned[17], 0);
  EvdevKeymap_Reset();
  EXPECT_FALSE(EvdevKeymap_Any());
}

TEST(EvdevKeymap, KeyboardsAreToldFromPadsAndOtherKeyDevices) {
  uint8_t keyboard[KEY_CNT / 8] = {}, power[KEY_CNT / 8] = {}, both[KEY_CNT / 8] = {};
  for (int c : {KEY_A, KEY_Z, KEY_SPACE, KEY_ENTER, KEY_LEFT}) keyboard[c / 8] |= 1 << (c % 8);
  power[KEY_POWER / 8] |= 1 << (KEY_POWER % 8);
  memcpy(both, keyboard, sizeof both);
  both[BTN_TRIGGER / 8] |= 1 << (BTN_TRIGGER % 8);
  EXPECT_TRUE(Evdev_IsKeyboardClass(keyboard, sizeof keyboard));
  EXPECT_FALSE(Evdev_IsKeyboardClass(power, sizeof power));
  EXPECT_FALSE(Evdev_IsKeyboardClass(both, sizeof both)) << "a pad that also has letters is a pad";
}

namespace {
struct EvdevKeyboard : ::testing::Test {
  int fds[2] = {-1, -1};
  uint64_t cursor = 0;
  void SetUp() override {
    EvdevKeymap_Reset();
    InputEdges_Clear();
    cursor = InputEdges_Cursor();
    ASSERT_EQ(pipe(fds), 0);
    ASSERT_TRUE(Evdev_AddKeyboard(fds[0], "Test Keyboard"));
    Evdev_SetKeyboardFocus(true);
  }
  void TearDown() override {
    Evdev_Stop();
    if (fds[1] >= 0) close(fds[1]);
    EvdevKeymap_Reset();
    InputEdges_Clear();
    InputEdges_SetSource(nullptr);
  }
  void send(const std::vector<input_event>& ev) {
    ASSERT_EQ(write(fds[1], ev.data(), ev.size() * sizeof ev[0]), (ssize_t)(ev.size() * sizeof ev[0]));
  }
  void key(int code, int value, double mono) {
    send({event(EV_MSC, MSC_SCAN, code, mono), event(EV_KEY, code, value, mono), event(EV_SYN, SYN_REPORT, 0, mono)});
  }
};
}  // namespace

TEST_F(EvdevKeyboard, APairedKeyCarriesTheKernelTimeAndTheSamplerLeavesItAlone) {
  EXPECT_EQ(Evdev_KeyboardCount(), 1);
  double mono = monotonicMs(), prog = Clock_MsPrecise();
  key(KEY_Q, 1, mono - 30);   // not paired yet: SDL reads it
  Evdev_ReadOnce(100);
  EXPECT_TRUE(readAll(cursor).empty());
  InputEdges_Push(prog - 27, kEdgeKeyboard, 30, true);   // as the SDL sampler saw it
  EXPECT_EQ(EvdevKeymap_NoteSdlPress(30, prog - 25), KEY_Q);
  readAll(cursor);
  key(KEY_Q, 0, mono - 20);
  key(KEY_Q, 1, mono - 10);
  key(KEY_Q, 2, mono - 5);    // the kernel's repeat
  Evdev_ReadOnce(100);
  auto all = readAll(cursor);
  ASSERT_EQ(all.size(), 2u);
  EXPECT_EQ(all[0].device, kEdgeKeyboard);
  EXPECT_EQ(all[0].code, 30);
  EXPECT_EQ(all[0].down, 0);
  EXPECT_NEAR(all[0].atMs, prog - 20, 0.5);
  EXPECT_EQ(all[1].down, 1);
  EXPECT_NEAR(all[1].atMs, prog - 10, 0.5);

  // SDL still says the key is up (its event is late): the sampler must not
  // undo the press evdev gave, while it still reads the keys not paired
  static uint8_t symState[512];
  memset(symState, 0, sizeof symState);
  symState['s'] = 1;
  static const EdgeSource keysOnly = {nullptr, [](int* n) -> const uint8_t* {
                                        *n = 512;
                                        return symState;
                                      },
                                      nullptr, nullptr};
  InputEdges_SetSource(&keysOnly);
  InputEdges_Sample(Clock_MsPrecise());
  all = readAll(cursor);
  ASSERT_EQ(all.size(), 1u);
  EXPECT_EQ(all[0].code, 31);
  EXPECT_TRUE(InputEdges_KeyDown(30));
}

TEST_F(EvdevKeyboard, PressesWithoutTheWindowsFocusAreLeftOutButReleasesLetGo) {
  EvdevKeymap_NoteEvdevPress(KEY_A, 1);
  ASSERT_EQ(EvdevKeymap_NoteSdlPress(30, 2), KEY_A);
  double mono = monotonicMs();
  key(KEY_A, 1, mono - 10);
  Evdev_ReadOnce(100);
  Evdev_SetKeyboardFocus(false);
  key(KEY_A, 0, mono - 5);
  key(KEY_A, 1, mono - 2);    // typed into another window
  Evdev_ReadOnce(100);
  auto all = readAll(cursor);
  ASSERT_EQ(all.size(), 2u);
  EXPECT_EQ(all[0].down, 1);
  EXPECT_EQ(all[1].down, 0);
  EXPECT_FALSE(InputEdges_KeyDown(30));
}
