#pragma once
// The bitmap font "font-Main": a glyph sheet "<folder>/<name>.png" of ten 51 x 50
// cells per row (rows 51 apart) for the characters 32..131, and a width list
// "<folder>/<name>.def". Every glyph gets a dark outline and drop shadow at load
// and is drawn at any size, colour and alpha.
#include "media/render/image.h"
#include <cstdint>
#include <string>
#include <vector>

constexpr int kFontGlyphs = 100;
constexpr int kGlyphWidth = 56, kGlyphHeight = 55;

struct Font {
  Image glyphs[kFontGlyphs];
  int32_t advance[kFontGlyphs];  // the .def width plus 1
  int count = 0;
  int size = 50;
  uint32_t colour = 0xFFFFFF;
  int alpha = 255;
  bool loaded = false;
};

extern Font g_font;

enum FontStyleWhich { FONT_SIZE = 1, FONT_COLOUR = 2, FONT_ALPHA = 4 };

bool Font_Load(const char* folder, const char* name);
void Font_Free();
void Font_SetStyle(int size, uint32_t colour, int alpha, int which);
int Font_TextWidth(int size, const char* text);
// As Font_TextWidth, skipping carets and everything from "{" to the next "}".
int Font_MarkedTextWidth(int size, const char* text);
void Font_DrawText(int size, uint32_t colour, int x, int y, const char* text);
void Font_DrawTextAlpha(int size, uint32_t colour, int x, int y, const char* text, int alpha);
void Font_SetClip(int left, int top, int right, int bottom);
void Font_DrawTextClipped(int size, uint32_t colour, int x, int y, const char* text, int alpha);
// Marked text: "{c0}".."{c9}" switch to that entry of `palette` (the colour in
// force is kept in *current across calls, so it carries into the next row);
// carets and other "{...}" marks are not drawn.
// A mark from its "{": "{c0}".."{c9}" within the palette switch `index` to that
// entry, other marks are skipped. Returns the mark's "}", or null when it is not
// closed (the text ends there).
const char* Font_ReadMark(const char* mark, int paletteCount, int& index);
void Font_DrawMarkedText(int size, const uint32_t* palette, int paletteCount, int* current, int x, int y,
                         const char* text, int alpha);
// The advances of a .def text (at most 100 values); the count of values read.
int Font_ParseWidths(const std::string& def, int32_t advance[kFontGlyphs]);
// Builds one 56 x 55 outlined glyph from a 32-bit cell (BGRA rows, top row first).
void Font_OutlineCell(const uint32_t* cell, int cellW, int cellH, uint32_t out[kGlyphWidth * kGlyphHeight]);

// Rich text: characters and inline pictures ("{name.png}") laid out in lines.
struct RichElement {
  int glyph = -1;             // a character's glyph, or -1 for a picture
  Image* picture = nullptr;   // owned by the RichText
  int advance = 0;            // at size 49
  bool space = false;
  bool newline = false;
};

struct RichText {
  std::vector<RichElement> elements;
  std::vector<Image*> pictures;
  ~RichText();
};

// Builds the elements of `text`; pictures are found relative to `folder` unless
// their name is absolute or starts with a single dot.
void RichText_Build(RichText& rt, const char* text, const char* folder);
// Lines of at most `width` pixels at `size`: start and end element of each line.
std::vector<std::pair<int, int>> RichText_Wrap(const RichText& rt, int size, int width);
// Draws line by line; returns the height used.
int RichText_Draw(const RichText& rt, int size, uint32_t colour, int x, int y, int width, int alpha);
void RichText_Free(RichText& rt);
