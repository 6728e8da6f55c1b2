// One-pixel lines written into a picture's own pixels (the radar outlines).
#include "media/render/image.h"
#include <algorithm>
#include <cstdlib>

// Steps along the longer axis, longer length + 1 pixels, moving along the
// shorter one whenever the error term (starting at half the longer length)
// overflows. Pixels outside the picture are not written but still use up their
// colour. Only the steps that can land inside the picture are walked, so a line
// from far outside costs no more than one across it.
int32_t Image::DrawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2, const uint32_t* colours, int32_t count,
                        int32_t startIndex) {
  if (!loaded || !colours || count <= 0) return 0;
  int64_t start = ((int64_t)startIndex % count + count) % count;
  const int64_t dx = (int64_t)x2 - x1, dy = (int64_t)y2 - y1;
  const bool alongX = std::llabs(dx) >= std::llabs(dy);
  const int64_t longer = alongX ? std::llabs(dx) : std::llabs(dy);
  const int64_t shorter = alongX ? std::llabs(dy) : std::llabs(dx);
  const int64_t major0 = alongX ? x1 : y1, minor0 = alongX ? y1 : x1;
  const int64_t majorStep = (alongX ? dx : dy) < 0 ? -1 : 1, minorStep = (alongX ? dy : dx) < 0 ? -1 : 1;
  const int64_t majorSize = alongX ? surfaceWidth : surfaceHeight, minorSize = alongX ? surfaceHeight : surfaceWidth;
  const int64_t next = (start + (longer + 1) % count) % count;

  // Steps i whose major coordinate major0 + majorStep * i lies in the picture.
  int64_t lo, hi;
  if (majorStep > 0) lo = -major0, hi = majorSize - 1 - major0;
  else lo = major0 - (majorSize - 1), hi = major0;
  lo = std::max<int64_t>(lo, 0);
  hi = std::min<int64_t>(hi, longer);
  if (lo > hi) return (int32_t)next;

  // The error term and minor offset after `lo` steps, in closed form.
  __int128 acc = (__int128)(longer / 2) + (__int128)lo * shorter;
  int64_t err = longer ? (int64_t)(acc % longer) : 0;
  int64_t minor = minor0 + minorStep * (longer ? (int64_t)(acc / longer) : 0);
  int64_t major = major0 + majorStep * lo;
  int64_t index = (start + lo % count) % count;
  for (int64_t i = lo; i <= hi; i++) {
    if (minor >= 0 && minor < minorSize) {
      size_t at = alongX ? (size_t)minor * surfaceWidth + (size_t)major : (size_t)major * surfaceWidth + (size_t)minor;
      uint8_t scratch = 0;
      storeColour(pixels + at, savedAlpha ? savedAlpha + at : &scratch, colours[index]);
    }
    if (++index == count) index = 0;
    major += majorStep;
    err += shorter;
    if (err >= longer && longer) {
      err -= longer;
      minor += minorStep;
    }
  }
  return (int32_t)next;
}
