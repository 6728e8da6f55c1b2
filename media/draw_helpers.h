#pragma once
// Small drawing helpers the screens share.
#include <cstdint>

// A filled rectangle in 0xRRGGBB at the given opacity.
void Draw_FillRect(int x, int y, int w, int h, uint32_t rgb, int alpha = 255);
// Text centred on x.
void Draw_TextCentred(int size, uint32_t colour, int centreX, int y, const char* text, int alpha = 255);
// The largest size from `size` down to `minSize` at which `text` fits `width`.
int Draw_FitSize(int size, int minSize, int width, const char* text);
// Text in one line inside `width` from x, cut at the edge.
void Draw_TextClipped(int size, uint32_t colour, int x, int y, int width, const char* text, int alpha = 255);
void Draw_Free();
