#include "play/note_field.h"
#include "chart/timing.h"
#include "library/settings.h"
#include "media/skin/skin_images.h"
#include "play/judgement.h"
#include "play/modifiers.h"
#include "play/note_field_parts.h"
#include <cmath>
#include <cstring>

using field::Draw;

namespace {
// A press flashes the receptor for three frames of 50 ms: pressed in, pressed
// deepest, and letting go (the pressed picture fading over the idle one).
constexpr double kPressFrameMs = 50;
constexpr int kPressFrames = 3;
constexpr int kReleaseAlpha = 128;
constexpr double kBeatFlashPart = 0.12;   // of the beat, with the beat glow on the receptors
constexpr double kBurstFrameMs = 20;
constexpr int kBurstFrames = 13;
constexpr int kBurstLeft = 8;             // explosions sit this far left of the receptor

// Column offsets on the field: 4 panels L D U R; 6 panels L UL D U UR R.
const int kOffsets4[4] = {0, 70, 140, 210};
const int kOffsetsSolo[6] = {0, 140, 210, 350, 70, 280};

int pictureColumn(int column) { return column >= COL_RIGHT_PAD ? column - COL_RIGHT_PAD : column; }

double beatFraction(double chartPos) {
  double b = chartPos / 4.0;
  double f = b - std::floor(b);
  return f >= 0 && f < 1 ? f : 0;
}

bool validPlayer(int player) { return player == 0 || player == 1; }
bool validColumn(int column) { return column >= 0 && column < kColumnSlots; }

void drawReceptor(const field::Frame& f, int c, int x, double nowMs) {
  int a = pictureColumn(c);
  int y = f.receptorY;
  double frac = f.beatFrac;
  int w = frac < 0.5 ? 0 : 1;
  double pressedAt = f.state->pressedAtMs[f.player][c];
  double since = nowMs - pressedAt;
  bool flashing = pressedAt > 0 && since >= 0 && since < kPressFrames * kPressFrameMs;
  int frame = flashing ? (int)(since / kPressFrameMs) : kPressFrames;
  if (frame == 0 || frame == 1) {
    Draw(f, &g_skin.farrows[frame][1][a], x, y);
    return;
  }
  Draw(f, &g_skin.farrows[w][0][a], x, y);
  if (frame == 2) {
    Draw(f, &g_skin.farrows[0][1][a], x, y, 0xFFFFFF, kReleaseAlpha);
  } else if (g_settings.showBeat && frac < kBeatFlashPart) {
    // the beat glow is laid over the target, strong first, then softer
    Draw(f, &g_skin.farrows[frac < kBeatFlashPart / 2 ? 0 : 1][2][a], x, y);
  }
}
}  // namespace

void NoteField_Reset(NoteFieldState& st) {
  memset(&st, 0, sizeof st);
  field::ForgetFlippedTails();   // the skin may have changed since the last play
}

void NoteField_Press(NoteFieldState& st, int player, int column, double nowMs) {
  if (validPlayer(player) && validColumn(column)) st.pressedAtMs[player][column] = nowMs;
}

void NoteField_Burst(NoteFieldState& st, int player, int column, int row, double nowMs) {
  if (!validPlayer(player) || !validColumn(column)) return;
  st.bursts[player][column] = {nowMs, row, NoteField_ExplosionColour(g_players[player], row)};
}

void NoteField_FreezeMark(NoteFieldState& st, int player, int column, bool ok, double nowMs) {
  if (!validPlayer(player) || !validColumn(column)) return;
  st.freezeMarkAtMs[player][column] = nowMs;
  st.freezeMarkOk[player][column] = ok;
}

int NoteField_ColumnX(const Player& p, int column) {
  if (p.panels == 6) return p.fieldX + kOffsetsSolo[column >= 0 && column < 6 ? column : 0];
  int pad = column >= COL_RIGHT_PAD ? 280 : 0;
  return p.fieldX + pad + kOffsets4[pictureColumn(column) & 3];
}

void NoteField_Draw(NoteFieldState& st, Player& p, int pi, const ScrollState& scroll, double nowMs) {
  st.picturesDrawn = 0;
  if (!p.active || !validPlayer(pi)) return;
  field::Frame f{};
  f.state = &st;
  f.player = pi;
  f.effect = p.options.effect;
  f.reverse = p.options.reverse != 0;
  f.appearance = p.options.appearance;
  f.receptorY = f.reverse ? (int)kReverseReceptorY : kReceptorY;
  f.beatFrac = beatFraction(scroll.chartPos);
  f.chartPos = scroll.chartPos;
  f.songPosition = scroll.position;
  // the visual offset moves the tape by that many milliseconds at the current
  // tempo (during a stop the arrows keep the same distance from where they stop)
  f.tapeScroll = Timing_TapeScroll(scroll, p) + st.visualOffsetMs[pi] * p.pixelsPerMs;
  bool flat = p.options.arrowFilter == FILTER_FLAT;
  int columns[kColumnSlots], columnCount = 0;
  if (p.panels == 8)
    for (int c : {0, 1, 2, 3, 6, 7, 8, 9}) columns[columnCount++] = c;
  else
    for (int c = 0; c < (p.panels == 6 ? 6 : 4); c++) columns[columnCount++] = c;

  if (!p.options.dark)
    for (int k = 0; k < columnCount; k++)
      drawReceptor(f, columns[k], NoteField_ColumnX(p, columns[k]), nowMs);

  // arrows and freezes, from the first the field still looks at
  if (p.firstVisible < 0) p.firstVisible = 0;
  bool advancing = true;
  auto passed = [&](int i) {
    if (advancing && i == p.firstVisible) p.firstVisible++;
  };
  for (int i = p.firstVisible; i < p.arrowCount && p.arrows; i++) {
    Arrow& a = p.arrows[i];
    if (a.kind == ARROW_IGNORED) {
      passed(i);
      continue;
    }
    if (a.kind == ARROW_FREEZE) {
      int r = field::DrawFreeze(f, p, i);
      if (r == field::FREEZE_GONE) {
        passed(i);
        continue;
      }
      advancing = false;
      if (r == field::FREEZE_BEYOND) break;
      continue;
    }
    bool judged = a.status == NOTE_JUDGED;
    int own = a.judgement[kOwnJudgement];
    bool exploded = judged && own <= JUDGE_GREAT;
    // a freeze head that was hit is shown by its freeze from then on
    bool heldHead = judged && own < JUDGE_MISS && a.freezeLink >= 0 && a.freezeLink < p.arrowCount &&
                    p.arrows[a.freezeLink].kind == ARROW_FREEZE;
    double y = Note_BaseOffset(a.tapeY, f.reverse, f.tapeScroll);
    double sy = Note_ScreenY(y, f.effect, f.reverse, !judged, f.songPosition);
    // BOOST and the reverse effects put notes behind the receptors exactly on
    // the edge: that counts as off the screen
    bool offScreen = f.reverse ? !(sy < 480) : !(sy > -64);
    if (exploded || heldHead || (judged && offScreen)) {
      passed(i);
      continue;
    }
    advancing = false;
    if (Note_BeyondScreen(sy, f.effect, f.reverse)) break;
    field::DrawArrow(f, a, flat, a.x, field::ScreenInt(sy), field::AppearanceAlpha(f, sy));
  }

  // explosions and the freeze marks on the receptors
  for (int k = 0; k < columnCount; k++) {
    int c = columns[k];
    int x = NoteField_ColumnX(p, c);
    const auto& b = st.bursts[pi][c];
    double age = nowMs - b.atMs;
    if (b.atMs > 0 && age >= 0 && age < kBurstFrames * kBurstFrameMs) {
      int frame = (int)(age / kBurstFrameMs);
      Draw(f, &g_skin.flash[b.row & 3][frame], x - kBurstLeft, f.receptorY, b.colour);
    }
    double markAge = nowMs - st.freezeMarkAtMs[pi][c];
    if (st.freezeMarkAtMs[pi][c] > 0 && markAge >= 0 && markAge < 600) {
      int alpha = markAge < 400 ? 255 : (int)(255 * (600 - markAge) / 200);
      Draw(f, &g_skin.hjudge[st.freezeMarkOk[pi][c] ? 0 : 1], x, f.reverse ? f.receptorY - 26 : f.receptorY + 68,
           0xFFFFFF, alpha);
    }
  }
}
