// A whole test play of a bundled song in which a script steps exactly on every
// note: the presses are written in music time ("play MS down CODE"), the game
// places each one from its song clock just before it falls due, and the
// judgement measures it against the note. Reports the spread of those
// distances from the game's "/results:" line (1 ms resolution, the judgement's).
//   TV_SONG=Demo/starfall-run/starfall-run.rkv  TV_LEVEL=MANIAC  TV_FPS=60 (0: unpaced)
#include "chart/chart.h"
#include "chart/timing.h"
#include "library/settings.h"
#include "platform/files.h"
#include "play/player.h"
#include <benchmark/benchmark.h>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {
const char* env(const char* name, const char* fallback) {
  const char* v = getenv(name);
  return v && *v ? v : fallback;
}

double number(const std::string& line, const char* key) {
  std::string k = std::string("\"") + key + "\":";
  size_t p = line.find(k);
  return p == std::string::npos ? NAN : atof(line.c_str() + p + k.size());
}

struct Hold {
  double down, up;
  int column;
};

// The key presses that step on every note of the chart: taps held 40 ms (or
// until just before the column's next note), freeze heads to the freeze's end.
bool scriptFor(const std::string& chartPath, int difficulty, const std::string& level, std::string& script,
               int& steps) {
  std::string text;
  if (!File_ReadText(chartPath, text)) return false;
  size_t key = text.find("#SINGLE:" + level + ":");  // the chart key carries its foot rating
  if (key == std::string::npos) return false;
  Player p[2] = {};
  p[0].number = 1;
  p[0].active = 1;
  Player_SetStyle(p[0], "SINGLE", 4, false);
  p[0].difficulty = difficulty;
  p[0].level = (uint8_t)atoi(text.c_str() + key + 9 + level.size());
  if (!loadChartText(text.data(), text.size(), chartPath.c_str(), p, 2, ChartRules{})) return false;
  if (g_timing.bpmChangeCount > 0 || g_timing.stopCount > 0) {
    fprintf(stderr, "choose a song with one tempo and no stops\n");
    return false;
  }
  auto musicMs = [&](double pos) { return (double)g_timing.gapMs + pos / 4.0 * g_timing.msPerBeat; };
  std::vector<Hold> holds;
  for (int32_t i = 0; i < p[0].arrowCount; i++) {
    const Arrow& a = p[0].arrows[i];
    if (a.kind != ARROW_TAP || a.column > 3) continue;
    double down = musicMs(a.startPos), up = down + 40;
    if (a.freezeLink >= 0 && a.freezeLink < p[0].arrowCount) up = musicMs(p[0].arrows[a.freezeLink].endPos) + 30;
    holds.push_back({down, up, a.column});
  }
  steps = (int)holds.size();
  std::sort(holds.begin(), holds.end(), [](const Hold& x, const Hold& y) { return x.down < y.down; });
  for (size_t i = 0; i < holds.size(); i++)
    for (size_t j = i + 1; j < holds.size(); j++)
      if (holds[j].column == holds[i].column) {
        holds[i].up = std::min(holds[i].up, holds[j].down - 5);
        break;
      }
  static const int kKeys[4] = {30, 31, 17, 32};  // A S W D: Left Down Up Right
  char line[96];
  for (const Hold& h : holds) {
    snprintf(line, sizeof line, "play %ld down %d\nplay %ld up %d\n", std::lround(h.down), kKeys[h.column],
             std::lround(h.up), kKeys[h.column]);
    script += line;
  }
  Chart_Free(p[0]);
  Timing_FreeLists(g_timing);
  return true;
}
}

static void BM_ScriptedPlayOnTheNotes(benchmark::State& state) {
  std::string game = TV_GAME_DIR;
  std::string song = env("TV_SONG", "Demo/starfall-run/starfall-run.rkv");
  std::string level = env("TV_LEVEL", "MANIAC");
  static const char* const kLevels[4] = {"BASIC", "ANOTHER", "MANIAC", "SMANIAC"};
  int difficulty = (int)(std::find(kLevels, kLevels + 4, level) - kLevels);
  std::string script;
  int steps = 0;
  if (difficulty > 3 || !scriptFor(game + "/Songs/" + song, difficulty, level, script, steps)) {
    state.SkipWithError("cannot read the chart");
    return;
  }
  // the game runs in a folder of its own that borrows the bundled content
  char tmpl[] = "/tmp/tv-scripted-XXXXXX";
  std::string dir = mkdtemp(tmpl);
  for (const char* d : {"Skins", "Sounds", "Songs", "Vis", "Profiles", "Courses"})
    if (symlink((game + "/" + d).c_str(), (dir + "/" + d).c_str()) != 0) perror("symlink");
  Settings s;
  Settings_Defaults(s);
  s.autoPlay = 1;  // off: the script plays
  File_WriteSafely(dir + "/rkv2.cfg", &s, sizeof s);
  File_WriteSafely(dir + "/in.txt", script.data(), script.size());
  std::string fps = env("TV_FPS", "60");
  std::string cmd = "cd '" + dir + "' && SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy} '" + game +
                    "/tarvolen' /skipsearch /results:r.json /input:in.txt /level:" + level + " " +
                    (fps == "0" ? "" : "/fps:" + fps + " ") + "/test:Songs/" + song + " > out.txt 2>&1";
  std::string result;
  for (auto _ : state) {
    remove((dir + "/r.json").c_str());
    int rc = system(cmd.c_str());
    if (!WIFEXITED(rc) || WEXITSTATUS(rc) != 0 || !File_ReadText(dir + "/r.json", result)) {
      state.SkipWithError("the game did not play the chart");
      return;
    }
  }
  state.counters["steps"] = steps;
  state.counters["perfect"] = number(result, "perfect");
  state.counters["presses"] = number(result, "presses");
  state.counters["mean_ms"] = number(result, "offsetMeanMs");
  state.counters["mean_abs_ms"] = number(result, "offsetMeanAbsMs");
  state.counters["max_abs_ms"] = number(result, "offsetMaxMs");
  printf("%s", result.c_str());
  system(("rm -rf '" + dir + "'").c_str());
}
BENCHMARK(BM_ScriptedPlayOnTheNotes)->Iterations(1)->Unit(benchmark::kSecond);
