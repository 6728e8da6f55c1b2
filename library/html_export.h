#pragma once
// The song list as a static HTML page, "rkv2-songlist.html" in the working
// directory: every collection with each song's banner, title, artist, BPM and the
// levels of its SINGLE, DOUBLE and SOLO charts.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

constexpr const char* kSongListPage = "rkv2-songlist.html";

// One collection of the page: its label (a text field of `labelSize` bytes) and
// its songs, indices in g_songs.
struct SongListGroup {
  const char* label;
  size_t labelSize;
  const int32_t* songs;
  int32_t count;
};

// Writes the page of the groups `collect` gives; it is called only once the
// page's scratch file is open, so a page that cannot be written costs nothing.
// The old page is replaced only by a complete new one. False (logged) when the
// page could not be written.
bool SongList_WriteHtml(std::vector<SongListGroup> (*collect)());
// The page of `groups`.
std::string SongList_HtmlText(const std::vector<SongListGroup>& groups);
// A banner path as written into the page: letters, digits and - . _ / + as they
// are, every other byte as "&#%d;".
void SongList_AppendPath(std::string& out, const std::string& path);
