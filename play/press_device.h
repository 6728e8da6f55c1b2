#pragma once
// Which controller a press came from, and that controller's offsets
// ("tarvolen.ini", library/device_offsets.h): the input offset moves the press's
// time for the judgement, the visual offset moves the player's arrows on screen.
#include "media/input_binding.h"

constexpr int kKeyboardDevice = -1;  // else a joystick number

// The controller behind a new press of `b`: the keyboard when one of its keys is
// down, else its joystick when that button is down; a press already let go is put
// on its joystick when it has a joystick button and no key.
int PressDevice_OfBinding(const InputBinding& b);
// The same for a player's column (the bindings the play reads for it).
int PressDevice_OfColumn(int player, int panels, int column);
// The controller a player is expected to use before any press: the joystick of
// the player's Left binding when that joystick is plugged in, else the keyboard.
int PressDevice_OfPlayer(int player);

// Milliseconds; 0 for a joystick number nothing is plugged in under.
int PressDevice_InputOffsetMs(int device);
int PressDevice_VisualOffsetMs(int device);
