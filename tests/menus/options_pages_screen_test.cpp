// The settings pages run whole on the dummy window with the Default skin and
// scripted keys. Screenshots taken with F11 are copied to $TV_SHOT_DIR when it
// is set. The first press of a direction on a screen counts once it is held
// past the repeat step, so the scripts hold it; the other presses are held 90 ms,
// long enough to be seen on a slow frame and too short to repeat.
#include "menus/options_edit.h"
#include "menus/options_pages.h"
#include "wheel_screen_util.h"

namespace {
using namespace key;

// A press of `code` 160 ms after the one before (`first`: the screen's first
// direction, held past the repeat step).
struct Presses {
  KeyScript k;
  Presses& operator()(int code) {
    k.hold(code, 160, 90);
    return *this;
  }
  Presses& first(int code, uint32_t waitMs = 600) {
    k.hold(code, waitMs, 200);
    return *this;
  }
  Presses& times(int code, int n) {
    for (int i = 0; i < n; i++) (*this)(code);
    return *this;
  }
};

class OptionsPageScreen : public WheelScreenRun {
 protected:
  OptionsEdit e;
  void SetUp() override {
    WheelScreenRun::SetUp();
    Settings_Defaults(e.settings);
    memcpy(e.bindings, g_bindings, sizeof e.bindings);
  }
};
}  // namespace

TEST_F(OptionsPageScreen, SystemOptionsScreenTimingsAndAHeldGap) {
  Presses p;
  p.first(kRight)              // "Screen": FULLSCREEN
      (kF11)
      .times(kDown, 3)(kF11)   // "Default Difficulty" and its note
      .times(kDown, 5)         // past "Edit Timings" to PERFECT
      (kLeft)                  // 49 ms
      .times(kDown, 5);        // "Global GAP"
  p.k.hold(kRight, 200, 2100); // held: faster and faster
  p(kF11)(kEscape);
  p.k.run();
  EXPECT_EQ(OptionsPage_System(e), 0);
  EXPECT_EQ(e.settings.fullScreen, 1);
  EXPECT_EQ(e.settings.windows[0], 49);
  EXPECT_EQ(e.settings.windows[1], 90);
  // 2.1 s of repeats every 125 ms: a step of 1 could not pass 18
  EXPECT_GE(e.settings.globalGap, 60);
  EXPECT_LE(e.settings.globalGap, 1000);
  EXPECT_EQ(TestScreen_Shots().size(), 3u);
}

TEST_F(OptionsPageScreen, GameSoundAndBackgroundPagesForBothPlayers) {
  Presses game;
  game(kF11)
      .first(kDown2, 160)(kRight2)         // player 2 turns "Announcer" OFF
      .times(kDown, 3).times(kRight, 3)    // "Max Stage": Unlimited
      (kF11)(kSelect2);                    // player 2's Select backs out
  game.k.tap(kEscape, 1000);               // (a script gone wrong still ends)
  game.k.run();
  EXPECT_EQ(OptionsPage_Game(e), 0);
  EXPECT_EQ(e.settings.announcer, 0);
  EXPECT_EQ(e.settings.maxStage, 6);

  Presses sound;
  sound.first(kUp)(kUp)                    // wraps to "Volume"
      (kLeft)(kF11)
      (kDown)(kStart);                     // "Return"
  sound.k.tap(kEscape, 1000);
  sound.k.run();
  EXPECT_EQ(OptionsPage_Sound(e), 0);
  EXPECT_EQ(e.settings.volume, 70);

  Presses bg;
  bg.first(kDown).times(kDown, 6)          // "Plug-in to Use"
      (kRight)                             // nothing to choose
      (kF11)(kEscape);
  bg.k.run();
  EXPECT_EQ(OptionsPage_Background(e), 0);
  EXPECT_EQ(e.settings.visPlugin, 0);
  EXPECT_EQ(e.settings.svpQuality, 5);
  EXPECT_EQ(TestScreen_Shots().size(), 4u);
}

TEST_F(OptionsPageScreen, PluginToUseListsThePluginsAndWrapsToRandom) {
  static const char* const names[] = {"Oscilloscope", "Spectrum Bars", nullptr};
  g_optionsPlugins = OptionsPlugins{2, names};
  Presses bg;
  bg.first(kDown).times(kDown, 6)          // "Plug-in to Use"
      (kRight)(kRight)(kF11)               // the second plug-in
      (kRight)(kRight)                     // past "(RANDOM)" to the first
      (kEscape);
  bg.k.run();
  EXPECT_EQ(OptionsPage_Background(e), 0);
  g_optionsPlugins = OptionsPlugins{};
  EXPECT_EQ(e.settings.visPlugin, 1);
  EXPECT_EQ(TestScreen_Shots().size(), 1u);
}
