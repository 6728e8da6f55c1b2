#pragma once
// The song table, filled at start-up from the song database, sorted by title,
// with the group, artist and genre lists of the song wheel and each song's NEW
// mark settled against the records.
#include "library/song_entry.h"
#include <string>
#include <vector>

constexpr int kMaxSongs = 65536;   // entries beyond this are not loaded (logged)

extern std::vector<SongEntry> g_songs;
extern std::vector<std::string> g_groupList, g_artistList, g_genreList;  // sorted, distinct without regard to case
extern int g_newSongCount;          // songs marked NEW because they had no record yet

// 1 when "rkv2.sng" was read; 0 when it is missing or not of version 16.
int loadSongList(const char* dbPath = "rkv2.sng");
// A selected group index kept within the groups: modulo their number, 0 when negative.
int32_t SongList_WrapFolderIndex(int32_t index);
// Test mode: the one-song table from a chart file (or a song folder).
int readSongFolder(const char* path);
// Adds `text` to a sorted list of distinct texts (compared without regard to case).
void SongList_AddDistinct(std::vector<std::string>& list, const std::string& text);
// The record key of a song: group and folder joined with a backslash.
std::string SongList_RecordKey(const SongEntry& e);
