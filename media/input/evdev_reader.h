#pragma once
// Dance mats and gamepads read directly through evdev on Linux, where the event
// node is readable: a reader thread waits on the nodes and logs each button edge
// with the kernel's time of the event (monotonic clock) turned into program time.
// A node is matched to SDL's joystick of the same name (the k-th node of a name
// to the k-th joystick of that name) and its buttons are numbered as SDL numbers
// them, so bindings work either way. Everything else, and any node that fails,
// floods or vanishes, is read through SDL by the sampler.
#include <cstdint>

// Opens the readable joystick-class nodes, matches them and starts the reader.
// Called when the joysticks are counted; logs which path each joystick uses.
void Evdev_Start();
// Stops the reader and closes every node.
void Evdev_Stop();
// Whether joystick `n`'s buttons come from evdev (the sampler skips it).
bool Evdev_OwnsJoystick(int n);

// SDL's button numbers for a device's key bitmap (bit `code` set for each key
// code it has; `bytes` long): the codes from BTN_JOYSTICK up, then BTN_MISC up
// to BTN_JOYSTICK - 1, numbered in that order. Writes `buttonOf[code]` (-1 for
// none) for codes below `codes`; returns how many buttons.
int Evdev_ButtonNumbers(const uint8_t* keyBits, int bytes, int16_t* buttonOf, int codes);
// Whether a key bitmap is a joystick's: buttons in the joystick, gamepad or
// extra trigger ranges.
bool Evdev_IsJoystickClass(const uint8_t* keyBits, int bytes);
// Kernel event time (monotonic) in program time, unclamped.
double Evdev_ProgramMs(int64_t sec, int64_t usec);

// ---- Keyboards (Linux, when every event node may be read) ----
// A keyboard's keys are read through evdev once each is paired with the key SDL
// names for it under the player's layout (evdev_keymap.h); until then SDL reads
// it. Presses while the window has no focus are left out.
bool Evdev_AddKeyboard(int fd, const char* name);   // takes the fd; false when full
int Evdev_KeyboardCount();
void Evdev_SetKeyboardFocus(bool focused);
// Whether a key bitmap is a keyboard's: letters, Space and Enter, and no
// joystick buttons.
bool Evdev_IsKeyboardClass(const uint8_t* keyBits, int bytes);

// For tests and benchmarks: a device on an open file descriptor (the reader
// takes it and closes it when done), its key codes in any order, fed to joystick
// `joystick`. False when the table is full or the arguments are bad.
bool Evdev_AddDevice(int fd, const char* name, int joystick, const uint16_t* keyCodes, int keyCount);
// One pass of the reader without its thread: waits up to `timeoutMs` for events
// and handles them. Returns how many events were handled.
int Evdev_ReadOnce(int timeoutMs);
// Starts the reader thread over the devices added (Evdev_Start does it itself).
void Evdev_StartThread();
int Evdev_DeviceCount();
// CPU time the reader thread has used, in ms.
double Evdev_ThreadCpuMs();
