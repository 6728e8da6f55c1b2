#include "library/records.h"
#include "library/record_notes.h"
#include "platform/files.h"
#include "support/test_support.h"
#include <gtest/gtest.h>
#include <cmath>
#include <cstring>

namespace {
Result result(uint8_t grade, double score, int32_t a = 0) {
  Result r{};
  r.bestGrade = grade;
  r.bestScore = score;
  r.bestA = a;
  r.bestC = 1;
  return r;
}

RecordTable tableWith(std::initializer_list<const char*> keys) {
  RecordTable t;
  for (const char* k : keys) {
    t.records.push_back(Records_New(k, 1000));
    t.results.emplace_back();
  }
  t.index.clear();
  Records_Parse(t, Records_Serialize(t).data(), Records_Serialize(t).size());
  return t;
}
}

TEST(Records, FileLayoutRecordsFollowedByTheirResults) {
  RecordTable t = tableWith({"Demo\\One", "Demo\\Two", "COURSE|Marathon"});
  ASSERT_TRUE(storeResult(t, 0, 1, 2, false, result(3, 900)));
  ASSERT_TRUE(storeResult(t, 0, 1, 3, false, result(2, 800)));
  ASSERT_TRUE(storeResult(t, 2, 5, 0, true, result(0, 50)));
  std::vector<uint8_t> b = Records_Serialize(t);
  ASSERT_EQ(b.size(), 4u + 3 * 296 + 3 * 48);
  int32_t n;
  memcpy(&n, b.data(), 4);
  EXPECT_EQ(n, 3);
  EXPECT_STREQ((const char*)b.data() + 4, "Demo\\One");
  EXPECT_EQ(b[4 + 289], 2);                                  // result count
  EXPECT_EQ(b[4 + 296], 1);                                  // style key of the first result
  EXPECT_STREQ((const char*)b.data() + 4 + 296 + 96, "Demo\\Two");  // a record with 0 results follows at once
  EXPECT_EQ(b[4 + 296 + 96 + 289], 0);
  EXPECT_STREQ((const char*)b.data() + 4 + 2 * 296 + 96, "COURSE|Marathon");

  RecordTable back;
  ASSERT_TRUE(Records_Parse(back, b.data(), b.size()));
  ASSERT_EQ(back.records.size(), 3u);
  EXPECT_EQ(back.results[0].size(), 2u);
  EXPECT_EQ(back.results[1].size(), 0u);
  EXPECT_EQ(findResult(back, 0, 1, 3).bestScore, 800);
  EXPECT_EQ(findResult(back, 2, 5, 0).bestScore, 50);
  EXPECT_EQ(Records_Serialize(back), b);
}

TEST(Records, ShortOrTruncatedFiles) {
  RecordTable t;
  uint8_t head[4] = {5, 0, 0, 0};
  EXPECT_FALSE(Records_Parse(t, head, 4));  // shorter than 5 × 296
  int32_t neg = -1;
  EXPECT_FALSE(Records_Parse(t, (const uint8_t*)&neg, 4));
  EXPECT_FALSE(Records_Parse(t, head, 2));

  RecordTable full = tableWith({"A\\a", "B\\b"});
  storeResult(full, 1, 1, 1, false, result(1, 1));
  storeResult(full, 1, 1, 2, false, result(1, 1));
  std::vector<uint8_t> b = Records_Serialize(full);
  b.resize(b.size() - 30);  // cut inside the last result
  ASSERT_TRUE(Records_Parse(t, b.data(), b.size()));
  ASSERT_EQ(t.records.size(), 2u);
  EXPECT_EQ(t.results[1].size(), 1u);
  EXPECT_EQ(t.records[1].resultCount, 1);
}

TEST(Records, GradeAndBestValueRules) {
  RecordTable t = tableWith({"G\\s"});
  storeResult(t, 0, 1, 0, false, result(0, 10));  // appended even with no grade
  EXPECT_EQ(findResult(t, 0, 1, 0).bestGrade, 0);
  storeResult(t, 0, 1, 0, false, result(3, 5, 7));
  EXPECT_EQ(findResult(t, 0, 1, 0).bestGrade, 3);   // a stored 0 is always replaced
  EXPECT_EQ(findResult(t, 0, 1, 0).bestScore, 10);  // the larger score stays
  EXPECT_EQ(findResult(t, 0, 1, 0).bestA, 7);
  storeResult(t, 0, 1, 0, false, result(4, 20));
  EXPECT_EQ(findResult(t, 0, 1, 0).bestGrade, 3);   // 4 is worse
  EXPECT_EQ(findResult(t, 0, 1, 0).bestScore, 20);
  storeResult(t, 0, 1, 0, false, result(2, 1));
  EXPECT_EQ(findResult(t, 0, 1, 0).bestGrade, 2);
  storeResult(t, 0, 1, 0, false, result(8, 999));   // outside 1..7: nothing kept
  EXPECT_EQ(findResult(t, 0, 1, 0).bestScore, 20);
  storeResult(t, 0, 1, 0, true, result(0, 999));    // a course always compares
  EXPECT_EQ(findResult(t, 0, 1, 0).bestScore, 999);
  EXPECT_EQ(findResult(t, 0, 9, 9).bestScore, 0);   // none: all zero
  EXPECT_FALSE(storeResult(t, 5, 1, 0, false, result(1, 1)));
}

TEST(Records, UpTo255ResultsKeptAndHolder) {
  RecordTable t = tableWith({"G\\s"});
  for (int i = 0; i < 255; i++) ASSERT_TRUE(storeResult(t, 0, i % 16, i / 16, false, result(1, i)));
  EXPECT_FALSE(storeResult(t, 0, 200, 200, false, result(1, 1)));
  EXPECT_EQ(t.results[0].size(), 255u);
  EXPECT_EQ(findResult(t, 0, 3, 2).bestScore, 35);
  EXPECT_TRUE(setHolder(t, 0, 3, 2, "A very long holder name that does not fit"));
  EXPECT_EQ(strlen(findResult(t, 0, 3, 2).holder), 21u);
  EXPECT_FALSE(setHolder(t, 0, 99, 99, "x"));
}

TEST(Records, SaveCountsDownPositiveCountersOnlyAfterTheSongList) {
  TempDir dir;
  RecordTable t = tableWith({"G\\s"});
  t.records[0].counters[0] = 3;
  t.records[0].counters[1] = 0;
  t.records[0].counters[2] = -4;
  g_songListLoaded = false;
  ASSERT_TRUE(saveRecords(t));
  EXPECT_EQ(t.records[0].counters[0], 3);
  g_songListLoaded = true;
  ASSERT_TRUE(saveRecords(t));
  g_songListLoaded = false;
  RecordTable back;
  ASSERT_TRUE(loadRecords(back));
  EXPECT_EQ(back.records[0].counters[0], 2);
  EXPECT_EQ(back.records[0].counters[1], 0);
  EXPECT_EQ(back.records[0].counters[2], -4);
}

TEST(Records, AddRecordsAppendsAndFindMarksUsed) {
  TempDir dir;
  RecordTable t;
  EXPECT_FALSE(loadRecords(t));  // no file: empty table
  SongRecord batch[2] = {Records_New("Demo\\A", 5), Records_New("Demo\\B", 6)};
  ASSERT_TRUE(addRecords(t, batch, 2));
  ASSERT_EQ(t.records.size(), 2u);
  t.records[0].used = 0;
  EXPECT_EQ(findRecord(t, "Demo\\A"), 0);
  EXPECT_EQ(t.records[0].used, 1);
  EXPECT_EQ(findRecord(t, "demo\\a"), -1);  // keys are compared as they are
  RecordTable again;
  ASSERT_TRUE(loadRecords(again));
  EXPECT_EQ(findRecord(again, "Demo\\B"), 1);
  EXPECT_EQ(again.records[1].firstSeen, 6);
}

TEST(Records, NewProfileStartsFromMachineRecords) {
  TempDir dir;
  Dir_Create("Profiles/Ann");
  g_records = tableWith({"Demo\\A", "Demo\\B"});
  storeResult(g_records, 0, 1, 1, false, result(1, 100));
  RecordTable user;
  user.profile = "Ann";
  ASSERT_TRUE(loadRecords(user));
  ASSERT_EQ(user.records.size(), 2u);
  EXPECT_EQ(user.records[0].resultCount, 0);
  EXPECT_TRUE(user.results[0].empty());
  EXPECT_TRUE(File_Exists("Profiles/Ann/rkv2-user.rec"));
  freeRecords(g_records);
}

TEST(RecordNotes, KeptBesideTheRecordsAndReadBackWithThem) {
  TempDir dir;
  RecordTable t;
  t.records.push_back(Records_New("Pack\\Song", 100));
  t.results.emplace_back();
  storeNote(t, "Pack\\Song", 4, 2, 120, true, 1700000000);
  storeNote(t, "Pack\\Song", 4, 2, 90, false, 1800000000);    // a smaller combo, no new best: kept as it was
  storeNote(t, "Pack\\Song", 8, 1, 300, false, 1800000000);   // a combo without a new best score: no date
  storeNote(t, "COURSE|Tour", 4, 0, 50, true, 1750000000);
  ASSERT_TRUE(saveRecords(t));
  // new records added later keep the notes in memory
  SongRecord more = Records_New("Pack\\Other", 5);
  ASSERT_TRUE(addRecords(t, &more, 1));
  EXPECT_EQ(findNote(t, "Pack\\Song", 4, 2).bestCombo, 120);

  RecordTable back;
  ASSERT_TRUE(loadRecords(back));
  ResultNote n = findNote(back, "Pack\\Song", 4, 2);
  EXPECT_EQ(n.bestCombo, 120);
  EXPECT_EQ(n.bestScoreAt, 1700000000);
  EXPECT_EQ(findNote(back, "Pack\\Song", 8, 1).bestCombo, 300);
  EXPECT_EQ(findNote(back, "Pack\\Song", 8, 1).bestScoreAt, 0);
  EXPECT_EQ(findNote(back, "Pack\\Song", 4, 3).bestCombo, 0);   // none

  clearNotes(back, "Pack\\Song");
  EXPECT_EQ(findNote(back, "Pack\\Song", 4, 2).bestCombo, 0);
  EXPECT_EQ(findNote(back, "COURSE|Tour", 4, 0).bestCombo, 50);
  clearNotes(back, nullptr);
  ASSERT_TRUE(saveRecords(back));
  EXPECT_EQ(ReadFile(Notes_Path(back)), "");
}

TEST(RecordNotes, BrokenLinesAreSkippedAndAMissingFileIsNoNotes) {
  RecordTable t;
  int read = Notes_Parse(t, "A\\B\t4\t2\t100\t1700000000\r\n\nno tabs\nA\\B\t4\t2\t-5\t1\n\t4\t2\t1\t1\n"
                            "C\\D\t6\t1\t7\t0\textra\nC\\D\t999\t1\t7\t0\nE\\F\t8\t3\t12\t5\n");
  EXPECT_EQ(read, 2);
  EXPECT_EQ(findNote(t, "A\\B", 4, 2).bestCombo, 100);
  EXPECT_EQ(findNote(t, "E\\F", 8, 3).bestScoreAt, 5);
  TempDir dir;
  RecordTable none;
  EXPECT_FALSE(Notes_Load(none));
  EXPECT_TRUE(none.notes.empty());
}

// A damaged file's score that is not a number or below zero reads as none, so the
// next play's score replaces it; the rest of the result stays.
TEST(Records, ScoresNoPlayCanGiveReadAsNone) {
  RecordTable t = tableWith({"A\\a"});
  t.results[0] = {result(2, std::nan("")), result(3, -INFINITY), result(4, -5), result(5, 1234)};
  t.results[0][1].styleKey = 1;
  t.results[0][2].styleKey = 2;
  t.results[0][3].styleKey = 3;
  std::vector<uint8_t> b = Records_Serialize(t);
  RecordTable back;
  ASSERT_TRUE(Records_Parse(back, b.data(), b.size()));
  ASSERT_EQ(back.results[0].size(), 4u);
  EXPECT_EQ(back.results[0][0].bestScore, 0);
  EXPECT_EQ(back.results[0][0].bestGrade, 2);
  EXPECT_EQ(back.results[0][1].bestScore, 0);
  EXPECT_EQ(back.results[0][2].bestScore, 0);
  EXPECT_EQ(back.results[0][3].bestScore, 1234);
  ASSERT_TRUE(storeResult(back, 0, 0, 0, false, result(3, 500)));
  EXPECT_EQ(findResult(back, 0, 0, 0).bestScore, 500);
}

// A key cut short at a zero byte would be read as another key (or as none, which
// the writer would then write as a line the reader refuses): the line is skipped.
TEST(RecordNotes, AKeyWithAZeroByteIsABrokenLine) {
  RecordTable t;
  const char kText[] = "A\\B\0tail\t4\t2\t9\t1\n\0\0x\t6\t3\t0\t5\nA\\B\t4\t2\t3\t2\n";
  std::string text(kText, sizeof kText - 1);
  EXPECT_EQ(Notes_Parse(t, text), 1);
  EXPECT_EQ(findNote(t, "A\\B", 4, 2).bestCombo, 3);
  EXPECT_EQ(findNote(t, "", 6, 3).bestScoreAt, 0);
  RecordTable back;
  EXPECT_EQ(Notes_Parse(back, Notes_Text(t)), 1);
}
