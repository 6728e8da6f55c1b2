#include "menus/records_reset.h"
#include "library/record_notes.h"
#include "platform/files.h"
#include "platform/log.h"
#include <cstdio>
#include <cstring>
#include <vector>

namespace {
// The records the reset reaches: one key's, or all.
template <typename Each>
void forRecords(const RecordTable& t, const char* key, Each each) {
  if (!key) {
    for (size_t i = 0; i < t.records.size(); i++) each((int)i);
    return;
  }
  // the first of two equal keys is the one the table finds; a copy is cleared too
  for (size_t i = 0; i < t.records.size(); i++)
    if (strncmp(t.records[i].key, key, sizeof t.records[i].key) == 0) each((int)i);
}
}  // namespace

bool RecordsReset_HasResults(const RecordTable& t, const char* key) {
  bool any = false;
  forRecords(t, key, [&](int i) { any = any || !t.results[i].empty(); });
  return any;
}

int RecordsReset_Clear(RecordTable& t, const char* key) {
  int cleared = 0;
  forRecords(t, key, [&](int i) {
    cleared += (int)t.results[i].size();
    t.results[i].clear();
    t.records[i].resultCount = 0;
  });
  clearNotes(t, key);
  return cleared;
}

bool RecordsReset_Apply(RecordTable& t, const char* key) {
  std::string path = Records_Path(t);
  std::vector<uint8_t> before;
  bool hadFile = File_ReadAll(path, before);
  RecordTable kept = t;
  int cleared = RecordsReset_Clear(t, key);
  if (writeRecords(t)) {
    WriteLogf("Records reset: %d results of %s cleared in '%s'\n", cleared, key ? key : "every record", path.c_str());
    return true;
  }
  // The records may have been written before their notes failed: the old file
  // goes back, so that the two files still agree.
  std::vector<uint8_t> now;
  bool changed = File_ReadAll(path, now) ? (!hadFile || now != before) : false;
  if (changed) {
    if (hadFile)
      File_WriteSafely(path, before.data(), before.size());
    else
      std::remove(path.c_str());
  }
  t = std::move(kept);
  WriteLogf("Unable to write the records to '%s'; the old file stays and nothing was reset\n", path.c_str());
  return false;
}
