#pragma once
// Best results per song and per course, and the time each song was first seen.
// Machine-wide in "rkv2.rec", per profile in "Profiles/<name>/rkv2-user.rec".
// File: int32 count N, then N times a 296-byte record followed by its results.
#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

// The result of a song, as the evaluation stores it after each arcade stage:
//   styleKey       the style code: the player's panels, 4 SINGLE and VERSUS, 8 DOUBLE, 6 SOLO
//   difficultyKey  0 BASIC .. 3 SMANIAC
//   holder         the name of the profile that set the machine's best score ("" without one)
//   bestScore      the score
//   bestA          the dance-point percentage in whole tenths, cut (934 is 93.4 %)
//   bestGrade      the grade 1 AAA .. 7 E
//   bestB 0, bestC 1
// SongRecord::counters of a song are its play counters per style group (0 SINGLE and
// VERSUS, 1 DOUBLE, 2 SOLO, as the song wheel's "Player's Best" reads them): each play
// adds 100 to the machine's record, and every save takes 1 off.
#pragma pack(push, 1)
struct Result {
  uint8_t styleKey;
  uint8_t difficultyKey;   // 0..3; 0 for a course
  char holder[22];
  double bestScore;        // kept when larger
  int32_t bestA;           // kept when larger
  uint8_t bestGrade;       // smaller is better, 0 none
  uint8_t pad37[3];
  uint32_t bestB;          // kept when larger
  int32_t bestC;           // kept when larger
};

struct SongRecord {
  char key[256];           // "group\folder", or "COURSE|name"
  int32_t firstSeen;       // seconds since 1970
  uint8_t reserved260[4];
  int64_t counters[3];     // each positive one counts down by one at every save
  uint8_t used;            // created or found in this run
  uint8_t resultCount;
  uint8_t pad290[2];
  uint32_t resultsRef;     // in memory only; 0 on disk
};
#pragma pack(pop)
static_assert(sizeof(Result) == 48);
static_assert(offsetof(Result, holder) == 2 && offsetof(Result, bestScore) == 24);
static_assert(offsetof(Result, bestA) == 32 && offsetof(Result, bestGrade) == 36);
static_assert(offsetof(Result, bestB) == 40 && offsetof(Result, bestC) == 44);
static_assert(sizeof(SongRecord) == 296);
static_assert(offsetof(SongRecord, firstSeen) == 256 && offsetof(SongRecord, counters) == 264);
static_assert(offsetof(SongRecord, used) == 288 && offsetof(SongRecord, resultCount) == 289);
static_assert(offsetof(SongRecord, resultsRef) == 292);

constexpr int kMaxResults = 255;

// What the records file has no room for, for one result (a record's key, style
// and difficulty): the best max combo and when the best score was set. A file of
// ours keeps them beside the records file (see record_notes.h).
struct ResultNote {
  int32_t bestCombo = 0;
  int64_t bestScoreAt = 0;   // seconds since 1970, 0 unknown
};

// One records table: the machine-wide one (empty profile name) or a profile's.
struct RecordTable {
  std::string profile;                        // "" for "rkv2.rec"
  std::vector<SongRecord> records;
  std::vector<std::vector<Result>> results;   // parallel to records
  std::unordered_map<std::string, int> index; // key -> record
  std::unordered_map<std::string, ResultNote> notes;   // see record_notes.h
};

extern RecordTable g_records;                 // machine-wide
extern bool g_songListLoaded;                 // counters count down only after the song list loaded

std::string Records_Path(const RecordTable& t);
bool loadRecords(RecordTable& t);
bool saveRecords(RecordTable& t);
// Writes the table and its notes as they stand, without the count-down of a save
// (a reset in the records browser is no play and leaves the counters alone).
// False when either file could not be written; the records file is then left as
// it was unless it was the notes that failed.
bool writeRecords(const RecordTable& t);
bool addRecords(RecordTable& t, const SongRecord* newRecords, int n);
void freeRecords(RecordTable& t);
int findRecord(RecordTable& t, const char* key);        // index or -1; marks it used
Result findResult(const RecordTable& t, int record, int styleKey, int difficultyKey);
bool storeResult(RecordTable& t, int record, int styleKey, int difficultyKey, bool isCourse, const Result& r);
bool setHolder(RecordTable& t, int record, int styleKey, int difficultyKey, const char* name);
SongRecord Records_New(const char* key, int32_t firstSeen);
// The records file as bytes (for the writer and the tests).
std::vector<uint8_t> Records_Serialize(const RecordTable& t);
bool Records_Parse(RecordTable& t, const uint8_t* data, size_t size);
