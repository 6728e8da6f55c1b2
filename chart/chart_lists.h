#pragma once
// The "#CHANGEBPM:" and "#FREEZE:" lists of a chart file.
#include <cstdint>
#include <string_view>
#include "chart/chart.h"

// Reads "position=value,position=value..." (the value of the tag, without the
// ";"). The array is allocated for the number of "=" signs; pairs that are not
// two numbers, or whose values are out of range, are left out and logged; the
// kept pairs are put in order of position (stable). Returns false only when
// memory runs out. `*out` is nullptr when nothing was kept.
bool ChartLists_ReadBpmChanges(std::string_view value, BpmChange** out, int32_t* count);
bool ChartLists_ReadStops(std::string_view value, FreezeStop** out, int32_t* count);
