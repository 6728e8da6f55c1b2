#pragma once
// One frame of judging for both players: their presses, the notes that passed,
// the freezes held or released. This is what the song play calls each frame.
#include <cstdint>
#include "play/judge.h"

constexpr int kMaxFramePresses = 16;

struct Press {
  int64_t ms;        // song clock of the press
  int32_t note;      // autoplay: the record it aims at; -1 for a real press
  uint8_t column;
};

struct PlayerInput {
  Press presses[kMaxFramePresses];   // new presses of this frame, oldest first
  int count;
  uint16_t held;                     // bit per column: the panels held now
};

void PlayerInput_Clear(PlayerInput& in);
// False (and nothing added) when the frame already holds kMaxFramePresses presses.
bool PlayerInput_Add(PlayerInput& in, int column, int64_t ms, int32_t note = -1);

// Clears jp.events, then for each player taking part: judges the presses in
// order, marks the misses, then follows the freezes with `held`. A clock that
// cannot be used judges nothing.
void Judge_Frame(JudgePlay& jp, const JudgeClock& clock, const PlayerInput input[2]);
