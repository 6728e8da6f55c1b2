#pragma once
// Input: the keyboard as 256 DIK scan codes, joysticks and dance mats, the
// binding tests with their press, release and repeat edges, key capture for
// the binding screens, joystick menu direction, key names and the menu input
// word. Scripted input ("/input:") is merged with the real devices.
#include "media/input_binding.h"
#include <cstddef>
#include <cstdint>

// ---- Keyboard ----
// Cooperation flags, as start-up composes them from "/key:" options.
constexpr int kKeyExclusive = 1, kKeyNonExclusive = 2, kKeyForeground = 4, kKeyBackground = 8, kKeyNoWinKey = 16;
constexpr int kKeyboardInitRefused = 4;  // the cooperation level was refused

// Returns 0, or kKeyboardInitRefused when the flags do not name exactly one of
// exclusive / non-exclusive and one of foreground / background, or ask for
// exclusive background use (0 is always refused). The window need not be open.
int Keyboard_Init(int cooperationFlags, bool useSDL);
void Keyboard_Shutdown();
// Refreshes the key state (and the joysticks): drains the window's events,
// reads SDL's key state, keys that went down and up since the last poll count
// as down once, and scripted keys are added.
void Keyboard_Poll();
bool Keyboard_IsDown(int code);
bool Keyboard_IsExcluded(int code);
// Polls; returns the lowest scan code 1..254 that is down and bindable, 0 when
// none (or when the window does not have focus: then only scripted keys count).
int Keyboard_CaptureKey();
const uint8_t* Keyboard_State();
// The DIK scan code of an SDL 1.2 key symbol on a US layout, 0 for none.
int Keyboard_ScanCodeForSym(int sym);
// Called by the window's event pump for every key-down event.
void Keyboard_NoteKeyDown(int sym);

// ---- Joysticks ----
constexpr int kMaxJoysticks = 16;
void Joystick_Init();
void Joystick_Shutdown();
void Joystick_Poll();
int Joystick_Count();
// The name of real joystick `joystick` as the system reports it; null when none is open there.
const char* Joystick_Name(int joystick);
bool Joystick_IsPresent(int joystick);
bool Joystick_IsButtonDown(const InputBinding& b);
// The first pressed button (joysticks in order, buttons from 0) is written to
// `out` as source 1, joystick, button.
bool Joystick_CaptureButton(InputBinding& out);
// 0, or 1 up, 2 down, 3 left, 4 right; an event only when the direction differs
// from the previous call's, so a held stick gives one event.
int Joystick_MenuDirection();
// The real joysticks alone, without the script: whether n was opened, its
// button count, and its buttons as SDL reports them now (after the update the
// caller made).
bool Joystick_IsReal(int n);
int Joystick_RealButtonCount(int n);
bool Joystick_ReadReal(int n, uint32_t* mask);

// ---- Bindings ----
// Reads every device once: the keyboard and the joysticks.
void Input_Poll();
bool Input_IsHeld(const InputBinding& b);
bool Input_Pressed(InputBinding& b);
bool Input_Released(InputBinding& b);
// Press with auto-repeat; timeMs is the time since the screen began listening
// (0 resets the shared repeat clock).
bool Input_Repeat(InputBinding& b, uint32_t timeMs);

// ---- Key names ----
// Writes the key's display name; returns 1, or 0 (and "(%2x)") for an unnamed key.
int KeyName(int code, char* out, size_t size);

// ---- Menu input word ----
constexpr uint32_t MENU_LEFT = 0x1, MENU_DOWN = 0x2, MENU_UP = 0x4, MENU_RIGHT = 0x8, MENU_UPLEFT = 0x10,
                   MENU_UPRIGHT = 0x20, MENU_START = 0x40, MENU_SELECT = 0x80;
constexpr uint32_t MENU_P2_SHIFT = 8;  // player 2: the same bits shifted left by 8
constexpr uint32_t MENU_ESCAPE = 0x10000;
constexpr uint32_t MENU_DIRECTIONS = (MENU_LEFT | MENU_DOWN | MENU_UP | MENU_RIGHT) * 0x101;
constexpr uint32_t MENU_REPEAT_ALL = 0xFFFF;

// A menu screen starts listening: the repeat clock is reset.
void MenuInput_Begin();
// Polls the devices and returns this frame's word. Controls whose bits are in
// `repeatMask` repeat while held (after 160 ms of listening, then every 125 ms);
// the others give one bit per press. Escape is one bit per press. With
// onePlayer, player 2's bits are folded into player 1's.
uint32_t MenuInput_Read(uint32_t repeatMask, bool onePlayer);
// The same from the current device state, at `listenMs` since the screen began
// listening, without polling.
uint32_t MenuInput_Word(uint32_t listenMs, uint32_t repeatMask, bool onePlayer);
