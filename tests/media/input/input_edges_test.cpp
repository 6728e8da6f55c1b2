#include "media/input/input_edges.h"
#include "platform/clock.h"
#include <gtest/gtest.h>
#include <atomic>
#include <chrono>
#include <cstring>
#include <thread>
#include <vector>

namespace {
std::vector<InputEdge> readAll(uint64_t& cursor) {
  std::vector<InputEdge> all;
  InputEdge e[64];
  while (int n = InputEdges_Read(cursor, e, 64)) all.insert(all.end(), e, e + n);
  return all;
}

struct EdgeLog : ::testing::Test {
  void SetUp() override { InputEdges_Clear(); }
  void TearDown() override { InputEdges_Clear(); }
};
}  // namespace

TEST_F(EdgeLog, KeepsOrderAndOnlyChanges) {
  uint64_t cursor = InputEdges_Cursor();
  EXPECT_TRUE(InputEdges_Push(10.5, kEdgeKeyboard, 30, true));
  EXPECT_FALSE(InputEdges_Push(11, kEdgeKeyboard, 30, true));   // already down
  EXPECT_TRUE(InputEdges_Push(12, 3, 7, true));
  EXPECT_TRUE(InputEdges_Push(13, kEdgeKeyboard, 30, false));
  EXPECT_FALSE(InputEdges_Push(14, 16, 0, true));               // no such joystick
  EXPECT_FALSE(InputEdges_Push(14, 0, 32, true));               // no such button
  auto all = readAll(cursor);
  ASSERT_EQ(all.size(), 3u);
  EXPECT_EQ(all[0].atMs, 10.5);
  EXPECT_EQ(all[1].device, 3);
  EXPECT_EQ(all[1].code, 7);
  EXPECT_EQ(all[2].down, 0);
  EXPECT_FALSE(InputEdges_KeyDown(30));
  EXPECT_TRUE(InputEdges_ButtonDown(3, 7));
  EXPECT_EQ(InputEdges_Buttons(3), 1u << 7);
  EXPECT_TRUE(readAll(cursor).empty());
}

TEST_F(EdgeLog, ReaderBehindAWholeRingLosesTheOldest) {
  uint64_t cursor = InputEdges_Cursor();
  int total = kEdgeRingSize + 10;
  for (int i = 0; i < total; i++) InputEdges_Push(i, 0, 1, i % 2 == 0);
  auto all = readAll(cursor);
  ASSERT_EQ(all.size(), (size_t)kEdgeRingSize);
  EXPECT_EQ(all.front().atMs, 10);
  EXPECT_EQ(all.back().atMs, total - 1);
  for (size_t i = 1; i < all.size(); i++) EXPECT_LT(all[i - 1].atMs, all[i].atMs);
}

TEST_F(EdgeLog, SyncLogsOnlyTheDifferences) {
  uint64_t cursor = InputEdges_Cursor();
  uint8_t keys[256] = {};
  keys[30] = keys[200] = 0x80;
  InputEdges_SyncKeys(5, keys);
  InputEdges_SyncKeys(6, keys);
  InputEdges_SyncButtons(7, 2, 0x5, 32);
  InputEdges_SyncButtons(8, 2, 0x4 | 0x100, 4);   // button 8 is beyond the count
  auto all = readAll(cursor);
  ASSERT_EQ(all.size(), 5u);
  EXPECT_EQ(all[0].code, 30);
  EXPECT_EQ(all[1].code, 200);
  EXPECT_EQ(all[4].atMs, 8);
  EXPECT_EQ(all[4].code, 0);
  EXPECT_EQ(all[4].down, 0);
  EXPECT_EQ(InputEdges_Buttons(2), 0x4u);
}

TEST_F(EdgeLog, WritersOnOtherThreadsLoseNothing) {
  uint64_t cursor = InputEdges_Cursor();
  std::atomic<bool> go{false};
  std::vector<std::thread> writers;
  constexpr int kEach = 200;   // all of them fit in the ring
  for (int j = 0; j < 3; j++)
    writers.emplace_back([&, j] {
      while (!go) {}
      for (int i = 0; i < kEach; i++) InputEdges_Push(i, j, 0, i % 2 == 0);
    });
  go = true;
  std::vector<InputEdge> all;
  for (auto& w : writers) w.join();
  all = readAll(cursor);
  ASSERT_EQ(all.size(), 3u * kEach);
  double last[3] = {-1, -1, -1};
  for (const InputEdge& e : all) {   // each writer's edges stay in its order
    EXPECT_GT(e.atMs, last[e.device]);
    last[e.device] = e.atMs;
  }
}

// ---- The sampler with a scripted device state ----
namespace {
uint8_t g_symState[512];
uint32_t g_fakeButtons[2];
bool g_readable[2] = {true, true};
const EdgeSource kFake = {
    nullptr,
    [](int* n) -> const uint8_t* {
      *n = 512;
      return g_symState;
    },
    [] { return 2; },
    [](int j, uint32_t* m) {
      *m = g_fakeButtons[j];
      return g_readable[j];
    },
};

struct Sampler : EdgeLog {
  void SetUp() override {
    EdgeLog::SetUp();
    memset(g_symState, 0, sizeof g_symState);
    g_fakeButtons[0] = g_fakeButtons[1] = 0;
    g_readable[0] = g_readable[1] = true;
    InputEdges_SetSource(&kFake);
  }
  void TearDown() override {
    InputEdges_SetSource(nullptr);
    EdgeLog::TearDown();
  }
};
}  // namespace

TEST_F(Sampler, LogsEachChangeMidwaySinceThePreviousSample) {
  uint64_t cursor = InputEdges_Cursor();
  g_symState['a'] = 1;          // DIK 30
  g_fakeButtons[1] = 1u << 3;
  InputEdges_Sample(100);
  InputEdges_Sample(101);       // nothing changed
  g_symState['a'] = 0;
  g_fakeButtons[1] = 0;
  InputEdges_Sample(102.5);
  auto all = readAll(cursor);
  ASSERT_EQ(all.size(), 4u);
  EXPECT_EQ(all[0].device, kEdgeKeyboard);
  EXPECT_EQ(all[0].code, 30);
  EXPECT_EQ(all[0].atMs, 100);
  EXPECT_EQ(all[1].device, 1);
  EXPECT_EQ(all[1].code, 3);
  EXPECT_EQ(all[3].atMs, 101.75);   // between the samples at 101 and 102.5
  EXPECT_EQ(all[3].down, 0);
  g_symState['a'] = 1;
  InputEdges_Sample(200);            // after a long pause: the sample's own time
  all = readAll(cursor);
  ASSERT_EQ(all.size(), 1u);
  EXPECT_EQ(all[0].atMs, 200);
}

TEST_F(Sampler, SymbolsOfOneKeyHoldItTogether) {
  uint64_t cursor = InputEdges_Cursor();
  g_symState['['] = 1;
  g_symState['{'] = 1;          // the same key shifted
  InputEdges_Sample(1);
  g_symState['['] = 0;
  InputEdges_Sample(2);          // still held through '{'
  auto all = readAll(cursor);
  ASSERT_EQ(all.size(), 1u);
  EXPECT_EQ(all[0].down, 1);
}

TEST_F(Sampler, AnUnreadableJoystickKeepsItsState) {
  g_fakeButtons[0] = 1;
  InputEdges_Sample(1);
  g_readable[0] = false;
  g_fakeButtons[0] = 0;
  InputEdges_Sample(2);
  EXPECT_TRUE(InputEdges_ButtonDown(0, 0));
}

// ---- The joystick sampler's thread ----
namespace {
std::atomic<uint32_t> g_threadButtons{0};
std::atomic<int> g_pumps{0}, g_mainReads{0};
std::thread::id g_mainThread;
const EdgeSource kThreadFake = {
    nullptr, nullptr, [] { return 1; },
    [](int, uint32_t* m) {
      if (std::this_thread::get_id() == g_mainThread) g_mainReads++;
      *m = g_threadButtons.load();
      return true;
    },
    [] { g_pumps++; },
};

struct SamplerThread : EdgeLog {
  void SetUp() override {
    EdgeLog::SetUp();
    g_threadButtons = 0;
    g_pumps = g_mainReads = 0;
    g_mainThread = std::this_thread::get_id();
    InputEdges_SetSource(&kThreadFake);
  }
  void TearDown() override {
    JoystickSampler_Stop();
    InputEdges_SetSource(nullptr);
    EdgeLog::TearDown();
  }
};
}  // namespace

TEST_F(SamplerThread, APressAndReleaseWithNoFrameBetweenAreSeenWithTheirOwnTimes) {
  JoystickSampler_StartThread();
  EXPECT_TRUE(JoystickSampler_Running());
  uint64_t cursor = InputEdges_Cursor();
  // the main thread samples nothing here: only the sampler's thread can see them
  std::this_thread::sleep_for(std::chrono::milliseconds(5));
  double down = Clock_MsPrecise();
  g_threadButtons = 1u << 2;
  std::this_thread::sleep_for(std::chrono::milliseconds(60));
  double up = Clock_MsPrecise();
  g_threadButtons = 0;
  std::this_thread::sleep_for(std::chrono::milliseconds(60));
  auto all = readAll(cursor);
  ASSERT_EQ(all.size(), 2u);
  EXPECT_EQ(all[0].device, 0);
  EXPECT_EQ(all[0].code, 2);
  EXPECT_EQ(all[0].down, 1);
  EXPECT_EQ(all[1].down, 0);
  // stamped near the moments (loosely: sanitizers and busy machines slow ticks)
  EXPECT_NEAR(all[0].atMs, down, 30);
  EXPECT_NEAR(all[1].atMs, up, 30);
  EXPECT_GT(g_pumps.load(), 10) << "the joysticks are updated on the thread";
}

TEST_F(SamplerThread, TheMainThreadLeavesJoysticksToItWhileItRuns) {
  JoystickSampler_StartThread();
  InputEdges_Sample(Clock_MsPrecise());
  EXPECT_EQ(g_mainReads.load(), 0);
  JoystickSampler_Stop();
  EXPECT_FALSE(JoystickSampler_Running());
  InputEdges_Sample(Clock_MsPrecise());
  EXPECT_EQ(g_mainReads.load(), 1) << "stopped, the frame's own sample reads them again";
  // no SDL joystick in the test: starting for the counted joysticks starts nothing
  InputEdges_SetSource(nullptr);
  JoystickSampler_Start(4);
  EXPECT_FALSE(JoystickSampler_Running());
}
