// Speed of the software compositor: a typical play frame, a scaled and coloured
// full-screen blend, a full-screen alpha blit and many small sprites.
#include "media/render/image.h"
#include "media/render/screen.h"
#include "media/window.h"
#include <FreeImage.h>
#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdlib>
#include <functional>

namespace {
FIBITMAP* bitmap(int w, int h, const std::function<uint32_t(int, int)>& colour) {
  FIBITMAP* dib = FreeImage_Allocate(w, h, 32);
  for (int y = 0; y < h; y++) {
    uint32_t* line = (uint32_t*)FreeImage_GetScanLine(dib, h - 1 - y);
    for (int x = 0; x < w; x++) line[x] = colour(x, y);
  }
  return dib;
}

void make(Image& im, int w, int h, const std::function<uint32_t(int, int)>& colour) {
  FIBITMAP* dib = bitmap(w, h, colour);
  im.LoadFromBitmap(dib, 0, 0, w, h, 1);
  FreeImage_Unload(dib);
}

// A round sprite with a soft edge: clear corners, a solid middle, blended rim.
uint32_t roundSprite(int x, int y, int size, uint32_t rgb) {
  double c = (size - 1) / 2.0, r = size * 0.46;
  double d = std::hypot(x - c, y - c);
  double a = std::clamp((r - d) * 0.5 + 0.5, 0.0, 1.0);
  return ((uint32_t)(a * 255) << 24) | rgb;
}

struct Frame {
  Image background, receptor[4], arrow[60], lifeBar[2], digit[8], glyph[40];
  Frame() {
    make(background, 640, 480, [](int x, int y) { return 0xFF000000u | (uint32_t)((x & 255) << 16 | (y & 255) << 8 | 0x40); });
    background.SetBrightness(0.8f);
    for (int i = 0; i < 4; i++) {
      make(receptor[i], 64, 64, [](int x, int y) { return roundSprite(x, y, 64, 0x808080); });
      receptor[i].SetPosition(175 + 70 * i, 40);
    }
    for (int i = 0; i < 60; i++) {
      make(arrow[i], 64, 64, [i](int x, int y) { return roundSprite(x, y, 64, 0xFF3080u + (uint32_t)i); });
      arrow[i].SetPosition(175 + 70 * (i % 4), 40 + (i * 29) % 440);
    }
    for (int i = 0; i < 2; i++) {
      make(lifeBar[i], 290, 32, [](int x, int y) { return (y < 4 || y > 27 ? 0xFF000000u : 0xC0FFCC00u) | (uint32_t)x; });
      lifeBar[i].SetPosition(i ? 350 : 0, 8);
    }
    for (int i = 0; i < 8; i++) {
      make(digit[i], 32, 42, [](int x, int y) { return roundSprite(x, y, 40, 0xFFFFFF); });
      digit[i].SetPosition(200 + 32 * i, 440);
    }
    for (int i = 0; i < 40; i++) {  // font glyphs: 56 x 55 shown at 24 x 24, coloured and faded
      make(glyph[i], 56, 55, [](int x, int y) { return (x + y) % 7 < 3 ? 0xFFFFFFFFu : 0x00000000u; });
      glyph[i].SetSize(24, 24, 0);
      glyph[i].SetColour(0xFFE080);
      glyph[i].SetSurfaceAlpha(220);
      glyph[i].SetPosition(20 + 15 * i, 400);
    }
  }
  void draw() {
    Screen_Clear(0, 0, 0);
    background.Draw();
    for (Image& r : receptor) r.Draw();
    for (Image& a : arrow) a.Draw();
    for (Image& l : lifeBar) l.Draw();
    for (Image& d : digit) d.Draw();
    for (Image& g : glyph) g.Draw();
  }
};

void BM_PlayFrame(benchmark::State& state) {
  static Frame f;
  for (auto _ : state) {
    f.draw();
    benchmark::DoNotOptimize(Screen_Target().pixels[0]);
  }
  state.counters["frames/s"] = benchmark::Counter((double)state.iterations(), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_PlayFrame)->Unit(benchmark::kMicrosecond);

// The same frame shown on the SDL screen (dummy driver): drawing plus presenting.
void BM_PlayFramePresented(benchmark::State& state) {
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  Video_SelectBackend(true, false, true);
  if (Window_Init(false, 0, false, 0, false) != 0) {
    state.SkipWithError("no video");
    return;
  }
  {
    Frame f;
    for (auto _ : state) {
      f.draw();
      Screen_Present();
    }
    state.counters["frames/s"] = benchmark::Counter((double)state.iterations(), benchmark::Counter::kIsRate);
  }
  Window_Shutdown();
}
BENCHMARK(BM_PlayFramePresented)->Unit(benchmark::kMicrosecond);

// A 320 x 240 picture with alpha, stretched to 640 x 480, coloured and faded.
void BM_ScaledColouredBlend(benchmark::State& state) {
  static Image im;
  if (!im.loaded) {
    make(im, 320, 240, [](int x, int y) { return (uint32_t)((x * 3 + y) & 255) << 24 | 0x6090F0u; });
    im.SetSize(640, 480, 0);
    im.SetColour(0x80C0FF);
    im.SetSurfaceAlpha(200);
  }
  for (auto _ : state) im.Draw();
  state.SetItemsProcessed(state.iterations() * 640 * 480);
}
BENCHMARK(BM_ScaledColouredBlend)->Unit(benchmark::kMicrosecond);

// 640 x 480 with per-pixel alpha at its own size.
void BM_FullScreenAlpha(benchmark::State& state) {
  static Image im;
  if (!im.loaded) make(im, 640, 480, [](int x, int y) { return (uint32_t)((x ^ y) & 255) << 24 | 0x20A060u; });
  for (auto _ : state) im.Draw();
  state.SetItemsProcessed(state.iterations() * 640 * 480);
}
BENCHMARK(BM_FullScreenAlpha)->Unit(benchmark::kMicrosecond);

// 640 x 480 opaque copy (a background).
void BM_FullScreenOpaque(benchmark::State& state) {
  static Image im;
  if (!im.loaded) make(im, 640, 480, [](int x, int y) { return 0xFF000000u | (uint32_t)(x * y); });
  for (auto _ : state) im.Draw();
  state.SetItemsProcessed(state.iterations() * 640 * 480);
}
BENCHMARK(BM_FullScreenOpaque)->Unit(benchmark::kMicrosecond);

// 500 sprites of 32 x 32 with soft edges.
void BM_SmallSprites(benchmark::State& state) {
  static Image im;
  if (!im.loaded) make(im, 32, 32, [](int x, int y) { return roundSprite(x, y, 32, 0x40FF40); });
  for (auto _ : state)
    for (int i = 0; i < 500; i++) {
      im.SetPosition((i * 37) % 620, (i * 53) % 460);
      im.Draw();
    }
  state.SetItemsProcessed(state.iterations() * 500);
}
BENCHMARK(BM_SmallSprites)->Unit(benchmark::kMicrosecond);
}  // namespace
