#include "play/judge.h"
#include <cmath>
#include <cstdlib>
#include "platform/log.h"
#include "chart/chart.h"
#include "library/settings.h"
#include "play/combo.h"
#include "play/judge_internal.h"
#include "play/judgement.h"
#include "play/player.h"
#include "play/score.h"

namespace {
// Dance points of a row by judgement; BOO and MISS cost nothing in a nonstop course.
constexpr int kRowDancePoints[5] = {2, 1, 0, -4, -8};

bool ValidIndex(const Player& p, int32_t i) { return i >= 0 && i < p.arrowCount; }

// Calls f(index) for every member of the row of `start` (its chord ring). A ring
// that does not close is followed no further than the array is long.
template <typename F>
void ForRow(const Player& p, int32_t start, F f) {
  int32_t i = start;
  for (int32_t steps = 0; steps < p.arrowCount; steps++) {
    f(i);
    i = p.arrows[i].chordNext;
    if (i == start || !ValidIndex(p, i)) return;
  }
}

bool RowComplete(const Player& p, int32_t start) {
  bool all = true;
  ForRow(p, start, [&](int32_t i) { all = all && p.arrows[i].status == NOTE_PRESSED; });
  return all;
}

int32_t ClampMs(int64_t ms) {
  if (ms > INT32_MAX) return INT32_MAX;
  if (ms < INT32_MIN) return INT32_MIN;
  return (int32_t)ms;
}

// Everything a row changes, once, with the worst judgement of its notes.
void JudgeRow(JudgePlay& jp, int pi, int32_t start, int64_t ms, const JudgeClock& clock) {
  Player& p = *jp.players[pi];
  int j = JUDGE_PERFECT, notes = 0;
  int32_t last = start;
  ForRow(p, start, [&](int32_t i) {
    int own = p.arrows[i].judgement[kOwnJudgement];
    if (own > j) j = own;
    if (i > last) last = i;
    notes++;
  });
  if (j > JUDGE_MISS) j = JUDGE_MISS;
  ForRow(p, start, [&](int32_t i) {
    p.arrows[i].judgement[kOwnJudgement] = j;
    p.arrows[i].status = NOTE_JUDGED;
  });
  p.judgementCounts[j]++;
  p.lastJudgement = (uint8_t)j;
  p.lastJudgementTime = ClampMs(ms);
  if (last > p.lastJudgedNote) p.lastJudgedNote = last;
  Judge_Event(jp, JEV_ROW, pi, j, start, notes, ms);

  ComboChange c = Combo_Row(p, notes, j);
  if (c.broken > 0) Judge_Event(jp, JEV_COMBO_BROKEN, pi, -1, start, c.broken, ms);
  if (c.milestone > 0) Judge_Event(jp, JEV_COMBO_MILESTONE, pi, -1, start, c.milestone, ms);
  if (c.lifeLost) Judge_Event(jp, JEV_LIFE_LOST, pi, -1, start, p.batteryLives, ms);

  if (!(jp.course && j >= JUDGE_BOO)) p.dancePoints += kRowDancePoints[j];
  if (j == JUDGE_PERFECT) p.chordBonus += notes - 1;
  ForRow(p, start, [&](int32_t i) { AddScore(p, p.arrows[i], j); });
  Judge_ApplyLife(jp, pi, LifeDelta(j, p.lifeType, p.recoveryLevel), ms);
  if (c.livesOut && Life_Fail(p)) Judge_Event(jp, JEV_DIED, pi, -1, start, 0, ms);

  // a freeze head's row decides whether its freeze is held
  ForRow(p, start, [&](int32_t i) {
    int32_t f = p.arrows[i].freezeLink;
    if (ValidIndex(p, f) && p.arrows[f].kind == ARROW_FREEZE) Judge_FreezeStart(jp, pi, f, j, clock);
  });
}

// Marks a pending note pressed with the distance `delta`; judges its row when it
// is the last of the row.
void PressRecord(JudgePlay& jp, int pi, int32_t i, int j, double delta, int64_t ms, const JudgeClock& clock) {
  Player& p = *jp.players[pi];
  Arrow& a = p.arrows[i];
  a.status = NOTE_PRESSED;
  a.judgement[kOwnJudgement] = j;
  a.judgement[kPressOffset] = (int32_t)std::lround(delta);
  if (RowComplete(p, i)) JudgeRow(jp, pi, i, ms, clock);
  Judge_Advance(p);
}

Player* Playing(JudgePlay& jp, int pi) {
  if (pi < 0 || pi > 1) return nullptr;
  Player* p = jp.players[pi];
  return p && p->arrows && p->arrowCount > 0 ? p : nullptr;
}
}  // namespace

LifeRules Judge_LifeRules(const JudgePlay& jp, int pi) {
  LifeRules r{};
  r.twoPlayer = jp.players[0] && jp.players[1];
  r.revive = jp.revive != 0;
  r.other = r.twoPlayer ? jp.players[1 - pi] : nullptr;
  return r;
}

void Judge_Event(JudgePlay& jp, int kind, int pi, int judgement, int32_t note, int32_t value, int64_t ms) {
  JudgeEvent e{};
  e.kind = (uint8_t)kind;
  e.player = (uint8_t)pi;
  e.judgement = (int8_t)judgement;
  e.note = note;
  e.value = value;
  e.ms = ms;
  JudgeEvents_Add(jp.events, e);
}

void Judge_ApplyLife(JudgePlay& jp, int pi, int delta, int64_t ms) {
  Player& p = *jp.players[pi];
  int flags = Life_Apply(p, delta, Judge_LifeRules(jp, pi));
  if (flags & LIFE_CHANGE_DIED) Judge_Event(jp, JEV_DIED, pi, -1, -1, 0, ms);
  if (flags & LIFE_CHANGE_REVIVED) Judge_Event(jp, JEV_REVIVED, pi, -1, -1, 0, ms);
  if (!jp.cues) return;
  if ((flags & LIFE_CHANGE_FULL) && (!jp.fullCueGiven || ms - jp.lastFullCueMs > kCueRepeatMs)) {
    jp.fullCueGiven = 1;
    jp.lastFullCueMs = ms;
    Judge_Event(jp, JEV_CUE_FULL_GAUGE, pi, -1, -1, p.life, ms);
  }
  if ((flags & LIFE_CHANGE_DANGER) && (!jp.dangerCueGiven || ms - jp.lastDangerCueMs > kCueRepeatMs)) {
    jp.dangerCueGiven = 1;
    jp.lastDangerCueMs = ms;
    Judge_Event(jp, JEV_CUE_DANGER, pi, -1, -1, p.life, ms);
  }
}

void Judge_Advance(Player& p) {
  while (p.judgeFrom < p.arrowCount) {
    const Arrow& a = p.arrows[p.judgeFrom];
    bool open = (a.kind == ARROW_TAP && a.status != NOTE_JUDGED) || (a.kind == ARROW_FREEZE && a.status == FREEZE_WAITING);
    if (open) return;
    p.judgeFrom++;   // held freezes are followed through holdNote
  }
}

int JudgePress(JudgePlay& jp, int pi, int column, int64_t pressMs, const JudgeClock& clock) {
  Player* pp = Playing(jp, pi);
  if (!pp || !JudgeClock_Usable(clock)) return -1;
  if (column < 0 || column >= kColumnSlots) {
    WriteLogf("Press in column %d ignored: no such column\n", column);
    return -1;
  }
  Player& p = *pp;
  for (int32_t i = p.judgeFrom; i < p.arrowCount; i++) {
    const Arrow& a = p.arrows[i];
    if (a.kind != ARROW_TAP) continue;
    double d = Judge_Delta(clock, a.startPos, pressMs);
    if (d >= p.windows[JUDGE_BOO]) break;   // this record and every later one are still out of reach
    if (a.status != NOTE_PENDING || a.column != column || i <= p.lastJudgedNote) continue;
    int j = Judge_Classify(std::fabs(d), p.windows);
    if (j < 0) continue;   // too late to press: it is about to be missed
    PressRecord(jp, pi, i, j, d, pressMs, clock);
    return i;
  }
  return -1;
}

int Judge_PressNote(JudgePlay& jp, int pi, int note, int64_t pressMs, const JudgeClock& clock) {
  Player* pp = Playing(jp, pi);
  if (!pp || !JudgeClock_Usable(clock) || !ValidIndex(*pp, note)) return -1;
  const Arrow& a = pp->arrows[note];
  if (a.kind != ARROW_TAP || a.status != NOTE_PENDING) return -1;
  double d = Judge_Delta(clock, a.startPos, pressMs);
  int j = Judge_Classify(std::fabs(d), pp->windows);
  if (j < 0) return -1;
  PressRecord(jp, pi, note, j, d, pressMs, clock);
  return note;
}

void JudgeMisses(JudgePlay& jp, int pi, const JudgeClock& clock) {
  Player* pp = Playing(jp, pi);
  if (!pp || !JudgeClock_Usable(clock)) return;
  Player& p = *pp;
  double bound = -(double)p.windows[JUDGE_BOO];
  for (int32_t i = p.judgeFrom; i < p.arrowCount; i++) {
    Arrow& a = p.arrows[i];
    if (a.kind != ARROW_TAP) continue;
    if (!(Judge_Delta(clock, a.startPos, clock.songMs) < bound)) break;   // later records are later still
    if (a.status != NOTE_PENDING) continue;
    // the whole row goes at once: its unpressed notes are MISS, and so is the row
    ForRow(p, i, [&](int32_t k) {
      Arrow& m = p.arrows[k];
      if (m.status != NOTE_PENDING) return;
      m.status = NOTE_PRESSED;
      m.judgement[kOwnJudgement] = JUDGE_MISS;
      m.judgement[kPressOffset] = 0;
    });
    JudgeRow(jp, pi, i, clock.songMs, clock);
  }
  Judge_Advance(p);
}

int Judge_RowNotes(const Player& p, int note) {
  if (!p.arrows || !ValidIndex(p, note)) return 0;
  int n = 0;
  ForRow(p, note, [&](int32_t) { n++; });
  return n;
}

void Judge_BeginSong(JudgePlay& jp, Player* players, bool course, bool testPlay) {
  for (int i = 0; i < 2; i++) jp.players[i] = players && players[i].active ? &players[i] : nullptr;
  jp.course = course ? 1 : 0;
  jp.revive = g_settings.revive ? 1 : 0;
  jp.cues = testPlay ? 0 : 1;
  jp.fullCueGiven = jp.dangerCueGiven = 0;
  jp.lastFullCueMs = jp.lastDangerCueMs = 0;
  JudgeEvents_Clear(jp.events);
}
