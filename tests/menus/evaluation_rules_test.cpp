// The evaluation's decisions: the best grade, the award, the announcer's comment
// and the order of its sounds, the controller label, and a player's outcome.
#include "evaluation_test_util.h"
#include "library/settings.h"
#include "media/input_binding.h"
#include "media/sound/sound_fx.h"
#include "menus/evaluation_rules.h"
#include "menus/evaluation_screen.h"
#include <gtest/gtest.h>
#include <vector>

namespace {
EvalOutcome player(int grade, int difficulty = 2, bool failed = false, int recordState = RECORD_NONE) {
  EvalOutcome o;
  o.active = true;
  o.grade = grade;
  o.difficulty = difficulty;
  o.failed = failed;
  o.recordState = recordState;
  return o;
}

std::vector<int> cues(const CommentPlan& p) { return std::vector<int>(p.cues, p.cues + p.count); }

// The comment with player 1 alone, or with both.
CommentPlan comment(EvalOutcome a, EvalOutcome b = EvalOutcome{}, int award = AWARD_NONE) {
  EvalOutcome two[2] = {a, b};
  return Evaluation_Comment(two, award);
}

TEST(EvaluationComment, TheBestGradeOfTheStageSpeaks) {
  EvalOutcome two[2] = {player(4), player(2)};
  EXPECT_EQ(Evaluation_BestGrade(two), 2);
  EXPECT_EQ(cues(comment(player(4), player(2))), std::vector<int>{CUE_VOICE});
  EXPECT_EQ(comment(player(4), player(2)).voice, VOICE_EVAL_AA) << "B and AA give \"eval/aa\"";
  EXPECT_EQ(comment(player(1)).voice, VOICE_EVAL_AAA);
  EXPECT_EQ(comment(player(7)).voice, VOICE_EVAL_E);
  EvalOutcome absent = player(1);
  absent.active = false;
  EXPECT_EQ(comment(player(5), absent).voice, VOICE_EVAL_C) << "a player who is not playing has no grade";
}

TEST(EvaluationComment, AnAwardPlaysTheJingleThenItsLineAfterAnyNewRecord) {
  CommentPlan extra = comment(player(2), EvalOutcome{}, AWARD_EXTRA);
  EXPECT_EQ(cues(extra), (std::vector<int>{CUE_JINGLE, CUE_VOICE}));
  EXPECT_EQ(extra.voice, VOICE_EVAL_EXTRA);
  EXPECT_EQ(comment(player(2), EvalOutcome{}, AWARD_BONUS).voice, VOICE_EVAL_BONUS);
  EXPECT_EQ(cues(comment(player(2, 2, false, RECORD_NEW), EvalOutcome{}, AWARD_EXTRA)),
            (std::vector<int>{CUE_NEW_RECORD, CUE_JINGLE, CUE_VOICE}));
  EXPECT_EQ(cues(comment(player(4), player(2, 2, false, RECORD_PERSONAL))), std::vector<int>{CUE_VOICE})
      << "a personal best is no record";
}

TEST(EvaluationComment, TheCrowdBoosAFailedEWithNothingToCelebrate) {
  CommentPlan boo = comment(player(7, 2, true));
  EXPECT_EQ(cues(boo), std::vector<int>{CUE_EFFECT});
  EXPECT_EQ(boo.effect, SND_BOO);
  // each condition alone is not enough
  EXPECT_EQ(cues(comment(player(7, 2, true, RECORD_NEW))), (std::vector<int>{CUE_NEW_RECORD, CUE_VOICE}));
  EXPECT_EQ(comment(player(7, 2, true, RECORD_PERSONAL)).voice, VOICE_EVAL_E);
  EXPECT_EQ(comment(player(7, 2, false)).voice, VOICE_EVAL_E);
  EXPECT_EQ(comment(player(6, 2, true)).voice, VOICE_EVAL_D);
  // with two players it is about the stage's best
  EXPECT_EQ(comment(player(2), player(7, 2, true)).voice, VOICE_EVAL_AA);
  EXPECT_EQ(comment(player(7), player(7, 2, true)).effect, SND_BOO);
}

TEST(EvaluationComment, EachSoundWaitsForTheOneBefore) {
  CommentPlan plan = comment(player(2, 2, false, RECORD_NEW), EvalOutcome{}, AWARD_EXTRA);
  CommentRun run;
  EXPECT_EQ(Comment_Next(plan, run, false, 1000), CUE_NEW_RECORD);
  EXPECT_FALSE(run.begun) << "the new-record line comes before the comment";
  EXPECT_EQ(Comment_Next(plan, run, true, 1500), CUE_NONE);
  EXPECT_EQ(Comment_Next(plan, run, false, 2000), CUE_JINGLE);
  EXPECT_TRUE(run.begun);
  EXPECT_EQ(Comment_Next(plan, run, true, 4000), CUE_NONE);
  EXPECT_FALSE(run.awardShown) << "the line shows with its voice, after the jingle";
  EXPECT_EQ(Comment_Next(plan, run, false, 5000), CUE_VOICE);
  EXPECT_TRUE(run.awardShown);
  EXPECT_EQ(Comment_Next(plan, run, false, 6000), CUE_NONE);
  // a sound that never reports its end holds the next one up only so long
  CommentRun stuck;
  Comment_Next(plan, stuck, false, 0);
  EXPECT_EQ(Comment_Next(plan, stuck, true, kCommentCueLongestMs - 1), CUE_NONE);
  EXPECT_EQ(Comment_Next(plan, stuck, true, kCommentCueLongestMs), CUE_JINGLE);
}

// Player 1 alone; the game has 3 regular stages unless told otherwise.
int award(EvalOutcome o, int stage, int maxStage = 3, bool extraStages = true) {
  EvalOutcome two[2] = {o, EvalOutcome{}};
  return Evaluation_Award(two, stage, maxStage, extraStages);
}

TEST(EvaluationAward, TheExtraStageFromAnAAOrBetterAliveOnAHardChartOnTheLastStage) {
  EXPECT_EQ(award(player(2, 2), 3), AWARD_EXTRA);
  EXPECT_EQ(award(player(1, 3), 3), AWARD_EXTRA) << "SMANIAC";
  EXPECT_EQ(award(player(2, 2), 3, 3, false), AWARD_NONE) << "extra stages off";
  EXPECT_EQ(award(player(2, 2), 2), AWARD_NONE) << "not the last stage";
  EXPECT_EQ(award(player(2, 2, true), 3), AWARD_NONE) << "failed";
  EXPECT_EQ(award(player(3, 2), 3), AWARD_NONE) << "grade A";
  EXPECT_EQ(award(player(1, 0), 3), AWARD_NONE) << "BASIC";
  EXPECT_EQ(award(player(1, 1), 3), AWARD_NONE) << "ANOTHER";
  EXPECT_EQ(award(player(1, 2), 6, 6), AWARD_NONE) << "unlimited stages";
  EXPECT_EQ(award(player(1, 2), 7, 6), AWARD_NONE);
  EvalOutcome two[2] = {player(4, 2), player(2, 3)};
  EXPECT_EQ(Evaluation_Award(two, 3, 3, true), AWARD_EXTRA) << "either player earns it";
  two[1].active = false;
  EXPECT_EQ(Evaluation_Award(two, 3, 3, true), AWARD_NONE) << "only players taking part";
}

TEST(EvaluationAward, TheBonusStageFromTheExtraStageAndNothingAfter) {
  EXPECT_EQ(award(player(2, 0), 4), AWARD_BONUS) << "any chart on the extra stage";
  EXPECT_EQ(award(player(3, 2), 4), AWARD_NONE);
  EXPECT_EQ(award(player(1, 2, true), 4), AWARD_NONE);
  EXPECT_EQ(award(player(1, 2), 4, 3, false), AWARD_NONE);
  EXPECT_EQ(award(player(1, 3), 5), AWARD_NONE) << "nothing after the bonus stage";
}

TEST(EvaluationOutcome, FromThePlayedChartAndTheController) {
  // 8 notes: 5 PERFECT, 1 GREAT, 1 GOOD, 1 missed
  const std::vector<int> late[2] = {{0, -20, 30, 45, -10, 70, 100}, {}};
  PlayInto(8, 2, late);
  EvalOutcome o = Evaluation_Outcome(g_players[0]);
  EXPECT_TRUE(o.active);
  EXPECT_EQ(o.steps, 7) << "the missed note was not stepped on";
  EXPECT_EQ(o.perfects, 5);
  EXPECT_DOUBLE_EQ(o.percent, (5 * 2 + 1 - 8) * 100.0 / 16);
  EXPECT_EQ(o.grade, 7);
  EXPECT_EQ(o.maxCombo, 6);
  EXPECT_DOUBLE_EQ(o.score, (double)g_players[0].scorePoints);
  EXPECT_FALSE(o.failed);
  EXPECT_FALSE(Evaluation_Outcome(g_players[1]).active);
  g_players[0].lifeState = LIFE_REVIVED;
  EXPECT_FALSE(Evaluation_Outcome(g_players[0]).failed) << "revived finishes alive";
  Player_SetStyle(g_players[0], "DOUBLE", 8, true);
  o = Evaluation_Outcome(g_players[0]);
  EXPECT_EQ(o.styleKey, 8);
  EXPECT_EQ(o.statsGroup, 1);
  EXPECT_EQ(o.counterGroup, 1);

  Bindings_Defaults();
  EXPECT_STREQ(Evaluation_InputLabel(0, 4), "Keyboard");
  Binding(0, CTL_START).lastSource = 1;
  EXPECT_STREQ(Evaluation_InputLabel(0, 4), "Keyboard") << "Start is no panel";
  Binding(1, CTL_UPRIGHT).lastSource = 1;
  EXPECT_STREQ(Evaluation_InputLabel(1, 4), "Keyboard") << "no panel of four";
  EXPECT_STREQ(Evaluation_InputLabel(1, 6), "Gamepad");
  Binding(1, CTL_DOWN).lastSource = 1;
  EXPECT_STREQ(Evaluation_InputLabel(0, 4), "Keyboard") << "the other player's pad";
  EXPECT_STREQ(Evaluation_InputLabel(0, 8), "Gamepad") << "DOUBLE's right pad";
  Bindings_Defaults();
  for (Player& p : g_players) Chart_Free(p);
  Players_Reset();
}
}  // namespace
