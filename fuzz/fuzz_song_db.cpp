// The song database from arbitrary bytes, through both of its readers: the
// indexer's (every slot the file holds, and the four index tables over the live
// ones) and the song table's at start-up (live songs only, sorted by title, each
// text ending inside its field, each record index pointing into the records).
#include "fuzz/fuzz_support.h"
#include "library/records.h"
#include "library/song_db.h"
#include "library/song_list.h"
#include <algorithm>
#include <cstring>
#include <strings.h>

namespace {
void check(bool ok, const char* what) { fuzz::Check(ok, "song database", what); }

template <size_t N>
bool ends(const char (&field)[N]) {
  return memchr(field, 0, N) != nullptr;
}
}  // namespace

// the song table adds new songs' records to "rkv2.rec" in the folder the game runs in
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::EnterWorkFolder("fuzz-song-db");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::WriteFile("rkv2.sng", data, size);
  SongDatabase db;
  int read = SongDb_Read("rkv2.sng", db);
  check(read == 1 || read == -1, "an existing file reads as missing");
  size_t fit = size >= sizeof(SongDbHeader) ? (size - sizeof(SongDbHeader)) / sizeof(SongEntry) : 0;
  check(db.slots.size() <= fit, "more slots than the file holds");
  int32_t live = 0;
  for (const SongEntry& e : db.slots) live += e.deleted == 0;
  check(db.liveCount == live, "live count");
  std::vector<int32_t> tables[4];
  SongDb_BuildIndexes(db, tables);
  for (auto& t : tables) {
    check((int32_t)t.size() == live, "index table size");
    std::vector<int32_t> sorted = t;
    std::sort(sorted.begin(), sorted.end());
    check(std::adjacent_find(sorted.begin(), sorted.end()) == sorted.end(), "a slot twice in an index");
    for (int32_t s : t) check(s >= 0 && s < (int32_t)db.slots.size() && !db.slots[s].deleted, "index slot");
  }

  freeRecords(g_records);
  int loaded = loadSongList("rkv2.sng");
  check(loaded == 0 || loaded == 1, "result");
  check(loaded == 1 || g_songs.empty(), "songs from a refused file");
  check(g_songs.size() <= (size_t)kMaxSongs && (loaded == 0 || (int32_t)g_songs.size() <= live), "song count");
  for (size_t i = 0; i < g_songs.size(); i++) {
    const SongEntry& e = g_songs[i];
    check(e.deleted == 0, "a deleted slot in the table");
    check(ends(e.group) && ends(e.folder) && ends(e.genres) && ends(e.title) && ends(e.artist) && ends(e.cdTitle) &&
              ends(e.chartFile) && ends(e.background) && ends(e.banner) && ends(e.displayTitle) &&
              ends(e.displayArtist) && ends(e.musicFile) && ends(e.md5),
          "a text without its end");
    check(e.record >= 0 && e.record < (int)g_records.records.size(), "every song has its record");
    check(e.profileRecord[0] == -1 && e.profileRecord[1] == -1 && e.selectable == 1, "working fields");
    check(e.newState <= 1, "new state");
    check(i == 0 || strcasecmp(g_songs[i - 1].title, e.title) <= 0, "sorted by title");
  }
  for (const auto* list : {&g_groupList, &g_artistList, &g_genreList})
    for (size_t i = 1; i < list->size(); i++)
      check(strcasecmp((*list)[i - 1].c_str(), (*list)[i].c_str()) < 0, "a list out of order or twice");
  g_songs.clear();
  freeRecords(g_records);
  return 0;
}
