// The style select screen's rules: joining, the cursor's reach, the pages, what
// each choice makes of the player records, and the time limit's press.
#include "library/settings.h"
#include "media/input/input.h"
#include "media/sound/sound_fx.h"
#include "menus/style_state.h"
#include "play/player.h"
#include <gtest/gtest.h>

namespace {
constexpr uint32_t P2 = MENU_P2_SHIFT;
const bool kAll[MODE_COUNT] = {true, true, true};

struct StyleRules : ::testing::Test {
  Player players[2] = {};
  StyleState s;
  int who = -1;
  void begin(bool p1, bool p2) {
    Settings_Defaults(g_settings);
    Player_Reset(players[0], 1);
    Player_Reset(players[1], 2);
    players[0].active = p1;
    players[1].active = p2;
    StyleState_Begin(s, players);
  }
  StyleEvent press(uint32_t input, const bool* available = kAll) {
    return StyleState_Input(s, input, available, 1000, who);
  }
};

TEST_F(StyleRules, SecondPlayersStartJoinsBothAndSingleGoesOutOfReach) {
  begin(true, false);
  // the other buttons of a player who has not joined do nothing, Up-Left included
  for (uint32_t b : {MENU_RIGHT, MENU_DOWN, MENU_UPLEFT, MENU_UPRIGHT})
    EXPECT_EQ(press(b << P2), STYLE_NOTHING) << b;
  EXPECT_EQ(s.cursor, 0);
  EXPECT_EQ(press(MENU_START << P2), STYLE_JOINED);
  EXPECT_TRUE(s.joined[0] && s.joined[1]);
  EXPECT_EQ(s.cursor, 1);   // off SINGLE, and the press chose nothing
  EXPECT_EQ(press(MENU_LEFT), STYLE_NOTHING);
  EXPECT_EQ(s.cursor, 1);

  // joining with the cursor on DOUBLE leaves it there; both joined on entry start on VERSUS
  begin(false, true);
  press(MENU_RIGHT << P2);
  press(MENU_RIGHT << P2);
  EXPECT_EQ(press(MENU_START), STYLE_JOINED);
  EXPECT_EQ(s.cursor, 2);
  begin(true, true);
  EXPECT_EQ(s.cursor, 1);
  EXPECT_EQ(s.lowest, 1);
}

TEST_F(StyleRules, CursorStopsAtTheEndsAndPagesSwitchBothWays) {
  begin(true, false);
  EXPECT_EQ(press(MENU_LEFT), STYLE_NOTHING);
  EXPECT_EQ(press(MENU_RIGHT), STYLE_MOVED);
  EXPECT_EQ(press(MENU_RIGHT), STYLE_MOVED);
  EXPECT_EQ(press(MENU_RIGHT), STYLE_NOTHING);
  EXPECT_EQ(press(MENU_DOWN), STYLE_PAGE);
  EXPECT_EQ(s.page, 1);
  EXPECT_EQ(s.cursor, 0);
  // joined on page 1: SOLO stays under the cursor, Left cannot go below it,
  // and page 0 comes back on VERSUS
  EXPECT_EQ(press(MENU_START << P2), STYLE_JOINED);
  EXPECT_EQ(press(MENU_LEFT), STYLE_NOTHING);
  EXPECT_EQ(s.cursor, 0);
  EXPECT_EQ(press(MENU_UP << P2), STYLE_PAGE);
  EXPECT_EQ(s.page, 0);
  EXPECT_EQ(s.cursor, 1);
  EXPECT_EQ(press(MENU_ESCAPE), STYLE_BACK);
  EXPECT_EQ(press(MENU_UPLEFT << P2), STYLE_BACK);
  EXPECT_EQ(press(MENU_UPRIGHT << P2), STYLE_CHOSEN);
  EXPECT_EQ(who, 1);
}

TEST_F(StyleRules, AChoiceWithoutSongsRaisesTheMessageForTwoSeconds) {
  const bool noSolo[MODE_COUNT] = {true, true, false};
  begin(true, false);
  press(MENU_DOWN);
  EXPECT_EQ(StyleState_Input(s, MENU_START, noSolo, 5000, who), STYLE_UNAVAILABLE);
  EXPECT_TRUE(StyleState_MessageShown(s, 6999));
  EXPECT_FALSE(StyleState_MessageShown(s, 7000));
  const bool onlyDouble[MODE_COUNT] = {false, true, false};
  begin(true, true);
  EXPECT_EQ(press(MENU_START, onlyDouble), STYLE_UNAVAILABLE);   // VERSUS needs 4-panel charts
  press(MENU_RIGHT);
  EXPECT_EQ(press(MENU_START, onlyDouble), STYLE_CHOSEN);
}

// Each choice: who becomes active, in which style and on which field.
TEST_F(StyleRules, ChoicesSetTheRecordsTheBannerAndTheAnnouncer) {
  struct Case {
    int page, choice, who;
    bool active[2];
    const char* style;
    int panels, fieldX, centre;   // of the active player (player 1 for VERSUS)
    int banner, announcer;
  } cases[] = {
      {0, 0, 0, {true, false}, "SINGLE", 4, 175, 320, 0, SND_SEL_G0_SINGLE},
      {0, 0, 1, {false, true}, "SINGLE", 4, 175, 320, 1, SND_SEL_G0_SINGLE},
      {0, 1, 1, {true, true}, "SINGLE", 4, 15, 150, 2, SND_SEL_G0_VERSUS},
      {0, 2, 1, {true, false}, "DOUBLE", 8, 46, 320, 3, SND_SEL_G0_DOUBLE},   // both pads are player 1's
      {1, 0, 0, {true, false}, "SOLO", 6, 115, 320, 4, SND_SEL_G1_SINGLE},
      {1, 0, 1, {false, true}, "SOLO", 6, 115, 320, 5, SND_SEL_G1_SINGLE},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "page " << c.page << " choice " << c.choice << " who " << c.who);
    begin(c.who == 0, c.who == 1);
    for (Player& p : players) {
      p.difficulty = 2;
      p.options.speed = 3;
    }
    StyleChoice_Apply(c.page, c.choice, c.who, players);
    EXPECT_EQ((bool)players[0].active, c.active[0]);
    EXPECT_EQ((bool)players[1].active, c.active[1]);
    const Player& a = c.active[0] ? players[0] : players[1];
    EXPECT_STREQ(a.styleName, c.style);
    EXPECT_EQ(a.panels, c.panels);
    EXPECT_EQ(a.fieldX, c.fieldX);
    EXPECT_EQ(a.fieldCentreX, c.centre);
    EXPECT_EQ(a.difficulty, 2);   // difficulty and modifiers are the players' own
    EXPECT_EQ(a.options.speed, 3);
    EXPECT_EQ(StyleChoice_Banner(c.page, c.choice, c.who), c.banner);
    EXPECT_EQ(StyleChoice_Announcer(c.page, c.choice), c.announcer);
  }
  EXPECT_EQ(players[0].active, 0);
  StyleChoice_Apply(0, 1, 0, players);   // VERSUS puts player 2 on the right half
  EXPECT_EQ(players[1].fieldCentreX, 486);
}

TEST_F(StyleRules, TimeUpPressesStartForTheFirstJoinedPlayerOrTakesTheFirstPlayableChoice) {
  begin(true, false);
  press(MENU_UP);
  EXPECT_EQ(StyleState_TimeUp(s, kAll, 1000, who), STYLE_CHOSEN);   // SOLO for player 1 on page 1
  EXPECT_EQ(s.page, 1);
  EXPECT_EQ(who, 0);
  begin(false, true);
  EXPECT_EQ(StyleState_TimeUp(s, kAll, 1000, who), STYLE_CHOSEN);
  EXPECT_EQ(who, 1);

  const bool noSolo[MODE_COUNT] = {true, true, false};
  begin(true, false);
  press(MENU_DOWN);
  EXPECT_EQ(StyleState_TimeUp(s, noSolo, 1000, who), STYLE_CHOSEN);
  EXPECT_EQ(s.page, 0);
  EXPECT_EQ(s.cursor, 0);
  // both joined: SINGLE is out of reach, so without 4-panel charts it is DOUBLE
  const bool doubleOnly[MODE_COUNT] = {false, true, false};
  begin(true, true);
  EXPECT_EQ(StyleState_TimeUp(s, doubleOnly, 1000, who), STYLE_CHOSEN);
  EXPECT_EQ(s.cursor, 2);
  const bool none[MODE_COUNT] = {false, false, false};
  EXPECT_EQ(StyleState_TimeUp(s, none, 1000, who), STYLE_UNAVAILABLE);
}
}  // namespace
