#include "play/score.h"
#include <cstdio>
#include "chart/chart.h"
#include "play/judgement.h"
#include "play/player.h"

namespace {
// Half of a PERFECT chart's points per rating step: one unit of weight.
constexpr int64_t kPointsPerUnit = 5000000;

void Rewrite(Player& p) {
  p.scorePoints = p.scoreBase + Score_SongPoints(p.scoreUnits, p.level, p.stepTriangle);
  Score_Format(p.scorePoints, p.scoreText, sizeof p.scoreText);
}
}  // namespace

void Score_Format(int64_t points, char* out, size_t outSize) {
  if (!out || outSize == 0) return;
  if (points < 0) points = 0;
  // right to left: the digits (at least kScoreDigits), then blanks to the full width
  char text[kScoreWidth + 1];
  int at = kScoreWidth;
  text[at] = 0;
  uint64_t v = (uint64_t)points;
  for (int n = 0; at > 0 && (n < kScoreDigits || v > 0); n++, v /= 10) text[--at] = (char)('0' + v % 10);
  while (at > 0) text[--at] = ' ';
  snprintf(out, outSize, "%s", text);
}

void Score_Reset(Player& p) {
  p.scoreBase = 0;
  p.scoreUnits = 0;
  p.scorePoints = 0;
  Score_Format(0, p.scoreText, sizeof p.scoreText);
}

void Score_NextSong(Player& p) {
  p.scoreBase = p.scorePoints;
  p.scoreUnits = 0;
}

int64_t Score_SongPoints(int64_t units, int rating, int64_t stepTriangle) {
  if (stepTriangle <= 0 || rating <= 0 || units <= 0) return 0;   // no judged records: nothing to share out
  if (rating > kMaxScoredRating) rating = kMaxScoredRating;
  if (units > 2 * stepTriangle) units = 2 * stepTriangle;        // never more than a PERFECT chart
  // units <= 2 x 2^31 and rating x kPointsPerUnit < 2^27: the product fits 64 bits
  return units * rating * kPointsPerUnit / stepTriangle;
}

void AddScore(Player& p, const Arrow& note, int judgement) {
  int per = judgement == JUDGE_PERFECT ? 2 : judgement == JUDGE_GREAT ? 1 : 0;
  if (per == 0 || note.stepNumber <= 0) return;
  p.scoreUnits += (int64_t)per * note.stepNumber;
  Rewrite(p);
}

int64_t Score_Value(const Player& p) { return p.scorePoints; }
