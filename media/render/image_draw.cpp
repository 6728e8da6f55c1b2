// Drawing pictures onto the screen. Rotation and flip are kept in the record
// but this back-end draws every picture upright and unmirrored.
#include "media/render/compositor.h"
#include "media/render/image.h"
#include "media/render/screen.h"
#include <algorithm>

bool Image::drawScaled(int64_t dx, int64_t dy, int64_t dw, int64_t dh, int32_t l, int32_t t, int32_t r, int32_t b) {
  if (alpha == 0 || surfaceAlpha == 0) return true;  // nothing to see
  ComposeTarget target = Screen_Target();
  if (!target.pixels) return false;
  ComposeSource src{pixels, surfaceWidth, surfaceHeight, pixelAlpha, surfaceAlpha, modulate & 0xFFFFFF};
  Compose(src, target, dx, dy, dw, dh, ClipRect{l, t, r, b});
  return true;
}

bool Image::Draw() {
  if (!loaded) return false;
  return drawScaled(x, y, width, height, 0, 0, kScreenWidth, kScreenHeight);
}

bool Image::DrawFast() {
  if (!loaded) return false;
  // With a white colour the picture goes out at its own size, whatever the
  // displayed size says.
  if ((modulate & 0xFFFFFF) == 0xFFFFFF)
    return drawScaled(x, y, surfaceWidth, surfaceHeight, 0, 0, kScreenWidth, kScreenHeight);
  return Draw();
}

bool Image::DrawClipped(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  if (!loaded) return false;
  left = std::max(left, 0);
  top = std::max(top, 0);
  right = std::min(right, kScreenWidth);
  bottom = std::min(bottom, kScreenHeight);
  if (left >= right || top >= bottom) return true;
  return drawScaled(x, y, width, height, left, top, right, bottom);
}
