// The key and gamepad pages of the options menu run whole on the dummy window
// with the Default skin and scripted keys and buttons; what they leave in the
// working copy of the bindings is read back. Screenshots taken with F11 are
// copied to $TV_SHOT_DIR when it is set.
#include "menus/binding_rules.h"
#include "menus/options_bindings.h"
#include "wheel_screen_util.h"
#include <SDL.h>
#include <chrono>
#include <cstring>
#include <thread>

namespace {
using namespace key;
constexpr int kZ = 44, kX = 45, kTab = 15;

class BindingsPage : public ::testing::Test {
 protected:
  TempDir dir;
  OptionsEdit e;
  InputBinding defaults[kBindingCount];

  void SetUp() override {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    g_settings.timeLimit = 0;
    FunctionKeys_Setup();
    ASSERT_TRUE(TestScreen_Open());
    ASSERT_TRUE(TestScreen_UseGameSkin());
    Bindings_DefaultTable(defaults);
    memcpy(e.bindings, defaults, sizeof defaults);
  }
  void TearDown() override {
    KeepScreenShots();
    Window_ClearCloseRequest();
    TestScreen_Close();
  }
  InputBinding& at(int player, int c) { return TableBinding(e.bindings, player, c); }
  bool unchanged() const { return memcmp(e.bindings, defaults, sizeof defaults) == 0; }
};

// Player 1's walk: Z for Up, TAB keeps Down, S (Down's only key) is refused for
// Left, Escape stops the walk; then Set 2 of Left alone: TAB (Select's only key)
// is refused there too, X is taken.
TEST_F(BindingsPage, AWalkBindsSkipsAndRefusesThenOneKeyAlone) {
  KeyScript k;
  k.tap(kStart, 400)             // "Define Player 1 Keys": the walk begins at Set 1 Up
      .tap(kZ, 300)
      .tap(kTab, 300)            // Down keeps S
      .tap(kDown, 300)           // Left: S is refused, the walk waits on Left
      .tap(kF11, 300)
      .tap(kEscape, 300)         // the walk stops on Left
      .hold(kRight, 300, 150)    // Set 2
      .tap(kStart, 300)          // Left's Set 2 alone
      .tap(kTab, 300)            // refused: Select would have nothing
      .tap(kF11, 300)
      .tap(kX, 300)
      .tap(kF11, 300)
      .tap(kEscape, 400)         // the table
      .tap(kF11, 300)
      .tap(kEscape, 300);        // the page
  k.run();
  EXPECT_EQ(OptionsPage_Keyboard(e), 1);
  EXPECT_EQ(at(0, CTL_UP).key1, kZ);
  EXPECT_EQ(at(0, CTL_DOWN).key1, kDown);
  EXPECT_EQ(at(0, CTL_LEFT).key1, kLeft);
  EXPECT_EQ(at(0, CTL_LEFT).key2, kX);
  EXPECT_EQ(at(0, CTL_SELECT).key1, kTab);
  EXPECT_EQ(at(0, CTL_RIGHT).key1, kRight);
  EXPECT_EQ(at(0, CTL_START).key1, kStart);   // the walk never reached Start
  for (int c = 0; c < CTL_COUNT; c++) EXPECT_EQ(at(1, c).key1, defaults[CTL_COUNT + c].key1);
  EXPECT_EQ(TestScreen_Shots().size(), 4u);
}

// Player 1's buttons: joystick 1 button 3 for Up, joystick 2 button 0 for Down,
// TAB keeps Left, and joystick 1 button 3 again for Right moves it from Up.
TEST_F(BindingsPage, TheGamepadWalkTakesTheNextButtonOfAnyJoystick) {
  KeyScript k;
  k.tap(kStart, 400)
      .joy(0, 3, 300)
      .joy(1, 0, 300)
      .tap(kTab, 300)
      .tap(kF11, 300)
      .joy(0, 3, 300)
      .tap(kF11, 200)
      .tap(kEscape, 300)
      .tap(kEscape, 400)
      .tap(kEscape, 300);
  k.run();
  EXPECT_EQ(OptionsPage_Gamepad(e), 1);
  EXPECT_FALSE(Binding_HasButton(at(0, CTL_UP)));
  EXPECT_EQ(at(0, CTL_DOWN).joystick, 1);
  EXPECT_EQ(at(0, CTL_DOWN).button, 0);
  EXPECT_FALSE(Binding_HasButton(at(0, CTL_LEFT)));
  EXPECT_EQ(at(0, CTL_RIGHT).joystick, 0);
  EXPECT_EQ(at(0, CTL_RIGHT).button, 3);
  for (int c = 0; c < kBindingCount; c++) EXPECT_EQ(e.bindings[c].key1, defaults[c].key1);
}

// Escape at the first input binds nothing; "Reset to Default" then puts back the
// keys changed before the page opened and keeps the button; player 2's walk
// stopped at once changes nothing either.
TEST_F(BindingsPage, EscapeCancelsAndResetPutsBackTheKeys) {
  at(0, CTL_UP).key2 = kZ;
  at(1, CTL_START).key1 = kX;
  Bindings_SetButton(e.bindings, 1, CTL_START, 0, 7);
  KeyScript k;
  k.tap(kStart, 400)
      .tap(kEscape, 300)          // before anything was pressed
      .tap(kEscape, 400)          // back on the first page
      .hold(kDown, 300, 180)      // the first press on a screen is held: "Define Player 2 Keys"
      .hold(kDown, 300, 60)       // "Reset to Default"
      .tap(kStart, 300)
      .tap(kF11, 200)
      .hold(kUp, 300, 60)         // "Define Player 2 Keys"
      .tap(kStart, 300)
      .tap(kF11, 300)             // its walk waits on Set 1 Up
      .tap(kEscape, 300)
      .tap(kEscape, 400)
      .tap(kEscape, 400);
  k.run();
  EXPECT_EQ(OptionsPage_Keyboard(e), 1);
  EXPECT_EQ(TestScreen_Shots().size(), 2u);
  for (int c = 0; c < kBindingCount; c++) {
    EXPECT_EQ(e.bindings[c].key1, defaults[c].key1);
    EXPECT_EQ(e.bindings[c].key2, 0);
  }
  EXPECT_EQ(at(1, CTL_START).button, 7);
}

// The window's close button while a key is awaited ends the table and the page.
TEST_F(BindingsPage, TheCloseButtonEndsTheCapture) {
  KeyScript k;
  k.tap(kStart, 300);
  k.run();
  std::thread closer([] {
    std::this_thread::sleep_for(std::chrono::milliseconds(1200));
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
  });
  auto start = std::chrono::steady_clock::now();
  int changed = OptionsPage_Keyboard(e);
  closer.join();
  EXPECT_EQ(changed, 0);
  EXPECT_TRUE(Window_CloseRequested());
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
  EXPECT_TRUE(unchanged());
}
}  // namespace
