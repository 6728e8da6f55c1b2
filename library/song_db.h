#pragma once
// The song database "rkv2.sng": a 12-byte header (version 16, live count L, slot
// count T), T slots of 4608-byte song entries (first byte 1 for a deleted slot),
// then four index tables of L slot numbers each: by title, by artist then title,
// by group then title, by genre list then title.
#include "library/song_entry.h"
#include <string>
#include <vector>

constexpr uint8_t kSongDbVersion = 16;

struct SongDbHeader {
  uint8_t version;
  uint8_t reserved[3];
  int32_t liveCount;
  int32_t slotCount;
};
static_assert(sizeof(SongDbHeader) == 12);

struct SongDatabase {
  std::vector<SongEntry> slots;
  int32_t liveCount = 0;
};

// Reads the header and every slot. 0 missing, -1 wrong version or damaged, 1 read.
int SongDb_Read(const std::string& path, SongDatabase& db);
// Writes header, slots and fresh index tables (safely: temporary file, rename).
bool SongDb_Write(const std::string& path, const SongDatabase& db);
// Main key of a record or folder: upper-cased group, byte 1, upper-cased folder.
std::string SongDb_MainKey(const char* group, const char* folder);
// The four index tables over the live slots, each in key order.
void SongDb_BuildIndexes(const SongDatabase& db, std::vector<int32_t> tables[4]);
double SongDb_Slack(int32_t live, int32_t slots);   // percent
