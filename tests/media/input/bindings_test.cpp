#include "library/settings.h"
#include "media/input/input.h"
#include "media/input_script.h"
#include <gtest/gtest.h>
#include <dlfcn.h>
#include <vector>

namespace {
struct Held {
  std::vector<uint8_t> keys;
  std::vector<std::pair<uint8_t, uint8_t>> buttons = {};  // joystick, button
};

// Makes exactly these keys and buttons held, then reads the devices.
void hold(const Held& h) {
  std::vector<ScriptEvent> ev;
  for (uint8_t c : h.keys) ev.push_back(ScriptEvent{0, 0, 1, 0, c});
  for (auto [j, b] : h.buttons) ev.push_back(ScriptEvent{0, 1, 1, j, b});
  InputScript_Set(ev);
  Input_Poll();
}

InputBinding binding(int key1, int key2 = 0, int joy = -1, int button = -1) {
  InputBinding b{};
  b.key1 = key1;
  b.key2 = key2;
  b.joystick = joy;
  b.button = (int8_t)button;
  return b;
}

struct InputTest : ::testing::Test {
  void SetUp() override {
    ASSERT_EQ(Keyboard_Init(22, true), 0);
    Joystick_Init();
    Bindings_Defaults();
    hold({});
  }
  void TearDown() override {
    InputScript_Clear();
    Input_Poll();
    Joystick_Shutdown();
    Keyboard_Shutdown();
  }
};
}  // namespace

TEST_F(InputTest, PressEdgeOncePerPressFromEitherKey) {
  InputBinding b = binding(30, 48);
  hold({{30}});
  EXPECT_TRUE(Input_Pressed(b));
  EXPECT_EQ(b.lastSource, 0);
  EXPECT_FALSE(Input_Pressed(b));
  hold({{30, 48}});
  EXPECT_FALSE(Input_Pressed(b));
  hold({{48}});  // still held through the second key
  EXPECT_FALSE(Input_Pressed(b));
  hold({});
  EXPECT_FALSE(Input_Pressed(b));  // clears the latch
  EXPECT_EQ(b.latch, 0);
  hold({{48}});
  EXPECT_TRUE(Input_Pressed(b));
  InputBinding none = binding(0, -1);
  hold({{0}});
  EXPECT_FALSE(Input_Pressed(none));
  EXPECT_FALSE(Input_IsHeld(none));
}

TEST_F(InputTest, JoystickButtonPressesTheControl) {
  InputBinding b = binding(30, 0, 2, 5);
  hold({{}, {{2, 5}}});
  EXPECT_TRUE(Joystick_IsPresent(2));  // a scripted joystick counts as plugged in
  EXPECT_GE(Joystick_Count(), 3);
  EXPECT_TRUE(Joystick_IsButtonDown(b));
  EXPECT_TRUE(Input_Pressed(b));
  EXPECT_EQ(b.lastSource, 1);
  hold({{}, {{2, 4}}});
  EXPECT_FALSE(Input_IsHeld(b));
  // Buttons past the joystick's count and missing joysticks read as up.
  EXPECT_FALSE(Joystick_IsButtonDown(binding(0, 0, 2, 40)));
  EXPECT_FALSE(Joystick_IsButtonDown(binding(0, 0, 7, 4)));
  EXPECT_FALSE(Joystick_IsButtonDown(binding(0, 0, -1, 4)));
  EXPECT_FALSE(Joystick_IsButtonDown(binding(0, 0, 99, 4)));
}

TEST_F(InputTest, ReleaseFollowsTheLastSource) {
  // Joystick first, then the key too; letting go of the key is no release.
  InputBinding b = binding(30, 0, 0, 3);
  hold({{}, {{0, 3}}});
  ASSERT_TRUE(Input_Pressed(b));
  hold({{30}, {{0, 3}}});
  EXPECT_FALSE(Input_Released(b));
  hold({{}, {{0, 3}}});
  EXPECT_FALSE(Input_Released(b));
  hold({});
  EXPECT_TRUE(Input_Released(b));
  EXPECT_FALSE(Input_Released(b));

  // Key first: the key's release counts even with the button still down.
  InputBinding k = binding(30, 0, 0, 3);
  hold({{30}});
  ASSERT_TRUE(Input_Pressed(k));
  hold({{30}, {{0, 3}}});
  EXPECT_FALSE(Input_Released(k));
  hold({{}, {{0, 3}}});
  EXPECT_TRUE(Input_Released(k));
  EXPECT_EQ(k.latch, 0);
}

TEST_F(InputTest, RepeatTiming) {
  InputBinding b = binding(205);
  EXPECT_FALSE(Input_Repeat(b, 0));  // the clock is reset
  hold({{205}});
  EXPECT_FALSE(Input_Repeat(b, 100));  // the first 160 ms never fire
  EXPECT_FALSE(Input_Repeat(b, 160));
  EXPECT_EQ(b.latch, 0);
  // The first press after the reset fires only once 125 ms have passed.
  EXPECT_FALSE(Input_Repeat(b, 200));
  EXPECT_FALSE(Input_Repeat(b, 325));
  EXPECT_TRUE(Input_Repeat(b, 326));
  EXPECT_FALSE(Input_Repeat(b, 451));
  EXPECT_TRUE(Input_Repeat(b, 452));
  hold({});
  EXPECT_FALSE(Input_Repeat(b, 500));
  // A press after a release fires at once, then every 125 ms while held.
  hold({{205}});
  EXPECT_TRUE(Input_Repeat(b, 510));
  EXPECT_FALSE(Input_Repeat(b, 600));
  EXPECT_TRUE(Input_Repeat(b, 636));
  // A clock that went back (a screen that did not reset) fires too.
  EXPECT_TRUE(Input_Repeat(b, 300));
}

TEST_F(InputTest, RepeatClockIsSharedByAllBindings) {
  InputBinding a = binding(203), c = binding(205);
  Input_Repeat(a, 0);
  hold({{203}});
  Input_Repeat(a, 200);
  hold({});
  Input_Repeat(a, 210);  // a release sets the shared time
  hold({{205}});
  EXPECT_TRUE(Input_Repeat(c, 220));  // so another control's press fires at once
}

TEST_F(InputTest, MenuWordBitsForBothPlayersAndFolding) {
  // Player 1 Left is A (30), player 2 Left the left arrow (203), Start Space / Enter.
  hold({{30, 203, 57}});
  uint32_t w = MenuInput_Word(1000, 0, false);
  EXPECT_EQ(w, MENU_LEFT | (MENU_LEFT << MENU_P2_SHIFT) | MENU_START);
  EXPECT_EQ(MenuInput_Word(1016, 0, false), 0u);  // presses, not held state
  hold({});
  MenuInput_Word(1032, 0, false);
  hold({{205, 28, 1}});  // player 2 Right and Start, and Escape
  w = MenuInput_Word(1048, 0, true);
  EXPECT_EQ(w, MENU_RIGHT | MENU_START | MENU_ESCAPE);  // folded into player 1
  EXPECT_EQ(MenuInput_Word(1064, 0, true), 0u);          // Escape once per press
  hold({});
  MenuInput_Word(1080, 0, true);
  hold({{17, 31, 16, 18, 15}});  // the rest of player 1: Up, Down, Up-Left, Up-Right, Select
  EXPECT_EQ(MenuInput_Word(1096, 0, false), MENU_UP | MENU_DOWN | MENU_UPLEFT | MENU_UPRIGHT | MENU_SELECT);
}

TEST_F(InputTest, MenuWordRepeatsOnlyTheChosenControls) {
  MenuInput_Begin();
  hold({{32, 57}});  // player 1 Right (D) and Start (Space), held from the start
  std::vector<uint32_t> fired;
  for (uint32_t t = 16; t <= 800; t += 16) {
    uint32_t w = MenuInput_Word(t, MENU_DIRECTIONS, false);
    if (w & MENU_RIGHT) fired.push_back(t);
    if (t > 16) {
      EXPECT_FALSE(w & MENU_START) << t;
    }
  }
  // Listening opens after 160 ms; the held control fires 125 ms later, then
  // each time more than 125 ms have passed.
  ASSERT_GE(fired.size(), 3u);
  EXPECT_EQ(fired[0], 304u);
  EXPECT_EQ(fired[1], 432u);
  EXPECT_EQ(fired[2], 560u);
}

TEST_F(InputTest, CaptureButtonFindsTheFirstPressedButton) {
  InputBinding out = binding(17);
  hold({});
  EXPECT_FALSE(Joystick_CaptureButton(out));
  hold({{}, {{3, 9}, {1, 12}, {1, 4}}});
  ASSERT_TRUE(Joystick_CaptureButton(out));
  EXPECT_EQ(out.lastSource, 1);
  EXPECT_EQ(out.joystick, 1);
  EXPECT_EQ(out.button, 4);
  EXPECT_EQ(out.key1, 17);  // the keys are left alone
}

TEST_F(InputTest, ScriptedJoysticksRestCentred) {
  hold({{}, {{0, 1}}});
  EXPECT_EQ(Joystick_MenuDirection(), 0);
}

// A real SDL joystick: SDL 2's virtual joystick, reached through the same
// library that sdl12-compat drives.
namespace {
struct Sdl2 {
  void* lib = nullptr;
  int (*initSub)(uint32_t);
  void (*quitSub)(uint32_t);
  int (*attach)(int, int, int, int);
  int (*detach)(int);
  void* (*open)(int);
  void (*close)(void*);
  int (*setAxis)(void*, int, int16_t);
  int (*setButton)(void*, int, uint8_t);
  int (*setHat)(void*, int, uint8_t);
  bool load() {
    lib = dlopen("libSDL2-2.0.so.0", RTLD_NOW | RTLD_GLOBAL);
    if (!lib) return false;
    initSub = (int (*)(uint32_t))dlsym(lib, "SDL_InitSubSystem");
    quitSub = (void (*)(uint32_t))dlsym(lib, "SDL_QuitSubSystem");
    attach = (int (*)(int, int, int, int))dlsym(lib, "SDL_JoystickAttachVirtual");
    detach = (int (*)(int))dlsym(lib, "SDL_JoystickDetachVirtual");
    open = (void* (*)(int))dlsym(lib, "SDL_JoystickOpen");
    close = (void (*)(void*))dlsym(lib, "SDL_JoystickClose");
    setAxis = (int (*)(void*, int, int16_t))dlsym(lib, "SDL_JoystickSetVirtualAxis");
    setButton = (int (*)(void*, int, uint8_t))dlsym(lib, "SDL_JoystickSetVirtualButton");
    setHat = (int (*)(void*, int, uint8_t))dlsym(lib, "SDL_JoystickSetVirtualHat");
    return initSub && quitSub && attach && detach && open && close && setAxis && setButton && setHat;
  }
};
}  // namespace

TEST(Joystick, RealDeviceDirectionsAndButtons) {
  Sdl2 sdl;
  if (!sdl.load()) GTEST_SKIP() << "SDL 2 virtual joysticks unavailable";
  ASSERT_EQ(sdl.initSub(0x200), 0);  // keeps SDL 2's joysticks up across our own set-up
  int index = sdl.attach(1, 2, 6, 1);
  ASSERT_GE(index, 0);
  Joystick_Init();
  ASSERT_GE(Joystick_Count(), 1);
  ASSERT_TRUE(Joystick_IsPresent(index));
  void* dev = sdl.open(index);
  ASSERT_NE(dev, nullptr);

  auto stick = [&](int16_t x, int16_t y) {
    sdl.setAxis(dev, 0, x);
    sdl.setAxis(dev, 1, y);
    Joystick_Poll();
  };
  stick(0, 0);
  Joystick_MenuDirection();
  stick(-32768, 0);  // held full left: one event, not one per frame
  EXPECT_EQ(Joystick_MenuDirection(), 3);
  stick(-32000, 0);
  EXPECT_EQ(Joystick_MenuDirection(), 0);
  stick(-32768, -32768);  // X wins over Y
  EXPECT_EQ(Joystick_MenuDirection(), 0);
  stick(0, 0);
  EXPECT_EQ(Joystick_MenuDirection(), 0);
  stick(-32768, 0);  // a new deflection is a new event
  EXPECT_EQ(Joystick_MenuDirection(), 3);
  stick(32767, 0);
  EXPECT_EQ(Joystick_MenuDirection(), 4);
  stick(0, -32768);
  EXPECT_EQ(Joystick_MenuDirection(), 1);
  stick(0, 32767);
  EXPECT_EQ(Joystick_MenuDirection(), 2);
  stick(0, 30000);  // inside the 2048 margin: no direction
  EXPECT_EQ(Joystick_MenuDirection(), 0);
  stick(0, 0);
  sdl.setHat(dev, 0, 0x08);  // the cross steers like the stick
  Joystick_Poll();
  EXPECT_EQ(Joystick_MenuDirection(), 3);
  sdl.setHat(dev, 0, 0);

  InputBinding b{};
  b.joystick = index;
  b.button = 4;
  sdl.setButton(dev, 4, 1);
  Joystick_Poll();
  EXPECT_TRUE(Joystick_IsButtonDown(b));
  b.button = 6;  // the device has six buttons
  EXPECT_FALSE(Joystick_IsButtonDown(b));
  InputBinding got{};
  EXPECT_TRUE(Joystick_CaptureButton(got));
  EXPECT_EQ(got.button, 4);

  sdl.close(dev);
  Joystick_Shutdown();
  sdl.detach(index);
  sdl.quitSub(0x200);
}
