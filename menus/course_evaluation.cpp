// The evaluation at the end of a nonstop course. On opening it takes each
// player's totals over the course, stores them as the course's results (saved at
// once) and picks the comment of the best grade; then it runs as the evaluation
// of a stage does (the numbers count up, the record lines and the comment follow;
// Start or Escape ends it once the comment has begun; 30 seconds at most).
#include "menus/course_evaluation.h"
#include "library/courses.h"
#include "library/records.h"
#include "menus/collection.h"
#include "menus/evaluation_records.h"
#include "menus/evaluation_screen.h"
#include "menus/evaluation_view.h"
#include "platform/log.h"
#include "play/grades.h"
#include "play/play_record.h"
#include "play/player.h"
#include <algorithm>
#include <cstdio>

namespace {
// The line under the course's name: its kind and length.
void describe(const Course* c, const CourseRules& rules, char* out, int size) {
  if (!c) snprintf(out, (size_t)size, "Nonstop course");
  else if (rules.hasLives) snprintf(out, (size_t)size, "Battery course, %d lives", rules.lives);
  else if (c->repeat) snprintf(out, (size_t)size, "Endless course");
  else snprintf(out, (size_t)size, "Nonstop course, %d song%s", c->entryCount, c->entryCount == 1 ? "" : "s");
}
}  // namespace

const Course* CourseEvaluation_Course(const Play& play) {
  int i = play.course.index;
  return i >= 0 && i < (int)g_courses.size() ? &g_courses[i] : nullptr;
}

PlayFlags CourseEvaluation_Flags(const Play& play) {
  PlayFlags f = play.course.flags;
  f.paused |= play.flags.paused;
  f.autoplay |= play.flags.autoplay;
  f.speedAltered |= play.flags.speedAltered;
  f.replay |= play.flags.replay;
  return f;
}

EvalOutcome CourseEvaluation_Outcome(const Player& p, const CourseRun& totals, int index) {
  EvalOutcome o = Evaluation_Outcome(p);   // the score, combo and profile run through the course
  o.course = true;
  o.difficulty = 0;
  o.percent = Grade_Percent(p.dancePoints, totals.maxDancePoints[index & 1]);
  o.grade = Grade_Of(o.percent);
  o.steps = totals.steps[index & 1];
  o.perfects = totals.perfects[index & 1];
  o.stage = totals.songs;
  o.timeMs = (uint32_t)std::clamp(totals.musicMs, 0.0, 4294967295.0);
  o.failed = p.lifeState == LIFE_DEAD || (totals.rules.hasLives && p.batteryLives <= 0);
  return o;
}

void CourseEvaluation_Store(const Play& play, EvalOutcome outcomes[2]) {
  const Course* c = CourseEvaluation_Course(play);
  if (!c) {
    WriteLogf("Course %d is not in the course list: the results are not stored\n", play.course.index);
    return;
  }
  if (!Evaluation_MayStore(CourseEvaluation_Flags(play))) return;
  Evaluation_StoreResults(Course_RecordKey(*c), outcomes, g_records, g_playerRecords);
}

void CourseEvaluation_Build(EvalView& v, const Play& play, const Player players[2], const EvalOutcome outcomes[2]) {
  EvalView_Free(v);
  const Course* c = CourseEvaluation_Course(play);
  const CourseRun& totals = play.course;
  snprintf(v.title, sizeof v.title, "%.*s", (int)sizeof v.title - 1, c ? c->name : "Nonstop");
  describe(c, totals.rules, v.artist, sizeof v.artist);
  Evaluation_TimeText(totals.musicMs, v.time, sizeof v.time);
  Evaluation_FlagsText(CourseEvaluation_Flags(play), v.flags, sizeof v.flags);
  v.award = AWARD_NONE;
  EvalView_BuildPanels(v, players, outcomes);
  for (int i = 0; i < 2; i++) {
    EvalPanel& panel = v.panels[i];
    if (!panel.active) continue;
    panel.course = true;
    panel.stage = outcomes[i].stage;
    panel.stageOf = c && !c->repeat ? c->entryCount : 0;
    snprintf(panel.time, sizeof panel.time, "%s", v.time);
    panel.lives = totals.rules.hasLives ? std::max(0, (int)players[i].batteryLives) : -1;
    panel.maxLives = totals.rules.lives;
    panel.failed = outcomes[i].failed;
    panel.cleared = !panel.failed && panel.stageOf > 0 && panel.stage >= panel.stageOf;
    if (panel.lives < 0) EvalPanel_MakeLifeGraph(panel, play.song.lifeTrace[i]);
  }
  EvalView_BuildCard(v, c ? Course_RecordKey(*c) : std::string(), outcomes);
}

void CourseEvaluationScreen(const Play& play) {
  WriteLog("Starting course evaluation screen...\n");
  EvalOutcome outcomes[2];
  for (int i = 0; i < 2; i++) outcomes[i] = CourseEvaluation_Outcome(g_players[i], play.course, i);
  CourseEvaluation_Store(play, outcomes);
  WriteLog("Determining announcer comment for evaluation screen...\n");
  EvalView view;
  CourseEvaluation_Build(view, play, g_players, outcomes);
  // the course's replay, or the one being watched, is offered as after a stage
  bool watchable = CourseEvaluation_Flags(play).replay || !play.lastReplay.empty();
  Evaluation_Show(view, Evaluation_Comment(outcomes, AWARD_NONE), nullptr, Evaluation_WatchOffer(watchable));
  EvalView_Free(view);
}
