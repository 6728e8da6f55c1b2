#include "menus/profile_stats.h"
#include <cstdio>

namespace {
void text(ProfileStatLine& l, const char* label, const char* value) {
  snprintf(l.label, sizeof l.label, "%s", label);
  snprintf(l.value, sizeof l.value, "%s", value);
}

void count(ProfileStatLine& l, const char* label, int v) {
  snprintf(l.label, sizeof l.label, "%s", label);
  snprintf(l.value, sizeof l.value, "%d", v);
}

// A figure kept as a double, in `format`.
void figure(ProfileStatLine& l, const char* label, const char* format, double v) {
  snprintf(l.label, sizeof l.label, "%s", label);
  snprintf(l.value, sizeof l.value, format, v);
}

// "Perfect: %.2f%%" carries its figure in the label; no steps give "n/a".
void perfectLine(ProfileStatLine& l, const ProfileStats& st) {
  if (st.steps > 0)
    snprintf(l.label, sizeof l.label, "Perfect: %.2f%%", st.perfects * 100.0 / st.steps);
  else
    snprintf(l.label, sizeof l.label, "Perfect: n/a");
  l.value[0] = 0;
}

// A course's length: "h:mm:ss" with "(hours)" on the label from an hour on, else
// "mm:ss:mmm".
void timeLine(ProfileStatLine& l, int32_t ms) {
  if (ms < 0) ms = 0;
  int s = ms / 1000;
  char v[24];
  if (s >= 3600) {
    snprintf(v, sizeof v, "%d:%02d:%02d", s / 3600, s / 60 % 60, s % 60);
    text(l, "Longest Time (hours)", v);
  } else {
    snprintf(v, sizeof v, "%02d:%02d:%03d", s / 60, s % 60, ms % 1000);
    text(l, "Longest Time", v);
  }
}
}  // namespace

int Profile_StyleGroup(int panels) { return panels == 8 ? 1 : panels == 6 ? 2 : 0; }

int ProfileStats_Lines(const ProfileStats& st, int mode, ProfileStatLine out[kProfileStatLines]) {
  int n = 0;
  if (mode == 0) {
    count(out[n++], "Total Songs", st.songs);
    figure(out[n++], "Total Steps", "%.0f", st.steps);
    perfectLine(out[n++], st);
    figure(out[n++], "Highest Score", "%9.0f", st.bestScore);
    count(out[n++], "Highest Combo", st.bestCombo);
    return n;
  }
  figure(out[n++], "Total Steps", "%.0f", st.steps);
  perfectLine(out[n++], st);
  figure(out[n++], "Highest Percentage", "%.1f%%", st.courseBestPercent);
  count(out[n++], "Highest Stage", st.courseBestStage);
  figure(out[n++], "Highest Score", "%9.0f", st.courseBestScore);
  timeLine(out[n++], st.courseLongestMs);
  count(out[n++], "Highest Combo", st.courseBestCombo);
  return n;
}
