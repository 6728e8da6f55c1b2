#pragma once
// The "Skin Selection" and "Announcer/Sound Selection" pages of the options menu
// (OptionsPage_Skin and OptionsPage_SoundSet, declared in options_edit.h), and
// what they decide, as functions of their own for the tests.
//
// Both pages list the installed folders ("Skins/*", "Sounds/*"), "Default" first
// under its own label, then "Return". Start on a skin makes it the skin; Start on
// a sound set sets both the effect set and the announcer set to it, and each
// further Start on the same set cycles what it sets: the effects only, the
// announcer only, both again. A field a choice does not set goes back to what it
// held before the cycle began, so two sets can be combined: one for the effects,
// another for the announcer. Each page returns 1 when it changed the working
// copy (a chosen skin or set that is no longer installed becomes "Default"), else 0.
#include "library/settings.h"
#include "menus/options_look.h"
#include <string>
#include <vector>

// The rows of a list page: one per name, the first labelled `defaultLabel`, then
// "Return". The labels point into `names`.
void SetsPage_Rows(const std::vector<std::string>& names, const char* defaultLabel, std::vector<OptionsRow>& rows);

// The value shown beside a skin: "SELECTED" for the skin of `s`, else "".
const char* SkinPage_Value(const char* name, const Settings& s);

enum SoundSetMode { SOUNDSET_BOTH = 0, SOUNDSET_FX = 1, SOUNDSET_ANNOUNCER = 2, SOUNDSET_MODES = 3 };
// "FX + Announcer", "FX Only", "Announcer Only"; "" for anything else.
const char* SoundSetMode_Label(int mode);

// The cycle of the sound set page.
struct SoundSetCycle {
  int item = -1;                 // the set chosen last (index in the list), -1 none yet
  int mode = SOUNDSET_BOTH;      // what that choice set
  char effectBefore[256] = "";   // the two fields when the cycle on `item` began
  char announcerBefore[256] = "";
};
// Start on set `item` named `name`: a set other than the last one chosen begins
// a new cycle at "FX + Announcer", the same set takes the next mode. Writes the
// effect and announcer fields of `s`; returns the mode.
int SoundSetCycle_Choose(SoundSetCycle& c, int item, const char* name, Settings& s);
// What set `name` gives in `s` (names compared without regard to case): a mode,
// or -1 when it is neither the effect set nor the announcer set.
int SoundSet_ModeIn(const char* name, const Settings& s);
// The value shown beside set `item`: the set being cycled shows what its last
// choice set; the others what they give in `s`.
const char* SoundSetPage_Value(const SoundSetCycle& c, int item, const char* name, const Settings& s);
