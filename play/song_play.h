#pragma once
// Playing one song for one or two players: loading, the frame loop on the song
// clock, the play keys, and the tear-down.
#include <string>

// Play mode: 0 normal play; 1 test play; 2 restart asked; 3 test play from the start position.
extern int g_playMode;

struct PlaySource {
  // The song folder on disk and the names in it. Test play gives the chart's own
  // folder; the library gives "Songs/<group>/<song>".
  std::string group, folder, chartFile, background, musicFile, md5, displayPath;
  std::string title, artist;   // as shown (the display texts where the chart has them)
  int64_t startAtMs = -1;   // test play from a start position (music time)
};

extern PlaySource g_playSource;

// The BPM override of the play keys: -1 off; while positive the song runs at this
// tempo instead of the chart's. Kept from one play to the next (a restart keeps it).
extern double g_bpmOverride;

// What the last play did that the evaluation shows.
struct PlayFlags {
  bool paused = false;        // "Song Paused"
  bool autoplay = false;      // "Autoplay Enabled"
  bool speedAltered = false;  // "Speed Altered"
};
extern PlayFlags g_playFlags;

// Returns, in test play, the play mode to restart with (2 or 3) or 0 when the
// player gave up or the song ended; otherwise 0 to go on, non-zero when the game ended.
int PlaySong(int* stage, int courseFlag, int courseIndex);
