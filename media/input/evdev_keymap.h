#pragma once
// Which of our key codes each physical key of a keyboard read through evdev
// gives. Bindings take a key by the symbol SDL reports under the player's layout,
// while evdev reports the physical key, so the pairing is learnt as the player
// types: a press of an unpaired key on evdev followed (within 250 ms) by SDL's
// key-down pairs the two, the oldest press with the first key-down when several
// come together. A key is read through evdev once it is paired and through SDL
// until then. Thread-safe: evdev's reader asks, the main thread teaches.
#include <cstdint>

// Forgets every pairing and the presses waiting for one.
void EvdevKeymap_Reset();
// Our code for physical key `code`, or -1 while it is not paired.
int EvdevKeymap_Code(int evdevCode);
// An evdev press of a key that is not paired, at program time `atMs`.
void EvdevKeymap_NoteEvdevPress(int evdevCode, double atMs);
// SDL's key-down of our `code` at `atMs`: pairs it with the oldest waiting press.
// Returns the physical key paired, or -1.
int EvdevKeymap_NoteSdlPress(int code, double atMs);
// Whether our `code` comes through evdev (the SDL sampler leaves it alone).
bool EvdevKeymap_Owns(int code);
// Whether any key is paired.
bool EvdevKeymap_Any();
// `owned[code]` 1 for each of our codes that comes through evdev; returns
// whether any does.
bool EvdevKeymap_Owned(uint8_t owned[256]);
