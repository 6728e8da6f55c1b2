#include "chart/step_data.h"
#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <numeric>
#include <vector>
#include "platform/log.h"
#include "chart/arrow_images.h"
#include "chart/player_record.h"

namespace {
constexpr int kL = 1, kD = 2, kU = 4, kR = 8, kUL = 16, kUR = 32;

struct RowTable {
  int8_t mask[256];
  constexpr void Set(char c, int m) { mask[(unsigned char)c] = (int8_t)m; }
  constexpr RowTable() : mask{} {
    for (int i = 0; i < 256; i++) mask[i] = -1;
    Set('0', 0), Set('5', 0);
    Set('1', kL | kD), Set('2', kD), Set('3', kD | kR), Set('4', kL);
    Set('6', kR), Set('7', kU | kL), Set('8', kU), Set('9', kU | kR);
    Set('A', kU | kD), Set('B', kL | kR), Set('C', kUL), Set('D', kUR);
    Set('E', kUL | kL), Set('F', kUL | kD), Set('G', kUL | kU), Set('H', kUL | kR);
    Set('I', kUR | kL), Set('J', kUR | kD), Set('K', kUR | kU), Set('L', kUR | kR);
    Set('M', kUL | kUR);
  }
};
constexpr RowTable kRows;

// x of each column within a SOLO field: Left, Down, Up, Right, Up-Left, Up-Right
constexpr int kSoloX[6] = {0, 140, 210, 350, 70, 280};
constexpr double kRowStep = 2.0;

struct Parser {
  StepLayout layout;
  StepTarget* targets;
  const int* shuffle;
  int current = 0;        // target being filled
  bool secondHalf = false;
  double pos = 0, step = kRowStep, savedStep = kRowStep;
  bool inChord = false;
  int32_t open[kColumnSlots];     // the column's pending freeze, -1 none
  int32_t recent[kColumnSlots];   // the column's most recent arrow that may head a freeze, -1 none
  int padX = 0, columnBase = 0;
  bool toldCorners = false, toldColon = false, toldMarker = false, toldFull = false;

  void ResetColumns() {
    for (int i = 0; i < kColumnSlots; i++) open[i] = recent[i] = -1;
  }
  void StartHalf() {
    pos = 0;
    step = kRowStep;
    inChord = false;
    ResetColumns();
    StepTarget& t = targets[current];
    bool rightPad = false;
    if (layout == LAYOUT_DOUBLE) rightPad = secondHalf != (t.player->options.turn == TURN_MIRROR);
    padX = rightPad ? 280 : 0;
    columnBase = rightPad ? COL_RIGHT_PAD : 0;
  }

  int Turn(int mask) const {
    int turn = targets[current].player->options.turn;
    // where Left, Down, Up, Right go
    int dest[4] = {0, 1, 2, 3};
    switch (turn) {
      case TURN_LEFT: dest[0] = 1, dest[1] = 3, dest[2] = 0, dest[3] = 2; break;
      case TURN_MIRROR: dest[0] = 3, dest[1] = 2, dest[2] = 1, dest[3] = 0; break;
      case TURN_RIGHT: dest[0] = 2, dest[1] = 0, dest[2] = 3, dest[3] = 1; break;
      case TURN_SHUFFLE: for (int i = 0; i < 4; i++) dest[i] = shuffle[i] & 3; break;
      default: break;
    }
    int out = mask & (kUL | kUR);
    for (int i = 0; i < 4; i++)
      if (mask & (1 << i)) out |= 1 << dest[i];
    return out;
  }

  Arrow* NewRecord(int slot, int colourClass, int beatPhase, int kind) {
    StepTarget& t = targets[current];
    if (t.used >= t.capacity) {
      if (!toldFull) WriteLog("Chart data holds more arrows than counted; the rest is left out\n");
      toldFull = true;
      return nullptr;
    }
    Arrow& a = t.arrows[t.used];
    memset(&a, 0, sizeof a);
    const Player& p = *t.player;
    int panel = slot >= COL_RIGHT_PAD ? slot - COL_RIGHT_PAD : slot;
    a.x = p.fieldX + padX + (layout == LAYOUT_SOLO ? kSoloX[panel] : panel * 70);
    a.y = kArrowLoadY;
    a.tapeY = t.pixelsPerBeat * pos / 4.0 + kReceptorY;
    a.visible = 1;
    a.image = ArrowImages_Get(ArrowImages_ColourSets() < 2 ? 0 : colourClass, slot, false);
    a.beatPhase = (int8_t)beatPhase;
    a.kind = (uint8_t)kind;
    a.column = (uint8_t)slot;
    a.chordNext = -1;
    a.status = kArrowLoadStatus;
    a.freezeLink = -1;
    return &a;
  }

  void Row(int mask, bool marker) {
    const Player& p = *targets[current].player;
    int colourClass, beatPhase;
    Steps_Colour(pos, colourClass, beatPhase);
    int kind = ARROW_TAP;
    if (p.options.arrowFilter == FILTER_FLAT) {
      colourClass = 0;
      beatPhase = 0;
    } else if (p.options.arrowFilter == FILTER_LITTLE && colourClass != 0) {
      kind = ARROW_IGNORED;
    }
    mask = Turn(mask);
    if (layout != LAYOUT_SOLO && (mask & (kUL | kUR))) {
      // only the six-panel field has these columns: nobody could step on them
      if (!toldCorners) WriteLog("Up-Left/Up-Right arrows in a chart without those panels are left out\n");
      toldCorners = true;
      mask &= kL | kD | kU | kR;
    }
    StepTarget& t = targets[current];
    for (int bit = 0; bit < 6; bit++) {
      if (!(mask & (1 << bit))) continue;
      int slot = bit < 4 ? columnBase + bit : bit;
      if (marker) {
        int32_t head = recent[slot];
        if (head < 0 || open[slot] >= 0) {
          // nothing (left) in the column to hold: a second marker on one head,
          // or a marker in a column without an arrow
          if (!toldMarker) WriteLog("Freeze marker without an arrow to hold is ignored\n");
          toldMarker = true;
          continue;
        }
        // the freeze takes its colour from where its head stands, not from the
        // row the marker follows
        const Arrow& h = t.arrows[head];
        int headClass, headPhase;
        Steps_Colour(h.startPos, headClass, headPhase);
        if (p.options.arrowFilter == FILTER_FLAT) headClass = 0;
        Arrow* a = NewRecord(slot, headClass, h.beatPhase, ARROW_IGNORED);
        if (!a) continue;
        a->startPos = h.startPos;
        a->endPos = h.endPos;
        a->tapeY = h.tapeY;
        a->image = ArrowImages_Get(ArrowImages_ColourSets() < 2 ? 0 : headClass, slot, true);
        a->freezeLink = head;
        open[slot] = t.used;
        recent[slot] = -1;   // one freeze per head
        t.used++;
      } else if (open[slot] >= 0) {
        Arrow& f = t.arrows[open[slot]];
        f.endPos = pos;
        f.kind = ARROW_FREEZE;
        memset(f.freezeState, 0, sizeof f.freezeState);
        open[slot] = -1;
      } else {
        Arrow* a = NewRecord(slot, colourClass, beatPhase, kind);
        if (!a) continue;
        a->startPos = a->endPos = pos;
        recent[slot] = t.used;
        t.used++;
      }
    }
    if (!marker && step > 0) pos += step;
  }

  void Reverse(StepTarget& t) {
    if (!t.player->options.reverse) return;
    for (int32_t i = 0; i < t.used; i++) {
      t.arrows[i].tapeY = kReverseFlip - t.arrows[i].tapeY;
      t.arrows[i].y = kReverseFlip - t.arrows[i].y;
    }
  }

  void Colon() {
    if (!secondHalf && (layout == LAYOUT_DOUBLE || layout == LAYOUT_COUPLE)) {
      if (layout == LAYOUT_COUPLE) {
        Reverse(targets[0]);
        current = 1;
      }
      secondHalf = true;
      StartHalf();
      return;
    }
    if (!toldColon) WriteLog("Extra ':' in the step data is ignored\n");
    toldColon = true;
  }

  void Run(std::string_view data) {
    StartHalf();
    for (size_t i = 0; i < data.size(); i++) {
      unsigned char c = (unsigned char)data[i];
      int mask = kRows.mask[c];
      if (mask >= 0) {
        Row(mask, false);
        continue;
      }
      switch (c) {
        case '(': step = 1.0; break;
        case '[': step = 2.0 / 3.0; break;
        case '{': step = 0.25; break;
        case '`': step = 1.0 / 12.0; break;
        case ')': case ']': case '}': case '\'': step = kRowStep; break;
        case '<':
          if (!inChord) {
            savedStep = step;
            step = 0;
            inChord = true;
          }
          break;
        case '>':
          if (inChord) {
            step = savedStep;
            inChord = false;
            if (step > 0) pos += step;
          }
          break;
        case '!':
          if (i + 1 < data.size()) {
            int m = kRows.mask[(unsigned char)data[++i]];
            if (m > 0) Row(m, true);
          }
          break;
        case ':': Colon(); break;
        default: break;
      }
    }
    Reverse(targets[current]);
    if (layout == LAYOUT_DOUBLE) Steps_SortByStart(targets[0].arrows, targets[0].used);
  }
};
}  // namespace

int Steps_RowMask(unsigned char c) { return kRows.mask[c]; }

void Steps_Colour(double pos, int& colourClass, int& beatPhase) {
  double q = pos + 0.01;
  double f = q - 4.0 * std::trunc(q / 4.0);
  if (f < 0.02) {
    colourClass = 0, beatPhase = 15;
  } else if (f > 1.97 && f < 2.03) {
    colourClass = 1, beatPhase = 7;
  } else {
    colourClass = 2;
    beatPhase = (int)std::floor(f * 4.0 + 0.5) - 1;
  }
}

void Steps_Count(std::string_view data, StepLayout layout, int64_t records[2]) {
  records[0] = records[1] = 0;
  int who = 0;
  bool split = false;
  for (size_t i = 0; i < data.size(); i++) {
    unsigned char c = (unsigned char)data[i];
    int mask = kRows.mask[c];
    if (mask > 0) {
      records[who] += std::popcount((unsigned)mask);
    } else if (c == '!') {
      // the marker's columns may each open a freeze record of their own
      if (i + 1 < data.size()) {
        int m = kRows.mask[(unsigned char)data[++i]];
        if (m > 0) records[who] += std::popcount((unsigned)m);
      }
    } else if (c == ':' && layout == LAYOUT_COUPLE && !split) {
      split = true;
      who = 1;
    }
  }
}

void Steps_Parse(std::string_view data, StepLayout layout, StepTarget* targets, const int shuffle[4]) {
  Parser p;
  p.layout = layout;
  p.targets = targets;
  p.shuffle = shuffle;
  p.Run(data);
}

void Steps_SortByStart(Arrow* arrows, int32_t count) {
  if (count < 2) return;
  bool sorted = true;
  for (int32_t i = 1; i < count && sorted; i++) sorted = arrows[i].startPos >= arrows[i - 1].startPos;
  if (sorted) return;
  std::vector<int32_t> order(count);
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(),
                   [&](int32_t a, int32_t b) { return arrows[a].startPos < arrows[b].startPos; });
  std::vector<int32_t> where(count);
  for (int32_t i = 0; i < count; i++) where[order[i]] = i;
  // move the records along the cycles of the permutation: no second array
  std::vector<uint8_t> placed(count, 0);
  for (int32_t i = 0; i < count; i++) {
    if (placed[i]) continue;
    Arrow first = arrows[i];
    int32_t j = i;
    while (order[j] != i) {
      arrows[j] = arrows[order[j]];
      placed[j] = 1;
      j = order[j];
    }
    arrows[j] = first;
    placed[j] = 1;
  }
  for (int32_t i = 0; i < count; i++)
    if (arrows[i].freezeLink >= 0 && arrows[i].freezeLink < count) arrows[i].freezeLink = where[arrows[i].freezeLink];
}
