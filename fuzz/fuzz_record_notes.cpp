// The notes beside a records file from arbitrary text: every note read holds a
// combo and a date of zero or more, the lines read are the notes kept (a later
// line of the same result wins), and the text written back reads back to the
// same notes. Looking a note up and storing one never breaks that.
#include "fuzz/fuzz_support.h"
#include "library/record_notes.h"
#include <string>

namespace {
void check(bool ok, const char* what) { fuzz::Check(ok, "record notes", what); }
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static RecordTable t, again;
  std::string text((const char*)data, size);
  int read = Notes_Parse(t, text);
  check(read >= 0 && (size_t)read >= t.notes.size(), "fewer lines read than notes kept");
  for (const auto& [key, n] : t.notes) {
    check(!key.empty(), "a note without a key");
    check(n.bestCombo >= 0 && n.bestScoreAt >= 0, "a note below zero");
  }
  std::string back = Notes_Text(t);
  Notes_Parse(again, back);
  size_t kept = 0;
  for (const auto& [key, n] : t.notes) {
    if (n.bestCombo == 0 && n.bestScoreAt == 0) continue;   // empty notes are not written
    kept++;
    auto it = again.notes.find(key);
    check(it != again.notes.end(), "a note lost on the way back");
    check(it->second.bestCombo == n.bestCombo && it->second.bestScoreAt == n.bestScoreAt, "a note changed");
  }
  check(kept == again.notes.size(), "notes made up on the way back");
  // the stored combo is the larger one; a new best score takes the date
  const char* key = "Demo\\fuzz";
  int style = size ? data[0] : 4, difficulty = size > 1 ? data[1] & 3 : 0;
  ResultNote before = findNote(t, key, style, difficulty);
  storeNote(t, key, style, difficulty, 77, true, 1765000000);
  ResultNote after = findNote(t, key, style, difficulty);
  check(after.bestCombo == (before.bestCombo > 77 ? before.bestCombo : 77), "combo kept");
  check(after.bestScoreAt == 1765000000, "date of the best score");
  clearNotes(t, nullptr);
  check(t.notes.empty(), "cleared");
  return 0;
}
