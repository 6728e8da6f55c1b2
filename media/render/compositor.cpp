#include "media/render/compositor.h"
#include "media/render/alpha_table.h"
#include <algorithm>
#include <cstring>
#include <vector>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace comp {
namespace plain {

void RowBlendConst(uint32_t* d, const uint32_t* s, int n, unsigned k) {
  for (int i = 0; i < n; i++) d[i] = Blend(d[i], s[i], k);
}

void RowBlendAlpha(uint32_t* d, const uint32_t* s, int n) {
  for (int i = 0; i < n; i++) {
    uint32_t p = s[i];
    unsigned a = p >> 24;
    if (a == 255) d[i] = p;
    else if (a) d[i] = Blend(d[i], p, a);
  }
}

void RowBlendAlphaFade(uint32_t* d, const uint32_t* s, int n, unsigned fade) {
  const uint8_t* weight = AlphaTable[fade].data();
  for (int i = 0; i < n; i++) {
    uint32_t p = s[i];
    unsigned k = weight[p >> 24];
    if (k) d[i] = Blend(d[i], p, k);
  }
}

void RowModulate(uint32_t* out, const uint32_t* s, int n, uint32_t rgb) {
  uint32_t mr = (rgb >> 16) & 255, mg = (rgb >> 8) & 255, mb = rgb & 255;
  for (int i = 0; i < n; i++) {
    uint32_t p = s[i];
    out[i] = (p & 0xFF000000u) | ((((p >> 16) & 255) * mr >> 8) << 16) | ((((p >> 8) & 255) * mg >> 8) << 8) |
             ((p & 255) * mb >> 8);
  }
}

}  // namespace plain

void RowCopy(uint32_t* d, const uint32_t* s, int n) { memcpy(d, s, (size_t)n * 4); }

void RowGather(uint32_t* out, const uint32_t* row, const int32_t* cols, int n) {
  for (int i = 0; i < n; i++) out[i] = row[cols[i]];
}

#if defined(__SSE2__)
namespace {
// (d * (256 - k) + s * k) >> 8 on 16-bit lanes: the same value as
// d + ((s - d) * k >> 8), and every partial sum stays below 65536.
inline __m128i blend16(__m128i d, __m128i s, __m128i k) {
  __m128i inv = _mm_sub_epi16(_mm_set1_epi16(256), k);
  return _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(d, inv), _mm_mullo_epi16(s, k)), 8);
}

// Each pixel's alpha copied into its four lanes.
inline __m128i spreadAlpha(__m128i p16) { return _mm_shufflehi_epi16(_mm_shufflelo_epi16(p16, 0xFF), 0xFF); }

// floor(x / 255) for x up to 65025.
inline __m128i div255(__m128i x) {
  return _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(x, _mm_set1_epi16(1)), _mm_srli_epi16(x, 8)), 8);
}
}  // namespace

void RowBlendConst(uint32_t* d, const uint32_t* s, int n, unsigned k) {
  const __m128i zero = _mm_setzero_si128(), kk = _mm_set1_epi16((short)k);
  int i = 0;
  for (; i + 4 <= n; i += 4) {
    __m128i S = _mm_loadu_si128((const __m128i*)(s + i)), D = _mm_loadu_si128((const __m128i*)(d + i));
    __m128i lo = blend16(_mm_unpacklo_epi8(D, zero), _mm_unpacklo_epi8(S, zero), kk);
    __m128i hi = blend16(_mm_unpackhi_epi8(D, zero), _mm_unpackhi_epi8(S, zero), kk);
    _mm_storeu_si128((__m128i*)(d + i), _mm_packus_epi16(lo, hi));
  }
  plain::RowBlendConst(d + i, s + i, n - i, k);
}

void RowBlendAlpha(uint32_t* d, const uint32_t* s, int n) {
  const __m128i zero = _mm_setzero_si128(), full = _mm_set1_epi32(255), full16 = _mm_set1_epi16(255);
  int i = 0;
  for (; i + 4 <= n; i += 4) {
    __m128i S = _mm_loadu_si128((const __m128i*)(s + i));
    __m128i A = _mm_srli_epi32(S, 24);
    // Sprites are mostly fully clear or fully solid: those groups need no arithmetic.
    if (_mm_movemask_epi8(_mm_cmpeq_epi32(A, zero)) == 0xFFFF) continue;
    if (_mm_movemask_epi8(_mm_cmpeq_epi32(A, full)) == 0xFFFF) {
      _mm_storeu_si128((__m128i*)(d + i), S);
      continue;
    }
    __m128i D = _mm_loadu_si128((const __m128i*)(d + i));
    __m128i slo = _mm_unpacklo_epi8(S, zero), shi = _mm_unpackhi_epi8(S, zero);
    __m128i klo = spreadAlpha(slo), khi = spreadAlpha(shi);
    klo = _mm_sub_epi16(klo, _mm_cmpeq_epi16(klo, full16));  // 255 becomes 256: solid
    khi = _mm_sub_epi16(khi, _mm_cmpeq_epi16(khi, full16));
    __m128i lo = blend16(_mm_unpacklo_epi8(D, zero), slo, klo);
    __m128i hi = blend16(_mm_unpackhi_epi8(D, zero), shi, khi);
    _mm_storeu_si128((__m128i*)(d + i), _mm_packus_epi16(lo, hi));
  }
  plain::RowBlendAlpha(d + i, s + i, n - i);
}

void RowBlendAlphaFade(uint32_t* d, const uint32_t* s, int n, unsigned fade) {
  const __m128i zero = _mm_setzero_si128(), f = _mm_set1_epi16((short)fade);
  int i = 0;
  for (; i + 4 <= n; i += 4) {
    __m128i S = _mm_loadu_si128((const __m128i*)(s + i));
    if (_mm_movemask_epi8(_mm_cmpeq_epi32(_mm_srli_epi32(S, 24), zero)) == 0xFFFF) continue;
    __m128i D = _mm_loadu_si128((const __m128i*)(d + i));
    __m128i slo = _mm_unpacklo_epi8(S, zero), shi = _mm_unpackhi_epi8(S, zero);
    __m128i klo = div255(_mm_mullo_epi16(spreadAlpha(slo), f));
    __m128i khi = div255(_mm_mullo_epi16(spreadAlpha(shi), f));
    __m128i lo = blend16(_mm_unpacklo_epi8(D, zero), slo, klo);
    __m128i hi = blend16(_mm_unpackhi_epi8(D, zero), shi, khi);
    _mm_storeu_si128((__m128i*)(d + i), _mm_packus_epi16(lo, hi));
  }
  plain::RowBlendAlphaFade(d + i, s + i, n - i, fade);
}

void RowModulate(uint32_t* out, const uint32_t* s, int n, uint32_t rgb) {
  const __m128i zero = _mm_setzero_si128();
  short r = (short)((rgb >> 16) & 255), g = (short)((rgb >> 8) & 255), b = (short)(rgb & 255);
  const __m128i m = _mm_set_epi16(256, r, g, b, 256, r, g, b);  // alpha times 256 >> 8: kept
  int i = 0;
  for (; i + 4 <= n; i += 4) {
    __m128i S = _mm_loadu_si128((const __m128i*)(s + i));
    __m128i lo = _mm_srli_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(S, zero), m), 8);
    __m128i hi = _mm_srli_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(S, zero), m), 8);
    _mm_storeu_si128((__m128i*)(out + i), _mm_packus_epi16(lo, hi));
  }
  plain::RowModulate(out + i, s + i, n - i, rgb);
}
#else
void RowBlendConst(uint32_t* d, const uint32_t* s, int n, unsigned k) { plain::RowBlendConst(d, s, n, k); }
void RowBlendAlpha(uint32_t* d, const uint32_t* s, int n) { plain::RowBlendAlpha(d, s, n); }
void RowBlendAlphaFade(uint32_t* d, const uint32_t* s, int n, unsigned fade) {
  plain::RowBlendAlphaFade(d, s, n, fade);
}
void RowModulate(uint32_t* out, const uint32_t* s, int n, uint32_t rgb) { plain::RowModulate(out, s, n, rgb); }
#endif

}  // namespace comp

namespace {
// Scratch rows for scaled and coloured draws; they grow once and are reused.
thread_local std::vector<int32_t> t_cols;
thread_local std::vector<uint32_t> t_row;
}  // namespace

void Compose(const ComposeSource& src, const ComposeTarget& dst, int64_t x, int64_t y, int64_t w,
             int64_t h, ClipRect clip) {
  if (!src.pixels || !dst.pixels || src.width <= 0 || src.height <= 0 || w <= 0 || h <= 0) return;
  if (src.fade == 0) return;
  // Clip rectangle cut to the target, then met with the destination: done once.
  int64_t cl = std::max<int64_t>(clip.left, 0), ct = std::max<int64_t>(clip.top, 0);
  int64_t cr = std::min<int64_t>(clip.right, dst.width), cb = std::min<int64_t>(clip.bottom, dst.height);
  int64_t j0 = std::max<int64_t>(0, cl - x), j1 = std::min<int64_t>(w, cr - x);
  int64_t i0 = std::max<int64_t>(0, ct - y), i1 = std::min<int64_t>(h, cb - y);
  if (j0 >= j1 || i0 >= i1) return;
  const int n = (int)(j1 - j0);

  const int64_t stepX = (int64_t)src.width * 256 / w, stepY = (int64_t)src.height * 256 / h;
  const bool contiguous = stepX == 256;  // source columns follow the screen's one for one
  const bool coloured = (src.modulate & 0xFFFFFF) != 0xFFFFFF;
  // The kernel depends only on the picture's state, so it is chosen once per draw.
  enum { COPY, CONST, ALPHA, ALPHA_FADE } kind;
  if (src.pixelAlpha) kind = src.fade == 255 ? ALPHA : ALPHA_FADE;
  else kind = src.fade == 255 ? COPY : CONST;
  // A solid picture's colour is multiplied straight into the screen.
  const bool fuseColour = coloured && kind == COPY;
  const bool colourRow = coloured && !fuseColour;
  if (!contiguous) {
    if ((int)t_cols.size() < n) t_cols.resize(n);
    int64_t v = j0 * stepX;
    for (int k = 0; k < n; k++, v += stepX) t_cols[k] = (int32_t)(v >> 8);
  }
  if ((!contiguous || colourRow) && (int)t_row.size() < n) t_row.resize(n);

  uint32_t* out = dst.pixels + (y + i0) * dst.pitch + (x + j0);
  int64_t lastRow = -1;
  const uint32_t* line = nullptr;
  int64_t v = i0 * stepY;
  for (int64_t i = i0; i < i1; i++, v += stepY, out += dst.pitch) {
    int64_t sr = v >> 8;
    if (sr != lastRow) {  // upscaled pictures reuse one prepared row for several screen rows
      const uint32_t* row = src.pixels + sr * src.width;
      if (contiguous) {
        line = row + j0;
        if (colourRow) {
          comp::RowModulate(t_row.data(), line, n, src.modulate);
          line = t_row.data();
        }
      } else {
        comp::RowGather(t_row.data(), row, t_cols.data(), n);
        if (colourRow) comp::RowModulate(t_row.data(), t_row.data(), n, src.modulate);
        line = t_row.data();
      }
      lastRow = sr;
    }
    switch (kind) {
      case COPY:
        if (fuseColour) comp::RowModulate(out, line, n, src.modulate);
        else comp::RowCopy(out, line, n);
        break;
      case CONST: comp::RowBlendConst(out, line, n, src.fade); break;
      case ALPHA: comp::RowBlendAlpha(out, line, n); break;
      case ALPHA_FADE: comp::RowBlendAlphaFade(out, line, n, src.fade); break;
    }
  }
}
