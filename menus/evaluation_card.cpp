// The record card: with one player, the frame the other player would use shows
// the chart's records after the stage, and the award's line in large letters.
#include "media/draw_helpers.h"
#include "media/font/font.h"
#include "media/skin/skin_images.h"
#include "menus/evaluation_screen.h"
#include "menus/evaluation_view.h"
#include "play/grades.h"
#include <cmath>
#include <cstdio>

namespace {
constexpr uint32_t kGrey = 0xA8A8C0;

// One stored result: its label, the holder (when `holder`), score, percentage and
// grade, and for a course the stage reached and the time.
void drawResult(const Result& r, const char* label, bool holder, bool course, int x, int y) {
  Font_DrawText(13, kGrey, x + 14, y, label);
  if (r.bestGrade == 0 && r.bestScore <= 0) {
    Font_DrawText(16, kGrey, x + 14, y + 24, "No record yet");
    return;
  }
  char text[48];
  int line = y + 18;
  if (holder) {
    char name[sizeof r.holder + 1];
    snprintf(name, sizeof name, "%.*s", (int)sizeof r.holder, r.holder);
    Font_DrawText(18, 0xFFFFFF, x + 14, line, name[0] ? name : "No name");
    line += 22;
  }
  snprintf(text, sizeof text, "Score: %.0f", r.bestScore);
  Font_DrawText(17, 0xFFFFFF, x + 14, line, text);
  snprintf(text, sizeof text, "%d.%d%%", r.bestA / 10, r.bestA % 10);
  Font_DrawText(15, 0xFFFFFF, x + 14, line + 22, text);
  if (course) {
    snprintf(text, sizeof text, "Stage %d", r.bestC);
    Font_DrawText(15, 0xFFFFFF, x + 84, line + 22, text);
    char time[16];
    Evaluation_TimeText(r.bestB, time, sizeof time);
    snprintf(text, sizeof text, "Time %s", time);
    Font_DrawText(13, kGrey, x + 14, line + 42, text);
  }
  if (r.bestGrade >= 1 && r.bestGrade <= 7 &&
      !Eval_DrawPictureAt(g_skin.grades[r.bestGrade - 1], x + 212, y + 4, 70, 60))
    Font_DrawText(40, 0xFFFFFF, x + 220, y + 10, Grade_Name(r.bestGrade));
}
// The profile's figures for the style, this stage or course included, in two
// columns: an arcade game's, or the nonstop ones.
void drawStats(const ProfileStats& s, bool course, int x, int y) {
  char figures[6][40], time[16];
  int n = 0;
  if (course) {
    snprintf(figures[n++], sizeof figures[0], "Best: %.1f%%", s.courseBestPercent);
    snprintf(figures[n++], sizeof figures[0], "Best stage: %d", s.courseBestStage);
    Evaluation_TimeText(s.courseLongestMs, time, sizeof time);
    snprintf(figures[n++], sizeof figures[0], "Longest: %s", time);
    snprintf(figures[n++], sizeof figures[0], "Best combo: %d", s.courseBestCombo);
  } else {
    snprintf(figures[n++], sizeof figures[0], "Stages: %d", s.songs);
    snprintf(figures[n++], sizeof figures[0], "Best combo: %d", s.bestCombo);
  }
  snprintf(figures[n++], sizeof figures[0], "Steps: %.0f", s.steps);
  snprintf(figures[n++], sizeof figures[0], "PERFECT: %.1f%%", s.steps > 0 ? s.perfects * 100 / s.steps : 0.0);
  Font_DrawText(13, kGrey, x + 14, y, course ? "PROFILE, NONSTOP" : "PROFILE");
  for (int i = 0; i < n; i++) Font_DrawText(14, 0xFFFFFF, x + (i % 2 ? 150 : 14), y + 18 + 18 * (i / 2), figures[i]);
}
}  // namespace

void EvalCard_Draw(const EvalView& v, int x, int y, const EvalMoment& m) {
  static const int kRules[3] = {54, 160, 262};
  const EvalRecordCard& c = v.card;
  Eval_DrawFrameInside(x, y, kRules, c.withStats ? 3 : c.withProfile ? 2 : 1);
  Font_DrawText(22, 0xFFFFFF, x + 14, y + 14, "RECORDS");
  if (c.course) {
    Eval_DrawTextRight(18, 0xFFD23C, x + 286, y + 18, "COURSE");
  } else {
    Image& difficulty = g_skin.difficulties[0][c.difficulty];
    Eval_DrawPictureAt(difficulty, x + 214, y + 8, difficulty.pictureWidth, difficulty.pictureHeight);
  }
  drawResult(c.machine, "MACHINE BEST", true, c.course, x, y + 64);
  if (c.withProfile) drawResult(c.personal, "PERSONAL BEST", false, c.course, x, y + 170);
  if (c.withStats) drawStats(c.stats, c.course, x, y + 270);
  if (!m.awardShown) return;
  const char* line = v.award == AWARD_BONUS ? "Try Bonus Stage!!!" : "Try Extra Stage!!!";
  int pulse = 170 + (int)(85 * std::sin(m.sinceOpenMs * 0.008));
  int size = Draw_FitSize(28, 14, 270, line);
  Font_DrawTextAlpha(size, 0xFFD23C, x + 150 - Font_TextWidth(size, line) / 2, y + 344, line, pulse);
}
