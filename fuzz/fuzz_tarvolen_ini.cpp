// "tarvolen.ini" from arbitrary bytes: the offsets always come out in range, the
// text written back keeps every line that was read, and setting a key never
// loses another one's line. The joystick names read from it move the bindings
// only onto joystick numbers that exist, and the names stored back read back.
#include "library/device_offsets.h"
#include "library/joystick_names.h"
#include "library/tarvolen_ini.h"
#include "library/settings.h"
#include "media/input/joystick_hotplug.h"
#include "media/input_binding.h"
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text((const char*)data, size);
  TarvolenIni_LoadText(text, "/nonexistent/tarvolen.ini");
  std::string before = TarvolenIni_Text();
  for (const char* name : {(const char*)nullptr, "Pad", "Dance Mat = 2"}) {
    int in = DeviceOffsets_Input(name), vis = DeviceOffsets_Visual(name);
    if (in < kDeviceOffsetMinMs || in > kDeviceOffsetMaxMs || vis < kDeviceOffsetMinMs || vis > kDeviceOffsetMaxMs)
      abort();
  }
  // every line read is written back (line breaks made plain)
  size_t lines = 0;
  for (char c : before) lines += c == '\n';
  TarvolenIni_SetInt("offset.keyboard.input", 5);
  std::string after = TarvolenIni_Text();
  size_t linesAfter = 0;
  for (char c : after) linesAfter += c == '\n';
  if (linesAfter < lines || DeviceOffsets_Input(nullptr) != 5) abort();

  // two pads present; the bindings use the joystick numbers of the text's first bytes
  JoystickHotplug_Begin(0, {"Dance Mat = 2", "Pad"});
  Bindings_Defaults();
  for (int i = 0; i < kBindingCount && i < (int)size; i++) {
    g_bindings[i].joystick = data[i] % (kMaxJoysticks + 2) - 1;   // -1 .. one past the last
    g_bindings[i].button = (int8_t)(i & 7);
  }
  int32_t joyBefore[kBindingCount];
  for (int i = 0; i < kBindingCount; i++) joyBefore[i] = g_bindings[i].joystick;
  JoystickNames_Load();
  for (int i = 0; i < kBindingCount; i++) {
    int32_t j = g_bindings[i].joystick;
    bool wasValid = joyBefore[i] >= 0 && joyBefore[i] < kMaxJoysticks;
    if (wasValid ? (j < 0 || j >= kMaxJoysticks) : j != joyBefore[i]) abort();
  }
  JoystickNames_Store();
  std::string names[kMaxJoysticks];
  for (int n = 0; n < kMaxJoysticks; n++) {
    names[n] = JoystickNames_Get(n);
    if (names[n].find_first_of("\r\n") != std::string::npos) abort();
  }
  TarvolenIni_LoadText(TarvolenIni_Text(), "/nonexistent/tarvolen.ini");
  for (int n = 0; n < kMaxJoysticks; n++) {
    std::string stored;
    bool has = TarvolenIni_GetString(("joy." + std::to_string(n) + ".name").c_str(), stored);
    if (Joystick_IsBound(n) && !names[n].empty() && (!has || stored != names[n])) abort();
  }
  return 0;
}
