#include "play/hud.h"
#include "library/settings.h"
#include "media/draw_helpers.h"
#include "media/font/font.h"
#include "media/skin/skin_config.h"
#include "media/skin/skin_images.h"
#include <cmath>
#include <cstdio>
#include <cstring>

HudState g_hud;

namespace {
constexpr int kGaugeW = 290, kGaugeH = 32;

void drawAt(Image& img, int x, int y, int alpha = 255) {
  if (!img.loaded) return;
  img.SetPosition(x, y);
  img.SetSurfaceAlpha(alpha);
  img.Draw();
}

// The life gauge of one player in the top bar.
void gauge(const Player& p, int x, int y, double nowMs) {
  SkinImages& s = g_skin;
  int side = p.number == 2 ? 1 : 0;
  drawAt(s.game[side], x, y);
  int fill = Hud_LifeFill(p.life);
  bool danger = p.life < 500 && g_settings.dangerDisplay;
  bool full = p.life >= 1700;
  Image& bar = full ? s.game[4] : danger ? s.game[5] : s.game[2 + side];
  if (bar.loaded && fill > 0) {
    bar.SetPosition(x, y);
    bar.SetSurfaceAlpha(danger ? 160 + (int)(95 * std::fabs(std::sin(nowMs / 180.0))) : 255);
    bar.DrawClipped(x, y, x + fill, y + kGaugeH);
  }
  if (p.lifeState == LIFE_DEAD) Draw_FillRect(x, y, kGaugeW, kGaugeH, 0x000000, 150);
  drawAt(s.game[16 + side], side ? x + kGaugeW - 70 : x + 4, y + 34);
}

void score(const Player& p, int x, int y) {
  // the last nine digits of the score text, in the bottom bar
  const char* t = p.scoreText;
  size_t n = strnlen(t, sizeof p.scoreText);
  int first = n > 9 ? (int)n - 9 : 0;
  int base = p.number == 2 ? 53 : 40;
  drawAt(g_skin.game[29 + 1], x, y - 2);  // "SCORE" label
  for (int i = first, k = 0; i < (int)n; i++, k++) {
    char c = t[i];
    int g = c >= '0' && c <= '9' ? c - '0' : -1;
    if (g < 0) continue;
    Image& glyph = g_skin.game[base + g];
    glyph.SetSize(16, 32, 0);
    drawAt(glyph, x + 72 + 17 * k, y - 8);
  }
}

void judgement(const Player& p, double songMs, int centreX, bool reverse) {
  double age = songMs - p.lastJudgementTime;
  if (p.lastJudgementTime <= 0 || age < 0 || age > 1200 || p.lastJudgement > 4) return;
  int y = reverse ? 150 : 250;
  int alpha = age < 900 ? 255 : (int)(255 * (1200 - age) / 300);
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
    int w = n * 40 + 80;
    int x = centreX - w / 2;
    for (int i = 0; i < n; i++) {
      Image& d = g_skin.comboDigits[digits[i] - '0'];
      d.SetSize(40, 53, 0);
      drawAt(d, x + 40 * i, y + 24, alpha);
    }
    Image& label = g_skin.comboLabel;
    label.SetSize(80, 53, 0);
    drawAt(label, x + 40 * n, y + 24, alpha);
  }
}
}

void Hud_SetMessage(const char* text, double nowMs, int forMs) {
  snprintf(g_hud.message, sizeof g_hud.message, "%s", text);
  g_hud.messageUntilMs = nowMs + forMs;
}

int Hud_LifeFill(int32_t life) {
  if (life <= 0) return 0;
  if (life >= 1700) return kGaugeW;
  return (int)((int64_t)life * kGaugeW / 1700);
}

void Hud_Draw(const Player* players, double songMs, double nowMs) {
  SkinImages& s = g_skin;
  drawAt(s.game[18], 0, 0);
  drawAt(s.game[19], 0, 416);
  for (int i = 0; i < 2; i++) {
    const Player& p = players[i];
    if (!p.active) continue;
    gauge(p, i == 0 ? 8 : 342, 6, nowMs);
    judgement(p, songMs, p.fieldCentreX, p.options.reverse != 0);
    score(p, i == 0 ? 12 : 340, 446);
    if (p.batteryLives > 0 || p.lifeType == 3) {
      char t[32];
      snprintf(t, sizeof t, "%d Lives", p.batteryLives);
      Font_DrawText(18, 0xFFE060, i == 0 ? 12 : 520, 64, t);
    }
  }
  if (g_hud.stageLabel >= 0 && g_hud.stageLabel < 10) drawAt(s.game[20 + g_hud.stageLabel], 288, 4);
  if (g_hud.autoPlay) drawAt(s.game[36], 288, 26);
  if (g_hud.paused) drawAt(s.game[38], 288, 200);
  if (g_hud.message[0] && nowMs < g_hud.messageUntilMs) Font_DrawText(16, 0xFFFFFF, 4, 64, g_hud.message);
}
