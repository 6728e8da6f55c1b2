// The profile select screen's rules: whose buttons count, the cursor's wrap and
// slide, the in-use refusal, the done flags and the time limit; and the
// statistics lines it shows.
#include "media/input/input.h"
#include "menus/profile_state.h"
#include "menus/profile_stats.h"
#include "play/player.h"
#include <gtest/gtest.h>

namespace {
constexpr uint32_t P2 = MENU_P2_SHIFT;

struct ProfileRules : ::testing::Test {
  Player players[2] = {};
  Profile profiles[3] = {};
  ProfileState s;
  void begin(bool p1, bool p2, int count = 3, uint8_t c1 = 0, uint8_t c2 = 0, int panels = 4) {
    Player_Reset(players[0], 1);
    Player_Reset(players[1], 2);
    Player_SetStyle(players[0], "", panels, !p2);
    players[0].active = p1;
    players[1].active = p2;
    const uint8_t last[2] = {c1, c2};
    ProfileState_Begin(s, players, count, last);
  }
  ProfileEvent press(int p, uint32_t input, uint32_t now = 1000) {
    return ProfileState_Press(s, p, ProfileState_Buttons(s, input, p), profiles, now);
  }
};

TEST_F(ProfileRules, OnlyActivePlayersCountAndDoubleHasBothControllers) {
  begin(true, false, 3, 2, 3);
  EXPECT_EQ(s.panel[0].cursor, 2);   // where the last game left it
  EXPECT_TRUE(s.panel[1].done);      // an inactive player is done from the start
  EXPECT_EQ(press(1, MENU_START << P2), PROFILE_NOTHING);
  EXPECT_EQ(ProfileState_Buttons(s, MENU_RIGHT << P2, 0), 0u);
  begin(true, false, 3, 0, 0, 8);
  EXPECT_EQ(press(0, MENU_RIGHT << P2), PROFILE_MOVED);
  EXPECT_EQ(s.panel[0].cursor, 1);
  begin(true, true, 2, 3, 2);        // a profile gone since: "No User/System"
  EXPECT_EQ(s.panel[0].cursor, 0);
  EXPECT_EQ(ProfileState_Buttons(s, MENU_RIGHT << P2, 0), 0u);
  EXPECT_EQ(ProfileState_Buttons(s, MENU_RIGHT << P2, 1), MENU_RIGHT);
}

TEST_F(ProfileRules, CursorWrapsOverNoUserAndTheProfilesAndSlides) {
  begin(true, false, 3);
  EXPECT_EQ(press(0, MENU_LEFT, 2000), PROFILE_MOVED);
  EXPECT_EQ(s.panel[0].cursor, 3);
  EXPECT_EQ(ProfileState_Slide(s.panel[0], 2000), 0.0);
  EXPECT_DOUBLE_EQ(ProfileState_Slide(s.panel[0], 2080), 0.5);
  EXPECT_EQ(ProfileState_Slide(s.panel[0], 2160), 1.0);
  EXPECT_EQ(press(0, MENU_RIGHT), PROFILE_MOVED);
  EXPECT_EQ(s.panel[0].cursor, 0);
  EXPECT_EQ(s.panel[0].slideDir, 1);
  begin(true, false, 0);   // no profiles: "No User/System" is the only entry
  press(0, MENU_RIGHT);
  EXPECT_EQ(s.panel[0].cursor, 0);
  EXPECT_EQ(press(0, MENU_START), PROFILE_NO_PROFILE);
  EXPECT_TRUE(ProfileState_AllDone(s, 1000));
}

TEST_F(ProfileRules, AProfileInUseIsRefusedAndDonePlayersDoNothingMore) {
  begin(true, true, 3, 2, 2);
  EXPECT_EQ(press(0, MENU_UPRIGHT), PROFILE_TAKEN);
  profiles[1].inUse = 1;   // as taking it does
  EXPECT_FALSE(ProfileState_AllDone(s, 1000));
  EXPECT_EQ(press(1, MENU_START << P2), PROFILE_REFUSED);
  EXPECT_FALSE(s.panel[1].done);
  EXPECT_EQ(press(0, MENU_UPLEFT), PROFILE_NOTHING);   // player 1 is done
  EXPECT_EQ(press(1, MENU_RIGHT << P2), PROFILE_MOVED);
  EXPECT_EQ(press(1, MENU_START << P2, 1500), PROFILE_TAKEN);
  EXPECT_TRUE(ProfileState_AllDone(s, 1500));
  EXPECT_TRUE(ProfileState_AllDone(s, 1700));
  EXPECT_EQ(s.allDoneAt, 1500u);   // the wait counts from the first time
  begin(false, true);
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
  EXPECT_EQ(ProfileState_TimeUp(s, 0, profiles, 1000), PROFILE_NOTHING);   // already done
}

TEST(ProfileStats, ArcadeAndNonstopLines) {
  ProfileStats st{};
  st.songs = 12;
  st.steps = 2000;
  st.perfects = 1234;
  st.bestScore = 98765432;
  st.bestCombo = 321;
  st.courseBestPercent = 87.26;
  st.courseBestStage = 7;
  st.courseBestScore = 1234567;
  st.courseLongestMs = 754321;
  st.courseBestCombo = 88;
  ProfileStatLine l[kProfileStatLines];
  ASSERT_EQ(ProfileStats_Lines(st, 0, l), 5);
  const char* arcade[5][2] = {{"Total Songs", "12"}, {"Total Steps", "2000"}, {"Perfect: 61.70%", ""},
                              {"Highest Score", " 98765432"}, {"Highest Combo", "321"}};
  for (int i = 0; i < 5; i++) {
    EXPECT_STREQ(l[i].label, arcade[i][0]);
    EXPECT_STREQ(l[i].value, arcade[i][1]);
  }
  ASSERT_EQ(ProfileStats_Lines(st, 1, l), 7);
  const char* nonstop[7][2] = {{"Total Steps", "2000"},       {"Perfect: 61.70%", ""},
                               {"Highest Percentage", "87.3%"}, {"Highest Stage", "7"},
                               {"Highest Score", "  1234567"},  {"Longest Time", "12:34:321"},
                               {"Highest Combo", "88"}};
  for (int i = 0; i < 7; i++) {
    EXPECT_STREQ(l[i].label, nonstop[i][0]);
    EXPECT_STREQ(l[i].value, nonstop[i][1]);
  }
  st.steps = 0;
  st.courseLongestMs = 3600000 + 2 * 60000 + 3999;
  ProfileStats_Lines(st, 1, l);
  EXPECT_STREQ(l[1].label, "Perfect: n/a");
  EXPECT_STREQ(l[5].label, "Longest Time (hours)");
  EXPECT_STREQ(l[5].value, "1:02:03");
  EXPECT_EQ(Profile_StyleGroup(8), 1);
  EXPECT_EQ(Profile_StyleGroup(6), 2);
  EXPECT_EQ(Profile_StyleGroup(4), 0);
}
}  // namespace
