#pragma once
// The RECORDS item of the title menu: the machine's and each profile's best
// results, song by song and course by course, with "Reset" and "Reset All".
void RecordsBrowser();
