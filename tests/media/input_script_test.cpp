#include "media/input_script.h"
#include "platform/log.h"
#include "support/test_support.h"
#include <gtest/gtest.h>

TEST(InputScript, ParsesKeysJoysticksAndComments) {
  std::vector<ScriptEvent> ev;
  EXPECT_TRUE(InputScript_Parse("# start\n500 down 1   # Escape\n  600 up 1\r\n700 joy 2 5 down\n\n800 joy 2 5 up\n", ev));
  ASSERT_EQ(ev.size(), 4u);
  EXPECT_EQ(ev[0].ms, 500u);
  EXPECT_EQ(ev[0].code, 1);
  EXPECT_EQ(ev[0].down, 1);
  EXPECT_EQ(ev[1].down, 0);
  EXPECT_EQ(ev[2].isJoy, 1);
  EXPECT_EQ(ev[2].joystick, 2);
  EXPECT_EQ(ev[2].code, 5);
}

TEST(InputScript, BadLinesAreSkippedNotFatal) {
  std::vector<ScriptEvent> ev;
  EXPECT_FALSE(InputScript_Parse("abc down 1\n100 down 0\n100 down 256\n100 sideways 3\n100 joy 16 1 down\n"
                                 "100 joy 1 32 down\n100 joy 1 1 maybe\n100 down 30 extra\n-5 down 3\n200 down 30\n",
                                 ev));
  ASSERT_EQ(ev.size(), 1u);
  EXPECT_EQ(ev[0].code, 30);
}

TEST(InputScript, StateFollowsTimeOrder) {
  std::vector<ScriptEvent> ev;
  InputScript_Parse("300 up 30\n100 down 30\n150 joy 1 3 down\n400 joy 1 3 up\n", ev);
  InputScript_Set(ev);
  uint8_t keys[256];
  uint32_t joy[kScriptJoysticks];
  InputScript_State(50, keys, joy);
  EXPECT_EQ(keys[30], 0);
  InputScript_State(100, keys, joy);
  EXPECT_EQ(keys[30], 0x80);
  EXPECT_EQ(joy[1], 0u);
  InputScript_State(299, keys, joy);
  EXPECT_EQ(keys[30], 0x80);
  EXPECT_EQ(joy[1], 1u << 3);
  InputScript_State(300, keys, joy);
  EXPECT_EQ(keys[30], 0);
  InputScript_State(1000, keys, joy);
  EXPECT_EQ(joy[1], 0u);
  EXPECT_EQ(InputScript_JoystickMask(), 1u << 1);
  EXPECT_EQ(InputScript_LastMs(), 400u);
  InputScript_Clear();
  EXPECT_FALSE(InputScript_Active());
}

TEST(InputScript, MissingFileFails) {
  TempDir dir;
  EXPECT_FALSE(InputScript_Load("nope.txt"));
  WriteFile("s.txt", "10 down 57\n");
  EXPECT_TRUE(InputScript_Load("s.txt"));
  EXPECT_TRUE(InputScript_Active());
  InputScript_Clear();
}

TEST(InputScript, ExactPressTimes) {
  std::vector<ScriptEvent> ev;
  InputScript_Parse("100 down 30\n150 down 30\n300 up 30\n400 joy 2 7 down\n", ev);
  InputScript_Set(ev);
  uint32_t at = 0;
  EXPECT_FALSE(InputScript_KeyDownSince(30, 99, &at));
  ASSERT_TRUE(InputScript_KeyDownSince(30, 120, &at));
  EXPECT_EQ(at, 100u);
  ASSERT_TRUE(InputScript_KeyDownSince(30, 299, &at));
  EXPECT_EQ(at, 100u);  // a second "down" while held is no new press
  EXPECT_FALSE(InputScript_KeyDownSince(30, 300, &at));
  ASSERT_TRUE(InputScript_ButtonDownSince(2, 7, 500, &at));
  EXPECT_EQ(at, 400u);
  EXPECT_FALSE(InputScript_ButtonDownSince(1, 7, 500, &at));
  InputScript_Clear();
}

TEST(InputScript, MusicTimedEventsBecomeProgramEventsWhenDue) {
  std::vector<ScriptEvent> ev;
  std::vector<MusicScriptEvent> music;
  EXPECT_TRUE(InputScript_Parse("play 4000 down 31\nplay 4040 up 31\n100 down 57\nplay -250 joy 1 2 down\n"
                                "play x down 3\n", ev, &music) == false);  // "play x" is not understood
  ASSERT_EQ(ev.size(), 1u);
  ASSERT_EQ(music.size(), 3u);
  EXPECT_EQ(music[0].musicMs, -250);  // sorted by music time
  EXPECT_EQ(music[1].event.code, 31);
  EXPECT_TRUE(music[1].event.down);
  InputScript_Set(ev, music);
  EXPECT_EQ(InputScript_PendingMusic(), 3);

  // at music time -1000 (program 10000), 100 ms ahead: nothing is due yet
  EXPECT_EQ(InputScript_ResolveMusic(-1000, 10000, 1.0, 100), 0);
  // at music time -300 the joystick press is 50 ms away
  EXPECT_EQ(InputScript_ResolveMusic(-300, 10700, 1.0, 100), 1);
  uint32_t at;
  ASSERT_TRUE(InputScript_ButtonDownSince(1, 2, 10750, &at));
  EXPECT_EQ(at, 10750u);
  // at 1.2 x the 40 ms between down and up take 33 ms of program time
  EXPECT_EQ(InputScript_ResolveMusic(3970, 20000, 1.2, 100), 2);
  EXPECT_FALSE(InputScript_KeyDownSince(31, 20024, &at));
  ASSERT_TRUE(InputScript_KeyDownSince(31, 20025, &at));
  EXPECT_EQ(at, 20025u);
  EXPECT_FALSE(InputScript_KeyDownSince(31, 20058, &at));
  EXPECT_EQ(InputScript_PendingMusic(), 0);
  // program events stay where they were
  ASSERT_TRUE(InputScript_KeyDownSince(57, 30000, &at));
  EXPECT_EQ(at, 100u);
  InputScript_Clear();
  EXPECT_FALSE(InputScript_Active());
}

TEST(InputScript, AnchoredEventsFollowTheLogFromScreenToScreen) {
  std::vector<ScriptEvent> ev;
  std::vector<MusicScriptEvent> music;
  std::vector<AnchoredScript> anchored;
  EXPECT_TRUE(InputScript_Parse("10 down 1\n@ Starting Song Select\n200 down 57\n100 up 28 # before the down\n"
                                "@   SelectSong()...  \n0 down 28\n@ Starting Song Select\n50 up 57\n",
                                ev, &music, &anchored));
  ASSERT_EQ(ev.size(), 1u);   // the line before the first anchor is program time
  ASSERT_EQ(anchored.size(), 3u);
  EXPECT_EQ(anchored[0].text, "Starting Song Select");
  EXPECT_EQ(anchored[1].text, "SelectSong()...");
  ASSERT_EQ(anchored[0].events.size(), 2u);
  EXPECT_EQ(anchored[0].events[0].code, 28);   // sorted by time within the anchor
  InputScript_Set(ev, music, anchored);
  EXPECT_EQ(InputScript_PendingAnchors(), 3);

  // anchors are met in order: the second text does not meet the first anchor
  EXPECT_FALSE(InputScript_LogLine("SelectSong()...\n", 1000));
  EXPECT_TRUE(InputScript_LogLine("Starting Song Select\n", 5000));
  uint32_t at;
  EXPECT_FALSE(InputScript_KeyDownSince(57, 5199, &at));
  ASSERT_TRUE(InputScript_KeyDownSince(57, 5200, &at));
  EXPECT_EQ(at, 5200u);
  // the same text again waits for its own anchor, after the one in between
  EXPECT_FALSE(InputScript_LogLine("Starting Song Select\n", 6000));
  EXPECT_TRUE(InputScript_LogLine("SelectSong()...\n", 7000));
  EXPECT_TRUE(InputScript_KeyDownSince(28, 7000, &at));
  EXPECT_TRUE(InputScript_LogLine("xx Starting Song Select yy", 8000));
  EXPECT_TRUE(InputScript_KeyDownSince(57, 8049, &at));
  EXPECT_FALSE(InputScript_KeyDownSince(57, 8050, &at));
  EXPECT_EQ(InputScript_PendingAnchors(), 0);
  EXPECT_FALSE(InputScript_LogLine("Starting Song Select\n", 9000));   // nothing left to meet

  // music-timed lines after an anchor replace those still waiting when it is met
  ASSERT_TRUE(InputScript_Parse("play 900 down 31\n@ Starting main game\nplay 1500 down 32\nplay 500 down 30\n"
                                "@ Starting main game\nplay 700 down 36\n",
                                ev, &music, &anchored));
  ASSERT_EQ(music.size(), 1u);
  ASSERT_EQ(anchored[0].music.size(), 2u);
  EXPECT_EQ(anchored[0].music[0].musicMs, 500);
  InputScript_Set(ev, music, anchored);
  EXPECT_EQ(InputScript_PendingMusic(), 1);
  ASSERT_TRUE(InputScript_LogLine("Starting main game...\n", 100));
  EXPECT_EQ(InputScript_PendingMusic(), 2);
  EXPECT_EQ(InputScript_ResolveMusic(0, 1000, 1.0, 600), 1);   // 500 is due, 1500 not yet
  EXPECT_TRUE(InputScript_KeyDownSince(30, 1500, &at));
  ASSERT_TRUE(InputScript_LogLine("Starting main game...\n", 3000));   // the second play's own notes
  EXPECT_EQ(InputScript_PendingMusic(), 1);
  EXPECT_EQ(InputScript_ResolveMusic(0, 4000, 1.0, 800), 1);
  EXPECT_TRUE(InputScript_KeyDownSince(36, 4700, &at));
  EXPECT_FALSE(InputScript_KeyDownSince(32, 1000000, &at));   // the first play's 1500 was dropped

  // through the log itself, with the log off
  ASSERT_TRUE(InputScript_Parse("@ a line of the game\n5 down 30\n", ev, &music, &anchored));
  InputScript_Set(ev, music, anchored);
  WriteLogf("%s\n", "here is a line of the game");
  EXPECT_EQ(InputScript_PendingAnchors(), 0);
  // an anchor without text is not understood; a cleared script stops listening
  EXPECT_FALSE(InputScript_Parse("@   \n5 down 30\n", ev, &music, &anchored));
  InputScript_Clear();
  EXPECT_FALSE(InputScript_Active());
  WriteLog("a line of the game\n");
}
