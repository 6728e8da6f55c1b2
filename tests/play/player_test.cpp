// The player record: resets, fields by style, option bytes, modifier text,
// scroll scale and where the modifiers put the notes.
#include <gtest/gtest.h>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include "library/settings.h"
#include "play/modifiers.h"
#include "play/player.h"

namespace {

TEST(PlayerRecord, ResetBothRecords) {
  Settings_Defaults(g_settings);
  g_settings.defaultDifficulty = 2;
  for (Player& p : g_players) {
    memset(&p, 0x5A, sizeof p);
    p.arrows = (Arrow*)calloc(3, sizeof(Arrow));
    p.arrowCount = 3;
  }
  Players_Reset();
  const Player& a = g_players[0];
  const Player& b = g_players[1];
  EXPECT_EQ(a.number, 1);
  EXPECT_EQ(b.number, 2);
  for (const Player* p : {&a, &b}) {
    EXPECT_EQ(p->panels, 4);
    EXPECT_EQ(p->active, 0);
    EXPECT_EQ(p->difficulty, 2);
    EXPECT_STREQ(p->styleName, "SINGLE");
    EXPECT_STREQ(p->modifierText, "");
    for (int i = 0; i < kOptionCount; i++) EXPECT_EQ(Player_Option(*p, i), 0);
    EXPECT_EQ(p->arrows, nullptr);   // the old chart was freed
    EXPECT_EQ(p->arrowCount, 0);
  }
  EXPECT_EQ(a.fieldX, 15);
  EXPECT_EQ(a.fieldRightX, 289);
  EXPECT_EQ(a.fieldCentreX, 150);
  EXPECT_EQ(b.fieldX, 351);
  EXPECT_EQ(b.fieldRightX, 625);
  EXPECT_EQ(b.fieldCentreX, 486);
  Players_ClearModifierText();
  EXPECT_STREQ(a.modifierText, " ");
  EXPECT_STREQ(b.modifierText, " ");
}

TEST(PlayerRecord, FieldsByStyle) {
  Player p = {};
  p.number = 2;
  Player_SetStyle(p, "SINGLE", 4, true);
  EXPECT_EQ(p.fieldX, 175);
  EXPECT_EQ(p.fieldRightX, 449);
  EXPECT_EQ(p.fieldCentreX, 320);
  Player_SetStyle(p, "DOUBLE", 8, true);
  EXPECT_EQ(p.panels, 8);
  EXPECT_EQ(p.fieldX, 46);
  EXPECT_EQ(p.fieldRightX, 594);
  Player_SetStyle(p, "SOLO", 6, true);
  EXPECT_EQ(p.fieldX, 115);
  EXPECT_EQ(p.fieldRightX, 525);
  EXPECT_STREQ(p.styleName, "SOLO");
  Player_SetStyle(p, "A STYLE NAME FAR TOO LONG FOR THE FIELD", 4, false);
  EXPECT_EQ(strlen(p.styleName), (size_t)kStyleNameSize - 1);
  EXPECT_EQ(p.fieldX, 351);
}

TEST(PlayerRecord, OptionBytesMatchTheNamedFields) {
  Player p = {};
  for (int i = 0; i < kOptionCount; i++) Player_SetOption(p, i, (uint8_t)(i + 1));
  EXPECT_EQ(p.options.speed, 1);
  EXPECT_EQ(p.options.effect, 2);
  EXPECT_EQ(p.options.appearance, 3);
  EXPECT_EQ(p.options.turn, 4);
  EXPECT_EQ(p.options.arrowFilter, 5);
  EXPECT_EQ(p.options.dark, 6);
  EXPECT_EQ(p.options.reverse, 7);
  EXPECT_EQ(p.options.noFreeze, 8);
  EXPECT_EQ(p.options.power, 9);
  Player_SetOption(p, 9, 1);   // outside: nothing changes
  Player_SetOption(p, -1, 1);
  EXPECT_EQ(Player_Option(p, 9), 0);
  EXPECT_EQ(p.options.power, 9);
}

TEST(PlayerRecord, ModifierText) {
  Player p = {};
  Player_BuildModifierText(p);
  EXPECT_STREQ(p.modifierText, " ");
  p.options.speed = 2;
  p.options.effect = EFFECT_BOOST;
  p.options.appearance = 1;   // no short name
  p.options.turn = TURN_MIRROR;
  p.options.arrowFilter = FILTER_LITTLE;
  p.options.dark = 1;
  p.options.reverse = 1;
  p.options.noFreeze = 1;
  p.options.power = 2;
  Player_BuildModifierText(p);
  EXPECT_STREQ(p.modifierText, "2x,BOOST,MIRROR,LITTLE");
  Player q = {};
  q.options.speed = 9;
  Player_BuildModifierText(q);
  EXPECT_STREQ(q.modifierText, ".75x");
  q.options.speed = 0;
  q.options.arrowFilter = 3;   // SOLO has no short name
  q.options.turn = TURN_SHUFFLE;
  Player_BuildModifierText(q);
  EXPECT_STREQ(q.modifierText, "SHUFFLE");
  q.options.speed = 40;        // out of the table: nothing
  q.options.turn = 0;
  Player_BuildModifierText(q);
  EXPECT_STREQ(q.modifierText, " ");
}

TEST(PlayerRecord, LongestModifierTextFits) {
  // every row's longest name at once
  for (int i = 0; i < kModifierNameRows; i++)
    for (int v = 0; v < kModifierNameValues; v++) EXPECT_LT(strlen(kModifierNames[i][v]), (size_t)kModifierNameSize);
  Player p = {};
  p.options.speed = 9;
  p.options.effect = 1;
  p.options.turn = 4;
  p.options.arrowFilter = 1;
  Player_BuildModifierText(p);
  EXPECT_STREQ(p.modifierText, ".75x,BOOST,SHUFFLE,LITTLE");
}

TEST(PlayerRecord, ScrollScale) {
  Player p = {};
  p.options.speed = 2;
  Player_SetScrollScale(p, 120);
  EXPECT_EQ(p.pixelsPerBeat, 128);
  EXPECT_DOUBLE_EQ(p.pixelsPerMs, 0.256);
  const int ppb[10] = {64, 96, 128, 192, 256, 320, 512, 16, 32, 48};
  for (int c = 0; c < 10; c++) EXPECT_EQ(Speed_PixelsPerBeat(c), ppb[c]);
  EXPECT_EQ(Speed_PixelsPerBeat(10), 64);
  EXPECT_EQ(Speed_PixelsPerBeat(-1), 64);
}

TEST(NotePlacement, Standard) {
  EXPECT_DOUBLE_EQ(Note_ScreenY(200, 0, false, true, 3.3), 200);
  // BOOST: on the receptors at 55; off the screen at or before 0
  EXPECT_NEAR(Note_ScreenY(55, EFFECT_BOOST, false, true, 0), 56, 1e-3);
  EXPECT_NEAR(Note_ScreenY(110, EFFECT_BOOST, false, true, 0), 56 + 192 * std::log(2.0), 1e-2);
  EXPECT_DOUBLE_EQ(Note_ScreenY(0, EFFECT_BOOST, false, true, 0), -64);
  EXPECT_DOUBLE_EQ(Note_ScreenY(-30, EFFECT_BOOST, false, true, 0), -64);
  // BRAKE: 155 ahead is drawn at 56 + 20 + 20; judged or passed notes as they are
  EXPECT_DOUBLE_EQ(Note_ScreenY(155, EFFECT_BRAKE, false, true, 0), 96);
  EXPECT_DOUBLE_EQ(Note_ScreenY(155, EFFECT_BRAKE, false, false, 0), 155);
  EXPECT_DOUBLE_EQ(Note_ScreenY(40, EFFECT_BRAKE, false, true, 0), 40);
  // WAVE: one wave per 16 sixteenths
  EXPECT_NEAR(Note_ScreenY(155, EFFECT_WAVE, false, true, 0), 155, 1e-9);
  EXPECT_NEAR(Note_ScreenY(155, EFFECT_WAVE, false, true, 4), 155 + 100 * 0.00111111 * 340, 1e-9);
  EXPECT_NEAR(Note_ScreenY(155, EFFECT_WAVE, false, true, 12), 155 - 100 * 0.00111111 * 340, 1e-9);
  EXPECT_NEAR(Note_ScreenY(155, EFFECT_WAVE, false, true, 20), 155 + 100 * 0.00111111 * 340, 1e-9);
  EXPECT_NEAR(Note_ScreenY(155, EFFECT_WAVE, false, true, -12), 155 + 100 * 0.00111111 * 340, 1e-9);
  EXPECT_DOUBLE_EQ(Note_ScreenY(155, EFFECT_WAVE, false, false, 4), 155);
}

TEST(NotePlacement, Reverse) {
  EXPECT_DOUBLE_EQ(Note_ScreenY(55, 0, true, true, 0), 356);
  EXPECT_DOUBLE_EQ(Note_ScreenY(155, 0, true, true, 0), 256);
  EXPECT_NEAR(Note_ScreenY(55, EFFECT_BOOST, true, true, 0), 356, 1e-3);
  EXPECT_DOUBLE_EQ(Note_ScreenY(0, EFFECT_BOOST, true, true, 0), 480);
  EXPECT_DOUBLE_EQ(Note_ScreenY(155, EFFECT_BRAKE, true, true, 0), 356 - 40);
  EXPECT_DOUBLE_EQ(Note_ScreenY(155, EFFECT_BRAKE, true, false, 0), 411 - 155);
  EXPECT_DOUBLE_EQ(Note_ScreenY(50, EFFECT_BRAKE, true, true, 0), 411 - 50);
  EXPECT_DOUBLE_EQ(Note_ScreenY(-1, EFFECT_BRAKE, true, true, 0), 480);
  EXPECT_NEAR(Note_ScreenY(155, EFFECT_WAVE, true, true, 4), 411 - (155 + 100 * 0.00111111 * 340), 1e-9);
  EXPECT_DOUBLE_EQ(Note_ScreenY(50, EFFECT_WAVE, true, true, 4), 411 - 50);
  EXPECT_DOUBLE_EQ(Note_ScreenY(-5, EFFECT_WAVE, true, true, 4), 480);
}

TEST(NotePlacement, WhereScanningStops) {
  EXPECT_FALSE(Note_BeyondScreen(480, 0, false));
  EXPECT_TRUE(Note_BeyondScreen(481, 0, false));
  EXPECT_FALSE(Note_BeyondScreen(800, EFFECT_WAVE, false));
  EXPECT_TRUE(Note_BeyondScreen(821, EFFECT_WAVE, false));
  EXPECT_FALSE(Note_BeyondScreen(-64, 0, true));
  EXPECT_TRUE(Note_BeyondScreen(-65, 0, true));
  EXPECT_FALSE(Note_BeyondScreen(-400, EFFECT_WAVE, true));
  EXPECT_TRUE(Note_BeyondScreen(-405, EFFECT_WAVE, true));
}

TEST(NotePlacement, BaseOffsetFromTheTape) {
  // a standard tape y of 183 that has scrolled 64 pixels is 119 ahead
  EXPECT_DOUBLE_EQ(Note_BaseOffset(183, false, 64), 119);
  // REVERSE stores 413 - 183
  EXPECT_DOUBLE_EQ(Note_BaseOffset(413 - 183, true, 64), 119);
}

}  // namespace
