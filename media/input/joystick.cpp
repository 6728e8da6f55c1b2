// Joysticks and dance mats through SDL, merged with scripted buttons. A joystick
// that the script uses counts as present, its stick centred, even when no real
// one is plugged in. Joysticks plugged in or pulled out later are picked up by
// the hot-plug watch (joystick_hotplug.h), which Joystick_Poll runs.
#include "platform/log.h"
#include "media/input/input.h"
#include "media/input/evdev_reader.h"
#include "media/input/input_edges.h"
#include "media/input/joystick_hotplug.h"
#include "media/input_script.h"
#include "platform/clock.h"
#include <SDL.h>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {
struct Joystick {
  SDL_Joystick* device;
  bool real;           // opened and read at start-up
  int32_t xMin, xMax, yMin, yMax;
  int32_t buttons;     // usable buttons, at most 32
  int32_t axes, hats;
  int32_t x, y;
  uint32_t mask;       // button n is bit 1 << n
  char name[128];      // as SDL reports it
};

Joystick g_joy[kMaxJoysticks];
int g_realCount = 0;
uint32_t g_scriptMask = 0;  // joysticks the script uses
int g_lastDirection = 0;
bool g_subsystem = false;
bool g_watching = false;    // the hot-plug watch runs, even after a failed restart

bool present(int n) { return n >= 0 && n < kMaxJoysticks && (g_joy[n].real || (g_scriptMask >> n & 1)); }

int32_t buttonCount(int n) {
  int32_t c = g_joy[n].real ? g_joy[n].buttons : 0;
  return (g_scriptMask >> n & 1) ? 32 : c;
}

void centre(Joystick& j) {
  j.x = (j.xMin + j.xMax) / 2;
  j.y = (j.yMin + j.yMax) / 2;
}

void closeDevices() {
  for (Joystick& j : g_joy) {
    if (j.device) SDL_JoystickClose(j.device);
    j.device = nullptr;
    j.real = false;
    j.mask = 0;
    j.name[0] = 0;
  }
  g_realCount = 0;
}

// Opens every joystick SDL counts; `names` gets each one's name ("" for one that
// could not be opened).
void openDevices(std::vector<std::string>& names) {
  names.clear();
  SDL_JoystickEventState(SDL_IGNORE);  // read by polling, once a frame
  int count = std::min(SDL_NumJoysticks(), kMaxJoysticks);
  g_realCount = std::max(count, 0);
  SDL_JoystickUpdate();
  for (int n = 0; n < g_realCount; n++) {
    Joystick& j = g_joy[n];
    j.device = SDL_JoystickOpen(n);
    names.emplace_back();
    if (!j.device) {
      WriteLogf("Joystick %d could not be read and is ignored\n", n + 1);
      continue;
    }
    j.real = true;
    j.buttons = std::clamp(SDL_JoystickNumButtons(j.device), 0, 32);
    j.axes = std::max(SDL_JoystickNumAxes(j.device), 0);
    j.hats = std::max(SDL_JoystickNumHats(j.device), 0);
    snprintf(j.name, sizeof j.name, "%s", SDL_JoystickName(n) ? SDL_JoystickName(n) : "");
    // a device without a name still needs one to be told apart from none
    if (!j.name[0]) snprintf(j.name, sizeof j.name, "Joystick");
    names.back() = j.name;
    WriteLogf("Joystick %d: '%s', %d buttons, %d axes\n", n + 1, j.name, j.buttons, j.axes);
  }
}
}  // namespace

void Joystick_Init() {
  Joystick_Shutdown();
  for (Joystick& j : g_joy) {
    j = Joystick{};
    j.xMin = j.yMin = -32768;  // SDL's axis range
    j.xMax = j.yMax = 32767;
    centre(j);
  }
  if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) < 0) {
    WriteLogf("Joysticks unavailable: %s\n", SDL_GetError());
    return;
  }
  g_subsystem = true;
  g_watching = true;
  std::vector<std::string> names;
  openDevices(names);
  WriteLogf("Found %d joysticks\n", g_realCount);
  JoystickHotplug_Begin(Clock_Ms(), names);
  Evdev_Start();
  JoystickSampler_Start(g_realCount);
}

// SDL 1.2 counts joysticks when its joystick subsystem starts: restarting it
// is the way to see the ones plugged in since. The evdev reader matches its
// pads to the new numbers again.
void Joystick_Reopen(std::vector<std::string>& names) {
  JoystickSampler_Stop();
  Evdev_Stop();
  closeDevices();
  names.clear();
  if (g_subsystem) SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
  g_subsystem = SDL_InitSubSystem(SDL_INIT_JOYSTICK) == 0;
  if (!g_subsystem) {
    WriteLogf("Joysticks unavailable: %s\n", SDL_GetError());
    return;
  }
  openDevices(names);
  Evdev_Start();
  JoystickSampler_Start(g_realCount);
}

const char* Joystick_Name(int joystick) {
  return joystick >= 0 && joystick < kMaxJoysticks && g_joy[joystick].real ? g_joy[joystick].name : nullptr;
}

void Joystick_Shutdown() {
  JoystickSampler_Stop();
  Evdev_Stop();
  closeDevices();
  g_lastDirection = 0;
  if (g_subsystem) SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
  g_subsystem = false;
  g_watching = false;
}

void Joystick_Poll() {
  if (g_watching) JoystickHotplug_Check(Clock_Ms());
  if (g_subsystem && g_realCount) SDL_JoystickUpdate();
  uint32_t scripted[kScriptJoysticks] = {};
  g_scriptMask = 0;
  if (InputScript_Active()) {
    uint8_t keys[256];
    InputScript_State(Clock_Ms(), keys, scripted);
    g_scriptMask = InputScript_JoystickMask();
  }
  for (int n = 0; n < kMaxJoysticks; n++) {
    Joystick& j = g_joy[n];
    j.mask = 0;
    if (!j.real) {  // SDL's axis range, for scripted joysticks too
      j.xMin = j.yMin = -32768;
      j.xMax = j.yMax = 32767;
    }
    centre(j);
    if (j.real && j.device) {
      if (j.axes > 0) j.x = SDL_JoystickGetAxis(j.device, 0);
      if (j.axes > 1) j.y = SDL_JoystickGetAxis(j.device, 1);
      // A pad's cross usually reports as a hat: it steers the menus like the stick.
      if (j.hats > 0) {
        Uint8 h = SDL_JoystickGetHat(j.device, 0);
        if (h & SDL_HAT_LEFT) j.x = j.xMin;
        if (h & SDL_HAT_RIGHT) j.x = j.xMax;
        if (h & SDL_HAT_UP) j.y = j.yMin;
        if (h & SDL_HAT_DOWN) j.y = j.yMax;
      }
      for (int b = 0; b < j.buttons; b++)
        if (SDL_JoystickGetButton(j.device, b)) j.mask |= 1u << b;
    }
    if (n < kScriptJoysticks) j.mask |= scripted[n];
  }
}

int Joystick_Count() {
  int n = g_realCount;
  for (int i = 0; i < kMaxJoysticks; i++)
    if (g_scriptMask >> i & 1) n = std::max(n, i + 1);
  return n;
}

bool Joystick_IsPresent(int joystick) { return present(joystick); }

bool Joystick_IsButtonDown(const InputBinding& b) {
  if (!present(b.joystick) || b.button < 0 || b.button >= buttonCount(b.joystick)) return false;
  return (g_joy[b.joystick].mask >> b.button) & 1;
}

bool Joystick_CaptureButton(InputBinding& out) {
  Joystick_Poll();
  for (int n = 0; n < kMaxJoysticks; n++) {
    if (!present(n)) continue;
    for (int b = 0, c = buttonCount(n); b < c; b++)
      if ((g_joy[n].mask >> b) & 1) {
        out.lastSource = 1;
        out.joystick = n;
        out.button = (int8_t)b;
        return true;
      }
  }
  return false;
}

int Joystick_MenuDirection() {
  int dir = 0;
  for (int n = 0; n < kMaxJoysticks; n++) {
    if (!present(n)) continue;
    const Joystick& j = g_joy[n];
    int d = 0;
    if (j.x < j.xMin + 2048) d = 3;
    else if (j.x > j.xMax - 2048) d = 4;
    else if (j.y < j.yMin + 2048) d = 1;
    else if (j.y > j.yMax - 2048) d = 2;
    // A stick at rest does not cancel another one's deflection.
    if (d) dir = d;
  }
  if (dir == g_lastDirection) return 0;
  g_lastDirection = dir;
  return dir;
}

// ---- The real devices alone, for the edge sampler and the evdev reader ----
bool Joystick_IsReal(int n) { return n >= 0 && n < kMaxJoysticks && g_joy[n].real && g_joy[n].device; }

int Joystick_RealButtonCount(int n) { return Joystick_IsReal(n) ? g_joy[n].buttons : 0; }

bool Joystick_ReadReal(int n, uint32_t* mask) {
  if (!Joystick_IsReal(n)) return false;
  uint32_t m = 0;
  for (int b = 0; b < g_joy[n].buttons; b++)
    if (SDL_JoystickGetButton(g_joy[n].device, b)) m |= 1u << b;
  *mask = m;
  return true;
}
