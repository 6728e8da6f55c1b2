#include "menus/records_text.h"
#include "library/courses.h"
#include "play/grades.h"
#include <cstdio>
#include <ctime>

void RecordsText_Time(uint32_t ms, char* out, size_t size) {
  uint32_t s = ms / 1000;
  if (s >= 3600)
    snprintf(out, size, "%d:%02d:%02d *", (int)(s / 3600), (int)(s / 60 % 60), (int)(s % 60));
  else
    snprintf(out, size, "%02d:%02d:%03d", (int)(s / 60), (int)(s % 60), (int)(ms % 1000));
}

void RecordsText_SongCount(int songs, char* out, size_t size) {
  if (songs == 1)
    snprintf(out, size, "(1 Song)");
  else
    snprintf(out, size, "(%d Songs)", songs);
}

void RecordsText_LifeLine(const Course& c, char* out, size_t size) {
  const char* repeats = c.repeat ? ", Repeats" : "";
  if (c.livesSet)
    snprintf(out, size, "%d lives%s", (int)c.lives, repeats);
  else
    snprintf(out, size, "Standard%s", repeats);
}

void RecordsText_CourseRow(const Result& r, char* out, size_t size) {
  if (r.styleKey == 0) {
    snprintf(out, size, "%s", "");
    return;
  }
  snprintf(out, size, "Stage %d  %s", (int)r.bestC, Grade_Name(r.bestGrade));
}

void RecordsText_Perfects(const ProfileStats& s, char* count, size_t countSize, char* share, size_t shareSize) {
  snprintf(count, countSize, "%.0f Perfect", s.perfects);
  if (s.steps > 0)
    snprintf(share, shareSize, "Perfect: %.1f%%", s.perfects * 100.0 / s.steps);
  else
    snprintf(share, shareSize, "Perfect: n/a");
}

void RecordsText_Date(int64_t seconds, char* out, size_t size) {
  if (size) out[0] = 0;
  if (seconds <= 0) return;
  time_t t = (time_t)seconds;
  struct tm local;
  if (!localtime_r(&t, &local) || strftime(out, size, "%Y-%m-%d", &local) == 0) snprintf(out, size, "%s", "");
}

void RecordLines_Of(const Result& r, const ResultNote& n, bool machine, bool course, RecordLines& out) {
  out = RecordLines{};
  // a table without the result gives all zeroes, and every stored result has a style
  out.has = r.styleKey != 0;
  if (!out.has) {
    snprintf(out.score, sizeof out.score, "No record yet");
    return;
  }
  out.grade = r.bestGrade >= 1 && r.bestGrade <= 7 ? r.bestGrade : 0;
  snprintf(out.score, sizeof out.score, "Score: %.0f", r.bestScore);
  int tenths = r.bestA < 0 ? 0 : r.bestA;
  snprintf(out.percent, sizeof out.percent, "%d.%d%%", tenths / 10, tenths % 10);
  snprintf(out.gradeName, sizeof out.gradeName, "%s", Grade_Name(out.grade));
  if (n.bestCombo > 0)
    snprintf(out.combo, sizeof out.combo, "MAX COMBO: %d", (int)n.bestCombo);
  else
    snprintf(out.combo, sizeof out.combo, "MAX COMBO: -");
  RecordsText_Date(n.bestScoreAt, out.date, sizeof out.date);
  if (machine) {
    char name[sizeof r.holder + 1];
    snprintf(name, sizeof name, "%.*s", (int)sizeof r.holder, r.holder);
    snprintf(out.holder, sizeof out.holder, "%s", name[0] ? name : "SYSTEM RECORD");
  }
  if (course) {
    snprintf(out.stage, sizeof out.stage, "Stage: %d", (int)r.bestC);
    RecordsText_Time(r.bestB, out.time, sizeof out.time);
  }
}
