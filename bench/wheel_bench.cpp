// The song wheel at pack scale, drawn by the software compositor with the
// generated Default skin: a frame of a 10,000-song wheel at rest, the worst frame
// while it moves one item a frame through a folder of 2,048 songs (banners loaded
// as they come into view), the start of a song's preview once the wheel rests,
// and the memory held after 100 moves across the 10,000 songs.
#include "chart/random.h"
#include "library/records.h"
#include "library/settings.h"
#include "library/song_list.h"
#include "media/audio/audio.h"
#include "media/font/font.h"
#include "media/render/screen.h"
#include "media/skin/skin_images.h"
#include "menus/collection.h"
#include "menus/preview.h"
#include "menus/screen_loop.h"
#include "menus/wheel.h"
#include "menus/wheel_banners.h"
#include "menus/wheel_look.h"
#include "platform/clock.h"
#include "platform/log.h"
#include "play/player.h"
#include <benchmark/benchmark.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <strings.h>
#include <ctime>
#include <unistd.h>

namespace {
namespace fs = std::filesystem;
const int kSongs = 10000, kFolders = 200;
const char* const kDemo[4] = {"glass-circuit", "neon-stride", "paper-lanterns", "starfall-run"};

// A scratch game folder: the generated skin and sounds, and 200 song folders that
// are the demo songs again (so every song has a banner on disk).
struct World {
  fs::path dir, old;
  WheelLook look;
  World() {
    LogOff();
    dir = fs::temp_directory_path() / ("tarvolen-wheel-bench-" + std::to_string(getpid()));
    fs::create_directories(dir / "Songs");
    old = fs::current_path();
    for (const char* d : {"Skins", "Sounds"}) fs::create_directory_symlink(fs::path(TV_GAME_DIR) / d, dir / d);
    for (int f = 0; f < kFolders; f++)
      fs::create_directory_symlink(fs::path(TV_GAME_DIR) / "Songs" / "Demo",
                                   dir / "Songs" / ("Pack " + std::to_string(f)));
    fs::current_path(dir);
    Settings_Defaults(g_settings);
    Players_Reset();
    g_players[0].active = 1;
    LoadImages("Default", false);
    Font_Load("Skins/Default", "font-Main");
    makeLibrary(kSongs);
    WheelLook_Load(look);
  }
  ~World() {
    WheelLook_Free(look);
    FreeImages();
    Font_Free();
    fs::current_path(old);
    fs::remove_all(dir);
  }
  static void makeLibrary(int songs) {
    uint32_t seed = 99;
    auto next = [&seed] { return (seed = seed * 1103515245u + 12345u) >> 8; };
    g_songs.assign((size_t)songs, SongEntry{});
    g_groupList.clear();
    g_artistList.clear();
    g_genreList.clear();
    for (int i = 0; i < songs; i++) {
      SongEntry& e = g_songs[i];
      int demo = (int)(next() % 4);
      SetField(e.group, ("Pack " + std::to_string(next() % kFolders)).c_str());
      SetField(e.folder, kDemo[demo]);
      SetField(e.banner, (std::string(kDemo[demo]) + "-banner.png").c_str());
      char title[64];
      snprintf(title, sizeof title, "%c%c song number %d", 'A' + (int)(next() % 26), 'a' + (int)(next() % 26), i);
      SetField(e.title, title);
      SetField(e.artist, ("Artist " + std::to_string(next() % 3000)).c_str());
      SetField(e.genres, "|Pop|");
      e.bpmValue = 80 + next() % 140;
      e.bpmMin = e.bpmMax = (int)e.bpmValue;
      e.displayBpm = -1;
      for (int d = 0; d < 4; d++) e.levels[d] = 1 + d * 2 + (int)(next() % 3);
      for (auto& f : e.figures) f = {(double)(next() % 100), (double)(next() % 100), (double)(next() % 100), 20, 40};
      e.record = -1;
      e.profileRecord[0] = e.profileRecord[1] = -1;
      e.selectable = 1;
      e.newState = next() % 10 == 0;
    }
    std::stable_sort(g_songs.begin(), g_songs.end(),
                     [](const SongEntry& a, const SongEntry& b) { return strcasecmp(a.title, b.title) < 0; });
    for (const SongEntry& e : g_songs) {
      SongList_AddDistinct(g_groupList, e.group);
      SongList_AddDistinct(g_artistList, e.artist);
    }
    SongList_AddDistinct(g_genreList, "Pop");
    freeRecords(g_records);
    Collection_NewGame();
  }
};

World& world() {
  static World w;
  return w;
}

// One frame as the screen loop makes it, without presenting.
void frame(Wheel& w, WheelLook& look, uint32_t nowMs) {
  ScreenFrame f;
  f.nowMs = nowMs;
  f.secondsLeft = 42;
  Screen_Clear(0, 0, 0);
  Wheel_Update(w, nowMs);
  Wheel_Draw(w, look, f);
}

double ms(std::chrono::steady_clock::time_point a, std::chrono::steady_clock::time_point b) {
  return std::chrono::duration<double, std::milli>(b - a).count();
}

// This thread's CPU time in ms: the machine may be shared, and a frame's own
// work is what the wheel controls.
double cpuMs() {
  timespec t;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return t.tv_sec * 1000.0 + t.tv_nsec / 1e6;
}

long residentKiB() {
  FILE* f = fopen("/proc/self/statm", "r");
  long pages = 0, resident = 0;
  if (f) {
    if (fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
    fclose(f);
  }
  return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// A wheel opened on the library in `sort`.
Wheel openWheel(int sort) {
  world();
  g_settings.currentSort = (uint8_t)sort;
  Wheel w;
  Wheel_Begin(w, 1, 0);
  return w;
}

// The wheel at rest on a song of a 10,000-song "All Music" wheel: every frame
// draws the backdrop-less screen, eleven items, banners, radar and texts.
void BM_WheelFrameAtRest(benchmark::State& state) {
  World& W = world();
  Wheel w = openWheel(SORT_ALL_MUSIC);
  uint32_t now = 10000;
  for (int i = 0; i < 4; i++) frame(w, W.look, now += 16);   // banners in
  for (auto _ : state) frame(w, W.look, now += 16);
  state.counters["groups"] = g_collection.groupCount;
}
BENCHMARK(BM_WheelFrameAtRest)->Unit(benchmark::kMicrosecond);

// One move a frame through a folder of 2,048 songs: the worst frame (a new item
// and the selection's banner loaded, a radar painted) and the mean.
void BM_WheelMovingWorstFrame(benchmark::State& state) {
  World& W = world();
  Wheel w = openWheel(SORT_BPM);   // one list: the first 2,048 of the library by tempo
  uint32_t now = 20000;
  double worst = 0, worstWall = 0, total = 0;
  long frames = 0;
  for (auto _ : state) {
    for (int i = 0; i < kGroupEntries; i++) {
      auto a = std::chrono::steady_clock::now();
      double c = cpuMs();
      Wheel_Move(w, 1, now);
      frame(w, W.look, now += 16);
      double used = cpuMs() - c;
      worst = std::max(worst, used);
      worstWall = std::max(worstWall, ms(a, std::chrono::steady_clock::now()));
      total += used;
      frames++;
    }
  }
  state.counters["worstFrameCpuMs"] = worst;
  state.counters["worstFrameWallMs"] = worstWall;
  state.counters["meanFrameCpuMs"] = total / std::max(1L, frames);
  state.counters["entries"] = g_collection.groups[0].count;
}
BENCHMARK(BM_WheelMovingWorstFrame)->Unit(benchmark::kMillisecond)->Iterations(2);

// The preview once the wheel has rested 128 ms: the music opens at its sample
// start and sound comes out.
void BM_PreviewStartAfterRest(benchmark::State& state) {
  World& W = world();
  (void)W;
  bool audio = Audio_Init(-1, 44100, 0, nullptr) && Audio_Start();
  if (!audio) {
    state.SkipWithError("no audio device");
    return;
  }
  SongEntry e{};
  SetField(e.group, "Pack 0");
  SetField(e.folder, "neon-stride");
  SetField(e.musicFile, "Songs/Pack 0/neon-stride/neon-stride.ogg");
  e.sampleStart = 30000;
  e.sampleLength = 13000;
  g_songs.push_back(e);
  int song = (int)g_songs.size() - 1;
  double worstAudible = 0, totalAudible = 0, worstCall = 0;
  int n = 0;
  for (auto _ : state) {
    auto a = std::chrono::steady_clock::now();
    Preview_Start(song, Clock_Ms());
    auto called = std::chrono::steady_clock::now();
    uint32_t ch = Preview_Channel();
    uint64_t start = ch ? Audio_ChannelGetPosition(ch) : 0;
    // audible: the stream's position has moved on from the sample start
    while (ch && Audio_ChannelGetPosition(ch) == start && ms(a, std::chrono::steady_clock::now()) < 500)
      Clock_SleepMs(1);
    auto heard = std::chrono::steady_clock::now();
    worstCall = std::max(worstCall, ms(a, called));
    worstAudible = std::max(worstAudible, ms(a, heard));
    totalAudible += ms(a, heard);
    n++;
    Preview_Stop();
  }
  g_songs.pop_back();
  Audio_Free();
  state.counters["worstStartCallMs"] = worstCall;
  state.counters["worstAudibleMs"] = worstAudible;
  state.counters["meanAudibleMs"] = totalAudible / std::max(1, n);
}
BENCHMARK(BM_PreviewStartAfterRest)->Unit(benchmark::kMillisecond)->Iterations(20);

// Resident memory after 100 moves (each drawn) across the 10,000 songs: banners
// come and go, nothing piles up.
void BM_WheelMemoryAfterMoves(benchmark::State& state) {
  World& W = world();
  Wheel w = openWheel(SORT_ALL_MUSIC);
  uint32_t now = 50000;
  frame(w, W.look, now += 16);
  long before = residentKiB();
  for (auto _ : state) {
    for (int i = 0; i < 100; i++) {
      for (int k = 0; k < 97; k++) Wheel_Move(w, 1, now);   // far across the library
      frame(w, W.look, now += 200);
      frame(w, W.look, now += 200);
    }
  }
  long after = residentKiB();
  state.counters["residentStartMiB"] = before / 1024.0;
  state.counters["residentGrowthMiB"] = (after - before) / 1024.0;
  state.counters["bannersHeld"] = WheelBanners_Loaded();
}
BENCHMARK(BM_WheelMemoryAfterMoves)->Unit(benchmark::kMillisecond)->Iterations(1);
}  // namespace
