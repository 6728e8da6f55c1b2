#include "play/life.h"
#include "play/judgement.h"
#include "play/player.h"

LifeTable g_lifeTable = {{10, 5, 0, 0, 0}};

namespace {
constexpr int kUnlimitedStages = 6;
constexpr double kStageSixOn = 0.769231;   // 1 / 1.3, as the later stages use it
}

LifeTable Life_ComputeTable(int stage, int maxStage, int difficulty) {
  if (stage < 0) stage = 0;
  if (maxStage < 1) maxStage = 1;   // a record that escaped the load rules must not divide by 0
  double hardness = (difficulty + 1) * 0.2;
  double factor = stage <= 5 ? stage / (maxStage * 1.3) + hardness : hardness + kStageSixOn;
  LifeTable t{};
  t.gain[JUDGE_PERFECT] = 10;
  t.gain[JUDGE_GREAT] = 5;
  bool goodCosts = maxStage < kUnlimitedStages && (stage == maxStage || difficulty > 6);
  t.gain[JUDGE_GOOD] = goodCosts ? (int32_t)(factor * 3) : 0;
  t.gain[JUDGE_BOO] = (int32_t)(factor * 25);
  t.gain[JUDGE_MISS] = (int32_t)(factor * 50);
  return t;
}

int LifeDelta(const LifeTable& table, int judgement, int lifeType, int recoveryLevel) {
  if (judgement < JUDGE_PERFECT || judgement > JUDGE_MISS) return 0;
  if (recoveryLevel < 0) recoveryLevel = 0;
  if (recoveryLevel > 9) recoveryLevel = 9;
  int d;
  if (judgement <= JUDGE_GREAT)
    d = (recoveryLevel / 6 + 1) * table.gain[judgement];
  else
    d = -3 * (table.gain[judgement] / (recoveryLevel / 2 + 2));
  if (lifeType == LIFETYPE_SUDDEN_DEATH && judgement >= JUDGE_GOOD) d = kSuddenDeathLoss;
  if (lifeType == LIFETYPE_NO_RECOVERY && d > 0) d = 0;
  return d;
}

int LifeDelta(int judgement, int lifeType, int recoveryLevel) {
  return LifeDelta(g_lifeTable, judgement, lifeType, recoveryLevel);
}

bool Life_Applies(const Player& p, const LifeRules& rules) {
  if (p.lifeState == LIFE_ALIVE || p.lifeState == LIFE_REVIVED) return true;
  return p.lifeState == LIFE_DEAD && rules.twoPlayer && rules.revive && !p.reviveLost;
}

int Life_Apply(Player& p, int delta, const LifeRules& rules) {
  if (!Life_Applies(p, rules)) return 0;
  int flags = 0;
  int before = p.life;
  int64_t life = (int64_t)before + delta;
  if (life < 1 && (p.lifeState == LIFE_ALIVE || p.lifeState == LIFE_REVIVED) && before > 0) {
    life = kLifeMin;
    p.lifeState = LIFE_DEAD;
    flags |= LIFE_CHANGE_DIED;
    // both out: the one who fell last gets no second chance
    if (rules.twoPlayer && rules.other && rules.other->lifeState == LIFE_DEAD) p.reviveLost = 1;
  }
  if (life > kLifeReviveLine && p.lifeState == LIFE_DEAD && before <= kLifeReviveLine) {
    p.lifeState = LIFE_REVIVED;
    flags |= LIFE_CHANGE_REVIVED;
  }
  if (life < kLifeMin) life = kLifeMin;
  if (life > kLifeMax) life = kLifeMax;
  p.life = (int32_t)life;
  if (before < kLifeMax && p.life >= kLifeMax) flags |= LIFE_CHANGE_FULL;
  if (before >= kLifeDangerLine && p.life < kLifeDangerLine && !(flags & LIFE_CHANGE_DIED)) flags |= LIFE_CHANGE_DANGER;
  return flags;
}

int Life_Fail(Player& p) {
  bool wasDead = p.lifeState == LIFE_DEAD;
  p.life = kLifeMin;
  p.lifeState = LIFE_DEAD;
  p.reviveLost = 1;
  return wasDead ? 0 : LIFE_CHANGE_DIED;
}
