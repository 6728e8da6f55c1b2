#include "library/joystick_names.h"
#include "library/tarvolen_ini.h"
#include "media/input/joystick_hotplug.h"
#include <string>

namespace {
std::string key(int n) { return "joy." + std::to_string(n) + ".name"; }
}  // namespace

void JoystickNames_Load() {
  JoystickNames_Clear();
  for (int n = 0; n < kMaxJoysticks; n++) {
    std::string name;
    if (TarvolenIni_GetString(key(n).c_str(), name)) JoystickNames_Set(n, name.c_str());
  }
  // a bound number without a stored name stays as it is; after the match every
  // number a joystick is plugged in under stands for that joystick
  JoystickNames_Match();
}

void JoystickNames_Store() {
  for (int n = 0; n < kMaxJoysticks; n++) {
    const char* name = JoystickNames_Get(n);
    if (Joystick_IsBound(n) && *name)
      TarvolenIni_SetString(key(n).c_str(), name);
    else
      TarvolenIni_Remove(key(n).c_str());
  }
}
