#include "play/begin_play.h"
#include <cstring>
#include "chart/chart.h"
#include "library/settings.h"
#include "play/combo.h"
#include "play/judgement.h"
#include "play/life.h"
#include "play/player.h"
#include "play/score.h"

namespace {
void ResetStatistics(Player& p) {
  Score_Reset(p);
  p.life = p.lifeType != LIFETYPE_NORMAL ? kLifeMax : kLifeStartNormal;
  p.lifeState = LIFE_ALIVE;
  p.recoveryLevel = kStartRecoveryLevel;
  p.combo = 0;
  p.maxCombo = 0;
  p.longComboBroken = 0;
  memset(p.judgementCounts, 0, sizeof p.judgementCounts);
  p.freezeOk = 0;
  p.stepCount = 0;
  p.freezeNg = 0;
  p.dancePoints = 0;
  p.chordBonus = 0;
  p.reviveLost = 0;
}

// A chart played again without a fresh load starts from pending records too.
void MakePending(Player& p) {
  for (int32_t i = 0; i < p.arrowCount && p.arrows; i++) {
    Arrow& a = p.arrows[i];
    if (a.kind != ARROW_TAP && a.kind != ARROW_FREEZE) continue;
    a.status = a.kind == ARROW_TAP ? NOTE_PENDING : FREEZE_WAITING;
    a.judgement[kOwnJudgement] = 0;
    a.judgement[kPressOffset] = 0;
  }
}
}  // namespace

void BeginPlay(Player& p, int stage, bool course, const CourseRules* rules) {
  g_lifeTable = Life_ComputeTable(stage, g_settings.maxStage, g_settings.difficulty);
  memcpy(p.windows, g_settings.windows, sizeof p.windows);
  p.lifeType = p.options.power <= LIFETYPE_SUDDEN_DEATH ? p.options.power : LIFETYPE_NORMAL;
  p.comboThreshold = course && rules && rules->comboPerfect ? 1 : 2;
  p.comboType = course && rules && rules->comboMode ? rules->comboMode : (uint8_t)(g_settings.comboType + 1);

  p.judgeFrom = 0;
  p.lastJudgedNote = -1;
  p.lastJudgement = kNoJudgement;
  p.lastJudgementTime = 0;
  for (int32_t& h : p.holdNote) h = -1;
  MakePending(p);

  if (!course || stage <= 1) {
    ResetStatistics(p);
    p.batteryLives = course && rules && rules->hasLives && rules->lives > 0 ? rules->lives : 0;
  } else {
    Score_NextSong(p);
  }
  if (stage == 1) p.stageScore[0] = p.stageScore[1] = 0;
}
