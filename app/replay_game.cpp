#include "app/replay_game.h"
#include "library/replay_file.h"
#include "library/settings.h"
#include "library/song_list.h"
#include "library/profiles.h"
#include "menus/evaluation_screen.h"
#include "platform/files.h"
#include "platform/log.h"
#include "platform/msgbox.h"
#include "play/play_record.h"
#include "play/player.h"
#include "play/song_play.h"
#include <cstring>

namespace {
// What watching changes and gives back afterwards.
struct Kept {
  Player players[2];
  Settings settings;
  int mode, rateStep;
  double bpmOverride;
  PlaySource source;
  PlayRules rules;
  PlayFlags flags;
  std::string lastReplay;
};

void keep(Kept& k) {
  memcpy(k.players, g_players, sizeof k.players);
  k.settings = g_settings;
  k.mode = g_play.mode;
  k.rateStep = g_play.rateStep;
  k.bpmOverride = g_play.bpmOverride;
  k.source = g_play.source;
  k.rules = g_play.rules;
  k.flags = g_play.flags;
  k.lastReplay = g_play.lastReplay;
}

void giveBack(const Kept& k) {
  for (Player& p : g_players) Chart_Free(p);
  memcpy(g_players, k.players, sizeof k.players);
  g_settings = k.settings;
  g_play.mode = k.mode;
  g_play.rateStep = k.rateStep;
  g_play.bpmOverride = k.bpmOverride;
  g_play.source = k.source;
  g_play.rules = k.rules;
  g_play.flags = k.flags;
  g_play.lastReplay = k.lastReplay;
  g_play.replay = nullptr;
}

int refuse(const std::string& path, const std::string& why) {
  WriteLogf("Replay '%s' cannot be played: %s\n", path.c_str(), why.c_str());
  std::string text = "This replay cannot be played: " + why + ".";
  MessageBox_Show(text.c_str(), "Replay");
  return 2;
}

const SongEntry* songOf(const ReplayHeader& h) {
  for (const SongEntry& e : g_songs)
    if (strcmp(e.group, h.group) == 0 && strcmp(e.folder, h.folder) == 0 && strcmp(e.chartFile, h.chartFile) == 0)
      return &e;
  return nullptr;
}

bool g_again = false;

// The evaluation of the replay, whatever ended it; nothing of it is stored. Its
// "Watch Replay" plays it once more.
int afterReplay(Play& play, bool) {
  EvaluationScreen(play, play.song.stage);
  g_again = Evaluation_WatchAsked();
  return 0;
}

void setUp(const ReplayHeader& h) {
  // the rules the play had
  g_settings.maxStage = h.maxStage;
  g_settings.difficulty = h.lifeDifficulty;
  g_settings.comboType = h.comboType;
  g_settings.gameOver = h.gameOver;
  g_settings.revive = h.revive;
  g_settings.autoPlay = h.autoPlay ? 0 : 1;   // 0 is on
  g_settings.globalGap = h.globalGap;
  memcpy(g_settings.windows, h.windows, sizeof g_settings.windows);
  int active = 0;
  for (const ReplayPlayerHeader& p : h.players) active += p.active ? 1 : 0;
  for (int pi = 0; pi < 2; pi++) {
    Player& p = g_players[pi];
    const ReplayPlayerHeader& r = h.players[pi];
    p.number = (uint8_t)(pi + 1);
    p.active = r.active;
    if (!r.active) continue;
    Player_SetStyle(p, r.styleName, r.panels, active == 1);
    p.difficulty = r.difficulty;
    p.level = r.level;
    p.options = r.options;
    snprintf(p.modifierText, sizeof p.modifierText, "%s", r.modifierText);
    int slot = r.profile[0] ? Profile_Find(r.profile) : -1;
    p.profileSlot = (uint8_t)(slot >= 0 ? slot + 1 : 0);
  }
}
}  // namespace

int ReplayGame_Watch(const std::string& path, bool evaluation) {
  Replay replay;
  std::string why;
  if (!Replay_Load(path, replay, why)) return refuse(path, why);
  const ReplayHeader& h = replay.header;
  std::string chart = std::string("Songs/") + h.group + "/" + h.folder + "/" + h.chartFile;
  std::string onDisk;
  if (!Path_Resolve(chart, onDisk) || File_Size(onDisk) < 0) return refuse(path, "its chart '" + chart + "' is gone");
  if (Replay_ChartMd5(onDisk) != h.chartMd5) return refuse(path, "its chart '" + chart + "' has changed since");
  const SongEntry* song = songOf(h);
  if (!song) return refuse(path, "its song is not in the library");

  WriteLogf("Watching the replay '%s'\n", path.c_str());
  Kept k;
  keep(k);
  setUp(h);
  g_play.mode = PLAY_NORMAL;
  g_play.source = PlaySource_OfSong(*song);
  g_play.rateStep = h.rateStep;
  g_play.bpmOverride = h.bpmOverride;
  g_play.rules.afterSong = evaluation ? afterReplay : nullptr;
  g_play.replay = &replay;
  do {
    g_again = false;
    int stage = h.stage;
    g_play.rateStep = h.rateStep;
    g_play.bpmOverride = h.bpmOverride;
    PlaySong(&stage, 0, -1);
  } while (g_again && !g_play.song.stoppedWatching);
  giveBack(k);
  return 0;
}
