#include "menus/evaluation_rules.h"
#include "media/input_binding.h"
#include "media/sound/sound_fx.h"
#include "menus/collection.h"
#include "menus/evaluation_screen.h"
#include "menus/profile_stats.h"
#include "play/grades.h"
#include "play/play_results.h"
#include "play/player.h"
#include "play/score.h"

namespace {
constexpr int kGradeAA = 2, kGradeE = 7;

bool earns(const EvalOutcome& o, bool needsHardChart) {
  if (!o.active || o.failed || o.grade > kGradeAA) return false;
  return !needsHardChart || o.difficulty == 2 || o.difficulty == 3;
}
}  // namespace

EvalOutcome Evaluation_Outcome(const Player& p) {
  EvalOutcome o;
  o.active = p.active != 0;
  o.number = p.number;
  o.percent = Grade_Percent(p.dancePoints, p.maxDancePoints);
  o.grade = Grade_Of(o.percent);
  o.failed = p.lifeState == LIFE_DEAD;
  o.difficulty = p.difficulty;
  o.styleKey = p.panels;
  o.statsGroup = Profile_StyleGroup(p.panels);
  o.counterGroup = Collection_StyleOf(p).group;
  o.score = (double)Score_Value(p);
  o.maxCombo = p.maxCombo;
  o.profileSlot = p.profileSlot;
  o.steps = Results_SteppedNotes(p, &o.perfects);
  return o;
}

int Evaluation_BestGrade(const EvalOutcome players[2]) {
  int best = kGradeE;
  for (int i = 0; i < 2; i++)
    if (players[i].active && players[i].grade < best) best = players[i].grade;
  return best;
}

int Evaluation_Award(const EvalOutcome players[2], int stage, int maxStage, bool extraStages) {
  // "Max Stage" 6 is unlimited: no stage is the last, so none leads to an extra one
  if (!extraStages || maxStage >= 6) return AWARD_NONE;
  bool extra = stage == maxStage, bonus = stage == maxStage + 1;
  if (!extra && !bonus) return AWARD_NONE;
  for (int i = 0; i < 2; i++)
    if (earns(players[i], extra)) return extra ? AWARD_EXTRA : AWARD_BONUS;
  return AWARD_NONE;
}

const char* Evaluation_InputLabel(int playerIndex, int panels) {
  static const Control kPanels[6] = {CTL_LEFT, CTL_DOWN, CTL_UP, CTL_RIGHT, CTL_UPLEFT, CTL_UPRIGHT};
  // the play's columns: the player's own controls, and in DOUBLE player 2's for the right pad
  const int pads[2] = {playerIndex, panels == 8 ? 1 : playerIndex};
  for (int who : pads)
    for (int c = 0; c < (panels == 6 ? 6 : 4); c++)
      if (Binding(who, kPanels[c]).lastSource == 1) return "Gamepad";
  return "Keyboard";
}

bool Evaluation_CrowdBoos(const EvalOutcome players[2]) {
  int best = Evaluation_BestGrade(players);
  for (int i = 0; i < 2; i++) {
    const EvalOutcome& o = players[i];
    if (o.active && o.grade == best && o.recordState == RECORD_NONE && o.failed && o.grade == kGradeE) return true;
  }
  return false;
}

CommentPlan Evaluation_Comment(const EvalOutcome players[2], int award) {
  CommentPlan plan;
  plan.award = award;
  for (int i = 0; i < 2; i++)
    if (players[i].active && players[i].recordState == RECORD_NEW) {
      plan.cues[plan.count++] = CUE_NEW_RECORD;
      break;
    }
  if (award != AWARD_NONE) {
    plan.cues[plan.count++] = CUE_JINGLE;
    plan.cues[plan.count++] = CUE_VOICE;
    plan.voice = award == AWARD_BONUS ? VOICE_EVAL_BONUS : VOICE_EVAL_EXTRA;
    return plan;
  }
  if (Evaluation_CrowdBoos(players)) {
    plan.cues[plan.count++] = CUE_EFFECT;
    plan.effect = SND_BOO;
    return plan;
  }
  plan.cues[plan.count++] = CUE_VOICE;
  plan.voice = VOICE_EVAL_AAA + Evaluation_BestGrade(players) - 1;
  return plan;
}

int Comment_Next(const CommentPlan& plan, CommentRun& run, bool sounding, uint32_t nowMs) {
  if (run.next >= plan.count) return CUE_NONE;
  if (run.next > 0 && sounding && nowMs - run.startedMs < kCommentCueLongestMs) return CUE_NONE;
  int cue = plan.cues[run.next++];
  run.startedMs = nowMs;
  if (cue != CUE_NEW_RECORD) run.begun = true;
  if (cue == CUE_VOICE && plan.award != AWARD_NONE) run.awardShown = true;
  return cue;
}
