// The records file from arbitrary bytes: every record kept has a key that ends
// inside its field and as many results as its count says, the key index points
// at the first record of each key, and what is written back reads back to the
// same bytes. A result stored into the table afterwards keeps all of that.
#include "fuzz/fuzz_support.h"
#include "library/records.h"
#include <cstring>

namespace {
void check(bool ok, const char* what) { fuzz::Check(ok, "records", what); }

void checkTable(const RecordTable& t) {
  check(t.records.size() == t.results.size(), "records and results differ in number");
  for (size_t i = 0; i < t.records.size(); i++) {
    const SongRecord& r = t.records[i];
    check(memchr(r.key, 0, sizeof r.key) != nullptr, "a key without its end");
    check(r.resultCount == t.results[i].size(), "result count");
    auto it = t.index.find(r.key);
    check(it != t.index.end() && it->second >= 0 && it->second <= (int)i, "key index");
    check(strcmp(t.records[it->second].key, r.key) == 0, "the index points at another key");
  }
  check(t.index.size() <= t.records.size(), "more keys than records");
}
}  // namespace

// adding a record writes "rkv2.rec" into the folder the game runs in
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::EnterWorkFolder("fuzz-records");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static RecordTable t, again;
  if (!Records_Parse(t, data, size)) {
    check(t.records.empty() && t.index.empty(), "a refused file leaves records behind");
    return 0;
  }
  checkTable(t);
  std::vector<uint8_t> back = Records_Serialize(t);
  check(Records_Parse(again, back.data(), back.size()), "the written table is refused");
  check(again.records.size() == t.records.size(), "records lost on the way back");
  check(Records_Serialize(again) == back, "written twice, the bytes differ");
  // a result stored into the first record, or a new one
  Result r{};
  r.styleKey = size ? data[0] & 15 : 4;
  r.difficultyKey = size > 1 ? data[1] & 3 : 0;
  r.bestScore = 1234567;
  r.bestGrade = 3;
  int rec = t.records.empty() ? -1 : 0;
  if (rec < 0) {
    SongRecord n = Records_New("Demo\\fuzz", 1);
    addRecords(t, &n, 1);
    rec = findRecord(t, "Demo\\fuzz");
  }
  check(rec >= 0, "the new record is not found");
  storeResult(t, rec, r.styleKey, r.difficultyKey, false, r);
  checkTable(t);
  Result got = findResult(t, rec, r.styleKey, r.difficultyKey);
  check(t.records[rec].resultCount == kMaxResults || got.bestScore >= r.bestScore, "a stored result is lost");
  return 0;
}
