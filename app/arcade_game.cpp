#include "app/arcade_game.h"
#include "app/replay_game.h"
#include "chart/random.h"
#include "library/settings.h"
#include "library/song_list.h"
#include "menus/collection.h"
#include "menus/evaluation_screen.h"
#include "menus/game_over_screen.h"
#include "menus/profile_select.h"
#include "menus/song_wheel.h"
#include "menus/style_select.h"
#include "play/player.h"
#include "play/song_play.h"
#include <string>
#include <vector>

namespace {
// What the stages of the running game tell each other.
struct ArcadeState {
  int award = AWARD_NONE;   // what the last evaluation awarded
  // "Watch Replay" on the last evaluation: the replay is watched once the play
  // is torn down, and when the game had ended there, the credits follow it
  std::string watch;
  bool endAfterWatch = false;
};
ArcadeState g_arcade;

bool anyDifficulty() {
  for (const Player& p : g_players)
    if (p.active && p.difficulty >= 0) return true;
  return false;
}

// Whether the game goes on after `stage` was played: an award goes on past "Max
// Stage"; unlimited stages go on until the game is lost.
bool goesOn(int stage, int award) {
  return award != AWARD_NONE || g_settings.maxStage >= 6 || stage < g_settings.maxStage;
}
}  // namespace

void ArcadeGame() {
  g_arcade = ArcadeState{};
  if (StyleSelect(g_players) <= 0) return;
  if (g_settings.userProfiles && ProfileSelect(0) <= 0) {
    Profiles_EndGame();
    return;
  }
  int stage = 1;
  for (;;) {
    if (SelectSong(stage) <= 0 || !anyDifficulty()) break;
    int song = Collection_SelectedSong(g_collection);
    if (song < 0 || song >= (int)g_songs.size()) break;
    g_play.mode = PLAY_NORMAL;
    g_play.source = PlaySource_OfSong(g_songs[song]);
    g_play.bpmOverride = -1;   // a tempo set with the play keys lasts one song
    int played = stage;
    int ended = PlaySong(&stage, 0, -1);
    if (!g_arcade.watch.empty()) {
      std::string path = std::move(g_arcade.watch);
      g_arcade.watch.clear();
      ReplayGame_Watch(path, true);
      if (g_arcade.endAfterWatch) GameOverScreen(false, 0);
    }
    if (ended != 0) break;
    // a song that could not be played gave its stage back: the same stage, and
    // whatever the last evaluation awarded, on the wheel again
    if (stage < played) {
      stage = played;
      continue;
    }
    if (!goesOn(stage, g_arcade.award)) break;
    stage++;
  }
  Profiles_EndGame();
}

void AttractDemo() {
  BuildCollection(0, nullptr, 0, 1, 0);
  // a song that both players can play on SINGLE
  std::vector<int> candidates;
  for (int i = 0; i < (int)g_songs.size(); i++)
    for (int d = 0; d < 3; d++)
      if (g_songs[i].levels[d] > 0) {
        candidates.push_back(i);
        break;
      }
  if (candidates.empty()) return;
  const SongEntry& e = g_songs[candidates[Random_Below((int)candidates.size())]];
  for (int pi = 0; pi < 2; pi++) {
    Player& p = g_players[pi];
    p.active = 1;
    Player_SetStyle(p, "SINGLE", 4, false);
    // player 1 shows the hardest chart up to MANIAC, player 2 the easiest
    int d = -1;
    for (int k = 0; k < 3; k++) {
      int at = pi == 0 ? 2 - k : k;
      if (e.levels[at] > 0) {
        d = at;
        break;
      }
    }
    p.difficulty = d;
    p.level = (uint8_t)e.levels[d];
  }
  g_play.mode = PLAY_NORMAL;
  g_play.source = PlaySource_OfSong(e);
  g_play.bpmOverride = -1;
  int stage = 0;
  PlaySong(&stage, 0, -1);
}

int AfterSong(Play& play, bool gameEnds) {
  int stage = play.song.stage;
  if (stage == 0) return gameEnds ? 1 : 0;   // the attract demo has no evaluation
  // a course is evaluated once, when it ends (the nonstop game shows it)
  if (play.course.active) return gameEnds ? 1 : 0;
  if (gameEnds) {
    GameOverScreen(true, play.song.stream);
    return 1;
  }
  g_arcade.award = EvaluationScreen(play, stage);
  if (Evaluation_WatchAsked() && !play.lastReplay.empty()) g_arcade.watch = play.lastReplay;
  if (goesOn(stage, g_arcade.award)) return 0;
  g_arcade.endAfterWatch = !g_arcade.watch.empty();
  if (!g_arcade.endAfterWatch) GameOverScreen(false, play.song.stream);   // a game that was not lost ends on the credits
  return 1;
}
