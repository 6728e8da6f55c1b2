#pragma once
// The step data of one chart key: the counting pass that sizes the arrays and
// the parsing pass that fills them with Arrow records.
#include <cstdint>
#include <string_view>
#include "chart/chart.h"

struct Player;

enum StepLayout {
  LAYOUT_SINGLE,   // 4 panels, one player
  LAYOUT_SOLO,     // 6 panels
  LAYOUT_DOUBLE,   // 8 panels: left pad data ":" right pad data
  LAYOUT_COUPLE,   // BATTLE: player 1 data ":" player 2 data
};

// One player's array being filled.
struct StepTarget {
  Player* player;          // its modifiers and note field
  Arrow* arrows;
  int32_t capacity;
  int32_t used;
  int32_t pixelsPerBeat;
};

// Row characters: bit 0 Left, 1 Down, 2 Up, 3 Right, 4 Up-Left, 5 Up-Right;
// 0 for the empty rows "0" and "5", -1 for every other character.
int Steps_RowMask(unsigned char c);

// Colour class of a position (0 on the beat, 1 on the half beat, 2 other) and
// its place in the beat for the colour animation.
void Steps_Colour(double pos, int& colourClass, int& beatPhase);

// Records the parsing pass can create for each of the two arrays (the second
// is used by LAYOUT_COUPLE only). Every arrow character counts its arrows and
// every freeze marker its columns, so the arrays always have room.
void Steps_Count(std::string_view data, StepLayout layout, int64_t records[2]);

// Fills targets[0] (and targets[1] for LAYOUT_COUPLE) from the data; REVERSE is
// applied to each array as it is finished, and DOUBLE's two halves are put in
// order of position. `shuffle` is the SHUFFLE permutation of the four panels.
void Steps_Parse(std::string_view data, StepLayout layout, StepTarget* targets, const int shuffle[4]);

// Puts records in order of startPos, keeping equal ones in their order and
// every freezeLink pointing at the same record.
void Steps_SortByStart(Arrow* arrows, int32_t count);
