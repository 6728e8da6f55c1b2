#include "play/hud.h"
#include "library/settings.h"
#include "media/draw_helpers.h"
#include "media/font/font.h"
#include "media/skin/skin_config.h"
#include "media/skin/skin_images.h"
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>


namespace {
constexpr int kGaugeW = 290, kGaugeH = 32;
// The full and danger fills hold the gauge tip in their middle (columns
// 119..134 of the cell); the fill is drawn from the columns around it.
constexpr int kTipAt = 119, kTipW = 16, kStripW = kGaugeW - kTipW;
// The two boxes of the bottom bar.
constexpr int kBoxLeft[2] = {20, 400}, kBoxW = 220, kBoxTop = 428;

void drawAt(Image& img, int x, int y, int alpha = 255) {
  if (!img.loaded) return;
  img.SetPosition(x, y);
  img.SetSurfaceAlpha(alpha);
  img.Draw();
}

// Screen columns [from, to) of a gauge at x from the tip-free strip of `fill`,
// scrolled by `offset` so that the stripes run along the bar.
void stripFill(Image& fill, int x, int y, int from, int to, int offset, int alpha) {
  if (!fill.loaded) return;
  fill.SetSurfaceAlpha(alpha);
  for (int c = from; c < to;) {
    int idx = (c + offset) % kStripW;
    int run = idx < kTipAt ? kTipAt - idx : kStripW - idx;
    int len = std::min(run, to - c);
    int src = idx < kTipAt ? idx : idx + kTipW;
    fill.SetPosition(x + c - src, y);
    fill.DrawClipped(x + c, y, x + c + len, y + kGaugeH);
    c += len;
  }
}

// The life gauge of one side of the top bar: player 1 fills from the left,
// player 2 from the right, with a bright tip at the leading edge. A full gauge
// and a gauge in danger run their stripes along the bar.
void gauge(const Player& p, int side, int x, int y, double nowMs) {
  SkinImages& s = g_skin;
  drawAt(s.game[side], x, y);
  int fill = Hud_LifeFill(p.life);
  bool danger = p.life < 500 && p.lifeState != LIFE_DEAD && g_settings.dangerDisplay;
  bool full = p.life >= 1700;
  int from = side ? kGaugeW - fill : 0, to = side ? kGaugeW : fill;
  if (fill > 0) {
    if (full || danger) {
      int offset = (int)std::fmod(nowMs / (full ? 6.0 : 12.0), (double)kStripW);
      if (side == 0) offset = kStripW - offset;  // the stripes run toward the tip
      int alpha = danger ? 170 + (int)(85 * std::fabs(std::sin(nowMs / 180.0))) : 255;
      stripFill(full ? s.game[4] : s.game[5], x, y, from, to, offset, alpha);
    } else {
      Image& bar = s.game[2 + side];
      if (bar.loaded) {
        bar.SetPosition(x, y);
        bar.SetSurfaceAlpha(255);
        bar.DrawClipped(x + from, y, x + to, y + kGaugeH);
      }
    }
    if (fill >= kTipW && !full) drawAt(danger ? s.game[7] : s.game[6], side ? x + from : x + to - kTipW, y, 210);
  }
  if (p.lifeState == LIFE_DEAD) Draw_FillRect(x, y, kGaugeW, kGaugeH, 0x000000, 150);
  // the player tag and the chart's difficulty under the gauge
  Image& tag = s.game[16 + side];
  int tagX = side ? x + kGaugeW - 68 : x + 4;
  drawAt(tag, tagX, y + 34);
  if (p.difficulty >= 0 && p.difficulty < 4) {
    Image& label = s.game[8 + 4 * side + p.difficulty];
    label.SetSize(80, 21, 1);
    drawAt(label, side ? tagX - 84 : tagX + 68, y + 34);
    char level[8];
    snprintf(level, sizeof level, "%d", p.level);
    int lx = side ? tagX - 84 - 6 - Font_TextWidth(18, level) : tagX + 68 + 86;
    Font_DrawText(18, 0xFFFFFF, lx, y + 34, level);
  }
}

void score(const Player& p, int side) {
  // the last nine digits of the score text in the player's box of the bottom bar
  const char* t = p.scoreText;
  size_t n = strnlen(t, sizeof p.scoreText);
  int first = n > 9 ? (int)n - 9 : 0;
  int base = side ? 53 : 40;
  int x = kBoxLeft[side] - 8, y = 446;
  drawAt(g_skin.game[30], x, y - 2);  // "SCORE" label
  for (int i = first, k = 0; i < (int)n; i++, k++) {
    char c = t[i];
    int g = c >= '0' && c <= '9' ? c - '0' : -1;
    if (g < 0) continue;
    Image& glyph = g_skin.game[base + g];
    glyph.SetSize(16, 32, 0);
    drawAt(glyph, x + 72 + 17 * k, y - 8);
  }
}

// With one player the other box of the bottom bar names the song.
void songBox(HudState& hud, int side) {
  if (!hud.title[0] && !hud.artist[0]) return;
  int x = kBoxLeft[side] + 10, w = kBoxW - 20;
  // the texts do not change during a play: their sizes are found once
  if (!hud.titleSize) {
    hud.titleSize = Draw_FitSize(18, 12, w, hud.title);
    hud.artistSize = Draw_FitSize(14, 10, w, hud.artist);
  }
  Draw_TextClipped(hud.titleSize, 0xFFFFFF, x, kBoxTop + 3, w, hud.title);
  Draw_TextClipped(hud.artistSize, 0xA8C8FF, x, kBoxTop + 22, w, hud.artist);
}

void judgement(const HudState& hud, const Player& p, int pi, double songMs, double nowMs, int centreX, bool reverse) {
  int y = reverse ? 150 : 250;
  double age = songMs - p.lastJudgementTime;
  bool shown = p.lastJudgementTime > 0 && age >= 0 && age <= 1200 && p.lastJudgement <= 4;
  int alpha = !shown ? 0 : age < 900 ? 255 : (int)(255 * (1200 - age) / 300);
  if (shown) {
    Image& j = g_skin.judge[p.lastJudgement];
    if (j.loaded) {
      // a small pop as the judgement appears
      double grow = age < 60 ? 1.0 + (60 - age) / 240.0 : 1.0;
      j.SetSize((int)(175 * grow), (int)(35 * grow), 0);
      drawAt(j, centreX - j.width / 2, y - j.height / 2, alpha);
    }
    if (p.combo >= 4) {
      char digits[16];
      snprintf(digits, sizeof digits, "%d", p.combo);
      int n = (int)strlen(digits);
      // the number swells a little with each step
      double swell = age < 80 ? 1.0 + (80 - age) / 800.0 : 1.0;
      int dw = (int)(40 * swell), dh = (int)(53 * swell);
      int w = n * dw + 6 + 80;
      int x = centreX - w / 2;
      for (int i = 0; i < n; i++) {
        Image& d = g_skin.comboDigits[digits[i] - '0'];
        d.SetSize(dw, dh, 0);
        drawAt(d, x + dw * i, y + 24 + 53 - dh, alpha);
      }
      Image& label = g_skin.comboLabel;
      label.SetSize(80, 53, 0);
      drawAt(label, x + dw * n + 6, y + 24, alpha);
    }
  }
  // a milestone of hundreds: its number rises over the field and fades
  double since = nowMs - hud.milestoneAtMs[pi];
  int m = hud.comboMilestone[pi];
  if (m > 0 && since >= 0 && since < 1500) {
    char t[32];
    snprintf(t, sizeof t, "%d COMBO!", m * 100);
    int size = 30 + (int)(since < 200 ? since / 20 : 10);
    int a = since < 1000 ? 255 : (int)(255 * (1500 - since) / 500);
    int ty = (reverse ? 330 : 170) - (int)(since / 40);
    Font_DrawTextAlpha(size, 0xFFD040, centreX - Font_TextWidth(size, t) / 2, ty, t, a);
  }
}

// Battery lives under the gauge: "%d Lives", or with "/altcombo" the skin's
// LIVES label and the number in combo digits.
void lives(const HudState& hud, const Player& p, int side) {
  char t[32];
  if (!hud.altCombo) {
    snprintf(t, sizeof t, "%d Lives", p.batteryLives);
    Font_DrawText(18, p.batteryLives <= 1 ? 0xFF6060 : 0xFFE060, side == 0 ? 12 : 628 - Font_TextWidth(18, t), 84, t);
    return;
  }
  snprintf(t, sizeof t, "%d", p.batteryLives < 0 ? 0 : p.batteryLives);
  int n = (int)strlen(t);
  int w = 64 + 4 + 24 * n;
  int x = side == 0 ? 12 : 628 - w;
  drawAt(g_skin.game[33], x, 90);
  for (int i = 0; i < n; i++) {
    Image& d = g_skin.comboDigits[t[i] - '0'];
    d.SetSize(24, 32, 0);
    drawAt(d, x + 68 + 24 * i, 84);
  }
}
}

void Hud_SetMessage(HudState& hud, const char* text, double nowMs, int forMs) {
  snprintf(hud.message, sizeof hud.message, "%s", text);
  hud.messageUntilMs = nowMs + forMs;
}

int Hud_StageLabel(int stage, int maxStage) {
  if (stage <= 0) return 17;   // DEMO
  if (maxStage < 6 && stage > maxStage) return stage - maxStage >= 2 ? 8 : 7;
  if (maxStage < 6 && stage == maxStage) return 6;
  return stage <= 6 ? stage - 1 : -1;   // the sheet has no label past the 6th
}

int Hud_LifeFill(int32_t life) {
  if (life <= 0) return 0;
  if (life >= 1700) return kGaugeW;
  return (int)((int64_t)life * kGaugeW / 1700);
}

void Hud_Draw(HudState& hud, const Player* players, double songMs, double nowMs) {
  SkinImages& s = g_skin;
  drawAt(s.game[18], 0, 0);
  drawAt(s.game[19], 0, 416);
  int active = 0;
  for (int i = 0; i < 2; i++) active += players[i].active ? 1 : 0;
  for (int i = 0; i < 2; i++) {
    const Player& p = players[i];
    if (!p.active) {
      if (active == 1) songBox(hud, i);
      continue;
    }
    gauge(p, i, i == 0 ? 8 : 342, 6, nowMs);
    judgement(hud, p, i, songMs, nowMs, p.fieldCentreX, p.options.reverse != 0);
    score(p, i);
    if (p.batteryLives > 0 || p.lifeType == 3) lives(hud, p, i);
  }
  if (hud.stageLabel >= 0 && hud.stageLabel < 20) drawAt(s.game[20 + hud.stageLabel], 288, 4);
  if (hud.autoPlay) drawAt(s.game[36], 288, 26);
  if (hud.replay) {
    // under the stage label (and Auto Play's), breathing slowly so it never hides a judgement
    const char* t = "REPLAY";
    int a = 170 + (int)(85 * std::sin(nowMs / 400.0));
    Font_DrawTextAlpha(20, 0xFF5070, 320 - Font_TextWidth(20, t) / 2, hud.autoPlay ? 52 : 30, t, a);
  }
  if (hud.paused) drawAt(s.game[38], 288, 200);
  if (hud.message[0] && nowMs < hud.messageUntilMs) Font_DrawText(16, 0xFFFFFF, 4, 64, hud.message);
}
