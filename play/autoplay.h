#pragma once
// Autoplay and the attract demo: every pending note carries a target judgement
// and is pressed by itself when its distance falls below that judgement's
// window, so the play produces that judgement. A note aimed at MISS is never
// pressed. Freezes whose head was hit are held to their end.
#include "play/judge_clock.h"

struct Player;
struct PlayerInput;

// The target of every tap record, or of one (0 PERFECT .. 4 MISS). Loading a
// chart leaves every target at PERFECT; set others after BeginPlay.
void Autoplay_SetTargets(Player& p, int target);
void Autoplay_SetTarget(Player& p, int note, int target);
// Adds this frame's automatic presses of `p` to `in` (one per column and frame),
// each aimed at its note and stamped with the moment the note came within its
// target's window, and sets the held bits of the pressed columns and of the
// freezes being held. Call it before Judge_Frame with the same clock.
void Autoplay_Frame(const Player& p, const JudgeClock& clock, PlayerInput& in);
