#pragma once
// The OPTIONS item of the title menu: "OPTIONS MENU" with its main page and the
// pages under it. Everything a player may set is set here; the settings and the
// bindings are written when the menu is left (see options_pages.h for the
// settings pages, options_bindings.h for the key and gamepad pages,
// options_sets.h for the skin and sound set pages).
//
// Navigation, the same on every page and from a gamepad: Up/Down move, Left/
// Right change the value under the cursor, Start enters a page or chooses an
// item, Escape or Select backs out of a page (on the main page: leaves the menu,
// as "Return to Main Menu" does).
#include <cstdint>

// What the menu needs from above it: the actions that rebuild the library and
// reload the skin and the sound set are the shell's.
struct OptionsHooks {
  // "Reset Songlist": the song database made anew (with its progress screen),
  // the banners, courses, modes and course counts, the HTML list; the settings
  // saved. Null: the item does nothing but log.
  void (*resetSonglist)() = nullptr;
  // A new skin takes effect: its pictures, colours and fonts reloaded.
  void (*reloadSkin)() = nullptr;
  // A new sound set takes effect: its samples reloaded.
  void (*reloadSounds)() = nullptr;
  // The channel of the music playing under the menu (the title's loop), hushed
  // while "Timing Calibration" plays its beat. Null: none.
  const uint32_t* music = nullptr;
};

// Bits of the menu's result.
enum : int {
  OPTIONS_SKIN_CHANGED = 1,      // the caller reloads its own skin pictures (the title's selector)
  OPTIONS_SOUNDS_CHANGED = 2,
};

// Runs the menu until the players leave it; writes "rkv2.cfg" and "rkv2.inp"
// when anything changed, applies "Sort By", the skin and the sound set.
int OptionsMenu(const OptionsHooks& hooks);
