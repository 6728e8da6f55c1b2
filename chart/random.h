#pragma once
// The game's pseudo-random generator: values 0 to 32767, the same sequence on
// every platform for the same seed, so a seeded SHUFFLE is reproducible.
#include <cstdint>

constexpr int kRandomMax = 32767;

void Random_Seed(uint32_t seed);
int Random_Next();                 // 0 .. 32767
int Random_Below(int n);           // 0 .. n-1, scaled from Random_Next (n >= 1)
