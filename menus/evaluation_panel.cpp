// One player's panel of the evaluation, inside the backdrop's 300 x 402 frame.
#include "media/draw_helpers.h"
#include "media/font/font.h"
#include "media/skin/skin_images.h"
#include "menus/evaluation_graphs.h"
#include "menus/evaluation_rules.h"
#include "menus/evaluation_view.h"
#include "menus/style_select.h"
#include "play/grades.h"
#include <algorithm>
#include <cmath>
#include <cstdio>

const uint32_t kEvalPlayerColours[2] = {0x6FB4FF, 0xFFA552};

namespace {
const char* const kJudgementNames[5] = {"PERFECT", "GREAT", "GOOD", "BOO", "MISS"};
constexpr uint32_t kGrey = 0xA8A8C0, kRule = 0x8080A0;
constexpr int kGradeW = 98, kGradeH = 84;   // the grade sheet's 70 x 60 cells, enlarged
constexpr int kPopMs = 220;                 // the grade lands over this


// "93.4%" in the skin's result digits of the player's colour row, set by what
// each cell shows rather than by its width.
void drawPercent(const EvalPanel& p, int tenths, int x, int y) {
  char text[16];
  snprintf(text, sizeof text, "%d.%d%%", tenths / 10, tenths % 10);
  if (!g_skin.results2[p.number][0].loaded) {
    Font_DrawText(26, 0xFFFFFF, x, y, text);
    return;
  }
  for (const char* c = text; *c; c++) {
    int cell = *c == '.' ? 10 : *c == '%' ? 11 : *c - '0';
    Image& im = g_skin.results2[p.number][cell];
    im.SetPosition(x - p.digitLeft[cell], y);
    im.Draw();
    x += p.digitWidth[cell] + 2;
  }
}

// A course has no one difficulty: its place tells how the course went.
void drawCourseStatus(const EvalPanel& p, int x, int y) {
  if (p.failed) Eval_DrawTextRight(20, 0xFF6A6A, x + 290, y + 10, "FAILED");
  else if (p.cleared) Eval_DrawTextRight(20, 0x7CFF7C, x + 290, y + 10, "CLEARED");
  Eval_DrawTextRight(12, kGrey, x + 290, y + 38, "NONSTOP");
}

void drawTop(const EvalPanel& p, int x, int y) {
  Image& banner = g_skin.styles[std::clamp(g_styleBanner, 0, 5)];
  Eval_DrawPictureAt(banner, x + 10, y + 6, banner.pictureWidth, banner.pictureHeight);
  Eval_DrawFitted(18, 14, kEvalPlayerColours[p.number - 1], x + 74, y + 8, p.course ? 120 : 136, p.name);
  Font_DrawText(12, kGrey, x + 74, y + 31, p.inputLabel);
  if (p.course) {
    drawCourseStatus(p, x, y);
    return;
  }
  Image& difficulty = g_skin.difficulties[0][p.difficulty];
  if (!Eval_DrawPictureAt(difficulty, x + 214, y + 4, difficulty.pictureWidth, difficulty.pictureHeight))
    Font_DrawText(14, 0xFFFFFF, x + 214, y + 14, "?");
  char level[24];
  snprintf(level, sizeof level, "LEVEL %d", p.level);
  Draw_TextCentred(12, 0xFFFFFF, x + 252, y + 44, level);
}

void drawGrade(const EvalPanel& p, int x, int y, const EvalMoment& m) {
  char text[48];
  if (m.sinceTallyMs >= 0) {
    double k = std::min(1.0, m.sinceTallyMs / (double)kPopMs);
    double scale = 1.6 - 0.6 * k * (2 - k);   // from large down to size, slowing as it lands
    int w = (int)(kGradeW * scale), h = (int)(kGradeH * scale);
    int cx = x + 10 + kGradeW / 2, cy = y + 64 + kGradeH / 2;
    if (!Eval_DrawPictureAt(g_skin.grades[p.grade - 1], cx - w / 2, cy - h / 2, w, h, (int)(255 * k)))
      Draw_TextCentred(60, 0xFFFFFF, cx, cy - 30, Grade_Name(p.grade));
  }
  drawPercent(p, (int)std::lround(p.percentTenths * m.tally), x + 124, y + 68);
  snprintf(text, sizeof text, "Score: %.0f", std::floor(p.score * m.tally));
  Font_DrawText(17, 0xFFFFFF, x + 124, y + 101, text);
  if (m.sinceTallyMs < 0 || p.recordState == RECORD_NONE) return;
  int pulse = 180 + (int)(75 * std::sin(m.sinceOpenMs * 0.01));
  if (p.recordState == RECORD_NEW) Font_DrawTextAlpha(15, 0xFFF066, x + 124, y + 128, "It's a new record!!", pulse);
  else Font_DrawTextAlpha(15, 0x8CF0FF, x + 124, y + 128, "New personal best!!", pulse);
}

void drawCounts(const EvalPanel& p, int x, int y, double tally) {
  char text[32];
  const int top = y + 160, rowH = 21;
  for (int j = 0; j < 5; j++) {
    int row = top + rowH * j;
    if (!Eval_DrawPictureAt(g_skin.judge[j], x + 10, row, 96, 19))
      Font_DrawText(15, kJudgementColours[j], x + 10, row, kJudgementNames[j]);
    snprintf(text, sizeof text, "%ld", std::lround(p.counts[j] * tally));
    Eval_DrawTextRight(17, 0xFFFFFF, x + 176, row, text);
  }
  const char* labels[2] = {"OK", "NG"};
  const int values[2] = {p.ok, p.ng};
  const uint32_t colours[2] = {0x7CFF7C, 0xFF6A6A};
  for (int j = 0; j < 2; j++) {
    int row = top + rowH * (j + 1);
    Font_DrawText(17, colours[j], x + 196, row, labels[j]);
    snprintf(text, sizeof text, "%ld", std::lround(values[j] * tally));
    Eval_DrawTextRight(17, 0xFFFFFF, x + 290, row, text);
  }
  snprintf(text, sizeof text, "MAX COMBO: %ld", std::lround(p.maxCombo * tally));
  Font_DrawText(15, 0xFFFFFF, x + 10, y + 268, text);
}

void drawTiming(const EvalPanel& p, int x, int y, double tally) {
  const TimingHistogram& h = p.histogram;
  Histogram_Draw(h, x + 10, y + 296, 164, 40, tally);
  Font_DrawText(10, kGrey, x + 10, y + 338, "EARLY");
  Eval_DrawTextRight(10, kGrey, x + 174, y + 338, "LATE");
  char mean[24] = "--", spread[24] = "--";
  if (h.presses) {
    snprintf(mean, sizeof mean, "%+.1f ms", h.meanMs);
    snprintf(spread, sizeof spread, "%.1f ms", h.spreadMs);
  }
  Font_DrawText(12, kGrey, x + 186, y + 294, "Mean");
  Font_DrawText(15, 0xFFFFFF, x + 186, y + 306, mean);
  Font_DrawText(12, kGrey, x + 186, y + 324, "Spread");
  Font_DrawText(15, 0xFFFFFF, x + 186, y + 336, spread);
}

void drawLife(EvalPanel& p, int x, int y, double tally) {
  Image& graph = p.lifeGraph;
  Draw_FillRect(x + 10, y + 356, 280, 36, 0x000000, 150);
  if (graph.loaded) {
    graph.SetPosition(x + 10, y + 356);
    graph.DrawClipped(x + 10, y + 356, x + 10 + (int)(graph.width * tally), y + 356 + graph.height);
  }
  Font_DrawText(10, kGrey, x + 14, y + 357, p.course ? "LIFE, LAST SONG" : "LIFE");
}

// The course's figures: the stage reached and the course's time.
void drawCourseFigures(const EvalPanel& p, int x, int y) {
  char text[32];
  Font_DrawText(12, kGrey, x + 10, y + 296, "STAGE REACHED");
  snprintf(text, sizeof text, "Stage %d", p.stage);
  Font_DrawText(24, 0xFFFFFF, x + 10, y + 312, text);
  if (p.stageOf > 0) {
    snprintf(text, sizeof text, "of %d", p.stageOf);
    Font_DrawText(15, kGrey, x + 18 + Font_TextWidth(24, "Stage 00"), y + 320, text);
  }
  Font_DrawText(12, kGrey, x + 170, y + 296, "TIME");
  Font_DrawText(20, 0xFFFFFF, x + 170, y + 314, p.time);
}

// The battery: a cell per life of the course, lit for the lives left.
void drawLives(const EvalPanel& p, int x, int y) {
  Draw_FillRect(x + 10, y + 356, 280, 36, 0x000000, 150);
  Font_DrawText(10, kGrey, x + 14, y + 357, "LIVES");
  const int cells = std::clamp(p.maxLives, 1, 10), left = x + 58, width = 224;
  const int cellW = width / cells;
  const uint32_t lit = kEvalPlayerColours[p.number - 1];
  for (int i = 0; i < cells; i++) {
    bool on = i < p.lives;
    Draw_FillRect(left + i * cellW, y + 362, cellW - 4, 24, on ? lit : 0x40405A, on ? 235 : 200);
    if (on) Draw_FillRect(left + i * cellW, y + 362, cellW - 4, 6, 0xFFFFFF, 90);   // a shine on the lit ones
  }
  if (p.lives <= 0) Draw_TextCentred(18, 0xFF6A6A, left + width / 2, y + 363, "OUT OF LIVES");
}
}  // namespace

bool Eval_DrawPictureAt(Image& im, int x, int y, int w, int h, int alpha) {
  if (!im.loaded) return false;
  im.SetSize(w, h, 0);
  im.SetPosition(x, y);
  im.SetSurfaceAlpha(alpha);
  im.Draw();
  im.ResetSize();
  im.SetSurfaceAlpha(255);
  return true;
}

void Eval_DrawTextRight(int size, uint32_t colour, int right, int y, const char* text) {
  Font_DrawText(size, colour, right - Font_TextWidth(size, text), y, text);
}

void Eval_DrawFrameInside(int x, int y, const int* rules, int ruleCount) {
  Draw_FillRect(x + 4, y + 4, 292, 394, 0x000000, 70);
  for (int i = 0; i < ruleCount; i++) Draw_FillRect(x + 10, y + rules[i], 280, 1, kRule, 90);
}

void EvalPanel_Draw(EvalPanel& p, int x, int y, const EvalMoment& m) {
  static const int kRules[3] = {60, 154, 290};
  Eval_DrawFrameInside(x, y, kRules, 3);
  drawTop(p, x, y);
  drawGrade(p, x, y, m);
  drawCounts(p, x, y, m.tally);
  if (p.course) drawCourseFigures(p, x, y);
  else drawTiming(p, x, y, m.tally);
  if (p.course && p.lives >= 0) drawLives(p, x, y);
  else drawLife(p, x, y, m.tally);
}

bool EvalPanel_MakeLifeGraph(EvalPanel& p, const std::vector<int16_t>& trace) {
  return LifeGraph_Make(p.lifeGraph, trace, 280, 36, kEvalPlayerColours[p.number - 1]);
}
