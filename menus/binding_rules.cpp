#include "menus/binding_rules.h"
#include "library/settings.h"
#include "media/input/input.h"
#include <cstdio>

namespace {
const char* const kControlLabels[CTL_COUNT] = {"Up:", "Down:", "Left:", "Right:", "Up Left:", "Up Right:",
                                               "Select:", "Start:"};
const char* const kControlNames[CTL_COUNT] = {"Up", "Down", "Left", "Right", "Up Left", "Up Right", "Select", "Start"};

void clearKey(InputBinding& b, int set) { (set == 0 ? b.key1 : b.key2) = 0; }

void clearButton(InputBinding& b) {
  b.joystick = -1;
  b.button = -1;
}

bool holdsKey(const InputBinding& b, int code) { return Binding_Key(b, 0) == code || Binding_Key(b, 1) == code; }

bool holdsButton(const InputBinding& b, int joystick, int button) {
  return Binding_HasButton(b) && b.joystick == joystick && b.button == button;
}

const char* controlName(int c) { return c >= 0 && c < CTL_COUNT ? kControlNames[c] : ""; }

// Takes from every control of `player` but `c` what `take` removes, on a copy of
// the player's bindings; the table changes only when no control is left bare.
template <class Take>
bool takeFromOthers(InputBinding* table, int player, int c, BindReport& r, Take take) {
  InputBinding trial[CTL_COUNT];
  for (int k = 0; k < CTL_COUNT; k++) trial[k] = TableBinding(table, player, k);
  for (int k = 0; k < CTL_COUNT; k++) {
    if (k == c || !take(trial[k])) continue;
    if (r.movedFrom < 0) r.movedFrom = k;
    if (!Binding_HasAnything(trial[k])) {
      r.outcome = BIND_REFUSED;
      r.refusedFor = k;
      r.movedFrom = -1;
      return false;
    }
  }
  for (int k = 0; k < CTL_COUNT; k++) TableBinding(table, player, k) = trial[k];
  return true;
}

// The first control of `player` whose binding passes `test`, -1 none.
template <class Test>
int findControl(InputBinding* table, int player, Test test) {
  for (int c = 0; c < CTL_COUNT; c++)
    if (test(TableBinding(table, player, c))) return c;
  return -1;
}
}  // namespace

int Binding_Key(const InputBinding& b, int set) {
  int code = set == 0 ? b.key1 : b.key2;
  return code > 0 ? code : 0;
}

bool Binding_HasButton(const InputBinding& b) { return b.joystick >= 0 && b.button >= 0; }

bool Binding_HasAnything(const InputBinding& b) {
  return Binding_Key(b, 0) || Binding_Key(b, 1) || Binding_HasButton(b);
}

BindReport Bindings_SetKey(InputBinding* table, int player, int c, int set, int code) {
  BindReport r;
  r.sharedWith = findControl(table, 1 - player, [code](const InputBinding& b) { return holdsKey(b, code); });
  if (Binding_Key(TableBinding(table, player, c), set) == code) return r;
  bool taken = takeFromOthers(table, player, c, r, [code](InputBinding& b) {
    bool held = holdsKey(b, code);
    for (int s = 0; s < kKeySets; s++)
      if (Binding_Key(b, s) == code) clearKey(b, s);
    return held;
  });
  if (!taken) return r;
  InputBinding& own = TableBinding(table, player, c);
  if (Binding_Key(own, 1 - set) == code) clearKey(own, 1 - set);   // never one key in both sets
  (set == 0 ? own.key1 : own.key2) = code;
  r.outcome = BIND_TAKEN;
  return r;
}

BindReport Bindings_SetButton(InputBinding* table, int player, int c, int joystick, int button) {
  BindReport r;
  auto holds = [joystick, button](const InputBinding& b) { return holdsButton(b, joystick, button); };
  r.sharedWith = findControl(table, 1 - player, holds);
  if (holds(TableBinding(table, player, c))) return r;
  bool taken = takeFromOthers(table, player, c, r, [&holds](InputBinding& b) {
    if (!holds(b)) return false;
    clearButton(b);
    return true;
  });
  if (!taken) return r;
  InputBinding& own = TableBinding(table, player, c);
  own.joystick = joystick;
  own.button = (int8_t)button;
  r.outcome = BIND_TAKEN;
  return r;
}

void Bindings_ResetKeys(InputBinding* table) {
  InputBinding defaults[kBindingCount];
  Bindings_DefaultTable(defaults);
  for (int i = 0; i < kBindingCount; i++) {
    table[i].key1 = defaults[i].key1;
    table[i].key2 = defaults[i].key2;
  }
}

int Bindings_ResetButtons(InputBinding* table) {
  InputBinding defaults[kBindingCount];
  Bindings_DefaultTable(defaults);
  int restored = 0;
  for (int player = 0; player < 2; player++) {
    bool bare = false;
    for (int c = 0; c < CTL_COUNT; c++) {
      InputBinding& b = TableBinding(table, player, c);
      clearButton(b);
      bare = bare || !Binding_HasAnything(b);
    }
    if (!bare) continue;
    // Putting back only the bare control's key could take it from another
    // control and leave that one bare: the player's whole default set is safe.
    for (int c = 0; c < CTL_COUNT; c++) {
      TableBinding(table, player, c).key1 = TableBinding(defaults, player, c).key1;
      TableBinding(table, player, c).key2 = TableBinding(defaults, player, c).key2;
    }
    restored |= 1 << player;
  }
  return restored;
}

void Binding_KeyText(const InputBinding& b, int set, char* out, size_t size) {
  if (!out || !size) return;
  int code = Binding_Key(b, set);
  if (!code) snprintf(out, size, "n/a");
  else KeyName(code, out, size);
}

void Binding_ButtonText(const InputBinding& b, char* out, size_t size) {
  if (!out || !size) return;
  if (Binding_HasButton(b)) snprintf(out, size, "Joy %d:%d", b.joystick + 1, (int)b.button);
  else snprintf(out, size, "n/a");
}

const char* Control_Label(int c) { return c >= 0 && c < CTL_COUNT ? kControlLabels[c] : ""; }

void BindReport_Message(const BindReport& r, int player, const char* what, char* out, size_t size) {
  if (!out || !size) return;
  out[0] = 0;
  if (r.outcome == BIND_REFUSED) {
    snprintf(out, size, "%s stays with %s: it would have no key or button left", what, controlName(r.refusedFor));
    return;
  }
  char shared[48] = "";
  if (r.sharedWith >= 0) snprintf(shared, sizeof shared, "Player %d's %s", 2 - player, controlName(r.sharedWith));
  bool moved = r.outcome == BIND_TAKEN && r.movedFrom >= 0;
  if (moved && shared[0])
    snprintf(out, size, "%s moved from %s (it is also %s)", what, controlName(r.movedFrom), shared);
  else if (moved)
    snprintf(out, size, "%s moved from %s", what, controlName(r.movedFrom));
  else if (shared[0])
    snprintf(out, size, "%s is also %s", what, shared);
}
