// "profile.dat" from arbitrary bytes, listed beside a profile without a file:
// every figure a listed profile holds must be one the screens can show (finite,
// not negative, no more perfects than steps), the statistics lines must fit
// their fields, and a profile written back must list the same again.
#include "fuzz/fuzz_support.h"
#include "library/profiles.h"
#include "menus/profile_stats.h"
#include <cmath>
#include <cstring>

namespace {
void check(bool ok, const char* what) { fuzz::Check(ok, "profiles", what); }

void checkStats(const ProfileStats& s) {
  for (double v : {s.steps, s.perfects, s.bestScore, s.courseBestPercent, s.courseBestScore})
    check(std::isfinite(v) && v >= 0, "a figure that is not a number or below zero");
  check(s.perfects <= s.steps, "more perfects than steps");
  check(s.courseBestPercent <= 100, "a percentage above 100");
  check(s.songs >= 0 && s.bestCombo >= 0 && s.courseBestStage >= 0 && s.courseLongestMs >= 0 &&
            s.courseBestCombo >= 0,
        "a count below zero");
  ProfileStatLine lines[kProfileStatLines];
  for (int mode = 0; mode < 2; mode++) {
    int n = ProfileStats_Lines(s, mode, lines);
    check(n >= 1 && n <= kProfileStatLines, "line count");
    for (int i = 0; i < n; i++)
      check(memchr(lines[i].label, 0, sizeof lines[i].label) && memchr(lines[i].value, 0, sizeof lines[i].value),
            "a line without its end");
  }
}
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::EnterWorkFolder("fuzz-profiles");
  std::filesystem::create_directories("Profiles/BOB");   // a profile without a file
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::WriteFile("Profiles/ALICE/profile.dat", data, size);
  check(listProfiles() == 2, "both profiles listed");
  int a = Profile_Find("ALICE"), b = Profile_Find("BOB");
  check(a >= 0 && b >= 0, "found by name");
  check(g_profiles[b].isNew == 1, "a profile without a file is new");
  check(g_profiles[a].isNew == (size == 0 ? 1 : 0), "a profile with a file is not new");
  for (int i = 0; i < g_profileCount; i++) {
    const Profile& p = g_profiles[i];
    check(p.inUse == 0 && p.work32 == 0 && p.work36 == 0, "working fields cleared");
    check(memchr(p.name, 0, sizeof p.name) != nullptr, "name without its end");
    for (const ProfileStats& s : p.stats) checkStats(s);
  }
  // written back and listed again, the profile reads the same
  Profile before = g_profiles[a];
  check(saveProfile("ALICE"), "written");
  check(listProfiles() == 2 && (a = Profile_Find("ALICE")) >= 0, "listed again");
  before.isNew = 0;
  check(memcmp(&before, &g_profiles[a], sizeof before) == 0, "a saved profile reads back the same");
  return 0;
}
