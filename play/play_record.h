#pragma once
// One play of a song, in one record. The first part is set before a play and
// kept from one play to the next: the mode, the song, the rate step and BPM
// override of the play keys, the rules the game was started with, and the flags
// the evaluation shows. The second part is the song from loading to tear-down:
// the music stream, the song clock and scroll, the judgement, the HUD, the note
// field and the lyrics. The song play owns the record; the screens above set
// the first part and read the flags.
#include "chart/chart.h"
#include "chart/player_record.h"
#include "chart/timing.h"
#include "library/replay_file.h"
#include "play/begin_play.h"
#include "play/hud.h"
#include "play/judge.h"
#include "play/lyrics.h"
#include "play/note_field.h"
#include "play/song_clock.h"
#include <cstdint>
#include <string>
#include <vector>

struct Play;

enum PlayMode {
  PLAY_NORMAL = 0,      // a stage of a game, or the attract demo
  PLAY_TEST = 1,        // test play from the start
  PLAY_RESTART = 2,     // a restart was asked for
  PLAY_TEST_FROM = 3,   // test play from the start position
};

struct PlaySource {
  // The song folder on disk and the names in it. Test play gives the chart's own
  // folder; the library gives "Songs/<group>/<song>".
  std::string group, folder, chartFile, background, musicFile, md5, displayPath;
  std::string title, artist;   // as shown (the display texts where the chart has them)
  int64_t startAtMs = -1;      // test play from a start position (music time)
};

// What the last play did that the evaluation shows.
struct PlayFlags {
  bool paused = false;        // "Song Paused"
  bool autoplay = false;      // "Autoplay Enabled"
  bool speedAltered = false;  // "Speed Altered"
  bool replay = false;        // a replay was watched: nothing of it is stored
};

// What the game was started with that every play follows.
struct PlayRules {
  std::string resultsPath;    // "/results:": a JSON line per player after every play
  int threadPriority = 0;     // the media worker's: 0 normal, 1 above normal, 2 highest
  bool boost = true;          // the worker's priority boost during play
  bool altCombo = false;      // "/altcombo": battery lives in combo digits
  // What follows a song outside test play, installed by the game above: called in
  // the tear-down once the statistics are ready and before the music is stopped,
  // with whether the play ended the game (given up, or everyone failed with game
  // over on). It shows the evaluation, or the game-over screen, and returns what
  // PlaySong returns: 0 to go on, non-zero when the game has ended. Without it the
  // play returns whether the game ended.
  int (*afterSong)(Play& play, bool gameEnds) = nullptr;
};

constexpr double kLifeTraceMs = 100;   // music time between two samples of the life trace

// One song from loading to tear-down.
struct SongRun {
  int stage = 1;                // 0: the attract demo
  bool course = false;          // a song of a nonstop course
  uint32_t stream = 0;          // the music
  uint32_t baseRate = 44100;    // the stream's own sample rate
  SongClock clock;
  ScrollState scroll{};
  JudgePlay judge{};
  HudState hud;
  NoteFieldState field{};
  Lyrics lyrics;
  double startMusicMs = 0;      // music time where the play began
  double startWallMs = 0;       // program time of that moment
  double songLengthMs = -1;     // a battery course reads the whole song's length from the stream
  double wallMs = 0;            // program time of the current frame
  bool streamStarted = false;
  bool paused = false, everPaused = false, autoplayUsed = false, speedAltered = false;
  bool musicFailed = false;     // the stream would not start: the play ends with 0
  bool giveUp = false;
  int restart = 0;              // test play: the mode to start again in
  double lastTickPos[2] = {-1e9, -1e9};   // the assist tick's last note per player
  bool escapeLatch = true;      // escape must be let go before it gives up
  // Each player's life gauge (-100..1700) over the song, a sample every
  // kLifeTraceMs of music time from the first frame, for the evaluation's graph.
  std::vector<int16_t> lifeTrace[2];
  double lastTraceMs = -1e18;
  // The replay being made: every frame the judgement saw (outside test play and
  // the attract demo), and the generator's seed the chart was loaded with.
  Replay record;
  bool recording = false;
  uint32_t seed = 0;
  size_t replayNext = 0;        // watching a replay: its next frame
  bool stoppedWatching = false; // watching a replay: Escape ended it early
  // Each player's figures as the song began: in a course they run on from the
  // songs before, and the song's own are what it added to them.
  struct Figures {
    int32_t counts[kJudgementKinds] = {};
    int32_t ok = 0, ng = 0, dancePoints = 0;
  } atStart[2];
};

// A nonstop course in progress: set by the course's game before its songs, the
// totals kept by the play as each song ends, for the course's evaluation.
struct CourseRun {
  bool active = false;          // the songs are a course's
  CourseRules rules{};          // its lives and combo rules
  int index = -1;               // the course, in the course table
  int length = 0;               // its songs when it does not repeat, 0 when it does
  int songs = 0;                // songs played to their end
  double musicMs = 0;           // the music time of the course so far
  int32_t maxDancePoints[2] = {0, 0};   // per player, the sum of the charts' maximum
  bool livesLost = false;       // a player of a battery course ran out of lives
  int32_t steps[2] = {0, 0};    // per player, the notes stepped on (judged from a press)
  int32_t perfects[2] = {0, 0}; // of them PERFECT
  PlayFlags flags;              // what any song of the course did (autoplay, another speed, a pause)
  // the course's replay as it is made: each song's, and the lives its entry gave after it
  std::vector<Replay> replaySongs;
  std::vector<int16_t> replayAwards;   // -1: no lives given after the song
  bool replayLost = false;      // a song could not be kept: the course leaves no replay
};

struct Play {
  int mode = PLAY_NORMAL;
  PlaySource source;
  int rateStep = 5;             // music rate step 1..9, 5 normal speed
  // The BPM override of the play keys: -1 off; while positive the song runs at
  // this tempo instead of the chart's. A restart keeps it.
  double bpmOverride = -1;
  PlayRules rules;
  // Watching a replay: the judgement takes its frames instead of the players'
  // presses, nothing is recorded and nothing stored. Set by the game above for
  // one play.
  const Replay* replay = nullptr;
  PlayFlags flags;              // of the last play
  std::string lastReplay;       // the replay the last play wrote, empty for none
  CourseRun course;
  SongRun song;
};

extern Play g_play;

struct SongEntry;
// The source of a song of the library ("Songs/<group>/<song>/"): the names of its
// entry, and the display texts where the chart has them.
PlaySource PlaySource_OfSong(const SongEntry& e);

// Test play, from the start or from the start position.
bool Play_IsTest(const Play& play);
// Whether everyone failing ends the game: with the "Game Over" setting on, and
// always in a course with battery lives, whose lives running out end it.
bool Play_EndsWhenAllFail(const Play& play);
// The stage the game ends on, for the HUD's stage label: "Max Stage" in an arcade
// game; a course's last song when it does not repeat; 6 (no final stage) in a
// repeating course.
int Play_LastStage(const Play& play);
// The chart loader's rules for this play: the settings' global gap and combo
// type, and in test play the chart's folder as given.
ChartRules Play_ChartRules(const Play& play);
