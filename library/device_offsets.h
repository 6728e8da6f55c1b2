#pragma once
// Per-controller timing offsets, kept in "tarvolen.ini":
//   offset.keyboard.input  / offset.keyboard.visual      the keyboard
//   offset.joy.<name>.input / offset.joy.<name>.visual    a joystick or mat by its name
// Both are milliseconds from -100 to 100 (0 when not set).
//  - input: how late the controller's presses arrive. A press is judged this much
//    earlier, so a mat whose presses come 12 ms late is set to 12.
//  - visual: the arrows are drawn as they will be this much later, for a display
//    that shows them late; the judgement does not move.
// <name> is the joystick's name as the system reports it, with every byte that is
// a space, a control character, "%", "=", "#" or not ASCII written as "%XX" (two
// upper-case hex digits), so "Dance Mat = 2" is "Dance%20Mat%20%3D%202".
#include <string>

constexpr int kDeviceOffsetMinMs = -100, kDeviceOffsetMaxMs = 100;

// `joystickName` null (or empty) means the keyboard.
int DeviceOffsets_Input(const char* joystickName);
int DeviceOffsets_Visual(const char* joystickName);
// Stores the value (clamped to the range) and writes the file.
bool DeviceOffsets_SetInput(const char* joystickName, int ms);
bool DeviceOffsets_SetVisual(const char* joystickName, int ms);

// The key of a controller's offset; `kind` is "input" or "visual".
std::string DeviceOffsets_Key(const char* joystickName, const char* kind);
// A name as it appears in a key (the escaping above).
std::string DeviceOffsets_EscapeName(const char* name);
