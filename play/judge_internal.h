#pragma once
// Shared between the parts of the judgement; not for other callers.
#include <cstdint>
#include "play/judge.h"
#include "play/life.h"

struct Player;

LifeRules Judge_LifeRules(const JudgePlay& jp, int player);
// A gauge change with its events and announcer cues.
void Judge_ApplyLife(JudgePlay& jp, int player, int delta, int64_t ms);
void Judge_Event(JudgePlay& jp, int kind, int player, int judgement, int32_t note, int32_t value, int64_t ms);
// Moves the player's scan start past records that need nothing more.
void Judge_Advance(Player& p);
// The freeze of a head whose row was judged `judgement`: held from now on, or NG.
void Judge_FreezeStart(JudgePlay& jp, int player, int freeze, int judgement, const JudgeClock& clock);
void Judge_FreezeOk(JudgePlay& jp, int player, int freeze, int64_t ms);
void Judge_FreezeNg(JudgePlay& jp, int player, int freeze, int64_t ms);
