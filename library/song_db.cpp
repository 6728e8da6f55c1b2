#include "library/song_db.h"
#include "platform/log.h"
#include "library/dir_walker.h"
#include "platform/files.h"
#include <algorithm>
#include <cstdio>
#include <cstring>

std::string SongDb_MainKey(const char* group, const char* folder) {
  std::string k = Text_Upper(group);
  k += '\x01';
  k += Text_Upper(folder);
  return k;
}

double SongDb_Slack(int32_t live, int32_t slots) {
  if (slots <= 0) return 0;
  return 100.0 - (double)live * 100.0 / (double)slots;
}

int SongDb_Read(const std::string& path, SongDatabase& db) {
  db = SongDatabase{};
  FILE* f = fopen(path.c_str(), "rb");
  if (!f) return 0;
  SongDbHeader h{};
  if (fread(&h, 1, sizeof h, f) != sizeof h || h.version != kSongDbVersion || h.slotCount < 0) {
    fclose(f);
    return -1;
  }
  // Never trust the slot count further than the file reaches.
  fseek(f, 0, SEEK_END);
  long long size = ftell(f);
  long long fit = (size - 12) / (long long)sizeof(SongEntry);
  int32_t slots = h.slotCount;
  if (fit < slots) {
    WriteLogf("Song database '%s' holds %lld of its %d slots\n", path.c_str(), fit, (int)slots);
    slots = (int32_t)(fit < 0 ? 0 : fit);
  }
  fseek(f, 12, SEEK_SET);
  // Read in blocks into reserved room: a database of thousands of songs is tens
  // of megabytes, and zero-filling it first would double the work.
  db.slots.reserve((size_t)slots);
  std::vector<SongEntry> block(256);
  int32_t left = slots;
  while (left > 0) {
    size_t want = (size_t)std::min<int32_t>(left, (int32_t)block.size());
    size_t got = fread(block.data(), sizeof(SongEntry), want, f);
    db.slots.insert(db.slots.end(), block.begin(), block.begin() + (long)got);
    if (got < want) break;
    left -= (int32_t)got;
  }
  fclose(f);
  db.liveCount = 0;
  for (auto& e : db.slots) {
    if (e.deleted == 0) db.liveCount++;
  }
  return 1;
}

namespace {
struct Keyed {
  std::string key;
  int32_t slot;
};

std::string upper(const char* s, size_t n) { return Text_Upper(std::string(s, strnlen(s, n))); }
}

void SongDb_BuildIndexes(const SongDatabase& db, std::vector<int32_t> tables[4]) {
  // The live records in main-key order; each table is a stable sort of that order.
  std::vector<Keyed> base;
  for (size_t s = 0; s < db.slots.size(); s++) {
    const SongEntry& e = db.slots[s];
    if (e.deleted) continue;
    base.push_back({SongDb_MainKey(std::string(e.group, strnlen(e.group, 256)).c_str(),
                                   std::string(e.folder, strnlen(e.folder, 256)).c_str()),
                    (int32_t)s});
  }
  std::stable_sort(base.begin(), base.end(), [](const Keyed& a, const Keyed& b) { return a.key < b.key; });
  for (int t = 0; t < 4; t++) {
    std::vector<Keyed> k = base;
    for (Keyed& x : k) {
      const SongEntry& e = db.slots[x.slot];
      std::string title = upper(e.title, sizeof e.title);
      switch (t) {
        case 0: x.key = title; break;
        case 1: x.key = upper(e.artist, sizeof e.artist) + '\x01' + title; break;
        case 2: x.key = upper(e.group, sizeof e.group) + '\x01' + title; break;
        default: x.key = upper(e.genres, sizeof e.genres) + '\x01' + title; break;
      }
    }
    std::stable_sort(k.begin(), k.end(), [](const Keyed& a, const Keyed& b) { return a.key < b.key; });
    tables[t].clear();
    for (const Keyed& x : k) tables[t].push_back(x.slot);
  }
}

bool SongDb_Write(const std::string& path, const SongDatabase& db) {
  std::vector<int32_t> tables[4];
  SongDb_BuildIndexes(db, tables);
  SongDbHeader h{};
  h.version = kSongDbVersion;
  h.liveCount = (int32_t)tables[0].size();
  h.slotCount = (int32_t)db.slots.size();
  size_t total = sizeof h + db.slots.size() * sizeof(SongEntry) + 4 * tables[0].size() * sizeof(int32_t);
  std::vector<uint8_t> out(total);
  uint8_t* p = out.data();
  memcpy(p, &h, sizeof h);
  p += sizeof h;
  if (!db.slots.empty()) memcpy(p, db.slots.data(), db.slots.size() * sizeof(SongEntry));
  p += db.slots.size() * sizeof(SongEntry);
  for (auto& t : tables) {
    if (!t.empty()) memcpy(p, t.data(), t.size() * sizeof(int32_t));
    p += t.size() * sizeof(int32_t);
  }
  return File_WriteSafely(path, out.data(), out.size());
}
