#pragma once
// The folder indexer: walks "Songs/<group>/<song>/", compares the folders with
// the song database, parses new and changed charts, runs the step analysis and
// adds, updates or deletes database records. Runs on a worker thread while the
// progress screen shows what it publishes.
#include "library/song_entry.h"
#include <cstdint>
#include <mutex>
#include <string>

struct IndexProgress {
  int state = 0;              // 0 starting, 1 walking, 2 adding a song, -1 finished
  char text[520] = {};        // "group/title" of the song being processed
  double progress = 0;        // 0..1
  bool acknowledged = false;  // set by the progress screen every frame
  bool screenListening = false;  // a progress screen acknowledges; else nobody waits
  int added = 0, updated = 0, deleted = 0;
  bool saved = false;         // the database file was written
};

// The worker body. `songsPath` is "Songs", `dbPath` "rkv2.sng". With `rebuild`
// the database is made anew from the folders, as if there were none; the old
// file is replaced only once the new one is written.
void indexSongs(const char* songsPath, const char* dbPath, IndexProgress* progress, std::timed_mutex* mutex,
                bool rebuild = false);

// One song folder. `dbTime` is the database's modification time in nanoseconds. With `dbTime` >= 0 an unchanged folder gives 0; 1 the record
// is ready (new, or to be compared with the stored one); -1 the folder is unusable.
int processSongFldr(const std::string& folderPath, SongEntry& record, int64_t dbTime);
