// The play loop's drawing on the software compositor: background, a dense chart
// at 8x (sixteenth notes with jumps and freezes at 150 BPM) and the HUD, frame
// after frame as the song advances. Reports the median and the worst of 1,000
// frames besides the mean.
#include "chart/chart.h"
#include "chart/timing.h"
#include "library/settings.h"
#include "media/font/font.h"
#include "media/render/screen.h"
#include "media/skin/skin_images.h"
#include "play/begin_play.h"
#include "play/hud.h"
#include "play/note_field.h"
#include "play/player.h"
#include <benchmark/benchmark.h>
#include <algorithm>
#include <chrono>
#include <string>
#include <unistd.h>
#include <vector>

namespace {
std::string denseChart() {
  std::string s = "#TITLE:Dense;\n#ARTIST:Bench;\n#BPM:150;\n#GAP:0;\n#CHANGEBPM:256=180,512=150;\n#SINGLE:MANIAC:10:\n(";
  const char* rows = "2486A8B2461397";
  for (int i = 0; i < 2400; i++) {
    s += rows[i % 14];
    if (i % 64 == 10) s += "!8";
  }
  return s + ");\n";
}

void setUp() {
  static bool done = false;
  if (done) return;
  done = true;
  chdir(TV_GAME_DIR);
  Settings_Defaults(g_settings);
  LoadImages("Default", false);
  LoadArrows(2);
  Font_Load("Skins/Default", "font-Main");
  LoadSongBackground("Demo", "neon-stride", "neon-stride-bg.png", g_settings.bgBrightness);
}
}

static void BM_PlayFrame8x(benchmark::State& state) {
  setUp();
  Players_Reset();
  Player& p = g_players[0];
  p.active = 1;
  Player_SetStyle(p, "SINGLE", 4, true);
  p.difficulty = 2;
  p.level = 10;
  p.options.speed = 6;  // 8x
  std::string chart = denseChart();
  if (!loadChartText(chart.data(), chart.size(), "dense.rkv", g_players, 2, ChartRules{})) {
    state.SkipWithError("chart did not load");
    return;
  }
  BeginPlay(p, 1, false);
  ScrollState scroll;
  NoteFieldState field{};
  HudState hud;
  Timing_Begin(scroll, g_timing);
  std::vector<double> frames;
  double t = 0;
  for (auto _ : state) {
    auto a = std::chrono::steady_clock::now();
    t += 16.7;
    Timing_Advance(scroll, g_timing, t, g_players, 2);
    Screen_Clear(0, 0, 0);
    g_background.SetPosition(0, 0);
    g_background.Draw();
    NoteField_Draw(field, p, 0, scroll, t);
    Hud_Draw(hud, g_players, t, t);
    benchmark::DoNotOptimize(Screen_Pixel(320, 240));
    frames.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - a).count());
  }
  std::sort(frames.begin(), frames.end());
  state.counters["median_us"] = frames[frames.size() / 2];
  state.counters["worst_us"] = frames.back();
  Chart_Free(p);
}
BENCHMARK(BM_PlayFrame8x)->Iterations(1000)->Unit(benchmark::kMicrosecond);
