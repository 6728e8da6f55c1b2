#include "menus/evaluation_graphs.h"
#include "media/draw_helpers.h"
#include "media/render/image.h"
#include "menus/timing_histogram.h"
#include <algorithm>
#include <cmath>

const uint32_t kJudgementColours[5] = {0xFFE14A, 0x5CE65C, 0x4FA8FF, 0xD070FF, 0xFF4F4F};

namespace {
constexpr int kLifeTop = 1700;
}

void Histogram_Draw(const TimingHistogram& h, int x, int y, int w, int height, double grow) {
  Draw_FillRect(x, y, w, height, 0x000000, 150);
  const int barW = std::max(1, w / kHistogramBuckets);
  const int left = x + (w - barW * kHistogramBuckets) / 2;
  const int middle = left + barW * kHistogramBuckets / 2;
  const double pxPerMs = barW * kHistogramBuckets / (2.0 * std::max(1, h.rangeMs));
  // the windows shaded from the widest in, each over the one outside it
  for (int win = 3; win >= 0; win--) {
    int half = (int)std::lround(std::min<int>(h.windows[win], h.rangeMs) * pxPerMs);
    Draw_FillRect(middle - half, y, 2 * half, height, kJudgementColours[win], 40);
    if (win < 3) {   // the window's edges
      Draw_FillRect(middle - half, y, 1, height, kJudgementColours[win], 110);
      Draw_FillRect(middle + half, y, 1, height, kJudgementColours[win], 110);
    }
  }
  if (h.peak > 0) {
    grow = std::clamp(grow, 0.0, 1.0);
    for (int b = 0; b < kHistogramBuckets; b++) {
      if (!h.counts[b]) continue;
      int bar = std::max(1, (int)std::lround((double)h.counts[b] / h.peak * (height - 2) * grow));
      Draw_FillRect(left + b * barW, y + height - bar, std::max(1, barW - 1), bar,
                    kJudgementColours[Histogram_BucketWindow(h, b)], 235);
    }
  }
  Draw_FillRect(middle, y, 1, height, 0xFFFFFF, 140);
  if (h.presses) {   // the mean, as a notch above and below
    int at = middle + (int)std::lround(std::clamp(h.meanMs, (double)-h.rangeMs, (double)h.rangeMs) * pxPerMs);
    Draw_FillRect(at - 1, y, 3, 4, 0xFFFFFF, 230);
    Draw_FillRect(at - 1, y + height - 4, 3, 4, 0xFFFFFF, 230);
  }
}

int LifeGraph_Row(int life, int height) {
  if (height <= 1) return 0;
  int v = std::clamp(life, 0, kLifeTop);
  return (height - 1) - (int)((int64_t)v * (height - 1) / kLifeTop);
}

double LifeGraph_LifeAt(const std::vector<int16_t>& trace, int x, int width) {
  if (trace.empty()) return 0;
  if (trace.size() == 1 || width <= 1) return trace.back();
  double at = std::clamp((double)x, 0.0, (double)(width - 1)) * (double)(trace.size() - 1) / (width - 1);
  size_t i = (size_t)at;
  if (i + 1 >= trace.size()) return trace.back();
  double f = at - (double)i;
  return trace[i] * (1 - f) + trace[i + 1] * f;
}

bool LifeGraph_Make(Image& picture, const std::vector<int16_t>& trace, int width, int height, uint32_t rgb) {
  picture.Free();
  if (trace.empty() || width < 2 || height < 2) return false;
  if (!picture.Create(width, height, IMAGE_ARGB)) return false;
  const uint32_t shade = 0x50000000u | (rgb & 0xFFFFFF), line = 0xFF000000u | (rgb & 0xFFFFFF);
  int lastRow = -1;
  for (int x = 0; x < width; x++) {
    int row = LifeGraph_Row((int)std::lround(LifeGraph_LifeAt(trace, x, width)), height);
    if (row + 1 < height) picture.DrawLine(x, row + 1, x, height - 1, &shade, 1, 0);
    // the line two rows thick, joined to the column before
    int from = lastRow < 0 ? row : lastRow;
    picture.DrawLine(x, std::min(from, row), x, std::max(from, row), &line, 1, 0);
    picture.DrawLine(x, std::min(row + 1, height - 1), x, std::min(row + 1, height - 1), &line, 1, 0);
    lastRow = row;
  }
  return true;
}
