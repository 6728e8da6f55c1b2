#include "library/replay_store.h"
#include "library/dir_walker.h"
#include "library/tarvolen_ini.h"
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

// Better: more dance points, then a higher score; an equal play does not
// replace the one that got there first.
bool better(const ReplayPlayerHeader& a, const ReplayPlayerHeader& b) {
  if (a.dancePoints != b.dancePoints) return a.dancePoints > b.dancePoints;
  return a.scorePoints > b.scorePoints;
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
    if (!Replay_LoadHeader(l.path, l.header, error)) {
      WriteLogf("Replay '%s' left alone: %s\n", l.path.c_str(), error.c_str());
      continue;
    }
    list.push_back(std::move(l));
  }
  std::stable_sort(list.begin(), list.end(), [](const ReplayListing& a, const ReplayListing& b) {
    if (a.header.playedAt != b.header.playedAt) return a.header.playedAt < b.header.playedAt;
    return a.path < b.path;
  });
  return list;
}

std::vector<bool> ReplayStore_Protected(const std::vector<ReplayListing>& list) {
  struct Best {
    size_t index;
    int player;
  };
  std::map<std::string, Best> best;   // chart and profile -> the best play so far
  for (size_t i = 0; i < list.size(); i++) {
    const ReplayHeader& h = list[i].header;
    if (h.autoPlay) continue;
    for (int pi = 0; pi < 2; pi++) {
      const ReplayPlayerHeader& p = h.players[pi];
      if (!p.active) continue;
      auto [it, added] = best.try_emplace(chartKey(h, p), Best{i, pi});
      if (!added && better(p, list[it->second.index].header.players[it->second.player])) it->second = Best{i, pi};
    }
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
    if (!prot[i]) continue;
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
