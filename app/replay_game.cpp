#include "app/replay_game.h"
#include "library/courses.h"
#include "library/replay_course.h"
#include "library/replay_file.h"
#include "library/settings.h"
#include "library/song_list.h"
#include "library/profiles.h"
#include "menus/course_evaluation.h"
#include "menus/evaluation_screen.h"
#include "platform/files.h"
#include "platform/log.h"
#include "platform/msgbox.h"
#include "play/play_record.h"
#include "play/course_song.h"
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
  CourseRun course;
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
  k.course = g_play.course;
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
  g_play.course = k.course;
  g_play.replay = nullptr;
}

int refuse(const std::string& path, const std::string& why) {
  WriteLogf("Replay '%s' cannot be played: %s\n", path.c_str(), why.c_str());
  std::string text = "This replay cannot be played: " + why + ".";
  MessageBox_Show(text.c_str(), "Replay");
  return 2;
}

const SongEntry* songOf(const ReplayHeader& h);

// Why a song's replay cannot be played here, or empty when it can.
std::string unplayable(const ReplayHeader& h) {
  std::string chart = std::string("Songs/") + h.group + "/" + h.folder + "/" + h.chartFile;
  std::string onDisk;
  if (!Path_Resolve(chart, onDisk) || File_Size(onDisk) < 0) return "its chart '" + chart + "' is gone";
  if (Replay_ChartMd5(onDisk) != h.chartMd5) return "its chart '" + chart + "' has changed since";
  if (!songOf(h)) return "its song is not in the library";
  return "";
}

const SongEntry* songOf(const ReplayHeader& h) {
  for (const SongEntry& e : g_songs)
    if (strcmp(e.group, h.group) == 0 && strcmp(e.folder, h.folder) == 0 && strcmp(e.chartFile, h.chartFile) == 0)
      return &e;
  return nullptr;
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

bool g_again = false;

// The evaluation of the replay, whatever ended it; nothing of it is stored. Its
// "Watch Replay" plays it once more.
int afterReplay(Play& play, bool) {
  EvaluationScreen(play, play.song.stage);
  g_again = Evaluation_WatchAsked();
  return 0;
}

// A course's song ends the course when the game would have ended there.
int afterCourseSong(Play&, bool gameEnds) { return gameEnds ? 1 : 0; }

// One song of a replay (a stage's, or a course's) set up to be played.
void setUpSong(const Replay& r) {
  const ReplayHeader& h = r.header;
  setUp(h);
  g_play.mode = PLAY_NORMAL;
  g_play.source = PlaySource_OfSong(*songOf(h));
  g_play.rateStep = h.rateStep;
  g_play.bpmOverride = h.bpmOverride;
  g_play.replay = &r;
}

// The songs of a course one after another, its lives given between them as they
// were, then the course's evaluation.
void watchCourse(const CourseReplay& cr, bool evaluation) {
  const CourseReplayHeader& h = cr.header;
  do {
    g_again = false;
    g_play.course = CourseRun{};
    g_play.course.active = true;
    g_play.course.index = -1;
    for (const Course& c : g_courses)
      if (strcmp(c.folder, h.courseFolder) == 0 && strcmp(c.fileName, h.courseFile) == 0) g_play.course.index = c.index;
    g_play.course.rules = CourseRules{h.hasLives, h.lives, h.comboMode, h.comboPerfect};
    g_play.course.length = h.length;
    g_play.rules.afterSong = afterCourseSong;
    bool stopped = false;
    for (size_t i = 0; i < cr.songs.size() && !stopped; i++) {
      setUpSong(cr.songs[i]);
      int stage = cr.songs[i].header.stage;
      int ended = PlaySong(&stage, 1, h.length);
      stopped = g_play.song.stoppedWatching;
      if (!stopped && cr.awards[i] >= 0)
        for (Player& p : g_players)
          if (p.active) CourseSong_GiveLives(p, (uint8_t)cr.awards[i], h.lives);
      if (ended) break;
    }
    if (stopped || !evaluation) break;
    g_play.lastReplay.clear();
    CourseEvaluationScreen(g_play);
    g_again = Evaluation_WatchAsked();
  } while (g_again);
}
}  // namespace

int ReplayGame_Watch(const std::string& path, bool evaluation) {
  std::vector<uint8_t> head;
  File_ReadUpTo(path, sizeof kCourseReplayMagic, head);
  bool isCourse = CourseReplay_Is(head.data(), head.size());
  Replay replay;
  CourseReplay course;
  std::string why;
  if (isCourse ? !CourseReplay_Load(path, course, why) : !Replay_Load(path, replay, why)) return refuse(path, why);
  if (isCourse) {
    for (size_t i = 0; i < course.songs.size() && why.empty(); i++) {
      why = unplayable(course.songs[i].header);
      if (!why.empty()) why = "song " + std::to_string(i + 1) + " of the course: " + why;
    }
  } else {
    why = unplayable(replay.header);
  }
  if (!why.empty()) return refuse(path, why);

  WriteLogf("Watching the replay '%s'\n", path.c_str());
  Kept k;
  keep(k);
  if (isCourse) {
    watchCourse(course, evaluation);
  } else {
    g_play.course = CourseRun{};
    g_play.rules.afterSong = evaluation ? afterReplay : nullptr;
    do {
      g_again = false;
      setUpSong(replay);
      int stage = replay.header.stage;
      PlaySong(&stage, 0, -1);
    } while (g_again && !g_play.song.stoppedWatching);
  }
  giveBack(k);
  return 0;
}
