// The chart loader: reads one chart file, builds each player's Arrow array from
// the step data of the player's style and difficulty, and sets the song timing.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <string_view>
#include <vector>
#include "platform/log.h"
#include "chart/chart.h"
#include "chart/chart_finish.h"
#include "chart/chart_lists.h"
#include "chart/chart_text.h"
#include "chart/random.h"
#include "chart/step_data.h"
#include "chart/timing.h"
#include "platform/files.h"
#include "platform/msgbox.h"
#include "chart/scroll_speed.h"
#include "chart/player_record.h"

namespace {
const char* const kDifficultyNames[4] = {"BASIC", "ANOTHER", "MANIAC", "SMANIAC"};

bool IsBattle(const Player& p) {
  char name[kStyleNameSize + 1] = {};
  memcpy(name, p.styleName, kStyleNameSize);
  return strstr(name, "BATTLE") != nullptr;
}

// One player's array while it is built; it goes into the record only when the
// whole load has succeeded.
struct Built {
  Player* player = nullptr;
  Arrow* arrows = nullptr;
  int32_t count = 0;
  int32_t pixelsPerBeat = 64;
  double pixelsPerMs = 0;
  ChartTotals totals{};
};

struct Load {
  std::vector<Built> built;
  BpmChange* changes = nullptr;
  int32_t changeCount = 0;
  FreezeStop* stops = nullptr;
  int32_t stopCount = 0;
  bool haveLists = false;
  double bpm = 0;
  int64_t gap = 0;
  ChartRules rules;

  ~Load() {
    for (Built& b : built) free(b.arrows);
    free(changes);
    free(stops);
  }
};

// SHUFFLE: values 0..3 in the order they are first drawn.
void DrawShuffle(int out[4]) {
  bool seen[4] = {};
  int n = 0;
  for (int draws = 0; n < 4 && draws < 4096; draws++) {
    int v = Random_Below(4);
    if (!seen[v]) seen[v] = true, out[n++] = v;
  }
  for (int v = 0; n < 4; v++)   // only a broken generator gets here
    if (!seen[v]) seen[v] = true, out[n++] = v;
}

bool ReadTiming(std::string_view text, Load& load) {
  size_t bpmAt = ChartText_FindValue(text, "#BPM:");
  if (bpmAt == std::string_view::npos) {
    WriteLog("Chart file has no #BPM: tag\n");
    return false;
  }
  double bpm = 0;
  if (!ChartText_Decimal(ChartText_Value(text, bpmAt), bpm) || !std::isfinite(bpm) || bpm < kMinBpm ||
      bpm > kMaxBpm) {
    WriteLog("Chart file's #BPM: is not a usable tempo\n");
    return false;
  }
  size_t gapAt = ChartText_FindValue(text, "#GAP:");
  if (gapAt == std::string_view::npos) {
    WriteLog("Chart file has no #GAP: tag\n");
    return false;
  }
  load.bpm = bpm;
  load.gap = (int64_t)ChartText_Integer(ChartText_Value(text, gapAt)) + load.rules.globalGap;
  if (!load.haveLists) {
    // one pair of lists serves both players
    size_t at = ChartText_FindValue(text, "CHANGEBPM:");
    if (at != std::string_view::npos &&
        !ChartLists_ReadBpmChanges(ChartText_Value(text, at), &load.changes, &load.changeCount))
      return false;
    at = ChartText_FindValue(text, "FREEZE:");
    if (at != std::string_view::npos && !ChartLists_ReadStops(ChartText_Value(text, at), &load.stops, &load.stopCount))
      return false;
    load.haveLists = true;
  }
  return true;
}

bool Allocate(Built& b, int64_t records) {
  if (records > kMaxArrows) {
    WriteLogf("Chart has too many arrows (%lld, at most %d)\n", (long long)records, kMaxArrows);
    return false;
  }
  b.count = 0;
  if (records == 0) return true;
  b.arrows = (Arrow*)calloc((size_t)records, sizeof(Arrow));
  return b.arrows != nullptr;
}

// Loads the chart of `p` (and in BATTLE of the second record too).
bool LoadPlayer(std::string_view text, const char* path, Player* players, int index, Load& load) {
  Player& p = players[index];
  WriteLogf("%s\n", path);
  int shuffle[4];
  DrawShuffle(shuffle);
  char key[64];
  if (!Chart_Key(p, key, sizeof key)) {
    WriteLogf("Player %d has no difficulty chosen\n", index + 1);
    return false;
  }
  WriteLogf("%s\n", key);
  size_t at = ChartText_FindValue(text, key);
  if (at == std::string_view::npos) {
    WriteLogf("Chart '%s' is not in the file\n", key);
    return false;
  }
  std::string_view data = ChartText_Value(text, at);
  if (!ReadTiming(text, load)) return false;

  bool battle = IsBattle(p);
  StepLayout layout = battle ? LAYOUT_COUPLE
                      : p.panels == 8 ? LAYOUT_DOUBLE
                      : p.panels == 6 ? LAYOUT_SOLO
                                      : LAYOUT_SINGLE;
  int64_t records[2];
  Steps_Count(data, layout, records);

  int targets = battle ? 2 : 1;
  StepTarget target[2] = {};
  size_t first = load.built.size();
  for (int t = 0; t < targets; t++) {
    load.built.emplace_back();
    Built& b = load.built.back();
    b.player = &players[battle ? t : index];
    if (!Allocate(b, records[t])) return false;
    b.pixelsPerBeat = Speed_PixelsPerBeat(b.player->options.speed);
    b.pixelsPerMs = Speed_Scale(b.pixelsPerBeat, load.bpm);
  }
  for (int t = 0; t < targets; t++) {
    Built& b = load.built[first + t];
    target[t] = StepTarget{b.player, b.arrows, (int32_t)records[t], 0, b.pixelsPerBeat};
  }
  Steps_Parse(data, layout, target, shuffle);
  for (int t = 0; t < targets; t++) load.built[first + t].count = target[t].used;
  return true;
}

int LoadText(std::string& text, const char* path, Player* players, int playerCount, const ChartRules& rules) {
  ChartText_Prepare(text);
  Load load;
  load.rules = rules;
  load.built.reserve(2);
  int count = playerCount < 2 ? playerCount : 2;
  for (int i = 0; i < count; i++) {
    if (!players[i].active) continue;
    if (IsBattle(players[i]) && !load.built.empty()) {
      // a COUPLE chart fills both records: it cannot follow another chart
      WriteLog("BATTLE player after a player of another style\n");
      return 0;
    }
    if (!LoadPlayer(text, path, players, i, load)) return 0;
    if (IsBattle(players[i])) break;   // one COUPLE chart filled both players
  }
  for (Built& b : load.built) {
    const Player& p = *b.player;
    Chart_Finish(b.arrows, b.count, p.options.arrowFilter, p.options.noFreeze != 0, b.totals);
  }
  if (load.built.empty()) {
    // nobody to load for: the timing still has to be valid for the caller
    if (!ReadTiming(text, load)) return 0;
  }
  for (Built& b : load.built) {
    Player& p = *b.player;
    p.arrows = b.arrows;
    p.arrowCount = b.count;
    p.firstVisible = 0;
    p.pixelsPerBeat = b.pixelsPerBeat;
    p.pixelsPerMs = b.pixelsPerMs;
    p.comboMode = (uint8_t)(load.rules.comboType + 1);
    p.maxDancePoints = b.totals.maxDancePoints;
    p.freezeCount = b.totals.freezeCount;
    p.chordExtra = b.totals.chordExtra;
    p.stepTriangle = b.totals.stepTriangle;
    b.arrows = nullptr;
  }
  Timing_Install(g_timing, load.bpm, load.gap, load.changes, load.changeCount, load.stops, load.stopCount);
  load.changes = nullptr;
  load.stops = nullptr;
  return 1;
}
}  // namespace

bool Chart_Key(const Player& p, char* out, size_t outSize) {
  if (p.difficulty < 0 || p.difficulty > 3) return false;
  char style[kStyleNameSize + 1] = {};
  memcpy(style, p.styleName, kStyleNameSize);
  snprintf(out, outSize, "%s:%s:%d:", IsBattle(p) ? "COUPLE" : style, kDifficultyNames[p.difficulty], p.level);
  return true;
}

void Chart_Free(Player& p) {
  free(p.arrows);
  p.arrows = nullptr;
  p.arrowCount = 0;
  p.firstVisible = 0;
}

int loadChartText(const char* data, size_t size, const char* path, Player* players, int playerCount,
                  const ChartRules& rules) {
  try {
    std::string text(data, size);
    return LoadText(text, path ? path : "", players, playerCount, rules);
  } catch (const std::bad_alloc&) {
    WriteLog("Out of memory while loading the chart\n");
    return 0;
  }
}

int loadChart(const char* group, const char* song, const char* file, Player* players, int playerCount,
              const ChartRules& rules) {
  char path[2048];
  if (rules.bareFolder)
    snprintf(path, sizeof path, "%s\\%s\\%s", group, song, file);
  else
    snprintf(path, sizeof path, ".\\Songs\\%s\\%s\\%s", group, song, file);
  std::string onDisk;
  Path_Resolve(Path_FromData(path), onDisk);
  std::string text;
  try {
    if (!File_ReadText(onDisk, text)) {
      WriteLogf("%s\n", onDisk.c_str());
      WriteLog("Can't open the chart file\n");
      return 0;
    }
  } catch (const std::bad_alloc&) {
    MessageBox_Show("ERROR! (can't allocate memory)", "Notice");
    return 0;
  }
  if (text.empty()) {
    WriteLogf("%s\n", onDisk.c_str());
    MessageBox_Show("ERROR! (filesize=0?)", "Notice");
    return 0;
  }
  try {
    return LoadText(text, onDisk.c_str(), players, playerCount, rules);
  } catch (const std::bad_alloc&) {
    WriteLog("Out of memory while loading the chart\n");
    return 0;
  }
}
