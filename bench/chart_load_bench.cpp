// Loading speed of a dense chart: about 5,000 arrows with chords, freezes,
// tempo changes and stops, from memory and from the file; and the per-frame
// timing walk through the same song.
#include <benchmark/benchmark.h>
#include <cstdio>
#include <filesystem>
#include <string>
#include "chart/chart.h"
#include "chart/timing.h"
#include "library/settings.h"
#include "play/player.h"

namespace {
// One half of the step data: rows, chords, chord groups, freezes, row steps.
std::string DenseSteps(int cycles) {
  static const char* const kCycle[] = {"(", "4", "2", "8", "6", "A", "B", "1!1", "0", "3", "9", ")",
                                       "<46>", "0", "4", "2", "[", "8", "6", "8", "]", "7!7", "{", "2222", "}",
                                       "4", "8", " // a comment\n"};
  std::string s;
  for (int c = 0; c < cycles; c++)
    for (const char* t : kCycle) s += t;
  return s;
}

std::string DenseChart(bool twoHalves) {
  std::string text = "#TITLE:Dense;\n#ARTIST:Bench;\n#BPM:150;\n#GAP:-120;\n#CHANGEBPM:";
  for (int i = 1; i <= 60; i++) text += std::to_string(i * 64) + "=" + std::to_string(120 + (i % 7) * 20) + (i < 60 ? "," : ";\n");
  text += "#FREEZE:";
  for (int i = 1; i <= 30; i++) text += std::to_string(i * 128 + 2) + "=" + std::to_string(100 + i * 10) + (i < 30 ? "," : ";\n");
  std::string half = DenseSteps(190);
  text += twoHalves ? "#DOUBLE:MANIAC:10:" + DenseSteps(95) + ":" + DenseSteps(95) + ";\n"
                    : "#SINGLE:MANIAC:10:" + half + ";\n";
  return text;
}

void SetUp(Player* players, const char* style, int panels) {
  Settings_Defaults(g_settings);
  for (int i = 0; i < 2; i++) {
    Chart_Free(players[i]);
    players[i] = Player{};
    players[i].number = (uint8_t)(i + 1);
  }
  Player_SetStyle(players[0], style, panels, true);
  players[0].active = 1;
  players[0].difficulty = 2;
  players[0].level = 10;
}

void LoadFromMemory(benchmark::State& state, bool twoHalves) {
  std::string text = DenseChart(twoHalves);
  Player players[2] = {};
  SetUp(players, twoHalves ? "DOUBLE" : "SINGLE", twoHalves ? 8 : 4);
  int arrows = 0;
  for (auto _ : state) {
    if (!loadChartText(text.data(), text.size(), "dense.rkv", players, 1, ChartRules{}))
      state.SkipWithError("load failed");
    arrows = players[0].arrowCount;
    Chart_Free(players[0]);
    Timing_FreeLists(g_timing);
  }
  state.counters["arrows"] = arrows;
  state.counters["bytes"] = (double)text.size();
}

void BM_LoadDenseSingle(benchmark::State& state) { LoadFromMemory(state, false); }
void BM_LoadDenseDouble(benchmark::State& state) { LoadFromMemory(state, true); }

void BM_LoadDenseFromFile(benchmark::State& state) {
  namespace fs = std::filesystem;
  fs::path dir = fs::temp_directory_path() / "tarvolen-chart-bench";
  fs::create_directories(dir / "Songs" / "G" / "S");
  std::string text = DenseChart(false);
  if (FILE* f = fopen((dir / "Songs/G/S/dense.rkv").c_str(), "wb")) {
    fwrite(text.data(), 1, text.size(), f);
    fclose(f);
  }
  fs::path old = fs::current_path();
  fs::current_path(dir);
  Player players[2] = {};
  SetUp(players, "SINGLE", 4);
  for (auto _ : state) {
    if (!loadChart("G", "S", "dense.rkv", players, 1, ChartRules{})) state.SkipWithError("load failed");
    Chart_Free(players[0]);
    Timing_FreeLists(g_timing);
  }
  fs::current_path(old);
  fs::remove_all(dir);
}

// A whole song's frames at 60 per second through the tempo changes and stops.
void BM_ScrollWholeSong(benchmark::State& state) {
  std::string text = DenseChart(false);
  Player players[2] = {};
  SetUp(players, "SINGLE", 4);
  int64_t frames = 0;
  for (auto _ : state) {
    state.PauseTiming();
    loadChartText(text.data(), text.size(), "dense.rkv", players, 1, ChartRules{});
    const Arrow& last = players[0].arrows[players[0].arrowCount - 1];
    double end = (double)Timing_TimeOfPosition(g_timing, last.startPos) + 10000;
    ScrollState s;
    Timing_Begin(s, g_timing);
    state.ResumeTiming();
    for (double t = -3500; t < end; t += 1000.0 / 60) {
      Timing_Advance(s, g_timing, t, players, 1);
      frames++;
    }
    benchmark::DoNotOptimize(s.chartPos);
    state.PauseTiming();
    Chart_Free(players[0]);
    Timing_FreeLists(g_timing);
    state.ResumeTiming();
  }
  state.counters["frames"] = benchmark::Counter((double)frames, benchmark::Counter::kAvgIterations);
}
}  // namespace

BENCHMARK(BM_LoadDenseSingle)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LoadDenseDouble)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LoadDenseFromFile)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ScrollWholeSong)->Unit(benchmark::kMicrosecond);
