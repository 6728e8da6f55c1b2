#include "media/skin/skin_images.h"
#include "chart/arrow_images.h"
#include "platform/files.h"
#include "support/test_support.h"
#include <FreeImage.h>
#include <gtest/gtest.h>

namespace {
// A 24-bit sheet filled with one colour, except the bottom-left pixel that the
// colour key takes (kept black so the fill stays opaque).
void writeSheet(const std::string& path, int w, int h, uint32_t rgb) {
  FIBITMAP* d = FreeImage_Allocate(w, h, 24);
  for (int y = 0; y < h; y++) {
    BYTE* row = FreeImage_GetScanLine(d, y);
    for (int x = 0; x < w; x++) {
      row[x * 3 + 0] = rgb & 0xFF;
      row[x * 3 + 1] = (rgb >> 8) & 0xFF;
      row[x * 3 + 2] = (rgb >> 16) & 0xFF;
    }
  }
  BYTE* first = FreeImage_GetScanLine(d, 0);
  first[0] = first[1] = first[2] = 0;
  FreeImage_Save(FIF_PNG, d, path.c_str());
  FreeImage_Unload(d);
}

uint32_t rgbAt(const Image& img, int x, int y) { return img.PixelAt(x, y) & 0xFFFFFF; }
}

TEST(SkinImages, MissingFilesComeFromDefault) {
  TempDir dir;
  Dir_Create("Skins/Default");
  Dir_Create("Skins/Mine");
  writeSheet("Skins/Default/rkv2-combo.png", 576, 64, 0xFF0000);
  writeSheet("Skins/Default/rkv2-judge.png", 175, 175, 0x00FF00);
  writeSheet("Skins/Mine/rkv2-combo.png", 576, 64, 0x0000FF);
  LoadImages("Mine", false);
  ASSERT_TRUE(g_skin.comboDigits[3].loaded);
  EXPECT_EQ(g_skin.comboDigits[3].pictureWidth, 48);
  EXPECT_EQ(rgbAt(g_skin.comboDigits[3], 10, 10), 0x0000FFu);
  EXPECT_EQ(g_skin.comboLabel.pictureWidth, 96);
  ASSERT_TRUE(g_skin.judge[4].loaded);
  EXPECT_EQ(rgbAt(g_skin.judge[4], 10, 10), 0x00FF00u);
  EXPECT_FALSE(g_skin.grades[0].loaded);  // in neither skin: nothing drawn
  EXPECT_TRUE(g_skin.radars[1].loaded);
  EXPECT_EQ(g_skin.overlay.pictureWidth, 640);
  FreeImages();
  EXPECT_FALSE(g_skin.comboDigits[3].loaded);
}

TEST(SkinImages, ModifierSheetExtraCellsDependOnHeight) {
  TempDir dir;
  Dir_Create("Skins/Default");
  writeSheet("Skins/Default/rkv2-modifiers.png", 192, 180, 0x123456);
  LoadImages("Default", false);
  EXPECT_TRUE(g_skin.modifiers[1][28].loaded);
  EXPECT_TRUE(g_skin.modifiersLast.loaded);
  FreeImages();
  writeSheet("Skins/Default/rkv2-modifiers.png", 192, 200, 0x123456);
  LoadImages("Default", false);
  EXPECT_TRUE(g_skin.modifiers[1][28].loaded);  // (32 + 128, 180) fits a 200-pixel sheet
  FreeImages();
  writeSheet("Skins/Default/rkv2-modifiers.png", 100, 100, 0x123456);  // too small: cells outside stay empty
  LoadImages("Default", false);
  EXPECT_TRUE(g_skin.modifiers[0][0].loaded);
  EXPECT_FALSE(g_skin.modifiers[0][5].loaded);
  FreeImages();
}

TEST(SkinImages, ArrowSetsAndTheChartLookup) {
  TempDir dir;
  Dir_Create("Skins/Default");
  writeSheet("Skins/Default/rkv2-narrows.png", 384, 1280, 0x808080);
  writeSheet("Skins/Default/rkv2-sarrows.png", 1152, 768, 0x404040);
  writeSheet("Skins/Default/rkv2-freezes.png", 384, 252, 0x202020);
  LoadImages("Default", false);
  EXPECT_EQ(g_arrowSet, 1);
  EXPECT_EQ(Arrows_FramesPerAnimation(), 16);
  EXPECT_TRUE(g_arrows[5 * 16 + 15].loaded);
  EXPECT_TRUE(g_arrowsSecond[5 * 16 + 2].loaded);
  EXPECT_TRUE(g_arrowsThird[5].loaded);
  EXPECT_FALSE(g_arrows[100].loaded);
  EXPECT_EQ(ArrowImages_ColourSets(), 1);
  EXPECT_EQ(ArrowImages_Get(2, 3, false), &g_arrows[3 * 16]);
  EXPECT_EQ(ArrowImages_Get(0, 7, true), &g_skin.freezes[1][0]);  // the right pad uses the left pad's pictures
  Image* before = &g_arrows[0];
  uint32_t* pixels = g_arrows[0].pixels;
  LoadArrows(1);  // the same set again: no work
  EXPECT_EQ(g_arrows[0].pixels, pixels);
  (void)before;
  LoadArrows(2);
  EXPECT_EQ(g_arrowSet, 2);
  EXPECT_FALSE(g_arrowsThird[0].loaded);
  EXPECT_TRUE(g_arrows[215].loaded);
  EXPECT_EQ(ArrowImages_ColourSets(), 3);
  EXPECT_EQ(ArrowImages_Get(1, 2, false), &g_arrows[(6 + 2) * 12]);
  FreeImages();
  EXPECT_EQ(g_arrowSet, 0);
}

TEST(SkinImages, SongBackgroundFallsBackAndIsScaled) {
  TempDir dir;
  Dir_Create("Skins/Default");
  Dir_Create("Songs/G/S");
  writeSheet("Skins/Default/def-background.png", 320, 240, 0xC8C8C8);
  LoadSongBackground("G", "S", "missing.png", 50);
  ASSERT_TRUE(g_background.loaded);
  EXPECT_EQ(g_background.width, 640);
  EXPECT_EQ(g_background.height, 480);
  g_background.Free();
}
