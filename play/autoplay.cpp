#include "play/autoplay.h"
#include "chart/chart.h"
#include "play/judge_frame.h"
#include "play/judgement.h"
#include "play/player.h"

namespace {
constexpr double kMaxBackdateMs = 100;
}

void Autoplay_SetTarget(Player& p, int note, int target) {
  if (!p.arrows || note < 0 || note >= p.arrowCount) return;
  if (target < JUDGE_PERFECT) target = JUDGE_PERFECT;
  if (target > JUDGE_MISS) target = JUDGE_MISS;
  p.arrows[note].judgement[kAutoTarget] = target;
}

void Autoplay_SetTargets(Player& p, int target) {
  for (int32_t i = 0; i < p.arrowCount && p.arrows; i++)
    if (p.arrows[i].kind == ARROW_TAP) Autoplay_SetTarget(p, i, target);
}

void Autoplay_Frame(const Player& p, const JudgeClock& clock, PlayerInput& in) {
  if (!p.arrows || !JudgeClock_Usable(clock)) return;
  uint16_t pressed = 0;
  double boo = p.windows[JUDGE_BOO];
  for (int32_t i = p.judgeFrom; i < p.arrowCount; i++) {
    const Arrow& a = p.arrows[i];
    if (a.kind != ARROW_TAP) continue;
    double d = Judge_Delta(clock, a.startPos, clock.songMs);
    if (d >= boo) break;   // nothing later is within reach yet
    if (a.status != NOTE_PENDING || a.column >= kColumnSlots) continue;
    int target = a.judgement[kAutoTarget];
    if (target < JUDGE_PERFECT || target >= JUDGE_MISS) continue;
    uint16_t bit = (uint16_t)(1u << a.column);
    if (!(d < p.windows[target]) || (pressed & bit)) continue;
    // The distance fell below the target's window since the last frame: the
    // press is stamped at the moment it crossed (just inside the window), so a
    // slow frame rate cannot turn a GOOD into a GREAT. A note the frames stepped
    // over is pressed a little in the past, at most kMaxBackdateMs.
    double back = (p.windows[target] - 1) - d;
    if (back < 0) back = 0;
    if (back > kMaxBackdateMs) back = kMaxBackdateMs;
    if (PlayerInput_Add(in, a.column, clock.songMs - (int64_t)back, i)) pressed |= bit;
  }
  in.held |= pressed;
  for (int col = 0; col < kColumnSlots; col++)
    if (p.holdNote[col] >= 0) in.held |= (uint16_t)(1u << col);
}
