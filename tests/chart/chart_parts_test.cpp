// The pieces the loader is built from: the text helpers, the counting pass, the
// stable sort of DOUBLE and the chord rings, the latter two against the plain
// algorithm written out the long way.
#include <gtest/gtest.h>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>
#include <vector>
#include "chart/chart_finish.h"
#include "chart/chart_text.h"
#include "chart/random.h"
#include "chart/step_data.h"

namespace {

TEST(ChartText, PrepareFoldsLinesAndBlanksComments) {
  // a lone CR ends a line too (charts saved on old Macs), and a leading
  // byte-order mark goes
  std::string t = "\xEF\xBB\xBF" "a//x\r\nb\r\rc// y//z\n//\r\nd//\re//f";
  ChartText_Prepare(t);
  EXPECT_EQ(t, "a   \nb\n\nc       \n  \nd  \ne   ");
}

TEST(ChartText, Decimals) {
  struct {
    const char* text;
    bool ok;
    double value;
  } cases[] = {
      {"120", true, 120},     {" \n\t 99.5;", true, 99.5}, {".5", true, 0.5},    {"5.", true, 5},
      {"+7", true, 7},        {"-2.25x", true, -2.25},     {"1e3", true, 1000},  {"1e", true, 1},
      {"", false, 0},         {"x1", false, 0},            {"nan", false, 0},    {"-inf", false, 0},
      {"0x10", true, 0},      {"- 3", false, 0},           {"1e999", false, 0},  {"--1", false, 0},
  };
  for (const auto& c : cases) {
    double v = -1;
    EXPECT_EQ(ChartText_Decimal(c.text, v), c.ok) << c.text;
    EXPECT_DOUBLE_EQ(v, c.value) << c.text;
  }
}

TEST(ChartText, Integers) {
  EXPECT_EQ(ChartText_Integer(" -150;"), -150);
  EXPECT_EQ(ChartText_Integer("+42.9"), 42);
  EXPECT_EQ(ChartText_Integer("x"), 0);
  EXPECT_EQ(ChartText_Integer("2147483648"), INT32_MAX);
  EXPECT_EQ(ChartText_Integer("-2147483648"), INT32_MIN);
  EXPECT_EQ(ChartText_Integer("-99999999999999999999999"), INT32_MIN);
}

TEST(ChartText, TagValues) {
  std::string_view t = "#A:1;#B:22";
  size_t a = ChartText_FindValue(t, "#A:");
  EXPECT_EQ(ChartText_Value(t, a), "1");
  EXPECT_EQ(ChartText_Value(t, ChartText_FindValue(t, "#B:")), "22");
  EXPECT_EQ(ChartText_FindValue(t, "#C:"), std::string_view::npos);
  EXPECT_EQ(ChartText_Value(t, t.size()), "");
}

TEST(StepData, RowMasksAndCounts) {
  const char* one = "2468CD";
  const char* two = "1379ABEFGHIJKLM";
  for (const char* c = one; *c; c++) EXPECT_EQ(__builtin_popcount(Steps_RowMask(*c)), 1) << *c;
  for (const char* c = two; *c; c++) EXPECT_EQ(__builtin_popcount(Steps_RowMask(*c)), 2) << *c;
  EXPECT_EQ(Steps_RowMask('0'), 0);
  EXPECT_EQ(Steps_RowMask('5'), 0);
  EXPECT_EQ(Steps_RowMask('a'), -1);
  EXPECT_EQ(Steps_RowMask('N'), -1);
  int64_t n[2];
  Steps_Count("1!8 2 : 44", LAYOUT_SINGLE, n);
  EXPECT_EQ(n[0], 2 + 1 + 1 + 2);   // the marker's column is room for its freeze record
  EXPECT_EQ(n[1], 0);
  Steps_Count("1!8 2 : 44 : 8", LAYOUT_COUPLE, n);
  EXPECT_EQ(n[0], 4);
  EXPECT_EQ(n[1], 3);
  Steps_Count("!", LAYOUT_SINGLE, n);
  EXPECT_EQ(n[0], 0);
}

TEST(StepData, ColourClasses) {
  int c, ph;
  Steps_Colour(0, c, ph);
  EXPECT_EQ(c, 0);
  EXPECT_EQ(ph, 15);
  Steps_Colour(12, c, ph);
  EXPECT_EQ(c, 0);
  EXPECT_EQ(ph, 15);
  Steps_Colour(3.995, c, ph);   // within 0.01 before the beat counts as on it
  EXPECT_EQ(c, 0);
  Steps_Colour(2, c, ph);
  EXPECT_EQ(c, 1);
  EXPECT_EQ(ph, 7);
  Steps_Colour(1, c, ph);
  EXPECT_EQ(c, 2);
  EXPECT_EQ(ph, 3);
  Steps_Colour(3, c, ph);
  EXPECT_EQ(c, 2);
  EXPECT_EQ(ph, 11);
  Steps_Colour(1.0 / 12, c, ph);   // a 192nd: rounds to the start of the beat
  EXPECT_EQ(c, 2);
  EXPECT_EQ(ph, -1);
}

// Random arrays whose positions repeat and run out of order.
std::vector<Arrow> RandomArrows(std::mt19937& rng, int n, bool sorted) {
  std::vector<Arrow> a(n);
  std::uniform_int_distribution<int> pos(0, n / 2), kind(0, 9), jitter(0, 4);
  for (int i = 0; i < n; i++) {
    memset(&a[i], 0, sizeof a[i]);
    a[i].startPos = pos(rng) * 0.5 + jitter(rng) * 0.01;
    a[i].kind = kind(rng) < 8 ? ARROW_TAP : ARROW_IGNORED;
    a[i].chordNext = -1;
    a[i].freezeLink = -1;
    a[i].column = (uint8_t)i;
  }
  if (sorted) std::stable_sort(a.begin(), a.end(), [](const Arrow& x, const Arrow& y) { return x.startPos < y.startPos; });
  return a;
}

TEST(StepData, SortIsAStableInsertion) {
  std::mt19937 rng(7);
  for (int round = 0; round < 50; round++) {
    std::vector<Arrow> a = RandomArrows(rng, 1 + round * 3, false);
    for (size_t i = 0; i < a.size(); i++) a[i].freezeLink = (int32_t)(rng() % a.size());
    // the records by the plain insertion: move each in front of the first greater one
    std::vector<Arrow> want = a;
    std::vector<int> id(a.size());
    for (size_t i = 0; i < id.size(); i++) id[i] = (int)i;
    for (size_t i = 1; i < want.size(); i++) {
      size_t j = i;
      while (j > 0 && want[j - 1].startPos > want[j].startPos) {
        std::swap(want[j - 1], want[j]);
        std::swap(id[j - 1], id[j]);
        j--;
      }
    }
    Steps_SortByStart(a.data(), (int32_t)a.size());
    for (size_t i = 0; i < a.size(); i++) {
      EXPECT_EQ(a[i].column, want[i].column);
      // the link still names the same record, now at its new index
      int target = want[i].freezeLink;
      int now = (int)(std::find(id.begin(), id.end(), target) - id.begin());
      EXPECT_EQ(a[i].freezeLink, now);
    }
  }
}

// Chord rings the long way: every start scans the whole rest of the array.
void PlainChords(std::vector<Arrow>& a) {
  int n = (int)a.size();
  int i = 0;
  while (i < n) {
    if (a[i].kind != ARROW_TAP) {
      i++;
      continue;
    }
    std::vector<int> g;
    for (int j = i + 1; j < n; j++)
      if (a[j].kind == ARROW_TAP && std::fabs(a[j].startPos - a[i].startPos) < 0.03) g.push_back(j);
    if (g.empty()) {
      i++;
      continue;
    }
    int prev = i;
    for (int m : g) {
      a[m].chordNext = prev;
      prev = m;
    }
    a[i].chordNext = g.back();
    i = g.back() + 1;
  }
}

TEST(StepData, ChordRingsMatchTheLongWay) {
  std::mt19937 rng(11);
  for (int round = 0; round < 60; round++) {
    std::vector<Arrow> a = RandomArrows(rng, 2 + round * 5, round % 2 == 0);
    std::vector<Arrow> want = a;
    PlainChords(want);
    Chart_LinkChords(a.data(), (int32_t)a.size(), 0);
    for (size_t i = 0; i < a.size(); i++) EXPECT_EQ(a[i].chordNext, want[i].chordNext) << round << " " << i;
  }
}

TEST(RandomGenerator, SeededAndInRange) {
  Random_Seed(42);
  int first[8];
  for (int& v : first) v = Random_Next();
  Random_Seed(42);
  for (int v : first) EXPECT_EQ(Random_Next(), v);
  Random_Seed(1);
  EXPECT_EQ(Random_Next(), 41);   // the classic sequence from seed 1
  EXPECT_EQ(Random_Next(), 18467);
  int hits[4] = {};
  for (int i = 0; i < 40000; i++) {
    int v = Random_Below(4);
    ASSERT_GE(v, 0);
    ASSERT_LT(v, 4);
    hits[v]++;
  }
  for (int h : hits) EXPECT_NEAR(h, 10000, 500);
}

}  // namespace
