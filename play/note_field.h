#pragma once
// The note field of each player: receptors with their press and beat flashes,
// the scrolling arrows with their colour animation, freeze arrows that shrink
// while held and turn grey when dropped, and the explosions of PERFECT and
// GREAT rows.
#include "play/player.h"
#include <cstdint>

struct ScrollState;

// The appearance modifier (option byte 2).
constexpr uint8_t APPEAR_VISIBLE = 0, APPEAR_HIDDEN = 1, APPEAR_SUDDEN = 2, APPEAR_STEALTH = 3;

// Explosions take the skin's combo colours once a combo has reached this.
constexpr int kComboColoursFrom = 100;

constexpr int kHoldSlots = 32;   // freezes per player whose last held place is remembered

struct NoteFieldState {
  double pressedAtMs[2][kColumnSlots];   // program time of the last press per column
  struct Burst {
    double atMs;
    int row;          // flash row: 0 PERFECT, 1 GREAT, 2 GOOD, 3 held freeze
    uint32_t colour;  // tint, drawn from the skin's colour list when the burst began
  } bursts[2][kColumnSlots];
  double freezeMarkAtMs[2][kColumnSlots];
  bool freezeMarkOk[2][kColumnSlots];
  // Where each held freeze was last held (chart position, sixteenths): a dropped
  // freeze scrolls away from there. `recordPlusOne` 0 is a free slot.
  struct Hold {
    int32_t recordPlusOne;
    double chartPos;
  } holds[2][kHoldSlots];
  int nextHold[2];
  int picturesDrawn;   // pictures the last NoteField_Draw put on screen
  // The player's controller's visual offset: the arrows are drawn as they will be
  // this many milliseconds later (set by the play from the last press's device).
  double visualOffsetMs[2];
  int visualDevice[2];     // the device of the player's last press
  bool visualDeviceSeen[2];
};


void NoteField_Reset(NoteFieldState& st);
void NoteField_Press(NoteFieldState& st, int player, int column, double nowMs);
// A burst on the receptor of `column`. PERFECT and GREAT bursts draw their tint
// from the skin: the regular colour of the judgement, or one of its combo
// colours while the player's combo is kComboColoursFrom or more.
void NoteField_Burst(NoteFieldState& st, int player, int column, int row, double nowMs);
uint32_t NoteField_ExplosionColour(const Player& p, int row);
void NoteField_FreezeMark(NoteFieldState& st, int player, int column, bool ok, double nowMs);
// The x of a column's pictures for a player.
int NoteField_ColumnX(const Player& p, int column);
void NoteField_Draw(NoteFieldState& st, Player& p, int playerIndex, const ScrollState& scroll, double nowMs);
