#pragma once
// How a settings page answers its players, and the rows it shows: pure
// functions under the page screens, so that the tests drive a page without one.
//
// Both players' controls act on the page (the menu input folds player 2's into
// player 1's). Up/Down move the cursor over the items, passing the headings and
// wrapping at the ends; Left/Right change the value under the cursor (held, they
// repeat, and "Global GAP" and the timings take bigger steps the longer they are
// held); Start changes it as Right does, carries out "DEFAULT", opens "Timing
// Calibration" and leaves on "Return"; Escape or Select leave the page.
#include "menus/options_edit.h"
#include "menus/options_look.h"
#include "menus/options_pages.h"
#include <cstdint>

struct OptionsPageState {
  int cursor = 0;               // index in the page's items
  int heldDir = 0;              // the direction of the last change, 0 none
  uint32_t heldAtMs = 0;        // when it came
  int repeats = 0;              // changes in that direction that came as repeats of a held key
};

enum OptionsPageEvent {
  OPEV_NONE,
  OPEV_MOVED,      // the cursor moved
  OPEV_CHANGED,    // a value changed (or "DEFAULT" was carried out)
  OPEV_REFUSED,    // nothing to change: the end of a range, no plug-ins
  OPEV_LEAVE,      // the players leave the page
  OPEV_OPEN,       // Start on an item that opens a screen of its own
};

// The state of a page just entered: the cursor on its first item.
OptionsPageState OptionsPage_Begin(const OptionsPageDef& page);
// One frame's menu input word at `nowMs`, applied to the edit.
OptionsPageEvent OptionsPage_Input(const OptionsPageDef& page, OptionsPageState& st, OptionsEdit& e, uint32_t input,
                                   uint32_t nowMs, const OptionsPlugins& plugins);
// The page's rows for OptionsLook_DrawPage (at most kOptionsMaxRows); returns
// their number.
int OptionsPage_Rows(const OptionsPageDef& page, const Settings& s, const OptionsPlugins& plugins, OptionsRow* rows);
// The notes under the page: its own note and the note of the item under the
// cursor. Returns their number (at most 2).
int OptionsPage_Notes(const OptionsPageDef& page, const OptionsPageState& st, const char* notes[2]);
