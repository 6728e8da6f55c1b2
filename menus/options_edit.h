#pragma once
// What the options menu edits: working copies of the settings record and the
// bindings table. The pages change the copies; when the menu is left the copies
// become the game's (g_settings, g_bindings) and are written, so a page left
// half-way never leaves the game with half a binding.
#include "library/settings.h"
#include "media/input_binding.h"
#include <cstdint>

struct OptionsEdit {
  Settings settings{};                       // from g_settings when the menu opens
  InputBinding bindings[kBindingCount]{};    // from g_bindings
  bool sortByChanged = false;                // "Sort By": the collection is rebuilt on leaving
  const char* message = nullptr;             // a passing line for the page ("Player's Best Reset")
  unsigned messageAt = 0;                    // program ms it was set
  const uint32_t* music = nullptr;           // the music under the menu (OptionsHooks::music)
};

// The pages under the main page; each runs on the shared screen loop until the
// players back out of it, editing `e`.
int OptionsPage_Game(OptionsEdit& e);
int OptionsPage_Sound(OptionsEdit& e);
int OptionsPage_Background(OptionsEdit& e);
int OptionsPage_System(OptionsEdit& e);
int OptionsPage_Keyboard(OptionsEdit& e);
int OptionsPage_Gamepad(OptionsEdit& e);
int OptionsPage_Skin(OptionsEdit& e);
int OptionsPage_SoundSet(OptionsEdit& e);
