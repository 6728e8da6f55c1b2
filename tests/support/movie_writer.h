#pragma once
// Writes small movies for the movie tests and benchmarks through the content
// generator's encoder, every frame drawn by the caller as 32-bit words
// 0x00RRGGBB, row after row.
#include "tools/content/movie_encoder.h"
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

using MovieFill = std::function<void(int frame, uint32_t* pixels, int width, int height)>;

// `qscale` 1 (best) .. 31; `gop` frames between key frames.
inline bool WriteTestMovie(const std::string& path, int width, int height, int fps, int frames,
                           const MovieFill& fill, int qscale = 2, int gop = 12) {
  std::vector<uint32_t> rgb((size_t)width * height);
  return EncodeMovie(path, width, height, fps, frames, qscale, gop, [&](int i, int* stride) {
    for (auto& p : rgb) p = 0;
    fill(i, rgb.data(), width, height);
    for (auto& p : rgb) p |= 0xFF000000u;
    *stride = width * 4;
    return (const uint8_t*)rgb.data();
  });
}

// A movie of solid colours, one per second (`colours` in order).
inline bool WriteColourMovie(const std::string& path, int width, int height, int fps,
                             const std::vector<uint32_t>& colours) {
  return WriteTestMovie(path, width, height, fps, fps * (int)colours.size(),
                        [&](int frame, uint32_t* px, int w, int h) {
                          uint32_t c = colours[(size_t)(frame / fps)];
                          for (int i = 0; i < w * h; i++) px[i] = c;
                        });
}
