#include "media/draw_helpers.h"
#include "media/font/font.h"
#include "media/render/image.h"

namespace {
Image g_pixel;  // one white pixel, drawn at any size and colour
}

void Draw_FillRect(int x, int y, int w, int h, uint32_t rgb, int alpha) {
  if (w <= 0 || h <= 0) return;
  if (!g_pixel.loaded && !g_pixel.Create(1, 1, IMAGE_RGB)) return;
  g_pixel.SetSize(w, h, 0);
  g_pixel.SetColour(rgb);
  g_pixel.SetSurfaceAlpha(alpha);
  g_pixel.SetPosition(x, y);
  g_pixel.Draw();
}

void Draw_TextCentred(int size, uint32_t colour, int centreX, int y, const char* text, int alpha) {
  Font_DrawTextAlpha(size, colour, centreX - Font_TextWidth(size, text) / 2, y, text, alpha);
}

int Draw_FitSize(int size, int minSize, int width, const char* text) {
  while (size > minSize && Font_TextWidth(size, text) > width) size--;
  return size;
}

void Draw_TextClipped(int size, uint32_t colour, int x, int y, int width, const char* text, int alpha) {
  Font_SetClip(x, 0, x + width, 480);
  Font_DrawTextClipped(size, colour, x, y, text, alpha);
  Font_SetClip(0, 0, 640, 480);
}

void Draw_Free() { g_pixel.Free(); }
