#pragma once
// Helpers for the chart tests: players set up as the style select would, and a
// chart text around some step data.
#include <cstring>
#include <string>
#include "chart/chart.h"
#include "chart/timing.h"
#include "play/player.h"

inline void SetUpPlayer(Player& p, int number, const char* style, int panels, int difficulty, int level) {
  Chart_Free(p);
  memset(&p, 0, sizeof p);
  p.number = (uint8_t)number;
  p.active = 1;
  Player_SetStyle(p, style, panels, false);
  p.difficulty = difficulty;
  p.level = (uint8_t)level;
}

inline std::string ChartWith(const std::string& key, const std::string& steps,
                             const std::string& extra = "#BPM:120;\n#GAP:0;\n") {
  return "#TITLE:Test;\n#ARTIST:Us;\n" + extra + "#" + key + steps + ";\n";
}

// The rules of a game on default settings: no global gap, combo type 1.
inline ChartRules DefaultRules() {
  ChartRules r;
  r.comboType = 1;
  return r;
}

// Loads `text` for the two players (the first `count`).
inline int LoadText(const std::string& text, Player* players, int count, const ChartRules& rules = DefaultRules()) {
  return loadChartText(text.data(), text.size(), "test.rkv", players, count, rules);
}

struct TwoPlayers {
  Player p[2] = {};
  TwoPlayers() {}
  ~TwoPlayers() {
    Chart_Free(p[0]);
    Chart_Free(p[1]);
    Timing_FreeLists(g_timing);
  }
};
