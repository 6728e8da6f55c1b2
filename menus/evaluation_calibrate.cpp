#include "menus/evaluation_calibrate.h"
#include "library/device_offsets.h"
#include "media/draw_helpers.h"
#include "media/font/font.h"
#include "media/input/input.h"
#include "menus/calibration_math.h"
#include "menus/calibration_screen.h"
#include "platform/log.h"
#include "play/press_device.h"
#include <cmath>
#include <cstdio>

void EvalCalibrate_Offer(EvalCalibrate& c, int player, int device, int presses, double meanMs, bool autoplay) {
  if (player < 0 || player > 1) return;
  c.offered[player] = false;
  c.stored[player] = false;
  c.line[player][0] = 0;
  if (autoplay || presses < kEvalCalibrateMinPresses || !std::isfinite(meanMs)) return;
  // a joystick without a name has nothing to keep an offset under
  if (device != kKeyboardDevice && !Joystick_Name(device)) return;
  c.offered[player] = true;
  c.device[player] = device;
  c.meanMs[player] = meanMs;
  snprintf(c.line[player], sizeof c.line[player], "SELECT: calibrate from last play (%+.1f ms)", meanMs);
}

bool EvalCalibrate_Apply(EvalCalibrate& c, int player) {
  if (player < 0 || player > 1 || !c.offered[player] || c.stored[player]) return false;
  int device = c.device[player];
  int before = PressDevice_InputOffsetMs(device);
  int after = Calib_DeviceOffsetAfterPlay(before, c.meanMs[player]);
  const char* name = device == kKeyboardDevice ? nullptr : Joystick_Name(device);
  if (!DeviceOffsets_SetInput(name, after)) {
    snprintf(c.line[player], sizeof c.line[player], "The offset could not be written to tarvolen.ini");
    return false;
  }
  c.stored[player] = true;
  const char* shown = CalibSession_DeviceName(device);
  WriteLogf("Calibrated from last play: input offset of %s %d -> %d ms (mean %.1f ms)\n", shown, before, after,
            c.meanMs[player]);
  snprintf(c.line[player], sizeof c.line[player], "%.40s input offset: %d -> %d ms", shown, before, after);
  return true;
}

void EvalCalibrate_Draw(const EvalCalibrate& c, const int frameX[2], const char* padWarning, int warningRight) {
  for (int i = 0; i < 2; i++) {
    if (!c.line[i][0]) continue;
    // on a dark strip over the frame's lower edge, clear of the life graph
    Draw_FillRect(frameX[i] + 4, 458, 292, 16, 0x000000, 200);
    Draw_TextClipped(12, c.stored[i] ? 0x80FF80 : 0xB8C4E8, frameX[i] + 10, 459, 282, c.line[i]);
  }
  if (padWarning && padWarning[0]) {
    // under the song's title, right of the screen's heading
    int size = Draw_FitSize(12, 10, warningRight - 332, padWarning);
    int w = Font_TextWidth(size, padWarning) + 12;
    Draw_FillRect(warningRight - 6 - w, 44, w, 17, 0x402808, 220);
    Font_DrawText(size, 0xFFD060, warningRight - w, 46, padWarning);
  }
}
