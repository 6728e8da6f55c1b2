#pragma once
// The software compositor: draws a 32-bit picture onto a 32-bit XRGB target,
// scaled by 8.8 fixed-point steps, multiplied by a colour and blended by weight.
//
// Every blend is dst + ((src - dst) * k >> 8) on each channel, with k the weight
// 0..255; a weight of 255 is taken as fully opaque so that a solid pixel keeps
// its exact colour. The top byte of the target is not used.
#include <cstdint>

struct ComposeSource {
  const uint32_t* pixels;  // ARGB rows, `width` pixels apart
  int32_t width, height;
  bool pixelAlpha;         // weigh each pixel by its alpha byte; otherwise opaque
  uint8_t fade;            // overall opacity applied on top
  uint32_t modulate;       // 0xRRGGBB multiplied into every pixel; 0xFFFFFF none
};

struct ComposeTarget {
  uint32_t* pixels;
  int32_t pitch;           // in pixels
  int32_t width, height;
};

struct ClipRect {
  int32_t left, top, right, bottom;  // right and bottom exclusive
};

// Draws `src` scaled to the rectangle (x, y, w, h), touching only target pixels
// inside `clip` (which is first cut to the target). Coordinates may lie anywhere.
void Compose(const ComposeSource& src, const ComposeTarget& dst, int64_t x, int64_t y, int64_t w,
             int64_t h, ClipRect clip);

// Row kernels. The SIMD versions and the plain ones give the same colours.
namespace comp {
void RowCopy(uint32_t* d, const uint32_t* s, int n);
void RowBlendConst(uint32_t* d, const uint32_t* s, int n, unsigned k);         // k 0..254
void RowBlendAlpha(uint32_t* d, const uint32_t* s, int n);                     // k = source alpha
void RowBlendAlphaFade(uint32_t* d, const uint32_t* s, int n, unsigned fade);  // k = AlphaTable[fade][alpha]
void RowModulate(uint32_t* out, const uint32_t* s, int n, uint32_t rgb);       // channel * m >> 8
void RowGather(uint32_t* out, const uint32_t* row, const int32_t* cols, int n);

namespace plain {
void RowBlendConst(uint32_t* d, const uint32_t* s, int n, unsigned k);
void RowBlendAlpha(uint32_t* d, const uint32_t* s, int n);
void RowBlendAlphaFade(uint32_t* d, const uint32_t* s, int n, unsigned fade);
void RowModulate(uint32_t* out, const uint32_t* s, int n, uint32_t rgb);
}  // namespace plain

// One pixel, k 0..256 (256 = the source as it is).
inline uint32_t Blend(uint32_t d, uint32_t s, unsigned k) {
  uint32_t drb = d & 0xFF00FFu, dg = d & 0xFF00u;
  uint32_t rb = (drb + ((((s & 0xFF00FFu) - drb) * k) >> 8)) & 0xFF00FFu;
  uint32_t g = (dg + ((((s & 0xFF00u) - dg) * k) >> 8)) & 0xFF00u;
  return rb | g;
}
}  // namespace comp
