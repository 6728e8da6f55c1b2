#pragma once
// The line-based chart tag reader used by the folder indexer and the test-mode
// song reader. Each descriptive tag stands on a line of its own: the value is the
// rest of the line after the tag with its last character (the ";") removed.
#include "library/song_entry.h"
#include <string>

// The chart keys in the order of the song entry's level slots.
extern const char* const kChartKeys[kChartSlots];   // "SINGLE:BASIC:" ...

// "1:30.5" minutes and seconds, "12.5" seconds, else milliseconds (all truncated).
int32_t Chart_ParseTime(const char* text);

class RKVParser {
 public:
  enum : unsigned { HAS_TITLE = 1, HAS_ARTIST = 2, HAS_GAP = 4, HAS_BPM = 8, REQUIRED = 15 };

  bool parseFile(const char* path);          // true when read and all four required tags were found
  void parseText(std::string text);          // the same on text in memory

  unsigned flags = 0;
  std::string title, artist, genre, cdTitle, displayTitle, displayArtist, file, md5;
  bool hasGenre = false, hasCdTitle = false, hasDisplayTitle = false, hasDisplayArtist = false, hasFile = false;
  double bpm = 0;
  int32_t gap = 0;
  int32_t displayBpm = -1;                   // -1 automatic, 0 unknown, -2 range, else fixed
  double bpmMin = 0, bpmMax = 0;           // the range to display
  double tempoMin = 0, tempoMax = 0;       // "#BPM:" and every "#CHANGEBPM:" tempo
  int32_t sampleStart = 0;
  bool sampleStartPlus = false;              // "+": counted from the gap
  int32_t sampleLength = -1;                 // -1 when absent
  uint8_t status = 0;                        // 3 STATUS:NEW, 2 STATUS:NORMAL
  int32_t levels[kChartSlots] = {};
};

int32_t Chart_RoundHalfUp(double v);

// The descriptive tags both song readers store alike: title, artist, the display
// texts, CD title, MD5, status, tempo and the fourteen levels. Sample times,
// tempo range, genres and files differ between the two and are set by each.
void RKVParser_FillEntry(const RKVParser& p, SongEntry& e);

// Where the "#FILE:" music of the song in `songFolder` is on disk. The value is
// a path from the game folder ("\\" or "/", any case); a pack made for a song
// folder of its own may give it from that folder instead, so that is tried
// second. `out` is the data path that was found (not case-matched), or empty.
bool RKVParser_FindFile(const std::string& value, const std::string& songFolder, std::string& out);
