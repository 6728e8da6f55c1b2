#pragma once
// A picture that is loaded or created once and drawn many times with a position,
// size, colour and opacity. Records live in large static tables (skin graphics,
// arrows, banners): one is constructed empty and loaded later, and every call
// but the loaders does nothing and returns false while it is not loaded.
//
// Pixels are held as 32-bit ARGB rows whatever the file held, so that the
// compositor has one pixel layout to deal with. A picture of under 32 bits with a
// colour key keeps the key as alpha 0. `bytesPerPixel` still tells the depth the
// picture was made with (4, 3, 2 or 1).
#include "media/render/render_state.h"
#include <cstdint>

struct FIBITMAP;

struct ImageRect {
  int32_t left, top, right, bottom;
};

enum ImageType { IMAGE_RGB = 0, IMAGE_ARGB = 1, IMAGE_RGB565 = 2, IMAGE_PALETTE = 3 };

class Image {
 public:
  Image() = default;
  ~Image();
  Image(const Image&) = delete;
  Image& operator=(const Image&) = delete;
  Image(Image&& o) noexcept;
  Image& operator=(Image&& o) noexcept;

  // Decodes a PNG, JPEG or BMP file, chosen by its ending; the last three letters
  // of `path` are lower-cased in place. keyFlag 1: a picture of under 32 bits
  // takes its bottom-left pixel's colour as transparent. `convert` is accepted
  // for callers; pixels are always kept in the screen's drawing format.
  bool Load(char* path, int keyFlag, int convert);
  // A blank white picture: 0 opaque, 1 with alpha (starts fully transparent,
  // as the fill value 0xFFFFFF leaves alpha 0), 2 5-6-5, 3 palette.
  bool Create(int32_t width, int32_t height, int32_t type);
  // Copies (left, top, width, height) of a decoded bitmap. The first call makes
  // the picture; later calls must pass the same width and height. A bitmap of
  // under 32 bits is keyed by its first stored pixel.
  bool LoadFromBitmap(FIBITMAP* bitmap, int32_t left, int32_t top, int32_t width, int32_t height,
                      int convert);

  bool SetPosition(int32_t x, int32_t y);
  // Displayed size; resample 1 rescales the pixels themselves once.
  bool SetSize(int32_t width, int32_t height, int resample);
  bool ResetSize();
  // Overall opacity. On a 32-bit picture the pixels' alpha becomes
  // AlphaTable[alpha][saved alpha]; SetSurfaceAlpha never touches pixels and
  // fades the whole picture on top of that.
  bool SetAlpha(int32_t alpha);
  bool SetSurfaceAlpha(int32_t alpha);
  bool SetColour(uint32_t rgb);
  bool SetBrightness(float brightness);
  bool SetRotation(float degrees);  // stored; the SDL back-end draws unrotated
  bool SetFlip(int32_t flags);      // stored; the SDL back-end draws unmirrored
  bool SetDither(int32_t on);

  bool Draw();
  bool DrawFast();  // with a white colour: at the picture's own size
  bool DrawClipped(int32_t left, int32_t top, int32_t right, int32_t bottom);
  // Writes a one-pixel line into the picture, cycling through `colours` from
  // `startIndex`; returns the index the next line continues from.
  int32_t DrawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2, const uint32_t* colours, int32_t count,
                   int32_t startIndex);
  bool Clear();
  bool Free();

  // The pixel at (x, y) of the picture's own surface, 0 outside it.
  uint32_t PixelAt(int32_t x, int32_t y) const;

  // State, readable by callers that lay things out.
  bool loaded = false;
  uint8_t backend = BACKEND_NONE;
  int32_t x = 0, y = 0;
  int32_t width = 0, height = 0;                // displayed size
  int32_t pictureWidth = 0, pictureHeight = 0;  // decoded or created size
  uint32_t colour = 0xFFFFFF;
  uint8_t alpha = 255;
  float brightness = 255.0f;
  uint32_t modulate = 0xFFFFFFFF;
  float rotation = 0.0f, rotationRadians = 0.0f;
  int32_t flip = 0;
  bool dither = true;
  bool hasColourKey = false;
  uint32_t colourKey = 0;
  ImageRect sourceRect{}, destRect{};

  // The surface.
  uint32_t* pixels = nullptr;
  int32_t surfaceWidth = 0, surfaceHeight = 0;
  uint8_t bytesPerPixel = 0;
  bool pixelAlpha = false;      // drawn with per-pixel weights
  uint8_t surfaceAlpha = 255;   // fade applied by the compositor
  uint8_t appliedAlpha = 255;   // what SetAlpha last folded into the pixels
  uint8_t* savedAlpha = nullptr;  // 32-bit pictures: the alpha as loaded

 private:
  void reset();
  bool allocate(int32_t w, int32_t h, bool withSaved);
  void updateModulate();
  void updateRects();
  void storeColour(uint32_t* p, uint8_t* saved, uint32_t c) const;
  bool drawScaled(int64_t dx, int64_t dy, int64_t dw, int64_t dh, int32_t l, int32_t t, int32_t r, int32_t b);
  bool fillFromBitmap(FIBITMAP* dib, int32_t left, int32_t top, int32_t w, int32_t h);
};

// Decodes `path` only to report its size; false if it cannot be read.
bool GetImageFileSize(const char* path, int32_t* width, int32_t* height);
