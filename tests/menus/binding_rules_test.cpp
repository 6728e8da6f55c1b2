// The rules of the key and gamepad pages on a bindings table, and the capture
// that walks through the controls one frame at a time.
#include "library/settings.h"
#include "menus/binding_capture.h"
#include "menus/binding_rules.h"
#include <gtest/gtest.h>
#include <cstring>
#include <string>

namespace {
constexpr int kW = 17, kS = 31, kA = 30, kZ = 44, kX = 45, kTab = 15, kUpArrow = 200;

struct Table {
  InputBinding b[kBindingCount];
  Table() { Bindings_DefaultTable(b); }
  InputBinding& at(int player, int c) { return TableBinding(b, player, c); }
  bool operator==(const Table& o) const { return memcmp(b, o.b, sizeof b) == 0; }
};

std::string keyText(const InputBinding& b, int set) {
  char t[32];
  Binding_KeyText(b, set, t, sizeof t);
  return t;
}

std::string message(const BindReport& r, int player, const char* what) {
  char t[128];
  BindReport_Message(r, player, what, t, sizeof t);
  return t;
}

TEST(BindingRules, AKeyOfAnotherControlIsMovedUnlessThatLeavesItBare) {
  Table t;
  // S is Down's only key and Down has no button: refused, nothing changes
  Table before = t;
  BindReport r = Bindings_SetKey(t.b, 0, CTL_UP, 0, kS);
  EXPECT_EQ(r.outcome, BIND_REFUSED);
  EXPECT_EQ(r.refusedFor, CTL_DOWN);
  EXPECT_TRUE(t == before);
  EXPECT_EQ(message(r, 0, "S"), "S stays with Down: it would have no key or button left");

  // with a second key Down can give S away
  ASSERT_EQ(Bindings_SetKey(t.b, 0, CTL_DOWN, 1, kX).outcome, BIND_TAKEN);
  r = Bindings_SetKey(t.b, 0, CTL_UP, 1, kS);
  EXPECT_EQ(r.outcome, BIND_TAKEN);
  EXPECT_EQ(r.movedFrom, CTL_DOWN);
  EXPECT_EQ(t.at(0, CTL_UP).key1, kW);
  EXPECT_EQ(t.at(0, CTL_UP).key2, kS);
  EXPECT_EQ(t.at(0, CTL_DOWN).key1, 0);
  EXPECT_EQ(t.at(0, CTL_DOWN).key2, kX);
  EXPECT_EQ(message(r, 0, "S"), "S moved from Down");

  // a control with a button but no other key may lose its key
  t.at(0, CTL_LEFT).joystick = 0;
  t.at(0, CTL_LEFT).button = 2;
  r = Bindings_SetKey(t.b, 0, CTL_RIGHT, 0, kA);
  EXPECT_EQ(r.outcome, BIND_TAKEN);
  EXPECT_FALSE(Binding_Key(t.at(0, CTL_LEFT), 0) || Binding_Key(t.at(0, CTL_LEFT), 1));
  EXPECT_TRUE(Binding_HasAnything(t.at(0, CTL_LEFT)));
  EXPECT_EQ(keyText(t.at(0, CTL_LEFT), 0), "n/a");
}

TEST(BindingRules, OneKeyNeverSitsInBothSetsOfAControl) {
  Table t;
  BindReport r = Bindings_SetKey(t.b, 0, CTL_UP, 1, kW);   // W is already Up's Set 1 key
  EXPECT_EQ(r.outcome, BIND_TAKEN);
  EXPECT_EQ(r.movedFrom, -1);
  EXPECT_EQ(t.at(0, CTL_UP).key1, 0);
  EXPECT_EQ(t.at(0, CTL_UP).key2, kW);
  EXPECT_EQ(Bindings_SetKey(t.b, 0, CTL_UP, 1, kW).outcome, BIND_UNCHANGED);
}

TEST(BindingRules, TheOtherPlayersKeyStaysAndIsReported) {
  Table t;
  BindReport r = Bindings_SetKey(t.b, 0, CTL_UP, 1, kUpArrow);
  EXPECT_EQ(r.outcome, BIND_TAKEN);
  EXPECT_EQ(r.sharedWith, CTL_UP);
  EXPECT_EQ(t.at(1, CTL_UP).key1, kUpArrow);
  EXPECT_EQ(t.at(0, CTL_UP).key2, kUpArrow);
  EXPECT_EQ(message(r, 0, "(up)"), "(up) is also Player 2's Up");

  // moved within player 2 and shared with player 1 at once: S is player 1's Down
  ASSERT_EQ(Bindings_SetKey(t.b, 1, CTL_START, 1, kS).outcome, BIND_TAKEN);
  r = Bindings_SetKey(t.b, 1, CTL_SELECT, 1, kS);
  EXPECT_EQ(r.movedFrom, CTL_START);
  EXPECT_EQ(r.sharedWith, CTL_DOWN);
  EXPECT_EQ(message(r, 1, "S"), "S moved from Start (it is also Player 1's Down)");
}

// A table read from a file may hold a key twice within a player: the key leaves
// every other control, and a refusal for any of them changes nothing.
TEST(BindingRules, AKeyHeldTwiceLeavesBothOrNeither) {
  Table t;
  t.at(0, CTL_SELECT).key2 = kZ;
  t.at(0, CTL_START).key2 = kZ;
  ASSERT_EQ(Bindings_SetKey(t.b, 0, CTL_UP, 1, kZ).outcome, BIND_TAKEN);
  EXPECT_EQ(t.at(0, CTL_SELECT).key2, 0);
  EXPECT_EQ(t.at(0, CTL_START).key2, 0);

  t.at(0, CTL_LEFT).key2 = kX;
  t.at(0, CTL_RIGHT).key1 = kX;   // Right's only key now
  Table before = t;
  BindReport r = Bindings_SetKey(t.b, 0, CTL_UP, 0, kX);
  EXPECT_EQ(r.outcome, BIND_REFUSED);
  EXPECT_EQ(r.refusedFor, CTL_RIGHT);
  EXPECT_TRUE(t == before);
}

TEST(BindingRules, ButtonsMoveWithinAPlayerAndAreShownByJoystickFromOne) {
  Table t;
  ASSERT_EQ(Bindings_SetButton(t.b, 0, CTL_UP, 1, 3).outcome, BIND_TAKEN);
  char text[32];
  Binding_ButtonText(t.at(0, CTL_UP), text, sizeof text);
  EXPECT_STREQ(text, "Joy 2:3");
  Binding_ButtonText(t.at(0, CTL_DOWN), text, sizeof text);
  EXPECT_STREQ(text, "n/a");

  BindReport r = Bindings_SetButton(t.b, 0, CTL_DOWN, 1, 3);
  EXPECT_EQ(r.outcome, BIND_TAKEN);
  EXPECT_EQ(r.movedFrom, CTL_UP);
  EXPECT_FALSE(Binding_HasButton(t.at(0, CTL_UP)));
  EXPECT_EQ(t.at(0, CTL_DOWN).joystick, 1);
  EXPECT_EQ(t.at(0, CTL_DOWN).button, 3);
  // the same button on the other joystick is another button
  EXPECT_EQ(Bindings_SetButton(t.b, 0, CTL_UP, 0, 3).movedFrom, -1);

  // player 2 may share it; the key-less control keeps its only button
  EXPECT_EQ(Bindings_SetButton(t.b, 1, CTL_DOWN, 1, 3).sharedWith, CTL_DOWN);
  t.at(0, CTL_DOWN).key1 = 0;
  Table before = t;
  r = Bindings_SetButton(t.b, 0, CTL_LEFT, 1, 3);
  EXPECT_EQ(r.outcome, BIND_REFUSED);
  EXPECT_EQ(r.refusedFor, CTL_DOWN);
  EXPECT_TRUE(t == before);
}

TEST(BindingRules, ResetsPutBackTheirOwnHalfOnly) {
  Table t, defaults;
  Bindings_SetKey(t.b, 0, CTL_UP, 1, kZ);
  Bindings_SetKey(t.b, 1, CTL_START, 0, kX);
  Bindings_SetButton(t.b, 1, CTL_START, 0, 9);
  Bindings_ResetKeys(t.b);
  EXPECT_EQ(t.at(0, CTL_UP).key2, 0);
  EXPECT_EQ(t.at(1, CTL_START).key1, 28);
  EXPECT_EQ(t.at(1, CTL_START).button, 9);   // buttons stay

  EXPECT_EQ(Bindings_ResetButtons(t.b), 0);
  EXPECT_TRUE(t == defaults);

  // a control left with nothing once its button goes: that player's keys come back
  Bindings_SetKey(t.b, 1, CTL_LEFT, 1, kZ);
  Bindings_SetButton(t.b, 1, CTL_UP, 0, 1);
  ASSERT_EQ(Bindings_SetKey(t.b, 1, CTL_DOWN, 1, kUpArrow).outcome, BIND_TAKEN);   // Up keeps its button only
  EXPECT_EQ(Bindings_ResetButtons(t.b), 2);
  EXPECT_TRUE(t == defaults);
}

// ---- the capture ----

CaptureRead key(int code) {
  CaptureRead r;
  r.key = code;
  return r;
}

CaptureRead button(int joystick, int number) {
  CaptureRead r;
  r.button = true;
  r.joystick = joystick;
  r.buttonNumber = number;
  return r;
}

TEST(BindingCapture, AWalkWaitsForEverythingUpThenTakesSkipsAndEnds) {
  Table t;
  BindingCapture c;
  Capture_Begin(c, CAPTURE_KEY, 0, 6, 8, true);   // Set 1 Select, Start, then Set 2 Up
  // the Start key that began it is still down: not taken
  EXPECT_EQ(Capture_Frame(c, t.b, key(57)).step, STEP_WAITING);
  EXPECT_EQ(Capture_Frame(c, t.b, key(57)).step, STEP_WAITING);
  EXPECT_EQ(t.at(0, CTL_SELECT).key1, kTab);
  EXPECT_EQ(Capture_Frame(c, t.b, {}).step, STEP_WAITING);

  EXPECT_EQ(Capture_Frame(c, t.b, key(kTab)).step, STEP_SKIPPED);   // Select keeps TAB
  EXPECT_EQ(c.input, 7);
  EXPECT_EQ(Capture_Frame(c, t.b, key(kZ)).step, STEP_WAITING);      // TAB is still down
  Capture_Frame(c, t.b, {});
  CaptureResult r = Capture_Frame(c, t.b, key(kZ));
  EXPECT_EQ(r.step, STEP_BOUND);
  EXPECT_EQ(r.input, 7);
  EXPECT_EQ(r.taken.key1, kZ);
  EXPECT_EQ(t.at(0, CTL_START).key1, kZ);
  EXPECT_TRUE(c.active);

  Capture_Frame(c, t.b, {});
  EXPECT_EQ(Capture_Frame(c, t.b, key(kX)).step, STEP_BOUND);
  EXPECT_EQ(t.at(0, CTL_UP).key2, kX);
  EXPECT_FALSE(c.active);
  EXPECT_EQ(Capture_Frame(c, t.b, key(kA)).step, STEP_IDLE);
}

TEST(BindingCapture, EscapeCancelsAndIsNeverBound) {
  Table t, before;
  BindingCapture c;
  Capture_Begin(c, CAPTURE_KEY, 1, 0, 15, true);
  EXPECT_EQ(Capture_Frame(c, t.b, key(kEscapeKey)).step, STEP_CANCELLED);   // even before it is armed
  EXPECT_FALSE(c.active);

  Capture_Begin(c, CAPTURE_BUTTON, 1, 0, 7, true);
  Capture_Frame(c, t.b, {});
  CaptureRead closing;
  closing.escape = true;   // the window's close button
  EXPECT_EQ(Capture_Frame(c, t.b, closing).step, STEP_CANCELLED);
  EXPECT_TRUE(t == before);
}

TEST(BindingCapture, OneKeyAloneTakesTabAndARefusalWaitsOnTheSameInput) {
  Table t;
  BindingCapture c;
  Capture_Begin(c, CAPTURE_KEY, 1, CTL_COUNT + CTL_UP, CTL_COUNT + CTL_UP, false);   // player 2, Set 2 Up
  Capture_Frame(c, t.b, {});
  CaptureResult r = Capture_Frame(c, t.b, key(208));   // player 2's Down arrow, Down's only key
  EXPECT_EQ(r.step, STEP_REFUSED);
  EXPECT_TRUE(c.active);
  EXPECT_EQ(c.input, CTL_COUNT + CTL_UP);
  EXPECT_EQ(Capture_Frame(c, t.b, key(kTab)).step, STEP_WAITING);   // the refused key is still down
  Capture_Frame(c, t.b, {});
  r = Capture_Frame(c, t.b, key(kTab));
  EXPECT_EQ(r.step, STEP_BOUND);
  EXPECT_EQ(r.report.sharedWith, CTL_SELECT);   // player 1's Select keeps it too
  EXPECT_EQ(t.at(1, CTL_UP).key2, kTab);
  EXPECT_FALSE(c.active);
}

TEST(BindingCapture, TheGamepadTakesButtonsOnlyAndTabSkipsThere) {
  Table t;
  BindingCapture c;
  Capture_Begin(c, CAPTURE_BUTTON, 0, CTL_UP, CTL_START, true);
  EXPECT_EQ(Capture_Frame(c, t.b, button(0, 4)).step, STEP_WAITING);   // held from before
  Capture_Frame(c, t.b, {});
  EXPECT_EQ(Capture_Frame(c, t.b, key(kZ)).step, STEP_WAITING);        // a key is no button
  EXPECT_EQ(t.at(0, CTL_UP).key1, kW);
  CaptureResult r = Capture_Frame(c, t.b, button(2, 5));
  EXPECT_EQ(r.step, STEP_BOUND);
  EXPECT_EQ(r.taken.joystick, 2);
  EXPECT_EQ(r.taken.button, 5);
  EXPECT_EQ(t.at(0, CTL_UP).joystick, 2);
  EXPECT_EQ(t.at(0, CTL_UP).button, 5);
  Capture_Frame(c, t.b, {});
  EXPECT_EQ(Capture_Frame(c, t.b, key(kTab)).step, STEP_SKIPPED);
  EXPECT_EQ(c.input, CTL_LEFT);
  EXPECT_FALSE(Binding_HasButton(t.at(0, CTL_DOWN)));
}
}  // namespace
