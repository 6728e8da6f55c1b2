#pragma once
// The song list as a static HTML page, "rkv2-songlist.html" in the working
// directory: every collection with each song's banner, title, artist, BPM and the
// levels of its SINGLE, DOUBLE and SOLO charts.
#include <string>

constexpr const char* kSongListPage = "rkv2-songlist.html";

// Rebuilds the collections ("All Music" in the current grouping) and writes the
// page. The old page is replaced only by a complete new one. False (logged) when
// the page could not be written.
bool SongList_WriteHtml();
// The page for the collection as it stands.
std::string SongList_HtmlText();
// A banner path as written into the page: letters, digits and - . _ / + as they
// are, every other byte as "&#%d;".
void SongList_AppendPath(std::string& out, const std::string& path);
