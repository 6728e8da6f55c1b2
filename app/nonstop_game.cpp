#include "app/nonstop_game.h"
#include "app/replay_game.h"
#include "chart/random.h"
#include "library/courses.h"
#include "library/settings.h"
#include "library/song_list.h"
#include "media/skin/skin_images.h"
#include "menus/break_screen.h"
#include "menus/course_evaluation.h"
#include "menus/evaluation_screen.h"
#include "menus/game_over_screen.h"
#include "menus/collection.h"
#include "menus/course_select.h"
#include "menus/profile_select.h"
#include "menus/style_select.h"
#include "platform/log.h"
#include "play/course_song.h"
#include "play/modifiers.h"
#include "play/play_replay.h"
#include "play/player.h"
#include "play/song_play.h"
#include <algorithm>
#include <numeric>
#include <vector>

namespace {
int random(int n) { return Random_Below(n); }

// The song wheel's selection follows a "Player's Best" song, so that the wheel
// shows it after the course.
void followOnWheel(int song) {
  Collection& c = g_collection;
  for (int g = 0; g < c.groupCount; g++)
    for (int i = 0; i < c.groups[g].count; i++)
      if (c.groups[g].songs[i] == song) {
        c.selectedGroup = g;
        c.selectedIndex = i;
        return;
      }
}

// The song and difficulty of an entry for the course's style; false when the
// entry has none this time (a random pick without candidates, a song that is
// gone, a difficulty the song has no chart of).
bool chooseSong(const CourseEntry& e, int styleMask, int& song, int& difficulty) {
  if (e.random) return Course_PickRandomSong(e, styleMask, 4, song, difficulty);
  song = e.song;
  if (song < 0 || song >= (int)g_songs.size()) return false;
  difficulty = Course_ChooseDifficulty(song, e, styleMask, 4);
  return difficulty >= 0;
}

void logSongChoice(const CourseEntry& e, int song) {
  if (e.random) {
    WriteLog("Setting up random song...\n");
  } else if (e.selector == SELECT_NAMED) {
    WriteLog("Setting up song...\n");
  } else {
    WriteLog("Setting up Player's Best song...\n");
    followOnWheel(song);
  }
}
}  // namespace

int DoMainGame(int folderIndex, int selectedEntry) {
  (void)folderIndex;
  (void)selectedEntry;   // the course wheel's selection names the course
  Image breakPicture;
  if (g_settings.breakAfter) LoadPNG("rkv2-break.png", breakPicture, 0, 0);
  BuildCollection(0, nullptr, 0, 1, 0);
  WriteLog("Starting Nonstop...\n");
  int chosen = CourseSelect_SelectedCourse();
  const Course* course = chosen >= 0 && chosen < (int)g_courses.size() ? &g_courses[chosen] : nullptr;
  if (!course || course->entryCount <= 0) {
    WriteLog("- The chosen course has no songs to play\n");
    breakPicture.Free();
    return 1;
  }
  CollectionStyle style = Collection_CurrentStyle();
  bool fourPanels = style.mask == 1;
  // the order of play: the file's, or shuffled once for this run
  std::vector<int> order((size_t)course->entryCount);
  std::iota(order.begin(), order.end(), 0);
  if (course->randomize)
    for (int i = (int)order.size() - 1; i > 0; i--) std::swap(order[i], order[Random_Below(i + 1)]);

  g_play.course = CourseRun{};
  g_play.course.active = true;
  g_play.course.index = course->index;
  g_play.course.rules = CourseRules{course->livesSet != 0, course->lives, course->comboMode, course->comboPerfect};
  // The stage counts the songs that were played: the first one begins the
  // course's statistics and lives, and the breaks fall after every n-th.
  int stage = 1, entry = 0, entriesDone = 0, skippedInARow = 0;
  bool goOn = true, played = false, gameEnded = false;
  while (goOn && (course->repeat || entriesDone < course->entryCount)) {
    const CourseEntry& e = course->entries[order[(size_t)entry]];
    int courseIndex = course->repeat ? 0 : course->entryCount;
    int song = -1, difficulty = 0;
    bool playedThis = false;
    if (!chooseSong(e, style.mask, song, difficulty)) {
      WriteLogf("- Entry %d of the course has no song to play; it is skipped\n", order[(size_t)entry] + 1);
    } else {
      for (Player& p : g_players) {
        if (!p.active) continue;
        WriteLog("Setting up modifiers...\n");
        CourseSong_SetModifiers(p, e, fourPanels, course->livesSet != 0, random);
        p.difficulty = difficulty;
        p.level = (uint8_t)g_songs[(size_t)song].levels[style.base + difficulty];
      }
      logSongChoice(e, song);
      for (Player& p : g_players)
        if (p.active) Player_BuildModifierText(p);
      g_play.mode = PLAY_NORMAL;
      g_play.source = PlaySource_OfSong(g_songs[(size_t)song]);
      g_play.bpmOverride = -1;
      WriteLog("DoMainGame()...\n");
      int before = stage;
      if (PlaySong(&stage, 1, courseIndex) != 0) {
        goOn = false;
        gameEnded = true;
      }
      // a song that could not be loaded gave its stage back: the course goes on without it
      playedThis = stage >= before;
      stage = before;
      if (!playedThis) WriteLog("- The course's song could not be played; it is skipped\n");
    }
    if (playedThis) {
      played = true;
      skippedInARow = 0;
      if (goOn && BreakScreen_Due(stage, g_settings.breakAfter, course->repeat != 0)) BreakScreen(breakPicture);
      bool lives = goOn && course->livesSet;
      if (lives)
        for (Player& p : g_players)
          if (p.active) CourseSong_GiveLives(p, e.award, course->lives);
      g_play.course.replayAwards.push_back(lives ? (int16_t)e.award : (int16_t)-1);
      stage++;
    } else if (++skippedInARow >= course->entryCount) {
      // none of the entries has a song: a repeating course would go round for ever
      WriteLog("- No entry of the course can be played; the course ends\n");
      goOn = false;
    }
    entriesDone++;
    entry = (entry + 1) % course->entryCount;
  }
  // the course's evaluation, then the game over of a course that ended in play
  // or the credits of one played to its end
  if (played) {
    g_play.lastReplay = PlayReplay_SaveCourse(g_play, course->name, course->folder, course->fileName, course->repeat);
    CourseEvaluationScreen(g_play);
    if (Evaluation_WatchAsked() && !g_play.lastReplay.empty()) ReplayGame_Watch(g_play.lastReplay, true);
    GameOverScreen(gameEnded, 0);
  }
  g_play.course.active = false;
  breakPicture.Free();
  return 1;
}

void NonstopGame() {
  if (StyleSelect(g_players) <= 0) return;
  if (g_settings.userProfiles && ProfileSelect(1) <= 0) {
    Profiles_EndGame();
    return;
  }
  g_collection.selectedIndex = 0;
  g_play.course = CourseRun{};
  int counts[3];
  DetermineAvailableCourses(counts);
  bool anyDifficulty = false;
  for (const Player& p : g_players) anyDifficulty |= p.active && p.difficulty >= 0;
  if (CourseSelect() > 0 && anyDifficulty)
    DoMainGame(g_settings.folderIndex, g_collection.selectedIndex);
  Profiles_EndGame();
}
