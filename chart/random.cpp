#include "chart/random.h"

namespace {
uint32_t g_state = 1;
}

void Random_Seed(uint32_t seed) { g_state = seed; }

int Random_Next() {
  // the classic linear congruential step; the upper bits are the better ones
  g_state = g_state * 214013u + 2531011u;
  return (int)((g_state >> 16) & 0x7FFF);
}

int Random_Below(int n) {
  if (n <= 1) return 0;
  return (int)(((int64_t)Random_Next() * n) / (kRandomMax + 1));
}
