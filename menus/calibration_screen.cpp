// The calibration screen on the shared loop, in the options menu's look: the
// beat's pulse at the top, the taps on a scale from early to late, the last
// sixteen as numbers, the mean and spread, and once enough taps count, the rows
// that store them.
#include "menus/calibration_screen.h"
#include "media/audio/audio.h"
#include "media/draw_helpers.h"
#include "media/font/font.h"
#include "media/sound/sound_fx.h"
#include "menus/calibration_beat.h"
#include "menus/calibration_taps.h"
#include "menus/options_edit.h"
#include "menus/options_look.h"
#include "menus/screen_loop.h"
#include "platform/clock.h"
#include "platform/log.h"
#include "play/press_device.h"
#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {
constexpr int kPanelX = 40, kPanelY = 56, kPanelW = 560, kPanelH = 392;
constexpr uint32_t kLabel = 0xDDE4FF, kValue = 0xFFD23C, kHeading = 0x80FFFF, kDim = 0x6A7290;
constexpr uint32_t kCursor = 0x3050C0, kNote = 0xB8C4E8;
constexpr int kScaleX = 80, kScaleW = 480, kScaleY = 196, kScaleH = 36;
constexpr int kTapsShown = 16;
constexpr int kTapsPerFrame = 32;

struct CalibScreen {
  explicit CalibScreen(OptionsEdit& edit) : e(edit) {}
  OptionsEdit& e;
  CalibSession s;
  CalibBeat beat;
  TapReader reader;
  double lastTapMs = -1e9;
};

uint32_t offsetColour(double ms) {
  double a = std::fabs(ms);
  return a <= 25 ? 0x80FF80 : a <= 60 ? 0xFFE060 : a <= kCalibOutlierMs ? 0xFF9050 : kDim;
}

int scaleX(double ms) {
  double c = std::clamp(ms, -kCalibOutlierMs, kCalibOutlierMs);
  return kScaleX + (int)std::lround((c + kCalibOutlierMs) * kScaleW / (2 * kCalibOutlierMs));
}

void drawPulse(const CalibBeat& b, double nowMs) {
  int beat;
  double through;
  bool known = CalibBeat_Phase(b, nowMs, beat, through);
  constexpr int kSize = 34, kGap = 14;
  int x0 = 320 - (kCalibBeatsPerBar * (kSize + kGap) - kGap) / 2;
  int lit = known && beat >= 0 ? beat % kCalibBeatsPerBar : -1;
  for (int i = 0; i < kCalibBeatsPerBar; i++) {
    int x = x0 + i * (kSize + kGap);
    Draw_FillRect(x, 94, kSize, kSize, 0x203060, 220);
    if (i != lit) continue;
    // bright on the beat, fading over its first third
    int alpha = (int)(255 * std::max(0.0, 1.0 - through * 3));
    Draw_FillRect(x, 94, kSize, kSize, i == 0 ? 0xFFD23C : 0x80C8FF, std::max(alpha, 40));
  }
  if (!known || beat < 0) Draw_TextCentred(13, kNote, 320, 134, "Get ready...");
}

void drawScale(const CalibScreen& c) {
  const CalibTaps& t = c.s.taps;
  Draw_FillRect(kScaleX, kScaleY, kScaleW, kScaleH, 0x101838, 230);
  Draw_FillRect(kScaleX + kScaleW / 2, kScaleY - 4, 1, kScaleH + 8, 0xFFFFFF, 160);
  for (int ms : {-200, -150, -100, -50, 50, 100, 150, 200})
    Draw_FillRect(scaleX(ms), kScaleY + kScaleH - 6, 1, 6, 0x5068A0);
  Font_DrawText(12, kNote, kScaleX, kScaleY + kScaleH + 3, "-250 ms early");
  Draw_TextCentred(12, kNote, kScaleX + kScaleW / 2, kScaleY + kScaleH + 3, "on the beat");
  const char* late = "late +250 ms";
  Font_DrawText(12, kNote, kScaleX + kScaleW - Font_TextWidth(12, late), kScaleY + kScaleH + 3, late);
  CalibStats st = Calib_Stats(t);
  if (st.count >= 2) {
    int l = scaleX(st.meanMs - st.spreadMs), r = scaleX(st.meanMs + st.spreadMs);
    Draw_FillRect(l, kScaleY + 2, std::max(1, r - l), kScaleH - 4, 0x4060C0, 110);
  }
  for (int i = 0; i < t.count; i++) {
    bool newest = i == t.count - 1;
    Draw_FillRect(scaleX(t.taps[i].offsetMs) - 1, kScaleY + 6, 3, kScaleH - 12, offsetColour(t.taps[i].offsetMs),
                  newest ? 255 : 170);
  }
  if (st.count) Draw_FillRect(scaleX(st.meanMs) - 1, kScaleY - 6, 3, kScaleH + 12, 0xFFD23C);
}

void drawTapList(const CalibTaps& t) {
  int first = std::max(0, t.count - kTapsShown);
  for (int i = first; i < t.count; i++) {
    int k = i - first, col = k % 4, row = k / 4;
    int x = kPanelX + 40 + col * 125, y = 256 + row * 17;
    char n[16], v[32];
    snprintf(n, sizeof n, "%d", i + 1);
    if (t.taps[i].kept)
      snprintf(v, sizeof v, "%+.0f ms", t.taps[i].offsetMs);
    else
      snprintf(v, sizeof v, "left out");
    Font_DrawText(13, kDim, x, y, n);
    Font_DrawText(13, t.taps[i].kept ? offsetColour(t.taps[i].offsetMs) : kDim, x + 26, y, v);
  }
}

void drawStats(const CalibSession& s) {
  CalibStats st = Calib_Stats(s.taps);
  char t[96];
  if (st.count)
    snprintf(t, sizeof t, "Mean %+.1f ms (%s)     Spread %.1f ms", st.meanMs,
             std::fabs(st.meanMs) < 0.5 ? "on the beat" : st.meanMs > 0 ? "late" : "early", st.spreadMs);
  else
    snprintf(t, sizeof t, "Mean -     Spread -");
  Draw_TextCentred(17, 0xFFFFFF, 320, 330, t);
}

void drawChoices(const CalibScreen& c) {
  const CalibSession& s = c.s;
  CalibStats st = Calib_Stats(s.taps);
  const char* device = CalibSession_DeviceName(s.device);
  int offset = PressDevice_InputOffsetMs(s.device);
  char labels[CALIB_CHOICES][96], values[CALIB_CHOICES][48];
  snprintf(labels[0], sizeof labels[0], "Store as Global GAP");
  snprintf(values[0], sizeof values[0], "%d -> %d", (int)c.e.settings.globalGap, Calib_GapFor(st.meanMs, offset));
  snprintf(labels[1], sizeof labels[1], "Store as input offset of %.60s", device);
  snprintf(values[1], sizeof values[1], "%d -> %d ms", offset, Calib_DeviceOffsetFor(st.meanMs, c.e.settings.globalGap));
  snprintf(labels[2], sizeof labels[2], "Tap again");
  snprintf(labels[3], sizeof labels[3], "Return");
  values[2][0] = values[3][0] = 0;
  for (int i = 0; i < CALIB_CHOICES; i++) {
    int y = 356 + i * 21;
    bool at = i == s.cursor;
    if (at) Draw_FillRect(kPanelX + 16, y, kPanelW - 32, 19, kCursor, 200);
    Draw_TextClipped(15, at ? 0xFFFFFF : kLabel, kPanelX + 28, y + 2, 330, labels[i]);
    if (values[i][0])
      Font_DrawText(15, kValue, kPanelX + kPanelW - 28 - Font_TextWidth(15, values[i]), y + 2, values[i]);
  }
}

void draw(const CalibScreen& c, double nowMs) {
  const CalibSession& s = c.s;
  Draw_FillRect(0, 0, 640, 480, 0x000000, 96);
  Draw_FillRect(kPanelX, kPanelY, kPanelW, kPanelH, 0x0A0E28, 236);
  Draw_FillRect(kPanelX, kPanelY, kPanelW, 2, 0x4060C0);
  Font_DrawText(23, 0xFFFFFF, kPanelX, 18, "OPTIONS MENU");
  Draw_TextCentred(18, kHeading, 320, kPanelY + 12, "Timing Calibration");
  drawPulse(c.beat, nowMs);
  char line[128];
  if (s.message[0]) {
    Draw_TextCentred(15, s.messageColour ? s.messageColour : 0x80FF80, 320, 156, s.message);
  } else {
    if (s.phase == CALIB_TAPPING)
      snprintf(line, sizeof line, "Tap on the beat with any panel or Start:  %d of %d taps", s.taps.kept,
               kCalibTapsNeeded);
    else
      snprintf(line, sizeof line, "%d taps on %.48s", s.taps.kept, CalibSession_DeviceName(s.device));
    Draw_TextCentred(15, kLabel, 320, 156, line);
  }
  snprintf(line, sizeof line, "Controller: %.60s", s.device >= -1 ? CalibSession_DeviceName(s.device) : "-");
  Draw_TextCentred(13, kNote, 320, 176, line);
  drawScale(c);
  drawTapList(s.taps);
  drawStats(s);
  if (s.phase == CALIB_CHOOSING) drawChoices(c);
  Draw_TextCentred(13, kNote, 320, 458,
                   s.phase == CALIB_TAPPING ? "Tap along with the beat   Escape or Select leaves without storing"
                                            : "Up/Down move   Start choose   Escape or Select leaves");
}

int frame(CalibScreen& c, ScreenFrame& f) {
  // Select leaves as Escape does, for players on a pad alone
  if (f.input & (MENU_ESCAPE | MENU_SELECT | MENU_SELECT << MENU_P2_SHIFT)) return 1;
  double now = Clock_MsPrecise();
  CalibBeat_Frame(c.beat, now);
  // a Start that makes the last tap does not also choose a row
  bool wasChoosing = c.s.phase == CALIB_CHOOSING;
  TapPress taps[kTapsPerFrame];
  int n = TapReader_Read(c.reader, f.nowMs, taps, kTapsPerFrame);
  for (int i = 0; i < n; i++) {
    int beat;
    double through;
    // taps before the first beat is near are not measured
    if (!CalibBeat_Phase(c.beat, taps[i].atMs + c.beat.periodMs / 2, beat, through) || beat < 0) continue;
    c.s.message[0] = 0;
    CalibSession_Tap(c.s, taps[i].device, Calib_OffsetFromBeat(taps[i].atMs, c.beat.beatZeroMs, c.beat.periodMs));
  }
  int leave = 0;
  if (wasChoosing && c.s.phase == CALIB_CHOOSING) {
    int cursor = c.s.cursor;
    leave = CalibSession_Input(c.s, f.input, c.e);
    if (c.s.cursor != cursor) PlaySound(SND_SELECT);
    else if (f.input & ((MENU_START | MENU_START << MENU_P2_SHIFT))) PlaySound(SND_START);
  }
  draw(c, now);
  return leave;
}
}  // namespace

int CalibrationScreen(OptionsEdit& e, double periodMs) {
  WriteLog("Starting timing calibration\n");
  CalibScreen c(e);
  TapReader_Begin(c.reader, Clock_Ms());
  MenuScreen screen;
  Screen_Open(screen, OptionsLook_Setup());
  // the music under the menu would blur the beat: hushed, and put back after
  uint32_t music = e.music ? *e.music : 0, volume = 100;
  if (music && Audio_ChannelGetAttributes(music, nullptr, &volume, nullptr))
    Audio_ChannelSetAttributes(music, -1, 0, -101);
  else
    music = 0;
  CalibBeat_Start(c.beat, Clock_MsPrecise(), periodMs);
  Screen_Run(screen, [&c](ScreenFrame& f) { return frame(c, f); });
  CalibBeat_Stop(c.beat);
  if (music) Audio_ChannelSetAttributes(music, -1, (int)volume, -101);
  WriteLog("Leaving timing calibration\n");
  return 0;
}
