// Freeze arrows on the note field: the body tiled from the head to the tail
// (only where the screen shows it), the held head sitting on the receptor, and
// the grey remainder of a dropped freeze, which scrolls away from where it was
// let go.
#include "chart/chart.h"
#include "media/skin/skin_config.h"
#include "media/skin/skin_images.h"
#include "play/judgement.h"
#include "play/modifiers.h"
#include "play/note_field.h"
#include "play/note_field_parts.h"
#include <algorithm>
#include <cmath>
#include <cstring>

namespace field {
namespace {
constexpr uint32_t kDroppedColour = 0x606060;
constexpr int kPieceHeight = 16;
constexpr int kTailOverlap = 12;   // the tail reaches this far back into the body

// REVERSE needs the tails upside down; the renderer draws pictures as they are,
// so the field keeps its own flipped copies, made once per play.
Image g_flipped[2][6];   // [held][column]

Image* flippedTail(bool held, int col) {
  Image& src = g_skin.freezes[col][held ? 5 : 2];
  Image& dst = g_flipped[held][col];
  if (!src.loaded || !src.pixels) return nullptr;
  if (dst.loaded && dst.surfaceWidth == src.surfaceWidth && dst.surfaceHeight == src.surfaceHeight) return &dst;
  int w = src.surfaceWidth, h = src.surfaceHeight;
  if (!dst.Create(w, h, IMAGE_ARGB)) return nullptr;
  for (int r = 0; r < h; r++) {
    const uint32_t* from = src.pixels + (size_t)(h - 1 - r) * w;
    memcpy(dst.pixels + (size_t)r * w, from, (size_t)w * 4);
    for (int x = 0; x < w; x++)
      dst.savedAlpha[(size_t)r * w + x] =
          src.savedAlpha ? src.savedAlpha[(size_t)(h - 1 - r) * w + x] : (uint8_t)(from[x] >> 24);
  }
  dst.pixelAlpha = src.pixelAlpha;
  return &dst;
}

uint32_t freezeColour(double frac, bool dropped) {
  if (dropped) return kDroppedColour;
  uint32_t c = g_freezeGradient[(int)(frac * 16) & 15];
  return c ? c : 0xFFFFFF;
}

NoteFieldState::Hold* findHold(NoteFieldState& st, int pi, int index) {
  for (auto& h : st.holds[pi])
    if (h.recordPlusOne == index + 1) return &h;
  return nullptr;
}

void rememberHold(NoteFieldState& st, int pi, int index, double chartPos) {
  NoteFieldState::Hold* h = findHold(st, pi, index);
  if (!h) {
    int& next = st.nextHold[pi];
    if (next < 0 || next >= kHoldSlots) next = 0;
    h = &st.holds[pi][next];
    next = (next + 1) % kHoldSlots;
    h->recordPlusOne = index + 1;
  }
  h->chartPos = chartPos;
}

// The body between screen y `headY` and `tailY`, then the tail at the far end.
void drawBody(const Frame& f, int col, int x, double headY, double tailY, bool held, bool dropped) {
  int base = held ? 3 : 0;
  Image& piece = g_skin.freezes[col][base + 1];
  uint32_t colour = freezeColour(f.beatFrac, dropped);
  double top = ClampY(std::min(headY, tailY)), bottom = ClampY(std::max(headY, tailY));
  if (bottom - top < 1) return;
  // pieces start at the head's centre; only those that reach into the screen are drawn
  double start = top + 32, end = bottom + 32;
  double clipTop = std::max(start, 0.0), clipBottom = std::min(end, 480.0);
  if (piece.loaded && clipBottom > clipTop) {
    double y = start;
    if (y < clipTop) y += std::floor((clipTop - y) / kPieceHeight) * kPieceHeight;
    for (; y < clipBottom; y += kPieceHeight) {
      int alpha = AppearanceAlpha(f, y - 32 + kPieceHeight / 2);
      if (alpha <= 0) continue;
      piece.SetColour(colour);
      piece.SetSurfaceAlpha(alpha);
      piece.SetPosition(x, ScreenInt(y));
      if (piece.DrawClipped(0, (int)clipTop, 640, (int)clipBottom)) f.state->picturesDrawn++;
    }
  }
  // the tail closes the body at the end away from the receptors, its rounded
  // cap pointing away from the body
  Image* tail = f.reverse ? flippedTail(held, col) : &g_skin.freezes[col][base + 2];
  if (!tail || !tail->loaded) return;
  double ty = f.reverse ? start - tail->height + kTailOverlap : end - kTailOverlap;
  if (ty <= -tail->height || ty >= 480) return;
  Draw(f, tail, x, ScreenInt(ty), colour, AppearanceAlpha(f, f.reverse ? top : bottom));
}
}  // namespace

void ForgetFlippedTails() {
  for (auto& row : g_flipped)
    for (Image& i : row) i.Free();
}

int DrawFreeze(const Frame& f, Player& p, int index) {
  Arrow& a = p.arrows[index];
  int col = a.column >= COL_RIGHT_PAD ? a.column - COL_RIGHT_PAD : a.column;
  if (col < 0 || col > 5) return FREEZE_GONE;
  double y = Note_BaseOffset(a.tapeY, f.reverse, f.tapeScroll);
  double length = std::max(0.0, (a.endPos - a.startPos) * p.pixelsPerBeat * 0.25);
  bool held = a.status == FREEZE_HELD, dropped = a.status == FREEZE_NG, done = a.status == FREEZE_OK;
  if (done) return FREEZE_GONE;
  if (held) rememberHold(*f.state, f.player, index, f.chartPos);
  // a freeze let go goes on from where its head was when last held
  double headBase = held ? (double)kReceptorY : y;
  const NoteFieldState::Hold* wasHeld = dropped ? findHold(*f.state, f.player, index) : nullptr;
  if (wasHeld) headBase = y + (wasHeld->chartPos - a.startPos) * p.pixelsPerBeat * 0.25;
  double headY = Note_ScreenY(headBase, f.effect, f.reverse, !held && !dropped, f.songPosition);
  double tailY = Note_ScreenY(y + length, f.effect, f.reverse, true, f.songPosition);
  if (f.reverse ? !(tailY < 480) : !(tailY > -64)) return FREEZE_GONE;

  drawBody(f, col, a.x, headY, tailY, held, dropped);
  if (held) {
    // the held head stays on the receptor as a sign of the hold, except in STEALTH
    if (f.appearance != APPEAR_STEALTH) Draw(f, &g_skin.freezes[col][3], a.x, f.receptorY, freezeColour(f.beatFrac, false));
  } else if (wasHeld) {
    Draw(f, &g_skin.freezes[col][0], a.x, ScreenInt(headY), kDroppedColour, AppearanceAlpha(f, headY));
  }
  return Note_BeyondScreen(headY, f.effect, f.reverse) ? FREEZE_BEYOND : FREEZE_DRAWN;
}

}  // namespace field
