#pragma once
// The grade of a play from its dance-point percentage.
#include <cstdint>

double Grade_Percent(int32_t dancePoints, int32_t maxDancePoints);
int Grade_Of(double percent);             // 1 AAA .. 7 E
const char* Grade_Name(int grade);        // "AAA" .. "E"
