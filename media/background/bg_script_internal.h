#pragma once
// What the background script's files share among themselves: the script's own
// random generator, the value readers, path rules and the steps of the loader.
#include "media/background/background.h"
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The script's own generator, kept apart from the program-wide one so that a
// "#RANDSEED:" gives the same backgrounds whatever else drew numbers before.
struct BgRandom {
  uint32_t state = 1;
  void Seed(uint32_t seed) { state = seed; }
  int Next() {   // 0 .. 32767
    state = state * 214013u + 2531011u;
    return (int)((state >> 16) & 0x7FFF);
  }
  int Below(int n) { return n <= 1 ? 0 : (int)((int64_t)Next() * n / 32768); }
};

// Up to `max` numbers separated by commas at the start of `s` (blanks allowed);
// stops at the first thing that is not a number. Returns how many were read.
int BgValue_Numbers(std::string_view s, double* out, int max);
// The first number at the start of `s`, or `fallback` when there is none.
double BgValue_Number(std::string_view s, double fallback);
// Blanks (and CR) trimmed from both ends.
std::string_view BgValue_Trim(std::string_view s);

// A data path (either separator, any case) made relative to the song folder,
// except an empty one or one beginning with "." (then relative to the game
// folder, the current folder). With lookOnDisk, found on disk without regard to
// case when it exists; otherwise (and without it) the converted path.
std::string BgPath_Media(const char* songFolder, std::string_view value, bool lookOnDisk);
// "#RANDFOLDER:": "\..." or "/...", "X:..." and ".\..." (a single dot) as they
// are; anything else (".." included) relative to the song folder; empty = the
// song folder.
std::string BgPath_RandomFolder(const char* songFolder, std::string_view value, bool lookOnDisk);
// "VIS:": a bare file name is looked for in "Vis", then in the song folder; a
// path with a folder follows the media rule.
std::string BgPath_Vis(const char* songFolder, std::string_view value, bool lookOnDisk);

// The movie files of a folder (names only, sorted so that a seed always picks
// the same ones). False when the folder holds none.
bool BgRandom_ScanFolder(const std::string& folder, std::vector<std::string>& names);
// The automatic search of the song's "Movies" folder, the song folder and
// "Movies/Random".
void BgRandom_FindSources(const char* songFolder, const BackgroundParams& params);
// The timeline of random movies and visualizations.
void BgRandom_Timeline(const BackgroundParams& params, BgRandom& rng);

// One "SCRIPT:" value: adds its events (unsorted) to `events`.
void BgScript_Timeline(std::string_view value, std::vector<BackgroundEvent>& events);
// One definition line of the section.
void BgDefine_Line(std::string_view line, const char* songFolder, const BackgroundParams& params);
// "ANIMATE:" value to frame durations in ms; returns the frame count (1..255).
int BgDefine_AnimateDurations(std::string_view value, double msPerBeat, uint16_t* durations);

// Frees one definition's source and makes it unused.
void BgDefine_Free(Background& b);
// Opens a movie or a plug-in as the source of `b` (definition `id`); the random
// timeline and "MOVIE:"/"VIS:" lines share these. False, with a log line, when it
// does not open (the caller then leaves the definition unused).
bool BgDefine_Movie(Background& b, int id, const std::string& path, const BackgroundParams& params);
bool BgDefine_Vis(Background& b, int id, const std::string& path, const BackgroundParams& params);

// The id of a script character: "0"-"9" = 0-9, "A"-"Z" = 10-35, else -1.
inline int BgScript_Id(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
  return -1;
}
