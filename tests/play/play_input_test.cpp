#include "play/play_input.h"
#include "library/settings.h"
#include "media/input/input.h"
#include "media/input/input_edges.h"
#include "media/input_script.h"
#include <gtest/gtest.h>

namespace {
struct PlayInputTest : ::testing::Test {
  int left = 0;
  void SetUp() override {
    Bindings_Defaults();
    InputScript_Clear();
    InputEdges_Clear();
    left = Binding(0, CTL_LEFT).key1;
    PlayInput_Reset();
  }
  void TearDown() override {
    InputScript_Clear();
    InputEdges_Clear();
    Bindings_Defaults();
  }
};
}  // namespace

TEST_F(PlayInputTest, EachPressAtItsOwnTimeEvenInsideOneFrame) {
  ASSERT_GT(left, 0);
  InputEdges_Push(100.25, kEdgeKeyboard, left, true);
  InputEdges_Push(104, kEdgeKeyboard, left, false);
  InputEdges_Push(108.5, kEdgeKeyboard, left, true);
  PanelState s;
  PlayInput_Read(0, 4, 110, s);
  ASSERT_EQ(s.pressCount, 2);
  EXPECT_EQ(s.presses[0].column, COL_LEFT);
  EXPECT_EQ(s.presses[0].atMs, 100.25);
  EXPECT_EQ(s.presses[1].atMs, 108.5);
  EXPECT_TRUE(s.held[COL_LEFT]);
  PlayInput_Read(0, 4, 126, s);   // held on: no new press
  EXPECT_EQ(s.pressCount, 0);
  EXPECT_TRUE(s.held[COL_LEFT]);
  InputEdges_Push(130, kEdgeKeyboard, left, false);
  PlayInput_Read(0, 4, 142, s);
  EXPECT_FALSE(s.held[COL_LEFT]);
}

TEST_F(PlayInputTest, APressAndReleaseInsideOneFrameStillCounts) {
  InputEdges_Push(50, kEdgeKeyboard, left, true);
  InputEdges_Push(51, kEdgeKeyboard, left, false);
  PanelState s;
  PlayInput_Read(0, 4, 60, s);
  ASSERT_EQ(s.pressCount, 1);
  EXPECT_EQ(s.presses[0].atMs, 50);
  EXPECT_FALSE(s.held[COL_LEFT]);
}

TEST_F(PlayInputTest, KeyAndButtonOfOneColumnMakeOnePressAndPressesComeOldestFirst) {
  InputBinding& down = Binding(0, CTL_DOWN);
  down.joystick = 1;
  down.button = 5;
  InputEdges_Push(20, 1, 5, true);
  InputEdges_Push(22, kEdgeKeyboard, down.key1, true);   // the second source: no press
  InputEdges_Push(10, kEdgeKeyboard, left, true);        // seen later, happened earlier
  InputEdges_Push(25, 1, 5, false);
  PanelState s;
  PlayInput_Read(0, 4, 30, s);
  ASSERT_EQ(s.pressCount, 2);
  EXPECT_EQ(s.presses[0].column, COL_LEFT);
  EXPECT_EQ(s.presses[1].column, COL_DOWN);
  EXPECT_EQ(s.presses[1].atMs, 20);
  EXPECT_TRUE(s.held[COL_DOWN]);   // the key still holds it
}

TEST_F(PlayInputTest, EachPlayerReadsTheEdgesOnce) {
  int p2left = Binding(1, CTL_LEFT).key1;
  InputEdges_Push(5, kEdgeKeyboard, left, true);
  InputEdges_Push(6, kEdgeKeyboard, p2left, true);
  PanelState a, b;
  PlayInput_Read(0, 4, 10, a);
  PlayInput_Read(1, 4, 10, b);
  EXPECT_EQ(a.pressCount, 1);
  ASSERT_EQ(b.pressCount, 1);
  EXPECT_EQ(b.presses[0].atMs, 6);
}

TEST_F(PlayInputTest, HeldBeforeThePlayIsNoPress) {
  InputEdges_Push(1, kEdgeKeyboard, left, true);
  PlayInput_Reset();
  PanelState s;
  PlayInput_Read(0, 4, 10, s);
  EXPECT_EQ(s.pressCount, 0);
  EXPECT_TRUE(s.held[COL_LEFT]);
}

TEST_F(PlayInputTest, ScriptedPressesKeepTheirEventTimes) {
  InputScript_Set({ScriptEvent{40, 0, 1, 0, (uint8_t)left}, ScriptEvent{70, 0, 0, 0, (uint8_t)left}});
  PanelState s;
  PlayInput_Read(0, 4, 30, s);
  EXPECT_EQ(s.pressCount, 0);
  PlayInput_Read(0, 4, 46, s);
  ASSERT_EQ(s.pressCount, 1);
  EXPECT_EQ(s.presses[0].atMs, 40);
  PlayInput_Read(0, 4, 62, s);
  EXPECT_EQ(s.pressCount, 0);
  EXPECT_TRUE(s.held[COL_LEFT]);
  PlayInput_Read(0, 4, 78, s);
  EXPECT_FALSE(s.held[COL_LEFT]);
}
