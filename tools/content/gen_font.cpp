// The main bitmap font "font-Main": a glyph sheet of the characters 32..131 in
// cells of 51 x 50 (ten to a row, rows 51 apart) rasterised from DejaVu Sans
// Bold with FreeType, and the ".def" list of advance widths (each value is the
// advance minus one). Glyphs are plain white with anti-aliased alpha: the font
// loader adds the dark outline and drop shadow itself, at offsets of up to
// five pixels right and down, so the ink keeps clear of the cell's far edges.
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cairo.h>

#include <cmath>
#include <cstring>

#include "gen.h"
#include "gen_draw.h"

namespace {
constexpr int kCellW = 51, kCellH = 50, kPitch = 51, kGlyphs = 100;
constexpr int kPixelSize = 40;   // the sheet is the font at size 49 (scale 1.0)
constexpr int kBaseline = 38;

// Code points shown for the characters above the ASCII range: 127 a note,
// 128..131 the four arrows.
uint32_t CodePoint(int ch) {
  switch (ch) {
    case 127: return 0x266A;
    case 128: return 0x2190;
    case 129: return 0x2193;
    case 130: return 0x2191;
    case 131: return 0x2192;
    default: return (uint32_t)ch;
  }
}
}  // namespace

bool Gen_FontMain(const GenContext& ctx, const std::string& dir) {
  FT_Library lib;
  if (FT_Init_FreeType(&lib) != 0) {
    GenFail("FreeType did not start");
    return false;
  }
  std::string path = Draw_FontPath(Face::SansBold);
  FT_Face face;
  if (FT_New_Face(lib, path.c_str(), 0, &face) != 0) {
    GenFail("cannot open font '%s'", path.c_str());
    FT_Done_FreeType(lib);
    return false;
  }
  FT_Set_Pixel_Sizes(face, 0, kPixelSize);
  const int sheetW = kPitch * 10, sheetH = kPitch * 10;
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, sheetW, sheetH);
  cairo_surface_flush(s);
  unsigned char* px = cairo_image_surface_get_data(s);
  int stride = cairo_image_surface_get_stride(s);
  std::memset(px, 0, (size_t)stride * sheetH);
  std::string def;
  bool ok = true;
  for (int k = 0; k < kGlyphs; k++) {
    int ch = 32 + k;
    int advance = kPixelSize / 3;
    if (FT_Load_Char(face, CodePoint(ch), FT_LOAD_RENDER | FT_LOAD_TARGET_NORMAL) == 0) {
      FT_GlyphSlot g = face->glyph;
      advance = (int)std::lround(g->advance.x / 64.0);
      int left = std::max(0, 1 + g->bitmap_left);
      int top = kBaseline - g->bitmap_top;
      int cx = kPitch * (k % 10), cy = kPitch * (k / 10);
      for (unsigned r = 0; r < g->bitmap.rows; r++)
        for (unsigned q = 0; q < g->bitmap.width; q++) {
          int x = left + (int)q, y = top + (int)r;
          if (x < 0 || y < 0 || x >= kCellW || y >= kCellH) continue;  // never into the next cell
          unsigned char a = g->bitmap.buffer[r * g->bitmap.pitch + q];
          uint32_t* d = (uint32_t*)(px + (size_t)(cy + y) * stride) + cx + x;
          *d = ((uint32_t)a << 24) | ((uint32_t)a << 16) | ((uint32_t)a << 8) | a;  // premultiplied white
        }
      if (left + (int)g->bitmap.width > kCellW || top < 0 || top + (int)g->bitmap.rows > kCellH)
        std::fprintf(stderr, "contentgen: glyph %d clipped to its cell\n", ch);
    } else {
      GenFail("font has no glyph for character %d", ch);
      ok = false;
    }
    if (advance < 2) advance = 2;
    def += std::to_string(advance - 1);
    if (k + 1 < kGlyphs) def += ",";
  }
  cairo_surface_mark_dirty(s);
  std::string png = JoinPath(dir, "font-Main.png");
  if (cairo_surface_write_to_png(s, png.c_str()) != CAIRO_STATUS_SUCCESS) {
    GenFail("cannot write '%s'", png.c_str());
    ok = false;
  }
  cairo_surface_destroy(s);
  FT_Done_Face(face);
  FT_Done_FreeType(lib);
  return WriteTextFile(JoinPath(dir, "font-Main.def"), def) && ok;
}
