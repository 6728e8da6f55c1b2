#pragma once
// Joysticks and dance mats plugged in, replugged or pulled out while the game
// runs, in menus and in play.
//
// SDL 1.2 counts joysticks once, when its joystick subsystem starts. So once a
// second (from Joystick_Poll, between frames) the watch looks at the joystick
// device nodes (/dev/input/js*, event*) and whether each is readable; when that
// set changed it closes the joysticks, restarts SDL's joystick subsystem and opens
// what is there now (about a millisecond with no device, a few with several), and
// once more a second later, for a node whose permissions were still being set up.
// Nothing else runs on another thread, so the frame that does it is a little
// longer; a joystick that vanishes between two looks simply reads as released.
//
// Bindings hold a joystick number. Each number remembers the name of the joystick
// it stood for ("joy.<n>.name" in "tarvolen.ini"). After every count, a joystick
// that comes back, under whatever number SDL now gives it, takes back the bindings
// of its old number: the numbers in the live binding table are moved. A bound
// joystick that is missing keeps a number no present joystick has, so its
// bindings wait for it. Joysticks with the same name are matched in order.
#include "media/input/input.h"
#include <cstdint>
#include <string>
#include <vector>

// The system calls of the watch, replaceable by tests.
struct JoystickSystem {
  // A text that changes whenever a joystick device node appears, goes or
  // becomes readable.
  std::string (*nodeFingerprint)();
  // Closes every joystick, restarts the joystick subsystem and opens what is
  // there now; `names` gets one entry per joystick number, "" for one that could
  // not be opened.
  void (*reopen)(std::vector<std::string>& names);
};
// null puts the real one back.
void JoystickHotplug_SetSystem(const JoystickSystem* system);
// The real calls.
std::string JoystickHotplug_DeviceNodes();
void Joystick_Reopen(std::vector<std::string>& names);  // joystick.cpp

// Joystick_Init's count: the names now present, the time the watch starts from.
void JoystickHotplug_Begin(uint32_t nowMs, const std::vector<std::string>& present);
// Looks for a change at most once a second; true when the joysticks were counted again.
bool JoystickHotplug_Check(uint32_t nowMs);
// Goes up by one at every count (for readers that keep per-joystick state).
int Joystick_Generation();
// The names present after the last count, by joystick number ("" none).
const std::vector<std::string>& JoystickHotplug_Present();

// The name each joystick number stands for ("" none). Start-up replaces the table
// with the stored names, then matches the bindings to the joysticks present.
void JoystickNames_Clear();
void JoystickNames_Set(int number, const char* name);
const char* JoystickNames_Get(int number);
void JoystickNames_Match();
// Whether any binding uses this joystick number.
bool Joystick_IsBound(int number);

// Where each joystick number goes, and the names the numbers then stand for.
struct JoystickRemap {
  int number[kMaxJoysticks];
  std::string names[kMaxJoysticks];
};
JoystickRemap Joystick_PlanRemap(const std::string (&remembered)[kMaxJoysticks], const bool (&bound)[kMaxJoysticks],
                                 const std::vector<std::string>& present);
// Moves the joystick numbers of the binding table as the plan says.
void Joystick_ApplyRemap(const JoystickRemap& plan);
