// The arrow pictures: the three arrow sets (rkv2-narrows, rkv2-sarrows,
// rkv2-carrows), the target arrows (rkv2-farrows), the freeze (hold) arrows
// (rkv2-freezes) and the step flashes (rkv2-flash).
#include <cmath>

#include "gen.h"
#include "gen_arrows.h"

double Arrow_Angle(int column) {
  static const double deg[6] = {270, 180, 0, 90, 315, 45};
  return deg[column % 6] * M_PI / 180.0;
}

void Arrow_Path(cairo_t* cr, double cx, double cy, double s, double angle) {
  // an arrow pointing up: a wide head with swept-back wings and a stem
  static const double pts[][2] = {{0, -27}, {27, 0},  {27, 11},  {10, -6}, {10, 27},
                                  {-10, 27}, {-10, -6}, {-27, 11}, {-27, 0}};
  double c = std::cos(angle), sn = std::sin(angle);
  cairo_new_path(cr);
  for (int i = 0; i < 9; i++) {
    double x = pts[i][0] * s, y = pts[i][1] * s;
    double rx = cx + x * c - y * sn, ry = cy + x * sn + y * c;
    if (i == 0)
      cairo_move_to(cr, rx, ry);
    else
      cairo_line_to(cr, rx, ry);
  }
  cairo_close_path(cr);
}

// A linear gradient running from the arrow's tip to its tail.
static cairo_pattern_t* AlongArrow(double cx, double cy, double s, double angle, Rgba tip, Rgba tail) {
  double dx = std::sin(angle), dy = -std::cos(angle);
  cairo_pattern_t* p = cairo_pattern_create_linear(cx + dx * 27 * s, cy + dy * 27 * s, cx - dx * 27 * s,
                                                   cy - dy * 27 * s);
  cairo_pattern_add_color_stop_rgba(p, 0, tip.r, tip.g, tip.b, tip.a);
  cairo_pattern_add_color_stop_rgba(p, 1, tail.r, tail.g, tail.b, tail.a);
  return p;
}

void Arrow_Draw(cairo_t* cr, double cx, double cy, double s, double angle, Rgba col, ArrowLook look,
                double glow, double stripes) {
  cairo_save(cr);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  if (glow > 0) {
    // halo: the outline stroked wide and soft
    for (int i = 3; i >= 1; i--) {
      Arrow_Path(cr, cx, cy, s, angle);
      Rgba h = Lighter(col, 0.5);
      cairo_set_source_rgba(cr, h.r, h.g, h.b, 0.12 * glow * (4 - i));
      cairo_set_line_width(cr, 3.0 + 2.2 * i);
      cairo_stroke(cr);
    }
  }
  Rgba c = Lighter(col, 0.18 * glow);
  switch (look) {
    case ArrowLook::Glossy: {
      Arrow_Path(cr, cx, cy, s, angle);
      cairo_pattern_t* p = AlongArrow(cx, cy, s, angle, Lighter(c, 0.3), Darker(c, 0.35));
      cairo_set_source(cr, p);
      cairo_fill_preserve(cr);
      cairo_pattern_destroy(p);
      cairo_set_source_rgba(cr, 0.02, 0.02, 0.06, 1);
      cairo_set_line_width(cr, 3.2);
      cairo_stroke(cr);
      // a white rim just inside the outline
      Arrow_Path(cr, cx, cy, s * 0.86, angle);
      cairo_set_source_rgba(cr, 1, 1, 1, 0.55 + 0.35 * glow);
      cairo_set_line_width(cr, 1.4);
      cairo_stroke(cr);
      // gloss on the tip half
      cairo_save(cr);
      Arrow_Path(cr, cx, cy, s * 0.8, angle);
      cairo_clip(cr);
      double dx = std::sin(angle), dy = -std::cos(angle);
      cairo_pattern_t* g = cairo_pattern_create_linear(cx + dx * 24 * s, cy + dy * 24 * s, cx, cy);
      cairo_pattern_add_color_stop_rgba(g, 0, 1, 1, 1, 0.55);
      cairo_pattern_add_color_stop_rgba(g, 1, 1, 1, 1, 0.0);
      cairo_set_source(cr, g);
      cairo_paint(cr);
      cairo_pattern_destroy(g);
      cairo_restore(cr);
      break;
    }
    case ArrowLook::Classic: {
      Arrow_Path(cr, cx, cy, s, angle);
      SetColour(cr, Darker(c, 0.15));
      cairo_fill_preserve(cr);
      cairo_set_source_rgba(cr, 0.02, 0.02, 0.05, 1);
      cairo_set_line_width(cr, 3.0);
      cairo_stroke(cr);
      // chevron stripes that travel from tail to tip as the frames go on
      cairo_save(cr);
      Arrow_Path(cr, cx, cy, s * 0.88, angle);
      cairo_clip(cr);
      cairo_translate(cr, cx, cy);
      cairo_rotate(cr, angle);
      cairo_scale(cr, s, s);
      for (int k = -2; k <= 3; k++) {
        double y = 30 - (k + stripes) * 14.0;
        cairo_move_to(cr, -34, y + 22);
        cairo_line_to(cr, 0, y - 12);
        cairo_line_to(cr, 34, y + 22);
        cairo_set_line_width(cr, 5);
        Rgba l = Lighter(c, 0.55);
        cairo_set_source_rgba(cr, l.r, l.g, l.b, 0.85);
        cairo_stroke(cr);
      }
      cairo_restore(cr);
      Arrow_Path(cr, cx, cy, s * 0.88, angle);
      cairo_set_source_rgba(cr, 1, 1, 1, 0.9);
      cairo_set_line_width(cr, 1.6);
      cairo_stroke(cr);
      break;
    }
    case ArrowLook::Target: {
      Arrow_Path(cr, cx, cy, s, angle);
      cairo_pattern_t* p = AlongArrow(cx, cy, s, angle, Mix(c, {0.1, 0.1, 0.15, 1}, 0.5),
                                      Mix(c, {0.02, 0.02, 0.05, 1}, 0.7));
      cairo_set_source(cr, p);
      cairo_fill_preserve(cr);
      cairo_pattern_destroy(p);
      cairo_set_source_rgba(cr, 0.9, 0.92, 1.0, 0.95);
      cairo_set_line_width(cr, 3.0);
      cairo_stroke_preserve(cr);
      cairo_set_source_rgba(cr, 0, 0, 0, 0.9);
      cairo_set_line_width(cr, 1.0);
      cairo_stroke(cr);
      Arrow_Path(cr, cx, cy, s * 0.72, angle);
      cairo_set_source_rgba(cr, 1, 1, 1, 0.25 + 0.5 * glow);
      cairo_set_line_width(cr, 1.5);
      cairo_stroke(cr);
      break;
    }
    case ArrowLook::Flat: {
      Arrow_Path(cr, cx, cy, s, angle);
      SetColour(cr, c);
      cairo_fill_preserve(cr);
      cairo_set_source_rgba(cr, 0, 0, 0, 0.9);
      cairo_set_line_width(cr, 2.5);
      cairo_stroke(cr);
      break;
    }
  }
  cairo_restore(cr);
}

// Colour of arrow set 1 by where a note sits in its beat, in 64ths (15 = on the beat).
static Rgba NoteColour(int phase) {
  switch (phase & 15) {
    case 15: return Hex(Palette::ClassBeat);  // quarter
    case 7: return Hex(Palette::ClassHalf);   // eighth
    case 3: case 11: return Hex(Palette::ClassOff);  // sixteenth
    case 2: case 4: case 10: case 12: return Hex(0xB040F0);  // triplets
    case 1: case 5: case 9: case 13: return Hex(0x30E070);   // 32nds
    default: return Hex(0x30E0E0);
  }
}

static bool ArrowSet1(const std::string& dir) {
  Canvas c = Canvas_New(384, 1280);
  for (int col = 0; col < 6; col++) {
    double cx = 64 * col + 32, a = Arrow_Angle(col);
    for (int n = 0; n < 16; n++)
      Arrow_Draw(c.cr, cx, 64 * n + 32, 1.0, a, NoteColour(n), ArrowLook::Glossy, 0.15);
    // the three colour classes, then an unlit arrow
    Arrow_Draw(c.cr, cx, 1024 + 32, 1.0, a, Hex(Palette::ClassBeat), ArrowLook::Glossy, 0.1);
    Arrow_Draw(c.cr, cx, 1088 + 32, 1.0, a, Hex(Palette::ClassHalf), ArrowLook::Glossy, 0.1);
    Arrow_Draw(c.cr, cx, 1152 + 32, 1.0, a, Hex(Palette::ClassOff), ArrowLook::Glossy, 0.1);
    Arrow_Draw(c.cr, cx, 1216 + 32, 1.0, a, Hex(0x9098A8), ArrowLook::Glossy, 0.0);
  }
  bool ok = Canvas_Save(c, JoinPath(dir, "rkv2-narrows.png"));
  Canvas_Free(c);
  return ok;
}

// Sets 2 and 3: three colour groups of six columns, twelve frames down.
static bool ArrowSet23(const std::string& dir, const char* name, ArrowLook look) {
  static const uint32_t groups[3] = {Palette::ClassBeat, Palette::ClassHalf, Palette::ClassOff};
  Canvas c = Canvas_New(1152, 768);
  for (int g = 0; g < 3; g++)
    for (int col = 0; col < 6; col++)
      for (int n = 0; n < 12; n++) {
        // one pulse per beat: brightest on frame 0, fading, then rising again
        double pulse = 0.5 + 0.5 * std::cos(2 * M_PI * n / 12.0);
        double glow = look == ArrowLook::Glossy ? 0.8 * pulse : 0.35 * pulse;
        Arrow_Draw(c.cr, 64 * (col + 6 * g) + 32, 64 * n + 32, 1.0, Arrow_Angle(col), Hex(groups[g]), look,
                   glow, n / 12.0);
      }
  bool ok = Canvas_Save(c, JoinPath(dir, name));
  Canvas_Free(c);
  return ok;
}

// Target arrows: columns across; rows j = idle, pressed, beat flash; each with two frames.
static bool TargetSheet(const std::string& dir) {
  Canvas c = Canvas_New(384, 384);
  for (int a = 0; a < 6; a++)
    for (int j = 0; j < 3; j++)
      for (int w = 0; w < 2; w++) {
        double cx = 64 * a + 32, cy = 128 * j + 64 * w + 32, ang = Arrow_Angle(a);
        Rgba grey = Hex(0x6870A0);
        if (j == 0) {
          Arrow_Draw(c.cr, cx, cy, 1.0, ang, grey, ArrowLook::Target, w ? 0.8 : 0.0);
        } else if (j == 1) {
          Arrow_Draw(c.cr, cx, cy, w ? 0.86 : 0.92, ang, Hex(0xD8E4FF), ArrowLook::Target, 1.0);
        } else {
          // a soft white glow laid over the target on the beat
          cairo_push_group(c.cr);
          Arrow_Draw(c.cr, cx, cy, 1.0, ang, Hex(0xFFFFFF), ArrowLook::Flat, 1.0);
          cairo_pop_group_to_source(c.cr);
          cairo_paint_with_alpha(c.cr, w ? 0.45 : 0.8);
        }
      }
  bool ok = Canvas_Save(c, JoinPath(dir, "rkv2-farrows.png"));
  Canvas_Free(c);
  return ok;
}

// Freeze arrows in light neutral tones (the game tints them with the skin's
// freeze gradient): per column a head, a 16-pixel body piece that tiles, and
// a tail; the lower half is the held (active) look.
static bool FreezeSheet(const std::string& dir) {
  Canvas c = Canvas_New(384, 252);
  cairo_t* cr = c.cr;
  for (int held = 0; held < 2; held++) {
    double y0 = 128 * held;
    Rgba body = held ? Hex(0xFFFFFF) : Hex(0xC8CCD0);
    for (int col = 0; col < 6; col++) {
      double x = 64 * col;
      // body piece: a bar with dark edges and a light core; rows repeat seamlessly
      cairo_save(cr);
      cairo_rectangle(cr, x, y0 + 64, 64, 16);
      cairo_clip(cr);
      cairo_pattern_t* p = cairo_pattern_create_linear(x + 12, 0, x + 52, 0);
      Rgba e = Darker(body, 0.35), m = body;
      cairo_pattern_add_color_stop_rgba(p, 0, e.r, e.g, e.b, 0.95);
      cairo_pattern_add_color_stop_rgba(p, 0.5, m.r, m.g, m.b, 0.95);
      cairo_pattern_add_color_stop_rgba(p, 1, e.r, e.g, e.b, 0.95);
      cairo_rectangle(cr, x + 12, y0 + 64, 40, 16);
      cairo_set_source(cr, p);
      cairo_fill(cr);
      cairo_pattern_destroy(p);
      cairo_set_source_rgba(cr, 0, 0, 0, 1);
      cairo_rectangle(cr, x + 10, y0 + 64, 2.5, 16);
      cairo_rectangle(cr, x + 51.5, y0 + 64, 2.5, 16);
      cairo_fill(cr);
      // diagonal sheen bands, one per piece, so the tiled body shimmers
      cairo_move_to(cr, x + 12, y0 + 64 + 12);
      cairo_line_to(cr, x + 52, y0 + 64 + 2);
      cairo_set_line_width(cr, 3);
      cairo_set_source_rgba(cr, 1, 1, 1, held ? 0.6 : 0.3);
      cairo_stroke(cr);
      cairo_restore(cr);
      // tail: the body ending in a rounded cap
      cairo_save(cr);
      cairo_rectangle(cr, x, y0 + 80, 64, 44);
      cairo_clip(cr);
      // down the sides and round the cap
      auto tailEdge = [&] {
        cairo_move_to(cr, x + 11.25, y0 + 80);
        cairo_line_to(cr, x + 11.25, y0 + 100);
        cairo_arc_negative(cr, x + 32, y0 + 100, 20.75, M_PI, 0);
        cairo_line_to(cr, x + 52.75, y0 + 80);
      };
      cairo_new_path(cr);
      tailEdge();
      cairo_close_path(cr);
      p = cairo_pattern_create_linear(x + 12, 0, x + 52, 0);
      cairo_pattern_add_color_stop_rgba(p, 0, e.r, e.g, e.b, 0.95);
      cairo_pattern_add_color_stop_rgba(p, 0.5, m.r, m.g, m.b, 0.95);
      cairo_pattern_add_color_stop_rgba(p, 1, e.r, e.g, e.b, 0.95);
      cairo_set_source(cr, p);
      cairo_fill(cr);
      cairo_pattern_destroy(p);
      // outlined without the top edge, which would show as a dark seam where
      // the tail meets the body
      tailEdge();
      cairo_set_source_rgba(cr, 0, 0, 0, 1);
      cairo_set_line_width(cr, 2.5);
      cairo_stroke(cr);
      cairo_restore(cr);
      // head
      Arrow_Draw(cr, x + 32, y0 + 32, 1.0, Arrow_Angle(col), held ? Hex(0xF4F8FF) : Hex(0xB8C0C8),
                 ArrowLook::Glossy, held ? 0.9 : 0.1);
    }
  }
  bool ok = Canvas_Save(c, JoinPath(dir, "rkv2-freezes.png"));
  Canvas_Free(c);
  return ok;
}

// Step flashes: 13 frames of a burst per row: PERFECT, GREAT, GOOD, held freeze.
static bool FlashSheet(const std::string& dir) {
  // the PERFECT and GREAT rows are white: the game tints them with the skin's
  // judgement colours, which a coloured row would darken
  static const uint32_t rows[4] = {0xFFFFFF, 0xFFFFFF, 0x50B0FF, 0xC0FFD0};
  Canvas c = Canvas_New(1040, 320);
  cairo_t* cr = c.cr;
  for (int r = 0; r < 4; r++)
    for (int f = 0; f < 13; f++) {
      double cx = 80 * f + 40, cy = 80 * r + 40, t = f / 12.0;
      Rgba col = Hex(rows[r]);
      cairo_save(cr);
      cairo_rectangle(cr, 80 * f, 80 * r, 80, 80);
      cairo_clip(cr);
      double fade = 1 - 0.8 * t;
      // core glow
      cairo_pattern_t* p = cairo_pattern_create_radial(cx, cy, 0, cx, cy, 18 + 20 * t);
      cairo_pattern_add_color_stop_rgba(p, 0, 1, 1, 1, 0.9 * fade);
      cairo_pattern_add_color_stop_rgba(p, 0.5, col.r, col.g, col.b, 0.6 * fade);
      cairo_pattern_add_color_stop_rgba(p, 1, col.r, col.g, col.b, 0);
      cairo_set_source(cr, p);
      cairo_paint(cr);
      cairo_pattern_destroy(p);
      // expanding ring
      cairo_arc(cr, cx, cy, 12 + 26 * std::sqrt(t), 0, 2 * M_PI);
      cairo_set_line_width(cr, 5 * fade + 1);
      cairo_set_source_rgba(cr, col.r, col.g, col.b, 0.9 * fade);
      cairo_stroke(cr);
      // rays
      for (int k = 0; k < 8; k++) {
        double a = k * M_PI / 4 + (r == 3 ? t : 0.2);
        double r0 = 8 + 20 * t, r1 = r0 + 10 + 8 * (1 - t);
        cairo_move_to(cr, cx + std::cos(a) * r0, cy + std::sin(a) * r0);
        cairo_line_to(cr, cx + std::cos(a) * r1, cy + std::sin(a) * r1);
      }
      cairo_set_line_width(cr, 2.5);
      cairo_set_source_rgba(cr, 1, 1, 1, 0.8 * fade);
      cairo_stroke(cr);
      cairo_restore(cr);
    }
  bool ok = Canvas_Save(c, JoinPath(dir, "rkv2-flash.png"));
  Canvas_Free(c);
  return ok;
}

bool Gen_ArrowSheets(const GenContext& ctx, const std::string& dir) {
  bool ok = ArrowSet1(dir);
  ok = ArrowSet23(dir, "rkv2-sarrows.png", ArrowLook::Glossy) && ok;
  ok = ArrowSet23(dir, "rkv2-carrows.png", ArrowLook::Classic) && ok;
  ok = TargetSheet(dir) && ok;
  ok = FreezeSheet(dir) && ok;
  ok = FlashSheet(dir) && ok;
  return ok;
}
