// Freeze arrows: held from the judgement of the head's row to the freeze's end.
#include "chart/chart.h"
#include "play/judge.h"
#include "play/judge_internal.h"
#include "play/judgement.h"
#include "play/player.h"
#include "play/score.h"

namespace {
constexpr int kFreezeDancePoints = 6;

void Release(Player& p, int32_t freeze) {
  int col = p.arrows[freeze].column;
  if (col < kColumnSlots && p.holdNote[col] == freeze) p.holdNote[col] = -1;
}
}  // namespace

void Judge_FreezeOk(JudgePlay& jp, int pi, int freeze, int64_t ms) {
  Player& p = *jp.players[pi];
  Arrow& f = p.arrows[freeze];
  Release(p, freeze);
  f.status = FREEZE_OK;
  p.freezeOk++;
  p.dancePoints += kFreezeDancePoints;
  AddScore(p, f, JUDGE_PERFECT);
  Judge_Event(jp, JEV_FREEZE_OK, pi, -1, freeze, f.column, ms);
  Judge_ApplyLife(jp, pi, LifeDelta(JUDGE_PERFECT, p.lifeType, p.recoveryLevel), ms);
}

void Judge_FreezeNg(JudgePlay& jp, int pi, int freeze, int64_t ms) {
  Player& p = *jp.players[pi];
  Arrow& f = p.arrows[freeze];
  Release(p, freeze);
  f.status = FREEZE_NG;
  p.freezeNg++;
  if (p.recoveryLevel > 0) p.recoveryLevel--;
  Judge_Event(jp, JEV_FREEZE_NG, pi, -1, freeze, f.column, ms);
  Judge_ApplyLife(jp, pi, 2 * LifeDelta(JUDGE_MISS, p.lifeType, p.recoveryLevel), ms);
}

void Judge_FreezeStart(JudgePlay& jp, int pi, int freeze, int judgement, const JudgeClock& clock) {
  Player& p = *jp.players[pi];
  Arrow& f = p.arrows[freeze];
  if (f.status != FREEZE_WAITING) return;
  if (judgement >= JUDGE_MISS || f.column >= kColumnSlots) {
    Judge_FreezeNg(jp, pi, freeze, clock.songMs);   // never held
    return;
  }
  int32_t old = p.holdNote[f.column];
  if (old >= 0 && old < p.arrowCount && old != freeze) {
    // a new head in a column still holding: the old freeze ends here
    if (Judge_Delta(clock, p.arrows[old].endPos, clock.songMs) <= 0)
      Judge_FreezeOk(jp, pi, old, clock.songMs);
    else
      Judge_FreezeNg(jp, pi, old, clock.songMs);
  }
  f.status = FREEZE_HELD;
  p.holdNote[f.column] = freeze;
}

void Judge_Holds(JudgePlay& jp, int pi, uint16_t heldColumns, const JudgeClock& clock) {
  if (pi < 0 || pi > 1 || !jp.players[pi] || !JudgeClock_Usable(clock)) return;
  Player& p = *jp.players[pi];
  for (int col = 0; col < kColumnSlots; col++) {
    int32_t h = p.holdNote[col];
    if (h < 0) continue;
    if (!p.arrows || h >= p.arrowCount || p.arrows[h].status != FREEZE_HELD) {
      p.holdNote[col] = -1;   // nothing held there any more
      continue;
    }
    if (Judge_Delta(clock, p.arrows[h].endPos, clock.songMs) <= 0)
      Judge_FreezeOk(jp, pi, h, clock.songMs);
    else if (!(heldColumns >> col & 1))
      Judge_FreezeNg(jp, pi, h, clock.songMs);
  }
}
