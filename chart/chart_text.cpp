#include "chart/chart_text.h"
#include "platform/files.h"
#include <charconv>
#include <climits>
#include <cstring>

void ChartText_Prepare(std::string& text) {
  Text_NormaliseLines(text);
  size_t pos = 0;
  while ((pos = text.find("//", pos)) != std::string::npos) {
    size_t end = text.find('\n', pos);
    if (end == std::string::npos) end = text.size();
    memset(&text[pos], ' ', end - pos);
    pos = end;
  }
}

size_t ChartText_FindValue(std::string_view text, std::string_view tag) {
  size_t p = text.find(tag);
  return p == std::string_view::npos ? p : p + tag.size();
}

std::string_view ChartText_Value(std::string_view text, size_t start) {
  if (start >= text.size()) return {};
  size_t end = text.find(';', start);
  if (end == std::string_view::npos) end = text.size();
  return text.substr(start, end - start);
}

namespace {
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

std::string_view SkipBlanks(std::string_view s) {
  size_t i = 0;
  while (i < s.size() && IsBlank(s[i])) i++;
  return s.substr(i);
}
}  // namespace

bool ChartText_Decimal(std::string_view s, double& out) {
  out = 0;
  s = SkipBlanks(s);
  bool negative = false;
  if (!s.empty() && (s[0] == '+' || s[0] == '-')) {
    negative = s[0] == '-';
    s.remove_prefix(1);
  }
  // only digits or a point may follow: no "inf", "nan" or hexadecimal forms
  if (s.empty() || !((s[0] >= '0' && s[0] <= '9') || s[0] == '.')) return false;
  double v = 0;
  auto r = std::from_chars(s.data(), s.data() + s.size(), v, std::chars_format::general);
  if (r.ec != std::errc()) return false;
  out = negative ? -v : v;
  return true;
}

int32_t ChartText_Integer(std::string_view s) {
  s = SkipBlanks(s);
  bool negative = false;
  if (!s.empty() && (s[0] == '+' || s[0] == '-')) {
    negative = s[0] == '-';
    s.remove_prefix(1);
  }
  int64_t v = 0;
  size_t i = 0;
  for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; i++) {
    v = v * 10 + (s[i] - '0');
    if (v > (int64_t)INT32_MAX + 1) v = (int64_t)INT32_MAX + 1;   // saturate, keep reading
  }
  if (negative) v = -v;
  if (v > INT32_MAX) v = INT32_MAX;
  if (v < INT32_MIN) v = INT32_MIN;
  return (int32_t)v;
}
