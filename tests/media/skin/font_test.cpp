#include "media/font/font.h"
#include "platform/files.h"
#include "support/test_support.h"
#include <FreeImage.h>
#include <gtest/gtest.h>
#include <string>

namespace {
// A glyph sheet with one opaque white pixel at the top-left of every cell.
void writeSheet(const std::string& path, int w, int h) {
  FIBITMAP* d = FreeImage_Allocate(w, h, 32);
  for (int k = 0; k < 100; k++) {
    int x = 51 * (k % 10), y = 51 * (k / 10);
    if (x < w && y < h) ((uint32_t*)FreeImage_GetScanLine(d, h - 1 - y))[x] = 0xFFFFFFFF;
  }
  FreeImage_Save(FIF_PNG, d, path.c_str());
  FreeImage_Unload(d);
}

std::string widths(int n, int value) {
  std::string s;
  for (int i = 0; i < n; i++) s += std::to_string(value + i % 3) + (i + 1 < n ? "," : "");
  return s;
}
}

TEST(Font, WidthsFileHoldsAtMostOneHundred) {
  int32_t adv[kFontGlyphs];
  EXPECT_EQ(Font_ParseWidths(widths(120, 20), adv), 100);
  EXPECT_EQ(adv[0], 21);
  EXPECT_EQ(adv[1], 22);
  EXPECT_EQ(Font_ParseWidths("10, 12 ,\n14", adv), 3);
  EXPECT_EQ(adv[2], 15);
  EXPECT_EQ(Font_ParseWidths("99999999999", adv), 1);
  EXPECT_LE(adv[0], 4097);
}

TEST(Font, OutlineAndShadowPixels) {
  uint32_t cell[51 * 50] = {};
  cell[0] = 0xFFFFFFFF;  // one white pixel at the top-left
  uint32_t out[kGlyphWidth * kGlyphHeight];
  Font_OutlineCell(cell, 51, 50, out);
  auto at = [&](int x, int y) { return out[y * kGlyphWidth + x]; };
  EXPECT_EQ(at(1, 1), 0xFFFEFEFEu);   // the glyph itself, over its outline: 255 * 255 / 256
  EXPECT_EQ(at(0, 0), 0xFF000000u);   // outline
  EXPECT_EQ(at(2, 2), 0xFF000000u);
  EXPECT_EQ(at(5, 5), 0xFF000000u);   // drop shadow
  EXPECT_EQ(at(3, 0), 0u);
  EXPECT_EQ(at(0, 3), 0u);
  EXPECT_EQ(at(5, 4), 0u);
  // a half-transparent pixel blends toward its colour by its alpha
  cell[0] = 0x80FFFFFF;
  Font_OutlineCell(cell, 51, 50, out);
  EXPECT_EQ(at(1, 1) >> 24, 0x80u);
  EXPECT_EQ(at(1, 1) & 0xFF, 0x7Fu);  // 0 + 255 * 128 / 256
}

TEST(Font, LoadMeasureAndStyle) {
  TempDir dir;
  Dir_Create("f");
  writeSheet("f/font-Main.png", 510, 510);
  WriteFile("f/font-Main.def", widths(120, 20));
  ASSERT_TRUE(Font_Load("f", "font-Main"));
  EXPECT_EQ(g_font.count, 100);
  EXPECT_EQ(g_font.glyphs[0].pictureWidth, kGlyphWidth);
  EXPECT_EQ(g_font.glyphs[99].pictureHeight, kGlyphHeight);
  EXPECT_EQ(Font_TextWidth(49, "   "), 3 * 21);
  EXPECT_EQ(Font_TextWidth(49, "!"), 22);            // glyph 1
  EXPECT_EQ(Font_TextWidth(24, "!!"), (int)(44 * 0.5));
  EXPECT_EQ(Font_TextWidth(49, "ab\x84zz"), Font_TextWidth(49, "ab"));  // 132 and up end the text
  EXPECT_EQ(Font_MarkedTextWidth(49, "^a{c1}b{pic.png}"), Font_TextWidth(49, "ab"));
  Font_SetStyle(30, 0xFF0000, 255, FONT_SIZE | FONT_COLOUR);
  EXPECT_EQ(g_font.glyphs[5].width, 34);
  g_font.glyphs[5].SetSize(10, 10, 0);
  Font_SetStyle(30, 0xFF0000, 255, FONT_SIZE);  // the same size again: no resizing
  EXPECT_EQ(g_font.glyphs[5].width, 10);
  Font_Free();
  EXPECT_FALSE(Font_Load("f", "missing"));
}

TEST(Font, SheetSmallerThanItsCellsLoadsSafely) {
  TempDir dir;
  Dir_Create("f");
  writeSheet("f/font-Main.png", 60, 20);
  WriteFile("f/font-Main.def", widths(100, 10));
  ASSERT_TRUE(Font_Load("f", "font-Main"));
  EXPECT_EQ(g_font.count, 100);
  Font_DrawText(20, 0xFFFFFF, 10, 10, "Hello, world {c1}");
  Font_Free();
}

TEST(Font, RichTextWrapsBetweenWords) {
  TempDir dir;
  Dir_Create("f");
  writeSheet("f/font-Main.png", 510, 510);
  WriteFile("f/font-Main.def", widths(100, 20));  // about 21 pixels a character at size 49
  ASSERT_TRUE(Font_Load("f", "font-Main"));
  RichText rt;
  RichText_Build(rt, "aaaa bbbb cccc\ndd", "f");
  auto lines = RichText_Wrap(rt, 49, 200);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0].first, 0);
  EXPECT_EQ(lines[0].second, 9);   // "aaaa bbbb"
  EXPECT_EQ(lines[1].first, 10);   // "cccc"
  EXPECT_EQ(lines[2].first, 15);   // "dd" after the line break
  Font_Free();
}
