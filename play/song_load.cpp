// The loading half of a play: everything from the chart to the first frame.
#include "library/settings.h"
#include "media/audio/audio.h"
#include "media/background/background.h"
#include "media/input/input.h"
#include "media/skin/skin_images.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/log.h"
#include "platform/md5.h"
#include "platform/msgbox.h"
#include "play/autoplay.h"
#include "play/begin_play.h"
#include "play/judgement.h"
#include "play/media_worker.h"
#include "play/notice_screen.h"
#include "play/play_input.h"
#include "play/play_keys.h"
#include "play/play_replay.h"
#include "play/player.h"
#include "play/song_play.h"
#include <cmath>
#include <new>
#include <vector>

namespace {
// The music file whole in memory and the stream over it, with the notices of a
// missing, unopenable or changed file. False: the song is not played.
bool openMusic(const PlaySource& src, uint32_t& stream) {
  std::string path;
  if (src.musicFile.empty() || !Path_Resolve(src.musicFile, path) || File_Size(path) < 0) {
    std::string where = src.group + "/" + src.folder;
    WriteLogf("Music file '%s' of '%s' not found\n", src.musicFile.c_str(), where.c_str());
    const char* lines[] = {"No MP3/WAV/OGG file", "Please check the 'FILE' tag in the RKV file",
                           "to ensure the path is correct, or put the file", "in the same directory as the RKV file.",
                           where.c_str()};
    NoticeScreen(lines, 5);
    return false;
  }
  std::vector<uint8_t> music;
  try {
    if (!File_ReadAll(path, music)) music.clear();
  } catch (const std::bad_alloc&) {
    MessageBox_Show("Low on memory", "Warning");
    return false;
  }
  stream = music.empty() ? 0
                         : Audio_StreamCreateFile(true, music.data(), 0, (uint32_t)music.size(),
                                                  AUDIO_STREAM_EXACT_SEEK);
  if (!stream) {
    WriteLogf("Music file '%s' cannot be played\n", src.musicFile.c_str());
    const char* lines[] = {"Problem Opening Music file", "RKV cannot open the WAV/MP3/OGG file",
                           "associated with this song.  Please", "check the file for errors.",
                           src.musicFile.c_str()};
    NoticeScreen(lines, 5);
    return false;
  }
  if (!src.md5.empty()) {
    std::string digest = Md5_Hex(music.data(), music.size());
    if (digest != src.md5) {
      const char* lines[] = {"MD5 checksum mismatch", "The music file associated with this song is",
                             "not the same as the one specified in the RKV file.",
                             "This could mean that the steps will be out of", "sync with the music.",
                             "The MD5 tag for this music file is:", digest.c_str()};
      NoticeScreen(lines, 7);
    }
  }
  return true;
}

// Where play starts: 3.5 s before the first arrow, on wall time until the music
// is due; test play from a start position seeks there and skips the notes before it.
double startPosition(Play& play) {
  SongRun& song = play.song;
  const PlaySource& src = play.source;
  int64_t startChart = Timing_StartTime(g_timing, g_players, 2);
  double startMusic = (double)(startChart + g_timing.gapMs + g_timing.gapAdjust);
  if (startMusic > 0) startMusic = 0;  // the music plays from its start; its intro leads in
  if (play.mode == PLAY_TEST_FROM && src.startAtMs >= 0) {
    startMusic = (double)src.startAtMs;
    uint64_t b = Audio_ChannelSeconds2Bytes(song.stream, (float)(src.startAtMs / 1000.0));
    if (b != AUDIO_BAD_POSITION) Audio_ChannelSetPosition(song.stream, b);
    // notes before the start position are skipped, neither drawn nor judged
    double from = Timing_PositionOfTime(g_timing, (double)(src.startAtMs - g_timing.gapMs - g_timing.gapAdjust));
    for (Player& p : g_players) {
      if (!p.active) continue;
      int32_t i = 0;
      while (i < p.arrowCount && p.arrows[i].startPos < from) i++;
      p.judgeFrom = p.firstVisible = i;
    }
  }
  return startMusic;
}

// The HUD of a new song: its title and artist, autoplay, the stage, and the
// message line of test play.
void startHud(Play& play, double nowMs) {
  HudState& hud = play.song.hud;
  hud = HudState{};
  snprintf(hud.title, sizeof hud.title, "%s", play.source.title.c_str());
  snprintf(hud.artist, sizeof hud.artist, "%s", play.source.artist.c_str());
  hud.autoPlay = g_settings.autoPlay == 0 || play.song.stage == 0;   // the demo always plays itself
  hud.replay = play.replay != nullptr;
  hud.altCombo = play.rules.altCombo;
  if (Play_IsTest(play)) Hud_SetMessage(hud, "RKV v2.50.00 (test mode)", nowMs, 4000);
  else hud.stageLabel = Hud_StageLabel(play.song.stage, Play_LastStage(play));
}

// The song's background script (or random backgrounds), as the settings allow.
void loadBackgrounds(const PlaySource& src, bool test) {
  BackgroundParams bp;
  bp.processScripts = g_settings.bgScripts != 0;
  bp.randomAnimations = g_settings.randomAnimations & 3;
  bp.brightness = g_settings.bgBrightness;
  bp.aviQuality = g_settings.aviQuality;
  bp.svpQuality = g_settings.svpQuality;
  bp.visNumber = g_settings.visNumber;
  bp.visPlugin = g_settings.visPlugin;
  bp.alphaMovies = true;   // the SDL back-end always asks for frames with alpha
  bp.msPerBeat = g_timing.msPerBeat > 0 ? g_timing.msPerBeat : 500;
  bp.endPosition = 0;
  for (const Player& p : g_players)
    if (p.active)
      for (int32_t i = 0; i < p.arrowCount; i++) bp.endPosition = std::max(bp.endPosition, p.arrows[i].startPos);
  std::string folder = (test ? "" : "Songs/") + src.group + "/" + src.folder;
  LoadBackgroundScript(folder.c_str(), src.chartFile.c_str(), bp);
}

// What the loading had done when the song never reaches its loop.
void abandon(Play& play) {
  SongRun& song = play.song;
  if (song.stream) Audio_StreamFree(song.stream);
  song.stream = 0;
  Lyrics_Free(song.lyrics);
  ResetBackgrounds();
  g_background.Free();
  for (Player& p : g_players) Chart_Free(p);
  Timing_FreeLists(g_timing);
}
}  // namespace

bool SongPlay_Load(Play& play, int* stage, bool course) {
  play.song = SongRun{};
  SongRun& song = play.song;
  song.stage = *stage;
  song.course = course;
  const PlaySource& src = play.source;
  bool test = Play_IsTest(play);

  // 1. the charts
  WriteLog("Loading Song...\n");
  for (Player& p : g_players) Chart_Free(p);
  PlayReplay_Begin(play);
  if (!loadChart(src.group.c_str(), src.folder.c_str(), src.chartFile.c_str(), g_players, 2, Play_ChartRules(play))) {
    if (*stage > 0) (*stage)--;   // a song whose chart does not load does not count as a stage either
    return false;
  }
  // the gap the play begins with (the play keys' adjustment may run on from the song before)
  if (play.replay) g_timing.gapAdjust = play.replay->header.gapMs - g_timing.gapMs;
  song.record.header.gapMs = (int32_t)(g_timing.gapMs + g_timing.gapAdjust);
  song.record.header.rateStep = (uint8_t)play.rateStep;
  song.record.header.bpmOverride = play.bpmOverride > 0 ? play.bpmOverride : -1;
  // 2. the background
  WriteLog("Loading Background...\n");
  if (test) {
    std::string bg = src.group + "/" + src.folder + "/" + src.background;
    LoadSongBackgroundPath(src.background.empty() ? "" : bg.c_str(), g_settings.bgBrightness);
  } else {
    LoadSongBackground(src.group.c_str(), src.folder.c_str(), src.background.c_str(), g_settings.bgBrightness);
  }
  loadBackgrounds(src, test);
  // 3. statistics and the life table
  for (int i = 0; i < 2; i++) {
    Player& p = g_players[i];
    if (!p.active) continue;
    BeginPlay(p, *stage, course, course && play.course.active ? &play.course.rules : nullptr);
    SongRun::Figures& f = song.atStart[i];
    for (int k = 0; k < kJudgementKinds; k++) f.counts[k] = p.judgementCounts[k];
    f.ok = p.freezeOk;
    f.ng = p.freezeNg;
    f.dancePoints = p.dancePoints;
  }
  if (g_settings.autoPlay == 0)
    for (Player& p : g_players)
      if (p.active) Autoplay_SetTargets(p, JUDGE_PERFECT);
  Judge_BeginSong(song.judge, g_players, course, test);
  // 4. and 5. the music
  if (!openMusic(src, song.stream)) {
    if (*stage > 0) (*stage)--;
    WriteLog("Freeing music and steps...\n");
    abandon(play);
    return false;
  }
  if (g_settings.displayLyrics)
    Lyrics_Load(song.lyrics, src.group.c_str(), src.folder.c_str(), src.chartFile.c_str(), g_settings.bgBrightness,
                test);
  // 6. a battery course counts the whole song's length
  if (course && play.course.rules.hasLives) {
    uint64_t bytes = Audio_StreamGetLength(song.stream);
    float seconds = bytes ? Audio_ChannelBytes2Seconds(song.stream, bytes) : -1;
    if (seconds > 0) song.songLengthMs = std::floor((double)seconds * 1000.0);
  }
  // 7. the first frames of the movies and plug-ins, then the worker
  g_backgrounds.musicChannel = song.stream;
  PrimeBackgrounds();
  MediaWorker_Start(play.rules.threadPriority, play.rules.boost);
  // 8. the rate
  Audio_ChannelGetAttributes(song.stream, &song.baseRate, nullptr, nullptr);
  if (play.rateStep != 5) {
    PlayKeys_SetRate(play);
    song.speedAltered = true;   // the speed was set on the wheel before the play
  }
  if (play.bpmOverride > 0) song.speedAltered = true;   // kept from a restart

  song.startMusicMs = startPosition(play);
  double wall = Clock_MsPrecise();
  SongClock_Begin(song.clock, song.startMusicMs, play.rateStep, wall);
  Timing_Begin(song.scroll, g_timing);
  if (song.startMusicMs >= 0) {
    if (!Audio_StreamPlay(song.stream, false, 0)) {
      WriteLog("Unable to start the music stream\n");
      MediaWorker_Stop();
      abandon(play);
      return false;
    }
    song.streamStarted = true;
  }
  // 11. the field, the presses and the HUD start afresh
  NoteField_Reset(song.field);
  PlayInput_Reset();
  startHud(play, Clock_MsPrecise());
  Backgrounds_Start(song.scroll.position, song.clock.ms, song.stream, &g_background);

  // 12. the loop
  WriteLog("Starting main game...\n");
  song.startWallMs = song.wallMs = wall;
  MenuInput_Begin();
  return true;
}
