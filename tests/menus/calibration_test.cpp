// Timing calibration: the arithmetic of taps against a beat, the session's rows
// that store the mean, "calibrate from last play" and the slow-pad warning.
#include "library/device_offsets.h"
#include "library/settings.h"
#include "library/tarvolen_ini.h"
#include "menus/calibration_screen.h"
#include "menus/evaluation_calibrate.h"
#include "menus/options_edit.h"
#include "menus/options_page_input.h"
#include "menus/slow_pad_warning.h"
#include "media/input/input.h"
#include "support/test_support.h"
#include <gtest/gtest.h>
#include <cmath>
#include <cstring>

namespace {
constexpr int kKeyboard = -1;

CalibTaps tapsOf(std::initializer_list<double> offsets) {
  CalibTaps t;
  for (double o : offsets) Calib_Add(t, o);
  return t;
}
}  // namespace

TEST(CalibrationMath, OffsetIsToTheNearestBeatEarlyNegative) {
  // beats every 600 ms from 1000
  EXPECT_DOUBLE_EQ(Calib_OffsetFromBeat(1612, 1000, 600), 12);
  EXPECT_DOUBLE_EQ(Calib_OffsetFromBeat(2180, 1000, 600), -20);
  EXPECT_DOUBLE_EQ(Calib_OffsetFromBeat(1000 + 600 * 40 - 7.5, 1000, 600), -7.5);
  // before beat zero the grid goes on
  EXPECT_DOUBLE_EQ(Calib_OffsetFromBeat(395, 1000, 600), -5);
  // half way is late, just over half way early
  EXPECT_DOUBLE_EQ(Calib_OffsetFromBeat(1300, 1000, 600), 300);
  EXPECT_DOUBLE_EQ(Calib_OffsetFromBeat(1301, 1000, 600), -299);
  // nonsense measures nothing
  EXPECT_EQ(Calib_OffsetFromBeat(1612, 1000, 0), 0);
  EXPECT_EQ(Calib_OffsetFromBeat(NAN, 1000, 600), 0);
}

TEST(CalibrationMath, MeanAndSpreadLeaveOutTapsBeyondTheLimit) {
  CalibTaps t = tapsOf({10, 20, 30, 20, 251, -260, 20});
  EXPECT_EQ(t.count, 7);
  EXPECT_EQ(t.kept, 5);
  CalibStats s = Calib_Stats(t);
  EXPECT_EQ(s.count, 5);
  EXPECT_DOUBLE_EQ(s.meanMs, 20);
  EXPECT_NEAR(s.spreadMs, std::sqrt((100 + 0 + 100 + 0 + 0) / 5.0), 1e-9);
  // the limit itself counts
  EXPECT_EQ(tapsOf({250, -250}).kept, 2);
  EXPECT_EQ(Calib_Stats(tapsOf({})).count, 0);
  EXPECT_EQ(Calib_Stats(tapsOf({400, NAN})).count, 0);
  // a full record takes no more
  CalibTaps full;
  for (int i = 0; i < kCalibMaxTaps + 3; i++) Calib_Add(full, 1);
  EXPECT_EQ(full.count, kCalibMaxTaps);
}

TEST(CalibrationMath, StoredValuesCentreTheTapsBesideTheOtherOffset) {
  // late taps want later notes and earlier judged presses
  EXPECT_EQ(Calib_GapFor(14.4, 0), 14);
  EXPECT_EQ(Calib_GapFor(14.6, 10), 5);
  EXPECT_EQ(Calib_GapFor(-30, 0), -30);
  EXPECT_EQ(Calib_DeviceOffsetFor(14.6, 0), 15);
  EXPECT_EQ(Calib_DeviceOffsetFor(14.6, 20), -5);
  // kept within their ranges
  EXPECT_EQ(Calib_DeviceOffsetFor(240, 0), kDeviceOffsetMaxMs);
  EXPECT_EQ(Calib_DeviceOffsetFor(-240, 0), kDeviceOffsetMinMs);
  EXPECT_EQ(Calib_GapFor(NAN, 0), 0);
  // after a play judged with 12 ms off, a play still 8 ms late wants 20
  EXPECT_EQ(Calib_DeviceOffsetAfterPlay(12, 8.2), 20);
  EXPECT_EQ(Calib_DeviceOffsetAfterPlay(12, -20), -8);
  EXPECT_EQ(Calib_DeviceOffsetAfterPlay(90, 30), kDeviceOffsetMaxMs);
}

class CalibrationStore : public ::testing::Test {
 protected:
  TempDir dir;
  OptionsEdit e;
  void SetUp() override {
    Settings_Defaults(e.settings);
    TarvolenIni_LoadText("");
  }
  void TearDown() override { TarvolenIni_LoadText(""); }
};

TEST_F(CalibrationStore, SixteenKeptTapsOfferTheRowsThatStoreTheMean) {
  CalibSession s;
  for (int i = 0; i < 15; i++) CalibSession_Tap(s, kKeyboard, i % 2 ? 10 : 20);
  CalibSession_Tap(s, kKeyboard, 270);   // left out: not the sixteenth
  EXPECT_EQ(s.phase, CALIB_TAPPING);
  // nothing to choose yet
  EXPECT_EQ(CalibSession_Input(s, MENU_START, e), 0);
  EXPECT_EQ(e.settings.globalGap, 0);
  CalibSession_Tap(s, kKeyboard, 15);
  ASSERT_EQ(s.phase, CALIB_CHOOSING);
  EXPECT_NEAR(Calib_Stats(s.taps).meanMs, 15.3125, 1e-9);
  // more taps while choosing count no more
  CalibSession_Tap(s, kKeyboard, 200);
  EXPECT_EQ(s.taps.count, 17);

  CalibSession_Input(s, MENU_START, e);                   // "Store as Global GAP"
  EXPECT_EQ(e.settings.globalGap, 15);
  EXPECT_STREQ(s.message, "Global GAP set to 15");
  // the input offset beside that gap: nothing more to take off
  CalibSession_Input(s, MENU_DOWN << MENU_P2_SHIFT, e);   // player 2 moves too
  CalibSession_Input(s, MENU_START, e);
  EXPECT_EQ(DeviceOffsets_Input(nullptr), 0);
  e.settings.globalGap = 0;
  CalibSession_Input(s, MENU_START, e);
  EXPECT_EQ(DeviceOffsets_Input(nullptr), 15);
  EXPECT_NE(ReadFile("tarvolen.ini").find("offset.keyboard.input = 15"), std::string::npos);
  // the gap beside the keyboard's new offset
  CalibSession_Input(s, MENU_UP, e);
  CalibSession_Input(s, MENU_START, e);
  EXPECT_EQ(e.settings.globalGap, 0);
  // "Tap again", then "Return"
  CalibSession_Input(s, MENU_DOWN, e);
  CalibSession_Input(s, MENU_DOWN, e);
  EXPECT_EQ(CalibSession_Input(s, MENU_START, e), 0);
  EXPECT_EQ(s.phase, CALIB_TAPPING);
  EXPECT_EQ(s.taps.count, 0);
  s.phase = CALIB_CHOOSING;
  s.cursor = CALIB_RETURN;
  EXPECT_EQ(CalibSession_Input(s, MENU_START, e), 1);
}

TEST_F(CalibrationStore, AnotherControllerCountsAgain) {
  CalibSession s;
  for (int i = 0; i < 10; i++) CalibSession_Tap(s, kKeyboard, -40);
  CalibSession_Tap(s, 0, 5);
  EXPECT_EQ(s.device, 0);
  EXPECT_EQ(s.taps.count, 1);
  EXPECT_STREQ(s.message, "Another controller: counting again");
}

TEST_F(CalibrationStore, LastPlayAddsItsMeanToTheOffsetItWasJudgedWith) {
  TarvolenIni_LoadText("offset.keyboard.input = 12\n");
  EvalCalibrate c;
  EvalCalibrate_Offer(c, 0, kKeyboard, 120, 8.4, false);
  EvalCalibrate_Offer(c, 1, kKeyboard, 15, 30, false);    // too few presses
  ASSERT_TRUE(c.offered[0]);
  EXPECT_FALSE(c.offered[1]);
  EXPECT_STREQ(c.line[0], "SELECT: calibrate from last play (+8.4 ms)");
  EXPECT_STREQ(c.line[1], "");
  EXPECT_FALSE(EvalCalibrate_Apply(c, 1));
  EXPECT_TRUE(EvalCalibrate_Apply(c, 0));
  EXPECT_EQ(DeviceOffsets_Input(nullptr), 20);
  EXPECT_STREQ(c.line[0], "Keyboard input offset: 12 -> 20 ms");
  // once only: a second Select does not add the mean again
  EXPECT_FALSE(EvalCalibrate_Apply(c, 0));
  EXPECT_EQ(DeviceOffsets_Input(nullptr), 20);

  EvalCalibrate_Offer(c, 0, kKeyboard, 120, 8.4, true);   // autoplay's presses
  EXPECT_FALSE(c.offered[0]);
  EvalCalibrate_Offer(c, 0, 3, 120, 8.4, false);          // no joystick there
  EXPECT_FALSE(c.offered[0]);
  EvalCalibrate_Offer(c, 5, kKeyboard, 120, 8.4, false);  // no such player
  EXPECT_FALSE(EvalCalibrate_Apply(c, 5));
}

TEST(SlowPadWarning, OnlyAPadSlowerThanEveryTwoMs) {
  PadReport pads[3] = {};
  strcpy(pads[0].name, "Fast Mat");
  pads[0].intervalMs = 1.0;
  strcpy(pads[1].name, "Unmeasured");
  pads[1].intervalMs = 0;
  char out[96];
  EXPECT_FALSE(SlowPad_Warning(pads, 2, out, sizeof out));
  EXPECT_STREQ(out, "");
  pads[0].intervalMs = 2.0;   // every 2 ms is fast enough
  EXPECT_FALSE(SlowPad_Warning(pads, 2, out, sizeof out));
  strcpy(pads[2].name, "Dance Mat");
  pads[2].intervalMs = 8.01;
  pads[1].intervalMs = 4;
  EXPECT_TRUE(SlowPad_Warning(pads, 3, out, sizeof out));
  EXPECT_STREQ(out, "Dance mat reports every 8 ms: see README, usbhid.jspoll");
  pads[2].intervalMs = NAN;
  EXPECT_TRUE(SlowPad_Warning(pads, 3, out, sizeof out));
  EXPECT_STREQ(out, "Dance mat reports every 4 ms: see README, usbhid.jspoll");
  EXPECT_FALSE(SlowPad_Warning(nullptr, 3, out, sizeof out));
}

TEST(CalibrationItem, FollowsGlobalGapAndStartOpensIt) {
  const OptionsPageDef& page = OptionsPage_Def(OPAGE_SYSTEM);
  int at = -1;
  for (int i = 0; i < page.count; i++)
    if (page.items[i] == OPT_TIMING_CALIBRATION) at = i;
  ASSERT_GT(at, 0);
  EXPECT_EQ(page.items[at - 1], OPT_GLOBAL_GAP);
  EXPECT_STREQ(OptionsItem_Label(OPT_TIMING_CALIBRATION), "Timing Calibration");
  OptionsEdit e;
  Settings_Defaults(e.settings);
  OptionsPageState st = OptionsPage_Begin(page);
  st.cursor = at;
  EXPECT_EQ(OptionsPage_Input(page, st, e, MENU_RIGHT, 1000, g_optionsPlugins), OPEV_NONE);
  EXPECT_EQ(OptionsPage_Input(page, st, e, MENU_START, 2000, g_optionsPlugins), OPEV_OPEN);
  OptionsRow rows[kOptionsMaxRows];
  OptionsPage_Rows(page, e.settings, g_optionsPlugins, rows);
  EXPECT_STREQ(rows[at].value, "");
}
