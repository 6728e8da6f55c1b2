#include "menus/wheel_radar.h"
#include <algorithm>
#include <cmath>
#include <cstring>

namespace {
constexpr int kCorners = 5;
constexpr int kFillAlpha = 130;

struct Pt {
  double x, y;
};

double radius(int size) { return size * 0.5 - 3; }

// Distance from p to the segment a-b.
double segmentDistance(Pt p, Pt a, Pt b) {
  double dx = b.x - a.x, dy = b.y - a.y;
  double len = dx * dx + dy * dy;
  double t = len > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / len : 0;
  t = std::clamp(t, 0.0, 1.0);
  double ex = a.x + t * dx - p.x, ey = a.y + t * dy - p.y;
  return std::sqrt(ex * ex + ey * ey);
}

// Even-odd test against the closed polygon.
bool inside(const Pt* poly, int n, double x, double y) {
  bool in = false;
  for (int i = 0, j = n - 1; i < n; j = i++) {
    if ((poly[i].y > y) != (poly[j].y > y) &&
        x < (poly[j].x - poly[i].x) * (y - poly[i].y) / (poly[j].y - poly[i].y) + poly[i].x)
      in = !in;
  }
  return in;
}

// Writes one pixel of the picture (colour with its alpha), as the picture keeps them.
void put(Image& img, int x, int y, uint32_t rgb, int alpha) {
  size_t i = (size_t)y * img.surfaceWidth + x;
  img.pixels[i] = (rgb & 0xFFFFFF) | ((uint32_t)alpha << 24);
  if (img.savedAlpha) img.savedAlpha[i] = (uint8_t)alpha;
}

// Lines of `width` pixels along the polygon's edges (closed or not), and when
// `fill` the inside, antialiased with 2 x 2 samples.
void paintShape(Image& img, const Pt* poly, int n, bool closed, bool fill, uint32_t rgb, double width, int fillAlpha) {
  int w = img.surfaceWidth, h = img.surfaceHeight;
  double minX = w, minY = h, maxX = 0, maxY = 0;
  for (int i = 0; i < n; i++) {
    minX = std::min(minX, poly[i].x), maxX = std::max(maxX, poly[i].x);
    minY = std::min(minY, poly[i].y), maxY = std::max(maxY, poly[i].y);
  }
  int x0 = std::max(0, (int)std::floor(minX - width - 1)), x1 = std::min(w - 1, (int)std::ceil(maxX + width + 1));
  int y0 = std::max(0, (int)std::floor(minY - width - 1)), y1 = std::min(h - 1, (int)std::ceil(maxY + width + 1));
  int edges = closed ? n : n - 1;
  for (int y = y0; y <= y1; y++)
    for (int x = x0; x <= x1; x++) {
      Pt p{x + 0.5, y + 0.5};
      double d = 1e9;
      for (int e = 0; e < edges; e++) d = std::min(d, segmentDistance(p, poly[e], poly[(e + 1) % n]));
      double rim = std::clamp(width * 0.5 + 0.5 - d, 0.0, 1.0);
      double cover = 0;
      if (fill)
        for (int s = 0; s < 4; s++) cover += inside(poly, n, x + 0.25 + 0.5 * (s & 1), y + 0.25 + 0.5 * (s >> 1)) ? 0.25 : 0;
      int a = std::max((int)(rim * 255 + 0.5), (int)(cover * fillAlpha + 0.5));
      if (a <= 0) continue;
      size_t i = (size_t)y * w + x;
      int old = img.savedAlpha ? img.savedAlpha[i] : (int)(img.pixels[i] >> 24);
      if (a > old) put(img, x, y, rgb, a);
    }
}
}  // namespace

double Radar_Reach(double value) {
  if (!std::isfinite(value) || value <= 0) return kRadarLeast;
  return std::clamp(value / kRadarFullValue, kRadarLeast, 1.0);
}

void Radar_Corner(int size, int k, double reach, double& x, double& y) {
  double angle = -M_PI / 2 + k * 2 * M_PI / kCorners;
  x = size * 0.5 + std::cos(angle) * radius(size) * reach;
  y = size * 0.5 + std::sin(angle) * radius(size) * reach;
}

void Radar_Clear(Image& target) {
  if (!target.loaded || !target.pixels) return;
  size_t n = (size_t)target.surfaceWidth * target.surfaceHeight;
  std::fill(target.pixels, target.pixels + n, 0x00FFFFFFu);
  if (target.savedAlpha) memset(target.savedAlpha, 0, n);
}

void Radar_Paint(Image& target, const ChartFigures& f, uint32_t colour) {
  if (!target.loaded || !target.pixels) return;
  Radar_Clear(target);
  const double values[kCorners] = {f.stream, f.voltage, f.air, f.freeze, f.chaos};
  Pt poly[kCorners];
  for (int k = 0; k < kCorners; k++) Radar_Corner(target.surfaceWidth, k, Radar_Reach(values[k]), poly[k].x, poly[k].y);
  paintShape(target, poly, kCorners, true, true, colour, 2.5, kFillAlpha);
}

void Radar_PaintGrid(Image& target, uint32_t colour) {
  if (!target.loaded || !target.pixels) return;
  Radar_Clear(target);
  int size = target.surfaceWidth;
  Pt centre{size * 0.5, size * 0.5};
  for (int ring = 1; ring <= 3; ring++) {
    Pt poly[kCorners];
    for (int k = 0; k < kCorners; k++) Radar_Corner(size, k, ring / 3.0, poly[k].x, poly[k].y);
    paintShape(target, poly, kCorners, true, ring == 3, colour, 1.2, 40);
  }
  for (int k = 0; k < kCorners; k++) {
    Pt spoke[2] = {centre, {}};
    Radar_Corner(size, k, 1.0, spoke[1].x, spoke[1].y);
    paintShape(target, spoke, 2, false, false, colour, 1.0, 0);
  }
}
