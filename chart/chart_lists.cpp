#include "chart/chart_lists.h"
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <type_traits>
#include <vector>
#include "platform/log.h"
#include "chart/chart_text.h"
#include "chart/timing.h"

namespace {
// Splits at "=" and "," (empty pieces are skipped) and reads the pieces pairwise.
template <typename T, typename Check>
bool ReadPairs(std::string_view value, const char* what, T** out, int32_t* count, Check valid) {
  *out = nullptr;
  *count = 0;
  size_t pairs = (size_t)std::count(value.begin(), value.end(), '=');
  if (pairs == 0) return true;
  T* list = (T*)calloc(pairs, sizeof(T));
  if (!list) return false;
  std::vector<std::string_view> pieces;
  size_t i = 0;
  while (i < value.size()) {
    while (i < value.size() && (value[i] == '=' || value[i] == ',')) i++;
    size_t start = i;
    while (i < value.size() && value[i] != '=' && value[i] != ',') i++;
    if (i > start) pieces.push_back(value.substr(start, i - start));
  }
  size_t kept = 0;
  for (size_t p = 0; p < pieces.size() && p / 2 < pairs; p += 2) {
    double a = 0, b = 0;
    bool ok = p + 1 < pieces.size() && ChartText_Decimal(pieces[p], a) && ChartText_Decimal(pieces[p + 1], b);
    if (!ok || !valid(a, b)) {
      WriteLogf("Skipping %s entry %d: not a usable position and value\n", what, (int)(p / 2 + 1));
      continue;
    }
    list[kept].position = a;
    if constexpr (std::is_same_v<T, BpmChange>) list[kept].bpm = b;
    else list[kept].milliseconds = b;
    kept++;
  }
  if (kept == 0) {
    free(list);
    return true;
  }
  // the play takes the entries in order, each once: an entry out of place would
  // make the position jump back
  if (!std::is_sorted(list, list + kept, [](const T& x, const T& y) { return x.position < y.position; })) {
    WriteLogf("%s entries are not in order of position; sorted\n", what);
    std::stable_sort(list, list + kept, [](const T& x, const T& y) { return x.position < y.position; });
  }
  *out = list;
  *count = (int32_t)kept;
  return true;
}

bool PositionOk(double p) { return std::isfinite(p) && p >= 0 && p <= kMaxListPosition; }
}  // namespace

bool ChartLists_ReadBpmChanges(std::string_view value, BpmChange** out, int32_t* count) {
  return ReadPairs(value, "CHANGEBPM", out, count, [](double p, double bpm) {
    return PositionOk(p) && std::isfinite(bpm) && bpm >= kMinBpm && bpm <= kMaxBpm;
  });
}

bool ChartLists_ReadStops(std::string_view value, FreezeStop** out, int32_t* count) {
  return ReadPairs(value, "FREEZE", out, count, [](double p, double ms) {
    return PositionOk(p) && std::isfinite(ms) && ms > 0 && ms <= kMaxStopMs;
  });
}
