#include "library/replay_store.h"
#include "library/dir_walker.h"
#include "library/tarvolen_ini.h"
#include "platform/files.h"
#include "platform/log.h"
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>

namespace {
std::string chartKey(const ReplayHeader& h, const ReplayPlayerHeader& p) {
  // the chart file is part of it: one song folder may hold several charts
  return std::string(p.profile) + "|" + h.group + "\\" + h.folder + "|" + h.chartFile + "|" + p.styleName + "|" +
         std::to_string(p.difficulty);
}

std::string courseKey(const CourseReplayHeader& h, const CourseReplayPlayer& p) {
  return std::string(p.profile) + "|COURSE|" + h.courseFolder + "/" + h.courseFile + "|" + std::to_string(p.panels);
}

// Better: more dance points, then a higher score; an equal play does not
// replace the one that got there first.
template <class A, class B>
bool better(const A& a, const B& b) {
  if (a.dancePoints != b.dancePoints) return a.dancePoints > b.dancePoints;
  return a.scorePoints > b.scorePoints;
}

// Each player of a listed replay with its key and its figures.
struct Entry {
  std::string key;
  int32_t dancePoints;
  int64_t scorePoints;
};
std::vector<Entry> entriesOf(const ReplayListing& l) {
  std::vector<Entry> out;
  if (l.course) {
    if (l.courseHeader.autoPlay) return out;
    for (const CourseReplayPlayer& p : l.courseHeader.players)
      if (p.active) out.push_back({courseKey(l.courseHeader, p), p.dancePoints, p.scorePoints});
  } else {
    if (l.header.autoPlay) return out;
    for (const ReplayPlayerHeader& p : l.header.players)
      if (p.active) out.push_back({chartKey(l.header, p), p.dancePoints, p.scorePoints});
  }
  return out;
}
}  // namespace

int ReplayStore_Keep() { return TarvolenIni_GetInt(kReplayKeepKey, kReplayKeepDefault, 0, kReplayKeepMax); }

std::vector<ReplayListing> ReplayStore_List(const std::string& folder) {
  std::vector<ReplayListing> list;
  DirWalker w;
  if (w.openDir(folder, "*.tvr", 1) <= 0) return list;
  for (const DirEntry& e : w.entries) {
    ReplayListing l;
    l.path = folder + "/" + e.name;
    std::string error;
    std::vector<uint8_t> head;
    bool ok = false;
    if (!File_ReadUpTo(l.path, sizeof(ReplayHeader), head)) {
      error = "the file cannot be read";
    } else if (CourseReplay_Is(head.data(), head.size())) {
      l.course = true;
      ok = CourseReplay_DecodeHeader(head.data(), head.size(), l.courseHeader, error);
      if (ok && e.size < (int64_t)(sizeof(CourseReplayHeader) + l.courseHeader.bodyBytes)) {
        ok = false;
        error = "it is cut short";
      }
    } else {
      ok = Replay_LoadHeader(l.path, l.header, error);
    }
    if (!ok) {
      WriteLogf("Replay '%s' left alone: %s\n", l.path.c_str(), error.c_str());
      continue;
    }
    list.push_back(std::move(l));
  }
  std::stable_sort(list.begin(), list.end(), [](const ReplayListing& a, const ReplayListing& b) {
    if (a.playedAt() != b.playedAt()) return a.playedAt() < b.playedAt();
    return a.path < b.path;
  });
  return list;
}

std::vector<bool> ReplayStore_Protected(const std::vector<ReplayListing>& list) {
  struct Best {
    size_t index;
    int32_t dancePoints;
    int64_t scorePoints;
  };
  std::map<std::string, Best> best;   // chart or course and profile -> the best play so far
  for (size_t i = 0; i < list.size(); i++)
    for (const Entry& e : entriesOf(list[i])) {
      auto [it, added] = best.try_emplace(e.key, Best{i, e.dancePoints, e.scorePoints});
      if (!added && better(e, it->second)) it->second = Best{i, e.dancePoints, e.scorePoints};
    }
  std::vector<bool> keep(list.size(), false);
  for (const auto& [key, b] : best) keep[b.index] = true;
  return keep;
}

int ReplayStore_Prune(int keep, const std::string& folder) {
  std::vector<ReplayListing> list = ReplayStore_List(folder);
  if ((int)list.size() <= keep) return 0;
  std::vector<bool> prot = ReplayStore_Protected(list);
  int over = (int)list.size() - keep, removed = 0;
  for (size_t i = 0; i < list.size() && removed < over; i++) {
    if (prot[i]) continue;
    if (remove(list[i].path.c_str()) != 0) {
      WriteLogf("Unable to remove the old replay '%s'\n", list[i].path.c_str());
      continue;
    }
    removed++;
  }
  if (removed) WriteLogf("Removed %d old replay(s): %d kept at most, the best of each chart always\n", removed, keep);
  return removed;
}

std::string ReplayStore_Best(const char* group, const char* folder, int panels, int difficulty, const char* profile) {
  std::vector<ReplayListing> list = ReplayStore_List();
  std::vector<bool> prot = ReplayStore_Protected(list);
  std::string best;
  int bestDifficulty = -1;
  for (size_t i = 0; i < list.size(); i++) {
    if (!prot[i] || list[i].course) continue;
    const ReplayHeader& h = list[i].header;
    if (strcmp(h.group, group) != 0 || strcmp(h.folder, folder) != 0) continue;
    for (const ReplayPlayerHeader& p : h.players)
      if (p.active && p.panels == panels && (difficulty < 0 || p.difficulty == difficulty) &&
          p.difficulty > bestDifficulty && strcmp(p.profile, profile ? profile : "") == 0) {
        best = list[i].path;
        bestDifficulty = p.difficulty;
      }
  }
  return best;
}

std::string ReplayStore_BestCourse(const char* courseFolder, const char* courseFile, int panels, const char* profile) {
  std::vector<ReplayListing> list = ReplayStore_List();
  std::vector<bool> prot = ReplayStore_Protected(list);
  for (size_t i = 0; i < list.size(); i++) {
    if (!prot[i] || !list[i].course) continue;
    const CourseReplayHeader& h = list[i].courseHeader;
    if (strcmp(h.courseFolder, courseFolder) != 0 || strcmp(h.courseFile, courseFile) != 0) continue;
    for (const CourseReplayPlayer& p : h.players)
      if (p.active && p.panels == panels && strcmp(p.profile, profile ? profile : "") == 0) return list[i].path;
  }
  return "";
}
