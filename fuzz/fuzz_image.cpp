// Picture files from arbitrary bytes, through the loader every screen uses and
// the header reader of the indexer. The first byte picks the file's ending (PNG,
// JPEG, BMP or one the game does not load), the colour key and a cell cut from
// the decoded sheet as fonts and skins cut theirs. A loaded picture must have a
// usable size and its pixels; a cell is taken only when it lies on the sheet;
// the header reader and the decoder agree on the size of a PNG.
// Pictures of more than a million pixels are only measured, to keep runs fast.
#include "fuzz/fuzz_support.h"
#include "library/image_header.h"
#include "media/render/image.h"
#include "media/render/image_decode.h"
#include <FreeImage.h>

namespace {
void check(bool ok, const char* what) { fuzz::Check(ok, "picture", what); }

constexpr int64_t kMaxFuzzPixels = 1 << 20;
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::EnterWorkFolder("fuzz-image");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2 || size > (1 << 18)) return 0;
  uint8_t how = data[0];
  const uint8_t* bytes = data + 1;
  size_t length = size - 1;
  static const char* const kNames[] = {"pic.png", "pic.jpg", "pic.bmp", "pic.gif"};
  const char* name = kNames[how & 3];
  fuzz::WriteFile(name, bytes, length);

  int32_t hw = 0, hh = 0;
  bool header = ImageHeader_SizeFromBytes(bytes, (unsigned long)length, &hw, &hh);
  check(!header || (hw > 0 && hh > 0 && hw < 65536 && hh < 65536), "header size");
  int32_t w = 0, h = 0;
  if (!Decode_FileSize(name, &w, &h)) return 0;
  check(w > 0 && h > 0, "measured size");
  if ((int64_t)w * h > kMaxFuzzPixels) return 0;

  Image im;
  std::string path = name;
  bool loaded = im.Load(path.data(), (how >> 2) & 1, 0);
  check(loaded == im.loaded, "loaded flag");
  if ((how & 3) == 3) check(!loaded, "a picture of an unknown ending was loaded");
  if (loaded) {
    check(im.pictureWidth == w && im.pictureHeight == h, "the loaded size is not the measured one");
    check(w <= kMaxPictureSide && h <= kMaxPictureSide, "a picture larger than the game takes");
    check(im.pixels != nullptr && im.surfaceWidth >= w && im.surfaceHeight >= h, "pixels");
    (void)im.PixelAt(0, 0);
    (void)im.PixelAt(w - 1, h - 1);
    if (header && (how & 3) == 0 && bytes[0] == 0x89) check(hw == w && hh == h, "header and decoder differ");
    im.SetSize(w * 3 / 2 + 1, h / 2 + 1, how & 0x80);
    im.SetAlpha(how);
    im.Draw();
  }

  // a cell of the sheet, sometimes reaching past its edge
  if (FIBITMAP* dib = Decode_File(name, FIF_PNG)) {
    int32_t left = (how >> 3) & 3, top = (how >> 5) & 3;
    int32_t cw = w - left + ((how & 0x80) ? 1 : 0), ch = h - top;
    Image cell;
    bool inside = cw > 0 && ch > 0 && left + cw <= w && top + ch <= h;
    bool took = cell.LoadFromBitmap(dib, left, top, cw, ch, 0);
    check(inside || !took, "a cell off the sheet was taken");
    if (took) check(cell.pictureWidth == cw && cell.pictureHeight == ch && cell.pixels, "cell size");
    FreeImage_Unload(dib);
  }
  return 0;
}
