// The evaluation screen's frame on the software compositor: two players' panels
// with their timing histograms and life lines over the backdrop, as the screen
// draws it every frame once the numbers stand (and while they count up), and the
// gathering of what it shows, done once when it opens; and the same for the
// evaluation of a nonstop course (two players with their battery lives, or one
// player beside the course's record card). Uses the generated Default skin of the
// build's game folder.
#include "chart/chart.h"
#include "library/courses.h"
#include "menus/course_evaluation.h"
#include "media/font/font.h"
#include "media/render/image.h"
#include "media/render/screen.h"
#include "media/skin/skin_images.h"
#include "menus/evaluation_rules.h"
#include "menus/evaluation_screen.h"
#include "menus/evaluation_view.h"
#include "play/judgement.h"
#include "play/play_record.h"
#include "play/player.h"
#include <benchmark/benchmark.h>
#include <cmath>
#include <string>
#include <unistd.h>

namespace {
constexpr int kNotes = 600;          // a long MANIAC chart
constexpr int kTraceSamples = 1500;  // two and a half minutes of life

struct Stage {
  Image backdrop;
  Play play;
  EvalOutcome outcomes[2];
  EvalView view;
  bool ready = false;

  Stage() {
    if (chdir(TV_GAME_DIR) != 0) return;
    LoadImages("Default", false);
    if (!Font_Load("Skins/Default", "font-Main")) return;
    LoadPNG("rkv2-results.png", backdrop, 0, 0);
    std::string chart = "#TITLE:Bench;\n#ARTIST:Tarvolen;\n#BPM:150;\n#GAP:0;\n#SINGLE:MANIAC:9:";
    for (int i = 0; i < kNotes; i++) chart += "4286"[i % 4];
    chart += ";\n";
    Players_Reset();
    for (int i = 0; i < 2; i++) {
      g_players[i].active = 1;
      g_players[i].difficulty = 2;
      g_players[i].level = 9;
    }
    if (loadChartText(chart.data(), chart.size(), "bench.rkv", g_players, 2, ChartRules{}) != 1) return;
    uint32_t seed = 7;
    for (int i = 0; i < 2; i++) {
      Player& p = g_players[i];
      for (int32_t a = 0; a < p.arrowCount; a++) {
        seed = seed * 1103515245u + 12345u;
        int late = (int)((seed >> 8) % 121) - 60 + 10 * i;   // a spread of presses, player 2 later
        Arrow& arrow = p.arrows[a];
        arrow.status = NOTE_JUDGED;
        arrow.judgement[kPressOffset] = -late;
        int size = std::abs(late);
        arrow.judgement[kOwnJudgement] = size < 50 ? JUDGE_PERFECT : size < 90 ? JUDGE_GREAT : JUDGE_GOOD;
        p.judgementCounts[arrow.judgement[kOwnJudgement]]++;
      }
      p.dancePoints = p.maxDancePoints * 9 / 10;
      p.scorePoints = 81234567;
      p.maxCombo = 412;
      for (int s = 0; s < kTraceSamples; s++)
        play.song.lifeTrace[i].push_back((int16_t)(850 + 800 * std::sin(s * (0.004 + 0.002 * i))));
      outcomes[i] = Evaluation_Outcome(p);
    }
    play.source.title = "A Song With A Rather Long Title For The Header";
    play.source.artist = "Tarvolen";
    play.song.clock.ms = 150000;
    play.flags.speedAltered = true;
    EvalView_Build(view, play, g_players, outcomes, AWARD_NONE);
    // a course of five songs that ended here
    g_courses.assign(1, Course{});
    Course_Defaults(g_courses[0]);
    snprintf(g_courses[0].name, sizeof g_courses[0].name, "A Marathon Of Five Songs");
    g_courses[0].entryCount = 5;
    play.course.active = true;
    play.course.index = 0;
    play.course.songs = 5;
    play.course.musicMs = 5 * 150000;
    for (int i = 0; i < 2; i++) {
      play.course.maxDancePoints[i] = 5 * g_players[i].maxDancePoints;
      g_players[i].dancePoints = 4 * g_players[i].maxDancePoints;
    }
    ready = true;
  }
};

// The stage set up once, or null (and the benchmark skipped) when it could not be.
Stage* stage(benchmark::State& state) {
  static Stage s;
  if (!s.ready) state.SkipWithError("the game folder's skin or the chart did not load");
  return s.ready ? &s : nullptr;
}

void frame(Stage& s, const EvalMoment& m) {
  Screen_Clear(0, 0, 0);
  s.backdrop.SetPosition(0, 0);
  s.backdrop.Draw();
  EvalView_Draw(s.view, m);
  benchmark::DoNotOptimize(Screen_Target().pixels[0]);
}
}  // namespace

static void BM_EvaluationFrame(benchmark::State& state) {
  Stage* s = stage(state);
  if (!s) return;
  EvalMoment m;
  m.sinceTallyMs = 5000;
  for (auto _ : state) {
    m.sinceOpenMs += 16;
    frame(*s, m);
  }
}
BENCHMARK(BM_EvaluationFrame)->Unit(benchmark::kMicrosecond);

static void BM_EvaluationFrameCounting(benchmark::State& state) {
  Stage* s = stage(state);
  if (!s) return;
  EvalMoment m;
  for (auto _ : state) {
    m.sinceOpenMs = (m.sinceOpenMs + 16) % 1500;
    m.tally = m.sinceOpenMs / 1500.0;
    frame(*s, m);
  }
}
BENCHMARK(BM_EvaluationFrameCounting)->Unit(benchmark::kMicrosecond);

static void BM_EvaluationOpen(benchmark::State& state) {
  Stage* s = stage(state);
  if (!s) return;
  for (auto _ : state) EvalView_Build(s->view, s->play, g_players, s->outcomes, AWARD_NONE);
}
BENCHMARK(BM_EvaluationOpen)->Unit(benchmark::kMicrosecond);

namespace {
// The course evaluation's view of the stage, with `players` (1 or 2) taking part
// and battery lives or not.
void courseFrames(benchmark::State& state, int players, bool lives) {
  Stage* s = stage(state);
  if (!s) return;
  s->play.course.rules = CourseRules{(uint8_t)lives, 6, 1, 0};
  g_players[1].active = players == 2;
  EvalOutcome o[2];
  for (int i = 0; i < 2; i++) {
    g_players[i].batteryLives = lives ? 4 - i : 0;
    o[i] = CourseEvaluation_Outcome(g_players[i], s->play.course, i);
  }
  EvalView view;
  CourseEvaluation_Build(view, s->play, g_players, o);
  EvalMoment m;
  m.sinceTallyMs = 5000;
  for (auto _ : state) {
    m.sinceOpenMs += 16;
    Screen_Clear(0, 0, 0);
    s->backdrop.SetPosition(0, 0);
    s->backdrop.Draw();
    EvalView_Draw(view, m);
    benchmark::DoNotOptimize(Screen_Target().pixels[0]);
  }
  EvalView_Free(view);
  g_players[1].active = 1;
}
}  // namespace

static void BM_CourseEvaluationFrameTwoPlayersBattery(benchmark::State& state) { courseFrames(state, 2, true); }
BENCHMARK(BM_CourseEvaluationFrameTwoPlayersBattery)->Unit(benchmark::kMicrosecond);

static void BM_CourseEvaluationFrameOnePlayerWithCard(benchmark::State& state) { courseFrames(state, 1, false); }
BENCHMARK(BM_CourseEvaluationFrameOnePlayerWithCard)->Unit(benchmark::kMicrosecond);
