#include "menus/profile_stats.h"
#include <cstdio>

namespace {
void line(ProfileStatLine& l, const char* label, const char* value) {
  snprintf(l.label, sizeof l.label, "%s", label);
  snprintf(l.value, sizeof l.value, "%s", value);
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
  if (s >= 3600) {
    snprintf(l.label, sizeof l.label, "Longest Time (hours)");
    snprintf(l.value, sizeof l.value, "%d:%02d:%02d", s / 3600, s / 60 % 60, s % 60);
  } else {
    snprintf(l.label, sizeof l.label, "Longest Time");
    snprintf(l.value, sizeof l.value, "%02d:%02d:%03d", s / 60, s % 60, ms % 1000);
  }
}
}  // namespace

int Profile_StyleGroup(int panels) { return panels == 8 ? 1 : panels == 6 ? 2 : 0; }

int ProfileStats_Lines(const ProfileStats& st, int mode, ProfileStatLine out[kProfileStatLines]) {
  char v[24];
  int n = 0;
  if (mode == 0) {
    snprintf(v, sizeof v, "%d", st.songs);
    line(out[n++], "Total Songs", v);
    snprintf(v, sizeof v, "%.0f", st.steps);
    line(out[n++], "Total Steps", v);
    perfectLine(out[n++], st);
    snprintf(v, sizeof v, "%9.0f", st.bestScore);
    line(out[n++], "Highest Score", v);
    snprintf(v, sizeof v, "%d", st.bestCombo);
    line(out[n++], "Highest Combo", v);
    return n;
  }
  snprintf(v, sizeof v, "%.0f", st.steps);
  line(out[n++], "Total Steps", v);
  perfectLine(out[n++], st);
  snprintf(v, sizeof v, "%.1f%%", st.courseBestPercent);
  line(out[n++], "Highest Percentage", v);
  snprintf(v, sizeof v, "%d", st.courseBestStage);
  line(out[n++], "Highest Stage", v);
  snprintf(v, sizeof v, "%9.0f", st.courseBestScore);
  line(out[n++], "Highest Score", v);
  timeLine(out[n++], st.courseLongestMs);
  snprintf(v, sizeof v, "%d", st.courseBestCombo);
  line(out[n++], "Highest Combo", v);
  return n;
}
