// The song library at pack scale: a synthetic library of 10,000 song folders in
// 100 groups (each with a chart of four SINGLE and two DOUBLE charts of 300-600
// steps, a small music file and two pictures), indexed cold (no database) and
// warm (database up to date, nothing changed), and the song list loaded from it.
// The library is made once under /tmp and reused by the runs.
#include "library/indexer.h"
#include "library/records.h"
#include "library/song_list.h"
#include "platform/files.h"
#include <FreeImage.h>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {
const int kGroups = 100, kSongsPerGroup = 100;
std::string g_root;

void WriteFile(const std::string& p, const std::string& b) {
  if (FILE* f = fopen(p.c_str(), "wb")) {
    fwrite(b.data(), 1, b.size(), f);
    fclose(f);
  }
}

std::string pngBytes(int w, int h) {
  FIBITMAP* d = FreeImage_Allocate(w, h, 24);
  FIMEMORY* m = FreeImage_OpenMemory();
  FreeImage_SaveToMemory(FIF_PNG, d, m);
  BYTE* data;
  DWORD size;
  FreeImage_AcquireMemory(m, &data, &size);
  std::string s((const char*)data, size);
  FreeImage_CloseMemory(m);
  FreeImage_Unload(d);
  return s;
}

std::string steps(int n, unsigned seed, bool two) {
  static const char rows[] = "248612346802486";
  std::string s;
  for (int half = 0; half < (two ? 2 : 1); half++) {
    if (half) s += ":";
    for (int i = 0; i < n; i++) {
      seed = seed * 1103515245u + 12345u;
      s += rows[(seed >> 16) % 15];
      if (i % 16 == 15) s += "\n";
    }
  }
  return s;
}

void makeLibrary() {
  if (!g_root.empty()) return;
  g_root = "/tmp/tarvolen-bench-library";
  std::string marker = g_root + "/.complete";
  if (File_Exists(marker)) return;
  std::filesystem::remove_all(g_root);
  std::string banner = pngBytes(256, 80), background = pngBytes(640, 480);
  std::string music(4096, '\x55');
  for (int g = 0; g < kGroups; g++) {
    for (int s = 0; s < kSongsPerGroup; s++) {
      char dir[256];
      snprintf(dir, sizeof dir, "%s/Songs/Group %03d/Song %03d", g_root.c_str(), g, s);
      Dir_Create(dir);
      unsigned seed = (unsigned)(g * 1000 + s);
      std::string chart = "#TITLE:Song " + std::to_string(g * 1000 + s) + ";\n#ARTIST:Artist " +
                          std::to_string(s % 37) + ";\n#GENRE:Pop,Bench;\n#BPM:140;\n#GAP:-200;\n" +
                          "#CHANGEBPM:64=150,128=140;\n#FREEZE:96=250;\n";
      const char* single[] = {"BASIC", "ANOTHER", "MANIAC", "SMANIAC"};
      for (int d = 0; d < 4; d++)
        chart += std::string("#SINGLE:") + single[d] + ":" + std::to_string(3 + d * 2) + ":\n" +
                 steps(300 + 100 * d, seed + d, false) + ";\n";
      for (int d = 0; d < 2; d++)
        chart += std::string("#DOUBLE:") + single[d] + ":" + std::to_string(4 + d * 2) + ":\n" +
                 steps(300 + 150 * d, seed + 10 + d, true) + ";\n";
      std::string base = dir;
      WriteFile(base + "/steps.rkv", chart);
      WriteFile(base + "/music.ogg", music);
      WriteFile(base + "/banner.png", banner);
      WriteFile(base + "/bg.png", background);
    }
  }
  WriteFile(marker, "");
}

}

namespace {
struct InRoot {
  std::string old;
  InRoot() {
    makeLibrary();
    old = Dir_Current();
    chdir(g_root.c_str());
  }
  ~InRoot() { chdir(old.c_str()); }
};

void quietly(IndexProgress& p) {
  // the indexer reports to standard output; the benchmark keeps its own output clean
  fflush(stdout);
  FILE* saved = stdout;
  stdout = fopen("/dev/null", "w");
  indexSongs("Songs", "rkv2.sng", &p, nullptr);
  fclose(stdout);
  stdout = saved;
}
}

static void BM_IndexCold(benchmark::State& state) {
  InRoot in;
  for (auto _ : state) {
    unlink("rkv2.sng");
    IndexProgress p;
    quietly(p);
    if (p.added != kGroups * kSongsPerGroup) state.SkipWithError("not every song was added");
  }
  state.counters["songs/s"] = benchmark::Counter(kGroups * kSongsPerGroup, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_IndexCold)->Unit(benchmark::kSecond)->Iterations(1);

static void BM_IndexWarm(benchmark::State& state) {
  InRoot in;
  if (File_Size("rkv2.sng") < 0) {
    IndexProgress p;
    quietly(p);
  }
  for (auto _ : state) {
    IndexProgress p;
    quietly(p);
    if (p.added + p.updated + p.deleted != 0) state.SkipWithError("a warm run changed the database");
  }
  state.counters["songs/s"] = benchmark::Counter(kGroups * kSongsPerGroup, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_IndexWarm)->Unit(benchmark::kMillisecond)->Iterations(3);

static void BM_LoadSongList(benchmark::State& state) {
  InRoot in;
  if (File_Size("rkv2.sng") < 0) {
    IndexProgress p;
    quietly(p);
  }
  // a library whose every song already has its record: the usual start
  freeRecords(g_records);
  loadSongList();
  saveRecords(g_records);
  for (auto _ : state) {
    loadRecords(g_records);
    loadSongList();
    if (g_songs.size() != (size_t)(kGroups * kSongsPerGroup)) state.SkipWithError("songs missing");
  }
  state.counters["songs/s"] = benchmark::Counter(kGroups * kSongsPerGroup, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_LoadSongList)->Unit(benchmark::kMillisecond)->Iterations(5);
