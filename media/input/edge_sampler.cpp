// The sampler: the keyboard and the SDL joysticks read each frame and about every
// millisecond while the main thread waits, every change logged with the time of
// the sample. Joysticks read through evdev are left to the reader thread, and
// the SDL joysticks to the joystick sampler's thread while it runs.
#include "media/input/evdev_keymap.h"
#include "media/input/evdev_reader.h"
#include "media/input/input.h"
#include "media/input/input_edges.h"
#include "media/window.h"
#include "platform/clock.h"
#include <SDL.h>
#include <algorithm>
#include <atomic>

namespace {
void sdlPump() {
  if (Window_IsOpen()) SDL_PumpEvents();
  if (SDL_WasInit(SDL_INIT_JOYSTICK)) SDL_JoystickUpdate();
}

const uint8_t* sdlKeys(int* count) {
  if (!Window_IsOpen()) return nullptr;
  return SDL_GetKeyState(count);
}

int sdlJoysticks() { return std::min(Joystick_Count(), (int)kEdgeJoysticks); }

bool sdlButtons(int joystick, uint32_t* mask) { return Joystick_ReadReal(joystick, mask); }

// SDL guards its joysticks with a lock of its own, so their update may run on
// the sampler's thread while the main thread pumps the window's events.
void sdlJoystickPump() {
  if (SDL_WasInit(SDL_INIT_JOYSTICK)) SDL_JoystickUpdate();
}

const EdgeSource kSdl = {sdlPump, sdlKeys, sdlJoysticks, sdlButtons, sdlJoystickPump};
std::atomic<const EdgeSource*> g_source{&kSdl};
double g_lastSampleMs = -1;                   // the main thread's samples
std::atomic<double> g_lastJoystickMs{-1};     // the joystick sampler's
constexpr double kLongestSpanMs = 50;   // after a longer pause the sample time itself is the guess

// A change a sample sees happened since the previous one: the middle of that
// span halves the average error against stamping it now.
double stampFor(double lastMs, double nowMs) {
  double span = nowMs - lastMs;
  return lastMs >= 0 && span > 0 && span <= kLongestSpanMs ? nowMs - span / 2 : nowMs;
}

void syncJoysticks(const EdgeSource& s, double at) {
  for (int j = 0, count = s.joystickCount ? s.joystickCount() : 0; j < count && j < kEdgeJoysticks; j++) {
    uint32_t mask = 0;
    if (Evdev_OwnsJoystick(j) || !s.buttons || !s.buttons(j, &mask)) continue;
    InputEdges_SyncButtons(at, j, mask, 32);
  }
}
}  // namespace

void InputEdges_SetSource(const EdgeSource* source) {
  g_source = source ? source : &kSdl;
  g_lastSampleMs = -1;
  g_lastJoystickMs = -1;
}

void InputEdges_SampleJoysticks(double nowMs) {
  const EdgeSource& s = *g_source.load();
  double at = stampFor(g_lastJoystickMs, nowMs);
  g_lastJoystickMs = nowMs;
  if (s.joystickPump) s.joystickPump();
  syncJoysticks(s, at);
}

void InputEdges_Sample(double nowMs) {
  const EdgeSource& s = *g_source.load();
  double at = stampFor(g_lastSampleMs, nowMs);
  g_lastSampleMs = nowMs;
  if (s.pump) s.pump();
  int n = 0;
  if (const uint8_t* state = s.keys ? s.keys(&n) : nullptr) {
    uint8_t keys[256] = {};
    // several symbols share one key ("[" and "{"): any of them holds it
    for (int sym = 0, end = std::min(n, 512); sym < end; sym++)
      if (state[sym])
        if (int code = Keyboard_ScanCodeForSym(sym)) keys[code] = 0x80;
    // keys a keyboard read through evdev gives with the kernel's time
    uint8_t owned[256];
    bool evdevKeys = Evdev_KeyboardCount() > 0 && EvdevKeymap_Owned(owned);
    InputEdges_SyncKeys(at, keys, evdevKeys ? owned : nullptr);
  }
  if (!JoystickSampler_Running()) syncJoysticks(s, at);
}

void InputEdges_SampleNow() { InputEdges_Sample(Clock_MsPrecise()); }
