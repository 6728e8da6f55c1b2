// The keyboard as a 256-byte state indexed by DIK scan codes, read from SDL's
// key state and merged with scripted keys.
#include "platform/log.h"
#include "media/input/evdev_keymap.h"
#include "media/input/evdev_reader.h"
#include "media/input/input.h"
#include "media/input/input_edges.h"
#include "media/input_script.h"
#include "media/window.h"
#include "platform/clock.h"
#include "platform/pacer.h"
#include <SDL.h>
#include <algorithm>
#include <cstring>

namespace {
bool g_ready = false;
uint8_t g_keys[256];      // what the game reads
uint8_t g_scripted[256];  // the scripted part alone (it needs no window focus)
uint8_t g_taps[256];      // went down since the last poll, perhaps already up again

bool flagsAccepted(int f) {
  int access = f & (kKeyExclusive | kKeyNonExclusive), place = f & (kKeyForeground | kKeyBackground);
  if (access != kKeyExclusive && access != kKeyNonExclusive) return false;
  if (place != kKeyForeground && place != kKeyBackground) return false;
  return !(access == kKeyExclusive && place == kKeyBackground);
}
}  // namespace

int Keyboard_Init(int cooperationFlags, bool useSDL) {
  (void)useSDL;  // SDL is the only keyboard this build reads
  memset(g_keys, 0, sizeof g_keys);
  memset(g_taps, 0, sizeof g_taps);
  memset(g_scripted, 0, sizeof g_scripted);
  if (!flagsAccepted(cooperationFlags)) {
    WriteLogf("Keyboard cooperation flags %x refused\n", cooperationFlags);
    g_ready = false;
    return kKeyboardInitRefused;
  }
  g_ready = true;
  // presses are sampled while the frame waits too, so each carries its own time
  InputEdges_Clear();
  Pacer_SetWaitHook(InputEdges_SampleNow);
  return 0;
}

void Keyboard_Shutdown() {
  Pacer_SetWaitHook(nullptr);
  g_ready = false;
  memset(g_keys, 0, sizeof g_keys);
  memset(g_taps, 0, sizeof g_taps);
}

void Keyboard_NoteKeyDown(int sym) {
  if (!g_ready) return;
  if (int code = Keyboard_ScanCodeForSym(sym)) {
    g_taps[code] = 1;
    // the layout's name for the key just pressed on a keyboard read through evdev
    if (Evdev_KeyboardCount()) EvdevKeymap_NoteSdlPress(code, Clock_MsPrecise());
  }
}

void Keyboard_Poll() {
  Window_PumpMessages();
  Evdev_SetKeyboardFocus(Window_HasFocus());
  InputEdges_Sample(Clock_MsPrecise());
  uint8_t real[256] = {};
  if (g_ready && Window_IsOpen()) {
    int n = 0;
    const Uint8* state = SDL_GetKeyState(&n);
    // Several symbols share one key ("[" and "{"), so each pressed symbol
    // sets its key and nothing clears a key another symbol set.
    for (int sym = 0, end = std::min(n, 512); state && sym < end; sym++)
      if (state[sym])
        if (int code = Keyboard_ScanCodeForSym(sym)) real[code] = 0x80;
    for (int c = 0; c < 256; c++)
      if (g_taps[c]) real[c] = 0x80;
  }
  memset(g_taps, 0, sizeof g_taps);
  if (InputScript_Active()) {
    uint32_t buttons[kScriptJoysticks];
    InputScript_State(Clock_Ms(), g_scripted, buttons);
  } else {
    memset(g_scripted, 0, sizeof g_scripted);
  }
  for (int c = 0; c < 256; c++) g_keys[c] = real[c] | (g_scripted[c] & 0x80);
  Joystick_Poll();
}

bool Keyboard_IsDown(int code) { return code >= 0 && code < 256 && (g_keys[code] & 0x80); }

const uint8_t* Keyboard_State() { return g_keys; }

int Keyboard_CaptureKey() {
  Keyboard_Poll();
  const uint8_t* keys = Window_HasFocus() ? g_keys : g_scripted;
  for (int c = 1; c <= 254; c++)
    if ((keys[c] & 0x80) && !Keyboard_IsExcluded(c)) return c;
  return 0;
}

void Input_Poll() { Keyboard_Poll(); }
