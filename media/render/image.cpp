#include "media/render/image.h"
#include "platform/log.h"
#include "media/render/alpha_table.h"
#include "media/render/image_decode.h"
#include <FreeImage.h>
#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <utility>

static_assert(FI_RGBA_RED == 2 && FI_RGBA_ALPHA == 3, "32-bit bitmaps are read as 0xAARRGGBB words");

namespace {
uint8_t clampByte(int32_t v) { return (uint8_t)std::clamp(v, 0, 255); }

// A colour as a 5-6-5 or a 3-3-2 picture would hold it, widened back to 8 bits.
uint32_t quantise(uint32_t c, uint8_t bytesPerPixel) {
  uint32_t r = (c >> 16) & 255, g = (c >> 8) & 255, b = c & 255;
  if (bytesPerPixel == 2) {
    r = (r & 0xF8) | (r >> 5);
    g = (g & 0xFC) | (g >> 6);
    b = (b & 0xF8) | (b >> 5);
  } else if (bytesPerPixel == 1) {  // the 3-3-2 palette
    r &= 0xE0, r |= (r >> 3) | (r >> 6);
    g &= 0xE0, g |= (g >> 3) | (g >> 6);
    b &= 0xC0, b |= (b >> 2) | (b >> 4) | (b >> 6);
  } else {
    return c & 0xFFFFFF;
  }
  return (r << 16) | (g << 8) | b;
}
}  // namespace

Image::~Image() { Free(); }

Image::Image(Image&& o) noexcept { *this = std::move(o); }

Image& Image::operator=(Image&& o) noexcept {
  if (this == &o) return *this;
  Free();
  memcpy((void*)this, (const void*)&o, sizeof(Image));
  o.pixels = nullptr;
  o.savedAlpha = nullptr;
  o.loaded = false;
  o.Free();
  return *this;
}

void Image::reset() {
  loaded = false;
  backend = g_renderBackend;
  x = y = 0;
  width = height = pictureWidth = pictureHeight = 0;
  colour = 0xFFFFFF;
  alpha = 255;
  brightness = 255.0f;
  modulate = 0xFFFFFFFF;
  rotation = rotationRadians = 0.0f;
  flip = 0;
  dither = true;
  hasColourKey = false;
  colourKey = 0;
  sourceRect = destRect = ImageRect{};
  pixelAlpha = false;
  surfaceAlpha = appliedAlpha = 255;
  bytesPerPixel = 0;
}

bool Image::allocate(int32_t w, int32_t h, bool withSaved) {
  if (w <= 0 || h <= 0 || w > kMaxPictureSide || h > kMaxPictureSide) return false;
  size_t n = (size_t)w * (size_t)h;
  if (!pixels || w != surfaceWidth || h != surfaceHeight) {
    uint32_t* p = (uint32_t*)malloc(n * 4);
    if (!p) return false;
    free(pixels);
    pixels = p;
    free(savedAlpha);
    savedAlpha = nullptr;
  }
  if (withSaved && !savedAlpha) {
    savedAlpha = (uint8_t*)malloc(n);
    if (!savedAlpha) return false;
  } else if (!withSaved) {
    free(savedAlpha);
    savedAlpha = nullptr;
  }
  surfaceWidth = w;
  surfaceHeight = h;
  return true;
}

bool Image::Free() {
  free(pixels);
  free(savedAlpha);
  pixels = nullptr;
  savedAlpha = nullptr;
  surfaceWidth = surfaceHeight = 0;
  reset();
  return true;
}

void Image::updateModulate() {
  uint32_t r = (colour >> 16) & 255, g = (colour >> 8) & 255, b = colour & 255;
  if (brightness < 1.0f) {
    float f = std::max(brightness, 0.0f);
    r = (uint32_t)(r * f);
    g = (uint32_t)(g * f);
    b = (uint32_t)(b * f);
  }
  modulate = ((uint32_t)alpha << 24) | (r << 16) | (g << 8) | b;
}

void Image::updateRects() {
  sourceRect = {0, 0, pictureWidth, pictureHeight};
  destRect = {x, y, x + width, y + height};
}

// Copies the sub-rectangle into the surface. FreeImage keeps rows bottom-up, so
// picture row r is bitmap row height - top - r - 1.
bool Image::fillFromBitmap(FIBITMAP* dib, int32_t left, int32_t top, int32_t w, int32_t h) {
  FIBITMAP* owned = nullptr;
  FREE_IMAGE_TYPE type = FreeImage_GetImageType(dib);
  if (type == FIT_RGBA16) dib = owned = FreeImage_ConvertTo32Bits(dib);
  else if (type == FIT_RGB16) dib = owned = FreeImage_ConvertTo24Bits(dib);
  else if (type != FIT_BITMAP) dib = owned = FreeImage_ConvertToStandardType(dib, TRUE);
  if (!dib) return false;
  // A palette picture with transparent entries (a PNG saved with a tRNS table)
  // keeps that transparency as alpha, as a 32-bit picture.
  if (FreeImage_GetBPP(dib) <= 8 && FreeImage_IsTransparent(dib)) {
    FIBITMAP* full = FreeImage_ConvertTo32Bits(dib);
    if (owned) FreeImage_Unload(owned);
    dib = owned = full;
    if (!dib) return false;
  }
  const int32_t bh = (int32_t)FreeImage_GetHeight(dib);
  const unsigned bpp = FreeImage_GetBPP(dib);

  bool ok = false;
  if (bpp == 32) {
    if (allocate(w, h, true)) {
      for (int32_t r = 0; r < h; r++) {
        const uint32_t* src = (const uint32_t*)FreeImage_GetScanLine(dib, bh - top - r - 1) + left;
        uint32_t* dst = pixels + (size_t)r * w;
        uint8_t* saved = savedAlpha + (size_t)r * w;
        const uint8_t* fold = AlphaTable[appliedAlpha].data();
        for (int32_t c = 0; c < w; c++) {
          uint32_t p = src[c];
          saved[c] = (uint8_t)(p >> 24);
          dst[c] = (p & 0xFFFFFF) | ((uint32_t)fold[p >> 24] << 24);
        }
      }
      bytesPerPixel = 4;
      pixelAlpha = true;
      hasColourKey = false;
      ok = true;
    }
  } else {
    FIBITMAP* rgb = bpp == 24 ? dib : FreeImage_ConvertTo24Bits(dib);
    if (rgb && allocate(w, h, false)) {
      // The first stored pixel (bottom-left) gives the key.
      const uint8_t* first = FreeImage_GetScanLine(rgb, 0);
      uint32_t key = ((uint32_t)first[FI_RGBA_RED] << 16) | ((uint32_t)first[FI_RGBA_GREEN] << 8) | first[FI_RGBA_BLUE];
      bool keyed = hasColourKey;  // the caller decides
      for (int32_t r = 0; r < h; r++) {
        const uint8_t* src = FreeImage_GetScanLine(rgb, bh - top - r - 1) + (size_t)left * 3;
        uint32_t* dst = pixels + (size_t)r * w;
        for (int32_t c = 0; c < w; c++, src += 3) {
          uint32_t p = ((uint32_t)src[FI_RGBA_RED] << 16) | ((uint32_t)src[FI_RGBA_GREEN] << 8) | src[FI_RGBA_BLUE];
          dst[c] = keyed && p == key ? p : p | 0xFF000000u;
        }
      }
      bytesPerPixel = (uint8_t)(bpp >= 24 ? 3 : bpp == 16 ? 2 : 1);
      pixelAlpha = keyed;
      colourKey = keyed ? key : 0;
      ok = true;
    }
    if (rgb && rgb != dib) FreeImage_Unload(rgb);
  }
  if (owned) FreeImage_Unload(owned);
  if (!ok) return false;
  pictureWidth = w;
  pictureHeight = h;
  return true;
}

bool Image::Load(char* path, int keyFlag, int convert) {
  Free();
  if (!path) return false;
  size_t n = strlen(path);
  for (size_t i = n >= 3 ? n - 3 : 0; i < n; i++) path[i] = (char)tolower((unsigned char)path[i]);
  int format = Decode_FormatForEnding(path);
  if (format < 0) {
    WriteLogf("Unknown picture type '%s'\n", path);
    return false;
  }
  FIBITMAP* dib = Decode_File(path, format);
  if (!dib) return false;
  const int32_t w = (int32_t)FreeImage_GetWidth(dib), h = (int32_t)FreeImage_GetHeight(dib);
  hasColourKey = keyFlag > 0 && FreeImage_GetBPP(dib) < 32;
  bool ok = fillFromBitmap(dib, 0, 0, w, h);
  FreeImage_Unload(dib);
  if (!ok) {
    Free();
    return false;
  }
  // A 32-bit BMP usually leaves its fourth byte unused: all zero means no alpha.
  if (format == FIF_BMP && bytesPerPixel == 4) {
    size_t count = (size_t)w * h;
    bool any = false;
    for (size_t i = 0; i < count && !any; i++) any = savedAlpha[i] != 0;
    if (!any) {
      memset(savedAlpha, 255, count);
      for (size_t i = 0; i < count; i++) pixels[i] |= 0xFF000000u;
    }
  }
  width = w;
  height = h;
  loaded = true;
  updateRects();
  return true;
}

bool Image::Create(int32_t w, int32_t h, int32_t type) {
  Free();
  if (type < IMAGE_RGB || type > IMAGE_PALETTE) {
    WriteLogf("Unknown picture type %d to create\n", type);
    return false;
  }
  if (!allocate(w, h, type == IMAGE_ARGB)) {
    WriteLogf("Unable to create a picture of %d x %d\n", w, h);
    Free();
    return false;
  }
  size_t n = (size_t)w * h;
  // The fill value is 0xFFFFFF: white, and for a picture with alpha, transparent.
  std::fill(pixels, pixels + n, type == IMAGE_ARGB ? 0x00FFFFFFu : 0xFFFFFFFFu);
  if (savedAlpha) memset(savedAlpha, 0, n);
  bytesPerPixel = type == IMAGE_ARGB ? 4 : type == IMAGE_RGB ? 3 : type == IMAGE_RGB565 ? 2 : 1;
  pixelAlpha = type == IMAGE_ARGB;
  pictureWidth = width = w;
  pictureHeight = height = h;
  loaded = true;
  updateRects();
  return true;
}

bool Image::LoadFromBitmap(FIBITMAP* dib, int32_t left, int32_t top, int32_t w, int32_t h, int convert) {
  if (!dib || !FreeImage_HasPixels(dib)) return false;
  const int64_t bw = FreeImage_GetWidth(dib), bh = FreeImage_GetHeight(dib);
  if (w <= 0 || h <= 0 || left < 0 || top < 0 || left + (int64_t)w > bw || top + (int64_t)h > bh) {
    WriteLogf("Picture cell (%d, %d, %d x %d) lies outside its %lld x %lld sheet\n", left, top, w, h, (long long)bw,
              (long long)bh);
    return false;
  }
  if (loaded && (w != pictureWidth || h != pictureHeight)) return false;
  bool first = !loaded;
  if (first) reset();
  hasColourKey = FreeImage_GetBPP(dib) < 32 && FreeImage_GetImageType(dib) == FIT_BITMAP;
  if (!fillFromBitmap(dib, left, top, w, h)) {
    if (first) Free();
    return false;
  }
  if (first) {
    width = w;
    height = h;
    loaded = true;
  }
  updateRects();
  return true;
}

bool Image::SetPosition(int32_t nx, int32_t ny) {
  if (!loaded) return false;
  x = nx;
  y = ny;
  updateRects();
  return true;
}

bool Image::SetSize(int32_t w, int32_t h, int resample) {
  if (!loaded || w <= 0 || h <= 0) return false;
  if (resample == 1 && (w != surfaceWidth || h != surfaceHeight)) {
    if (w > kMaxPictureSide || h > kMaxPictureSide) return false;
    // Rescaled with premultiplied colours so that clear pixels do not bleed
    // their colour into the edges.
    FIBITMAP* src = FreeImage_Allocate(surfaceWidth, surfaceHeight, 32);
    if (!src) return false;
    for (int32_t r = 0; r < surfaceHeight; r++) {
      uint32_t* line = (uint32_t*)FreeImage_GetScanLine(src, surfaceHeight - 1 - r);
      for (int32_t c = 0; c < surfaceWidth; c++) {
        size_t i = (size_t)r * surfaceWidth + c;
        uint32_t p = pixels[i];
        uint32_t a = savedAlpha ? savedAlpha[i] : pixelAlpha ? p >> 24 : 255;
        uint32_t rr = ((p >> 16) & 255) * a / 255, gg = ((p >> 8) & 255) * a / 255, bb = (p & 255) * a / 255;
        line[c] = (a << 24) | (rr << 16) | (gg << 8) | bb;
      }
    }
    FIBITMAP* dst = FreeImage_Rescale(src, w, h, FILTER_BILINEAR);
    FreeImage_Unload(src);
    if (!dst) return false;
    bool withSaved = bytesPerPixel == 4;
    bool ok = allocate(w, h, withSaved);
    if (ok) {
      const uint8_t* fold = AlphaTable[appliedAlpha].data();
      for (int32_t r = 0; r < h; r++) {
        const uint32_t* line = (const uint32_t*)FreeImage_GetScanLine(dst, h - 1 - r);
        for (int32_t c = 0; c < w; c++) {
          uint32_t p = line[c], a = p >> 24;
          uint32_t rr = (p >> 16) & 255, gg = (p >> 8) & 255, bb = p & 255;
          if (a && a < 255) {
            rr = std::min<uint32_t>(255, rr * 255 / a);
            gg = std::min<uint32_t>(255, gg * 255 / a);
            bb = std::min<uint32_t>(255, bb * 255 / a);
          }
          size_t i = (size_t)r * w + c;
          uint32_t rgb = (rr << 16) | (gg << 8) | bb;
          if (withSaved) {
            savedAlpha[i] = (uint8_t)a;
            pixels[i] = rgb | ((uint32_t)fold[a] << 24);
          } else if (pixelAlpha) {  // a keyed picture keeps a hard edge
            pixels[i] = rgb | (a >= 128 ? 0xFF000000u : 0);
          } else {
            pixels[i] = rgb | 0xFF000000u;
          }
        }
      }
    }
    FreeImage_Unload(dst);
    if (!ok) {
      Free();
      return false;
    }
  }
  width = w;
  height = h;
  updateRects();
  return true;
}

bool Image::ResetSize() {
  if (!loaded) return false;
  width = pictureWidth;
  height = pictureHeight;
  updateRects();
  return true;
}

bool Image::SetAlpha(int32_t a) {
  if (!loaded) return false;
  alpha = clampByte(a);
  updateModulate();
  if (bytesPerPixel == 4 && savedAlpha) {
    if (appliedAlpha != alpha) {
      const uint8_t* fold = AlphaTable[alpha].data();
      size_t n = (size_t)surfaceWidth * surfaceHeight;
      for (size_t i = 0; i < n; i++) pixels[i] = (pixels[i] & 0xFFFFFF) | ((uint32_t)fold[savedAlpha[i]] << 24);
      appliedAlpha = alpha;
    }
    surfaceAlpha = 255;  // the opacity now lives in the pixels
  } else {
    surfaceAlpha = alpha;
  }
  return true;
}

bool Image::SetSurfaceAlpha(int32_t a) {
  if (!loaded) return false;
  alpha = clampByte(a);
  surfaceAlpha = alpha;
  updateModulate();
  return true;
}

bool Image::SetColour(uint32_t rgb) {
  if (!loaded) return false;
  colour = rgb & 0xFFFFFF;
  updateModulate();
  return true;
}

bool Image::SetBrightness(float b) {
  if (!loaded) return false;
  brightness = b;
  updateModulate();
  return true;
}

bool Image::SetRotation(float degrees) {
  if (!loaded) return false;
  rotation = degrees;
  rotationRadians = (float)(degrees * 0.017453292519943295);
  return true;
}

bool Image::SetFlip(int32_t flags) {
  if (!loaded) return false;
  flip = flags;
  return true;
}

bool Image::SetDither(int32_t on) {
  if (!loaded) return false;
  if (on == 0 || on == 1) dither = on == 1;
  return true;
}

uint32_t Image::PixelAt(int32_t px, int32_t py) const {
  if (!pixels || px < 0 || py < 0 || px >= surfaceWidth || py >= surfaceHeight) return 0;
  return pixels[(size_t)py * surfaceWidth + px];
}

// One pixel as the picture stores it: 32-bit pictures keep the colour's alpha
// (and the saved copy), keyed pictures turn the key transparent, the others are
// opaque at their own depth.
void Image::storeColour(uint32_t* p, uint8_t* saved, uint32_t c) const {
  if (bytesPerPixel == 4) {
    *saved = (uint8_t)(c >> 24);
    *p = (c & 0xFFFFFF) | ((uint32_t)AlphaTable[appliedAlpha][c >> 24] << 24);
    return;
  }
  uint32_t rgb = quantise(c, bytesPerPixel);
  *p = rgb | (pixelAlpha && hasColourKey && rgb == colourKey ? 0 : 0xFF000000u);
}

bool Image::Clear() {
  if (!loaded) return false;
  size_t n = (size_t)surfaceWidth * surfaceHeight;
  uint32_t v;
  uint8_t s = 0;
  storeColour(&v, &s, 0);
  std::fill(pixels, pixels + n, v);
  if (savedAlpha) memset(savedAlpha, 0, n);
  return true;
}

bool GetImageFileSize(const char* path, int32_t* width, int32_t* height) {
  return Decode_FileSize(path, width, height);
}
