#include "play/play_input.h"
#include "media/input/input.h"
#include "media/input/input_edges.h"
#include "media/input_script.h"
#include "platform/log.h"
#include <cstring>
#include <utility>

namespace {
constexpr int kSources = 3;            // first key, second key, joystick button
constexpr int kEdgesPerFrame = 256;    // more in one frame are read over the next frames
bool g_realDown[2][kColumnSlots][kSources];
bool g_scriptWasHeld[2][kColumnSlots];
uint64_t g_cursor[2];

}  // namespace

bool PlayInput_ColumnBinding(int player, int panels, int column, int& bindPlayer, Control& c) {
  static const Control kCols[6] = {CTL_LEFT, CTL_DOWN, CTL_UP, CTL_RIGHT, CTL_UPLEFT, CTL_UPRIGHT};
  bindPlayer = player;
  if (column >= COL_RIGHT_PAD) {
    if (panels != 8) return false;
    bindPlayer = 1;
    column -= COL_RIGHT_PAD;
  }
  if (column < 0 || column > 5) return false;
  if (panels != 6 && column > 3) return false;
  c = kCols[column];
  return true;
}

namespace {

// Scripted input is not in the edge log: it is held from its own events, and a
// press carries the time of the event that made it.
bool scriptHeld(const InputBinding& b, double nowMs, double* sinceMs) {
  uint32_t since;
  uint32_t now = (uint32_t)nowMs;
  for (int32_t k : {b.key1, b.key2})
    if (k > 0 && InputScript_KeyDownSince(k, now, &since)) return *sinceMs = since, true;
  if (b.joystick >= 0 && b.button >= 0 && InputScript_ButtonDownSince(b.joystick, b.button, now, &since))
    return *sinceMs = since, true;
  return false;
}

bool any(const bool* s) { return s[0] || s[1] || s[2]; }

// Which of the binding's sources an edge belongs to (a bit each).
int sourcesOf(const InputBinding& b, const InputEdge& e) {
  if (e.device == kEdgeKeyboard)
    return (b.key1 > 0 && e.code == b.key1 ? 1 : 0) | (b.key2 > 0 && e.code == b.key2 ? 2 : 0);
  return b.joystick >= 0 && b.button >= 0 && e.device == b.joystick && e.code == b.button ? 4 : 0;
}
}  // namespace

void PlayInput_Reset() {
  memset(g_realDown, 0, sizeof g_realDown);
  memset(g_scriptWasHeld, 0, sizeof g_scriptWasHeld);
  uint64_t now = InputEdges_Cursor();
  g_cursor[0] = g_cursor[1] = now;
  // what is held when the play starts counts as held, not as a press
  for (int player = 0; player < 2; player++)
    for (int col = 0; col < kColumnSlots; col++) {
      int bp;
      Control c;
      if (!PlayInput_ColumnBinding(player, 8, col, bp, c)) continue;
      const InputBinding& b = Binding(bp, c);
      g_realDown[player][col][0] = b.key1 > 0 && InputEdges_KeyDown(b.key1);
      g_realDown[player][col][1] = b.key2 > 0 && InputEdges_KeyDown(b.key2);
      g_realDown[player][col][2] = InputEdges_ButtonDown(b.joystick, b.button);
    }
}

void PlayInput_Read(int player, int panels, double nowMs, PanelState& out) {
  memset(&out, 0, sizeof out);
  if (player < 0 || player > 1) return;
  InputEdge edges[kEdgesPerFrame];
  int n = InputEdges_Read(g_cursor[player], edges, kEdgesPerFrame);
  for (int col = 0; col < kColumnSlots; col++) {
    int bp;
    Control c;
    if (!PlayInput_ColumnBinding(player, panels, col, bp, c)) continue;
    const InputBinding& b = Binding(bp, c);
    bool* src = g_realDown[player][col];
    double since = nowMs;
    bool scripted = scriptHeld(b, nowMs, &since);
    // each real press at the time it was seen, a press and release inside one
    // frame included; a second source going down while one is held is no press
    for (int i = 0; i < n && out.pressCount < kColumnSlots; i++) {
      int which = sourcesOf(b, edges[i]);
      if (!which) continue;
      bool was = any(src);
      for (int s = 0; s < kSources; s++)
        if (which >> s & 1) src[s] = edges[i].down != 0;
      if (!was && any(src) && !g_scriptWasHeld[player][col]) out.presses[out.pressCount++] = {col, edges[i].atMs};
    }
    if (scripted && !g_scriptWasHeld[player][col] && out.pressCount < kColumnSlots)
      out.presses[out.pressCount++] = {col, since};
    g_scriptWasHeld[player][col] = scripted;
    out.held[col] = scripted || any(src);
  }
  // the judge takes a frame's presses oldest first
  for (int i = 1; i < out.pressCount; i++)
    for (int k = i; k > 0 && out.presses[k].atMs < out.presses[k - 1].atMs; k--)
      std::swap(out.presses[k], out.presses[k - 1]);
}

void PlayInput_LogPads() {
  PadReport r[16];
  int n = InputEdges_PadReports(r, 16);
  for (int i = 0; i < n; i++)
    if (r[i].intervalMs > 0) WriteLogf("Pad '%s': reports every %.1f ms\n", r[i].name, r[i].intervalMs);
}
