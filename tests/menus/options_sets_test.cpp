// The skin and sound set pages of the options menu: their rows and the cycle of
// a sound set on their own, then both pages run on the dummy window with
// scripted keys, beside skins and sets made by the test. Screenshots taken with
// F11 are copied to $TV_SHOT_DIR when it is set.
#include "menus/options_sets.h"
#include "media/skin/skin_config.h"
#include "menus/options_edit.h"
#include "wheel_screen_util.h"
#include <cstring>

namespace {
using namespace key;

Settings withSets(const char* effect, const char* announcer) {
  Settings s;
  Settings_Defaults(s);
  snprintf(s.effectSet, sizeof s.effectSet, "%s", effect);
  snprintf(s.announcerSet, sizeof s.announcerSet, "%s", announcer);
  return s;
}

TEST(OptionsSets, RowsNameDefaultByItsLabelAndEndWithReturn) {
  std::vector<std::string> names = {"Default", "Neon", "plain"};
  std::vector<OptionsRow> rows;
  SetsPage_Rows(names, "(Default Graphics)", rows);
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_STREQ(rows[0].label, "(Default Graphics)");
  EXPECT_STREQ(rows[1].label, "Neon");
  EXPECT_STREQ(rows[2].label, "plain");
  EXPECT_STREQ(rows[3].label, "Return");
  for (const OptionsRow& r : rows) EXPECT_FALSE(r.heading);

  Settings s;
  Settings_Defaults(s);
  snprintf(s.skin, sizeof s.skin, "Neon");
  EXPECT_STREQ(SkinPage_Value("Neon", s), "SELECTED");
  EXPECT_STREQ(SkinPage_Value("neon", s), "") << "the skin setting matches its folder exactly";
  EXPECT_STREQ(SkinPage_Value("Default", s), "");
}

// Choosing one set again and again: both, the effects only, the announcer only,
// both again; what a choice does not set goes back to what it was before.
TEST(OptionsSets, ChoosingASetAgainCyclesWhatItSets) {
  Settings s = withSets("Default", "Default");
  SoundSetCycle c;
  struct Press {
    int mode;
    const char *effect, *announcer;
  };
  const Press presses[] = {{SOUNDSET_BOTH, "Robot", "Robot"}, {SOUNDSET_FX, "Robot", "Default"},
                           {SOUNDSET_ANNOUNCER, "Default", "Robot"}, {SOUNDSET_BOTH, "Robot", "Robot"}};
  for (const Press& p : presses) {
    EXPECT_EQ(SoundSetCycle_Choose(c, 2, "Robot", s), p.mode);
    EXPECT_STREQ(s.effectSet, p.effect);
    EXPECT_STREQ(s.announcerSet, p.announcer);
  }
  EXPECT_STREQ(SoundSetMode_Label(SOUNDSET_BOTH), "FX + Announcer");
  EXPECT_STREQ(SoundSetMode_Label(SOUNDSET_FX), "FX Only");
  EXPECT_STREQ(SoundSetMode_Label(SOUNDSET_ANNOUNCER), "Announcer Only");
  EXPECT_STREQ(SoundSetMode_Label(-1), "");
}

// Two sets combined: one chosen for both, another then for the effects only.
TEST(OptionsSets, AnotherSetBeginsItsOwnCycleAndCombines) {
  Settings s = withSets("Default", "Default");
  SoundSetCycle c;
  SoundSetCycle_Choose(c, 2, "Robot", s);
  EXPECT_EQ(SoundSetCycle_Choose(c, 1, "Crowd", s), SOUNDSET_BOTH) << "a new set starts at both";
  EXPECT_EQ(SoundSetCycle_Choose(c, 1, "Crowd", s), SOUNDSET_FX);
  EXPECT_STREQ(s.effectSet, "Crowd");
  EXPECT_STREQ(s.announcerSet, "Robot") << "the announcer goes back to the set before this cycle";

  EXPECT_EQ(SoundSet_ModeIn("crowd", s), SOUNDSET_FX) << "set names compare without regard to case";
  EXPECT_EQ(SoundSet_ModeIn("ROBOT", s), SOUNDSET_ANNOUNCER);
  EXPECT_EQ(SoundSet_ModeIn("Default", s), -1);
  EXPECT_STREQ(SoundSetPage_Value(c, 1, "Crowd", s), "FX Only");
  EXPECT_STREQ(SoundSetPage_Value(c, 2, "Robot", s), "Announcer Only");
  EXPECT_STREQ(SoundSetPage_Value(c, 0, "Default", s), "");

  // the cycled set that was both sets already still shows what its choice set
  Settings d = withSets("Default", "Default");
  SoundSetCycle dc;
  SoundSetCycle_Choose(dc, 0, "Default", d);
  SoundSetCycle_Choose(dc, 0, "Default", d);
  EXPECT_STREQ(d.announcerSet, "Default");
  EXPECT_STREQ(SoundSetPage_Value(dc, 0, "Default", d), "FX Only");
}

constexpr uint32_t kVioletTitle = 0xA020F0;

// The pages on the real screen, in a folder with the game's Default skin and
// sound set beside ones the test makes.
class OptionsSetsScreen : public ::testing::Test {
 protected:
  TempDir dir;
  OptionsEdit e;

  void SetUp() override {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    Settings_Defaults(g_settings);
    g_settings.timeLimit = 0;
    FunctionKeys_Setup();
    ASSERT_TRUE(TestScreen_Open());
    std::string game = TestScreen_GameFolder();
    std::error_code ec;
    Dir_Create("Skins");
    Dir_Create("Sounds");
    std::filesystem::create_directory_symlink(game + "/Skins/Default", "Skins/Default", ec);
    std::filesystem::create_directory_symlink(game + "/Sounds/Default", "Sounds/Default", ec);
    // "Violet" has its own title picture; "Plain" has none; "Unlisted" lacks its configuration
    WriteFile("Skins/Violet/rkv2-skin.cfg", "[CREDITS]\nAuthor=Tests\n");
    WritePicture("Skins/Violet/rkv2-title.png", 640, 480, [](int, int) { return kVioletTitle; });
    WriteFile("Skins/Plain/rkv2-skin.cfg", "[CREDITS]\nAuthor=Tests\n");
    WritePicture("Skins/Unlisted/rkv2-title.png", 64, 64, [](int, int) { return 0xFF0000u; });
    Dir_Create("Sounds/Robot");   // no "rkv2-sound.cfg": still a set
    LoadImages("Default", false);
    ASSERT_TRUE(Font_Load("Skins/Default", "font-Main"));
    e.settings = g_settings;
  }
  void TearDown() override {
    KeepScreenShots();
    TestScreen_Close();
  }
  // The violet title picture under the page's dimming: each channel about 5/8 of its own.
  static bool violet(int r, int g, int b) { return abs(r - 100) < 8 && abs(g - 20) < 8 && abs(b - 150) < 8; }
};

// Down to "Violet" (its title picture behind the page), Start chooses it; up to
// "Plain", whose title picture comes from Default; Escape leaves.
TEST_F(OptionsSetsScreen, SkinPageChoosesASkinAndShowsItsTitlePicture) {
  KeyScript k;
  k.tap(kF11, 500)                        // "(Default Graphics)", SELECTED
      .hold(kDown, 200, 150).tap(kDown, 200).tap(kF11, 300)   // Violet (after Plain)
      .tap(kStart, 200).tap(kF11, 300)    // chosen
      .tap(kUp, 200).tap(kF11, 300)       // Plain
      .tap(kEscape, 300);
  k.run();
  uint32_t start = Clock_Ms();
  EXPECT_EQ(OptionsPage_Skin(e), 1);
  EXPECT_LT(Clock_Ms() - start, k.at + 3000);
  EXPECT_STREQ(e.settings.skin, "Violet");
  EXPECT_STREQ(g_settings.skin, "Default") << "the page edits the working copy only";
  EXPECT_EQ(g_skinList, (std::vector<std::string>{"Default", "Plain", "Violet"}));

  std::vector<std::string> shots = TestScreen_Shots();
  ASSERT_EQ(shots.size(), 4u);
  // the preview shows around the page's panel: its top left corner
  EXPECT_FALSE(Shot(shots[0]).any(0, 0, 30, 12, violet));
  EXPECT_TRUE(Shot(shots[1]).any(0, 0, 30, 12, violet)) << "Violet's title picture behind the page";
  EXPECT_TRUE(Shot(shots[2]).any(0, 0, 30, 12, violet));
  EXPECT_FALSE(Shot(shots[3]).any(0, 0, 30, 12, violet)) << "Plain has no title picture: Default's";
  // and small in the panel, undimmed, under the short list
  uint32_t thumb = Shot(shots[2]).at(320, 336);
  EXPECT_TRUE(abs((int)(thumb >> 16) - 0xA0) < 6 && abs((int)(thumb & 0xFF) - 0xF0) < 6) << std::hex << thumb;
  EXPECT_FALSE(Shot(shots[3]).any(300, 320, 340, 350, [](int r, int g, int b) { return r > 150 && b > 220; }));
}

// A list longer than the page scrolls; up from the top wraps to "Return", which
// leaves without a choice. A skin removed since it was chosen is Default now.
TEST_F(OptionsSetsScreen, SkinPageLeftByReturnChangesNothing) {
  for (int i = 1; i <= 17; i++) WriteFile("Skins/Extra " + std::to_string(i) + "/rkv2-skin.cfg", "");
  snprintf(e.settings.skin, sizeof e.settings.skin, "Gone");
  KeyScript k;
  k.hold(kUp, 400, 150).tap(kF11, 300).tap(kStart, 300);
  k.run();
  EXPECT_EQ(OptionsPage_Skin(e), 1);
  EXPECT_STREQ(e.settings.skin, "Default");
  EXPECT_EQ(g_skinList.size(), 20u);
  EXPECT_EQ(TestScreen_Shots().size(), 1u);
}

// Down to "Robot", Start twice: its effects, Default's announcer; then player 2's
// Select backs out.
TEST_F(OptionsSetsScreen, SoundSetPageCyclesTheSetUnderTheCursor) {
  KeyScript k;
  k.hold(kDown, 500, 150)
      .tap(kStart, 300).tap(kF11, 300)    // FX + Announcer
      .tap(kStart, 300).tap(kF11, 300)    // FX Only
      .tap(kSelect2, 300);
  k.run();
  EXPECT_EQ(OptionsPage_SoundSet(e), 1);
  EXPECT_STREQ(e.settings.effectSet, "Robot");
  EXPECT_STREQ(e.settings.announcerSet, "Default");
  EXPECT_EQ(g_soundSetList, (std::vector<std::string>{"Default", "Robot"}));
  EXPECT_EQ(TestScreen_Shots().size(), 2u);
}

}  // namespace
