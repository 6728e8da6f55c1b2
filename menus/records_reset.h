#pragma once
// What the records browser's "Reset" and "Reset All" clear, and their writing.
//
// "Reset" clears every result of one record (a song's in every style and
// difficulty, or a course's) with its notes (best combo, date of the best
// score); "Reset All" clears every result and note of the table. Nothing else
// changes: every record keeps its key, its first-seen time, its play counters
// and its place in the table (the song table and the courses point into it), and
// no other table and no profile file is touched. The table is written at once,
// as it stands: a reset is no play, so the counters do not count down.
#include "library/records.h"

// Whether the table holds a result for `key` (for any key when `key` is null).
bool RecordsReset_HasResults(const RecordTable& t, const char* key);
// Clears the results and notes of `key` (of every record when `key` is null) in
// memory. Returns the number of results cleared.
int RecordsReset_Clear(RecordTable& t, const char* key);
// Clears and writes the table and its notes. When they cannot be written the
// table in memory and the records file on disk stay as they were, with a log
// line, and the result is false.
bool RecordsReset_Apply(RecordTable& t, const char* key);
