#pragma once
// The timing of a player's presses after a song: how far each press that judged
// a note lay from it, counted into buckets from early to late across the judging
// range (the BOO window on both sides), with the mean offset and its spread.
#include <cstdint>
#include <vector>

struct Player;

// An odd count, so that the middle bucket is centred on the note.
constexpr int kHistogramBuckets = 41;

struct TimingHistogram {
  int counts[kHistogramBuckets] = {};
  int peak = 0;             // the largest count
  int presses = 0;
  double meanMs = 0;        // positive: late on average
  double spreadMs = 0;      // standard deviation about the mean
  int rangeMs = 140;        // the scale runs from -rangeMs (early) to +rangeMs (late)
  uint16_t windows[4] = {50, 90, 115, 140};   // PERFECT GREAT GOOD BOO
};

// The bucket of a press `lateMs` after its note on a scale of ±rangeMs cut into
// `buckets` equal parts; presses beyond the scale fall into the end buckets.
int Histogram_Bucket(double lateMs, int rangeMs, int buckets);
// The histogram of the offsets with the judgement windows (BOO gives the range;
// windows of 0 fall back to the settings' and then the default ones).
void Histogram_Build(TimingHistogram& h, const std::vector<double>& lateMs, const uint16_t windows[4]);
// The same from the steps of a player's chart that were judged from a press.
void Histogram_OfPlayer(TimingHistogram& h, const Player& p);
// The judgement window (0 PERFECT .. 3 BOO) the middle of a bucket lies in.
int Histogram_BucketWindow(const TimingHistogram& h, int bucket);
