#include "play/combo.h"
#include "play/judgement.h"
#include "play/player.h"

namespace {
void LowerRecovery(Player& p, int by) {
  p.recoveryLevel -= by;
  if (p.recoveryLevel < 0) p.recoveryLevel = 0;
}
}  // namespace

ComboChange Combo_Row(Player& p, int notes, int judgement) {
  ComboChange c{};
  if (judgement >= JUDGE_GOOD) {
    if (p.combo >= kLongCombo) p.longComboBroken = 1;
    if (p.batteryLives > 0) {
      p.batteryLives--;
      c.lifeLost = true;
      c.livesOut = p.batteryLives == 0;
    }
    c.broken = p.combo;
    p.combo = 0;
  }
  if (judgement < p.comboThreshold) {
    for (int i = 0; i < notes; i++) {
      p.combo++;
      if (p.combo % 10 == 0 && p.recoveryLevel < kMaxRecoveryLevel) p.recoveryLevel++;
      if (p.combo % 100 == 0) {
        int hundreds = p.combo / 100;
        c.milestone = hundreds > kMaxMilestone ? kMaxMilestone : hundreds;
      }
      if (p.combo > kComboWrapAbove) p.combo = kComboWrapTo;
    }
    if (p.combo > p.maxCombo) p.maxCombo = p.combo;
  }
  if (judgement == JUDGE_BOO) LowerRecovery(p, 1);
  if (judgement == JUDGE_MISS) LowerRecovery(p, 3);
  return c;
}
