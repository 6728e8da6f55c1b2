#pragma once
// The players' panels during play: which columns are held and which were newly
// pressed, each press with the program time at which it happened: the time its
// key or button edge was seen (sampled about every millisecond, or the kernel's
// time for a pad read through evdev), and for scripted input the time of its event.
#include "chart/chart.h"
#include "media/input/input.h"
#include <cstdint>

struct PanelPress {
  int column;
  double atMs;   // program clock (Clock_MsPrecise)
};

// A column may be pressed more than once in a frame (press, release, press).
struct PanelState {
  bool held[kColumnSlots];
  PanelPress presses[kColumnSlots];
  int pressCount;
};

// The binding behind a column of a player with 4, 6 or 8 panels (8: the first
// pad is player 1's bindings, the second player 2's): the control and the player
// whose bindings are used. False for a column the panels do not have.
bool PlayInput_ColumnBinding(int player, int panels, int column, int& bindPlayer, Control& c);

// The bindings of each column of a player: 4, 6 or 8 panels.
void PlayInput_Read(int player, int panels, double nowMs, PanelState& out);
// The play starts: edges before now are not presses; what is held stays held.
void PlayInput_Reset();
// Writes each pad's measured report interval to the log (at the play's end).
void PlayInput_LogPads();
