#pragma once
// An animated picture: frames stacked top to bottom in one picture file, each
// shown for its own time in ms, looping.
#include "media/render/image.h"
#include <cstdint>
#include <vector>

struct FIBITMAP;

class AnimationStrip {
 public:
  AnimationStrip() = default;
  ~AnimationStrip();
  AnimationStrip(const AnimationStrip&) = delete;
  AnimationStrip& operator=(const AnimationStrip&) = delete;

  // frames 1..255; durations: one per frame in ms. keyFlag: a picture of under
  // 32 bits is keyed by its bottom-left pixel (matching pixels become transparent
  // black); a 32-bit one keeps its alpha. Without it every pixel is opaque. A
  // picture too short for its frames (a frame height of 0) does not load.
  bool Load(const char* path, float scale, int frames, const uint16_t* durations, bool keyFlag);
  // Draws the frame shown at `timeMs` with the strip's position, alpha, colour
  // and rotation.
  bool Draw(int64_t timeMs);
  // Only picks and cuts the frame shown at `timeMs` into `image` (for drawing it
  // several times, tiled).
  bool Select(int64_t timeMs);
  void Free();

  bool loaded = false;
  FIBITMAP* picture = nullptr;     // the decoded strip, kept for re-cutting
  Image image;                     // the frame being shown
  int frameCount = 0;
  int32_t frameWidth = 0, frameHeight = 0;
  std::vector<uint16_t> durations;
  uint32_t totalMs = 0;
  int currentFrame = 0;
  int32_t x = 0, y = 0;
  int32_t alpha = 255;
  uint32_t colour = 0xFFFFFF;
  float rotation = 0;
  float scale = 1;
};
