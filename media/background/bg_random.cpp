// Random backgrounds: the movie files found for a song, and the timeline that
// switches between them (and between visualizations) every 32 units.
//
// Settings: Random Animations 1 uses movies, 2 visualizations, 3 both. Movies
// need an AVI quality above 0, visualizations an SVP quality above 0. "Number to
// Use" SINGLE (visNumber 0) lets the timeline use at most one visualization; a
// fixed plug-in (visPlugin n, the n-th of the list) under setting 2 shows that
// plug-in alone for the whole song. A fixed plug-in that is not in the list is
// reported and a random one is used instead.
//
// The picks are logged as "%d = %d": the pick and its source, counting the
// movies first and the visualizations after them.
#include "media/background/bg_script_internal.h"
#include "media/background/movie_player.h"
#include "media/vis/vis.h"
#include "platform/files.h"
#include "platform/log.h"
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>

namespace {
constexpr size_t kMaxRandomSources = 4096;
constexpr double kEffectLength = 32;   // units between random switches
constexpr double kMaxEnd = 1e6;
}  // namespace

bool BgRandom_ScanFolder(const std::string& folder, std::vector<std::string>& names) {
  namespace fs = std::filesystem;
  names.clear();
  std::error_code ec;
  for (fs::directory_iterator it(folder.empty() ? "." : folder, ec), end; !ec && it != end; it.increment(ec)) {
    if (!it->is_regular_file(ec)) continue;
    std::string name = it->path().filename().string();
    if (!Movie_IsMovieFile(name.c_str())) continue;
    if (names.size() >= kMaxRandomSources) break;
    names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  return !names.empty();
}

void BgRandom_FindSources(const char* songFolder, const BackgroundParams& params) {
  WriteLog("Finding random animations...\n");
  // nothing is listed when nothing may be read, or when movies are off
  if (!params.loadSources || params.aviQuality <= 0) return;
  Backgrounds& g = g_backgrounds;
  std::string movies;
  Path_Resolve(Path_Join(songFolder, "Movies"), movies);
  std::string random;
  Path_Resolve("Movies/Random", random);
  if (BgRandom_ScanFolder(movies, g.randomSources)) {
    WriteLog(" - found animations in 'Movies' subfolder\n");
    g.randomFolder = movies;
  } else if (BgRandom_ScanFolder(songFolder, g.randomSources)) {
    WriteLog(" - found animations in current folder\n");
    g.randomFolder = songFolder;
  } else {
    // the game's own folder, also where "#RANDLIST:" names are looked for by default
    BgRandom_ScanFolder(random, g.randomSources);
    g.randomFolder = random;
  }
}

void BgRandom_Timeline(const BackgroundParams& params, BgRandom& rng) {
  Backgrounds& g = g_backgrounds;
  WriteLog("Generating random background...\n");
  const int setting = params.randomAnimations;
  const bool useMovies = (setting == 1 || setting == 3) && params.aviQuality > 0;
  const bool useVis = (setting == 2 || setting == 3) && params.svpQuality > 0;
  int numMovies = useMovies ? (int)std::min(g.randomSources.size(), kMaxRandomSources) : 0;
  int visInList = params.loadSources ? Vis_Count() : std::max(0, params.visCountWithoutSources);
  int numVis = useVis ? visInList : 0;
  if (params.visNumber == 0) numVis = std::min(numVis, 1);
  int fixedVis = -1;
  if (setting == 2 && useVis && params.visPlugin > 0) {
    if (params.visPlugin <= visInList) {
      fixedVis = params.visPlugin - 1;
    } else {
      WriteLogf("Plug-in %d is not in the list of %d; a random one is used\n", params.visPlugin, visInList);
    }
  }

  double end = std::isfinite(params.endPosition) ? std::clamp(params.endPosition, 0.0, kMaxEnd) : 0;
  double start = g.randStart;
  double beats = end - start;
  int effects = beats > 0 ? (int)std::floor(beats / kEffectLength) : 0;
  if (beats > 0 && start + kEffectLength * effects < end) effects++;
  int count = std::clamp(effects / 3, 4, 12);
  if (setting == 1) count = std::min(count, numMovies);
  else count = std::min(count, numMovies + numVis);
  // a fixed plug-in shows from the random start to the end (when the song gets there)
  if (fixedVis >= 0) effects = effects > 0 ? 2 : 0, count = 1;
  if (numMovies + numVis == 0 && fixedVis < 0) effects = 0;
  if (count <= 0) count = 1;
  if (count > 35) count = 35;
  WriteLogf("numRAVIs=%d, numvis=%d, beats=%.0f, effects=%d, numavis=%d\n", numMovies, numVis, beats, effects, count);

  if (effects > 0) {
    WriteLog("Determining AVIs to use...\n");
    // sources as one list: movies 0..numMovies-1, then the visualizations
    std::vector<int> movieLeft, visLeft, picks;
    for (int i = 0; i < numMovies; i++) movieLeft.push_back(i);
    if (fixedVis >= 0) {
      visLeft.push_back(fixedVis);
    } else {
      // SINGLE: the one plug-in used is drawn from the whole list
      if (numVis == 1 && visInList > 1) visLeft.push_back(rng.Below(visInList));
      else for (int i = 0; i < numVis; i++) visLeft.push_back(i);
    }
    auto take = [&](std::vector<int>& from) {
      size_t at = (size_t)rng.Below((int)from.size());
      int v = from[at];
      from.erase(from.begin() + (long)at);
      return v;
    };
    for (int i = 0; i < count && (!movieLeft.empty() || !visLeft.empty()); i++) {
      bool vis;
      if (setting == 1) vis = false;
      else if (setting == 2) vis = true;
      else vis = (i % 2 == 0 && !visLeft.empty()) || movieLeft.empty();
      if (vis && visLeft.empty()) break;
      int source = vis ? numMovies + take(visLeft) : take(movieLeft);
      WriteLogf("%d = %d\n", i, source);
      picks.push_back(source);
    }
    WriteLog("Loading AVIs...\n");
    for (size_t i = 0; i < picks.size(); i++) {
      int id = (int)i + 1;
      Background& b = g.defs[id];
      BgDefine_Free(b);
      b.layer = 0;
      b.width = 640;
      b.height = 480;
      bool ok;
      if (picks[i] < numMovies) {
        std::string path = Path_Join(g.randomFolder, g.randomSources[(size_t)picks[i]]);
        WriteLogf("(%d) Loading AVI %s...\n", id, path.c_str());
        b.type = BG_MOVIE;
        ok = !params.loadSources || BgDefine_Movie(b, id, path, params);
      } else {
        uint32_t index = (uint32_t)(picks[i] - numMovies);
        std::string path = Vis_PathAt(index);
        WriteLogf("(%d) Loading VIS %s...\n", id, path.c_str());
        b.type = BG_VIS;
        ok = !params.loadSources || BgDefine_Vis(b, id, path, params);
      }
      if (!ok) BgDefine_Free(b);   // its events show nothing
    }
    count = std::max(1, (int)picks.size());
  }

  WriteLog("set backgrounds...\n");
  int previous = 0;
  for (int k = 0; k + 1 < effects; k++) {
    int id = 1 + rng.Below(count);
    if (id == previous && count > 1) id = 1 + (previous + rng.Below(count - 1)) % count;   // any other one
    g.events.push_back(BackgroundEvent{start + kEffectLength * k, id, 0});
    previous = id;
  }
  g.events.push_back(BackgroundEvent{end, 0, 0});
  WriteLog("set effects...\n");
  std::string line;
  char item[64];
  for (const BackgroundEvent& e : g.events) {
    snprintf(item, sizeof item, "%.1f - %d,", e.position, e.id);
    line += item;
  }
  line += "\n";
  WriteLog(line.c_str());
}
