#pragma once
// The notes of a records table: for each result the best max combo and the date
// of the best score, which the fixed records layout has no room for. They live
// in a text file of ours beside the records file ("tarvolen-records.txt" beside
// "rkv2.rec", "tarvolen-user.txt" in a profile's folder), one result a line:
//   KEY <tab> STYLE <tab> DIFFICULTY <tab> BESTCOMBO <tab> BESTSCOREAT
// Lines that do not read so are skipped with a log line; the file is written
// safely with the records and read with them. Without it every note is zero.
#include "library/records.h"
#include <cstdint>
#include <string>

std::string Notes_Path(const RecordTable& t);
// Reads the table's notes file into t.notes (emptied first); false when it is missing.
bool Notes_Load(RecordTable& t);
bool Notes_Save(const RecordTable& t);
// The text of the notes, and its reading (for the writer and the tests).
std::string Notes_Text(const RecordTable& t);
int Notes_Parse(RecordTable& t, const std::string& text);   // the lines read

ResultNote findNote(const RecordTable& t, const char* key, int styleKey, int difficultyKey);
// A result was stored: the larger max combo is kept, and `nowSeconds` becomes
// the date of the best score when the score set a new best.
void storeNote(RecordTable& t, const char* key, int styleKey, int difficultyKey, int32_t maxCombo, bool newBestScore,
               int64_t nowSeconds);
// Forgets the notes of one record key, or of every key when `key` is null.
void clearNotes(RecordTable& t, const char* key);
