// The media worker's cost per movie frame: Frame() stepping 33 ms per call
// through a 640 x 480 movie, at AVI quality 5 and 10 (the setting x 10). The
// shipped tv-drift.avi is used when the build's game folder holds it, else a
// movie of moving colour bands is written first.
//
// Also the two ways of making the frame picture from a decoded YUV frame:
// swscale scaling straight to the frame size, or swscale converting at the
// movie's size and the pixels picked with 8.8 fixed-point steps.
#include "media/background/movie_player.h"
#include "tests/support/movie_writer.h"
#include <benchmark/benchmark.h>
#include <filesystem>
#include <string>
#include <vector>

extern "C" {
#include <libavutil/imgutils.h>
}

namespace {
const std::string& moviePath() {
  static std::string path;
  if (!path.empty()) return path;
  std::string shipped = std::string(TV_GAME_DIR) + "/Movies/Random/tv-drift.avi";
  if (std::filesystem::exists(shipped)) return path = shipped;
  path = "/tmp/tv-bench-movie.avi";
  WriteTestMovie(path, 640, 480, 30, 90, [](int f, uint32_t* px, int w, int h) {
    for (int y = 0; y < h; y++)
      for (int x = 0; x < w; x++) px[y * w + x] = (uint32_t)(((x + 4 * f) & 255) << 16 | ((y + 2 * f) & 255) << 8 | 96);
  }, 4, 30);
  return path;
}

void movieFrame(benchmark::State& state) {
  Movie_Init();
  MoviePlayer m;
  if (!m.Open(moviePath().c_str(), (int)state.range(0) * 10, false)) {
    state.SkipWithError("cannot open the movie");
    return;
  }
  int64_t t = 0;
  for (auto _ : state) {
    t += 33;
    benchmark::DoNotOptimize(m.Frame(t, false));
  }
  state.SetLabel(std::to_string(m.frameWidth) + "x" + std::to_string(m.frameHeight) + " of " +
                 std::to_string(m.lengthMs) + " ms");
}
BENCHMARK(movieFrame)->Arg(5)->Arg(10)->Unit(benchmark::kMillisecond);

// A 640 x 480 YUV frame with some detail.
struct Yuv {
  uint8_t* data[4] = {};
  int linesize[4] = {};
  Yuv() {
    av_image_alloc(data, linesize, 640, 480, AV_PIX_FMT_YUV420P, 32);
    for (int y = 0; y < 480; y++)
      for (int x = 0; x < 640; x++) data[0][y * linesize[0] + x] = (uint8_t)(x ^ y);
    for (int y = 0; y < 240; y++)
      for (int x = 0; x < 320; x++) data[1][y * linesize[1] + x] = (uint8_t)x, data[2][y * linesize[2] + x] = (uint8_t)y;
  }
  ~Yuv() { av_freep(&data[0]); }
};

// quality 5: 320 x 240 from 640 x 480; range(0) is the swscale flag
// (1 fast bilinear, 2 bilinear, 16 point)
void scaleDirect(benchmark::State& state) {
  Yuv in;
  std::vector<uint32_t> out(320 * 240);
  SwsContext* sws = sws_getContext(640, 480, AV_PIX_FMT_YUV420P, 320, 240, AV_PIX_FMT_BGRA, (int)state.range(0),
                                   nullptr, nullptr, nullptr);
  uint8_t* dst[4] = {(uint8_t*)out.data()};
  int stride[4] = {320 * 4};
  for (auto _ : state) {
    sws_scale(sws, in.data, in.linesize, 0, 480, dst, stride);
    benchmark::DoNotOptimize(out.data());
  }
  sws_freeContext(sws);
}
BENCHMARK(scaleDirect)->Arg(SWS_FAST_BILINEAR)->Arg(SWS_POINT)->Arg(SWS_BILINEAR)->Unit(benchmark::kMicrosecond);

void scaleFullThenSteps(benchmark::State& state) {
  Yuv in;
  std::vector<uint32_t> full(640 * 480), out(320 * 240);
  SwsContext* sws =
      sws_getContext(640, 480, AV_PIX_FMT_YUV420P, 640, 480, AV_PIX_FMT_BGRA, SWS_POINT, nullptr, nullptr, nullptr);
  uint8_t* dst[4] = {(uint8_t*)full.data()};
  int stride[4] = {640 * 4};
  const uint32_t step = 640 * 256 / 320;
  for (auto _ : state) {
    sws_scale(sws, in.data, in.linesize, 0, 480, dst, stride);
    uint32_t sy = 0;
    for (int y = 0; y < 240; y++, sy += step) {
      const uint32_t* row = full.data() + (sy >> 8) * 640;
      uint32_t sx = 0;
      for (int x = 0; x < 320; x++, sx += step) out[y * 320 + x] = row[sx >> 8];
    }
    benchmark::DoNotOptimize(out.data());
  }
  sws_freeContext(sws);
}
BENCHMARK(scaleFullThenSteps)->Unit(benchmark::kMicrosecond);
}  // namespace
