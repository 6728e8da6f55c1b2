#pragma once
// The names of the bound joysticks, kept in "tarvolen.ini" as "joy.<n>.name = ..."
// beside the joystick numbers of "rkv2.inp" (numbers from 0, as stored there), so
// that a joystick plugged in under another number gets its bindings back.

// Reads the names and matches the loaded bindings to the joysticks present.
void JoystickNames_Load();
// Puts the name of every bound number into the file's table (numbers no binding
// uses lose theirs). Written with the bindings.
void JoystickNames_Store();
