#include "gen_draw.h"

#include <cairo-ft.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "gen_util.h"

namespace {
FT_Library g_ft = nullptr;
struct LoadedFace {
  const char* file;
  FT_Face ft = nullptr;
  cairo_font_face_t* cairo = nullptr;
};
LoadedFace g_faces[] = {
    {"DejaVuSans-Bold.ttf"},          {"DejaVuSans.ttf"},        {"DejaVuSansCondensed-Bold.ttf"},
    {"DejaVuSansMono-Bold.ttf"},      {"DejaVuSerif-Bold.ttf"},
};
std::string g_fontDir;
const cairo_user_data_key_t kFaceKey = {};
}  // namespace

Rgba Hex(uint32_t rgb, double alpha) {
  return {((rgb >> 16) & 255) / 255.0, ((rgb >> 8) & 255) / 255.0, (rgb & 255) / 255.0, alpha};
}

Rgba Mix(Rgba a, Rgba b, double t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, a.a + (b.a - a.a) * t};
}

Rgba Lighter(Rgba c, double t) { return Mix(c, {1, 1, 1, c.a}, t); }
Rgba Darker(Rgba c, double t) { return Mix(c, {0, 0, 0, c.a}, t); }

Rgba HueColour(double h, double s, double v) {
  h = std::fmod(std::fmod(h, 360.0) + 360.0, 360.0) / 60.0;
  int i = (int)h;
  double f = h - i, p = v * (1 - s), q = v * (1 - s * f), t = v * (1 - s * (1 - f));
  switch (i) {
    case 0: return {v, t, p, 1};
    case 1: return {q, v, p, 1};
    case 2: return {p, v, t, 1};
    case 3: return {p, q, v, 1};
    case 4: return {t, p, v, 1};
    default: return {v, p, q, 1};
  }
}

std::string Draw_FontPath(Face f) { return JoinPath(g_fontDir, g_faces[(int)f].file); }

bool Draw_Init(const GenContext& ctx) {
  g_fontDir = ctx.fontDir;
  if (!g_ft && FT_Init_FreeType(&g_ft) != 0) {
    GenFail("FreeType did not start");
    return false;
  }
  bool ok = true;
  for (auto& lf : g_faces) {
    if (lf.cairo) continue;
    std::string path = JoinPath(g_fontDir, lf.file);
    if (FT_New_Face(g_ft, path.c_str(), 0, &lf.ft) != 0) {
      GenFail("cannot open font '%s'", path.c_str());
      ok = false;
      continue;
    }
    lf.cairo = cairo_ft_font_face_create_for_ft_face(lf.ft, 0);
    // the cairo face owns nothing; the FT face lives until Draw_Shutdown
    cairo_font_face_set_user_data(lf.cairo, &kFaceKey, nullptr, nullptr);
  }
  return ok;
}

void Draw_Shutdown() {
  for (auto& lf : g_faces) {
    if (lf.cairo) cairo_font_face_destroy(lf.cairo);
    lf.cairo = nullptr;
    if (lf.ft) FT_Done_Face(lf.ft);
    lf.ft = nullptr;
  }
  if (g_ft) FT_Done_FreeType(g_ft);
  g_ft = nullptr;
}

Canvas Canvas_New(int width, int height, bool opaque) {
  Canvas c;
  c.width = width;
  c.height = height;
  c.surface = cairo_image_surface_create(opaque ? CAIRO_FORMAT_RGB24 : CAIRO_FORMAT_ARGB32, width, height);
  c.keepRgb = opaque;
  c.cr = cairo_create(c.surface);
  cairo_font_options_t* fo = cairo_font_options_create();
  cairo_font_options_set_antialias(fo, CAIRO_ANTIALIAS_GRAY);
  cairo_font_options_set_hint_style(fo, CAIRO_HINT_STYLE_NONE);
  cairo_font_options_set_hint_metrics(fo, CAIRO_HINT_METRICS_OFF);
  cairo_set_font_options(c.cr, fo);
  cairo_font_options_destroy(fo);
  cairo_set_line_join(c.cr, CAIRO_LINE_JOIN_ROUND);
  cairo_set_line_cap(c.cr, CAIRO_LINE_CAP_ROUND);
  if (opaque) {
    cairo_set_source_rgb(c.cr, 0, 0, 0);
    cairo_paint(c.cr);
  }
  return c;
}

void Canvas_Free(Canvas& c) {
  if (c.cr) cairo_destroy(c.cr);
  if (c.surface) cairo_surface_destroy(c.surface);
  c.cr = nullptr;
  c.surface = nullptr;
}

// cairo writes a picture without transparent pixels as 24-bit RGB, and the
// game keys 24-bit skin pictures by a corner colour; so skin pictures are
// written here as 8-bit RGBA always (straight, not premultiplied, alpha).
static bool WritePngRgba(cairo_surface_t* s, const std::string& path) {
  int w = cairo_image_surface_get_width(s), h = cairo_image_surface_get_height(s);
  int stride = cairo_image_surface_get_stride(s);
  const unsigned char* data = cairo_image_surface_get_data(s);
  bool opaque = cairo_image_surface_get_format(s) == CAIRO_FORMAT_RGB24;
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!png || !info || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    std::fclose(f);
    return false;
  }
  png_init_io(png, f);
  png_set_IHDR(png, info, w, h, 8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_set_compression_level(png, 9);
  png_write_info(png, info);
  std::vector<unsigned char> row((size_t)w * 4);
  for (int y = 0; y < h; y++) {
    const uint32_t* src = (const uint32_t*)(data + (size_t)y * stride);
    for (int x = 0; x < w; x++) {
      uint32_t p = src[x];
      unsigned a = opaque ? 255 : p >> 24;
      unsigned r = (p >> 16) & 255, g = (p >> 8) & 255, b = p & 255;
      if (a > 0 && a < 255) {
        r = (r * 255 + a / 2) / a;
        g = (g * 255 + a / 2) / a;
        b = (b * 255 + a / 2) / a;
      }
      row[x * 4 + 0] = (unsigned char)std::min(255u, r);
      row[x * 4 + 1] = (unsigned char)std::min(255u, g);
      row[x * 4 + 2] = (unsigned char)std::min(255u, b);
      row[x * 4 + 3] = (unsigned char)a;
    }
    png_write_row(png, row.data());
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return std::fclose(f) == 0;
}

bool Canvas_Save(Canvas& c, const std::string& path) {
  cairo_surface_flush(c.surface);
  bool ok;
  if (c.keepRgb) {
    ok = cairo_surface_write_to_png(c.surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
  } else {
    ok = WritePngRgba(c.surface, path);
  }
  if (!ok) GenFail("cannot write '%s'", path.c_str());
  return ok;
}

void SetColour(cairo_t* cr, Rgba c) { cairo_set_source_rgba(cr, c.r, c.g, c.b, c.a); }

void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double r) {
  r = std::min(r, std::min(w, h) / 2);
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
  cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
  cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
  cairo_arc(cr, x + r, y + r, r, M_PI, 1.5 * M_PI);
  cairo_close_path(cr);
}

void FillVertical(cairo_t* cr, double x, double y, double w, double h, Rgba top, Rgba bottom) {
  cairo_pattern_t* p = cairo_pattern_create_linear(0, y, 0, y + h);
  cairo_pattern_add_color_stop_rgba(p, 0, top.r, top.g, top.b, top.a);
  cairo_pattern_add_color_stop_rgba(p, 1, bottom.r, bottom.g, bottom.b, bottom.a);
  cairo_rectangle(cr, x, y, w, h);
  cairo_set_source(cr, p);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
}

void Panel(cairo_t* cr, double x, double y, double w, double h, double r, Rgba base, double outline) {
  cairo_save(cr);
  double o = outline / 2;
  RoundedRect(cr, x + o, y + o, w - outline, h - outline, r);
  cairo_pattern_t* p = cairo_pattern_create_linear(0, y, 0, y + h);
  Rgba top = Lighter(base, 0.35), mid = base, bot = Darker(base, 0.45);
  cairo_pattern_add_color_stop_rgba(p, 0, top.r, top.g, top.b, top.a);
  cairo_pattern_add_color_stop_rgba(p, 0.5, mid.r, mid.g, mid.b, mid.a);
  cairo_pattern_add_color_stop_rgba(p, 1, bot.r, bot.g, bot.b, bot.a);
  cairo_set_source(cr, p);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(p);
  if (outline > 0) {
    cairo_set_line_width(cr, outline);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.85 * base.a);
    cairo_stroke(cr);
    // a thin light rim inside the outline
    RoundedRect(cr, x + outline + 0.5, y + outline + 0.5, w - 2 * outline - 1, h - 2 * outline - 1,
                std::max(0.0, r - outline));
    cairo_set_line_width(cr, 1.0);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.28 * base.a);
    cairo_stroke(cr);
  } else {
    cairo_new_path(cr);
  }
  cairo_restore(cr);
}

static void ApplyFace(cairo_t* cr, const TextStyle& st) {
  cairo_font_face_t* f = g_faces[(int)st.face].cairo;
  if (f) cairo_set_font_face(cr, f);
  cairo_set_font_size(cr, st.size);
}

static void TextPath(cairo_t* cr, const TextStyle& st, double x, double y, const std::string& text) {
  if (st.letterSpacing == 0) {
    cairo_move_to(cr, x, y);
    cairo_text_path(cr, text.c_str());
    return;
  }
  double pen = x;
  for (char ch : text) {
    char one[2] = {ch, 0};
    cairo_move_to(cr, pen, y);
    cairo_text_path(cr, one);
    cairo_text_extents_t e;
    cairo_text_extents(cr, one, &e);
    pen += e.x_advance + st.letterSpacing;
  }
}

double TextWidth(cairo_t* cr, const TextStyle& st, const std::string& text) {
  cairo_save(cr);
  ApplyFace(cr, st);
  cairo_text_extents_t e;
  cairo_text_extents(cr, text.c_str(), &e);
  cairo_restore(cr);
  return e.x_advance + st.letterSpacing * (text.empty() ? 0 : (double)text.size() - 1);
}

void TextAt(cairo_t* cr, const TextStyle& st, double x, double y, const std::string& text) {
  cairo_save(cr);
  ApplyFace(cr, st);
  if (st.shadow > 0) {
    cairo_new_path(cr);
    TextPath(cr, st, x + st.shadow, y + st.shadow, text);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.55 * st.fill.a);
    if (st.outlineWidth > 0) {
      cairo_set_line_width(cr, st.outlineWidth * 2);
      cairo_stroke_preserve(cr);
    }
    cairo_fill(cr);
  }
  cairo_new_path(cr);
  TextPath(cr, st, x, y, text);
  if (st.outlineWidth > 0) {
    SetColour(cr, st.outline);
    cairo_set_line_width(cr, st.outlineWidth * 2);
    cairo_stroke_preserve(cr);
  }
  cairo_text_extents_t e;
  cairo_text_extents(cr, "H", &e);
  cairo_pattern_t* p = cairo_pattern_create_linear(0, y + e.y_bearing, 0, y);
  cairo_pattern_add_color_stop_rgba(p, 0, st.fill.r, st.fill.g, st.fill.b, st.fill.a);
  cairo_pattern_add_color_stop_rgba(p, 1, st.fill2.r, st.fill2.g, st.fill2.b, st.fill2.a);
  cairo_set_source(cr, p);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
  cairo_restore(cr);
}

void TextInBox(cairo_t* cr, const TextStyle& st, double x, double y, double w, double h,
               const std::string& text) {
  cairo_save(cr);
  ApplyFace(cr, st);
  cairo_text_extents_t e, cap;
  cairo_text_extents(cr, text.c_str(), &e);
  cairo_text_extents(cr, "H", &cap);
  cairo_restore(cr);
  double width = e.x_advance + st.letterSpacing * (text.empty() ? 0 : (double)text.size() - 1);
  // centre horizontally on the advance, vertically on the capital height
  double tx = x + (w - width) / 2;
  double ty = y + (h - cap.height) / 2 + cap.height;
  TextAt(cr, st, tx, ty, text);
}

void TextFit(cairo_t* cr, TextStyle st, double x, double y, double w, double h,
             const std::string& text) {
  double margin = st.outlineWidth * 2 + 2;
  while (st.size > 5 && TextWidth(cr, st, text) > w - margin) st.size -= 0.5;
  TextInBox(cr, st, x, y, w, h, text);
}

void Backdrop(cairo_t* cr, int w, int h, uint32_t topColour, uint32_t bottomColour, uint64_t seed) {
  FillVertical(cr, 0, 0, w, h, Hex(topColour), Hex(bottomColour));
  Rng rng(seed);
  cairo_save(cr);
  // soft beams from the bottom centre
  for (int i = 0; i < 9; i++) {
    double a = -M_PI / 2 + (i - 4) * 0.22 + rng.Between(-0.05, 0.05);
    double len = h * 1.4;
    double cx = w / 2.0, cy = h * 1.05;
    cairo_move_to(cr, cx, cy);
    cairo_line_to(cr, cx + std::cos(a - 0.05) * len, cy + std::sin(a - 0.05) * len);
    cairo_line_to(cr, cx + std::cos(a + 0.05) * len, cy + std::sin(a + 0.05) * len);
    cairo_close_path(cr);
    cairo_pattern_t* p = cairo_pattern_create_radial(cx, cy, 0, cx, cy, len);
    Rgba c = Hex(i % 2 ? Palette::Cyan : Palette::Magenta);
    cairo_pattern_add_color_stop_rgba(p, 0, c.r, c.g, c.b, 0.16);
    cairo_pattern_add_color_stop_rgba(p, 1, c.r, c.g, c.b, 0.0);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
  }
  // stars
  for (int i = 0; i < w * h / 1800; i++) {
    double x = rng.Between(0, w), y = rng.Between(0, h * 0.8);
    double r = rng.Chance(0.1) ? rng.Between(1.0, 1.8) : rng.Between(0.3, 0.9);
    cairo_arc(cr, x, y, r, 0, 2 * M_PI);
    cairo_set_source_rgba(cr, 1, 1, 1, rng.Between(0.25, 0.9));
    cairo_fill(cr);
  }
  // a perspective floor grid near the bottom
  cairo_set_line_width(cr, 1.0);
  double horizon = h * 0.72;
  for (int i = 0; i < 12; i++) {
    double t = i / 11.0;
    double y = horizon + (h - horizon) * t * t;
    cairo_move_to(cr, 0, y);
    cairo_line_to(cr, w, y);
  }
  for (int i = -12; i <= 12; i++) {
    cairo_move_to(cr, w / 2.0 + i * 12, horizon);
    cairo_line_to(cr, w / 2.0 + i * 90, h);
  }
  Rgba g = Hex(Palette::Cyan);
  cairo_set_source_rgba(cr, g.r, g.g, g.b, 0.22);
  cairo_stroke(cr);
  cairo_restore(cr);
}
