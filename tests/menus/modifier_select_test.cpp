// The modifier rows (steps, summary text), the modifier screen's layout and
// input, and the hot keys shared with the song wheel.
#include <gtest/gtest.h>

#include "library/settings.h"
#include "media/input/input.h"
#include "menus/menu_hot_keys.h"
#include "menus/modifier_screen.h"
#include "play/play_record.h"
#include "play/player.h"

#include <cstring>

namespace {
TEST(ModifierRows, StepsStopAtTheEndsUnlessTheyWrap) {
  EXPECT_EQ(ModifierRow_Step(8, 2, 1, true, false), 2);   // Power: Right at DEATH stays DEATH
  EXPECT_EQ(ModifierRow_Step(8, 2, 1, true, true), 0);    // the quick cursor goes round
  EXPECT_EQ(ModifierRow_Step(0, 0, -1, true, false), 0);
  EXPECT_EQ(ModifierRow_Step(0, 0, -1, true, true), 9);   // Speed: 1x back to .75x
  EXPECT_EQ(ModifierRow_Step(0, 8, 1, true, false), 9);
  EXPECT_EQ(ModifierRow_Step(5, 0, 1, true, false), 1);
  EXPECT_EQ(ModifierRow_Step(kExitRow, 0, 1, true, true), 0);   // EXIT has no values
  EXPECT_EQ(ModifierRow_Count(0), 10);
  EXPECT_EQ(ModifierRow_Count(8), 3);
  EXPECT_EQ(ModifierRow_Count(kExitRow), 0);
}

TEST(ModifierRows, TurnOnStylesThatAreNotFourPanelsIsOffOrMirror) {
  EXPECT_EQ(ModifierRow_Step(kTurnRow, 0, 1, false, false), TURN_MIRROR);
  EXPECT_EQ(ModifierRow_Step(kTurnRow, TURN_MIRROR, 1, false, false), TURN_MIRROR);
  EXPECT_EQ(ModifierRow_Step(kTurnRow, TURN_MIRROR, -1, false, false), 0);
  EXPECT_EQ(ModifierRow_Step(kTurnRow, TURN_MIRROR, 1, false, true), 0);
  EXPECT_EQ(ModifierRow_Step(kTurnRow, 0, 1, true, false), TURN_LEFT);
  // a turn set on another style steps to what this one offers
  EXPECT_EQ(ModifierRow_Step(kTurnRow, TURN_SHUFFLE, -1, false, false), TURN_MIRROR);
  EXPECT_FALSE(ModifierRow_Offered(kTurnRow, TURN_RIGHT, false));
  EXPECT_TRUE(ModifierRow_Offered(kTurnRow, TURN_RIGHT, true));
  Player p{};
  p.panels = 8;
  EXPECT_FALSE(ModifierRow_FourPanels(p));
  p.panels = 6;
  EXPECT_FALSE(ModifierRow_FourPanels(p));
  p.panels = 4;
  EXPECT_TRUE(ModifierRow_FourPanels(p));
}

TEST(ModifierRows, TheSummaryTakesTheShortTextsOfTheRowsThatHaveOne) {
  char t[kModifierTextSize];
  uint8_t v[kModifierRows] = {1, 1, 2, 2, 0, 1, 1, 1, 1};
  Modifiers_SummaryText(v, t, sizeof t);
  EXPECT_STREQ(t, "1.5x,BOOST,MIRROR,NO FREEZE,P.DROP");   // no texts for SUDDEN, Dark and REVERSE
  uint8_t none[kModifierRows] = {};
  Modifiers_SummaryText(none, t, sizeof t);
  EXPECT_STREQ(t, " ");
  uint8_t other[kModifierRows] = {9, 0, 0, 0, 3, 0, 0, 0, 2};   // SOLO has no short text
  Modifiers_SummaryText(other, t, sizeof t);
  EXPECT_STREQ(t, ".75x,DEATH");
  uint8_t wild[kModifierRows] = {200, 0, 0, 4, 4, 0, 0, 0, 0};   // out of range is left out
  Modifiers_SummaryText(wild, t, sizeof t);
  EXPECT_STREQ(t, "SHUFFLE");
  char small[6];
  Modifiers_SummaryText(v, small, sizeof small);
  EXPECT_STREQ(small, "1.5x,");

  Player p{};
  p.options.speed = 6;
  p.options.turn = TURN_LEFT;
  p.options.arrowFilter = FILTER_LITTLE;
  Player_SetSummaryText(p);
  EXPECT_STREQ(p.modifierText, "8x,LEFT,LITTLE");
}

int tenPerLetter(const char* t) { return 10 * (int)strlen(t); }

TEST(ModifierScreenLayout, LabelsFollowEachOtherFrom170) {
  ModifierLayout l;
  ModifierScreen_Layout(l, true, tenPerLetter);
  for (int v = 0; v < 10; v++) {
    EXPECT_EQ(l.x[0][v], 170 + v * (23 + 16)) << v;   // Speed labels are 23 wide
    EXPECT_EQ(l.width[0][v], 23);
  }
  EXPECT_EQ(l.x[1][1], 170 + 30 + 16);   // after "OFF"
  EXPECT_EQ(l.x[3][2], 170 + 30 + 16 + 40 + 16);
  EXPECT_EQ(l.exitWidth, 40);
  EXPECT_EQ(l.exitX, 300);
  // other styles: Turn shows OFF and MIRROR; LEFT takes no room
  ModifierScreen_Layout(l, false, tenPerLetter);
  EXPECT_EQ(l.width[3][1], 0);
  EXPECT_EQ(l.width[3][3], 0);
  EXPECT_EQ(l.width[3][4], 0);
  EXPECT_EQ(l.x[3][2], 170 + 30 + 16);
  EXPECT_EQ(ModifierScreen_RowY(0), 70);
  EXPECT_EQ(ModifierScreen_RowY(8), 70 + 32 * 8);
  EXPECT_EQ(ModifierScreen_RowY(kExitRow), 70 + 32 * 10);
}

class ModifierScreenTest : public ::testing::Test {
 protected:
  ModifierScreen s;
  void SetUp() override {
    Settings_Defaults(g_settings);
    Players_Reset();
    g_players[0].active = 1;
  }
  int press(uint32_t word) { return ModifierScreen_Input(s, word); }
};

TEST_F(ModifierScreenTest, RowsAndValuesMoveWithinTheirLimitsAndGoStraightIntoTheRecord) {
  ModifierScreen_Begin(s);
  EXPECT_EQ(s.players, 1);
  EXPECT_EQ(press(MENU_UP), -1);
  EXPECT_EQ(s.row[0], 0);
  EXPECT_EQ(press(MENU_RIGHT), -1);
  EXPECT_EQ(g_players[0].options.speed, 1);
  EXPECT_EQ(press(MENU_LEFT), -1);
  EXPECT_EQ(press(MENU_LEFT), -1);
  EXPECT_EQ(g_players[0].options.speed, 0);   // no wrap
  for (int i = 0; i < 8; i++) press(MENU_DOWN);
  EXPECT_EQ(s.row[0], 8);
  press(MENU_RIGHT);
  press(MENU_RIGHT);
  press(MENU_RIGHT);
  EXPECT_EQ(g_players[0].options.power, 2);   // DEATH stays DEATH
  press(MENU_DOWN);
  press(MENU_DOWN);
  EXPECT_EQ(s.row[0], kExitRow);
  press(MENU_RIGHT);                          // EXIT has no values
  EXPECT_EQ(press(MENU_ESCAPE), 1);
}

TEST_F(ModifierScreenTest, StartStepsDownAndOnExitGoesOn) {
  ModifierScreen_Begin(s);
  for (int r = 0; r < kExitRow; r++) {
    EXPECT_EQ(press(MENU_START), -1);
    EXPECT_EQ(s.row[0], r + 1);
  }
  EXPECT_EQ(press(MENU_START), 0);
}

TEST_F(ModifierScreenTest, WithTwoPlayersExitNeedsBoth) {
  g_players[1].active = 1;
  ModifierScreen_Begin(s);
  EXPECT_EQ(s.players, 2);
  for (int r = 0; r < kExitRow; r++) press(MENU_DOWN);
  EXPECT_EQ(s.row[0], kExitRow);
  EXPECT_EQ(s.row[1], 0);
  EXPECT_EQ(press(MENU_START), -1);           // player 2 is still on Speed
  EXPECT_EQ(s.row[0], kExitRow);
  press(MENU_RIGHT << MENU_P2_SHIFT);
  EXPECT_EQ(g_players[1].options.speed, 1);
  EXPECT_EQ(g_players[0].options.speed, 0);
  for (int r = 0; r < kExitRow; r++) press(MENU_START << MENU_P2_SHIFT);
  EXPECT_EQ(s.row[1], kExitRow);
  EXPECT_EQ(press(MENU_START << MENU_P2_SHIFT), 0);
}

TEST(MenuHotKeys, MusicSpeedStaysWithinOneToNineAndTheTickSwitches) {
  Settings_Defaults(g_settings);
  g_play.rateStep = 2;
  HotKeyMessage m;
  EXPECT_TRUE(HotKeys_Apply(HOTKEY_SLOWER, m, 100));
  EXPECT_EQ(g_play.rateStep, 1);
  EXPECT_STREQ(m.text, "Speed = 1/5");
  EXPECT_FALSE(HotKeys_Apply(HOTKEY_SLOWER, m, 200));
  EXPECT_EQ(g_play.rateStep, 1);
  EXPECT_EQ(m.shownAt, 100u);
  g_play.rateStep = 9;
  EXPECT_FALSE(HotKeys_Apply(HOTKEY_FASTER, m, 300));
  EXPECT_EQ(g_play.rateStep, 9);
  g_play.rateStep = 5;
  HotKeys_Apply(HOTKEY_FASTER, m, 400);
  EXPECT_STREQ(m.text, "Speed = 6/5");
  g_settings.assistTick = 0;
  HotKeys_Apply(HOTKEY_TICKS, m, 500);
  EXPECT_EQ(g_settings.assistTick, 1);
  EXPECT_STREQ(m.text, "Assist Ticks ON");
  HotKeys_Apply(HOTKEY_TICKS, m, 600);
  EXPECT_STREQ(m.text, "Assist Ticks OFF");
  EXPECT_EQ(m.shownAt, 600u);
  g_play.rateStep = 5;
}
}  // namespace
