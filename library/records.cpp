#include "library/records.h"
#include "library/record_notes.h"
#include "platform/log.h"
#include "platform/files.h"
#include "platform/msgbox.h"
#include <cmath>
#include <cstring>

RecordTable g_records;
bool g_songListLoaded = false;

namespace {
// A damaged file's score that is not a number, or below zero, would be shown as it
// is and could never be beaten; it reads as no score. The number repaired.
int repairScores(std::vector<Result>& rs) {
  int n = 0;
  for (Result& r : rs)
    if (!std::isfinite(r.bestScore) || r.bestScore < 0) r.bestScore = 0, n++;
  return n;
}

void reindex(RecordTable& t) {
  t.index.clear();
  t.index.reserve(t.records.size() * 2);
  for (size_t i = 0; i < t.records.size(); i++) {
    t.records[i].key[255] = 0;
    t.index.emplace(t.records[i].key, (int)i);  // the first of two equal keys wins
  }
}

int findResultIndex(const RecordTable& t, int record, int styleKey, int difficultyKey) {
  if (record < 0 || record >= (int)t.records.size()) return -1;
  const auto& rs = t.results[record];
  for (size_t i = 0; i < rs.size(); i++)
    if (rs[i].styleKey == styleKey && rs[i].difficultyKey == difficultyKey) return (int)i;
  return -1;
}
}

std::string Records_Path(const RecordTable& t) {
  return t.profile.empty() ? std::string("rkv2.rec") : "Profiles/" + t.profile + "/rkv2-user.rec";
}

void freeRecords(RecordTable& t) {
  t.records.clear();
  t.results.clear();
  t.index.clear();
  t.notes.clear();
}

bool Records_Parse(RecordTable& t, const uint8_t* data, size_t size) {
  freeRecords(t);
  if (size < 4) return false;
  int32_t n;
  memcpy(&n, data, 4);
  if (n < 0 || (uint64_t)n * sizeof(SongRecord) > size) return false;
  size_t at = 4;
  int repaired = 0;
  t.records.reserve((size_t)n);
  t.results.reserve((size_t)n);
  for (int32_t i = 0; i < n; i++) {
    if (at + sizeof(SongRecord) > size) {
      WriteLogf("Records file '%s' ends inside record %d; keeping the %d before it\n", Records_Path(t).c_str(),
                (int)i, (int)i);
      break;
    }
    SongRecord r;
    memcpy(&r, data + at, sizeof r);
    at += sizeof r;
    r.resultsRef = 0;
    std::vector<Result> rs;
    size_t want = (size_t)r.resultCount * sizeof(Result);
    if (at + want > size) {
      WriteLogf("Records file '%s' ends inside the results of record %d\n", Records_Path(t).c_str(), (int)i);
      size_t whole = (size - at) / sizeof(Result);
      rs.resize(whole);
      if (whole) memcpy(rs.data(), data + at, whole * sizeof(Result));
      repaired += repairScores(rs);
      r.resultCount = (uint8_t)whole;
      t.records.push_back(r);
      t.results.push_back(std::move(rs));
      break;
    }
    rs.resize(r.resultCount);
    if (want) memcpy(rs.data(), data + at, want);
    at += want;
    repaired += repairScores(rs);
    t.records.push_back(r);
    t.results.push_back(std::move(rs));
  }
  if (repaired)
    WriteLogf("Records file '%s' holds %d scores no play can give; they read as none\n", Records_Path(t).c_str(),
              repaired);
  reindex(t);
  return true;
}

std::vector<uint8_t> Records_Serialize(const RecordTable& t) {
  size_t total = 4;
  for (const auto& rs : t.results) total += sizeof(SongRecord) + rs.size() * sizeof(Result);
  std::vector<uint8_t> out(total);
  int32_t n = (int32_t)t.records.size();
  memcpy(out.data(), &n, 4);
  size_t at = 4;
  for (size_t i = 0; i < t.records.size(); i++) {
    SongRecord r = t.records[i];
    r.resultsRef = 0;
    r.resultCount = (uint8_t)t.results[i].size();
    memcpy(out.data() + at, &r, sizeof r);
    at += sizeof r;
    size_t bytes = t.results[i].size() * sizeof(Result);
    if (bytes) memcpy(out.data() + at, t.results[i].data(), bytes);
    at += bytes;
  }
  return out;
}

bool loadRecords(RecordTable& t) {
  std::string path = Records_Path(t);
  std::vector<uint8_t> bytes;
  if (!File_ReadAll(path, bytes)) {
    freeRecords(t);
    // A new profile starts with the machine's songs (their first-seen times), no results.
    if (!t.profile.empty() && &t != &g_records && !g_records.records.empty()) {
      t.records = g_records.records;
      for (auto& r : t.records) r.resultCount = 0;
      t.results.assign(t.records.size(), {});
      reindex(t);
      saveRecords(t);
      return true;
    }
    return false;
  }
  if (!Records_Parse(t, bytes.data(), bytes.size())) {
    WriteLogf("Records file '%s' is shorter than its record count says; not loaded\n", path.c_str());
    return false;
  }
  Notes_Load(t);
  return true;
}

bool saveRecords(RecordTable& t) {
  if (g_songListLoaded)
    for (auto& r : t.records)
      for (auto& c : r.counters)
        if (c > 0) c--;
  return writeRecords(t);
}

bool writeRecords(const RecordTable& t) {
  std::vector<uint8_t> bytes = Records_Serialize(t);
  bool ok = File_WriteSafely(Records_Path(t), bytes.data(), bytes.size());
  // the notes are written only beside a records file that was
  return ok && (t.notes.empty() && !File_Exists(Notes_Path(t)) ? true : Notes_Save(t));
}

bool addRecords(RecordTable& t, const SongRecord* newRecords, int n) {
  RecordTable combined;
  combined.profile = t.profile;
  combined.records = t.records;
  combined.results = t.results;
  for (int i = 0; i < n; i++) {
    combined.records.push_back(newRecords[i]);
    combined.records.back().resultCount = 0;
    combined.results.emplace_back();
  }
  std::vector<uint8_t> bytes = Records_Serialize(combined);
  bool ok = File_WriteSafely(Records_Path(t), bytes.data(), bytes.size());
  // The file is read back, as the table is what the file holds; when it could not
  // be written the table in memory keeps the new records all the same. The
  // notes stay as they are: new records have none.
  auto notes = std::move(t.notes);
  if (ok) ok = Records_Parse(t, bytes.data(), bytes.size());
  t.notes = std::move(notes);
  if (!ok) {
    WriteLogf("Unable to add %d records to '%s'; they are kept for this run only\n", n, Records_Path(t).c_str());
    t.records = std::move(combined.records);
    t.results = std::move(combined.results);
    reindex(t);
  }
  WriteLog("done\n");
  return ok;
}

int findRecord(RecordTable& t, const char* key) {
  if (!key) return -1;
  // a record keeps the first 255 bytes of its key; a longer key is found by them
  auto it = t.index.find(std::string(key, strnlen(key, sizeof(SongRecord::key) - 1)));
  if (it == t.index.end()) return -1;
  t.records[it->second].used = 1;
  return it->second;
}

Result findResult(const RecordTable& t, int record, int styleKey, int difficultyKey) {
  int i = findResultIndex(t, record, styleKey, difficultyKey);
  if (i < 0) return Result{};
  return t.results[record][i];
}

bool storeResult(RecordTable& t, int record, int styleKey, int difficultyKey, bool isCourse, const Result& r) {
  if (record < 0 || record >= (int)t.records.size()) return false;
  int i = findResultIndex(t, record, styleKey, difficultyKey);
  if (i >= 0) {
    if (!isCourse && (r.bestGrade < 1 || r.bestGrade > 7)) return true;
    Result& s = t.results[record][i];
    if (r.bestScore > s.bestScore) s.bestScore = r.bestScore;
    if (r.bestA > s.bestA) s.bestA = r.bestA;
    if (r.bestB > s.bestB) s.bestB = r.bestB;
    if (r.bestC > s.bestC) s.bestC = r.bestC;
    if (r.bestGrade != 0 && (s.bestGrade == 0 || r.bestGrade < s.bestGrade)) s.bestGrade = r.bestGrade;
    return true;
  }
  auto& rs = t.results[record];
  if ((int)rs.size() >= kMaxResults) {
    MessageBox_Show("There was an error allocating memory for the new record.\nYour system may be running low on resources.",
                    "Error");
    return false;
  }
  Result n = r;
  n.styleKey = (uint8_t)styleKey;
  n.difficultyKey = (uint8_t)difficultyKey;
  memset(n.holder, 0, sizeof n.holder);
  rs.push_back(n);
  t.records[record].resultCount = (uint8_t)rs.size();
  return true;
}

bool setHolder(RecordTable& t, int record, int styleKey, int difficultyKey, const char* name) {
  int i = findResultIndex(t, record, styleKey, difficultyKey);
  if (i < 0) return false;
  char* h = t.results[record][i].holder;
  memset(h, 0, sizeof t.results[record][i].holder);
  snprintf(h, sizeof t.results[record][i].holder, "%s", name ? name : "");
  return true;
}

SongRecord Records_New(const char* key, int32_t firstSeen) {
  SongRecord r{};
  snprintf(r.key, sizeof r.key, "%s", key ? key : "");
  r.firstSeen = firstSeen;
  r.used = 1;
  return r;
}
