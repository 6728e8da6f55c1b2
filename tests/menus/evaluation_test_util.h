#pragma once
// Players whose song has just been played, for the evaluation tests: a chart of
// Left, Down, Up, Right eighth notes at 120 BPM (one every 250 ms) played through
// the real judgement with presses at chosen offsets, then handed to the game's
// player records as the play's tear-down leaves them.
#include "library/profiles.h"
#include "library/records.h"
#include "menus/collection.h"
#include "platform/files.h"
#include "play/play_sim.h"
#include "play/player.h"
#include <string>
#include <vector>

// `late[i]` ms after note i (negative: early); a note without an entry is missed.
inline std::vector<Step> PressesAt(int player, const std::vector<int>& late) {
  static const int kColumns[4] = {COL_LEFT, COL_DOWN, COL_UP, COL_RIGHT};
  std::vector<Step> s;
  for (size_t i = 0; i < late.size(); i++) {
    int64_t at = (int64_t)i * 250 + late[i];
    s.push_back({at, player, kColumns[i % 4], true});
    s.push_back({at + 5, player, kColumns[i % 4], false});
  }
  return s;
}

// Presses for `n` notes: the first `greats` GREAT (60 ms late and more), the rest
// PERFECT, spread over -18..22 ms.
inline std::vector<int> MostlyPerfect(int n, int greats) {
  std::vector<int> late;
  for (int i = 0; i < n; i++) late.push_back(i < greats ? 60 + i : (i * 7) % 41 - 18);
  return late;
}

inline std::string Notes(int count) {
  std::string steps;
  for (int i = 0; i < count; i++) steps += "4286"[i % 4];
  return steps;
}

// Plays `notes` notes at `difficulty` (level 9) for the players that have
// presses (an empty list: the player does not take part) and moves the
// records into g_players, which then own the charts.
inline void PlayInto(int notes, int difficulty, const std::vector<int> late[2], int stage = 1) {
  PlaySim sim;
  const char* keys[4] = {"BASIC", "ANOTHER", "MANIAC", "SMANIAC"};
  for (int i = 0; i < 2; i++)
    if (!late[i].empty()) sim.Join(i, 9, difficulty);
  std::string key = std::string("SINGLE:") + keys[difficulty] + ":9:";
  if (!sim.Load(Chart(key, Notes(notes)))) return;
  sim.Begin(stage);
  std::vector<Step> steps = PressesAt(0, late[0]);
  for (const Step& s : PressesAt(1, late[1])) steps.push_back(s);
  sim.Run(steps, -3500, notes * 250 + 1000);
  for (int i = 0; i < 2; i++) {
    Chart_Free(g_players[i]);
    g_players[i] = sim.p[i];
    sim.p[i].arrows = nullptr;
    sim.p[i].arrowCount = 0;
  }
}

// A life trace that climbs, dips at a third of the song and recovers.
inline std::vector<int16_t> LifeTrace(int samples, int low) {
  std::vector<int16_t> t;
  for (int i = 0; i < samples; i++) {
    double f = (double)i / samples;
    double v = 850 + 850 * f;
    if (f > 0.3 && f < 0.45) v = low + (v - low) * (f - 0.3) / 0.15 * 0.6;
    t.push_back((int16_t)std::min(1700.0, v));
  }
  return t;
}

// Player 1 plays with the profile "ANN" (made in "Profiles" when missing), whose
// records table is `own` (put back to null by the caller once the screen is over).
inline bool PlayerOneAsAnn(RecordTable& own) {
  Dir_Create("Profiles/ANN");
  listProfiles();
  if (Profile_Find("ANN") < 0) return false;
  g_players[0].profileSlot = (uint8_t)(1 + Profile_Find("ANN"));
  own.profile = "ANN";
  g_playerRecords[0] = &own;
  return true;
}
