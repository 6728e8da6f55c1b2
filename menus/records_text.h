#pragma once
// The texts of the records browser: one stored result as the lines of its card
// and its short form in a list row, a course's time and life line, a folder's
// song count, and a profile's perfect steps.
#include "library/profiles.h"
#include "library/records.h"
#include <cstddef>
#include <cstdint>

struct Course;

// One stored result (a song's at one style and difficulty, or a course's at one
// style) as its card shows it. The dance-point percentage is shown as it is
// stored, in tenths ("93.4%"), beside the grade: a "Perfect:" label would be
// taken for the share of PERFECT steps, which the profile's lines show instead.
struct RecordLines {
  bool has = false;          // a result is stored (else `score` says "No record yet")
  int grade = 0;             // 1 AAA .. 7 E, 0 none
  char score[32] = "";       // "Score: %.0f"
  char percent[16] = "";     // "93.4%"
  char gradeName[8] = "";    // "AA"; "" without a grade
  char combo[24] = "";       // "MAX COMBO: %d", "MAX COMBO: -" when the notes have none
  char date[24] = "";        // the day of the best score, "%Y-%m-%d" local time; "" unknown
  // The machine's table names who holds each record: the profile's name, or
  // "SYSTEM RECORD" for one set without a profile. A profile's own table: "".
  char holder[32] = "";
  char stage[16] = "";       // course: "Stage: %d", the most songs reached
  char time[24] = "";        // course: the longest time (see RecordsText_Time)
};

// `machine`: the result is the machine's; `course`: a course's result.
void RecordLines_Of(const Result& r, const ResultNote& n, bool machine, bool course, RecordLines& out);

// A course time in ms: "%d:%02d:%02d *" (hours, minutes, seconds) from an hour
// on, else "%02d:%02d:%03d" (minutes, seconds, milliseconds).
void RecordsText_Time(uint32_t ms, char* out, size_t size);
// "(1 Song)", "(%d Songs)".
void RecordsText_SongCount(int songs, char* out, size_t size);
// A course's lives: "%d lives", "%d lives, Repeats", "Standard", "Standard, Repeats".
void RecordsText_LifeLine(const Course& c, char* out, size_t size);
// A course's row in the list: "Stage %d  <grade>", "" without a result.
void RecordsText_CourseRow(const Result& r, char* out, size_t size);
// A profile's PERFECT steps of one style group: "%.0f Perfect" and their share
// of all steps "Perfect: %.1f%%" ("Perfect: n/a" without steps).
void RecordsText_Perfects(const ProfileStats& s, char* count, size_t countSize, char* share, size_t shareSize);
// The day of `seconds` since 1970 in local time, "%Y-%m-%d"; "" for 0.
void RecordsText_Date(int64_t seconds, char* out, size_t size);
