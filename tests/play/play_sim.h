#pragma once
// A song played frame by frame for the judgement tests: the chart comes from the
// real loader, the position from the real timing model, and the presses and
// releases from a list, as the song play would feed them.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>
#include "chart/chart.h"
#include "chart/timing.h"
#include "library/settings.h"
#include "play/autoplay.h"
#include "play/begin_play.h"
#include "play/judge.h"
#include "play/judge_frame.h"
#include "play/play_record.h"
#include "play/player.h"

// A panel going down or up for a player at a song time (ms after position 0).
struct Step {
  int64_t ms;
  int player;
  int column;
  bool down;
};

// A tap: down and up in the same millisecond (the frame sees the press, not a hold).
inline std::vector<Step> Taps(int player, std::initializer_list<std::pair<int64_t, int>> at) {
  std::vector<Step> s;
  for (auto [ms, col] : at) {
    s.push_back({ms, player, col, true});
    s.push_back({ms, player, col, false});
  }
  return s;
}

inline std::string Chart(const std::string& key, const std::string& steps, const std::string& timing = "#BPM:120;\n#GAP:0;\n") {
  return "#TITLE:Sim;\n#ARTIST:Tests;\n" + timing + "#" + key + steps + ";\n";
}

struct PlaySim {
  Player p[2] = {};
  ScrollState scroll{};
  JudgePlay jp{};
  std::vector<JudgeEvent> events;   // every event of the play, in order

  PlaySim() { Settings_Defaults(g_settings); }
  ~PlaySim() {
    Chart_Free(p[0]);
    Chart_Free(p[1]);
    Timing_FreeLists(g_timing);
  }

  // Player i (0 or 1) takes part with a 4-panel chart of `level` at `difficulty`.
  void Join(int i, int level, int difficulty = 2, uint8_t power = 0, const char* style = "SINGLE", int panels = 4) {
    Chart_Free(p[i]);
    memset(&p[i], 0, sizeof p[i]);
    p[i].number = (uint8_t)(i + 1);
    p[i].active = 1;
    Player_SetStyle(p[i], style, panels, false);
    p[i].difficulty = difficulty;
    p[i].level = (uint8_t)level;
    p[i].options.power = power;
  }

  bool Load(const std::string& text) {
    return loadChartText(text.data(), text.size(), "sim.rkv", p, 2, Play_ChartRules(Play{})) == 1;
  }

  void Begin(int stage = 1, bool course = false, const CourseRules* rules = nullptr, bool testPlay = false) {
    for (Player& q : p)
      if (q.active) BeginPlay(q, stage, course, rules);
    Judge_BeginSong(jp, p, course, testPlay);
    Timing_Begin(scroll, g_timing);
  }

  // Frames every `frameMs` from `fromMs` through `toMs` (the last frame is at toMs).
  void Run(std::vector<Step> steps, int64_t fromMs, int64_t toMs, int frameMs = 16, bool autoplay = false) {
    std::stable_sort(steps.begin(), steps.end(), [](const Step& a, const Step& b) { return a.ms < b.ms; });
    uint16_t held[2] = {0, 0};
    size_t next = 0;
    for (int64_t t = fromMs;; t += frameMs) {
      if (t > toMs) t = toMs;
      PlayerInput in[2];
      PlayerInput_Clear(in[0]);
      PlayerInput_Clear(in[1]);
      for (; next < steps.size() && steps[next].ms <= t; next++) {
        const Step& s = steps[next];
        uint16_t bit = (uint16_t)(1u << s.column);
        if (s.down) {
          PlayerInput_Add(in[s.player], s.column, s.ms);
          held[s.player] |= bit;
        } else {
          held[s.player] &= (uint16_t)~bit;
        }
      }
      in[0].held = held[0];
      in[1].held = held[1];
      Timing_Advance(scroll, g_timing, (double)t, p, 2);
      JudgeClock clock = JudgeClock_Make(scroll, (double)t, t, g_timing.msPerBeat);
      if (autoplay)
        for (int i = 0; i < 2; i++)
          if (p[i].active) Autoplay_Frame(p[i], clock, in[i]);
      Judge_Frame(jp, clock, in);
      events.insert(events.end(), jp.events.list, jp.events.list + jp.events.count);
      if (t == toMs) break;
    }
  }

  int Count(int kind, int player = -1) const {
    return (int)std::count_if(events.begin(), events.end(), [&](const JudgeEvent& e) {
      return e.kind == kind && (player < 0 || e.player == player);
    });
  }
};
