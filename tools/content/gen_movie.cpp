// The random-background movie "Movies/Random/tv-drift.avi": eight seconds of
// slowly turning light beams over a tunnel of rings and drifting sparks in the
// skin's palette, dark enough for arrows to stay readable on top. Every moving
// part turns or travels a whole number of its own repeats in the eight seconds,
// so the last frame runs into the first without a seam.
//
// Encoded by movie_encoder.h: the same bytes on every run.
#include <cairo.h>

#include <cmath>
#include <filesystem>
#include <vector>

#include "gen.h"
#include "gen_draw.h"
#include "movie_encoder.h"

extern "C" {
#include <libavutil/log.h>
}

namespace {
constexpr int kWidth = 640, kHeight = 480, kFps = 30, kFrames = 8 * kFps;
constexpr int kQscale = 4;     // visually clean, about 2 MB for the eight seconds
constexpr int kKeyEvery = kFps;
constexpr double kTau = 6.283185307179586;

struct Spark {
  double angle, phase, size;
  int laps;  // trips out from the middle per loop
  uint32_t colour;
};

std::vector<Spark> Sparks() {
  Rng rng(0x7D21F7);
  const uint32_t colours[] = {Palette::Cyan, Palette::Magenta, Palette::Gold, 0xFFFFFF};
  std::vector<Spark> v(70);
  for (auto& s : v) {
    s.angle = rng.Between(0, kTau);
    s.phase = rng.Uniform();
    s.size = rng.Between(1.0, 2.6);
    s.laps = rng.Range(1, 2);
    s.colour = colours[rng.Range(0, 3)];
  }
  return v;
}

// A wedge of light from the middle, fading out with distance.
void Beam(cairo_t* cr, double cx, double cy, double angle, double halfWidth, Rgba c, double strength) {
  cairo_pattern_t* g = cairo_pattern_create_radial(cx, cy, 0, cx, cy, 560);
  cairo_pattern_add_color_stop_rgba(g, 0.0, c.r, c.g, c.b, 0.0);
  cairo_pattern_add_color_stop_rgba(g, 0.08, c.r, c.g, c.b, strength);
  cairo_pattern_add_color_stop_rgba(g, 0.55, c.r, c.g, c.b, strength * 0.45);
  cairo_pattern_add_color_stop_rgba(g, 1.0, c.r, c.g, c.b, 0.0);
  cairo_move_to(cr, cx, cy);
  cairo_arc(cr, cx, cy, 600, angle - halfWidth, angle + halfWidth);
  cairo_close_path(cr);
  cairo_set_source(cr, g);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
}

void DrawFrame(cairo_t* cr, int frame, const std::vector<Spark>& sparks) {
  const double u = (double)frame / kFrames;  // 0..1 over the loop
  // The middle wanders on a small ellipse, once per loop.
  const double cx = kWidth / 2 + 36 * std::cos(kTau * u), cy = kHeight / 2 + 22 * std::sin(kTau * u);

  cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
  cairo_pattern_t* bg = cairo_pattern_create_radial(cx, cy, 10, kWidth / 2, kHeight / 2, 460);
  Rgba mid = Mix(Hex(Palette::Indigo), Hex(Palette::Violet), 0.25);
  Rgba night = Hex(Palette::Night);
  cairo_pattern_add_color_stop_rgb(bg, 0, mid.r, mid.g, mid.b);
  cairo_pattern_add_color_stop_rgb(bg, 1, night.r * 0.7, night.g * 0.7, night.b * 0.7);
  cairo_set_source(cr, bg);
  cairo_paint(cr);
  cairo_pattern_destroy(bg);
  cairo_set_operator(cr, CAIRO_OPERATOR_ADD);

  // Eight beams, violet and cyan in turn, turning two beams' width per loop;
  // six magenta ones turning the other way by one of theirs.
  const double pulse = 0.5 + 0.5 * std::cos(kTau * 2 * u);
  for (int k = 0; k < 8; k++) {
    double a = kTau * (k + 2 * u) / 8;
    Beam(cr, cx, cy, a, 0.11, Hex(k % 2 ? Palette::Cyan : Palette::Violet), 0.16 + 0.05 * pulse);
  }
  for (int k = 0; k < 6; k++) {
    double a = kTau * (k + 0.5 - u) / 6;
    Beam(cr, cx, cy, a, 0.06, Hex(Palette::Magenta), 0.10 + 0.05 * (1 - pulse));
  }

  // Rings rushing outward: each loop they move on by two, so the colour order
  // (cyan, magenta) lines up again.
  for (int k = -3; k < 14; k++) {
    double r = 9 * std::pow(1.42, k + 2 * u);
    if (r < 4 || r > 900) continue;
    double fadeIn = std::min(1.0, (r - 4) / 60);
    double fadeOut = std::max(0.0, 1.0 - r / 900);
    Rgba c = Hex((k & 1) ? Palette::Magenta : Palette::Cyan);
    cairo_set_source_rgba(cr, c.r, c.g, c.b, 0.24 * fadeIn * fadeOut);
    cairo_set_line_width(cr, 1.0 + r * 0.035);
    cairo_new_path(cr);
    cairo_arc(cr, cx, cy, r, 0, kTau);
    cairo_stroke(cr);
  }

  // Sparks flying out from the middle.
  for (const Spark& s : sparks) {
    double f = std::fmod(s.phase + s.laps * u, 1.0);
    double r = 14 * std::pow(40.0, f);
    double x = cx + r * std::cos(s.angle), y = cy + r * std::sin(s.angle);
    Rgba c = Hex(s.colour);
    double a = 0.75 * std::sin(M_PI * f);
    cairo_pattern_t* g = cairo_pattern_create_radial(x, y, 0, x, y, s.size * (1 + 3 * f));
    cairo_pattern_add_color_stop_rgba(g, 0, c.r, c.g, c.b, a);
    cairo_pattern_add_color_stop_rgba(g, 1, c.r, c.g, c.b, 0);
    cairo_set_source(cr, g);
    cairo_arc(cr, x, y, s.size * (1 + 3 * f), 0, kTau);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
  }

  // A soft dark rim keeps the corners quiet.
  cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
  cairo_pattern_t* rim = cairo_pattern_create_radial(kWidth / 2, kHeight / 2, 200, kWidth / 2, kHeight / 2, 420);
  cairo_pattern_add_color_stop_rgba(rim, 0, 0, 0, 0, 0);
  cairo_pattern_add_color_stop_rgba(rim, 1, 0, 0, 0, 0.55);
  cairo_set_source(cr, rim);
  cairo_paint(cr);
  cairo_pattern_destroy(rim);
}

// Writes the frames drawn by DrawFrame into an AVI file.
bool EncodeDrift(const std::string& path) {
  Canvas canvas = Canvas_New(kWidth, kHeight, true);
  if (!canvas.cr) return false;
  const std::vector<Spark> sparks = Sparks();
  bool ok = EncodeMovie(path, kWidth, kHeight, kFps, kFrames, kQscale, kKeyEvery, [&](int i, int* stride) {
    DrawFrame(canvas.cr, i, sparks);
    cairo_surface_flush(canvas.surface);
    *stride = cairo_image_surface_get_stride(canvas.surface);
    return (const uint8_t*)cairo_image_surface_get_data(canvas.surface);
  });
  Canvas_Free(canvas);
  return ok;
}
}  // namespace

bool Gen_Movies(const GenContext& ctx) {
  av_log_set_level(AV_LOG_ERROR);
  const std::string dir = JoinPath(ctx.gameDir, "Movies/Random");
  const std::string path = JoinPath(dir, "tv-drift.avi");
  std::error_code ec;
  std::filesystem::remove(path, ec);  // only our own file: the folder may hold the player's movies
  if (!MakeDirs(dir)) {
    return false;  // MakeDirs said why
  }
  if (!EncodeDrift(path)) {
    std::filesystem::remove(path, ec);
    GenFail("cannot encode '%s'", path.c_str());
    return false;
  }
  return true;
}
