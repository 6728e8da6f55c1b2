#pragma once
// Process-wide state of the rendering layer: the back-end chosen at start-up,
// the texture limits, the dither switch and the frame-open flag.
#include <cstdint>

enum RenderBackend : uint8_t { BACKEND_NONE = 0, BACKEND_D3D = 1, BACKEND_SDL = 2 };

// Texture limits as the video set-up reads them. The SDL back-end has no device
// limits of its own; the record is kept for callers that lay out sprite sheets.
struct TextureLimits {
  uint8_t powerOfTwo;     // power-of-two sizes required
  uint8_t squareOnly;
  uint8_t variableSizes;
  int32_t maxWidth, maxHeight;
  int32_t minWidth, minHeight;
  int32_t margin;         // "/v5hack": one texel added to every dimension
};

extern RenderBackend g_renderBackend;   // fixed for the run once chosen
extern TextureLimits g_textureLimits;
extern bool g_ditherEnabled;            // off with "/dither:0"
extern bool g_frameOpen;                // set by the first draw or clear of a frame

// The limits before any device has been read.
void TextureLimits_Defaults(TextureLimits& t);
