// A play frame with living backgrounds: a 640 x 480 movie on the base layer and
// a visualization over it, while the media worker decodes both, paced at 60
// frames a second like the play. Measures the main thread's frame (switching,
// advancing and drawing the layers, then the dense note field and HUD) over
// 3,000 frames: median, 99th percentile and worst; the resident memory before
// and after tells whether a whole song's worth of frames keeps it flat.
//
// Needs the built game folder (the shipped movie and plug-ins). Run with
// SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy where there is no display or sound.
#include "chart/chart.h"
#include "chart/timing.h"
#include "library/settings.h"
#include "media/audio/audio.h"
#include "media/background/background.h"
#include "media/background/movie_player.h"
#include "media/font/font.h"
#include "media/render/screen.h"
#include "media/skin/skin_images.h"
#include "media/vis/vis.h"
#include "platform/clock.h"
#include "play/begin_play.h"
#include "play/hud.h"
#include "play/media_worker.h"
#include "play/note_field.h"
#include "play/player.h"
#include <benchmark/benchmark.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {
std::string denseChart() {
  std::string s = "#TITLE:Dense;\n#ARTIST:Bench;\n#BPM:150;\n#GAP:0;\n#SINGLE:MANIAC:10:\n(";
  const char* rows = "2486A8B2461397";
  for (int i = 0; i < 2400; i++) s += rows[i % 14];
  return s + ");\n";
}

long residentKb() {
  FILE* f = fopen("/proc/self/statm", "r");
  long pages = 0, rss = 0;
  if (f) {
    if (fscanf(f, "%ld %ld", &pages, &rss) != 2) rss = 0;
    fclose(f);
  }
  return rss * (sysconf(_SC_PAGESIZE) / 1024);
}

bool setUp() {
  static int done = 0;
  if (done) return done > 0;
  done = -1;
  if (chdir(TV_GAME_DIR) != 0) return false;
  Settings_Defaults(g_settings);
  LoadImages("Default", false);
  LoadArrows(2);
  Font_Load("Skins/Default", "font-Main");
  if (!Audio_Init(-1, 44100, 0, nullptr)) return false;
  std::atexit([] { Audio_Free(); });   // its threads end before the program does
  Audio_Start();
  Vis_Search("Vis");
  if (Vis_Count() == 0) return false;
  done = 1;
  return true;
}
}  // namespace

// quality: the AVI and SVP quality settings (1..10).
static void BM_PlayFrameWithMovieAndVis(benchmark::State& state) {
  if (!setUp()) {
    state.SkipWithError("no game folder, audio or plug-ins");
    return;
  }
  int quality = (int)state.range(0);
  // the music the visualization listens to
  uint32_t stream = Audio_StreamCreateFile(false, "Songs/Demo/neon-stride/neon-stride.ogg", 0, 0, 0);
  if (stream) Audio_StreamPlay(stream, false, 0);
  MoviePlayer movie;
  VisInstance vis;
  if (!movie.Open("Movies/Random/tv-drift.avi", quality * 10, true) || !Vis_CreateFrame(quality * 10, true) ||
      !vis.Load(Vis_PathAt(0), VIS_LOAD_USE)) {
    state.SkipWithError("movie or plug-in did not open");
    return;
  }
  ResetBackgrounds();
  Background& m = g_backgrounds.defs[1];
  m.type = BG_MOVIE;
  m.layer = 0;
  m.width = 640;
  m.height = 480;
  m.movie = &movie;
  Background& v = g_backgrounds.defs[2];
  v.type = BG_VIS;
  v.layer = 1;
  v.width = 320;
  v.height = 240;
  v.x = 160;
  v.y = 120;
  v.vis = &vis;
  g_backgrounds.events = {{0, 1, 0}, {0, 2, 0}};

  Players_Reset();
  Player& p = g_players[0];
  p.active = 1;
  Player_SetStyle(p, "SINGLE", 4, true);
  p.difficulty = 2;
  p.options.speed = 3;
  std::string chart = denseChart();
  loadChartText(chart.data(), chart.size(), "dense.rkv", g_players, 2, ChartRules{});
  BeginPlay(p, 1, false);
  ScrollState scroll;
  NoteFieldState field{};
  HudState hud;
  Timing_Begin(scroll, g_timing);
  Backgrounds_Start(0, 0, stream, &g_background);
  MediaWorker_Start(0, true);

  long rssBefore = 0;
  std::vector<double> frames;
  double start = Clock_MsPrecise();
  int n = 0;
  for (auto _ : state) {
    double songMs = n * (1000.0 / 60);
    // paced like the play: the worker has the time between frames
    double due = start + songMs;
    while (Clock_MsPrecise() < due) std::this_thread::sleep_for(std::chrono::microseconds(200));
    auto a = std::chrono::steady_clock::now();
    Timing_Advance(scroll, g_timing, songMs, g_players, 2);
    Backgrounds_Update(scroll.position, songMs);
    Screen_Clear(0, 0, 0);
    Backgrounds_Draw();
    NoteField_Draw(field, p, 0, scroll, songMs);
    Hud_Draw(hud, g_players, songMs, songMs);
    benchmark::DoNotOptimize(Screen_Pixel(320, 240));
    frames.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - a).count());
    if (++n == 300) rssBefore = residentKb();
  }
  MediaWorker_Stop();
  long rssAfter = residentKb();
  Backgrounds_Stop();
  g_backgrounds.defs[1] = Background{};
  g_backgrounds.defs[2] = Background{};
  ResetBackgrounds();
  vis.Free();
  Vis_FreeFrame();
  movie.Close();
  if (stream) Audio_StreamFree(stream);
  Chart_Free(p);
  std::sort(frames.begin(), frames.end());
  state.counters["median_us"] = frames[frames.size() / 2];
  state.counters["p99_us"] = frames[frames.size() * 99 / 100];
  state.counters["worst_us"] = frames.back();
  state.counters["rss_growth_kb"] = (double)(rssAfter - rssBefore);
}
BENCHMARK(BM_PlayFrameWithMovieAndVis)->Arg(5)->Arg(10)->Iterations(3000)->Unit(benchmark::kMicrosecond);
