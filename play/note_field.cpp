#include "play/note_field.h"
#include "chart/timing.h"
#include "library/settings.h"
#include "media/skin/skin_config.h"
#include "media/skin/skin_images.h"
#include "play/judgement.h"
#include "play/modifiers.h"
#include <cmath>
#include <cstring>

NoteFieldState g_field;

namespace {
constexpr double kPressFlashMs = 150;   // three frames of 50 ms
constexpr double kBurstFrameMs = 20;
constexpr int kBurstFrames = 13;

// Column offsets on the field: 4 panels L D U R; 6 panels L UL D U UR R.
const int kOffsets4[4] = {0, 70, 140, 210};
const int kOffsetsSolo[6] = {0, 140, 210, 350, 70, 280};

int pictureColumn(int column) { return column >= COL_RIGHT_PAD ? column - COL_RIGHT_PAD : column; }

double beatFraction(double chartPos) {
  double b = chartPos / 4.0;
  return b - std::floor(b);
}

void drawImage(Image* img, int x, int y, uint32_t colour = 0xFFFFFF, int alpha = 255) {
  if (!img || !img->loaded) return;
  img->SetColour(colour);
  img->SetSurfaceAlpha(alpha);
  img->SetPosition(x, y);
  img->Draw();
}

uint32_t freezeColour(double frac, bool dropped) {
  if (dropped) return 0x606060;
  uint32_t c = g_freezeGradient[(int)(frac * 16) & 15];
  return c ? c : 0xFFFFFF;
}

// A freeze's body from screen y `from` to `to` (from above to) in the column,
// its tiling piece repeated and its tail at the far end.
void drawBody(int col, int x, double from, double to, bool held, bool dropped, bool reverse, double frac) {
  int base = held ? 3 : 0;
  Image& piece = g_skin.freezes[col][base + 1];
  Image& tail = g_skin.freezes[col][base + 2];
  uint32_t colour = freezeColour(frac, dropped);
  double top = std::min(from, to), bottom = std::max(from, to);
  if (bottom - top < 1) return;
  int clipTop = (int)std::max(top + 32, 0.0), clipBottom = (int)std::min(bottom + 32, 480.0);
  if (clipBottom <= clipTop) return;
  if (piece.loaded) {
    piece.SetColour(colour);
    piece.SetSurfaceAlpha(255);
    for (double y = top + 32; y < bottom + 32; y += 16) {
      piece.SetPosition(x, (int)y);
      piece.DrawClipped(0, clipTop, 640, clipBottom);
    }
  }
  if (tail.loaded) {
    tail.SetColour(colour);
    tail.SetSurfaceAlpha(255);
    // the tail closes the body at the end away from the receptors
    int ty = reverse ? (int)top + 32 - 44 : (int)bottom + 32 - 12;
    tail.SetPosition(x, ty);
    tail.Draw();
  }
}
}

void NoteField_Reset() { memset(&g_field, 0, sizeof g_field); }

void NoteField_Press(int player, int column, double nowMs) { g_field.pressedAtMs[player][column] = nowMs; }

void NoteField_Burst(int player, int column, int row, double nowMs) { g_field.bursts[player][column] = {nowMs, row}; }

void NoteField_FreezeMark(int player, int column, bool ok, double nowMs) {
  g_field.freezeMarkAtMs[player][column] = nowMs;
  g_field.freezeMarkOk[player][column] = ok;
}

int NoteField_ColumnX(const Player& p, int column) {
  if (p.panels == 6) return p.fieldX + kOffsetsSolo[column < 6 ? column : 0];
  int pad = column >= COL_RIGHT_PAD ? 280 : 0;
  return p.fieldX + pad + kOffsets4[pictureColumn(column) & 3];
}

void NoteField_Draw(Player& p, int pi, const ScrollState& scroll, double nowMs) {
  if (!p.active) return;
  bool reverse = p.options.reverse != 0;
  int effect = p.options.effect;
  double frac = beatFraction(scroll.chartPos);
  double tapeScroll = Timing_TapeScroll(scroll, p);
  int receptorY = reverse ? (int)kReverseReceptorY : kReceptorY;
  int columns[kColumnSlots], columnCount = 0;
  if (p.panels == 8)
    for (int c : {0, 1, 2, 3, 6, 7, 8, 9}) columns[columnCount++] = c;
  else
    for (int c = 0; c < (p.panels == 6 ? 6 : 4); c++) columns[columnCount++] = c;

  // receptors, with the press flash and the beat flash
  if (!p.options.dark) {
    int w = frac < 0.5 ? 0 : 1;
    bool beat = g_settings.showBeat && frac < 0.12;
    for (int k = 0; k < columnCount; k++) {
      int c = columns[k];
      int j = nowMs - g_field.pressedAtMs[pi][c] < kPressFlashMs && g_field.pressedAtMs[pi][c] > 0 ? 1 : beat ? 2 : 0;
      drawImage(&g_skin.farrows[w][j][pictureColumn(c)], NoteField_ColumnX(p, c), receptorY);
    }
  }

  // arrows and freezes, from the first the field still looks at
  int frames = Arrows_FramesPerAnimation();
  int animFrame = (int)(frac * frames) % frames;
  bool advancing = true;
  for (int i = p.firstVisible; i < p.arrowCount; i++) {
    Arrow& a = p.arrows[i];
    if (a.kind == ARROW_IGNORED) {
      if (advancing && i == p.firstVisible) p.firstVisible++;
      continue;
    }
    double y = Note_BaseOffset(a.tapeY, reverse, tapeScroll);
    int col = pictureColumn(a.column);
    if (a.kind == ARROW_FREEZE) {
      double length = (a.endPos - a.startPos) * p.pixelsPerBeat * 0.25;
      bool held = a.status == FREEZE_HELD, dropped = a.status == FREEZE_NG, done = a.status == FREEZE_OK;
      double headY = Note_ScreenY(held ? 55.0 : y, effect, reverse, !held && !dropped, scroll.position);
      double tailY = Note_ScreenY(y + length, effect, reverse, true, scroll.position);
      bool gone = done || (reverse ? tailY > 480 : tailY < -64);
      if (gone) {
        if (advancing && i == p.firstVisible) p.firstVisible++;
        continue;
      }
      advancing = false;
      if (!done) {
        drawBody(col, a.x, headY, tailY, held, dropped, reverse, frac);
        if (held) drawImage(&g_skin.freezes[col][3], a.x, (int)headY, freezeColour(frac, false));
      }
      if (Note_BeyondScreen(headY, effect, reverse)) break;
      continue;
    }
    bool judged = a.status == NOTE_JUDGED;
    bool exploded = judged && a.judgement[kOwnJudgement] <= JUDGE_GREAT;
    double sy = Note_ScreenY(y, effect, reverse, !judged, scroll.position);
    bool offScreen = reverse ? sy > 480 : sy < -64;
    if (exploded || (judged && offScreen)) {
      if (advancing && i == p.firstVisible) p.firstVisible++;
      continue;
    }
    advancing = false;
    if (Note_BeyondScreen(sy, effect, reverse)) break;
    if (!a.image) continue;
    Image* img = const_cast<Image*>(a.image);
    if (img >= g_arrows && img < g_arrows + kArrowRecords) {
      // set 1 colours each arrow by its place in the beat; sets 2 and 3 pulse with the beat
      int frame = g_arrowSet == 1 ? (a.beatPhase & 15) : animFrame;
      if (img + frame >= g_arrows + kArrowRecords) frame = 0;
      drawImage(img + frame, a.x, (int)sy);
    } else {
      drawImage(img, a.x, (int)sy, freezeColour(frac, false));  // a chord with a freeze head
    }
    (void)col;
  }

  // explosions and the freeze marks on the receptors
  for (int k = 0; k < columnCount; k++) {
    int c = columns[k];
    const auto& b = g_field.bursts[pi][c];
    double age = nowMs - b.atMs;
    if (b.atMs > 0 && age >= 0 && age < kBurstFrames * kBurstFrameMs) {
      int f = (int)(age / kBurstFrameMs);
      drawImage(&g_skin.flash[b.row & 3][f], NoteField_ColumnX(p, c) - 8, receptorY - 8);
    }
    double markAge = nowMs - g_field.freezeMarkAtMs[pi][c];
    if (g_field.freezeMarkAtMs[pi][c] > 0 && markAge < 600) {
      int alpha = markAge < 400 ? 255 : (int)(255 * (600 - markAge) / 200);
      drawImage(&g_skin.hjudge[g_field.freezeMarkOk[pi][c] ? 0 : 1], NoteField_ColumnX(p, c),
                reverse ? receptorY - 26 : receptorY + 68, 0xFFFFFF, alpha);
    }
  }
}
