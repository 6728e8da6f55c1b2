// The chart loader on small step data whose records can be checked one by one.
#include <gtest/gtest.h>
#include <cmath>
#include "chart/arrow_images.h"
#include "chart/random.h"
#include "chart/timing.h"
#include "chart_test_util.h"
#include "library/settings.h"
#include "play/player.h"

namespace {

class LoadChart : public ::testing::Test {
 protected:
  TwoPlayers two;
  Player& p1 = two.p[0];
  Player& p2 = two.p[1];
  void SetUp() override {
    Settings_Defaults(g_settings);
    ArrowImages_Reset();
    SetUpPlayer(p1, 1, "SINGLE", 4, 0, 3);
  }
  // SINGLE BASIC level 3 of player 1
  int Single(const std::string& steps) {
    return LoadText(ChartWith("SINGLE:BASIC:3:", steps), two.p, 1);
  }
};

TEST_F(LoadChart, RestsBeforeAnArrow) {
  ASSERT_EQ(Single("0008"), 1);
  ASSERT_EQ(p1.arrowCount, 1);
  const Arrow& a = p1.arrows[0];
  EXPECT_DOUBLE_EQ(a.startPos, 6.0);
  EXPECT_DOUBLE_EQ(a.endPos, 6.0);
  EXPECT_EQ(a.column, COL_UP);
  EXPECT_EQ(a.x, p1.fieldX + 140);
  EXPECT_EQ(a.y, 780);
  EXPECT_DOUBLE_EQ(a.tapeY, 64 * 6.0 / 4 + 55);
  EXPECT_EQ(a.visible, 1);
  EXPECT_EQ(a.kind, ARROW_TAP);
  EXPECT_EQ(a.status, 5);
  EXPECT_EQ(a.chordNext, -1);
  EXPECT_EQ(a.freezeLink, -1);
  EXPECT_EQ(a.stepNumber, 1);
  EXPECT_EQ(a.beatPhase, 7);   // 6.0 is a half beat
  EXPECT_EQ(p1.maxDancePoints, 2);
  EXPECT_EQ(p1.stepTriangle, 1);
  EXPECT_EQ(p1.pixelsPerBeat, 64);
  EXPECT_DOUBLE_EQ(p1.pixelsPerMs, 64 * 120 / 60000.0);
  EXPECT_EQ(p1.comboMode, 2);   // the rules' combo type + 1
  Chart_Free(p1);
  ChartRules rules = DefaultRules();
  rules.comboType = 0;
  ASSERT_EQ(LoadText(ChartWith("SINGLE:BASIC:3:", "4"), two.p, 1, rules), 1);
  EXPECT_EQ(p1.comboMode, 1);
}

TEST_F(LoadChart, RowStepsAndChordGroups) {
  ASSERT_EQ(Single("(4444)"), 1);
  ASSERT_EQ(p1.arrowCount, 4);
  const int phases[4] = {15, 3, 7, 11};
  for (int i = 0; i < 4; i++) {
    EXPECT_DOUBLE_EQ(p1.arrows[i].startPos, i);
    EXPECT_EQ(p1.arrows[i].column, COL_LEFT);
    EXPECT_EQ(p1.arrows[i].beatPhase, phases[i]);
    EXPECT_EQ(p1.arrows[i].stepNumber, i + 1);
  }
  EXPECT_EQ(p1.stepTriangle, 10);
  Chart_Free(p1);

  ASSERT_EQ(Single("<48>8"), 1);
  ASSERT_EQ(p1.arrowCount, 3);
  EXPECT_DOUBLE_EQ(p1.arrows[0].startPos, 0.0);
  EXPECT_EQ(p1.arrows[0].column, COL_LEFT);
  EXPECT_DOUBLE_EQ(p1.arrows[1].startPos, 0.0);
  EXPECT_EQ(p1.arrows[1].column, COL_UP);
  EXPECT_DOUBLE_EQ(p1.arrows[2].startPos, 2.0);
  EXPECT_EQ(p1.arrows[0].chordNext, 1);
  EXPECT_EQ(p1.arrows[1].chordNext, 0);
  EXPECT_EQ(p1.arrows[2].chordNext, -1);
  EXPECT_EQ(p1.maxDancePoints, 4);
  EXPECT_EQ(p1.chordExtra, 1);
}

TEST_F(LoadChart, OtherRowSteps) {
  // 24ths, 64ths and 192nds, each closed by a different bracket
  ASSERT_EQ(Single("[888}{22'`44)6"), 1);
  ASSERT_EQ(p1.arrowCount, 8);
  const double at[8] = {0, 2.0 / 3, 4.0 / 3, 2.0, 2.25, 2.5, 2.5 + 1.0 / 12, 2.5 + 2.0 / 12};
  for (int i = 0; i < 8; i++) EXPECT_NEAR(p1.arrows[i].startPos, at[i], 1e-12) << i;
  // colour animation: 2/3 is class 2 at phase round(0.6767*4)-1 = 2
  EXPECT_EQ(p1.arrows[1].beatPhase, 2);
  EXPECT_EQ(p1.arrows[2].beatPhase, 4);
  EXPECT_EQ(p1.arrows[3].beatPhase, 7);
}

TEST_F(LoadChart, FreezeWithExactRecords) {
  ASSERT_EQ(Single("8!8008"), 1);
  ASSERT_EQ(p1.arrowCount, 2);
  const Arrow& f = p1.arrows[0];
  const Arrow& h = p1.arrows[1];
  EXPECT_EQ(f.kind, ARROW_FREEZE);
  EXPECT_DOUBLE_EQ(f.startPos, 0.0);
  EXPECT_DOUBLE_EQ(f.endPos, 6.0);
  EXPECT_EQ(f.freezeLink, -1);
  EXPECT_EQ(f.column, COL_UP);
  EXPECT_DOUBLE_EQ(f.tapeY, 55.0);
  EXPECT_EQ(h.kind, ARROW_TAP);
  EXPECT_EQ(h.freezeLink, 0);
  EXPECT_DOUBLE_EQ(h.startPos, 0.0);
  EXPECT_DOUBLE_EQ(h.endPos, 0.0);
  EXPECT_EQ(f.stepNumber, 1);
  EXPECT_EQ(h.stepNumber, 2);
  EXPECT_EQ(p1.maxDancePoints, 8);
  EXPECT_EQ(p1.freezeCount, 1);
  EXPECT_EQ(p1.stepTriangle, 3);
}

TEST_F(LoadChart, ChordRowA) {
  ASSERT_EQ(Single("A"), 1);
  ASSERT_EQ(p1.arrowCount, 2);
  EXPECT_EQ(p1.arrows[0].column, COL_DOWN);
  EXPECT_EQ(p1.arrows[1].column, COL_UP);
  EXPECT_EQ(p1.arrows[0].chordNext, 1);
  EXPECT_EQ(p1.arrows[1].chordNext, 0);
  EXPECT_EQ(p1.maxDancePoints, 2);
  EXPECT_EQ(p1.chordExtra, 1);
}

TEST_F(LoadChart, ChordRingOfThree) {
  ASSERT_EQ(Single("<428>"), 1);
  ASSERT_EQ(p1.arrowCount, 3);
  // each gathered record points to the one gathered before; the first to the start
  EXPECT_EQ(p1.arrows[0].chordNext, 2);
  EXPECT_EQ(p1.arrows[1].chordNext, 0);
  EXPECT_EQ(p1.arrows[2].chordNext, 1);
  EXPECT_EQ(p1.chordExtra, 2);
  EXPECT_EQ(p1.maxDancePoints, 2);
}

TEST_F(LoadChart, LittleKeepsOnlyBeats) {
  p1.options.arrowFilter = FILTER_LITTLE;
  ASSERT_EQ(Single("(2222)"), 1);
  ASSERT_EQ(p1.arrowCount, 4);
  EXPECT_EQ(p1.arrows[0].kind, ARROW_TAP);
  for (int i = 1; i < 4; i++) {
    EXPECT_EQ(p1.arrows[i].kind, ARROW_IGNORED) << i;
    EXPECT_EQ(p1.arrows[i].stepNumber, 0);
  }
  EXPECT_EQ(p1.maxDancePoints, 2);
  EXPECT_EQ(p1.stepTriangle, 1);
}

TEST_F(LoadChart, LittleDropsAFreezeOnAnOffBeatHead) {
  p1.options.arrowFilter = FILTER_LITTLE;
  ASSERT_EQ(Single("(08!800008)"), 1);   // head at 1.0, not on the beat
  ASSERT_EQ(p1.arrowCount, 2);
  EXPECT_EQ(p1.arrows[0].kind, ARROW_IGNORED);
  EXPECT_EQ(p1.arrows[1].kind, ARROW_IGNORED);
  EXPECT_EQ(p1.maxDancePoints, 0);
  EXPECT_EQ(p1.freezeCount, 0);
}

TEST_F(LoadChart, FlatGivesOneColour) {
  p1.options.arrowFilter = FILTER_FLAT;
  ASSERT_EQ(Single("(4444)"), 1);
  for (int i = 0; i < 4; i++) {
    EXPECT_EQ(p1.arrows[i].beatPhase, 0);
    EXPECT_EQ(p1.arrows[i].kind, ARROW_TAP);
  }
}

TEST_F(LoadChart, Turns) {
  struct Case {
    int turn;
    int to[4];   // where Left, Down, Up, Right land
  } cases[] = {
      {0, {COL_LEFT, COL_DOWN, COL_UP, COL_RIGHT}},
      {TURN_LEFT, {COL_DOWN, COL_RIGHT, COL_LEFT, COL_UP}},
      {TURN_MIRROR, {COL_RIGHT, COL_UP, COL_DOWN, COL_LEFT}},
      {TURN_RIGHT, {COL_UP, COL_LEFT, COL_RIGHT, COL_DOWN}},
  };
  for (const Case& c : cases) {
    p1.options.turn = (uint8_t)c.turn;
    ASSERT_EQ(Single("4286"), 1);
    ASSERT_EQ(p1.arrowCount, 4);
    for (int i = 0; i < 4; i++) {
      EXPECT_EQ(p1.arrows[i].column, c.to[i]) << "turn " << c.turn << " arrow " << i;
      EXPECT_EQ(p1.arrows[i].x, p1.fieldX + 70 * c.to[i]);
    }
    Chart_Free(p1);
  }
}

TEST_F(LoadChart, MirrorOfRowOne) {
  p1.options.turn = TURN_MIRROR;
  ASSERT_EQ(Single("1"), 1);
  ASSERT_EQ(p1.arrowCount, 2);
  // Left Down become Right and Up, created in column order
  EXPECT_EQ(p1.arrows[0].column, COL_UP);
  EXPECT_EQ(p1.arrows[1].column, COL_RIGHT);
}

TEST_F(LoadChart, ShuffleUsesTheDrawnPermutation) {
  p1.options.turn = TURN_SHUFFLE;
  // draw the permutation the loader will draw from the same seed
  Random_Seed(1234);
  int perm[4], n = 0;
  bool seen[4] = {};
  while (n < 4) {
    int v = Random_Below(4);
    if (!seen[v]) seen[v] = true, perm[n++] = v;
  }
  Random_Seed(1234);
  ASSERT_EQ(Single("4286"), 1);
  ASSERT_EQ(p1.arrowCount, 4);
  for (int i = 0; i < 4; i++) EXPECT_EQ(p1.arrows[i].column, perm[i]);
  // the same seed gives the same chart
  Chart_Free(p1);
  Random_Seed(1234);
  ASSERT_EQ(Single("4286"), 1);
  for (int i = 0; i < 4; i++) EXPECT_EQ(p1.arrows[i].column, perm[i]);
}

TEST_F(LoadChart, ShuffleMovesTheFreezeMarkerWithItsArrow) {
  p1.options.turn = TURN_SHUFFLE;
  for (uint32_t seed = 1; seed < 40; seed++) {
    Random_Seed(seed);
    ASSERT_EQ(Single("4!4004"), 1);
    ASSERT_EQ(p1.arrowCount, 2) << seed;
    EXPECT_EQ(p1.arrows[0].kind, ARROW_FREEZE);
    EXPECT_EQ(p1.arrows[0].column, p1.arrows[1].column);
    Chart_Free(p1);
  }
}

TEST_F(LoadChart, ReverseMirrorsTapeAndScreenY) {
  p1.options.reverse = 1;
  p1.options.speed = 2;   // 128 pixels per beat
  ASSERT_EQ(Single("08"), 1);
  ASSERT_EQ(p1.arrowCount, 1);
  EXPECT_DOUBLE_EQ(p1.arrows[0].tapeY, 413 - (128 * 2.0 / 4 + 55));
  EXPECT_EQ(p1.arrows[0].y, -367);
  EXPECT_EQ(p1.pixelsPerBeat, 128);
}

TEST_F(LoadChart, UnclosedFreezeIsNeitherDrawnNorCounted) {
  ASSERT_EQ(Single("8!84"), 1);
  ASSERT_EQ(p1.arrowCount, 3);
  EXPECT_EQ(p1.arrows[0].kind, ARROW_TAP);     // the head stays a tap
  EXPECT_EQ(p1.arrows[0].freezeLink, -1);
  EXPECT_EQ(p1.arrows[1].kind, ARROW_IGNORED);  // the pending freeze
  EXPECT_EQ(p1.arrows[1].freezeLink, -1);
  EXPECT_EQ(p1.arrows[1].stepNumber, 0);
  EXPECT_EQ(p1.freezeCount, 0);
  EXPECT_EQ(p1.maxDancePoints, 4);
}

TEST_F(LoadChart, ManyUnclosedFreezesAndSpareMarkers) {
  // freezes opened and never closed, markers repeated on one head, markers in
  // columns without an arrow or with a freeze open, a marker at the very end
  ASSERT_EQ(Single("B!B!B!B 2!9!9 1!F 0!8 !"), 1);
  // L R at 0 with two freezes; D at 2; L D at 4: the L closes Left's freeze, the
  // D is new and opens one
  ASSERT_EQ(p1.arrowCount, 7);
  EXPECT_EQ(p1.freezeCount, 1);
  int pending = 0;
  for (int i = 0; i < p1.arrowCount; i++) {
    const Arrow& a = p1.arrows[i];
    if (a.kind == ARROW_IGNORED) {
      pending++;
      EXPECT_EQ(a.freezeLink, -1);
    }
    if (a.freezeLink >= 0) {
      EXPECT_EQ(p1.arrows[a.freezeLink].kind, ARROW_FREEZE);
    }
  }
  EXPECT_EQ(pending, 2);
  EXPECT_EQ(p1.maxDancePoints, 2 + 2 + 2 + 6);
}

TEST_F(LoadChart, SecondMarkerOnOneHeadIsIgnored) {
  // 8!8 opens; the next 8 closes it; its marker finds no new head
  ASSERT_EQ(Single("8!88!8008"), 1);
  ASSERT_EQ(p1.arrowCount, 3);
  EXPECT_EQ(p1.freezeCount, 1);
  EXPECT_EQ(p1.arrows[0].kind, ARROW_FREEZE);
  EXPECT_DOUBLE_EQ(p1.arrows[0].endPos, 2.0);
  EXPECT_EQ(p1.arrows[2].kind, ARROW_TAP);
  EXPECT_DOUBLE_EQ(p1.arrows[2].startPos, 8.0);
}

TEST_F(LoadChart, MarkerOnAnEarlierArrowOfTheColumn) {
  // Up at 0, Down at 2, then the marker names Up: the freeze starts at 0
  ASSERT_EQ(Single("82!808"), 1);
  ASSERT_EQ(p1.arrowCount, 3);
  EXPECT_EQ(p1.arrows[0].kind, ARROW_FREEZE);
  EXPECT_DOUBLE_EQ(p1.arrows[0].startPos, 0.0);
  EXPECT_DOUBLE_EQ(p1.arrows[0].endPos, 6.0);
  EXPECT_EQ(p1.arrows[1].column, COL_DOWN);
  EXPECT_EQ(p1.arrows[2].column, COL_UP);
  EXPECT_EQ(p1.arrows[2].freezeLink, 0);
  EXPECT_DOUBLE_EQ(p1.arrows[2].startPos, 0.0);
  EXPECT_EQ(p1.arrows[1].chordNext, -1);
  EXPECT_EQ(p1.arrows[2].chordNext, -1);
}

TEST_F(LoadChart, NoFreezeKeepsTheHeadAsATap) {
  p1.options.noFreeze = 1;
  ASSERT_EQ(Single("8!8008"), 1);
  ASSERT_EQ(p1.arrowCount, 2);
  EXPECT_EQ(p1.arrows[0].kind, ARROW_TAP);
  EXPECT_EQ(p1.arrows[0].freezeLink, -1);
  EXPECT_EQ(p1.arrows[1].kind, ARROW_IGNORED);
  EXPECT_EQ(p1.arrows[1].freezeLink, -1);
  EXPECT_EQ(p1.maxDancePoints, 2);
  EXPECT_EQ(p1.freezeCount, 0);
}

TEST_F(LoadChart, ChordWithAFreezeHead) {
  ASSERT_EQ(Single("A!8 2 8"), 1);
  // Down and Up at 0 (Up heads a freeze to 4), Down at 2
  ASSERT_EQ(p1.arrowCount, 4);
  int head = -1, freeze = -1;
  for (int i = 0; i < 4; i++) {
    if (p1.arrows[i].kind == ARROW_FREEZE) freeze = i;
    if (p1.arrows[i].freezeLink >= 0) head = i;
  }
  ASSERT_GE(head, 0);
  ASSERT_GE(freeze, 0);
  EXPECT_EQ(p1.arrows[head].freezeLink, freeze);
  EXPECT_DOUBLE_EQ(p1.arrows[freeze].endPos, 4.0);
  int inChord = 0;
  for (int i = 0; i < 4; i++)
    if (p1.arrows[i].freezeChord) {
      inChord++;
      EXPECT_EQ(p1.arrows[i].kind, ARROW_TAP);
    }
  EXPECT_EQ(inChord, 2);
  EXPECT_EQ(p1.maxDancePoints, 2 + 6 + 2);
  EXPECT_EQ(p1.chordExtra, 1);
}

TEST_F(LoadChart, SoloColumns) {
  SetUpPlayer(p1, 1, "SOLO", 6, 1, 4);
  ASSERT_EQ(LoadText(ChartWith("SOLO:ANOTHER:4:", "CD(4286)"), two.p, 1), 1);
  ASSERT_EQ(p1.arrowCount, 6);
  EXPECT_EQ(p1.fieldX, 115);
  EXPECT_EQ(p1.arrows[0].column, COL_UPLEFT);
  EXPECT_EQ(p1.arrows[0].x, 115 + 70);
  EXPECT_EQ(p1.arrows[1].column, COL_UPRIGHT);
  EXPECT_EQ(p1.arrows[1].x, 115 + 280);
  const int x[4] = {0, 140, 210, 350};
  for (int i = 0; i < 4; i++) EXPECT_EQ(p1.arrows[2 + i].x, 115 + x[i]);
}

TEST_F(LoadChart, SoloTurnLeavesTheUpperCorners) {
  SetUpPlayer(p1, 1, "SOLO", 6, 0, 2);
  p1.options.turn = TURN_MIRROR;
  ASSERT_EQ(LoadText(ChartWith("SOLO:BASIC:2:", "E"), two.p, 1), 1);   // Up-Left and Left
  ASSERT_EQ(p1.arrowCount, 2);
  EXPECT_EQ(p1.arrows[0].column, COL_RIGHT);
  EXPECT_EQ(p1.arrows[1].column, COL_UPLEFT);
}

TEST_F(LoadChart, UpperCornersNeedSixPanels) {
  ASSERT_EQ(Single("CE8"), 1);
  ASSERT_EQ(p1.arrowCount, 2);
  EXPECT_EQ(p1.arrows[0].column, COL_LEFT);
  EXPECT_EQ(p1.arrows[1].column, COL_UP);
}

TEST_F(LoadChart, DoublePadsAndMerge) {
  SetUpPlayer(p1, 1, "DOUBLE", 8, 2, 9);
  ASSERT_EQ(LoadText(ChartWith("DOUBLE:MANIAC:9:", "(4444):(0808)"), two.p, 1), 1);
  ASSERT_EQ(p1.arrowCount, 6);
  // by position, the left pad first where both have an arrow
  const double pos[6] = {0, 1, 1, 2, 3, 3};
  const int col[6] = {0, 0, 6 + 2, 0, 0, 6 + 2};
  for (int i = 0; i < 6; i++) {
    EXPECT_DOUBLE_EQ(p1.arrows[i].startPos, pos[i]) << i;
    EXPECT_EQ(p1.arrows[i].column, col[i]) << i;
  }
  EXPECT_EQ(p1.arrows[2].x, 46 + 280 + 140);
  // the pads' arrows at one position form chords
  EXPECT_EQ(p1.arrows[1].chordNext, 2);
  EXPECT_EQ(p1.arrows[2].chordNext, 1);
  EXPECT_EQ(p1.chordExtra, 2);
}

TEST_F(LoadChart, DoubleMirrorSwapsThePads) {
  SetUpPlayer(p1, 1, "DOUBLE", 8, 0, 5);
  p1.options.turn = TURN_MIRROR;
  ASSERT_EQ(LoadText(ChartWith("DOUBLE:BASIC:5:", "8:04"), two.p, 1), 1);
  ASSERT_EQ(p1.arrowCount, 2);
  // the first half lands on the right pad, mirrored: Up becomes Down
  EXPECT_EQ(p1.arrows[0].column, 6 + COL_DOWN);
  EXPECT_EQ(p1.arrows[0].x, 46 + 280 + 70);
  EXPECT_EQ(p1.arrows[1].column, COL_RIGHT);
  EXPECT_EQ(p1.arrows[1].x, 46 + 210);
}

TEST_F(LoadChart, DoubleMergeKeepsFreezeLinks) {
  SetUpPlayer(p1, 1, "DOUBLE", 8, 0, 5);
  ASSERT_EQ(LoadText(ChartWith("DOUBLE:BASIC:5:", "0008!8008:(2222)6"), two.p, 1), 1);
  ASSERT_EQ(p1.arrowCount, 7);
  int heads = 0;
  for (int i = 0; i < p1.arrowCount; i++) {
    const Arrow& a = p1.arrows[i];
    if (i > 0) {
      EXPECT_GE(a.startPos, p1.arrows[i - 1].startPos);
    }
    if (a.freezeLink >= 0) {
      heads++;
      const Arrow& f = p1.arrows[a.freezeLink];
      EXPECT_EQ(f.kind, ARROW_FREEZE);
      EXPECT_EQ(f.column, a.column);
      EXPECT_DOUBLE_EQ(f.startPos, 6.0);
      EXPECT_DOUBLE_EQ(f.endPos, 12.0);
    }
  }
  EXPECT_EQ(heads, 1);
  EXPECT_EQ(p1.freezeCount, 1);
}

TEST_F(LoadChart, DoubleFreezesStayOnTheirPad) {
  SetUpPlayer(p1, 1, "DOUBLE", 8, 0, 5);
  // the left pad's freeze is never closed; the right pad's Up must not close it
  ASSERT_EQ(LoadText(ChartWith("DOUBLE:BASIC:5:", "8!8:008"), two.p, 1), 1);
  ASSERT_EQ(p1.arrowCount, 3);
  EXPECT_EQ(p1.freezeCount, 0);
  int rightUp = 0;
  for (int i = 0; i < 3; i++)
    if (p1.arrows[i].column == 6 + COL_UP) {
      rightUp++;
      EXPECT_EQ(p1.arrows[i].kind, ARROW_TAP);
    }
  EXPECT_EQ(rightUp, 1);
}

TEST_F(LoadChart, BattleFillsBothPlayersFromOneCoupleChart) {
  SetUpPlayer(p1, 1, "BATTLE", 4, 1, 6);
  SetUpPlayer(p2, 2, "BATTLE", 4, 1, 6);
  p2.options.reverse = 1;
  p2.options.speed = 1;
  ASSERT_EQ(LoadText(ChartWith("COUPLE:ANOTHER:6:", "8!808:0(22)"), two.p, 2), 1);
  ASSERT_EQ(p1.arrowCount, 2);
  EXPECT_EQ(p1.arrows[0].kind, ARROW_FREEZE);
  EXPECT_EQ(p1.arrows[1].column, COL_UP);
  EXPECT_DOUBLE_EQ(p1.arrows[0].endPos, 4.0);
  ASSERT_EQ(p2.arrowCount, 2);
  EXPECT_DOUBLE_EQ(p2.arrows[0].startPos, 2.0);
  EXPECT_DOUBLE_EQ(p2.arrows[1].startPos, 3.0);
  EXPECT_EQ(p2.arrows[0].x, 351 + 70);
  EXPECT_EQ(p2.pixelsPerBeat, 96);
  EXPECT_DOUBLE_EQ(p2.arrows[0].tapeY, 413 - (96 * 2.0 / 4 + 55));
  EXPECT_EQ(p2.arrows[0].y, -367);
  EXPECT_EQ(p1.arrows[1].y, 780);   // player 1 plays standard scroll
}

TEST_F(LoadChart, BattleCannotFollowAnotherStyle) {
  SetUpPlayer(p2, 2, "BATTLE", 4, 0, 3);
  std::string text = ChartWith("SINGLE:BASIC:3:", "4") + "#COUPLE:BASIC:3:8:8;\n";
  EXPECT_EQ(LoadText(text, two.p, 2), 0);
  EXPECT_EQ(p1.arrows, nullptr);
  EXPECT_EQ(p2.arrows, nullptr);
}

TEST_F(LoadChart, VersusLoadsEachPlayersOwnChart) {
  SetUpPlayer(p2, 2, "SINGLE", 4, 2, 8);
  std::string text = ChartWith("SINGLE:BASIC:3:", "4", "#BPM:150;\n#GAP:-20;\n") + "#SINGLE:MANIAC:8:66;\n";
  ASSERT_EQ(LoadText(text, two.p, 2), 1);
  ASSERT_EQ(p1.arrowCount, 1);
  ASSERT_EQ(p2.arrowCount, 2);
  EXPECT_EQ(p2.arrows[0].column, COL_RIGHT);
  EXPECT_EQ(p2.arrows[0].x, 351 + 210);
  EXPECT_DOUBLE_EQ(g_timing.bpm, 150);
  EXPECT_EQ(g_timing.gapMs, -20);
}

TEST_F(LoadChart, InactivePlayersAndPlayerCount) {
  SetUpPlayer(p2, 2, "SINGLE", 4, 0, 3);
  ASSERT_EQ(Single("4"), 1);   // playerCount 1: player 2 is not looked at
  EXPECT_EQ(p2.arrows, nullptr);
  Chart_Free(p1);
  p1.active = 0;
  ASSERT_EQ(LoadText(ChartWith("SINGLE:BASIC:3:", "44"), two.p, 2), 1);
  EXPECT_EQ(p1.arrows, nullptr);
  EXPECT_EQ(p2.arrowCount, 2);
}

TEST_F(LoadChart, CommentsAnywhere) {
  std::string text =
      "#TITLE:x;// a comment with #BPM:999;\r\n#BPM:120;\r\n#GAP:0;\r\n#SINGLE:BASIC:3:\r\n4 // 8888\r\n2;";
  ASSERT_EQ(LoadText(text, two.p, 1), 1);
  ASSERT_EQ(p1.arrowCount, 2);
  EXPECT_EQ(p1.arrows[1].column, COL_DOWN);
  EXPECT_DOUBLE_EQ(g_timing.bpm, 120);
}

TEST_F(LoadChart, IgnoredCharactersAndLowerCase) {
  ASSERT_EQ(Single(" a b\tc\n8 x 9 ~ 3 "), 1);
  ASSERT_EQ(p1.arrowCount, 5);
  EXPECT_DOUBLE_EQ(p1.arrows[4].startPos, 4.0);
}

TEST_F(LoadChart, ImageReferencesThroughTheInterface) {
  static char cells[3][10][2];
  ArrowImages_Install([](int colourClass, int column, bool freeze) {
    return (const Image*)&cells[colourClass][column][freeze ? 1 : 0];
  }, 3);
  ASSERT_EQ(Single("(48)<8!86>8"), 1);
  // Left at 0 (class 0), Up at 1 (class 2), chord at 2 (class 1) with a freeze head
  const Arrow* a = p1.arrows;
  ASSERT_EQ(p1.arrowCount, 5);
  EXPECT_EQ(a[0].image, (const Image*)&cells[0][COL_LEFT][0]);
  EXPECT_EQ(a[1].image, (const Image*)&cells[2][COL_UP][0]);
  for (int i = 2; i < 4; i++) {
    if (a[i].kind == ARROW_FREEZE) {
      EXPECT_EQ(a[i].image, (const Image*)&cells[1][COL_UP][1]);
    } else {
      EXPECT_EQ(a[i].freezeChord, 1);
    }
  }
  int chordTaps = 0;
  for (int i = 0; i < 5; i++)
    if (a[i].freezeChord) {
      chordTaps++;
      EXPECT_EQ(a[i].image, (const Image*)&cells[1][a[i].column][1]);
    }
  EXPECT_EQ(chordTaps, 2);
  Chart_Free(p1);
  // a skin with one colour set draws every arrow with the class 0 picture
  ArrowImages_Install([](int colourClass, int column, bool freeze) {
    return (const Image*)&cells[colourClass][column][freeze ? 1 : 0];
  }, 1);
  p1.options.arrowFilter = FILTER_LITTLE;
  ASSERT_EQ(Single("(48)"), 1);
  EXPECT_EQ(p1.arrows[1].image, (const Image*)&cells[0][COL_UP][0]);
  EXPECT_EQ(p1.arrows[1].kind, ARROW_IGNORED);   // LITTLE still sees the true class
  ArrowImages_Reset();
}

TEST_F(LoadChart, EmptyStepDataLoadsNoArrows) {
  ASSERT_EQ(Single(""), 1);
  EXPECT_EQ(p1.arrowCount, 0);
  EXPECT_EQ(p1.stepTriangle, 0);
}

TEST_F(LoadChart, StepDataWithoutTerminator) {
  std::string text = "#BPM:120;#GAP:0;#SINGLE:BASIC:3:4444";
  ASSERT_EQ(LoadText(text, two.p, 1), 1);
  EXPECT_EQ(p1.arrowCount, 4);
}

// A chart mixing rests, row steps, a chord group, freezes, chords and a turn,
// checked record by record.
TEST_F(LoadChart, MixedChartRecordByRecord) {
  p1.options.turn = TURN_MIRROR;
  p1.options.speed = 2;   // 128 pixels per beat
  ASSERT_EQ(Single("4!4 0 (2 3) <8 6>!6 [888] 4 6 9"), 1);
  struct Want {
    double start, end;
    int column, kind, link, chordNext, phase;
  } want[] = {
      {0, 10, COL_RIGHT, ARROW_FREEZE, -1, -1, 15},  // Left's freeze (mirrored), in its head's place
      {0, 0, COL_RIGHT, ARROW_TAP, 0, -1, 15},       // its head
      {4, 4, COL_UP, ARROW_TAP, -1, -1, 15},         // Down at 4
      {5, 5, COL_LEFT, ARROW_TAP, -1, 4, 3},         // Down Right at 5, a chord
      {5, 5, COL_UP, ARROW_TAP, -1, 3, 3},
      {6, 6, COL_DOWN, ARROW_TAP, -1, 7, 7},         // the chord group at 6
      {6, 12, COL_LEFT, ARROW_FREEZE, -1, -1, 7},
      {6, 6, COL_LEFT, ARROW_TAP, 6, 5, 7},
      {8, 8, COL_DOWN, ARROW_TAP, -1, -1, 15},       // 24ths
      {8 + 2.0 / 3, 8 + 2.0 / 3, COL_DOWN, ARROW_TAP, -1, -1, 2},
      {8 + 4.0 / 3, 8 + 4.0 / 3, COL_DOWN, ARROW_TAP, -1, -1, 4},
      {14, 14, COL_LEFT, ARROW_TAP, -1, 12, 7},      // Up Right at 14 (after the two closing arrows)
      {14, 14, COL_DOWN, ARROW_TAP, -1, 11, 7},
  };
  ASSERT_EQ(p1.arrowCount, 13);
  for (int i = 0; i < 13; i++) {
    const Arrow& a = p1.arrows[i];
    const Want& w = want[i];
    SCOPED_TRACE(i);
    EXPECT_NEAR(a.startPos, w.start, 1e-12);
    EXPECT_NEAR(a.endPos, w.end, 1e-12);
    EXPECT_EQ(a.column, w.column);
    EXPECT_EQ(a.x, 15 + 70 * w.column);
    EXPECT_EQ(a.kind, w.kind);
    EXPECT_EQ(a.freezeLink, w.link);
    EXPECT_EQ(a.chordNext, w.chordNext);
    EXPECT_EQ(a.beatPhase, w.phase);
    EXPECT_NEAR(a.tapeY, 128 * w.start / 4 + 55, 1e-9);
    EXPECT_EQ(a.stepNumber, i + 1);
    EXPECT_EQ(a.freezeChord, (i == 5 || i == 7) ? 1 : 0);
  }
  EXPECT_EQ(p1.maxDancePoints, 28);
  EXPECT_EQ(p1.freezeCount, 2);
  EXPECT_EQ(p1.chordExtra, 3);
  EXPECT_EQ(p1.stepTriangle, 91);
}

}  // namespace
