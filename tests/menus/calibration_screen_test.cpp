// The calibration screen whole, on the dummy window without sound (its beat then
// runs on the clock from the log line that says so), with scripted taps at known
// distances from the beats. Screenshots taken with F11 are copied to
// $TV_SHOT_DIR when it is set.
#include "library/device_offsets.h"
#include "media/audio/audio.h"
#include "library/tarvolen_ini.h"
#include "menus/calibration_beat.h"
#include "menus/calibration_screen.h"
#include "menus/options_edit.h"
#include "platform/log.h"
#include "wheel_screen_util.h"
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {
using namespace key;
constexpr double kPeriod = 200;   // 300 BPM: sixteen taps in a few seconds
constexpr const char* kBeatLine = "Timing calibration: no sound for the beat";

// Taps on beats counted from the screen's beat zero (two beats after it opens).
struct TapScript {
  std::vector<ScriptEvent> events;
  void at(int code, double ms, uint32_t holdMs = 40) {
    uint32_t t = (uint32_t)(kCalibLeadInBeats * kPeriod + ms);
    events.push_back(ScriptEvent{t, 0, 1, 0, (uint8_t)code});
    events.push_back(ScriptEvent{t + holdMs, 0, 0, 0, (uint8_t)code});
  }
  void beat(int code, int n, double offsetMs) { at(code, n * kPeriod + offsetMs); }
  // A press on the rows or to leave, held long enough for a frame of a busy
  // machine to see it (a tap needs no such hold: its edge is kept); a direction
  // is let go before the menu's repeat would move it a second time.
  void control(int code, int n, double offsetMs = 0) {
    bool direction = code == kDown || code == kUp || code == kLeft || code == kRight;
    at(code, n * kPeriod + offsetMs, direction ? 100 : 150);
  }
  void run() {
    // should a busy machine lose the test's own way out, this one ends the screen
    // (and the test fails on what it looks for) rather than leave it running
    control(kEscape, 60);
    std::sort(events.begin(), events.end(), [](const ScriptEvent& a, const ScriptEvent& b) { return a.ms < b.ms; });
    InputScript_Set({}, {}, {AnchoredScript{kBeatLine, events, {}}});
  }
};

class CalibrationScreenRun : public WheelScreenRun {
 protected:
  OptionsEdit e;
  void SetUp() override {
    WheelScreenRun::SetUp();
    Settings_Defaults(e.settings);
    TarvolenIni_LoadText("");
    LogOpen(0);
  }
  void TearDown() override {
    LogOff();
    TarvolenIni_LoadText("");
    WheelScreenRun::TearDown();
  }
  // The mean of the taps as the screen logged it: 18 ms, give or take the
  // millisecond the clock may tick between the beat's start and its log line.
  static double loggedMean() {
    std::string log = ReadFile("rkv2.log");
    const std::string head = "Timing calibration: 16 taps on Keyboard, mean ";
    size_t at = log.find(head);
    EXPECT_NE(at, std::string::npos);
    if (at == std::string::npos) return 0;
    double mean = atof(log.c_str() + at + head.size());
    EXPECT_NEAR(mean, 18, 1.01);
    EXPECT_NE(log.find("ms, spread 12.0 ms", at), std::string::npos);
    return mean;
  }
  // Sixteen taps on panels and Start of both players, alternately 30 and 6 ms
  // late (a mean of 18), after a tap too early to measure.
  void sixteenTaps(TapScript& s) {
    const int keys[] = {kLeft, kDown, kUp, kRight, kStart, kLeft2, kUp2, kStart2};
    s.at(kLeft, -kCalibLeadInBeats * kPeriod + 20);
    for (int i = 0; i < 16; i++) s.beat(keys[i % 8], i, i % 2 ? 6 : 30);
  }
};
}  // namespace

TEST_F(CalibrationScreenRun, TapsAtKnownOffsetsStoreTheirMeanAsGlobalGap) {
  TapScript s;
  sixteenTaps(s);
  s.control(kF11, 9, 100);           // half way
  s.control(kF11, 17, 0);            // the rows
  s.control(kStart, 18, 0);          // "Store as Global GAP"
  s.control(kF11, 19, 0);
  s.control(kEscape, 20, 0);
  s.run();
  EXPECT_EQ(CalibrationScreen(e, kPeriod), 0);
  double mean = loggedMean();
  EXPECT_EQ(e.settings.globalGap, std::lround(mean));
  EXPECT_EQ(DeviceOffsets_Input(nullptr), 0);
  EXPECT_EQ(TestScreen_Shots().size(), 3u);
}

TEST_F(CalibrationScreenRun, TheDeviceRowStoresTheKeyboardsInputOffset) {
  e.settings.globalGap = 5;   // the offset goes beside it
  TapScript s;
  sixteenTaps(s);
  s.control(kDown, 17, 0);
  s.control(kStart, 18, 0);
  s.control(kF11, 19, 0);
  s.control(kEscape, 20, 0);
  s.run();
  CalibrationScreen(e, kPeriod);
  int stored = (int)std::lround(loggedMean()) - 5;
  EXPECT_EQ(DeviceOffsets_Input(nullptr), stored);
  EXPECT_NE(ReadFile("tarvolen.ini").find("offset.keyboard.input = " + std::to_string(stored)), std::string::npos);
  EXPECT_EQ(e.settings.globalGap, 5);
}

TEST_F(CalibrationScreenRun, EscapeStoresNothing) {
  TapScript s;
  sixteenTaps(s);
  s.control(kEscape, 17, 0);         // the rows are offered, and left alone
  s.run();
  CalibrationScreen(e, kPeriod);
  EXPECT_EQ(e.settings.globalGap, 0);
  EXPECT_EQ(DeviceOffsets_Input(nullptr), 0);
  EXPECT_FALSE(std::filesystem::exists("tarvolen.ini"));
}

TEST_F(CalibrationScreenRun, SelectLeavesWhileTapping) {
  TapScript s;
  s.beat(kLeft, 0, 0);
  s.control(kSelect2, 2, 0);
  s.run();
  CalibrationScreen(e, kPeriod);
  EXPECT_EQ(e.settings.globalGap, 0);
  EXPECT_NE(ReadFile("rkv2.log").find("Leaving timing calibration"), std::string::npos);
  EXPECT_EQ(ReadFile("rkv2.log").find("Timing calibration: 16 taps"), std::string::npos);
}

TEST(CalibrationBeat, TheLoopedBarClicksOnEachBeat) {
  std::vector<uint8_t> wav(44 + 4 * 22050);
  int bytes = CalibBeat_MakeWav(wav.data(), (int)wav.size(), 22050, 500);
  ASSERT_EQ(bytes, 44 + 4 * 11025 * 2);
  EXPECT_EQ(memcmp(wav.data(), "RIFF", 4), 0);
  EXPECT_EQ(memcmp(wav.data() + 8, "WAVEfmt ", 8), 0);
  auto peak = [&](int from, int to) {
    int p = 0;
    for (int i = from; i < to; i++) p = std::max(p, std::abs((int)(int16_t)(wav[44 + 2 * i] | wav[45 + 2 * i] << 8)));
    return p;
  };
  for (int beat = 0; beat < 4; beat++) {
    EXPECT_GT(peak(beat * 11025, beat * 11025 + 200), 10000) << beat;
    EXPECT_LT(peak(beat * 11025 + 2000, beat * 11025 + 11025), 50) << beat;
  }
  EXPECT_EQ(CalibBeat_MakeWav(wav.data(), 100, 22050, 500), 0);
  EXPECT_EQ(CalibBeat_MakeWav(wav.data(), (int)wav.size(), 22050, 0), 0);
}

// With a sound device the beat follows what is heard of the looped bar; the
// loop starting over does not move it by a bar.
TEST(CalibrationBeat, WithSoundTheBeatFollowsTheHeardLoop) {
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  ASSERT_TRUE(Audio_Init(-1, 44100, 0, nullptr) && Audio_Start());
  CalibBeat b;
  constexpr double kFast = 100;   // a bar of 400 ms
  double start = Clock_MsPrecise();
  CalibBeat_Start(b, start, kFast);
  EXPECT_NE(b.channel, 0u);
  double firstZero = 0;
  bool seen = false;
  for (int i = 0; i < 400 && b.heardMs < 2 * b.loopMs; i++) {
    Clock_SleepMs(5);
    CalibBeat_Frame(b, Clock_MsPrecise());
    if (b.known && !seen) firstZero = b.beatZeroMs, seen = true;
  }
  ASSERT_TRUE(b.known);
  EXPECT_GE(b.heardMs, 2 * b.loopMs) << "the loop was heard round twice";
  EXPECT_GE(firstZero, start - 1);
  EXPECT_LT(std::fabs(b.beatZeroMs - firstZero), b.loopMs / 4);
  int beat;
  double through;
  ASSERT_TRUE(CalibBeat_Phase(b, b.beatZeroMs + 2.5 * kFast, beat, through));
  EXPECT_EQ(beat, 2);
  EXPECT_NEAR(through, 0.5, 1e-9);
  CalibBeat_Stop(b);
  EXPECT_EQ(b.channel, 0u);
  Audio_Free();
}

// The music under the menu is hushed for the beat and put back after.
TEST_F(CalibrationScreenRun, TheMenuMusicComesBackAtItsVolume) {
  ASSERT_TRUE(Audio_Init(-1, 44100, 0, nullptr) && Audio_Start());
  std::vector<uint8_t> wav(44 + 4 * 22050 * 2);
  int bytes = CalibBeat_MakeWav(wav.data(), (int)wav.size(), 22050, 1000);
  uint32_t sample = Audio_SampleLoad(true, wav.data(), 0, (uint32_t)bytes, 1, AUDIO_SAMPLE_LOOP);
  uint32_t music = Audio_SamplePlay(sample);
  ASSERT_NE(music, 0u);
  Audio_ChannelSetAttributes(music, -1, 70, -101);
  e.music = &music;
  std::vector<ScriptEvent> esc = {{300, 0, 1, 0, (uint8_t)kEscape}, {450, 0, 0, 0, (uint8_t)kEscape},
                                  {3000, 0, 1, 0, (uint8_t)kEscape}, {3300, 0, 0, 0, (uint8_t)kEscape}};
  InputScript_Set({}, {}, {AnchoredScript{"Starting timing calibration", esc, {}}});
  CalibrationScreen(e, kPeriod);
  uint32_t volume = 0;
  ASSERT_TRUE(Audio_ChannelGetAttributes(music, nullptr, &volume, nullptr));
  EXPECT_EQ(volume, 70u);
  EXPECT_NE(ReadFile("rkv2.log").find("Timing calibration: the beat plays"), std::string::npos);
  Audio_Free();
}
