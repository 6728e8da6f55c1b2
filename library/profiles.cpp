#include "library/profiles.h"
#include "platform/log.h"
#include "platform/files.h"
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <strings.h>
#include <string>
#include <vector>

Profile g_profiles[kMaxProfiles];
int g_profileCount = 0;

namespace {
std::string profileFile(const char* name) { return std::string("Profiles/") + name + "/profile.dat"; }

// A damaged file must not put "nan" or a negative count on the profile screen,
// nor a figure the evaluation could never raise again: what no play can give
// reads as zero (and perfects as at most the steps). True when anything changed.
bool repairStats(ProfileStats& s) {
  bool changed = false;
  for (double* v : {&s.steps, &s.perfects, &s.bestScore, &s.courseBestPercent, &s.courseBestScore})
    if (!std::isfinite(*v) || *v < 0) *v = 0, changed = true;
  if (s.perfects > s.steps) s.perfects = s.steps, changed = true;
  if (s.courseBestPercent > 100) s.courseBestPercent = 100, changed = true;
  for (int32_t* v : {&s.songs, &s.bestCombo, &s.courseBestStage, &s.courseLongestMs, &s.courseBestCombo})
    if (*v < 0) *v = 0, changed = true;
  return changed;
}
}

int listProfiles() {
  g_profileCount = 0;
  std::vector<std::string> names;
  std::error_code ec;
  for (std::filesystem::directory_iterator it("Profiles", ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code e2;
    if (!it->is_directory(e2)) continue;
    std::string n = it->path().filename().string();
    if (n.empty() || n[0] == '.' || n.size() >= 16) continue;
    names.push_back(n);
  }
  // The folder listing has no order of its own: take the first 64 by name so that
  // the same profiles are listed on every run.
  std::sort(names.begin(), names.end());
  if (names.size() > (size_t)kMaxProfiles) {
    WriteLogf("More than %d profiles; the rest are not listed\n", kMaxProfiles);
    names.resize(kMaxProfiles);
  }
  for (const std::string& n : names) {
    Profile p{};
    std::vector<uint8_t> bytes;
    if (File_ReadUpTo(profileFile(n.c_str()), sizeof p, bytes) && !bytes.empty()) {
      memcpy(&p, bytes.data(), bytes.size());
      p.isNew = 0;   // new means without a file, whatever the file's first byte says
      bool repaired = false;
      for (ProfileStats& st : p.stats) repaired |= repairStats(st);
      if (repaired) WriteLogf("Profile '%s' holds figures no play can give; they read as zero\n", n.c_str());
    } else {
      p.isNew = 1;
    }
    p.inUse = 0;
    p.work32 = 0;
    p.work36 = 0;
    memset(p.name, 0, sizeof p.name);
    memcpy(p.name, n.data(), n.size());
    g_profiles[g_profileCount++] = p;
  }
  std::stable_sort(g_profiles, g_profiles + g_profileCount,
                   [](const Profile& a, const Profile& b) { return strcasecmp(a.name, b.name) < 0; });
  return g_profileCount;
}

int Profile_Find(const char* name) {
  for (int i = 0; i < g_profileCount; i++)
    if (strcmp(g_profiles[i].name, name) == 0) return i;
  return -1;
}

bool saveProfile(const char* name) {
  int i = name ? Profile_Find(name) : -1;
  if (i < 0) return false;
  Profile p = g_profiles[i];
  p.isNew = 0;
  bool ok = File_WriteSafely(profileFile(name), &p, sizeof p);
  if (ok) g_profiles[i].isNew = 0;
  else WriteLogf("Unable to write profile '%s'\n", name);
  return ok;
}
