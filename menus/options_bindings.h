#pragma once
// The "Keyboard Configuration" and "Gamepad Configuration" pages of the options
// menu (OptionsPage_Keyboard, OptionsPage_Gamepad, declared in options_edit.h).
// They edit only the working copy of the bindings; the menu makes it the game's
// when it is left ("Changes will take effect when menu is exited.").
//
// Each page first lists "Define Player 1 Keys" / "Define Player 2 Keys" (on the
// gamepad page "... Controls"), "Reset to Default" and "Return".
//
// Choosing a player opens that player's table and at once walks through the
// controls, asking for each in turn with the prompt:
// - Keys: a table of the eight controls with the two key sets side by side,
//   "(Set 1/2)" and "(Set 2/2)"; the walk goes down Set 1, then down Set 2
//   (sixteen inputs). TAB skips an input, keeping its key.
// - Buttons: the eight controls with their keys (greyed, to tell them apart)
//   and their button ("Joy 1:3", or "n/a"); the walk goes from Up to Start, and
//   the first button pressed on any joystick is taken. TAB skips.
// Escape stops the walk (what was bound stays) and leaves the player on the
// table, where Up/Down pick a control, Left/Right the set, and Start asks for
// that one key alone ("Press key to use for this control.": TAB is then a key
// like any other, so it can be bound) or that one button. Escape or Select
// backs out, as "Return" does.
//
// The rules of a binding (moved from another control of the same player, never
// taking a control's last key or button, shared with the other player) are in
// binding_rules.h; a page tells the player what happened in its passing line.
// "Reset to Default" puts back the default keys (key page) or clears every
// button (gamepad page).
//
// While a capture waits the page reads the raw keys and buttons, not the menu
// input word, and nothing blocks a frame; the window's close button backs out
// of every page as elsewhere. After a capture the menu input is ignored until
// every key and button is up, so the key just bound does not move the cursor.
//
// Both functions return 1 when the page changed the bindings, else 0.
#include "menus/options_edit.h"
