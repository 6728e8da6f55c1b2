#include "media/render/alpha_table.h"
#include "media/render/image.h"
#include "media/render/screen.h"
#include "support/test_support.h"
#include <FreeImage.h>
#include <gtest/gtest.h>
#include <chrono>
#include <cstring>
#include <functional>
#include <string>

namespace {
// A bitmap whose pixel (x, y), y from the top, is given by `colour` (0xAARRGGBB).
FIBITMAP* makeBitmap(int w, int h, int bpp, const std::function<uint32_t(int, int)>& colour) {
  FIBITMAP* dib = FreeImage_Allocate(w, h, bpp);
  for (int y = 0; y < h; y++) {
    BYTE* line = FreeImage_GetScanLine(dib, h - 1 - y);
    for (int x = 0; x < w; x++) {
      uint32_t c = colour(x, y);
      BYTE* p = line + x * (bpp / 8);
      p[FI_RGBA_RED] = (BYTE)(c >> 16);
      p[FI_RGBA_GREEN] = (BYTE)(c >> 8);
      p[FI_RGBA_BLUE] = (BYTE)c;
      if (bpp == 32) p[FI_RGBA_ALPHA] = (BYTE)(c >> 24);
    }
  }
  return dib;
}

void savePicture(const char* path, FREE_IMAGE_FORMAT f, int w, int h, int bpp,
                 const std::function<uint32_t(int, int)>& colour) {
  FIBITMAP* dib = makeBitmap(w, h, bpp, colour);
  ASSERT_TRUE(FreeImage_Save(f, dib, path, f == FIF_JPEG ? JPEG_QUALITYSUPERB : 0));
  FreeImage_Unload(dib);
}

bool loadPath(Image& im, const std::string& path, int key = 0) {
  std::string copy = path;
  return im.Load(copy.data(), key, 0);
}

// Screen pixels are compared as 0xRRGGBB.
uint32_t rgb(uint32_t c) { return c & 0xFFFFFF; }

class ImageTest : public ::testing::Test {
 protected:
  TempDir dir;
  void SetUp() override { Screen_Clear(0, 0, 0); }
};
}  // namespace

TEST_F(ImageTest, EmptyRecordRefusesEverythingButLoaders) {
  Image im;
  EXPECT_TRUE(im.Free());
  EXPECT_TRUE(im.Free());
  EXPECT_FALSE(im.loaded);
  EXPECT_FALSE(im.Draw());
  EXPECT_FALSE(im.DrawFast());
  EXPECT_FALSE(im.DrawClipped(0, 0, 640, 480));
  EXPECT_FALSE(im.SetPosition(1, 2));
  EXPECT_FALSE(im.SetSize(4, 4, 1));
  EXPECT_FALSE(im.SetAlpha(3));
  EXPECT_FALSE(im.SetColour(0));
  EXPECT_FALSE(im.Clear());
  uint32_t c = 0xFF00FF00;
  EXPECT_EQ(im.DrawLine(0, 0, 3, 3, &c, 1, 0), 0);
  EXPECT_EQ(Screen_Pixel(0, 0), 0u);
}

TEST_F(ImageTest, CreateFillsWhiteAsEachTypeStoresIt) {
  Image a, b, c, d, e;
  ASSERT_TRUE(a.Create(5, 3, IMAGE_RGB));
  ASSERT_TRUE(b.Create(5, 3, IMAGE_ARGB));
  ASSERT_TRUE(c.Create(5, 3, IMAGE_RGB565));
  ASSERT_TRUE(d.Create(5, 3, IMAGE_PALETTE));
  EXPECT_EQ(a.PixelAt(4, 2), 0xFFFFFFFFu);
  EXPECT_EQ(b.PixelAt(4, 2), 0x00FFFFFFu);  // SDL's fill value leaves alpha 0
  EXPECT_EQ(rgb(c.PixelAt(0, 0)), 0xFFFFFFu);
  EXPECT_EQ(rgb(d.PixelAt(0, 0)), 0xFFFFFFu);
  EXPECT_EQ(a.bytesPerPixel, 3);
  EXPECT_EQ(b.bytesPerPixel, 4);
  EXPECT_EQ(c.bytesPerPixel, 2);
  EXPECT_EQ(d.bytesPerPixel, 1);
  EXPECT_EQ(a.width, 5);
  EXPECT_EQ(a.pictureHeight, 3);
  EXPECT_EQ(a.destRect.right, 5);
  EXPECT_FALSE(e.Create(5, 3, 4));
  EXPECT_FALSE(e.Create(0, 3, 0));
  EXPECT_FALSE(e.Create(-5, 3, 0));
  EXPECT_FALSE(e.Create(100000, 100000, 1));
  EXPECT_FALSE(e.loaded);

  // The transparent white of a fresh 32-bit picture draws nothing.
  b.SetPosition(10, 10);
  EXPECT_TRUE(b.Draw());
  EXPECT_EQ(Screen_Pixel(10, 10), 0u);
  a.SetPosition(10, 10);
  EXPECT_TRUE(a.Draw());
  EXPECT_EQ(Screen_Pixel(14, 12), 0xFFFFFFu);
  EXPECT_EQ(Screen_Pixel(15, 12), 0u);
}

TEST_F(ImageTest, BrightnessAndColourMakeTheModulateValue) {
  Image im;
  ASSERT_TRUE(im.Create(2, 2, IMAGE_RGB));
  EXPECT_EQ(im.modulate, 0xFFFFFFFFu);
  im.SetBrightness(0.5f);
  EXPECT_EQ(im.modulate, 0xFF7F7F7Fu);
  im.SetBrightness(1.0f);
  EXPECT_EQ(im.modulate, 0xFFFFFFFFu);
  im.SetBrightness(255.0f);
  EXPECT_EQ(im.modulate, 0xFFFFFFFFu);
  im.SetColour(0x8040FF);
  im.SetBrightness(0.5f);
  EXPECT_EQ(im.modulate, 0xFF40207Fu);
  im.SetBrightness(-3.0f);
  EXPECT_EQ(im.modulate, 0xFF000000u);
  im.SetBrightness(0.5f);
  im.SetSurfaceAlpha(0x33);
  EXPECT_EQ(im.modulate, 0x3340207Fu);
  im.SetRotation(90.0f);
  EXPECT_NEAR(im.rotationRadians, 1.5707963f, 1e-6);
  im.SetDither(0);
  EXPECT_FALSE(im.dither);
  im.SetDither(7);  // not 0 or 1: ignored
  EXPECT_FALSE(im.dither);
}

TEST_F(ImageTest, BrightnessHalfDarkensTheDrawnPixels) {
  Image im;
  ASSERT_TRUE(im.Create(2, 2, IMAGE_RGB));
  im.SetBrightness(0.5f);
  im.Draw();
  EXPECT_EQ(Screen_Pixel(0, 0), 0x7E7E7Eu);  // 255 * 127 >> 8
}

TEST_F(ImageTest, PngLoadsWithCapitalEndingAndKeepsItsAlpha) {
  savePicture("SHEET.PNG", FIF_PNG, 3, 2, 32, [](int x, int y) {
    return x == 0 ? 0xFFFF0000u : x == 1 ? 0x8000FF00u : 0x000000FFu;
  });
  char path[] = "SHEET.PNG";
  Image im;
  ASSERT_TRUE(im.Load(path, 1, 1));
  EXPECT_STREQ(path, "SHEET.png");  // lower-cased in the caller's own string
  EXPECT_EQ(im.bytesPerPixel, 4);
  EXPECT_FALSE(im.hasColourKey);  // 32-bit pictures are never keyed
  EXPECT_EQ(im.PixelAt(1, 1), 0x8000FF00u);
  Screen_Clear(0, 0, 255);
  im.SetPosition(100, 50);
  im.Draw();
  EXPECT_EQ(Screen_Pixel(100, 50), 0xFF0000u);
  EXPECT_EQ(Screen_Pixel(101, 51), comp::Blend(0x0000FF, 0x00FF00, 128));
  EXPECT_EQ(Screen_Pixel(102, 50), 0x0000FFu);
}

TEST_F(ImageTest, SetAlphaRecomputesFromTheSavedAlpha) {
  savePicture("a.png", FIF_PNG, 2, 1, 32, [](int x, int) { return x ? 0xC8FFFFFFu : 0xFFFFFFFFu; });
  Image im;
  ASSERT_TRUE(loadPath(im, "a.png"));
  im.SetAlpha(128);
  EXPECT_EQ(im.PixelAt(0, 0) >> 24, AlphaTable[128][255]);
  EXPECT_EQ(im.PixelAt(1, 0) >> 24, AlphaTable[128][200]);
  im.SetAlpha(64);  // from the saved copy, not compounded
  EXPECT_EQ(im.PixelAt(1, 0) >> 24, AlphaTable[64][200]);
  im.SetAlpha(255);
  EXPECT_EQ(im.PixelAt(1, 0) >> 24, 200u);

  // The drawn weight is the opacity asked for, once.
  im.SetAlpha(128);
  im.Draw();
  EXPECT_EQ(Screen_Pixel(0, 0), comp::Blend(0, 0xFFFFFF, AlphaTable[128][255]));
  // SetSurfaceAlpha fades on top without touching pixels.
  Screen_Clear(0, 0, 0);
  im.SetAlpha(255);
  im.SetSurfaceAlpha(100);
  EXPECT_EQ(im.PixelAt(0, 0) >> 24, 255u);
  im.Draw();
  EXPECT_EQ(Screen_Pixel(0, 0), comp::Blend(0, 0xFFFFFF, AlphaTable[100][255]));
  EXPECT_EQ(Screen_Pixel(1, 0), comp::Blend(0, 0xFFFFFF, AlphaTable[100][200]));
}

TEST_F(ImageTest, AlphaZeroDrawsNothing) {
  Image a, b;
  ASSERT_TRUE(a.Create(4, 4, IMAGE_RGB));
  ASSERT_TRUE(b.Create(4, 4, IMAGE_ARGB));
  b.SetColour(0x000000);
  a.SetAlpha(0);
  b.SetSurfaceAlpha(0);
  EXPECT_TRUE(a.Draw());
  EXPECT_TRUE(b.DrawClipped(0, 0, 640, 480));
  EXPECT_EQ(Screen_Pixel(1, 1), 0u);
  a.SetAlpha(128);
  a.Draw();
  EXPECT_EQ(Screen_Pixel(1, 1), 0x7F7F7Fu);
}

TEST_F(ImageTest, ColourKeyIsTheBottomLeftPixel) {
  // Magenta in the bottom-left corner and in the middle; red elsewhere.
  auto colour = [](int x, int y) { return (x == 0 && y == 2) || (x == 1 && y == 1) ? 0xFF00FFu : 0xFF0000u; };
  savePicture("k.png", FIF_PNG, 3, 3, 24, colour);
  savePicture("k.bmp", FIF_BMP, 3, 3, 24, colour);
  for (const char* file : {"k.png", "k.bmp"}) {
    Screen_Clear(0, 0, 255);
    Image im;
    ASSERT_TRUE(loadPath(im, file, 1)) << file;
    EXPECT_TRUE(im.hasColourKey);
    EXPECT_EQ(im.colourKey, 0xFF00FFu);
    EXPECT_EQ(im.bytesPerPixel, 3);
    im.SetPosition(5, 5);
    im.Draw();
    EXPECT_EQ(Screen_Pixel(5, 7), 0x0000FFu) << file;  // keyed: the ground shows
    EXPECT_EQ(Screen_Pixel(6, 6), 0x0000FFu);
    EXPECT_EQ(Screen_Pixel(5, 5), 0xFF0000u);
    // Keyed pixels stay out when stretched, coloured or faded too.
    Screen_Clear(0, 0, 255);
    im.SetSize(6, 6, 0);
    im.SetColour(0x808080);
    im.SetSurfaceAlpha(128);
    im.Draw();
    EXPECT_EQ(Screen_Pixel(5, 10), 0x0000FFu);
    EXPECT_EQ(Screen_Pixel(5, 5), comp::Blend(0x0000FF, 0x7F0000, 128));

    Image plain;
    ASSERT_TRUE(loadPath(plain, file, 0));
    EXPECT_FALSE(plain.hasColourKey);
    plain.Draw();
    EXPECT_EQ(Screen_Pixel(0, 2), 0xFF00FFu);
  }
}

TEST_F(ImageTest, JpegAndBmpDecode) {
  savePicture("p.jpg", FIF_JPEG, 16, 8, 24, [](int, int) { return 0x3080C0u; });
  savePicture("p.bmp", FIF_BMP, 7, 5, 24, [](int x, int y) { return (uint32_t)(x * 16 << 16 | y * 16); });
  Image j, b;
  ASSERT_TRUE(loadPath(j, "p.jpg"));
  ASSERT_TRUE(loadPath(b, "p.bmp"));
  EXPECT_EQ(j.pictureWidth, 16);
  EXPECT_EQ(j.pictureHeight, 8);
  uint32_t p = j.PixelAt(8, 4);
  EXPECT_NEAR((int)(p >> 16 & 255), 0x30, 4);
  EXPECT_NEAR((int)(p >> 8 & 255), 0x80, 4);
  EXPECT_NEAR((int)(p & 255), 0xC0, 4);
  EXPECT_EQ(rgb(b.PixelAt(3, 4)), 0x300040u);
}

TEST_F(ImageTest, PalettePngKeepsItsTransparentEntries) {
  FIBITMAP* dib = FreeImage_Allocate(3, 1, 8);
  RGBQUAD* pal = FreeImage_GetPalette(dib);
  pal[0] = RGBQUAD{0, 0, 255, 0};  // red (blue, green, red order)
  pal[1] = RGBQUAD{255, 0, 0, 0};  // blue
  BYTE trns[2] = {255, 0};         // entry 1 is clear
  FreeImage_SetTransparencyTable(dib, trns, 2);
  BYTE* line = FreeImage_GetScanLine(dib, 0);
  line[0] = 0, line[1] = 1, line[2] = 0;
  ASSERT_TRUE(FreeImage_Save(FIF_PNG, dib, "pal.png", 0));
  FreeImage_Unload(dib);
  Image im;
  ASSERT_TRUE(loadPath(im, "pal.png", 1));
  EXPECT_EQ(im.bytesPerPixel, 4);
  EXPECT_EQ(im.PixelAt(0, 0), 0xFFFF0000u);
  EXPECT_EQ(im.PixelAt(1, 0) >> 24, 0u);
  Screen_Clear(0, 255, 0);
  im.Draw();
  EXPECT_EQ(Screen_Pixel(1, 0), 0x00FF00u);
  EXPECT_EQ(Screen_Pixel(2, 0), 0xFF0000u);
}

TEST_F(ImageTest, BmpWithAnUnusedFourthByteIsOpaque) {
  savePicture("x.bmp", FIF_BMP, 2, 2, 32, [](int, int) { return 0x00336699u; });
  Image im;
  ASSERT_TRUE(loadPath(im, "x.bmp"));
  im.Draw();
  EXPECT_EQ(Screen_Pixel(1, 1), 0x336699u);
}

TEST_F(ImageTest, BadFilesFailCleanly) {
  savePicture("good.png", FIF_PNG, 4, 4, 24, [](int, int) { return 0xFFFFFFu; });
  std::string good = ReadFile("good.png");
  WriteFile("cut.png", good.substr(0, good.size() / 2));
  WriteFile("junk.png", std::string(300, 'x'));
  WriteFile("empty.bmp", "");
  // A PNG header that claims 100000 x 100000 pixels.
  std::string huge = good.substr(0, 33);
  const unsigned char dims[8] = {0, 1, 0x86, 0xA0, 0, 1, 0x86, 0xA0};
  memcpy(&huge[16], dims, 8);
  uint32_t crc = 0xFFFFFFFFu;  // the IHDR chunk's CRC, so that only the size is wrong
  for (int i = 12; i < 29; i++) {
    crc ^= (unsigned char)huge[i];
    for (int k = 0; k < 8; k++) crc = crc & 1 ? (crc >> 1) ^ 0xEDB88320u : crc >> 1;
  }
  crc ^= 0xFFFFFFFFu;
  for (int i = 0; i < 4; i++) huge[29 + i] = (char)(crc >> (24 - 8 * i));
  WriteFile("huge.png", huge + good.substr(33));
  std::rename("good.png", "good.gif");

  for (const char* f : {"cut.png", "junk.png", "empty.bmp", "huge.png", "missing.png", "good.gif", "good.jpeg", ""}) {
    Image im;
    auto t0 = std::chrono::steady_clock::now();
    EXPECT_FALSE(loadPath(im, f)) << f;
    EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::seconds(2)) << f;
    EXPECT_FALSE(im.loaded);
    EXPECT_FALSE(im.Draw());
  }
  int32_t w = 0, h = 0;
  EXPECT_FALSE(GetImageFileSize("junk.png", &w, &h));
  EXPECT_FALSE(GetImageFileSize("missing.png", &w, &h));
  Image nul;
  EXPECT_FALSE(nul.Load(nullptr, 0, 0));
}

TEST_F(ImageTest, GetImageFileSizeReadsTheHeader) {
  savePicture("s.png", FIF_PNG, 31, 17, 32, [](int, int) { return 0u; });
  savePicture("s.jpg", FIF_JPEG, 40, 9, 24, [](int, int) { return 0u; });
  savePicture("s.bmp", FIF_BMP, 3, 300, 24, [](int, int) { return 0u; });
  int32_t w = 0, h = 0;
  ASSERT_TRUE(GetImageFileSize("s.png", &w, &h));
  EXPECT_EQ(w, 31);
  EXPECT_EQ(h, 17);
  ASSERT_TRUE(GetImageFileSize("S.JPG", &w, &h));  // found without regard to case
  EXPECT_EQ(w, 40);
  EXPECT_EQ(h, 9);
  ASSERT_TRUE(GetImageFileSize("s.bmp", &w, &h));
  EXPECT_EQ(h, 300);
}

TEST_F(ImageTest, LoadFromBitmapCutsCellsAndKeepsItsSize) {
  // 4 x 2 sheet: the pixel value names its column and row (row 0 at the top).
  FIBITMAP* sheet = makeBitmap(4, 2, 32, [](int x, int y) { return 0xFF000000u | (uint32_t)(y << 8 | x); });
  Image im;
  ASSERT_TRUE(im.LoadFromBitmap(sheet, 2, 0, 2, 2, 0));
  EXPECT_EQ(im.PixelAt(0, 0), 0xFF000002u);
  EXPECT_EQ(im.PixelAt(1, 1), 0xFF000103u);
  im.SetPosition(20, 30);
  im.SetSurfaceAlpha(77);

  // A different size fails and leaves the picture as it was.
  EXPECT_FALSE(im.LoadFromBitmap(sheet, 0, 0, 3, 2, 0));
  EXPECT_EQ(im.PixelAt(0, 0), 0xFF000002u);
  // The same size replaces the pixels and keeps the record's settings.
  ASSERT_TRUE(im.LoadFromBitmap(sheet, 0, 0, 2, 2, 0));
  EXPECT_EQ(im.PixelAt(0, 0), 0xFF000000u);
  EXPECT_EQ(im.x, 20);
  EXPECT_EQ(im.surfaceAlpha, 77);
  // Cells outside the sheet are refused.
  Image other;
  EXPECT_FALSE(other.LoadFromBitmap(sheet, 3, 0, 2, 2, 0));
  EXPECT_FALSE(other.LoadFromBitmap(sheet, -1, 0, 2, 2, 0));
  EXPECT_FALSE(other.LoadFromBitmap(sheet, 0, 0, 0, 2, 0));
  EXPECT_FALSE(other.LoadFromBitmap(nullptr, 0, 0, 1, 1, 0));
  EXPECT_FALSE(other.loaded);
  FreeImage_Unload(sheet);

  // A 24-bit sheet is keyed by its first stored pixel (the bottom-left one).
  FIBITMAP* rgbSheet = makeBitmap(3, 3, 24, [](int x, int y) { return x == 0 && y == 2 ? 0x00FF00u : 0x112233u; });
  Image keyed;
  ASSERT_TRUE(keyed.LoadFromBitmap(rgbSheet, 0, 1, 2, 2, 0));
  EXPECT_TRUE(keyed.pixelAlpha);
  EXPECT_EQ(keyed.PixelAt(0, 1) >> 24, 0u);
  EXPECT_EQ(keyed.PixelAt(1, 1) >> 24, 255u);
  FreeImage_Unload(rgbSheet);
}

TEST_F(ImageTest, SetSizeScalesAndResampleRescalesPixels) {
  FIBITMAP* bmp = makeBitmap(2, 2, 32, [](int x, int) { return x ? 0xFF0000FFu : 0xFFFF0000u; });
  Image im;
  ASSERT_TRUE(im.LoadFromBitmap(bmp, 0, 0, 2, 2, 0));
  FreeImage_Unload(bmp);
  ASSERT_TRUE(im.SetSize(4, 4, 0));
  EXPECT_EQ(im.surfaceWidth, 2);
  EXPECT_EQ(im.destRect.right, 4);
  im.Draw();
  EXPECT_EQ(Screen_Pixel(1, 3), 0xFF0000u);
  EXPECT_EQ(Screen_Pixel(2, 0), 0x0000FFu);
  EXPECT_EQ(Screen_Pixel(4, 0), 0u);
  EXPECT_FALSE(im.SetSize(0, 4, 0));
  EXPECT_FALSE(im.SetSize(4, -1, 1));

  ASSERT_TRUE(im.SetSize(8, 6, 1));
  EXPECT_EQ(im.surfaceWidth, 8);
  EXPECT_EQ(im.surfaceHeight, 6);
  EXPECT_EQ(im.pictureWidth, 2);
  EXPECT_EQ(rgb(im.PixelAt(0, 0)), 0xFF0000u);  // the far edges keep their colours
  EXPECT_EQ(rgb(im.PixelAt(7, 5)), 0x0000FFu);
  EXPECT_EQ(im.PixelAt(3, 3) >> 24, 255u);
  ASSERT_TRUE(im.ResetSize());
  EXPECT_EQ(im.width, 2);
}

TEST_F(ImageTest, DrawFastIgnoresTheDisplayedSizeOnlyWhenWhite) {
  Image im;
  ASSERT_TRUE(im.Create(2, 2, IMAGE_RGB));
  im.SetSize(6, 6, 0);
  im.DrawFast();
  EXPECT_EQ(Screen_Pixel(1, 1), 0xFFFFFFu);
  EXPECT_EQ(Screen_Pixel(3, 3), 0u);
  im.SetColour(0x808080);
  im.DrawFast();
  EXPECT_EQ(Screen_Pixel(5, 5), 0x7F7F7Fu);
}

TEST_F(ImageTest, DrawClippedKeepsInsideTheRectangle) {
  Image im;
  ASSERT_TRUE(im.Create(10, 10, IMAGE_RGB));
  im.SetPosition(100, 100);
  // A rectangle that ends left of the picture draws nothing.
  EXPECT_TRUE(im.DrawClipped(0, 0, 100, 480));
  EXPECT_EQ(Screen_Pixel(100, 100), 0u);
  im.DrawClipped(103, 102, 105, 200);
  EXPECT_EQ(Screen_Pixel(102, 105), 0u);
  EXPECT_EQ(Screen_Pixel(103, 105), 0xFFFFFFu);
  EXPECT_EQ(Screen_Pixel(104, 109), 0xFFFFFFu);
  EXPECT_EQ(Screen_Pixel(105, 105), 0u);
  EXPECT_EQ(Screen_Pixel(103, 101), 0u);
  // Rectangles beyond the screen are cut to it; pictures past the edges clip.
  Image wide;
  ASSERT_TRUE(wide.Create(700, 20, IMAGE_RGB));
  wide.SetPosition(-30, 470);
  EXPECT_TRUE(wide.DrawClipped(-1000, -1000, 5000, 5000));
  EXPECT_EQ(Screen_Pixel(639, 479), 0xFFFFFFu);
  EXPECT_EQ(Screen_Pixel(0, 470), 0xFFFFFFu);
  EXPECT_TRUE(wide.DrawClipped(640, 0, 900, 480));
}

TEST_F(ImageTest, LinesStepAlongTheLongerAxis) {
  Image im;
  ASSERT_TRUE(im.Create(4, 4, IMAGE_ARGB));
  const uint32_t cols[2] = {0xFFFF0000u, 0x8000FF00u};
  // Steep line: y is the longer axis; x moves when the error term overflows.
  EXPECT_EQ(im.DrawLine(0, 0, 1, 3, cols, 2, 1), 1);  // 4 pixels from index 1
  EXPECT_EQ(im.PixelAt(0, 0), 0x8000FF00u);
  EXPECT_EQ(im.PixelAt(0, 1), 0xFFFF0000u);
  EXPECT_EQ(im.PixelAt(1, 2), 0x8000FF00u);
  EXPECT_EQ(im.PixelAt(1, 3), 0xFFFF0000u);
  EXPECT_EQ(im.PixelAt(1, 1), 0x00FFFFFFu);
  // The line's alpha is the saved alpha: SetAlpha folds into it later.
  im.SetAlpha(128);
  EXPECT_EQ(im.PixelAt(0, 0) >> 24, AlphaTable[128][128]);

  // A line from outside still uses up the colours of the pixels it skips.
  Image row;
  ASSERT_TRUE(row.Create(4, 1, IMAGE_RGB));
  const uint32_t three[3] = {0x111111, 0x222222, 0x333333};
  EXPECT_EQ(row.DrawLine(-10, 0, 3, 0, three, 3, 0), 14 % 3);
  for (int x = 0; x < 4; x++) EXPECT_EQ(rgb(row.PixelAt(x, 0)), three[(10 + x) % 3]) << x;
  // Right to left, and a single point.
  EXPECT_EQ(row.DrawLine(3, 0, 0, 0, three, 3, 2), 0);
  EXPECT_EQ(rgb(row.PixelAt(3, 0)), 0x333333u);
  EXPECT_EQ(rgb(row.PixelAt(2, 0)), 0x111111u);
  EXPECT_EQ(rgb(row.PixelAt(0, 0)), 0x333333u);
  EXPECT_EQ(row.DrawLine(1, 0, 1, 0, three, 3, 0), 1);
  // Lines that miss, huge lines, and empty colour lists are harmless.
  auto t0 = std::chrono::steady_clock::now();
  EXPECT_EQ(row.DrawLine(-2000000000, 0, 2000000000, 1, three, 3, 0), (int)((4000000001ll) % 3));
  EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::seconds(1));
  row.DrawLine(0, -5, 3, -9, three, 3, 0);
  EXPECT_EQ(row.DrawLine(0, 0, 3, 0, nullptr, 3, 0), 0);
  EXPECT_EQ(row.DrawLine(0, 0, 3, 0, three, 0, 0), 0);
  EXPECT_EQ(row.DrawLine(0, 0, 0, 0, three, 3, -1), 0);  // a negative start wraps
}

TEST_F(ImageTest, LinesOnLowDepthPicturesTakeTheirPrecision) {
  Image im;
  ASSERT_TRUE(im.Create(2, 1, IMAGE_RGB565));
  const uint32_t c = 0x123456;
  im.DrawLine(0, 0, 1, 0, &c, 1, 0);
  EXPECT_EQ(rgb(im.PixelAt(0, 0)), 0x103452u);
}

TEST_F(ImageTest, ClearMakesTransparentBlack) {
  Image a, b;
  ASSERT_TRUE(a.Create(3, 3, IMAGE_ARGB));
  ASSERT_TRUE(b.Create(3, 3, IMAGE_RGB));
  a.Clear();
  b.Clear();
  EXPECT_EQ(a.PixelAt(2, 2), 0u);
  EXPECT_EQ(rgb(b.PixelAt(2, 2)), 0u);
  a.SetAlpha(200);  // the saved alpha was cleared too
  EXPECT_EQ(a.PixelAt(1, 1), 0u);
}

TEST_F(ImageTest, RecordsMoveWithoutDoubleFree) {
  Image a;
  ASSERT_TRUE(a.Create(3, 3, IMAGE_ARGB));
  Image b(std::move(a));
  EXPECT_TRUE(b.loaded);
  EXPECT_FALSE(a.loaded);
  EXPECT_EQ(a.pixels, nullptr);
  Image c;
  c = std::move(b);
  EXPECT_EQ(c.PixelAt(0, 0), 0x00FFFFFFu);
}
