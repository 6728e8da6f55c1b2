#pragma once
// How every page of the options menu looks: the title picture of the skin behind
// a dark panel, "OPTIONS MENU" and the page's heading at the top, its rows of
// label and value in the middle with the cursor bar, the page's notes under the
// rows, and a help line at the bottom. Pages only fill rows and notes.
#include "menus/screen_loop.h"
#include <cstdint>

constexpr int kOptionsValueSize = 64;

struct OptionsRow {
  const char* label = "";
  char value[kOptionsValueSize] = "";   // at the right; empty for an entry or action
  bool heading = false;                  // a caption between rows ("General"), never under the cursor
  bool dim = false;                      // shown, but it does nothing now (greyed)
  uint32_t valueColour = 0;              // 0: the usual colour
  // A second value in a column of its own left of `value`, for pages laid out as
  // a table (the two key sets): both values are then centred in their columns,
  // and a heading row's two values are the columns' captions.
  char value2[kOptionsValueSize] = "";
  uint32_t value2Colour = 0;
};

constexpr int kOptionsMaxRows = 20;      // rows of one page, headings included
constexpr int kOptionsVisibleRows = 14;  // rows in view; a longer page scrolls with the cursor

// The setup of every options screen: the backdrop and the menu input (both
// players' controls act, directions repeat while held).
ScreenSetup OptionsLook_Setup();

// Draws one page. `cursor` indexes `rows`; `notes` are drawn under the rows, one
// line each (null entries skipped); `prompt` (or null) stands out above the help
// line, as a capture's "Press key ..." does; `message` (or null) is a
// passing line such as "Player's Best Reset".
void OptionsLook_DrawPage(const char* heading, const OptionsRow* rows, int count, int cursor,
                          const char* const* notes, int noteCount, const char* prompt, const char* message);

// The panel's free band under a page's rows and notes, from `top` to `bottom`
// (above the message and prompt lines), where a page may draw a picture of its own.
void OptionsLook_FreeSpace(int count, const char* const* notes, int noteCount, int& top, int& bottom);

// The first row in view for a cursor on a page of `count` rows.
int OptionsLook_FirstVisible(int count, int cursor);
// The next row from `cursor` in direction `dir` (+1 or -1) that is not a heading,
// wrapping at the ends; `cursor` itself when there is none.
int OptionsLook_Step(const OptionsRow* rows, int count, int cursor, int dir);
