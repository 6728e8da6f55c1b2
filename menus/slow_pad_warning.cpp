#include "menus/slow_pad_warning.h"
#include <cmath>
#include <cstdio>

bool SlowPad_Warning(const PadReport* pads, int count, char* out, size_t size) {
  if (!out || size == 0) return false;
  out[0] = 0;
  double slowest = 0;
  for (int i = 0; pads && i < count; i++)
    if (std::isfinite(pads[i].intervalMs) && pads[i].intervalMs > kSlowPadMs && pads[i].intervalMs > slowest)
      slowest = pads[i].intervalMs;
  if (slowest <= 0) return false;
  snprintf(out, size, "Dance mat reports every %.0f ms: see README, usbhid.jspoll", slowest);
  return true;
}

bool SlowPad_CurrentWarning(char* out, size_t size) {
  PadReport pads[kEdgeJoysticks];
  int n = InputEdges_PadReports(pads, kEdgeJoysticks);
  return SlowPad_Warning(pads, n, out, size);
}
