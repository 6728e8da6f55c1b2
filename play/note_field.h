#pragma once
// The note field of each player: receptors with their press and beat flashes,
// the scrolling arrows with their colour animation, freeze arrows that shrink
// while held and turn grey when dropped, and the explosions of PERFECT and
// GREAT rows.
#include "play/player.h"
#include <cstdint>

struct ScrollState;

struct NoteFieldState {
  double pressedAtMs[2][kColumnSlots];   // program time of the last press per column
  struct Burst {
    double atMs;
    int row;          // flash row: 0 PERFECT, 1 GREAT, 2 GOOD, 3 held freeze
  } bursts[2][kColumnSlots];
  double freezeMarkAtMs[2][kColumnSlots];
  bool freezeMarkOk[2][kColumnSlots];
};

extern NoteFieldState g_field;

void NoteField_Reset();
void NoteField_Press(int player, int column, double nowMs);
void NoteField_Burst(int player, int column, int row, double nowMs);
void NoteField_FreezeMark(int player, int column, bool ok, double nowMs);
// The x of a column's pictures for a player.
int NoteField_ColumnX(const Player& p, int column);
void NoteField_Draw(Player& p, int playerIndex, const ScrollState& scroll, double nowMs);
