// How the note field's arrows look: the picture of each arrow set with its
// animation, the appearance modifiers' fades, and the explosion colours.
#include "chart/chart.h"
#include "chart/random.h"
#include "media/skin/skin_config.h"
#include "media/skin/skin_images.h"
#include "play/judgement.h"
#include "play/modifiers.h"
#include "play/note_field.h"
#include "play/note_field_parts.h"
#include <cmath>

namespace field {
namespace {
// HIDDEN: arrows fade out while they cross this band (pixels ahead of the
// receptor) and are gone nearer than it; SUDDEN: they fade in across the other
// band and are not seen farther out. The two meet about the middle of the field.
constexpr double kHiddenGoneAt = 140, kHiddenShownAt = 220;
constexpr double kSuddenShownAt = 200, kSuddenGoneAt = 280;

// Set 1 pulses with the beat: the unlit arrow is laid over the coloured one,
// not at all on the beat and most at the half beat.
constexpr int kSet1Frames = 16;
constexpr int kSet1MostDim = 120;

int ramp(double v, double from, double to) {
  if (!(v > from)) return 0;
  if (v >= to) return 255;
  return (int)(255 * (v - from) / (to - from));
}
}  // namespace

double ClampY(double y) {
  if (!(y > -kFarY)) return -kFarY;   // NaN too
  if (!(y < kFarY)) return kFarY;
  return y;
}

int ScreenInt(double y) { return (int)std::lround(ClampY(y)); }

void Draw(const Frame& f, Image* img, int x, int y, uint32_t colour, int alpha) {
  if (!img || !img->loaded || alpha <= 0) return;
  img->SetColour(colour);
  img->SetSurfaceAlpha(alpha > 255 ? 255 : alpha);
  img->SetPosition(x, y);
  if (img->Draw()) f.state->picturesDrawn++;
}

int AppearanceAlpha(const Frame& f, double screenY) {
  double ahead = f.reverse ? f.receptorY - screenY : screenY - f.receptorY;
  switch (f.appearance) {
    case APPEAR_HIDDEN: return ramp(ahead, kHiddenGoneAt, kHiddenShownAt);
    case APPEAR_SUDDEN: return 255 - ramp(ahead, kSuddenShownAt, kSuddenGoneAt);
    case APPEAR_STEALTH: return 0;
    default: return 255;
  }
}

void DrawArrow(const Frame& f, const Arrow& a, bool flat, int x, int y, int alpha) {
  if (!a.image || alpha <= 0) return;
  Image* img = const_cast<Image*>(a.image);
  if (img < g_arrows || img >= g_arrows + kArrowRecords) {
    // a chord with a freeze head draws freeze heads
    uint32_t c = g_freezeGradient[(int)(f.beatFrac * 16) & 15];
    Draw(f, img, x, y, c ? c : 0xFFFFFF, alpha);
    return;
  }
  int index = (int)(img - g_arrows);
  if (g_arrowSet == 1) {
    // sixteen pictures per column, one colour for each place in the beat (15
    // on the beat, 7 on the half beat); FLAT draws every arrow in the colour
    // of the beat
    int c = index / kSet1Frames;
    if (c > 5) return;
    Image* coloured = &g_arrows[c * kSet1Frames + (a.beatPhase & 15)];
    if (flat) coloured = g_arrowsSecond[c * 16].loaded ? &g_arrowsSecond[c * 16] : &g_arrows[c * kSet1Frames + 15];
    Draw(f, coloured, x, y, 0xFFFFFF, alpha);
    int step = (int)(f.beatFrac * kSet1Frames) % kSet1Frames;
    int dim = (int)(kSet1MostDim * (0.5 - 0.5 * std::cos(2 * M_PI * step / kSet1Frames)));
    Draw(f, &g_arrowsThird[c], x, y, 0xFFFFFF, dim * alpha / 255);
    return;
  }
  // sets 2 and 3: the loader chose the colour class's column; all arrows pulse
  // together, twelve pictures per beat
  int frames = Arrows_FramesPerAnimation();
  int first = index - index % frames;
  int frame = (int)(f.beatFrac * frames) % frames;
  if (first + frame >= kArrowRecords) frame = 0;
  Draw(f, &g_arrows[first + frame], x, y, 0xFFFFFF, alpha);
}

}  // namespace field

uint32_t NoteField_ExplosionColour(const Player& p, int row) {
  if (row != 0 && row != 1) return 0xFFFFFF;
  const ColourList& combo = row == 0 ? g_skinConfig.comboPerfect : g_skinConfig.comboGreat;
  int n = combo.count < 0 ? 0 : combo.count > kMaxColourList ? kMaxColourList : combo.count;
  if (p.combo >= kComboColoursFrom && n > 0) return combo.values[Random_Below(n)] & 0xFFFFFF;
  return (row == 0 ? g_skinConfig.regPerfect : g_skinConfig.regGreat) & 0xFFFFFF;
}
