// The profile select screen's rules: whose buttons count, the cursor's wrap and
// slide, choosing, the in-use refusal, the done flags and the time limit; and the
// statistics lines it shows.
#include "library/settings.h"
#include "media/input/input.h"
#include "menus/profile_state.h"
#include "menus/profile_stats.h"
#include "play/player.h"
#include <gtest/gtest.h>
#include <string>

namespace {
constexpr uint32_t P2 = MENU_P2_SHIFT;

struct ProfileRules : ::testing::Test {
  Player players[2];
  Profile profiles[3] = {};
  ProfileState s;
  void SetUp() override {
    Settings_Defaults(g_settings);
    Player_Reset(players[0], 1);
    Player_Reset(players[1], 2);
  }
  void begin(bool p1, bool p2, int count = 3, uint8_t c1 = 0, uint8_t c2 = 0) {
    players[0].active = p1;
    players[1].active = p2;
    const uint8_t last[2] = {c1, c2};
    ProfileState_Begin(s, players, count, last);
  }
  ProfileEvent press(int p, uint32_t input, uint32_t now = 1000) {
    return ProfileState_Press(s, p, ProfileState_Buttons(s, input, p), profiles, now);
  }
};

TEST_F(ProfileRules, EntryTakesTheLastCursorsAndCountsInactivePlayersDone) {
  begin(true, false, 3, 2, 3);
  EXPECT_EQ(s.panel[0].cursor, 2);
  EXPECT_EQ(s.panel[1].cursor, 3);
  EXPECT_FALSE(s.panel[0].done);
  EXPECT_TRUE(s.panel[1].done);
  EXPECT_FALSE(s.twoPads);
  begin(true, true, 2, 3, 2);   // a profile that is gone since: back to "No User/System"
  EXPECT_EQ(s.panel[0].cursor, 0);
  EXPECT_EQ(s.panel[1].cursor, 2);
  EXPECT_FALSE(s.panel[1].done);
}

TEST_F(ProfileRules, OnlyActivePlayersButtonsCountAndDoubleHasBothControllers) {
  begin(true, false);
  EXPECT_EQ(ProfileState_Buttons(s, MENU_RIGHT | (MENU_LEFT << P2), 0), MENU_RIGHT);
  EXPECT_EQ(ProfileState_Buttons(s, MENU_RIGHT << P2, 1), 0u);
  EXPECT_EQ(press(1, MENU_START << P2), PROFILE_NOTHING);

  Player_SetStyle(players[0], "DOUBLE", 8, true);
  begin(true, false);
  EXPECT_TRUE(s.twoPads);
  EXPECT_EQ(ProfileState_Buttons(s, MENU_RIGHT << P2, 0), MENU_RIGHT);
  EXPECT_EQ(press(0, MENU_RIGHT << P2), PROFILE_MOVED);
  EXPECT_EQ(s.panel[0].cursor, 1);

  // two players on SINGLE pads keep their own controllers
  Player_SetStyle(players[0], "SINGLE", 4, false);
  begin(true, true);
  EXPECT_FALSE(s.twoPads);
  EXPECT_EQ(ProfileState_Buttons(s, MENU_RIGHT << P2, 0), 0u);
  EXPECT_EQ(ProfileState_Buttons(s, MENU_RIGHT << P2, 1), MENU_RIGHT);
}

TEST_F(ProfileRules, CursorWrapsOverNoUserAndTheProfilesAndSlides) {
  begin(true, false, 3);
  EXPECT_EQ(ProfileState_Slide(s.panel[0], 1000), 1.0);   // at rest before any move
  EXPECT_EQ(press(0, MENU_LEFT, 2000), PROFILE_MOVED);
  EXPECT_EQ(s.panel[0].cursor, 3);
  EXPECT_EQ(s.panel[0].slideDir, -1);
  EXPECT_EQ(ProfileState_Slide(s.panel[0], 2000), 0.0);
  EXPECT_DOUBLE_EQ(ProfileState_Slide(s.panel[0], 2080), 0.5);
  EXPECT_EQ(ProfileState_Slide(s.panel[0], 2160), 1.0);
  EXPECT_EQ(ProfileState_Slide(s.panel[0], 9000), 1.0);
  EXPECT_EQ(press(0, MENU_RIGHT, 3000), PROFILE_MOVED);
  EXPECT_EQ(s.panel[0].cursor, 0);
  EXPECT_EQ(s.panel[0].slideDir, 1);
  EXPECT_EQ(s.panel[0].slideAt, 3000u);
  for (int i = 1; i <= 3; i++) {
    press(0, MENU_RIGHT);
    EXPECT_EQ(s.panel[0].cursor, i);
  }
  press(0, MENU_RIGHT);
  EXPECT_EQ(s.panel[0].cursor, 0);

  begin(true, false, 0);   // no profiles: "No User/System" is the only entry
  EXPECT_EQ(press(0, MENU_RIGHT), PROFILE_MOVED);
  EXPECT_EQ(s.panel[0].cursor, 0);
  EXPECT_EQ(press(0, MENU_LEFT), PROFILE_MOVED);
  EXPECT_EQ(s.panel[0].cursor, 0);
  EXPECT_EQ(press(0, MENU_START), PROFILE_NO_PROFILE);
  EXPECT_TRUE(s.panel[0].done);
}

TEST_F(ProfileRules, AProfileInUseIsRefusedAndDonePlayersDoNothingMore) {
  begin(true, true, 3, 2, 2);
  EXPECT_EQ(press(0, MENU_UPRIGHT), PROFILE_TAKEN);
  EXPECT_TRUE(s.panel[0].done);
  profiles[1].inUse = 1;   // as taking it does
  EXPECT_FALSE(ProfileState_AllDone(s, 1000));
  EXPECT_EQ(press(1, MENU_START << P2), PROFILE_REFUSED);
  EXPECT_FALSE(s.panel[1].done);
  EXPECT_EQ(s.panel[1].cursor, 2);
  // player 1 is done: their buttons, Up-Left included, do nothing
  EXPECT_EQ(press(0, MENU_RIGHT), PROFILE_NOTHING);
  EXPECT_EQ(press(0, MENU_UPLEFT), PROFILE_NOTHING);
  EXPECT_EQ(s.panel[0].cursor, 2);
  EXPECT_EQ(press(1, MENU_RIGHT << P2), PROFILE_MOVED);
  EXPECT_EQ(press(1, MENU_START << P2, 1500), PROFILE_TAKEN);
  EXPECT_TRUE(ProfileState_AllDone(s, 1500));
  EXPECT_TRUE(ProfileState_AllDone(s, 1700));
  EXPECT_EQ(s.allDoneAt, 1500u);   // the wait counts from the first time
}

TEST_F(ProfileRules, UpLeftOfAPlayerStillChoosingBacksOut) {
  begin(false, true);
  EXPECT_EQ(press(0, MENU_UPLEFT), PROFILE_NOTHING);   // player 1 is not playing
  EXPECT_EQ(press(1, MENU_UPLEFT << P2), PROFILE_BACK);
}

TEST_F(ProfileRules, TimeUpChoosesForEveryPlayerStillChoosing) {
  begin(true, true, 3, 1, 1);
  EXPECT_EQ(ProfileState_TimeUp(s, 0, profiles, 1000), PROFILE_TAKEN);
  profiles[0].inUse = 1;
  // the second player stood on the same profile: they play without one
  EXPECT_EQ(ProfileState_TimeUp(s, 1, profiles, 1000), PROFILE_NO_PROFILE);
  EXPECT_EQ(s.panel[1].cursor, 0);
  EXPECT_TRUE(ProfileState_AllDone(s, 1000));

  profiles[0].inUse = 0;
  begin(true, true, 3, 0, 3);
  EXPECT_EQ(press(0, MENU_START), PROFILE_NO_PROFILE);
  EXPECT_EQ(ProfileState_TimeUp(s, 0, profiles, 1000), PROFILE_NOTHING);   // already done
  EXPECT_EQ(ProfileState_TimeUp(s, 1, profiles, 1000), PROFILE_TAKEN);
  EXPECT_EQ(s.panel[1].cursor, 3);
  begin(false, true, 3);
  EXPECT_EQ(ProfileState_TimeUp(s, 0, profiles, 1000), PROFILE_NOTHING);
  EXPECT_EQ(ProfileState_TimeUp(s, 1, profiles, 1000), PROFILE_NO_PROFILE);
}

TEST(ProfileStats, ArcadeLines) {
  ProfileStats st{};
  st.songs = 12;
  st.steps = 2000;
  st.perfects = 1234;
  st.bestScore = 98765432;
  st.bestCombo = 321;
  ProfileStatLine l[kProfileStatLines];
  ASSERT_EQ(ProfileStats_Lines(st, 0, l), 5);
  EXPECT_STREQ(l[0].label, "Total Songs");
  EXPECT_STREQ(l[0].value, "12");
  EXPECT_STREQ(l[1].label, "Total Steps");
  EXPECT_STREQ(l[1].value, "2000");
  EXPECT_STREQ(l[2].label, "Perfect: 61.70%");
  EXPECT_STREQ(l[2].value, "");
  EXPECT_STREQ(l[3].label, "Highest Score");
  EXPECT_STREQ(l[3].value, " 98765432");
  EXPECT_STREQ(l[4].label, "Highest Combo");
  EXPECT_STREQ(l[4].value, "321");
  st.steps = 0;
  ProfileStats_Lines(st, 0, l);
  EXPECT_STREQ(l[2].label, "Perfect: n/a");
}

TEST(ProfileStats, NonstopLinesAndCourseTimes) {
  ProfileStats st{};
  st.steps = 400;
  st.perfects = 100;
  st.courseBestPercent = 87.26;
  st.courseBestStage = 7;
  st.courseBestScore = 1234567;
  st.courseLongestMs = 754321;   // 12:34.321
  st.courseBestCombo = 88;
  st.bestCombo = 999;            // the arcade's, not shown here
  ProfileStatLine l[kProfileStatLines];
  ASSERT_EQ(ProfileStats_Lines(st, 1, l), 7);
  const char* labels[7] = {"Total Steps",   "Perfect: 25.00%", "Highest Percentage", "Highest Stage",
                           "Highest Score", "Longest Time",    "Highest Combo"};
  const char* values[7] = {"400", "", "87.3%", "7", "  1234567", "12:34:321", "88"};
  for (int i = 0; i < 7; i++) {
    EXPECT_STREQ(l[i].label, labels[i]) << i;
    EXPECT_STREQ(l[i].value, values[i]) << i;
  }
  st.courseLongestMs = 3600000 + 2 * 60000 + 3000 + 999;
  ProfileStats_Lines(st, 1, l);
  EXPECT_STREQ(l[5].label, "Longest Time (hours)");
  EXPECT_STREQ(l[5].value, "1:02:03");
  st.courseLongestMs = 3599999;
  ProfileStats_Lines(st, 1, l);
  EXPECT_STREQ(l[5].value, "59:59:999");
}

TEST(ProfileStats, StyleGroupOfThePanels) {
  EXPECT_EQ(Profile_StyleGroup(4), 0);
  EXPECT_EQ(Profile_StyleGroup(8), 1);
  EXPECT_EQ(Profile_StyleGroup(6), 2);
}
}  // namespace
