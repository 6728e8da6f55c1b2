#include "chart/chart_finish.h"
#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>
#include "chart/arrow_images.h"
#include "chart/step_data.h"
#include "chart/player_record.h"

namespace {
constexpr double kChordSpan = 0.03;

void SwapFreezes(Arrow* a, int32_t n, int arrowFilter, bool noFreeze) {
  for (int32_t k = 0; k < n; k++) {
    if (a[k].kind == ARROW_IGNORED && a[k].freezeLink >= 0) {
      a[k].freezeLink = -1;   // a freeze never closed points at nothing
      continue;
    }
    if (a[k].kind != ARROW_FREEZE) continue;
    int32_t h = a[k].freezeLink;
    if (h < 0 || h >= n || h == k) {
      a[k].freezeLink = -1;
      continue;
    }
    if (arrowFilter == FILTER_LITTLE && a[h].kind == ARROW_IGNORED) a[k].kind = ARROW_IGNORED;
    if (noFreeze) {
      a[k].kind = ARROW_IGNORED;
      a[k].freezeLink = -1;
      continue;
    }
    std::swap(a[h], a[k]);
    a[h].freezeLink = -1;   // the freeze, now where its head was
    a[k].freezeLink = h;    // the head points at its freeze
  }
}

void MakeRing(Arrow* a, int32_t start, const std::vector<int32_t>& members, int arrowFilter) {
  int32_t prev = start;
  bool holdsFreeze = a[start].freezeLink >= 0;
  for (int32_t m : members) {
    a[m].chordNext = prev;
    prev = m;
    holdsFreeze |= a[m].freezeLink >= 0;
  }
  a[start].chordNext = members.back();
  if (!holdsFreeze) return;
  auto mark = [&](Arrow& r) {
    int colourClass, beatPhase;
    Steps_Colour(r.startPos, colourClass, beatPhase);
    if (arrowFilter == FILTER_FLAT || ArrowImages_ColourSets() < 2) colourClass = 0;
    r.freezeChord = 1;
    r.image = ArrowImages_Get(colourClass, r.column, true);
  };
  mark(a[start]);
  for (int32_t m : members) mark(a[m]);
}
}  // namespace

void Chart_LinkChords(Arrow* a, int32_t n, int arrowFilter) {
  bool sorted = true;
  for (int32_t i = 1; i < n && sorted; i++) sorted = a[i].startPos >= a[i - 1].startPos;
  // for an array out of order, the taps by position, to find the near ones quickly
  std::vector<int32_t> byPos;
  if (!sorted) {
    for (int32_t i = 0; i < n; i++)
      if (a[i].kind == ARROW_TAP) byPos.push_back(i);
    std::stable_sort(byPos.begin(), byPos.end(), [&](int32_t x, int32_t y) { return a[x].startPos < a[y].startPos; });
  }
  std::vector<int32_t> members;
  int32_t i = 0;
  while (i < n) {
    if (a[i].kind != ARROW_TAP) {
      i++;
      continue;
    }
    double p = a[i].startPos;
    members.clear();
    if (sorted) {
      for (int32_t j = i + 1; j < n && a[j].startPos - p < kChordSpan; j++)
        if (a[j].kind == ARROW_TAP) members.push_back(j);
    } else {
      // start a little early: p - x < span is not the same test as x > p - span
      // in floating point; the exact test follows
      auto lo = std::lower_bound(byPos.begin(), byPos.end(), p - 2 * kChordSpan,
                                 [&](int32_t x, double v) { return a[x].startPos <= v; });
      for (auto it = lo; it != byPos.end() && a[*it].startPos - p < kChordSpan; ++it)
        if (*it > i && std::fabs(a[*it].startPos - p) < kChordSpan) members.push_back(*it);
      std::sort(members.begin(), members.end());
    }
    if (members.empty()) {
      i++;
      continue;
    }
    MakeRing(a, i, members, arrowFilter);
    i = members.back() + 1;
  }
}

void Chart_Finish(Arrow* a, int32_t n, int arrowFilter, bool noFreeze, ChartTotals& out) {
  out = ChartTotals{};
  SwapFreezes(a, n, arrowFilter, noFreeze);
  for (int32_t i = 0; i < n; i++) {
    a[i].judgement[0] = a[i].judgement[1] = a[i].judgement[2] = 0;
    a[i].freezeChord = 0;
  }
  Chart_LinkChords(a, n, arrowFilter);
  int32_t step = 1;
  for (int32_t i = 0; i < n; i++) {
    Arrow& r = a[i];
    if (r.kind == ARROW_TAP) {
      r.stepNumber = step++;
      if (r.chordNext == -1 || r.chordNext > i) out.maxDancePoints += 2;
      if (r.chordNext >= 0 && r.chordNext < i) out.chordExtra++;   // each chord scores as one step
    } else if (r.kind == ARROW_FREEZE) {
      r.stepNumber = step++;
      out.maxDancePoints += 6;
      out.freezeCount++;
    } else {
      r.stepNumber = 0;
    }
  }
  out.steps = step - 1;
  out.stepTriangle = (int32_t)((int64_t)out.steps * (out.steps + 1) / 2);
}
