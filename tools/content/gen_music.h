#pragma once
// The demo songs' music: a tempo map shared with the charts, a bar-by-bar
// arrangement turned into note events, and a renderer for those events.
// Charts are made from the same events, so every arrow sits on a sound.
#include <string>
#include <vector>

#include "gen_audio.h"

// Positions are in sixteenth notes (4.0 a beat), as in the chart files.
struct TempoMap {
  double bpm = 120;
  std::vector<std::pair<double, double>> changes;  // position, new bpm (rising positions)
  std::vector<std::pair<double, double>> stops;    // position, milliseconds
  int gapMs = 0;
  // Music time of a position, seconds from the start of the file. A stop at
  // p holds everything after p (no event is ever placed exactly on a stop).
  double Seconds(double pos) const;
  double BpmAt(double pos) const;
};

enum Instrument { kKick, kSnare, kHat, kOpenHat, kClap, kCrash, kBass, kPad, kStab, kLead, kArp, kInstruments };

struct NoteEvent {
  double pos;     // start, sixteenths
  double len;     // length, sixteenths (drums: 0)
  int inst;
  int pitch;      // MIDI note (drums: 0)
  float vel;      // 0..1
};

// One song's musical plan.
struct Arrangement {
  int style;                  // 0 house, 1 electro, 2 breakbeat funk, 3 drum and bass
  int root;                   // MIDI note of the key's tonic (minor keys)
  std::string sections;       // one letter per bar: I intro, V verse, C chorus, B break, O outro
  std::vector<int> stopBars;  // bars that end with a held chord (a stop in the tempo map)
  uint64_t seed;
};

// The note events of the arrangement, sorted by position.
std::vector<NoteEvent> Music_Events(const Arrangement& a, const TempoMap& tm);
// Renders the events to a stereo mix that lasts until the last sound has died away.
Stereo Music_Render(const std::vector<NoteEvent>& events, const TempoMap& tm, uint64_t seed);
