#pragma once
// The rules of changing a bindings table from the key and gamepad pages of the
// options menu, apart from any screen:
// - A key (or joystick button) goes to one control of a player only: one that
//   another control of the same player holds is moved, the other control loses
//   it. Within one control the two key sets never hold the same key either.
// - A move that would leave the other control with no key and no button at all
//   is refused; the table stays as it was.
// - The other player's bindings are never touched: both players may share a key
//   or a button, so that one pad or one dance mat can serve whichever side a
//   lone player joins. The page tells the player when that happens.
// - "Reset to Default" on the key page puts back the default keys and leaves the
//   buttons; on the gamepad page it clears the buttons and leaves the keys, and
//   a player who would then have a control with nothing left gets the default
//   keys back as well.
#include "media/input_binding.h"
#include <cstddef>

constexpr int kKeySets = 2;   // key1 is "(Set 1/2)", key2 "(Set 2/2)"

enum BindOutcome {
  BIND_TAKEN,       // the binding changed
  BIND_UNCHANGED,   // the control already had exactly that
  BIND_REFUSED,     // it would have left another control with nothing
};

struct BindReport {
  BindOutcome outcome = BIND_UNCHANGED;
  int movedFrom = -1;    // the control of the same player that lost it, -1 none
  int refusedFor = -1;   // with BIND_REFUSED: the control that would have been left bare
  int sharedWith = -1;   // a control of the other player that holds it too, -1 none
};

// The binding of `player`'s control `c` in `table` (16 entries, player 1 first).
inline InputBinding& TableBinding(InputBinding* table, int player, int c) { return table[player * CTL_COUNT + c]; }
inline const InputBinding& TableBinding(const InputBinding* table, int player, int c) {
  return table[player * CTL_COUNT + c];
}

// The key of a set (0 or 1), 0 for none.
int Binding_Key(const InputBinding& b, int set);
bool Binding_HasButton(const InputBinding& b);
// Whether anything at all (a key of either set, or a button) works the control.
bool Binding_HasAnything(const InputBinding& b);

// Binds key `code` (1..255) as set `set` of `player`'s control `c`.
BindReport Bindings_SetKey(InputBinding* table, int player, int c, int set, int code);
// Binds button `button` of joystick `joystick` (both from 0) to `player`'s control `c`.
BindReport Bindings_SetButton(InputBinding* table, int player, int c, int joystick, int button);

// "Reset to Default" of the key page.
void Bindings_ResetKeys(InputBinding* table);
// "Reset to Default" of the gamepad page. Returns bit p set for each player p
// whose default keys were put back too.
int Bindings_ResetButtons(InputBinding* table);

// What a page shows for a binding: the key's name or "n/a"; "Joy %d:%d" (the
// joystick counted from 1) or "n/a".
void Binding_KeyText(const InputBinding& b, int set, char* out, size_t size);
void Binding_ButtonText(const InputBinding& b, char* out, size_t size);
// "Up:", "Down:" ... "Start:".
const char* Control_Label(int c);
// The line a page shows after a capture ("W moved from Down:", ...), or an empty
// text when there is nothing to say. `what` is the key's or button's text.
void BindReport_Message(const BindReport& r, int player, const char* what, char* out, size_t size);
