#pragma once
// The statistics lines the profile select screen shows for a profile: a label
// (drawn on the left) and a value (right-aligned), for the arcade game (mode 0)
// or the nonstop course (mode 1).
#include "library/profiles.h"

constexpr int kProfileStatLines = 7;

struct ProfileStatLine {
  char label[40];
  char value[24];
};

// The style group of the statistics for a player's panels: 0 four panels, 1 DOUBLE, 2 SOLO.
int Profile_StyleGroup(int panels);
// Fills `out` and returns the number of lines (5 in mode 0, 7 in mode 1).
int ProfileStats_Lines(const ProfileStats& st, int mode, ProfileStatLine out[kProfileStatLines]);
