// The frame plug-ins draw into, and the picture the play shows it with.
#include "media/render/alpha_table.h"
#include "media/vis/vis_internal.h"
#include "platform/locks.h"
#include "platform/log.h"
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <mutex>

namespace {
constexpr int32_t kFullWidth = 320, kFullHeight = 240;
constexpr uint32_t kBlack = 0xFF000000u;

// The frame into its picture; g_movieLock is held.
void uploadLocked() {
  VisFrame& f = g_vis.frame;
  Image& img = f.image;
  if (!f.pixels || !img.loaded || !img.pixels) return;
  int32_t w = std::min(f.width, img.surfaceWidth), h = std::min(f.height, img.surfaceHeight);
  // Shown opaque: alpha forced to full, folded through the picture's own opacity.
  uint32_t a = img.savedAlpha ? (uint32_t)AlphaTable[img.appliedAlpha][255] << 24 : kBlack;
  for (int32_t r = 0; r < h; r++) {
    const uint32_t* src = f.pixels + (size_t)r * f.width;
    uint32_t* dst = img.pixels + (size_t)r * img.surfaceWidth;
    for (int32_t c = 0; c < w; c++) dst[c] = (src[c] & 0xFFFFFF) | a;
    if (img.savedAlpha) memset(img.savedAlpha + (size_t)r * img.surfaceWidth, 255, (size_t)w);
  }
}

int32_t evenAtLeast8(int32_t v) {
  v = std::max(v, 8);
  return v + (v & 1);
}
}  // namespace

VisState g_vis;

void Vis_BuildFade(float factor) {
  if (!(factor >= 0)) factor = 0;   // NaN too
  for (int i = 0; i < 256; i++) g_vis.fade[i] = (uint8_t)std::min(255.0f, (float)i * factor);
}

void Vis_SetFade(float factor) {
  std::lock_guard<std::timed_mutex> plugins(g_pluginLock);
  Vis_BuildFade(factor);
}

bool Vis_CreateFrameLocked(int quality, bool alpha) {
  int q = quality <= 0 ? 10 : std::min(quality, 100);
  VisFrame& f = g_vis.frame;
  if (f.pixels && f.quality == q && f.alpha == alpha) return true;
  Vis_FreeFrameLocked(true);

  int32_t w = kFullWidth, h = kFullHeight;
  if (q < 100) {
    w = evenAtLeast8(kFullWidth * q / 100);
    h = evenAtLeast8(kFullHeight * q / 100);
  }
  uint32_t* pixels = (uint32_t*)malloc((size_t)w * h * 4);
  if (!pixels) {
    WriteLog("Error creating texture\n");
    return false;
  }
  {
    // The picture is black before the play can draw it.
    std::lock_guard<std::timed_mutex> frame(g_movieLock);
    if (!f.image.Create(w, h, alpha ? IMAGE_ARGB : IMAGE_RGB)) {
      WriteLog("Error creating frameImg\n");
      free(pixels);
      return false;
    }
    f.image.SetAlpha(255);
    // A picture smaller than asked for (the device's limits) takes the frame
    // down with it, to even sides.
    if (f.image.pictureWidth < w) w = f.image.pictureWidth & ~1;
    if (f.image.pictureHeight < h) h = f.image.pictureHeight & ~1;
    f.pixels = pixels;
    f.width = w;
    f.height = h;
    f.quality = q;
    f.alpha = alpha;
    std::fill(f.pixels, f.pixels + (size_t)w * h, kBlack);
    uploadLocked();
  }
  return true;
}

bool Vis_CreateFrame(int quality, bool alpha) {
  std::lock_guard<std::timed_mutex> plugins(g_pluginLock);
  return Vis_CreateFrameLocked(quality, alpha);
}

void Vis_FreeFrameLocked(bool forgetQuality) {
  VisFrame& f = g_vis.frame;
  {
    std::lock_guard<std::timed_mutex> frame(g_movieLock);
    f.image.Free();
  }
  free(f.pixels);
  f.pixels = nullptr;
  f.width = f.height = 0;
  if (forgetQuality) f.quality = 0;
}

// The size is remembered: the next Render makes the frame again.
void Vis_FreeFrame() {
  std::lock_guard<std::timed_mutex> plugins(g_pluginLock);
  Vis_FreeFrameLocked(false);
}

void Vis_ClearFrame() {
  std::lock_guard<std::timed_mutex> plugins(g_pluginLock);
  VisFrame& f = g_vis.frame;
  if (!f.pixels) return;
  std::fill(f.pixels, f.pixels + (size_t)f.width * f.height, kBlack);
  Vis_UploadFrame();
}

void Vis_UploadFrame() {
  // The play waits for this as long as it takes: it is one short copy.
  std::lock_guard<std::timed_mutex> frame(g_movieLock);
  uploadLocked();
}

Image& Vis_FrameImage() { return g_vis.frame.image; }
int32_t Vis_FrameWidth() { return g_vis.frame.width; }
int32_t Vis_FrameHeight() { return g_vis.frame.height; }

namespace {
// The default fade is ready before the search builds it again.
struct DefaultFade {
  DefaultFade() { Vis_BuildFade(0.8f); }
} g_defaultFade;
}
