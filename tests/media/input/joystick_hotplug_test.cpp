// Joysticks plugged in and pulled out while the game runs: the once-a-second
// watch, the bindings that follow a joystick by name, and a real SDL joystick
// (SDL 2's virtual one) coming and going.
#include "library/settings.h"
#include "media/input/input.h"
#include "media/input/joystick_hotplug.h"
#include "platform/clock.h"
#include "platform/log.h"
#include <gtest/gtest.h>
#include <dlfcn.h>
#include <string>
#include <vector>

namespace {
// The fake system: the device nodes and the joysticks a count would find.
std::string g_nodes;
std::vector<std::string> g_devices;
int g_reopens = 0;
std::string fakeNodes() { return g_nodes; }
void fakeReopen(std::vector<std::string>& names) {
  g_reopens++;
  names = g_devices;
}
const JoystickSystem kFake = {fakeNodes, fakeReopen};

std::vector<std::string> g_log;
void listen(const char* line) { g_log.push_back(line); }
bool logged(const std::string& part) {
  for (const std::string& l : g_log)
    if (l.find(part) != std::string::npos) return true;
  return false;
}

InputBinding& bind(int player, Control c, int joystick, int button) {
  InputBinding& b = Binding(player, c);
  b.joystick = joystick;
  b.button = (int8_t)button;
  return b;
}

struct HotplugTest : ::testing::Test {
  uint32_t now = 100000;
  void SetUp() override {
    Bindings_Defaults();
    JoystickHotplug_SetSystem(&kFake);
    g_nodes = "event0:r ";
    g_devices = {};
    g_reopens = 0;
    g_log.clear();
    Log_SetListener(listen);
  }
  void TearDown() override {
    Log_SetListener(nullptr);
    JoystickHotplug_SetSystem(nullptr);
    Bindings_Defaults();
  }
  void begin(std::vector<std::string> devices) {
    g_devices = devices;
    JoystickHotplug_Begin(now, devices);
  }
  // A second later, with these nodes and joysticks.
  bool later(const std::string& nodes, std::vector<std::string> devices, uint32_t ms = 1000) {
    g_nodes = nodes;
    g_devices = devices;
    now += ms;
    return JoystickHotplug_Check(now);
  }
};

JoystickRemap plan(std::vector<std::string> remembered, std::vector<int> bound, std::vector<std::string> present) {
  std::string r[kMaxJoysticks];
  bool b[kMaxJoysticks] = {};
  for (size_t i = 0; i < remembered.size(); i++) r[i] = remembered[i];
  for (int n : bound) b[n] = true;
  return Joystick_PlanRemap(r, b, present);
}
}  // namespace

TEST(JoystickRemap, JoysticksFollowTheirNames) {
  // the mat came back under number 1, the pad under 0
  JoystickRemap p = plan({"Mat", "Pad"}, {0, 1}, {"Pad", "Mat"});
  EXPECT_EQ(p.number[0], 1);
  EXPECT_EQ(p.number[1], 0);
  EXPECT_EQ(p.names[0], "Pad");
  EXPECT_EQ(p.names[1], "Mat");

  // a bound joystick that is missing waits under a number nobody has...
  p = plan({"Mat", "Pad"}, {0, 1}, {"Pad"});
  EXPECT_EQ(p.number[1], 0);
  EXPECT_EQ(p.number[0], 1);
  EXPECT_EQ(p.names[1], "Mat");
  // ...or keeps its own when that one is free
  p = plan({"Pad", "Mat"}, {0, 1}, {"Pad"});
  EXPECT_EQ(p.number[1], 1);
  EXPECT_EQ(p.names[1], "Mat");
  // an unbound missing one is forgotten
  p = plan({"Mat", "Pad"}, {1}, {"Pad"});
  EXPECT_EQ(p.number[1], 0);
  EXPECT_EQ(p.names[1], "");

  // equal names: one still in place keeps it; the others in order
  p = plan({"Mat", "Mat"}, {0, 1}, {"Wheel", "Mat", "Mat"});
  EXPECT_EQ(p.number[1], 1);
  EXPECT_EQ(p.number[0], 2);

  // a bound number without a name (never seen plugged in) is left alone, and a
  // missing joystick does not wait under it
  p = plan({"", "", "Mat"}, {1, 2}, {"Pad", "Wheel", "Dance"});
  EXPECT_EQ(p.number[1], 1);
  EXPECT_EQ(p.number[2], 3);
  EXPECT_EQ(p.names[3], "Mat");

  // one that could not be opened ("") is no match for anything
  p = plan({"Mat"}, {0}, {"", "Mat"});
  EXPECT_EQ(p.number[0], 1);
}

TEST_F(HotplugTest, ALookAtMostOnceASecondAndACountOnlyOnAChange) {
  begin({"Pad"});
  EXPECT_FALSE(later("event0:r event1:r ", {"Pad", "Mat"}, 400));  // too soon to look
  EXPECT_EQ(g_reopens, 0);
  EXPECT_TRUE(later("event0:r event1:r ", {"Pad", "Mat"}, 600));
  EXPECT_EQ(g_reopens, 1);
  EXPECT_TRUE(logged("Joystick 2 'Mat' connected"));
  // once more a second later (a node may have been readable only just now), then quiet
  EXPECT_TRUE(later("event0:r event1:r ", {"Pad", "Mat"}));
  EXPECT_FALSE(later("event0:r event1:r ", {"Pad", "Mat"}));
  EXPECT_EQ(g_reopens, 2);
  // a flood of changes still gives one count a second
  for (int i = 0; i < 50; i++) later("event0:r event" + std::to_string(i) + ":r ", {"Pad"}, 20);
  EXPECT_EQ(g_reopens, 3);
  EXPECT_TRUE(logged("Joystick 2 'Mat' disconnected"));
  // a node that becomes readable is a change
  g_reopens = 0;
  later("event0:- ", {});
  later("event0:- ", {});
  EXPECT_FALSE(later("event0:- ", {}));
  EXPECT_TRUE(later("event0:r ", {"Pad"}));
  EXPECT_EQ(g_reopens, 3);
}

TEST_F(HotplugTest, UnpluggedAndReplugged_BindingsFollowTheMatByName) {
  bind(0, CTL_LEFT, 0, 3);   // player 1 on the mat
  bind(1, CTL_LEFT, 1, 5);   // player 2 on the pad
  begin({"Mat", "Pad"});

  // the mat is pulled out: the pad becomes joystick 0 and keeps player 2's
  // bindings; the mat's wait under a number nothing is plugged in under
  ASSERT_TRUE(later("event1:r ", {"Pad"}));
  EXPECT_TRUE(logged("Joystick 1 'Mat' disconnected"));
  EXPECT_EQ(Binding(1, CTL_LEFT).joystick, 0);
  EXPECT_EQ(Binding(0, CTL_LEFT).joystick, 1);
  EXPECT_STREQ(JoystickNames_Get(1), "Mat");
  EXPECT_STREQ(JoystickNames_Get(0), "Pad");

  // a keyboard-only binding is never touched
  EXPECT_EQ(Binding(0, CTL_UP).joystick, -1);

  // it comes back after another joystick: each finds its bindings again
  g_log.clear();
  ASSERT_TRUE(later("event1:r event2:r event3:r ", {"Pad", "Wheel", "Mat"}));
  EXPECT_TRUE(logged("Joystick 2 'Wheel' connected"));
  EXPECT_TRUE(logged("Joystick 3 'Mat' connected"));
  EXPECT_EQ(Binding(0, CTL_LEFT).joystick, 2);
  EXPECT_EQ(Binding(1, CTL_LEFT).joystick, 0);
  EXPECT_EQ(Binding(0, CTL_LEFT).button, 3);
}

TEST_F(HotplugTest, ADeviceThatVanishesBetweenTheLookAndTheOpen) {
  bind(0, CTL_LEFT, 0, 3);
  begin({"Mat"});
  // the node is there but the joystick could not be opened: it counts as missing
  ASSERT_TRUE(later("event0:r event1:r ", {""}));
  EXPECT_TRUE(logged("Joystick 1 'Mat' disconnected"));
  EXPECT_EQ(Binding(0, CTL_LEFT).joystick, 0);  // nothing else is there: it keeps its number
  // a count that finds more joysticks than there are numbers keeps the first ones
  std::vector<std::string> many(40, "Pad");
  many[3] = "Mat";
  ASSERT_TRUE(later("x", many));
  EXPECT_EQ(Binding(0, CTL_LEFT).joystick, 3);
  EXPECT_EQ(JoystickHotplug_Present().size(), (size_t)kMaxJoysticks);
}

// SDL 2's virtual joystick, reached through the library sdl12-compat drives.
namespace {
struct Sdl2 {
  void* lib = nullptr;
  int (*initSub)(uint32_t);
  void (*quitSub)(uint32_t);
  int (*attach)(int, int, int, int);
  int (*detach)(int);
  void* (*open)(int);
  void (*close)(void*);
  int (*setButton)(void*, int, uint8_t);
  bool load() {
    lib = dlopen("libSDL2-2.0.so.0", RTLD_NOW | RTLD_GLOBAL);
    if (!lib) return false;
    initSub = (int (*)(uint32_t))dlsym(lib, "SDL_InitSubSystem");
    quitSub = (void (*)(uint32_t))dlsym(lib, "SDL_QuitSubSystem");
    attach = (int (*)(int, int, int, int))dlsym(lib, "SDL_JoystickAttachVirtual");
    detach = (int (*)(int))dlsym(lib, "SDL_JoystickDetachVirtual");
    open = (void* (*)(int))dlsym(lib, "SDL_JoystickOpen");
    close = (void (*)(void*))dlsym(lib, "SDL_JoystickClose");
    setButton = (int (*)(void*, int, uint8_t))dlsym(lib, "SDL_JoystickSetVirtualButton");
    return initSub && quitSub && attach && detach && open && close && setButton;
  }
};

// The real reopening of SDL's joysticks, with device nodes the test makes up.
const JoystickSystem kRealReopen = {fakeNodes, Joystick_Reopen};
}  // namespace

TEST_F(HotplugTest, ARealJoystickPluggedInAndPulledOutWhileRunning) {
  Sdl2 sdl;
  if (!sdl.load()) GTEST_SKIP() << "SDL 2 virtual joysticks unavailable";
  setenv("SDL_JOYSTICK_ALLOW_BACKGROUND_EVENTS", "1", 1);  // the dummy window never has focus
  // SDL 2's own joysticks stay up while ours restart, as real devices stay plugged in
  ASSERT_EQ(sdl.initSub(0x200), 0);
  JoystickHotplug_SetSystem(&kRealReopen);
  g_nodes = "";
  Joystick_Init();
  int before = Joystick_Count();
  InputBinding& b = bind(0, CTL_LEFT, before, 2);   // bound to the joystick about to come
  JoystickNames_Set(before, "Virtual Joystick");

  int index = sdl.attach(0, 2, 8, 0);
  ASSERT_GE(index, 0);
  void* dev = sdl.open(index);
  ASSERT_NE(dev, nullptr);
  sdl.setButton(dev, 2, 1);
  g_nodes = "event9:r ";
  now = Clock_Ms() + 1000;   // the next poll looks
  JoystickHotplug_Check(now);
  ASSERT_TRUE(logged("'Virtual Joystick' connected"));
  ASSERT_NE(Joystick_Name(b.joystick), nullptr);
  EXPECT_STREQ(Joystick_Name(b.joystick), "Virtual Joystick");
  Joystick_Poll();
  EXPECT_TRUE(Input_IsHeld(b));

  // pulled out during a poll: it reads released, nothing breaks
  sdl.close(dev);
  sdl.detach(index);
  Joystick_Poll();
  EXPECT_FALSE(Input_IsHeld(b));
  g_nodes = "";
  JoystickHotplug_Check(now + 2000);
  EXPECT_TRUE(logged("'Virtual Joystick' disconnected"));
  EXPECT_EQ(Joystick_Count(), before);
  Joystick_Poll();
  EXPECT_FALSE(Input_IsHeld(b));

  Joystick_Shutdown();
  sdl.quitSub(0x200);
  unsetenv("SDL_JOYSTICK_ALLOW_BACKGROUND_EVENTS");
}
