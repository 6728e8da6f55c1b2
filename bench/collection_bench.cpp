// Song collections at pack scale: a synthetic song table of 10,000 songs in 200
// folders with 60 genres and 3,000 artists, half of them with play counts, built
// for the song wheel in every sort method (the player waits on each sort change),
// by folder and by genre, and the HTML song list of the whole table.
#include "platform/log.h"
#include "chart/random.h"
#include "menus/song_list_page.h"
#include "library/records.h"
#include "library/settings.h"
#include "library/song_list.h"
#include "media/skin/skin_config.h"
#include "menus/collection.h"
#include "play/player.h"
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <filesystem>
#include <string>
#include <strings.h>
#include <unistd.h>

namespace {
const int kSongs = 10000, kFolders = 200, kGenres = 60, kArtists = 3000;

uint32_t g_seed = 12345;
uint32_t next() {
  g_seed = g_seed * 1103515245u + 12345u;
  return g_seed >> 8;
}

std::string word(int letters) {
  static const char* const syll[] = {"ka", "ri", "mo", "ne", "su", "ta", "lo", "vi", "da", "en", "zu", "po"};
  std::string s;
  for (int i = 0; i < letters; i++) s += syll[next() % 12];
  return s;
}

void makeLibrary() {
  static bool made = false;
  if (made) return;
  made = true;
  LogOff();
  Settings_Defaults(g_settings);
  SkinConfig_Defaults(g_skinConfig);
  Players_Reset();
  g_players[0].active = 1;
  std::vector<std::string> genres, artists, folders;
  for (int i = 0; i < kGenres; i++) genres.push_back(word(2) + (i % 5 == 0 ? "-Pop" : ""));
  for (int i = 0; i < kArtists; i++) artists.push_back(word(2) + " " + word(2));
  for (int i = 0; i < kFolders; i++) folders.push_back("Pack " + word(2) + std::to_string(i));
  g_songs.assign(kSongs, SongEntry{});
  for (int i = 0; i < kSongs; i++) {
    SongEntry& e = g_songs[i];
    SetField(e.group, folders[next() % kFolders].c_str());
    SetField(e.folder, ("song" + std::to_string(i)).c_str());
    std::string title = (next() % 10 == 0 ? std::to_string(next() % 100) + " " : "") + word(3);
    title[0] = (char)(next() % 3 == 0 ? title[0] : title[0] - 32);
    SetField(e.title, title.c_str());
    SetField(e.artist, artists[next() % kArtists].c_str());
    std::string g = "|" + genres[next() % kGenres] + "|";
    if (next() % 2) g += "|" + genres[next() % kGenres] + "|";
    SetField(e.genres, g.c_str());
    SetField(e.banner, "banner.png");
    e.bpmValue = 80 + next() % 140;
    e.bpmMin = (int)e.bpmValue - (int)(next() % 20);
    e.bpmMax = (int)e.bpmValue + (int)(next() % 40);
    for (int d = 0; d < 4; d++) e.levels[d] = next() % 5 == 0 ? 0 : 1 + d * 2 + (int)(next() % 3);
    for (int d = 4; d < 7; d++) e.levels[d] = next() % 2 ? 2 + (int)(next() % 8) : 0;
    for (int d = 0; d < kChartSlots; d++)
      e.figures[d] = {(double)(next() % 150), (double)(next() % 150), (double)(next() % 150), (double)(next() % 150),
                      (double)(next() % 150)};
    e.record = -1;
    e.profileRecord[0] = e.profileRecord[1] = -1;
    e.selectable = 1;
  }
  std::stable_sort(g_songs.begin(), g_songs.end(),
                   [](const SongEntry& a, const SongEntry& b) { return strcasecmp(a.title, b.title) < 0; });
  for (const SongEntry& e : g_songs) {
    SongList_AddDistinct(g_groupList, e.group);
    SongList_AddDistinct(g_artistList, e.artist);
  }
  for (const std::string& g : genres) SongList_AddDistinct(g_genreList, g);
  freeRecords(g_records);
  for (int i = 0; i < kSongs; i += 2) {
    std::string key = SongList_RecordKey(g_songs[i]);
    SongRecord r = Records_New(key.c_str(), 0);
    r.counters[0] = next() % 50;
    g_records.records.push_back(r);
    g_records.results.emplace_back();
    g_records.index[key] = (int)g_records.records.size() - 1;
  }
  Random_Seed(7);
}

void BM_BuildCollection(benchmark::State& state) {
  makeLibrary();
  g_settings.sortBy = (uint8_t)state.range(1);
  g_settings.currentSort = (uint8_t)state.range(0);
  g_collection.selectedIndex = ENTRY_NONE_YET;
  for (auto _ : state) {
    g_settings.currentSort = (uint8_t)state.range(0);
    BuildCollection(1, nullptr, 0, 1, state.range(0) == SORT_BEST ? 64 : 0);
    benchmark::DoNotOptimize(g_collection.groupCount);
  }
  static const char* const names[] = {"All Music", "Separated", "Difficulty", "Title", "Artist", "BPM", "Best"};
  state.SetLabel(std::string(names[state.range(0)]) + (state.range(1) ? " by folder" : " by genre"));
}
BENCHMARK(BM_BuildCollection)
    ->ArgsProduct({{0, 1, 2, 3, 4, 5, 6}, {1}})
    ->ArgsProduct({{0, 1, 2}, {0}})
    ->Unit(benchmark::kMillisecond);

// A sort change with a song selected: the wheel comes back to it.
void BM_BuildCollectionRestore(benchmark::State& state) {
  makeLibrary();
  g_settings.sortBy = 1;
  for (auto _ : state) {
    state.PauseTiming();
    g_settings.currentSort = SORT_ALL_MUSIC;
    BuildCollection(1, nullptr, 0, 1, 0);
    g_collection.selectedGroup = g_collection.groupCount / 2;
    g_collection.selectedIndex = 0;
    g_settings.folderIndex = g_collection.selectedGroup;
    g_settings.currentSort = SORT_DIFFICULTY;
    state.ResumeTiming();
    BuildCollection(1, nullptr, 0, 1, 0);
    benchmark::DoNotOptimize(g_collection.found);
  }
}
BENCHMARK(BM_BuildCollectionRestore)->Unit(benchmark::kMillisecond);

void BM_SongListHtmlText(benchmark::State& state) {
  makeLibrary();
  g_settings.sortBy = 1;
  g_settings.currentSort = SORT_ALL_MUSIC;
  BuildCollection(0, nullptr, 0, 0, 0);
  size_t bytes = 0;
  for (auto _ : state) {
    std::string page = SongList_HtmlText(SongList_GroupsOf(g_collection));
    bytes = page.size();
    benchmark::DoNotOptimize(page.data());
  }
  state.counters["pageBytes"] = (double)bytes;
}
BENCHMARK(BM_SongListHtmlText)->Unit(benchmark::kMillisecond);

// The whole call: rebuild, page text, file written beside the old one and moved over it.
void BM_SongListWriteHtml(benchmark::State& state) {
  makeLibrary();
  std::filesystem::path dir = std::filesystem::temp_directory_path() / "tarvolen-bench-html";
  std::filesystem::create_directories(dir);
  std::filesystem::path old = std::filesystem::current_path();
  std::filesystem::current_path(dir);
  for (auto _ : state) benchmark::DoNotOptimize(SongList_WriteLibraryPage());
  std::filesystem::current_path(old);
  std::filesystem::remove_all(dir);
}
BENCHMARK(BM_SongListWriteHtml)->Unit(benchmark::kMillisecond);
}  // namespace
