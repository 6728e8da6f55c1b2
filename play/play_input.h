#pragma once
// The players' panels during play: which columns are held and which were newly
// pressed, each press with the program time at which it happened (for scripted
// input the exact time of its event, else the time the devices were read).
#include "chart/chart.h"
#include <cstdint>

struct PanelPress {
  int column;
  double atMs;   // program clock (Clock_MsPrecise)
};

struct PanelState {
  bool held[kColumnSlots];
  PanelPress presses[kColumnSlots];
  int pressCount;
};

// The bindings of each column of a player: 4, 6 or 8 panels (8: the first pad
// is player 1's bindings, the second player 2's).
void PlayInput_Read(int player, int panels, double nowMs, PanelState& out);
void PlayInput_Reset();
