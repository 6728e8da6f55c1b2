#include "app/test_mode.h"
#include "app/options.h"
#include "platform/log.h"
#include "library/settings.h"
#include "library/song_list.h"
#include "play/player.h"
#include "play/song_play.h"
#include "platform/files.h"
#include "platform/msgbox.h"
#include <cstdio>
#include <string>

namespace {
bool has(const std::string& s, const char* word) { return s.find(word) != std::string::npos; }
}

bool TestMode_Resolve(const TestRequest& req, TestSetup& o) {
  o = TestSetup{};
  o.player = req.side;
  if (has(req.style, "SINGLE")) {
    o.styleName = "SINGLE";
  } else if (has(req.style, "DOUBLE")) {
    o.player = 0;  // one player on both pads
    o.styleName = "DOUBLE";
    o.panels = 8;
    o.chartOffset = 4;
    o.fieldLeft = 46;
    o.fieldRight = 594;
  } else if (has(req.style, "SOLO")) {
    o.styleName = "SOLO";
    o.panels = 6;
    o.chartOffset = 11;
    o.fieldLeft = 115;
    o.fieldRight = 525;
  } else {
    return false;
  }
  if (has(req.level, "SMANIAC")) o.difficulty = 3;
  else if (has(req.level, "MANIAC")) o.difficulty = 2;
  else if (has(req.level, "ANOTHER") || has(req.level, "TRICK")) o.difficulty = 1;
  else if (has(req.level, "BASIC")) o.difficulty = 0;
  else return false;
  if (o.panels == 6 && o.difficulty == 3) return false;
  o.startAtMs = req.startAtMs;
  o.rateStep = req.rateStep;
  o.scrollIndex = req.scrollIndex;
  o.dark = req.dark;
  o.tick = req.tick;
  return true;
}

int TestMode_Run(const TestRequest& req) {
  std::string path;
  if (!Path_Resolve(req.chartPath, path) || File_Size(path) < 0 || !readSongFolder(path.c_str())) {
    std::string caption = "'" + req.chartPath + "'";
    MessageBox_Show("File not found/Syntax incorrect...", caption.c_str());
    return 2;
  }
  TestSetup setup;
  const SongEntry& song = g_songs[0];
  if (!TestMode_Resolve(req, setup) || song.levels[setup.chartOffset + setup.difficulty] <= 0) {
    MessageBox_Show("Invalid style/difficulty given, or steps not available for given mode.", "Error");
    return 2;
  }
  Players_Reset();
  Player& p = g_players[setup.player];
  p.active = 1;
  Player_SetStyle(p, setup.styleName, setup.panels, true);
  p.difficulty = setup.difficulty;
  p.level = (uint8_t)song.levels[setup.chartOffset + setup.difficulty];
  p.options.speed = (int8_t)setup.scrollIndex;
  p.options.dark = setup.dark ? 1 : 0;
  snprintf(p.modifierText, sizeof p.modifierText, "%s", Options_ScrollName(setup.scrollIndex));
  g_play.rateStep = setup.rateStep;
  g_settings.announcer = 0;
  g_settings.gameOver = 0;
  g_settings.dangerDisplay = 0;
  g_settings.showBeat = 1;
  g_settings.assistTick = setup.tick ? 1 : 0;

  // the chart's folder and its parent, as the loaders join them in test play
  size_t slash = path.find_last_of('/');
  std::string folderPath = slash == std::string::npos ? "." : path.substr(0, slash);
  size_t up = folderPath.find_last_of('/');
  PlaySource& src = g_play.source;
  src = PlaySource_OfSong(song);
  src.group = up == std::string::npos ? "." : folderPath.substr(0, up);
  src.folder = up == std::string::npos ? folderPath : folderPath.substr(up + 1);
  src.displayPath = req.chartPath;
  src.startAtMs = setup.startAtMs;

  int stage = 1;
  g_play.mode = setup.startAtMs >= 0 ? PLAY_TEST_FROM : PLAY_TEST;
  for (;;) {
    int r = PlaySong(&stage, 0, -1);
    if (r <= 1) break;
    g_play.mode = r == PLAY_TEST_FROM ? PLAY_TEST_FROM : PLAY_TEST;
    stage = 1;
  }
  for (Player& pl : g_players) Chart_Free(pl);
  return 0;
}
