#include "media/render/alpha_table.h"
#include "media/render/compositor.h"
#include <gtest/gtest.h>
#include <cmath>
#include <random>
#include <vector>

namespace {
// The blend written out channel by channel, as a person would work it by hand.
uint32_t handBlend(uint32_t d, uint32_t s, int k) {
  uint32_t out = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    int dc = (d >> shift) & 255, sc = (s >> shift) & 255;
    int v = dc + (int)std::floor((sc - dc) * k / 256.0);
    out |= (uint32_t)v << shift;
  }
  return out;
}

// A target with guard space around it, so that a write outside the clip shows.
struct GuardedTarget {
  static constexpr int kW = 8, kH = 8, kPitch = 12, kPadRows = 2;
  std::vector<uint32_t> buf = std::vector<uint32_t>(kPitch * (kH + 2 * kPadRows), 0xDEADBEEF);
  GuardedTarget() {
    for (int y = 0; y < kH; y++)
      for (int x = 0; x < kW; x++) at(x, y) = 0;
  }
  uint32_t& at(int x, int y) { return buf[(y + kPadRows) * kPitch + x]; }
  ComposeTarget target() { return {&at(0, 0), kPitch, kW, kH}; }
  bool guardsIntact() {
    for (int y = -kPadRows; y < kH + kPadRows; y++)
      for (int x = 0; x < kPitch; x++) {
        bool inside = y >= 0 && y < kH && x < kW;
        if (!inside && buf[(y + kPadRows) * kPitch + x] != 0xDEADBEEF) return false;
      }
    return true;
  }
};

ComposeSource opaque(const std::vector<uint32_t>& px, int w, int h) {
  return {px.data(), w, h, false, 255, 0xFFFFFF};
}
}  // namespace

TEST(AlphaTable, ProductOfOpacities) {
  EXPECT_EQ(AlphaTable[255][200], 200);
  EXPECT_EQ(AlphaTable[128][200], 100);  // 25600 / 255 = 100.39
  EXPECT_EQ(AlphaTable[254][254], 253);
  EXPECT_EQ(AlphaTable[0][255], 0);
  EXPECT_EQ(AlphaTable[17][3], 0);
}

TEST(Blend, HandComputedPixels) {
  EXPECT_EQ(comp::Blend(0x000000, 0xFFFFFF, 128), 0x7F7F7Fu);
  EXPECT_EQ(comp::Blend(0x204060, 0xC08040, 64), 0x485058u);
  // A darker source rounds down, not toward the destination.
  EXPECT_EQ(comp::Blend(0x000010, 0x000000, 1), 0x00000Fu);
  EXPECT_EQ(comp::Blend(0x123456, 0xFEDCBA, 256), 0xFEDCBAu);
  EXPECT_EQ(comp::Blend(0x123456, 0xFEDCBA, 0), 0x123456u);
}

TEST(RowKernels, SimdAndPlainAgreeWithTheHandFormula) {
  std::mt19937 rng(7);
  const int n = 37;  // not a multiple of the vector width
  for (int round = 0; round < 200; round++) {
    std::vector<uint32_t> s(n), d(n);
    for (int i = 0; i < n; i++) {
      s[i] = rng();
      d[i] = rng() & 0xFFFFFF;
      int pick = rng() % 4;  // plenty of clear and solid pixels, as sprites have
      if (pick == 0) s[i] &= 0xFFFFFF;
      if (pick == 1) s[i] |= 0xFF000000u;
    }
    unsigned k = rng() % 255, fade = rng() % 255;
    uint32_t mod = rng() & 0xFFFFFF;

    std::vector<uint32_t> a = d, b = d;
    comp::RowBlendConst(a.data(), s.data(), n, k);
    comp::plain::RowBlendConst(b.data(), s.data(), n, k);
    for (int i = 0; i < n; i++) {
      ASSERT_EQ(a[i] & 0xFFFFFF, handBlend(d[i], s[i], k));
      ASSERT_EQ(b[i] & 0xFFFFFF, handBlend(d[i], s[i], k));
    }

    a = d, b = d;
    comp::RowBlendAlpha(a.data(), s.data(), n);
    comp::plain::RowBlendAlpha(b.data(), s.data(), n);
    for (int i = 0; i < n; i++) {
      unsigned pa = s[i] >> 24;
      uint32_t want = pa == 255 ? s[i] & 0xFFFFFF : handBlend(d[i], s[i], pa);
      ASSERT_EQ(a[i] & 0xFFFFFF, want) << "alpha " << pa;
      ASSERT_EQ(b[i] & 0xFFFFFF, want);
    }

    a = d, b = d;
    comp::RowBlendAlphaFade(a.data(), s.data(), n, fade);
    comp::plain::RowBlendAlphaFade(b.data(), s.data(), n, fade);
    for (int i = 0; i < n; i++) {
      uint32_t want = handBlend(d[i], s[i], AlphaTable[fade][s[i] >> 24]);
      ASSERT_EQ(a[i] & 0xFFFFFF, want);
      ASSERT_EQ(b[i] & 0xFFFFFF, want);
    }

    a.assign(n, 0), b.assign(n, 0);
    comp::RowModulate(a.data(), s.data(), n, mod);
    comp::plain::RowModulate(b.data(), s.data(), n, mod);
    for (int i = 0; i < n; i++) {
      uint32_t want = s[i] & 0xFF000000u;
      for (int shift = 0; shift <= 16; shift += 8)
        want |= (((s[i] >> shift) & 255) * ((mod >> shift) & 255) >> 8) << shift;
      ASSERT_EQ(a[i], want);
      ASSERT_EQ(b[i], want);
    }
  }
}

TEST(Compose, ScalingStepsPickTheRightSourceColumns) {
  const std::vector<uint32_t> row = {0xFF000001, 0xFF000002, 0xFF000003, 0xFF000004, 0xFF000005};
  struct Case {
    int srcW, dstW;
    std::vector<uint32_t> want;  // low byte = source column + 1
  } cases[] = {
      {4, 8, {1, 1, 2, 2, 3, 3, 4, 4}},  // step 128
      {4, 3, {1, 2, 3}},                 // step 341
      {5, 2, {1, 3}},                    // step 640
      {3, 7, {1, 1, 1, 2, 2, 3, 3}},     // step 109
  };
  for (const Case& c : cases) {
    GuardedTarget t;
    Compose(opaque(row, c.srcW, 1), t.target(), 0, 0, c.dstW, 1, {0, 0, 8, 8});
    for (int j = 0; j < c.dstW; j++) EXPECT_EQ(t.at(j, 0) & 0xFF, c.want[j]) << c.srcW << " -> " << c.dstW << " col " << j;
    if (c.dstW < 8) {
      EXPECT_EQ(t.at(c.dstW, 0), 0u);
    }
    EXPECT_TRUE(t.guardsIntact());
  }
}

TEST(Compose, VerticalStepsAndRowReuse) {
  // 1 x 2 picture stretched to 3 rows of 2: step 170 -> rows 0, 0, 1.
  const std::vector<uint32_t> px = {0xFFAA0000, 0xFF00BB00};
  GuardedTarget t;
  ComposeSource s = opaque(px, 1, 2);
  s.modulate = 0x808080;  // the coloured row is reused for the repeated source row
  Compose(s, t.target(), 1, 1, 2, 3, {0, 0, 8, 8});
  EXPECT_EQ(t.at(1, 1) & 0xFFFFFF, 0x550000u);
  EXPECT_EQ(t.at(2, 2) & 0xFFFFFF, 0x550000u);
  EXPECT_EQ(t.at(1, 3) & 0xFFFFFF, 0x005D00u);
  EXPECT_EQ(t.at(0, 1), 0u);
  EXPECT_EQ(t.at(1, 4), 0u);
}

TEST(Compose, ColourMultiplyThenBlend) {
  const std::vector<uint32_t> px = {0xFFFF8040, 0x80FF8040};
  GuardedTarget t;
  for (int x = 0; x < 8; x++) t.at(x, 0) = 0x102030;
  ComposeSource s{px.data(), 2, 1, true, 255, 0x80FF40};
  Compose(s, t.target(), 0, 0, 2, 1, {0, 0, 8, 8});
  EXPECT_EQ(t.at(0, 0) & 0xFFFFFF, 0x7F7F10u);                         // solid: the multiplied colour
  EXPECT_EQ(t.at(1, 0) & 0xFFFFFF, handBlend(0x102030, 0x7F7F10, 128));  // half: blended after multiplying
}

TEST(Compose, FadeWeighsOpaqueAndAlphaPictures) {
  const std::vector<uint32_t> px = {0xFFFFFFFF, 0xC8FFFFFF};  // alpha 255 and 200
  GuardedTarget t;
  ComposeSource s{px.data(), 2, 1, false, 128, 0xFFFFFF};
  Compose(s, t.target(), 0, 0, 2, 1, {0, 0, 8, 8});
  EXPECT_EQ(t.at(0, 0) & 0xFFFFFF, 0x7F7F7Fu);
  EXPECT_EQ(t.at(1, 0) & 0xFFFFFF, 0x7F7F7Fu);  // opaque pictures ignore their alpha byte
  s.pixelAlpha = true;
  GuardedTarget u;
  Compose(s, u.target(), 0, 0, 2, 1, {0, 0, 8, 8});
  EXPECT_EQ(u.at(0, 0) & 0xFFFFFF, handBlend(0, 0xFFFFFF, AlphaTable[128][255]));
  EXPECT_EQ(u.at(1, 0) & 0xFFFFFF, handBlend(0, 0xFFFFFF, AlphaTable[128][200]));
  s.fade = 0;
  GuardedTarget v;
  Compose(s, v.target(), 0, 0, 2, 1, {0, 0, 8, 8});
  EXPECT_EQ(v.at(0, 0), 0u);
}

TEST(Compose, ClipsAtEveryEdge) {
  // 4 x 4 picture whose pixel value names its own coordinates.
  std::vector<uint32_t> px(16);
  for (int y = 0; y < 4; y++)
    for (int x = 0; x < 4; x++) px[y * 4 + x] = 0xFF000000u | (uint32_t)(0x100 * (y + 1) + (x + 1));
  const int corners[][2] = {{-2, -2}, {6, -2}, {-2, 6}, {6, 6}, {-3, 2}, {2, -3}, {7, 2}, {2, 7}};
  for (auto& c : corners) {
    GuardedTarget t;
    Compose(opaque(px, 4, 4), t.target(), c[0], c[1], 4, 4, {-100, -100, 100, 100});
    EXPECT_TRUE(t.guardsIntact()) << c[0] << "," << c[1];
    for (int y = 0; y < 8; y++)
      for (int x = 0; x < 8; x++) {
        int sx = x - c[0], sy = y - c[1];
        uint32_t want = sx >= 0 && sx < 4 && sy >= 0 && sy < 4 ? px[sy * 4 + sx] : 0;
        ASSERT_EQ(t.at(x, y), want) << "draw at " << c[0] << "," << c[1] << " pixel " << x << "," << y;
      }
  }
}

TEST(Compose, ClipRectangleLimitsTheDraw) {
  std::vector<uint32_t> px(64, 0xFF00FF00);
  GuardedTarget t;
  Compose(opaque(px, 8, 8), t.target(), 0, 0, 8, 8, {2, 3, 5, 4});
  int count = 0;
  for (int y = 0; y < 8; y++)
    for (int x = 0; x < 8; x++)
      if (t.at(x, y)) {
        count++;
        EXPECT_TRUE(x >= 2 && x < 5 && y == 3);
      }
  EXPECT_EQ(count, 3);
  GuardedTarget u;  // an empty or inverted rectangle draws nothing
  Compose(opaque(px, 8, 8), u.target(), 0, 0, 8, 8, {5, 0, 5, 8});
  Compose(opaque(px, 8, 8), u.target(), 0, 0, 8, 8, {6, 6, 2, 2});
  for (int y = 0; y < 8; y++)
    for (int x = 0; x < 8; x++) EXPECT_EQ(u.at(x, y), 0u);
}

TEST(Compose, FarAwayOrHugeRectanglesAreSafe) {
  std::vector<uint32_t> px(4, 0xFF123456);
  GuardedTarget t;
  Compose(opaque(px, 2, 2), t.target(), -(1ll << 40), -(1ll << 40), 1ll << 41, 1ll << 41, {0, 0, 8, 8});
  EXPECT_TRUE(t.guardsIntact());
  EXPECT_EQ(t.at(0, 0) & 0xFFFFFF, 0x123456u);
  GuardedTarget u;
  Compose(opaque(px, 2, 2), u.target(), 1ll << 40, 3, 2, 2, {0, 0, 8, 8});
  Compose(opaque(px, 2, 2), u.target(), 0, 0, 0, 5, {0, 0, 8, 8});
  Compose(opaque(px, 2, 2), u.target(), 0, 0, -4, 5, {0, 0, 8, 8});
  EXPECT_TRUE(u.guardsIntact());
  for (int y = 0; y < 8; y++)
    for (int x = 0; x < 8; x++) EXPECT_EQ(u.at(x, y), 0u);
}
