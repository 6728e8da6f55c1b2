#include "menus/calibration_taps.h"
#include "media/input/input.h"
#include "media/input/input_edges.h"
#include "media/input_script.h"
#include <algorithm>

namespace {
constexpr Control kTapControls[] = {CTL_LEFT, CTL_DOWN, CTL_UP, CTL_RIGHT, CTL_UPLEFT, CTL_UPRIGHT, CTL_START};
constexpr int kTapControlCount = sizeof kTapControls / sizeof kTapControls[0];
constexpr int kEdgesPerRead = 256;

bool isTap(const InputEdge& e) {
  for (int p = 0; p < 2; p++)
    for (Control c : kTapControls) {
      const InputBinding& b = Binding(p, c);
      if (e.device == kEdgeKeyboard ? (b.key1 > 0 && e.code == b.key1) || (b.key2 > 0 && e.code == b.key2)
                                    : b.joystick == e.device && b.button == e.code)
        return true;
    }
  return false;
}

// A scripted control down at `nowMs`: when it went down and on which device.
bool scriptDown(const InputBinding& b, uint32_t nowMs, uint32_t& since, int& device) {
  for (int32_t k : {b.key1, b.key2})
    if (k > 0 && InputScript_KeyDownSince(k, nowMs, &since)) return device = -1, true;
  if (b.joystick >= 0 && b.button >= 0 && InputScript_ButtonDownSince(b.joystick, b.button, nowMs, &since))
    return device = b.joystick, true;
  return false;
}
}  // namespace

void TapReader_Begin(TapReader& r, uint32_t nowMs) {
  r = TapReader{};
  r.cursor = InputEdges_Cursor();
  uint32_t since;
  int device;
  for (int p = 0; p < 2; p++)
    for (int c = 0; c < kTapControlCount; c++)
      r.scriptHeld[p][c] = scriptDown(Binding(p, kTapControls[c]), nowMs, since, device);
}

int TapReader_Read(TapReader& r, uint32_t nowMs, TapPress* out, int max) {
  int n = 0;
  InputEdge edges[kEdgesPerRead];
  int count = InputEdges_Read(r.cursor, edges, kEdgesPerRead);
  for (int i = 0; i < count && n < max; i++)
    if (edges[i].down && isTap(edges[i])) out[n++] = {edges[i].device, edges[i].atMs};
  for (int p = 0; p < 2; p++)
    for (int c = 0; c < kTapControlCount; c++) {
      uint32_t since = 0;
      int device = -1;
      bool down = scriptDown(Binding(p, kTapControls[c]), nowMs, since, device);
      // one key bound to two controls is one tap
      bool fresh = down && !r.scriptHeld[p][c];
      for (int k = 0; fresh && k < n; k++)
        if (out[k].device == device && out[k].atMs == since) fresh = false;
      if (fresh && n < max) out[n++] = {device, (double)since};
      r.scriptHeld[p][c] = down;
    }
  std::sort(out, out + n, [](const TapPress& a, const TapPress& b) { return a.atMs < b.atMs; });
  return n;
}
