#include "play/song_play.h"
#include "app/driver.h"
#include "app/log.h"
#include "app/options.h"
#include "app/pacer.h"
#include "app/results.h"
#include "chart/timing.h"
#include "library/settings.h"
#include "media/audio/audio.h"
#include "media/draw_helpers.h"
#include "media/input/input.h"
#include "media/input_script.h"
#include "media/render/screen.h"
#include "media/skin/skin_images.h"
#include "media/sound/sound_fx.h"
#include "media/window.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/locks.h"
#include "platform/md5.h"
#include "platform/msgbox.h"
#include "play/autoplay.h"
#include "play/begin_play.h"
#include "play/grades.h"
#include "play/hud.h"
#include "play/judge_frame.h"
#include "play/judgement.h"
#include "play/lyrics.h"
#include "play/media_worker.h"
#include "play/note_field.h"
#include "play/notice_screen.h"
#include "play/play_input.h"
#include "play/player.h"
#include "play/song_clock.h"
#include <SDL.h>
#include <chrono>
#include <cmath>
#include <cstring>
#include <vector>

int g_playMode = 0;
PlaySource g_playSource;
double g_bpmOverride = -1;
PlayFlags g_playFlags;
// The device latency measured at start-up stays out of the song clock: the audio
// layer reports the position the listener hears, with the latency already taken off.

namespace {
// The function keys of the play, in the fixed function-key table.
enum { FK_F1, FK_F2, FK_F3, FK_F4, FK_F5, FK_F6, FK_F7, FK_F8, FK_F9, FK_F10, FK_F11, FK_F12, FK_PAUSE };

struct PlayState {
  uint32_t stream = 0;
  SongClock clock;
  ScrollState scroll;
  bool paused = false, everPaused = false, autoplayUsed = false, speedAltered = false;
  bool streamStarted = false;
  bool musicFailed = false;   // the stream would not start: the play ends with 0
  bool giveUp = false;
  int restart = 0;
  double playStartWall = 0;
  double lastTickPos[2] = {-1e9, -1e9};
  bool escapeLatch = true;
};

// How far ahead of the song clock a music-timed scripted event is placed in
// program time: a little more than a frame, so that it still falls between two
// readings of the devices, and short enough that a sound device running a little
// fast or slow against the wall clock (the dummy driver runs some 4 % fast) moves
// it by well under a millisecond.
constexpr double kScriptAheadMs = 20;

bool testPlay() { return g_playMode == 1 || g_playMode == 3; }

void message(const char* text, int ms) { Hud_SetMessage(text, Clock_MsPrecise(), ms); }

double streamMs(uint32_t stream) {
  uint64_t pos = Audio_ChannelGetPosition(stream);
  if (pos == AUDIO_BAD_POSITION) return -1;
  float s = Audio_ChannelBytes2Seconds(stream, pos);
  return s < 0 ? -1 : std::floor((double)s * 1000.0);
}

void setRate(PlayState& ps, uint32_t baseRate) {
  if (!ps.stream) return;
  Audio_ChannelSetAttributes(ps.stream, (int)(baseRate * (g_rateStep + 5) / 10), -1, -101);
  ps.clock.rateStep = g_rateStep;
}

// The play keys; returns false when the loop should end (a restart).
bool playKeys(PlayState& ps, uint32_t baseRate, double listenMs) {
  InputBinding* fk = g_functionKeys;
  char text[64];
  if (testPlay()) {
    if (Input_Pressed(fk[FK_F1])) {
      message("Restarting...", 2000);
      ps.restart = 2;
      return false;
    }
    if (Input_Pressed(fk[FK_F2])) {
      message("Restarting...", 2000);
      ps.restart = 3;
      return false;
    }
  }
  if (Input_Pressed(fk[FK_F3]) && g_rateStep > 1) {
    g_rateStep--;
    setRate(ps, baseRate);
    ps.speedAltered = true;
    snprintf(text, sizeof text, "Speed = %d/5", g_rateStep);
    message(text, 2000);
  }
  if (Input_Pressed(fk[FK_F4]) && g_rateStep < 9) {
    g_rateStep++;
    setRate(ps, baseRate);
    ps.speedAltered = true;
    snprintf(text, sizeof text, "Speed = %d/5", g_rateStep);
    message(text, 2000);
  }
  uint32_t t = (uint32_t)listenMs;
  const struct { int key; double step; } bpmKeys[4] = {{FK_F5, -0.5}, {FK_F6, 0.5}, {FK_F7, -0.02}, {FK_F8, 0.02}};
  for (const auto& k : bpmKeys) {
    if (!Input_Repeat(fk[k.key], t)) continue;
    if (g_bpmOverride <= 0) g_bpmOverride = g_timing.bpm;
    g_bpmOverride += k.step;
    if (g_bpmOverride < 0.02) g_bpmOverride = 0.02;
    snprintf(text, sizeof text, "BPM = %.2f", g_bpmOverride);
    message(text, 4000);
  }
  for (int k : {FK_F9, FK_F10}) {
    if (!Input_Repeat(fk[k], t)) continue;
    int d = k == FK_F9 ? -5 : 5;
    g_timing.gapAdjust += d;
    if (ps.stream) {
      uint64_t pos = Audio_ChannelGetPosition(ps.stream);
      uint64_t step = Audio_ChannelSeconds2Bytes(ps.stream, 0.05f);
      if (pos != AUDIO_BAD_POSITION && step != AUDIO_BAD_POSITION)
        Audio_ChannelSetPosition(ps.stream, d < 0 ? (pos > step ? pos - step : 0) : pos + step);
    }
    snprintf(text, sizeof text, "GAP = %d", (int)(g_timing.gapMs + g_timing.gapAdjust));
    message(text, 4000);
  }
  if (Input_Pressed(fk[FK_PAUSE])) {
    ps.paused = !ps.paused;
    ps.everPaused = true;
    g_hud.paused = ps.paused;
    if (ps.paused) Audio_Pause();
    else Audio_Start();
  }
  if (Input_Pressed(fk[FK_F12])) {
    g_settings.assistTick = !g_settings.assistTick;
    message(g_settings.assistTick ? "Assist Ticks ON" : "Assist Ticks OFF", 2000);
  }
  return true;
}

void handleEvents(const JudgeEvents& ev, double nowMs) {
  for (int i = 0; i < ev.count; i++) {
    const JudgeEvent& e = ev.list[i];
    Player& p = g_players[e.player];
    switch (e.kind) {
      case JEV_ROW:
        if (e.judgement <= JUDGE_GREAT && e.note >= 0 && e.note < p.arrowCount) {
          // every note of a PERFECT or GREAT row bursts on its receptor; a GOOD one scrolls on
          int n = e.note;
          int guard = 0;
          do {
            NoteField_Burst(e.player, p.arrows[n].column, e.judgement, nowMs);
            n = p.arrows[n].chordNext;
          } while (n >= 0 && n != e.note && n < p.arrowCount && ++guard < 16);
        }
        break;
      case JEV_FREEZE_OK:
        NoteField_FreezeMark(e.player, e.value, true, nowMs);
        NoteField_Burst(e.player, e.value, 3, nowMs);
        break;
      case JEV_FREEZE_NG: NoteField_FreezeMark(e.player, e.value, false, nowMs); break;
      case JEV_COMBO_MILESTONE: {
        static const SoundId combos[11] = {SND_COMBO_100, SND_COMBO_100, SND_COMBO_200, SND_COMBO_300,
                                           SND_COMBO_400, SND_COMBO_500, SND_COMBO_600, SND_COMBO_700,
                                           SND_COMBO_800, SND_COMBO_900, SND_COMBO_1000};
        int v = e.value < 1 ? 1 : e.value > 10 ? 10 : e.value;
        if (g_settings.announcer && g_sounds[combos[v]]) QueueSample(g_sounds[combos[v]]);
        g_hud.comboMilestone[e.player] = v;
        g_hud.milestoneAtMs[e.player] = nowMs;
        break;
      }
      case JEV_COMBO_BROKEN:
        if (e.value >= 50 && g_settings.announcer && g_sounds[SND_COMBO_END]) QueueSample(g_sounds[SND_COMBO_END]);
        break;
      case JEV_LIFE_LOST:
        if (g_sounds[SND_LOSELIFE]) QueueSample(g_sounds[SND_LOSELIFE]);
        break;
      case JEV_CUE_FULL_GAUGE:
        if (g_settings.announcer) PlayVoice(VOICE_GREAT, true);
        break;
      case JEV_CUE_DANGER:
        if (g_settings.announcer) PlayVoice(VOICE_DANGER, true);
        break;
      default: break;
    }
  }
}

// The assist tick: once as each note comes within 20 ms of the receptor.
void assistTicks(PlayState& ps, const JudgeClock& jc) {
  if (!g_settings.assistTick || !g_sounds[SND_CLAP]) return;
  for (int pi = 0; pi < 2; pi++) {
    Player& p = g_players[pi];
    if (!p.active) continue;
    for (int i = p.firstVisible; i < p.arrowCount; i++) {
      const Arrow& a = p.arrows[i];
      if (a.kind != ARROW_TAP) continue;
      double d = Judge_Delta(jc, a.startPos, jc.songMs);
      if (d > 20) break;
      if (a.startPos > ps.lastTickPos[pi] + 0.01 && d >= -20) {
        ps.lastTickPos[pi] = a.startPos;
        QueueSample(g_sounds[SND_CLAP]);
        break;
      }
    }
  }
}

bool anyAlive() {
  for (const Player& p : g_players)
    if (p.active && p.lifeState != LIFE_DEAD) return true;
  return false;
}

// The steps judged from a press (their rows PERFECT to BOO), with the mean and
// largest distance of press from note.
void pressOffsets(const Player& p, PlayResult& r) {
  double sum = 0, sumAbs = 0, worst = 0;
  int n = 0;
  for (int32_t i = 0; i < p.arrowCount; i++) {
    const Arrow& a = p.arrows[i];
    if (a.kind != ARROW_TAP || a.status != NOTE_JUDGED || a.judgement[kOwnJudgement] >= JUDGE_MISS) continue;
    double late = -(double)a.judgement[kPressOffset];
    sum += late;
    sumAbs += std::fabs(late);
    worst = std::max(worst, std::fabs(late));
    n++;
  }
  r.presses = n;
  r.offsetMeanMs = n ? sum / n : 0;
  r.offsetMeanAbsMs = n ? sumAbs / n : 0;
  r.offsetMaxMs = worst;
}

void writeResults(const PlayState& ps, double startMusicMs, double endWall) {
  if (g_options.resultsPath.empty()) return;
  static const char* const kDifficulties[4] = {"BASIC", "ANOTHER", "MANIAC", "SMANIAC"};
  for (const Player& p : g_players) {
    if (!p.active) continue;
    PlayResult r;
    r.player = p.number;
    r.chart = g_playSource.displayPath;
    r.style = p.styleName;
    r.difficulty = p.difficulty >= 0 && p.difficulty < 4 ? kDifficulties[p.difficulty] : "";
    r.level = p.level;
    std::string s = p.scoreText;
    size_t first = s.find_first_not_of(' ');
    r.score = first == std::string::npos ? "0" : s.substr(first);
    r.perfect = p.judgementCounts[JUDGE_PERFECT];
    r.great = p.judgementCounts[JUDGE_GREAT];
    r.good = p.judgementCounts[JUDGE_GOOD];
    r.boo = p.judgementCounts[JUDGE_BOO];
    r.miss = p.judgementCounts[JUDGE_MISS];
    r.ok = p.freezeOk;
    r.ng = p.freezeNg;
    r.maxCombo = p.maxCombo;
    r.dancePoints = p.dancePoints;
    r.maxDancePoints = p.maxDancePoints;
    r.percent = Grade_Percent(p.dancePoints, p.maxDancePoints);
    r.grade = Grade_Name(Grade_Of(r.percent));
    r.life = p.life <= 0 ? 0.0 : p.life / 1700.0;
    r.dead = p.lifeState == LIFE_DEAD;
    r.rateStep = ps.clock.rateStep;
    r.musicMs = ps.clock.ms - startMusicMs;
    r.wallMs = endWall - ps.playStartWall;
    pressOffsets(p, r);
    Results_Append(g_options.resultsPath, r);
  }
}

// The music file whole in memory and the stream over it, with the notices of a
// missing, unopenable or changed file. False: the song is not played.
bool openMusic(PlayState& ps) {
  const PlaySource& src = g_playSource;
  std::string path;
  if (src.musicFile.empty() || !Path_Resolve(src.musicFile, path) || File_Size(path) < 0) {
    std::string where = src.group + "/" + src.folder;
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
  ps.stream = music.empty() ? 0
                            : Audio_StreamCreateFile(true, music.data(), 0, (uint32_t)music.size(),
                                                     AUDIO_STREAM_EXACT_SEEK);
  if (!ps.stream) {
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

// Lyrics sit low on the field, clear of the receptors; with REVERSE, whose
// receptors are low, they move up as far.
int lyricsY() {
  for (const Player& p : g_players)
    if (p.active && p.options.reverse) return 100;
  return 380;
}

void drawFrame(PlayState& ps, double nowMs) {
  Screen_Clear(0, 0, 0);
  if (g_background.loaded) {
    g_background.SetPosition(0, 0);
    g_background.Draw();
  }
  for (int pi = 0; pi < 2; pi++) {
    Player& p = g_players[pi];
    if (!p.active) continue;
    if (g_settings.dangerDisplay && p.life < 500 && p.lifeState != LIFE_DEAD && g_skin.danger.loaded) {
      g_skin.danger.SetSize(p.fieldRightX - p.fieldX + 20, 480, 0);
      g_skin.danger.SetSurfaceAlpha(70 + (int)(50 * std::fabs(std::sin(nowMs / 250.0))));
      g_skin.danger.SetPosition(p.fieldX - 10, 0);
      g_skin.danger.Draw();
    }
    NoteField_Draw(p, pi, ps.scroll, nowMs);
  }
  Hud_Draw(g_players, ps.clock.ms, nowMs);
  if (g_settings.displayLyrics && ps.clock.ms > 0) Lyrics_Draw((int32_t)ps.clock.ms, lyricsY());
}
}

int PlaySong(int* stage, int courseFlag, int courseIndex) {
  (void)courseIndex;
  PlayState ps;
  const PlaySource& src = g_playSource;
  // a play that ends before its loop frees what it has loaded so far
  auto abandon = [&ps]() {
    if (ps.stream) Audio_StreamFree(ps.stream);
    Lyrics_Free();
    g_background.Free();
    for (Player& p : g_players) Chart_Free(p);
    Timing_FreeLists(g_timing);
    return 0;
  };

  // 1. the charts
  WriteLog("Loading Song...\n");
  for (Player& p : g_players) Chart_Free(p);
  if (!loadChart(src.group.c_str(), src.folder.c_str(), src.chartFile.c_str(), g_players, 2)) return 0;
  // 2. the background
  WriteLog("Loading Background...\n");
  if (testPlay()) {
    std::string bg = src.group + "/" + src.folder + "/" + src.background;
    LoadSongBackgroundPath(src.background.empty() ? "" : bg.c_str());
  } else {
    LoadSongBackground(src.group.c_str(), src.folder.c_str(), src.background.c_str());
  }
  // 3. statistics and the life table
  for (Player& p : g_players)
    if (p.active) BeginPlay(p, *stage, courseFlag != 0);
  if (g_settings.autoPlay == 0)
    for (Player& p : g_players)
      if (p.active) Autoplay_SetTargets(p, JUDGE_PERFECT);
  Judge_BeginSong(g_judgePlay, g_players, courseFlag != 0, testPlay());
  // 4. and 5. the music
  if (!openMusic(ps)) {
    if (*stage > 0) (*stage)--;
    WriteLog("Freeing music and steps...\n");
    return abandon();
  }
  if (g_settings.displayLyrics) Lyrics_Load(src.group.c_str(), src.folder.c_str(), src.chartFile.c_str(), g_settings.bgBrightness, testPlay());
  // 7. the worker
  MediaWorker_Start(g_options.threadPriority, g_options.boost);
  // 8. the rate
  uint32_t baseRate = 44100;
  Audio_ChannelGetAttributes(ps.stream, &baseRate, nullptr, nullptr);
  if (g_rateStep != 5) setRate(ps, baseRate);

  // Where play starts: 3.5 s before the first arrow, on wall time until the music is due.
  int64_t startChart = Timing_StartTime(g_timing, g_players, 2);
  double startMusic = (double)(startChart + g_timing.gapMs + g_timing.gapAdjust);
  if (startMusic > 0) startMusic = 0;  // the music plays from its start; its intro leads in
  if (g_playMode == 3 && src.startAtMs >= 0) {
    startMusic = (double)src.startAtMs;
    uint64_t b = Audio_ChannelSeconds2Bytes(ps.stream, (float)(src.startAtMs / 1000.0));
    if (b != AUDIO_BAD_POSITION) Audio_ChannelSetPosition(ps.stream, b);
    // notes before the start position are skipped, neither drawn nor judged
    double from = Timing_PositionOfTime(g_timing, (double)(src.startAtMs - g_timing.gapMs - g_timing.gapAdjust));
    for (Player& p : g_players) {
      if (!p.active) continue;
      int32_t i = 0;
      while (i < p.arrowCount && p.arrows[i].startPos < from) i++;
      p.judgeFrom = p.firstVisible = i;
    }
  }
  double wall = Clock_MsPrecise();
  SongClock_Begin(ps.clock, startMusic, g_rateStep, wall);
  Timing_Begin(ps.scroll, g_timing);
  if (startMusic >= 0) {
    if (!Audio_StreamPlay(ps.stream, false, 0)) {
      WriteLog("Unable to start the music stream\n");
      MediaWorker_Stop();
      return abandon();
    }
    ps.streamStarted = true;
  }
  // 11. the message line of test play
  NoteField_Reset();
  PlayInput_Reset();
  g_hud = HudState{};
  snprintf(g_hud.title, sizeof g_hud.title, "%s", g_playSource.title.c_str());
  snprintf(g_hud.artist, sizeof g_hud.artist, "%s", g_playSource.artist.c_str());
  g_hud.autoPlay = g_settings.autoPlay == 0;
  g_hud.altCombo = g_options.altCombo;
  if (testPlay()) message("RKV v2.50.00 (test mode)", 4000);
  else if (*stage > 0) g_hud.stageLabel = *stage <= 6 ? *stage - 1 : 6;

  // 12. the loop
  WriteLog("Starting main game...\n");
  ps.playStartWall = wall;
  double listenStart = wall;
  MenuInput_Begin();
  for (;;) {
    wall = Clock_MsPrecise();
    Keyboard_Poll();
    if (!ps.streamStarted && !ps.paused && ps.clock.ms >= 0) {
      if (!Audio_StreamPlay(ps.stream, false, 0)) {
        WriteLog("Unable to start the music stream\n");
        ps.musicFailed = true;
        break;
      }
      ps.streamStarted = true;
    }
    // a stream waiting for decoded data still plays: it holds the clock, it does not end the song
    uint32_t state = ps.streamStarted ? Audio_ChannelIsActive(ps.stream) : AUDIO_ACTIVE_STOPPED;
    bool active = state == AUDIO_ACTIVE_PLAYING || state == AUDIO_ACTIVE_STALLED;
    bool ended = ps.streamStarted && state == AUDIO_ACTIVE_STOPPED;
    if (!ps.paused) {
      SongClock_Update(ps.clock, wall, active ? streamMs(ps.stream) : -1, active);
      // presses a script times on the music are placed from the clock as it is now
      InputScript_ResolveMusic(ps.clock.ms, wall, Rate_Factor(ps.clock.rateStep), kScriptAheadMs);
    } else {
      ps.clock.lastWallMs = wall;
    }

    // the play keys and the give-up input
    if (!playKeys(ps, baseRate, wall - listenStart)) break;
    bool esc = Keyboard_IsDown(1) || Window_CloseRequested();
    if (esc && !ps.escapeLatch) {
      ps.giveUp = true;
      break;
    }
    ps.escapeLatch = esc;

    double chartMs = ps.clock.ms - (double)(g_timing.gapMs + g_timing.gapAdjust);
    Timing_Advance(ps.scroll, g_timing, chartMs, g_players, 2);
    // the BPM override replaces the chart's tempo from where the song is (after
    // each of the chart's own changes too; a running stop defers it)
    if (g_bpmOverride > 0 && g_timing.bpm != g_bpmOverride)
      Timing_SetTempo(ps.scroll, g_timing, g_bpmOverride, g_players, 2);
    JudgeClock jc = JudgeClock_Make(ps.scroll, chartMs, (int64_t)std::floor(ps.clock.ms), g_timing.msPerBeat);

    // presses with their own times, then autoplay, then the judgement
    PlayerInput input[2];
    for (int pi = 0; pi < 2; pi++) {
      PlayerInput_Clear(input[pi]);
      Player& p = g_players[pi];
      if (!p.active || ps.paused) continue;
      PanelState panels;
      PlayInput_Read(pi, p.panels, wall, panels);
      p.stepCount += panels.pressCount;
      for (int k = 0; k < panels.pressCount; k++) {
        double at = SongClock_At(ps.clock, panels.presses[k].atMs);
        PlayerInput_Add(input[pi], panels.presses[k].column, (int64_t)std::floor(at));
        NoteField_Press(pi, panels.presses[k].column, wall);
      }
      for (int c = 0; c < kColumnSlots; c++)
        if (panels.held[c]) input[pi].held |= (uint16_t)(1u << c);
      if (g_settings.autoPlay == 0 || (*stage == 0 && !testPlay())) {
        int before = input[pi].count;
        Autoplay_Frame(p, jc, input[pi]);
        for (int k = before; k < input[pi].count; k++) NoteField_Press(pi, input[pi].presses[k].column, wall);
        ps.autoplayUsed = true;
      }
    }
    // the attract demo plays a minute
    if (*stage == 0 && !testPlay() && wall - ps.playStartWall > 60000) break;
    if (!ps.paused) {
      Judge_Frame(g_judgePlay, jc, input);
      handleEvents(g_judgePlay.events, wall);
      assistTicks(ps, jc);
    }

    // the end: the music is over, or everyone failed with game over on
    if (ended && !ps.paused) break;
    if (g_settings.gameOver && !testPlay() && !anyAlive()) break;

    drawFrame(ps, wall);
    WaitFrame();
    if (g_drawLock.try_lock_for(std::chrono::milliseconds(kLockWaitMs))) {
      Screen_Present();
      g_drawLock.unlock();
    } else {
      Pacer_SignalFrame();
    }
    if (!g_pacer.limiterOn) SDL_Delay(1);
  }

  // tear-down
  WriteLog("Finished main game loop...\n");
  WriteLog("Unloading danger tile...\n");
  WriteLog("Unloading fade layer...\n");
  MediaWorker_Stop();
  WriteLog("Freeing effects...\n");
  WriteLog("Unloading backgrounds...\n");
  g_background.Free();
  WriteLog("Freeing BPM changes and Freezes...\n");
  Timing_FreeLists(g_timing);
  if (ps.paused) Audio_Start();
  Lyrics_Free();
  writeResults(ps, startMusic, wall);
  g_playFlags = PlayFlags{ps.everPaused, ps.autoplayUsed, ps.speedAltered};
  int result = 0;
  if (ps.musicFailed) {
    result = 0;
  } else if (!testPlay()) {
    WriteLog("Preparing stats for evaluation...\n");
    bool dead = !anyAlive();
    WriteLog("Perform evaulation...?\n");
    WriteLogf("dead=%d,gameover=%d,giveup=%d\n", dead ? 1 : 0, g_settings.gameOver, ps.giveUp ? 1 : 0);
    result = ps.giveUp || (dead && g_settings.gameOver) ? 1 : 0;
  } else {
    result = ps.restart;
  }
  WriteLog("Stopping channel...\n");
  Audio_ChannelStop(ps.stream);
  Audio_StreamFree(ps.stream);
  WriteLog("Freeing music and steps...\n");
  for (Player& p : g_players) Chart_Free(p);
  WriteLog("Ending Main Game function...\n");
  return result;
}
