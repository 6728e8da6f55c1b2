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

TEST(EvaluationComment, TheBestGradeOfTheStageSpeaks) {
  EvalOutcome two[2] = {player(4), player(2)};
  EXPECT_EQ(Evaluation_BestGrade(two), 2);
  CommentPlan c = Evaluation_Comment(two, AWARD_NONE);
  EXPECT_EQ(cues(c), std::vector<int>{CUE_VOICE});
  EXPECT_EQ(c.voice, VOICE_EVAL_AA);

  EvalOutcome aaa[2] = {player(1), EvalOutcome{}};
  EXPECT_EQ(Evaluation_Comment(aaa, AWARD_NONE).voice, VOICE_EVAL_AAA);
  EvalOutcome e[2] = {EvalOutcome{}, player(7)};
  EXPECT_EQ(Evaluation_Comment(e, AWARD_NONE).voice, VOICE_EVAL_E);
  EvalOutcome inactiveBest[2] = {player(5), player(1)};
  inactiveBest[1].active = false;
  EXPECT_EQ(Evaluation_BestGrade(inactiveBest), 5) << "a player who is not playing has no grade";
  EXPECT_EQ(Evaluation_Comment(inactiveBest, AWARD_NONE).voice, VOICE_EVAL_C);
}

TEST(EvaluationComment, AnAwardPlaysTheJingleThenItsLine) {
  EvalOutcome one[2] = {player(2), EvalOutcome{}};
  CommentPlan extra = Evaluation_Comment(one, AWARD_EXTRA);
  EXPECT_EQ(cues(extra), (std::vector<int>{CUE_JINGLE, CUE_VOICE}));
  EXPECT_EQ(extra.voice, VOICE_EVAL_EXTRA);
  EXPECT_EQ(Evaluation_Comment(one, AWARD_BONUS).voice, VOICE_EVAL_BONUS);
  one[0].recordState = RECORD_NEW;
  EXPECT_EQ(cues(Evaluation_Comment(one, AWARD_EXTRA)), (std::vector<int>{CUE_NEW_RECORD, CUE_JINGLE, CUE_VOICE}));
  one[0].recordState = RECORD_PERSONAL;
  EXPECT_EQ(cues(Evaluation_Comment(one, AWARD_NONE)), std::vector<int>{CUE_VOICE}) << "a personal best is no record";
}

TEST(EvaluationComment, TheCrowdBoosAFailedEWithNothingToCelebrate) {
  EvalOutcome failed[2] = {player(7, 2, true), EvalOutcome{}};
  EXPECT_TRUE(Evaluation_CrowdBoos(failed));
  CommentPlan c = Evaluation_Comment(failed, AWARD_NONE);
  EXPECT_EQ(cues(c), std::vector<int>{CUE_EFFECT});
  EXPECT_EQ(c.effect, SND_BOO);

  // each of the three conditions alone is not enough
  EvalOutcome newRecord[2] = {player(7, 2, true, RECORD_NEW), EvalOutcome{}};
  EXPECT_FALSE(Evaluation_CrowdBoos(newRecord));
  EXPECT_EQ(cues(Evaluation_Comment(newRecord, AWARD_NONE)), (std::vector<int>{CUE_NEW_RECORD, CUE_VOICE}));
  EvalOutcome personal[2] = {player(7, 2, true, RECORD_PERSONAL), EvalOutcome{}};
  EXPECT_FALSE(Evaluation_CrowdBoos(personal));
  EvalOutcome alive[2] = {player(7, 2, false), EvalOutcome{}};
  EXPECT_FALSE(Evaluation_CrowdBoos(alive));
  EXPECT_EQ(Evaluation_Comment(alive, AWARD_NONE).voice, VOICE_EVAL_E);
  EvalOutcome gradeD[2] = {player(6, 2, true), EvalOutcome{}};
  EXPECT_FALSE(Evaluation_CrowdBoos(gradeD));
  EXPECT_EQ(Evaluation_Comment(gradeD, AWARD_NONE).voice, VOICE_EVAL_D);

  // with two players it is about the stage's best
  EvalOutcome oneGood[2] = {player(2), player(7, 2, true)};
  EXPECT_FALSE(Evaluation_CrowdBoos(oneGood));
  EXPECT_EQ(Evaluation_Comment(oneGood, AWARD_NONE).voice, VOICE_EVAL_AA);
  EvalOutcome bothE[2] = {player(7, 2, false), player(7, 2, true)};
  EXPECT_TRUE(Evaluation_CrowdBoos(bothE));
}

TEST(EvaluationComment, EachSoundWaitsForTheOneBefore) {
  EvalOutcome one[2] = {player(2, 2, false, RECORD_NEW), EvalOutcome{}};
  CommentPlan plan = Evaluation_Comment(one, AWARD_EXTRA);
  CommentRun run;
  EXPECT_EQ(Comment_Next(plan, run, false, 1000), CUE_NEW_RECORD);
  EXPECT_FALSE(run.begun) << "the new-record line comes before the comment";
  EXPECT_EQ(Comment_Next(plan, run, true, 1500), CUE_NONE);
  EXPECT_EQ(Comment_Next(plan, run, false, 2000), CUE_JINGLE);
  EXPECT_TRUE(run.begun);
  EXPECT_FALSE(run.awardShown);
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

  EvalOutcome plain[2] = {player(3), EvalOutcome{}};
  CommentPlan line = Evaluation_Comment(plain, AWARD_NONE);
  CommentRun r;
  EXPECT_EQ(Comment_Next(line, r, false, 0), CUE_VOICE);
  EXPECT_TRUE(r.begun);
  EXPECT_FALSE(r.awardShown);
}

// Player 1 on the last regular stage of 3 and on the extra stage after it.
int award(EvalOutcome o, int stage, int maxStage = 3, bool extraStages = true) {
  EvalOutcome two[2] = {o, EvalOutcome{}};
  return Evaluation_Award(two, stage, maxStage, extraStages);
}

TEST(EvaluationAward, TheExtraStageComesFromAnAAOrBetterOnAHardChartOnTheLastStage) {
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
  EXPECT_EQ(award(player(2, 2), 1, 1), AWARD_EXTRA) << "a one-stage game";
}

TEST(EvaluationAward, TheBonusStageFromTheExtraStageAndNothingAfter) {
  EXPECT_EQ(award(player(2, 0), 4), AWARD_BONUS) << "any chart on the extra stage";
  EXPECT_EQ(award(player(3, 2), 4), AWARD_NONE);
  EXPECT_EQ(award(player(1, 2, true), 4), AWARD_NONE);
  EXPECT_EQ(award(player(1, 2), 4, 3, false), AWARD_NONE);
  EXPECT_EQ(award(player(1, 3), 5), AWARD_NONE) << "nothing after the bonus stage";
  EXPECT_EQ(award(player(1, 3), 6, 5), AWARD_BONUS);
}

TEST(EvaluationAward, EitherPlayerEarnsItForBoth) {
  EvalOutcome two[2] = {player(4, 2), player(2, 3)};
  EXPECT_EQ(Evaluation_Award(two, 3, 3, true), AWARD_EXTRA);
  two[1].failed = true;
  EXPECT_EQ(Evaluation_Award(two, 3, 3, true), AWARD_NONE);
  EvalOutcome absent[2] = {player(4, 2), player(1, 3)};
  absent[1].active = false;
  EXPECT_EQ(Evaluation_Award(absent, 3, 3, true), AWARD_NONE) << "only players taking part";
}

TEST(EvaluationInput, TheControllerOfTheLastPanelPresses) {
  Bindings_Defaults();
  EXPECT_STREQ(Evaluation_InputLabel(0, 4), "Keyboard");
  Binding(0, CTL_START).lastSource = 1;
  EXPECT_STREQ(Evaluation_InputLabel(0, 4), "Keyboard") << "Start is no panel";
  Binding(0, CTL_UPRIGHT).lastSource = 1;
  EXPECT_STREQ(Evaluation_InputLabel(0, 6), "Gamepad");
  Bindings_Defaults();
  Binding(1, CTL_LEFT).lastSource = 1;
  EXPECT_STREQ(Evaluation_InputLabel(0, 4), "Keyboard") << "the other player's pad";
  EXPECT_STREQ(Evaluation_InputLabel(1, 4), "Gamepad");
  EXPECT_STREQ(Evaluation_InputLabel(0, 8), "Gamepad") << "DOUBLE steps on both pads";
  Bindings_Defaults();
}

TEST(EvaluationOutcome, FromThePlayedChart) {
  // 8 notes: 5 PERFECT, 1 GREAT, 1 GOOD, 1 missed
  const std::vector<int> late[2] = {{0, -20, 30, 45, -10, 70, 100}, {}};
  PlayInto(8, 2, late);
  EvalOutcome o = Evaluation_Outcome(g_players[0]);
  EXPECT_TRUE(o.active);
  EXPECT_EQ(o.number, 1);
  EXPECT_EQ(o.steps, 7) << "the missed note was not stepped on";
  EXPECT_EQ(o.perfects, 5);
  EXPECT_DOUBLE_EQ(o.percent, (5 * 2 + 1 - 8) * 100.0 / 16);
  EXPECT_EQ(o.grade, 7);
  EXPECT_EQ(o.difficulty, 2);
  EXPECT_EQ(o.styleKey, 4);
  EXPECT_EQ(o.statsGroup, 0);
  EXPECT_EQ(o.counterGroup, 0);
  EXPECT_EQ(o.maxCombo, 6);
  EXPECT_DOUBLE_EQ(o.score, (double)g_players[0].scorePoints);
  EXPECT_FALSE(o.failed);
  EXPECT_FALSE(Evaluation_Outcome(g_players[1]).active);
  g_players[0].lifeState = LIFE_DEAD;
  EXPECT_TRUE(Evaluation_Outcome(g_players[0]).failed);
  g_players[0].lifeState = LIFE_REVIVED;
  EXPECT_FALSE(Evaluation_Outcome(g_players[0]).failed) << "revived finishes alive";
  Player_SetStyle(g_players[0], "SOLO", 6, true);
  EXPECT_EQ(Evaluation_Outcome(g_players[0]).styleKey, 6);
  EXPECT_EQ(Evaluation_Outcome(g_players[0]).statsGroup, 2);
  EXPECT_EQ(Evaluation_Outcome(g_players[0]).counterGroup, 2);
  Player_SetStyle(g_players[0], "DOUBLE", 8, true);
  EXPECT_EQ(Evaluation_Outcome(g_players[0]).styleKey, 8);
  EXPECT_EQ(Evaluation_Outcome(g_players[0]).statsGroup, 1);
  EXPECT_EQ(Evaluation_Outcome(g_players[0]).counterGroup, 1);
  for (Player& p : g_players) Chart_Free(p);
  Players_Reset();
}
}  // namespace
