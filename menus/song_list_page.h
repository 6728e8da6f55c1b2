#pragma once
// The HTML song list of the whole library: every collection of "All Music" in
// the current grouping, written by the page writer of the library.
#include "library/html_export.h"
#include "menus/collection.h"

// Rebuilds the song wheel's collection as "All Music" (the player's sort method
// is left as it was) and writes "rkv2-songlist.html". Nothing is rebuilt when the
// page cannot be written. False (logged) on failure.
bool SongList_WriteLibraryPage();
// The groups of `c` as the page lists them (they point into `c`).
std::vector<SongListGroup> SongList_GroupsOf(const Collection& c);
