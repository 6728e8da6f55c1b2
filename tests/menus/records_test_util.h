#pragma once
// Records tables made in memory for the records browser's tests: records with
// their results and notes, and the courses of a small library.
#include "collection_test_util.h"
#include "library/record_notes.h"
#include "library/records.h"
#include <cstdio>
#include <string>

// The record of `key`, made (with these first-seen time and counters) when the table has none.
inline int RecordOf(RecordTable& t, const std::string& key, int32_t firstSeen = 1000, int64_t counter = 0) {
  auto it = t.index.find(key);
  if (it != t.index.end()) return it->second;
  SongRecord r = Records_New(key.c_str(), firstSeen);
  for (int64_t& c : r.counters) c = counter;
  t.records.push_back(r);
  t.results.emplace_back();
  int i = (int)t.records.size() - 1;
  t.index[key] = i;
  return i;
}

struct StoredResult {
  int styleKey = 4, difficulty = 0;
  double score = 0;
  int tenths = 0, grade = 0;
  int combo = 0;
  int64_t at = 0;            // the day of the best score
  const char* holder = nullptr;
  uint32_t timeMs = 0;       // a course's
  int stage = 1;             // a course's
};

inline void AddResult(RecordTable& t, const std::string& key, const StoredResult& s) {
  int i = RecordOf(t, key);
  Result r{};
  r.bestScore = s.score;
  r.bestA = s.tenths;
  r.bestGrade = (uint8_t)s.grade;
  r.bestB = s.timeMs;
  r.bestC = s.stage;
  storeResult(t, i, s.styleKey, s.difficulty, s.timeMs != 0, r);
  if (s.holder) setHolder(t, i, s.styleKey, s.difficulty, s.holder);
  if (s.combo || s.at) storeNote(t, key.c_str(), s.styleKey, s.difficulty, s.combo, s.at != 0, s.at);
}

// A course of the library from its "#SONG:" lines (and other tags).
inline void AddCourse(const char* name, const std::string& lines) {
  Course c;
  Course_Defaults(c);
  c.valid = 1;
  snprintf(c.folder, sizeof c.folder, "%s", "Tests");
  Course_ParseText(std::string("#COURSE:") + name + ";\n" + lines, c);
  c.index = (int)g_courses.size();
  g_courses.push_back(c);
}
