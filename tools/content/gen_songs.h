#pragma once
// The demo song table, shared by the songs and the courses that name them.
#include <string>
#include <vector>

#include "gen_music.h"

struct SongDef {
  std::string folder;  // song folder under Songs/Demo, also the base of its file names
  std::string title, artist, genre, cdTitle, displayTitle, displayArtist;
  TempoMap tempo;
  std::string displayBpm, sampleStart, sampleLength, status;
  Arrangement arr;
  double hue = 0;
  int pattern = 0;
  bool lyrics = false;
  bool livingBackground = false;  // a background script with its own pictures, movie and plug-in
};

const std::vector<SongDef>& Demo_Songs();
