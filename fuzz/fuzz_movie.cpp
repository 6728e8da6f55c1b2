// Movie files from arbitrary bytes, as a movie background plays them: opened,
// converted to a size of its own, reached forward frame by frame, sought back and
// reached again. A movie that opens has a picture size; every frame reached
// covers some time; the converted pixels are the size asked for. (A damaged file
// may hold its frames out of time order: they are shown in the file's order.)
// Movies of more than a million pixels are only opened, to keep runs fast.
#include "fuzz/fuzz_support.h"
#include "media/background/movie_decoder.h"

namespace {
void check(bool ok, const char* what) { fuzz::Check(ok, "movie", what); }
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::EnterWorkFolder("fuzz-movie");
  MovieDecoder_QuietLibrary();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (1 << 17)) return 0;
  fuzz::WriteFile("clip.avi", data, size);
  MovieDecoder d;
  int32_t w = 0, h = 0;
  int64_t length = -1;
  if (MovieDecoder_Open(d, "clip.avi", &w, &h, &length)) {
    check(w > 0 && h > 0, "picture size");
    check(length >= 0 && length <= INT32_MAX, "length");
    if ((int64_t)w * h <= (1 << 20)) {
      int32_t ow = w / 2 + 1, oh = h * 2 / 3 + 1;
      check(MovieDecoder_SetOutput(d, ow, oh), "output size");
      for (int64_t ms : {(int64_t)0, (int64_t)40, (int64_t)250, length / 2, length + 500}) {
        if (!MovieDecoder_Reach(d, ms)) continue;
        check(d.haveLatest, "reached without a frame");
        check(d.latestEndMs > d.latestStartMs, "a frame that covers no time");
        if (MovieDecoder_Convert(d)) check(d.pixels.size() == (size_t)ow * oh && d.converted, "converted pixels");
      }
      if (MovieDecoder_Seek(d, 0) && MovieDecoder_Reach(d, 80)) MovieDecoder_Convert(d);
    }
  }
  MovieDecoder_Close(d);
  return 0;
}
