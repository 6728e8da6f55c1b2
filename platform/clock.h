#pragma once
// The game's millisecond clock: monotonic, counted from the first call at start-up
// (the multimedia clock of the original). Scripted input ("/input:") uses the same zero.
#include <cstdint>

void Clock_Start();            // fixes time zero; later calls do nothing
uint32_t Clock_Ms();           // milliseconds since time zero
double Clock_MsPrecise();      // the same with sub-millisecond precision
void Clock_SleepMs(uint32_t ms);
