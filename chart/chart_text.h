#pragma once
// Reading the chart file's text: comment blanking, tag search and the number
// syntax of the tag values. Numbers are read without regard to the locale.
#include <cstdint>
#include <string>
#include <string_view>

// A leading byte-order mark goes, CR LF and a lone CR become LF; every "//" and the rest of its line become spaces.
void ChartText_Prepare(std::string& text);

// Offset just after the first occurrence of `tag`, or npos.
size_t ChartText_FindValue(std::string_view text, std::string_view tag);
// The value starting at `start` up to the next ";" (or the end of the text).
std::string_view ChartText_Value(std::string_view text, size_t start);

// A decimal number at the start of `s` after blanks: sign, digits, an optional
// fraction and exponent. False when there is no number or it is out of range
// (the result is then 0).
bool ChartText_Decimal(std::string_view s, double& out);
// A whole number at the start of `s` after blanks, clamped to 32 bits; 0 when none.
int32_t ChartText_Integer(std::string_view s);
