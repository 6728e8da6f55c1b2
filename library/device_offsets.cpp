#include "library/device_offsets.h"
#include "library/tarvolen_ini.h"
#include <algorithm>

namespace {
bool isKeyboard(const char* name) { return !name || !*name; }

int get(const char* name, const char* kind) {
  return TarvolenIni_GetInt(DeviceOffsets_Key(name, kind).c_str(), 0, kDeviceOffsetMinMs, kDeviceOffsetMaxMs);
}

bool set(const char* name, const char* kind, int ms) {
  ms = std::clamp(ms, kDeviceOffsetMinMs, kDeviceOffsetMaxMs);
  return TarvolenIni_SetInt(DeviceOffsets_Key(name, kind).c_str(), ms) && TarvolenIni_Save();
}
}  // namespace

std::string DeviceOffsets_EscapeName(const char* name) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (const char* p = name ? name : ""; *p; p++) {
    unsigned char c = (unsigned char)*p;
    if (c <= 0x20 || c >= 0x7F || c == '%' || c == '=' || c == '#') {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    } else {
      out += (char)c;
    }
  }
  return out;
}

std::string DeviceOffsets_Key(const char* joystickName, const char* kind) {
  std::string device = isKeyboard(joystickName) ? "keyboard" : "joy." + DeviceOffsets_EscapeName(joystickName);
  return "offset." + device + "." + (kind ? kind : "");
}

int DeviceOffsets_Input(const char* joystickName) { return get(joystickName, "input"); }
int DeviceOffsets_Visual(const char* joystickName) { return get(joystickName, "visual"); }
bool DeviceOffsets_SetInput(const char* joystickName, int ms) { return set(joystickName, "input", ms); }
bool DeviceOffsets_SetVisual(const char* joystickName, int ms) { return set(joystickName, "visual", ms); }
