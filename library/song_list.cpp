#include "library/song_list.h"
#include "platform/log.h"
#include "library/dir_walker.h"
#include "library/image_header.h"
#include "library/records.h"
#include "library/rkv_parser.h"
#include "library/song_db.h"
#include "platform/files.h"
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <strings.h>

std::vector<SongEntry> g_songs;
std::vector<std::string> g_groupList, g_artistList, g_genreList;
int g_newSongCount = 0;

namespace {
constexpr int64_t kNewAge = 1209600;       // 14 days
constexpr int64_t kFirstRunAge = 2419200;  // 28 days
constexpr size_t kRecordBatch = 2048;

std::string text(const char* f, size_t n) { return std::string(f, strnlen(f, n)); }

void buildLists() {
  g_groupList.clear();
  g_artistList.clear();
  g_genreList.clear();
  for (const SongEntry& e : g_songs) {
    SongList_AddDistinct(g_groupList, text(e.group, sizeof e.group));
    SongList_AddDistinct(g_artistList, text(e.artist, sizeof e.artist));
    std::string g = text(e.genres, sizeof e.genres);
    size_t s = 0;
    while ((s = g.find('|', s)) != std::string::npos) {
      size_t t = g.find('|', s + 1);
      if (t == std::string::npos) break;
      if (t > s + 1) SongList_AddDistinct(g_genreList, g.substr(s + 1, t - s - 1));
      s = t + 1;
    }
  }
}
}

// Cut to what a record's key field holds, so that a song of long folder names
// finds the record made for it instead of getting a new one at every start.
std::string SongList_RecordKey(const SongEntry& e) {
  std::string key = text(e.group, sizeof e.group) + "\\" + text(e.folder, sizeof e.folder);
  if (key.size() >= sizeof(SongRecord::key)) key.resize(sizeof(SongRecord::key) - 1);
  return key;
}

void SongList_AddDistinct(std::vector<std::string>& list, const std::string& t) {
  if (t.empty()) return;
  std::string v = t.substr(0, 255);
  auto less = [](const std::string& a, const std::string& b) { return strcasecmp(a.c_str(), b.c_str()) < 0; };
  auto it = std::lower_bound(list.begin(), list.end(), v, less);
  if (it != list.end() && strcasecmp(it->c_str(), v.c_str()) == 0) return;
  list.insert(it, v);
}

int loadSongList(const char* dbPath) {
  int64_t now = (int64_t)time(nullptr);
  g_songs.clear();
  g_newSongCount = 0;
  // The live records are read straight into the table in blocks, without a
  // second copy of the database in memory.
  FILE* f = fopen(dbPath, "rb");
  SongDbHeader h{};
  if (!f || fread(&h, 1, sizeof h, f) != sizeof h || h.version != kSongDbVersion || h.slotCount < 0) {
    if (f) fclose(f);
    buildLists();
    return 0;
  }
  WriteLogf("%d records\n", (int)h.slotCount);
  g_songs.reserve((size_t)std::min<int32_t>(std::max<int32_t>(h.liveCount, 0), kMaxSongs));
  std::vector<SongEntry> block(256);
  int32_t left = h.slotCount;
  bool full = false;
  while (left > 0 && !full) {
    size_t want = (size_t)std::min<int32_t>(left, (int32_t)block.size());
    size_t got = fread(block.data(), sizeof(SongEntry), want, f);
    for (size_t i = 0; i < got; i++) {
      SongEntry& e = block[i];
      if (e.deleted) continue;
      if ((int)g_songs.size() >= kMaxSongs) {
        WriteLogf("More than %d songs; the rest are not loaded\n", kMaxSongs);
        full = true;
        break;
      }
      // every text field ends inside its field, whatever the file held
      e.group[255] = e.folder[255] = e.genres[255] = e.title[255] = e.artist[255] = e.cdTitle[255] = 0;
      e.chartFile[255] = e.background[255] = e.banner[255] = 0;
      e.displayTitle[511] = e.displayArtist[511] = e.musicFile[511] = e.md5[63] = 0;
      e.record = -1;
      e.profileRecord[0] = e.profileRecord[1] = -1;
      e.selectable = 1;
      g_songs.push_back(e);
    }
    if (got < want) break;  // the file ends before its slot count says
    left -= (int32_t)got;
  }
  fclose(f);
  block = std::vector<SongEntry>();
  buildLists();
  // Sorted by title without regard to case; equal titles keep their order. The
  // order is found on indices, then the entries are moved into place along the
  // permutation's cycles, each once.
  size_t live = g_songs.size();
  std::vector<uint32_t> order(live);
  for (size_t i = 0; i < live; i++) order[i] = (uint32_t)i;
  std::stable_sort(order.begin(), order.end(), [](uint32_t a, uint32_t b) {
    return strcasecmp(g_songs[a].title, g_songs[b].title) < 0;
  });
  std::vector<bool> placed(live, false);
  SongEntry held;
  for (size_t start = 0; start < live; start++) {
    if (placed[start] || order[start] == start) continue;
    held = g_songs[start];
    size_t at = start;
    for (;;) {
      size_t from = order[at];
      placed[at] = true;
      if (from == start) {
        g_songs[at] = held;
        break;
      }
      g_songs[at] = g_songs[from];
      at = from;
    }
  }
  WriteLogf("Cur time is: %d\n", (int)now);

  bool firstRun = g_records.records.empty();
  std::vector<SongRecord> batch;
  std::vector<size_t> waiting;  // songs whose new record is in the batch
  auto flush = [&]() {
    if (batch.empty()) return;
    addRecords(g_records, batch.data(), (int)batch.size());
    for (size_t i : waiting) {
      auto it = g_records.index.find(SongList_RecordKey(g_songs[i]));
      g_songs[i].record = it == g_records.index.end() ? -1 : it->second;
    }
    batch.clear();
    waiting.clear();
  };
  for (size_t i = 0; i < g_songs.size(); i++) {
    SongEntry& e = g_songs[i];
    std::string key = SongList_RecordKey(e);
    auto it = g_records.index.find(key);
    if (it != g_records.index.end()) {
      const SongRecord& rec = g_records.records[it->second];
      e.record = it->second;
      int64_t age = now - rec.firstSeen;
      WriteLogf("Song '%s'... - %d\n", e.title, (int)e.newState);
      WriteLogf("Found first at: %d...\n", (int)rec.firstSeen);
      WriteLogf("        Age is: %d...\n", (int)age);
      if (e.newState == 3) e.newState = 1;
      else if (e.newState == 2) e.newState = 0;
      else e.newState = age < kNewAge ? 1 : 0;
      continue;
    }
    WriteLogf("NR: %s\n", key.c_str());
    batch.push_back(Records_New(key.c_str(), (int32_t)(firstRun ? now - kFirstRunAge : now)));
    waiting.push_back(i);
    if (e.newState == 2) e.newState = 0;
    else if (firstRun && e.newState != 3) e.newState = 0;
    else {
      e.newState = 1;
      g_newSongCount++;
    }
    if (batch.size() >= kRecordBatch) flush();
  }
  flush();
  g_songListLoaded = true;
  return 1;
}

int readSongFolder(const char* pathIn) {
  g_songs.clear();
  std::string path;
  if (!Path_Resolve(pathIn ? pathIn : "", path)) return 0;
  std::string folder = path, chart;
  if (File_Size(path) >= 0) {  // a chart file: its folder holds the rest
    size_t s = path.find_last_of('/');
    folder = s == std::string::npos ? "." : path.substr(0, s);
    chart = s == std::string::npos ? path : path.substr(s + 1);
  }
  DirWalker w;
  if (w.openDir(folder, "*", 1) < 0) return 0;
  SongEntry e{};
  std::string music, banner, background;
  bool wide = false;
  for (const DirEntry& d : w.entries) {
    if (d.name[0] == '.') continue;
    std::string low = d.name;
    for (char& c : low) c = (char)tolower((unsigned char)c);
    if (low.find(".wav") != std::string::npos || low.find(".mp3") != std::string::npos ||
        low.find(".ogg") != std::string::npos)
      music = d.name;
    if (chart.empty() && low.size() > 4 && low.compare(low.size() - 4, 4, ".rkv") == 0) chart = d.name;
    if (low.size() > 4 && low.compare(low.size() - 4, 4, ".png") == 0) {
      int32_t iw, ih;
      if (!ImageHeader_Size((folder + "/" + d.name).c_str(), &iw, &ih)) continue;
      double r = (double)iw / ih;
      if (r > 0.95 && r < 1.05 && ih >= 51) { banner = d.name; wide = false; }
      else if (r > 3 && r < 3.5 && ih > 50) { banner = d.name; wide = true; }
      else if (r > 1.3 && r < 1.4 && ih > 50) background = d.name;
    }
  }
  if (chart.empty()) return 0;
  RKVParser p;
  std::string chartPath = folder + "/" + chart;
  std::string t;
  if (!File_ReadText(chartPath, t)) return 0;
  p.parseText(t);
  size_t s = folder.find_last_of('/');
  std::string songFolder = s == std::string::npos ? folder : folder.substr(s + 1);
  std::string group = s == std::string::npos ? "" : folder.substr(0, s);
  size_t g = group.find_last_of('/');
  if (g != std::string::npos) group = group.substr(g + 1);
  SetField(e.group, group.c_str());
  SetField(e.folder, songFolder.c_str());
  SetField(e.chartFile, chart.c_str());
  RKVParser_FillEntry(p, e);
  std::string genres = "|" + (p.hasGenre ? p.genre : group) + "|";
  SetField(e.genres, genres.c_str());
  std::string musicPath = music.empty() ? "" : folder + "/" + music;
  std::string tag;
  if (p.hasFile && RKVParser_FindFile(p.file, folder, tag)) Path_Resolve(tag, musicPath);
  SetField(e.musicFile, musicPath.c_str());
  SetField(e.banner, banner.c_str());
  e.hasBanner = !banner.empty();
  e.wideBanner = wide;
  SetField(e.background, background.c_str());
  e.hasBackground = !background.empty();
  e.sampleStart = p.sampleStart;  // the sign of "+" is ignored here
  e.sampleLength = p.sampleLength >= 0 ? p.sampleLength : 15000;
  e.displayBpm = -1;
  e.bpmMin = Chart_RoundHalfUp(p.tempoMin);
  e.bpmMax = Chart_RoundHalfUp(p.tempoMax);
  e.record = -1;
  e.profileRecord[0] = e.profileRecord[1] = -1;
  e.selectable = 1;
  g_songs.push_back(e);
  buildLists();
  return 1;
}

int32_t SongList_WrapFolderIndex(int32_t index) {
  if (index < 0) return 0;
  return g_groupList.empty() ? index : index % (int32_t)g_groupList.size();
}
