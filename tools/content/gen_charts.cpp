#include "gen_charts.h"

#include <algorithm>
#include <cmath>
#include <map>

int Layout_Columns(Layout l) { return l == Layout::Single ? 4 : l == Layout::Solo ? 6 : 8; }

namespace {

constexpr double kEps = 1e-6;

// Sixteenths are integers, twenty-fourths multiples of 2/3; both are kept as
// 48ths internally so that positions compare exactly.
long Key(double pos) { return std::lround(pos * 3.0); }

struct Candidate {
  double pos;
  double score;
  bool accent;     // crash or stop hit: a jump
  int pitchMove;   // -1 falling melody, +1 rising, 0 none
  double holdLen;  // a held note starting here (sixteenths), 0 none
};

double Weight(int inst, int focus) {
  static const double all[kInstruments] = {3.0, 3.0, 0.8, 1.0, 3.0, 2.0, 1.6, 0.0, 2.0, 2.2, 0.6};
  static const double drums[kInstruments] = {3.2, 3.2, 1.0, 1.0, 3.2, 2.0, 2.4, 0.0, 1.0, 0.5, 0.2};
  static const double melody[kInstruments] = {1.5, 1.5, 1.6, 1.4, 1.5, 2.0, 0.6, 0.0, 2.4, 3.2, 1.2};
  return (focus == 1 ? drums : focus == 2 ? melody : all)[inst];
}

}  // namespace

std::vector<Step> Chart_Make(const std::vector<NoteEvent>& events, const Arrangement& a, const ChartRequest& r) {
  const int bars = (int)a.sections.size();
  const int d = r.difficulty;
  Rng rng(r.seed);
  // 1. how strongly the music marks each position
  std::map<long, Candidate> at;
  int lastPitch = -1;
  for (auto& e : events) {
    Candidate& c = at[Key(e.pos)];
    c.pos = e.pos;
    c.score += Weight(e.inst, r.focus) * (0.5 + 0.5 * e.vel);
    if (e.inst == kCrash) c.accent = true;
    if (e.inst == kLead) {
      if (lastPitch >= 0) c.pitchMove = e.pitch > lastPitch ? 1 : e.pitch < lastPitch ? -1 : 0;
      lastPitch = e.pitch;
      if (e.len >= 6) c.holdLen = std::max(c.holdLen, e.len);
    }
  }
  for (int bar : a.stopBars) at[Key(bar * 16.0 + 12)].accent = true;
  // 2. which positions become arrows
  static const double minGap[4] = {4, 2, 1, 2.0 / 3.0};
  std::vector<Candidate> picked;
  double last = -100;
  for (auto& [k, c] : at) {
    int bar = (int)(c.pos / 16);
    if (bar >= bars) continue;
    char sec = a.sections[bar];
    double inBar = c.pos - bar * 16, inBeat = std::fmod(inBar, 4.0);
    bool onBeat = inBeat < kEps, onEighth = std::fabs(std::fmod(inBar, 2.0)) < kEps;
    bool sixteenth = std::fabs(inBar - std::round(inBar)) < kEps;
    bool quiet = sec == 'I' || sec == 'B';
    bool inStop = false;
    for (int sb : a.stopBars)
      if (c.pos > sb * 16.0 + 12 + kEps && c.pos < sb * 16.0 + 16 - kEps) inStop = true;
    if (inStop) continue;
    bool take = false;
    switch (d) {
      case 0: take = onBeat && c.score >= 2.5 && (std::fmod(inBar, 8.0) < kEps || sec == 'C' || c.accent); break;
      case 1: take = (onBeat && c.score >= 2.0) || (!quiet && onEighth && c.score >= 3.2); break;
      case 2:
        take = (onEighth && c.score >= (quiet ? 2.5 : 1.4)) || (!quiet && sixteenth && c.score >= 3.0);
        break;
      default:
        take = (sixteenth && c.score >= (quiet ? 1.6 : 1.0)) || (!quiet && !sixteenth && c.score >= 1.0);
        break;
    }
    if (c.accent && d >= 1) take = true;
    if (!take) continue;
    if (c.pos - last < minGap[d] - kEps) continue;
    // keep runs of sixteenths short below SMANIAC
    if (d == 2 && !onEighth && picked.size() >= 2 && c.pos - picked[picked.size() - 2].pos < 2 + kEps) continue;
    picked.push_back(c);
    last = c.pos;
  }
  // 3. freezes on held melody notes (and on the pads of a break for BASIC)
  struct Hold {
    double start, end;
  };
  std::vector<Hold> holds;
  for (auto& c : picked) {
    double len = 0;
    if (d >= 1 && c.holdLen >= 6) len = std::min(c.holdLen, 16.0);
    if (d == 0 && c.holdLen >= 8) len = std::min(c.holdLen, 12.0);
    if (len <= 0) continue;
    double end = c.pos + std::floor(len / 2) * 2;
    bool crossesStop = false;
    for (int sb : a.stopBars)
      if (c.pos <= sb * 16.0 + 12 + kEps && end >= sb * 16.0 + 12 - kEps) crossesStop = true;
    // the easier charts hold only every other long note, so freezes stay a treat
    double rest = d == 0 ? 48 : d == 1 ? 24 : 4;
    if (crossesStop || (!holds.empty() && c.pos < holds.back().end + rest)) continue;
    holds.push_back({c.pos, end});
  }
  if (d <= 1) {
    // the easier charts rest the other foot while a freeze is held
    picked.erase(std::remove_if(picked.begin(), picked.end(),
                                [&](const Candidate& c) {
                                  for (auto& h : holds)
                                    if (c.pos > h.start + kEps && c.pos < h.end + 2 - kEps) return true;
                                  return false;
                                }),
                 picked.end());
  }
  // 4. panels: feet alternate; jumps on accents; a held freeze keeps its foot busy
  const int ncols = Layout_Columns(r.layout);
  static const double xs[8] = {0, 1, 1, 2, 3, 4, 4, 5};  // DOUBLE panel places, left to right
  auto footCols = [&](int foot, double centre, std::vector<int>& out) {
    out.clear();
    if (r.layout == Layout::Single) {
      out = foot == 0 ? std::vector<int>{0, 1, 2} : std::vector<int>{3, 1, 2};
    } else if (r.layout == Layout::Solo) {
      out = foot == 0 ? std::vector<int>{0, 4, 1, 2} : std::vector<int>{3, 5, 1, 2};
    } else {
      for (int c = 0; c < 8; c++) {
        double x = xs[c];
        if (foot == 0 ? (x <= centre + 0.5 && x >= centre - 1.5) : (x >= centre - 0.5 && x <= centre + 1.5))
          out.push_back(c);
      }
    }
  };
  auto isUp = [&](int c) { return r.layout == Layout::Double ? (c == 2 || c == 6) : (c == 2 || c == 4 || c == 5); };
  auto isDown = [&](int c) { return c == 1 || (r.layout == Layout::Double && c == 5); };
  std::vector<Step> out;
  int foot = 0, lastCol[2] = {-1, -1}, busyFoot = -1, busyCol = -1;
  double busyUntil = -1, lastPos = -100;
  size_t hi = 0;
  for (auto& c : picked) {
    int bar = (int)(c.pos / 16);
    double centre = 2.5;
    if (r.layout == Layout::Double) {
      static const double centres[4] = {1.0, 2.5, 4.0, 2.5};
      centre = centres[(bar / 4) % 4];
    }
    if (busyUntil >= 0 && c.pos > busyUntil + kEps) {
      busyFoot = -1;
      busyCol = -1;
      busyUntil = -1;
    }
    bool startsHold = hi < holds.size() && std::fabs(holds[hi].start - c.pos) < kEps;
    if (c.pos - lastPos >= 8) foot = rng.Range(0, 1);  // after a rest either foot may lead
    bool jump = c.accent && busyFoot < 0 && !startsHold && d >= 1 && c.pos - lastPos >= 1 - kEps;
    if (!jump && d >= 2 && busyFoot < 0 && !startsHold && c.score >= 6.5 && c.pos - lastPos >= 2 - kEps &&
        rng.Chance(d == 3 ? 0.35 : 0.15))
      jump = true;
    std::vector<int> opts;
    auto choose = [&](int f) {
      footCols(f, centre, opts);
      std::vector<double> w;
      double total = 0;
      for (size_t i = 0; i < opts.size(); i++) {
        int col = opts[i];
        double weight = i == 0 ? 2.0 : 1.0;
        if (col == lastCol[f] && c.pos - lastPos < 4) weight *= 0.05;  // no quick repeats on one panel
        if (col == lastCol[1 - f]) weight *= 0.1;                      // nor onto the other foot's panel
        if (col == busyCol) weight = 0;
        if (c.pitchMove > 0 && isUp(col)) weight *= 3;
        if (c.pitchMove < 0 && isDown(col)) weight *= 3;
        // a freeze end in a column still counts as taken at that position
        for (auto& s : out)
          if (s.col == col && s.end > s.pos && std::fabs(s.end - c.pos) < kEps) weight = 0;
        w.push_back(weight);
        total += weight;
      }
      if (total <= 0) return -1;
      double pick = rng.Uniform() * total;
      for (size_t i = 0; i < opts.size(); i++) {
        pick -= w[i];
        if (pick < 0) return opts[i];
      }
      return opts.back();
    };
    if (jump) {
      int l = choose(0);
      lastCol[0] = l;
      int rr = choose(1);
      if (l >= 0 && rr >= 0 && l != rr) {
        out.push_back({c.pos, l, c.pos});
        out.push_back({c.pos, rr, c.pos});
        lastCol[1] = rr;
        lastPos = c.pos;
        continue;
      }
    }
    int f = busyFoot >= 0 ? 1 - busyFoot : foot;
    int col = choose(f);
    if (col < 0) continue;
    double end = c.pos;
    if (startsHold) {
      end = holds[hi].end;
      busyFoot = f;
      busyCol = col;
      busyUntil = end;
      hi++;
    }
    out.push_back({c.pos, col, end});
    lastCol[f] = col;
    lastPos = c.pos;
    if (busyFoot < 0 || startsHold) foot = 1 - f;
  }
  std::stable_sort(out.begin(), out.end(), [](const Step& x, const Step& y) {
    return x.pos < y.pos - kEps || (std::fabs(x.pos - y.pos) < kEps && x.col < y.col);
  });
  (void)ncols;
  return out;
}

int Chart_Level(const std::vector<Step>& steps, const TempoMap& tm) {
  if (steps.empty()) return 1;
  double t0 = tm.Seconds(steps.front().pos), t1 = tm.Seconds(steps.back().end);
  int rows = 0, jumps = 0, freezes = 0;
  for (size_t i = 0; i < steps.size(); i++) {
    if (i == 0 || std::fabs(steps[i].pos - steps[i - 1].pos) > kEps)
      rows++;
    else
      jumps++;
    if (steps[i].end > steps[i].pos) freezes++;
  }
  double nps = rows / std::max(1.0, t1 - t0);
  double level = 1 + nps * 1.45 + (double)jumps / rows * 2 + (freezes > 0 ? 0.3 : 0);
  return std::clamp((int)std::lround(level), 1, 10);
}

namespace {
// Row characters by the set of columns, bits Left 1, Down 2, Up 4, Right 8, Up-Left 16, Up-Right 32.
char RowChar(int mask) {
  switch (mask) {
    case 0: return '0';
    case 1: return '4';
    case 2: return '2';
    case 4: return '8';
    case 8: return '6';
    case 16: return 'C';
    case 32: return 'D';
    case 1 | 2: return '1';
    case 2 | 8: return '3';
    case 4 | 1: return '7';
    case 4 | 8: return '9';
    case 4 | 2: return 'A';
    case 1 | 8: return 'B';
    case 16 | 1: return 'E';
    case 16 | 2: return 'F';
    case 16 | 4: return 'G';
    case 16 | 8: return 'H';
    case 32 | 1: return 'I';
    case 32 | 2: return 'J';
    case 32 | 4: return 'K';
    case 32 | 8: return 'L';
    case 16 | 32: return 'M';
    default: return '?';
  }
}
// Column number (within the pad) to its bit: Left, Down, Up, Right, Up-Left, Up-Right.
int Bit(int col) { return 1 << col; }
}  // namespace

std::string Chart_StepData(const std::vector<Step>& steps, int first, int count, int bars) {
  struct Row {
    int mask = 0, freezeMask = 0;
  };
  std::map<long, Row> rows;  // keyed by 48ths
  for (auto& s : steps) {
    if (s.col < first || s.col >= first + count) continue;
    int bit = Bit(s.col - first);
    Row& r = rows[Key(s.pos)];
    r.mask |= bit;
    if (s.end > s.pos + kEps) {
      r.freezeMask |= bit;
      rows[Key(s.end)].mask |= bit;  // the arrow that ends the freeze
    }
  }
  std::string out;
  int lastBar = bars;
  if (!rows.empty()) lastBar = std::max(lastBar, (int)(rows.rbegin()->first / 48) + 1);
  for (int bar = 0; bar < lastBar; bar++) {
    for (int beat = 0; beat < 4; beat++) {
      long b0 = (long)(bar * 16 + beat * 4) * 3;  // in 48ths
      // the coarsest row step that holds every row of this beat
      static const struct {
        int step48;
        char open, close;
      } grids[4] = {{6, 0, 0}, {3, '(', ')'}, {2, '[', ']'}, {1, '`', '\''}};
      int g = 0;
      for (; g < 3; g++) {
        bool fits = true;
        for (auto it = rows.lower_bound(b0); it != rows.end() && it->first < b0 + 12; ++it)
          if ((it->first - b0) % grids[g].step48 != 0) fits = false;
        if (fits) break;
      }
      if (grids[g].open) out += grids[g].open;
      int per = g == 3 ? 12 : 12 / grids[g].step48;
      for (int i = 0; i < per; i++) {
        long k = g == 3 ? b0 + i : b0 + (long)i * grids[g].step48;
        auto it = rows.find(k);
        if (g == 3) {
          // 192nds: one row per 16 of them is a 48th; pad the rest
          out += it == rows.end() ? '0' : RowChar(it->second.mask);
          if (it != rows.end() && it->second.freezeMask) {
            out += '!';
            out += RowChar(it->second.freezeMask);
          }
          out += "000";
          continue;
        }
        if (it == rows.end()) {
          out += '0';
          continue;
        }
        out += RowChar(it->second.mask);
        if (it->second.freezeMask) {
          out += '!';
          out += RowChar(it->second.freezeMask);
        }
      }
      if (grids[g].close) out += grids[g].close;
    }
    out += '\n';
  }
  return out;
}

std::string Chart_Check(const std::vector<Step>& steps, int columns) {
  std::map<long, int> perRow;
  std::vector<double> heldUntil(columns, -1), heldFrom(columns, -1);
  for (auto& s : steps) {
    if (s.col < 0 || s.col >= columns) return Fmt("column %d out of range", s.col);
    long k = Key(s.pos);
    if (std::fabs(k / 3.0 - s.pos) > 1e-6) return Fmt("position %.4f is off the grid", s.pos);
    perRow[k]++;
    if (s.end > s.pos) perRow[Key(s.end)]++;
  }
  for (auto& [k, n] : perRow) {
    if (n > (columns == 8 ? 4 : 2)) return Fmt("%d arrows at position %.3f", n, k / 3.0);
  }
  // on DOUBLE each pad holds at most two arrows a row
  if (columns == 8) {
    std::map<long, int> left, right;
    for (auto& s : steps) {
      auto& m = s.col < 4 ? left : right;
      m[Key(s.pos)]++;
      if (s.end > s.pos) m[Key(s.end)]++;
    }
    for (auto* m : {&left, &right})
      for (auto& [k, n] : *m)
        if (n > 2) return Fmt("%d arrows on one pad at %.3f", n, k / 3.0);
  }
  for (auto& s : steps) {
    for (auto& t : steps) {
      if (t.col != s.col || s.end <= s.pos || &t == &s) continue;
      if (t.pos > s.pos - 1e-9 && t.pos < s.end + 1e-9)
        return Fmt("an arrow at %.3f in column %d lands inside a freeze %.3f..%.3f", t.pos, t.col, s.pos, s.end);
    }
  }
  return "";
}
