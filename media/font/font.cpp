#include "media/font/font.h"
#include "platform/log.h"
#include "media/render/image_decode.h"
#include "platform/files.h"
#include <FreeImage.h>
#include <algorithm>
#include <cstdlib>
#include <cstring>

Font g_font;

namespace {
struct Clip {
  int left = 0, top = 0, right = 640, bottom = 480;
} g_clip;

// Offsets of the dark outline and drop shadow; the glyph itself goes at (1, 1).
const int kOutline[][2] = {{0, 0}, {1, 0}, {2, 0}, {0, 1}, {2, 1}, {0, 2}, {1, 2}, {2, 2}, {1, 3},
                           {2, 3}, {3, 3}, {2, 4}, {3, 4}, {4, 4}, {3, 5}, {4, 5}, {5, 5}};

// Only source pixels with alpha touch the target: colour moves toward the
// source by its alpha, and the alpha becomes the larger of the two.
void compositeAt(const uint32_t* src, int sw, int sh, uint32_t* dst, int dw, int dh, int ox, int oy, bool black) {
  for (int y = 0; y < sh; y++) {
    int ty = y + oy;
    if (ty < 0 || ty >= dh) continue;
    for (int x = 0; x < sw; x++) {
      int tx = x + ox;
      if (tx < 0 || tx >= dw) continue;
      uint32_t s = src[y * sw + x];
      uint32_t a = s >> 24;
      if (!a) continue;
      if (black) s &= 0xFF000000u;
      uint32_t d = dst[ty * dw + tx];
      uint32_t out = 0;
      for (int sh8 = 0; sh8 <= 16; sh8 += 8) {
        int dc = (int)((d >> sh8) & 0xFF), sc = (int)((s >> sh8) & 0xFF);
        int c = dc + (sc - dc) * (int)a / 256;
        out |= (uint32_t)(c & 0xFF) << sh8;
      }
      uint32_t da = d >> 24;
      out |= (a > da ? a : da) << 24;
      dst[ty * dw + tx] = out;
    }
  }
}

void outline(const uint32_t* src, int sw, int sh, uint32_t* dst, int dw, int dh) {
  std::fill(dst, dst + dw * dh, 0u);
  for (const auto& o : kOutline) compositeAt(src, sw, sh, dst, dw, dh, o[0], o[1], true);
  compositeAt(src, sw, sh, dst, dw, dh, 1, 1, false);
}

// A 32-bit bitmap as rows of 0xAARRGGBB, top row first; pixels outside the
// bitmap (a sheet smaller than its cells) are clear.
std::vector<uint32_t> cellOf(FIBITMAP* dib, int left, int top, int w, int h) {
  std::vector<uint32_t> out((size_t)w * h, 0);
  int bw = (int)FreeImage_GetWidth(dib), bh = (int)FreeImage_GetHeight(dib);
  for (int y = 0; y < h; y++) {
    int sy = top + y;
    if (sy < 0 || sy >= bh) continue;
    const uint32_t* row = (const uint32_t*)FreeImage_GetScanLine(dib, bh - 1 - sy);
    for (int x = 0; x < w; x++) {
      int sx = left + x;
      if (sx >= 0 && sx < bw) out[(size_t)y * w + x] = row[sx];
    }
  }
  return out;
}

// An image from 0xAARRGGBB rows (top first), without dithering.
bool imageFromPixels(Image& img, const uint32_t* px, int w, int h) {
  FIBITMAP* dib = FreeImage_Allocate(w, h, 32, FI_RGBA_RED_MASK, FI_RGBA_GREEN_MASK, FI_RGBA_BLUE_MASK);
  if (!dib) return false;
  for (int y = 0; y < h; y++) memcpy(FreeImage_GetScanLine(dib, h - 1 - y), px + (size_t)y * w, (size_t)w * 4);
  bool ok = img.LoadFromBitmap(dib, 0, 0, w, h, 1);
  FreeImage_Unload(dib);
  if (ok) img.SetDither(0);
  return ok;
}

double scaleOf(int size) { return (size + 1) * 0.02; }

int advanceOf(int c) {
  int g = c - 32;
  if (c < 33 || g >= g_font.count || g >= kFontGlyphs) return g_font.advance[0];
  return g_font.advance[g];
}

// Draws one glyph at the pen; returns the advance at this size.
double drawGlyph(int c, double pen, int y, bool clipped) {
  int g = c - 32;
  if (c >= 33 && g < g_font.count && g_font.glyphs[g].loaded) {
    Image& img = g_font.glyphs[g];
    img.SetPosition((int)pen, y - 1);
    if (clipped) img.DrawClipped(g_clip.left, g_clip.top, g_clip.right, g_clip.bottom);
    else img.Draw();
  }
  return advanceOf(c) * scaleOf(g_font.size);
}

void drawRun(int size, uint32_t colour, int x, int y, const char* text, int alpha, bool clipped) {
  if (!g_font.loaded || !text) return;
  Font_SetStyle(size, colour, alpha, FONT_SIZE | FONT_COLOUR | FONT_ALPHA);
  double pen = x;
  for (const unsigned char* p = (const unsigned char*)text; *p && *p < 128; p++) pen += drawGlyph(*p, pen, y, clipped);
}

bool isAbsoluteName(const std::string& n) {
  if (n.empty()) return false;
  if (n[0] == '\\' || n[0] == '/') return true;
  if (n.size() > 1 && n[1] == ':') return true;
  return n[0] == '.' && (n.size() < 2 || n[1] != '.');
}
}

int Font_ParseWidths(const std::string& def, int32_t advance[kFontGlyphs]) {
  int n = 0;
  size_t s = 0;
  while (s < def.size() && n < kFontGlyphs) {
    size_t e = def.find(',', s);
    if (e == std::string::npos) e = def.size();
    std::string item = def.substr(s, e - s);
    if (item.find_first_not_of(" \t\r\n") != std::string::npos) {
      long v = strtol(item.c_str(), nullptr, 10);
      v = std::clamp(v, -1L, 4096L);  // a width is a few dozen pixels; nothing can make it run away
      advance[n++] = (int32_t)v + 1;
    }
    s = e + 1;
  }
  return n;
}

void Font_OutlineCell(const uint32_t* cell, int cellW, int cellH, uint32_t out[kGlyphWidth * kGlyphHeight]) {
  outline(cell, cellW, cellH, out, kGlyphWidth, kGlyphHeight);
}

bool Font_Load(const char* folder, const char* name) {
  std::string base = std::string(folder) + "/" + name;
  std::string defPath, text;
  if (!Path_Resolve(base + ".def", defPath) || !File_ReadText(defPath, text)) return false;
  Font_Free();
  int32_t adv[kFontGlyphs] = {};
  int count = Font_ParseWidths(text, adv);
  if (count == 0) {
    WriteLogf("Font '%s.def' holds no widths\n", base.c_str());
    return false;
  }
  FIBITMAP* sheet = Decode_File((base + ".png").c_str(), FIF_PNG);
  if (!sheet) return false;
  FIBITMAP* sheet32 = FreeImage_GetBPP(sheet) == 32 ? sheet : FreeImage_ConvertTo32Bits(sheet);
  if (sheet32 != sheet) FreeImage_Unload(sheet);
  if (!sheet32) return false;
  std::vector<uint32_t> glyph((size_t)kGlyphWidth * kGlyphHeight);
  for (int k = 0; k < count; k++) {
    std::vector<uint32_t> cell = cellOf(sheet32, 51 * (k % 10), 51 * (k / 10), 51, 50);
    outline(cell.data(), 51, 50, glyph.data(), kGlyphWidth, kGlyphHeight);
    imageFromPixels(g_font.glyphs[k], glyph.data(), kGlyphWidth, kGlyphHeight);
    g_font.advance[k] = adv[k];
  }
  FreeImage_Unload(sheet32);
  g_font.count = count;
  g_font.size = 50;
  g_font.colour = 0xFFFFFF;
  g_font.alpha = 255;
  g_font.loaded = true;
  return true;
}

void Font_Free() {
  for (Image& g : g_font.glyphs) g.Free();
  g_font.count = 0;
  g_font.loaded = false;
  for (int32_t& a : g_font.advance) a = 0;
}

void Font_SetStyle(int size, uint32_t colour, int alpha, int which) {
  bool doSize = (which & FONT_SIZE) && size != g_font.size;
  bool doColour = (which & FONT_COLOUR) && colour != g_font.colour;
  bool doAlpha = (which & FONT_ALPHA) && alpha != g_font.alpha;
  if (!doSize && !doColour && !doAlpha) return;
  for (int k = 0; k < g_font.count; k++) {
    Image& g = g_font.glyphs[k];
    if (doSize) g.SetSize(size + 4, size + 4, 0);
    if (doAlpha) g.SetSurfaceAlpha(alpha);
    if (doColour) g.SetColour(colour);
  }
  if (doSize) g_font.size = size;
  if (doColour) g_font.colour = colour;
  if (doAlpha) g_font.alpha = alpha;
}

int Font_TextWidth(int size, const char* text) {
  if (!text) return 0;
  int64_t sum = 0;
  for (const unsigned char* p = (const unsigned char*)text; *p && *p < 128; p++) sum += advanceOf(*p);
  return (int)(sum * scaleOf(size));
}

int Font_MarkedTextWidth(int size, const char* text) {
  if (!text) return 0;
  int64_t sum = 0;
  for (const unsigned char* p = (const unsigned char*)text; *p && *p < 128; p++) {
    if (*p == '^') continue;
    if (*p == '{') {
      const char* close = strchr((const char*)p, '}');
      if (!close) break;
      p = (const unsigned char*)close;
      continue;
    }
    sum += advanceOf(*p);
  }
  return (int)(sum * scaleOf(size));
}

void Font_DrawText(int size, uint32_t colour, int x, int y, const char* text) { drawRun(size, colour, x, y, text, 255, false); }

void Font_DrawTextAlpha(int size, uint32_t colour, int x, int y, const char* text, int alpha) {
  drawRun(size, colour, x, y, text, alpha, false);
}

void Font_SetClip(int left, int top, int right, int bottom) { g_clip = {left, top, right, bottom}; }

void Font_DrawTextClipped(int size, uint32_t colour, int x, int y, const char* text, int alpha) {
  drawRun(size, colour, x, y, text, alpha, true);
}

const char* Font_ReadMark(const char* mark, int paletteCount, int& index) {
  const char* close = strchr(mark, '}');
  if (close && close - mark == 3 && mark[1] == 'c' && mark[2] >= '0' && mark[2] <= '9' && mark[2] - '0' < paletteCount)
    index = mark[2] - '0';
  return close;
}

void Font_DrawMarkedText(int size, const uint32_t* palette, int paletteCount, int* current, int x, int y,
                         const char* text, int alpha) {
  if (!g_font.loaded || !text || !palette || paletteCount <= 0) return;
  int index = current && *current >= 0 && *current < paletteCount ? *current : 0;
  Font_SetStyle(size, palette[index], alpha, FONT_SIZE | FONT_COLOUR | FONT_ALPHA);
  double pen = x;
  for (const unsigned char* p = (const unsigned char*)text; *p && *p < 128; p++) {
    if (*p == '^') continue;
    if (*p == '{') {
      int before = index;
      const char* close = Font_ReadMark((const char*)p, paletteCount, index);
      if (!close) break;
      if (index != before) Font_SetStyle(size, palette[index], alpha, FONT_COLOUR);
      p = (const unsigned char*)close;
      continue;
    }
    pen += drawGlyph(*p, pen, y, false);
  }
  if (current) *current = index;
}

RichText::~RichText() { RichText_Free(*this); }

void RichText_Free(RichText& rt) {
  for (Image* p : rt.pictures) delete p;
  rt.pictures.clear();
  rt.elements.clear();
}

void RichText_Build(RichText& rt, const char* text, const char* folder) {
  RichText_Free(rt);
  if (!text) return;
  for (const char* p = text; *p; p++) {
    unsigned char c = (unsigned char)*p;
    RichElement e;
    if (c == '{') {
      const char* close = strchr(p, '}');
      if (!close) break;
      std::string name(p + 1, close);
      p = close;
      if (name.empty()) continue;
      std::string n = Path_FromData(name), path;
      if (name[0] == '\\') path = n.substr(1);  // from the program folder
      else if (isAbsoluteName(name)) path = n;
      else path = std::string(folder ? folder : ".") + "/" + n;
      WriteLogf("%s\n", path.c_str());
      FIBITMAP* dib = Decode_File(path.c_str(), FIF_PNG);
      if (!dib) continue;
      bool masked = FreeImage_GetBPP(dib) < 32;
      FIBITMAP* d32 = masked || FreeImage_GetBPP(dib) != 32 ? FreeImage_ConvertTo32Bits(dib) : dib;
      if (d32 != dib) FreeImage_Unload(dib);
      if (!d32) continue;
      int w = (int)FreeImage_GetWidth(d32), h = (int)FreeImage_GetHeight(d32);
      std::vector<uint32_t> px = cellOf(d32, 0, 0, w, h);
      FreeImage_Unload(d32);
      if (masked) {
        // a picture without alpha becomes a mask that takes the text colour
        uint32_t key = px[0] & 0xFFFFFF;
        for (uint32_t& v : px) v = (v & 0xFFFFFF) == key ? 0 : (((v >> 16) & 0xFF) << 24) | 0xFFFFFF;
      }
      int ow = w + 5, oh = h + 5;
      std::vector<uint32_t> out((size_t)ow * oh);
      outline(px.data(), w, h, out.data(), ow, oh);
      Image* img = new Image();
      if (!imageFromPixels(*img, out.data(), ow, oh)) {
        delete img;
        continue;
      }
      rt.pictures.push_back(img);
      e.picture = img;
      e.advance = ow;
    } else if (c == '\n') {
      e.newline = true;
    } else if (c >= 128) {
      break;
    } else {
      e.glyph = c < 33 ? 0 : c - 32;
      e.space = c == ' ';
      e.advance = advanceOf(c < 32 ? ' ' : c);
    }
    rt.elements.push_back(e);
  }
}

std::vector<std::pair<int, int>> RichText_Wrap(const RichText& rt, int size, int width) {
  std::vector<std::pair<int, int>> lines;
  double scale = scaleOf(size);
  int n = (int)rt.elements.size();
  int start = 0;
  while (start < n) {
    double w = 0;
    int end = start, lastSpace = -1;
    while (end < n && !rt.elements[end].newline) {
      double a = rt.elements[end].advance * scale;
      if (w + a > width && end > start) break;
      if (rt.elements[end].space) lastSpace = end;
      w += a;
      end++;
    }
    // break between words: back to the last space unless the line ends at one
    if (end < n && !rt.elements[end].newline && !rt.elements[end].space && lastSpace > start) end = lastSpace;
    lines.emplace_back(start, end);
    start = end;
    while (start < n && (rt.elements[start].space || rt.elements[start].newline)) {
      bool nl = rt.elements[start].newline;
      start++;
      if (nl) break;
    }
  }
  return lines;
}

int RichText_Draw(const RichText& rt, int size, uint32_t colour, int x, int y, int width, int alpha) {
  auto lines = RichText_Wrap(rt, size, width);
  double scale = scaleOf(size);
  int top = y;
  for (auto [a, b] : lines) {
    double pen = x;
    for (int i = a; i < b; i++) {
      const RichElement& e = rt.elements[i];
      if (e.picture) {
        Image& img = *e.picture;
        img.SetSize((int)(img.pictureWidth * scale), (int)(img.pictureHeight * scale), 0);
        img.SetColour(colour);
        img.SetSurfaceAlpha(alpha);
        img.SetPosition((int)pen, top - 1);
        img.Draw();
        pen += e.advance * scale;
      } else if (!e.newline) {
        Font_SetStyle(size, colour, alpha, FONT_SIZE | FONT_COLOUR | FONT_ALPHA);
        pen += drawGlyph(e.glyph + 32, pen, top, false);
      }
    }
    top += size;
  }
  return top - y;
}
