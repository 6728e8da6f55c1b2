#pragma once
// A small game library written by the tests into the working directory (use it
// inside a TempDir), for tests that run whole screens or the whole game:
//
//   TempDir dir;
//   GameLibrary lib;                 // 3 songs of 4 s in one group, every style
//   lib.songs = 5; lib.backgrounds = true;
//   WriteGameLibrary(lib);           // Songs/Group 1/Song 1/ ... Song 5/
//   GameSettings s;  s.autoPlay = true;
//   WriteGameSettings(s);            // rkv2.cfg
//   WriteProfiles({"ALICE", "BOB"}); // Profiles/ALICE/profile.dat ...
//   IndexGameLibrary();              // in-process: rkv2.sng and g_songs
//
// Each song folder "Songs/Group G/Song N/" holds "song.wav" (a quiet tone of
// `seconds` s, 22050 Hz mono, written with libsndfile), "song.rkv" (#TITLE:
// "Song N", #ARTIST: "Tarvolen tests", #BPM:120, #GAP:0, and charts whose steps
// run from 1 s to 1 s before the end: SINGLE BASIC 3 / ANOTHER 5 / MANIAC 8,
// DOUBLE BASIC 4 / MANIAC 9, SOLO BASIC 4), and optionally "banner.png"
// (256 x 80) and "bg.png" (320 x 240), each of the song's own colour
// (GameLibrary_SongColour). Songs are dealt to the groups in turn.
#include <cstdint>
#include <string>
#include <vector>

struct GameLibrary {
  int songs = 3;
  int groups = 1;
  int seconds = 4;          // each song's music; at least 3
  bool single = true;       // which styles get charts
  bool doubles = true;
  bool solo = true;
  bool banners = false;     // "banner.png" in each song folder
  bool backgrounds = false; // "bg.png" in each song folder
  bool tinyMusic = false;   // every song but the first a quarter second of music (libraries of thousands)
};

// The folders written, "Songs/Group G/Song N", in song order; empty when a file
// could not be written.
std::vector<std::string> WriteGameLibrary(const GameLibrary& lib);
// The colour (0xRRGGBB) of song `n` (from 1)'s banner and background.
uint32_t GameLibrary_SongColour(int n);

// "rkv2.cfg": the defaults of the game, with these switches.
struct GameSettings {
  bool autoPlay = false;
  bool timeLimit = false;
  int maxStage = 3;         // 1..6, 6 unlimited
  int extraStages = 0;      // 0 OFF, 1 RANDOM, 2 CHOICE
  bool userProfiles = false;
  bool gameOver = true;     // false: "END OF MUSIC"
  bool announcer = false;
  bool fpsMeter = false;
  int breakAfter = 0;       // a repeating course's break after every n songs, 0 none
};
bool WriteGameSettings(const GameSettings& s);

// "Profiles/<name>/profile.dat" for each name (under 16 characters).
bool WriteProfiles(const std::vector<std::string>& names);

// Indexes "Songs" into "rkv2.sng" and loads the song table g_songs from it, as
// the game does at start-up. Returns the number of songs loaded.
int IndexGameLibrary();
