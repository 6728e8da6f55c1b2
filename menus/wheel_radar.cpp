#include "menus/wheel_radar.h"
#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

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

// Writes one pixel of the picture (colour with its alpha), as the picture keeps them.
void put(Image& img, int x, int y, uint32_t rgb, int alpha) {
  size_t i = (size_t)y * img.surfaceWidth + x;
  img.pixels[i] = (rgb & 0xFFFFFF) | ((uint32_t)alpha << 24);
  if (img.savedAlpha) img.savedAlpha[i] = (uint8_t)alpha;
}

// The x range of the segment's points whose y lies within `reach` of row centre
// py, widened by `reach`: every pixel of the row nearer the segment lies in it.
bool rowRange(Pt a, Pt b, double py, double reach, double& lo, double& hi) {
  double t0 = 0, t1 = 1;
  if (a.y == b.y) {
    if (std::fabs(a.y - py) > reach) return false;
  } else {
    double u = (py - reach - a.y) / (b.y - a.y), v = (py + reach - a.y) / (b.y - a.y);
    t0 = std::max(0.0, std::min(u, v));
    t1 = std::min(1.0, std::max(u, v));
    if (t0 > t1) return false;
  }
  double x0 = a.x + (b.x - a.x) * t0, x1 = a.x + (b.x - a.x) * t1;
  lo = std::min(x0, x1) - reach;
  hi = std::max(x0, x1) + reach;
  return true;
}

// Lines of `width` pixels along the polygon's edges (closed or not), and when
// `fill` the inside, antialiased with 2 x 2 samples. Row by row, only the
// pixels near an edge or inside a span are worked out.
void paintShape(Image& img, const Pt* poly, int n, bool closed, bool fill, uint32_t rgb, double width, int fillAlpha) {
  int w = img.surfaceWidth, h = img.surfaceHeight;
  double reach = width * 0.5 + 0.5;   // beyond this a pixel gets nothing of the rim
  double minY = h, maxY = 0;
  for (int i = 0; i < n; i++) minY = std::min(minY, poly[i].y), maxY = std::max(maxY, poly[i].y);
  int y0 = std::max(0, (int)std::floor(minY - reach)), y1 = std::min(h - 1, (int)std::ceil(maxY + reach));
  int edges = closed ? n : n - 1;
  std::vector<float> rim((size_t)w), cover((size_t)w);
  for (int y = y0; y <= y1; y++) {
    std::fill(rim.begin(), rim.end(), 0.0f);
    std::fill(cover.begin(), cover.end(), 0.0f);
    int lo = w, hi = -1;
    Pt p{0, y + 0.5};
    for (int e = 0; e < edges; e++) {
      Pt a = poly[e], b = poly[(e + 1) % n];
      double from, to;
      if (!rowRange(a, b, p.y, reach, from, to)) continue;
      int x0 = std::max(0, (int)std::floor(from)), x1 = std::min(w - 1, (int)std::ceil(to));
      for (int x = x0; x <= x1; x++) {
        p.x = x + 0.5;
        float r = (float)std::clamp(width * 0.5 + 0.5 - segmentDistance(p, a, b), 0.0, 1.0);
        if (r > rim[x]) rim[x] = r;
      }
      lo = std::min(lo, x0), hi = std::max(hi, x1);
    }
    if (fill)
      for (double sub : {0.25, 0.75}) {
        double yy = y + sub, xs[16];
        int k = 0;
        for (int i = 0, j = n - 1; i < n && k < 16; j = i++)
          if ((poly[i].y > yy) != (poly[j].y > yy))
            xs[k++] = poly[i].x + (poly[j].x - poly[i].x) * (yy - poly[i].y) / (poly[j].y - poly[i].y);
        std::sort(xs, xs + k);
        for (int q = 0; q + 1 < k; q += 2) {
          // samples at x + 0.25 and x + 0.75, sample m at m / 2 + 0.25
          int m0 = std::max(0, (int)std::ceil((xs[q] - 0.25) * 2));
          int m1 = std::min(2 * w, (int)std::ceil((xs[q + 1] - 0.25) * 2));
          for (int m = m0; m < m1; m++) cover[m / 2] += 0.25f;
          if (m0 < m1) lo = std::min(lo, m0 / 2), hi = std::max(hi, (m1 - 1) / 2);
        }
      }
    for (int x = lo; x <= hi; x++) {
      int a = std::max((int)(rim[x] * 255 + 0.5f), (int)(cover[x] * fillAlpha + 0.5f));
      if (a <= 0) continue;
      size_t i = (size_t)y * w + x;
      int old = img.savedAlpha ? img.savedAlpha[i] : (int)(img.pixels[i] >> 24);
      if (a > old) put(img, x, y, rgb, a);
    }
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
