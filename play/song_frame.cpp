// One frame of a play: the clock, the play keys, the presses, the judgement,
// the drawing.
#include "library/settings.h"
#include "media/audio/audio.h"
#include "media/background/background.h"
#include "media/input/input.h"
#include "media/input_script.h"
#include "media/render/screen.h"
#include "media/skin/skin_images.h"
#include "media/window.h"
#include "platform/clock.h"
#include "platform/locks.h"
#include "platform/log.h"
#include "platform/pacer.h"
#include "platform/frame_watch.h"
#include "play/autoplay.h"
#include "play/judge_frame.h"
#include "play/play_events.h"
#include "play/play_input.h"
#include "play/play_keys.h"
#include "play/play_replay.h"
#include "play/press_device.h"
#include "play/player.h"
#include "play/song_play.h"
#include <SDL.h>
#include <algorithm>
#include <chrono>
#include <cmath>

namespace {
// How far ahead of the song clock a music-timed scripted event is placed in
// program time: a little more than a frame, so that it still falls between two
// readings of the devices, and short enough that a sound device running a little
// fast or slow against the wall clock (the dummy driver runs some 4 % fast) moves
// it by well under a millisecond.
constexpr double kScriptAheadMs = 20;

double streamMs(uint32_t stream) {
  uint64_t pos = Audio_ChannelGetPosition(stream);
  if (pos == AUDIO_BAD_POSITION) return -1;
  float s = Audio_ChannelBytes2Seconds(stream, pos);
  return s < 0 ? -1 : std::floor((double)s * 1000.0);
}

// Starts the music when the clock reaches it and moves the clock on. False when
// the music would not start; `ended` tells whether the stream has stopped. A
// stream waiting for decoded data still plays: it holds the clock, it does not
// end the song.
bool advanceClock(SongRun& song, bool& ended) {
  if (!song.streamStarted && !song.paused && song.clock.ms >= 0) {
    if (!Audio_StreamPlay(song.stream, false, 0)) {
      WriteLog("Unable to start the music stream\n");
      song.musicFailed = true;
      return false;
    }
    song.streamStarted = true;
  }
  uint32_t state = song.streamStarted ? Audio_ChannelIsActive(song.stream) : AUDIO_ACTIVE_STOPPED;
  bool active = state == AUDIO_ACTIVE_PLAYING || state == AUDIO_ACTIVE_STALLED;
  ended = song.streamStarted && state == AUDIO_ACTIVE_STOPPED;
  if (!song.paused) {
    SongClock_Update(song.clock, song.wallMs, active ? streamMs(song.stream) : -1, active);
    // presses a script times on the music are placed from the clock as it is now
    InputScript_ResolveMusic(song.clock.ms, song.wallMs, Rate_Factor(song.clock.rateStep), kScriptAheadMs);
  } else {
    song.clock.lastWallMs = song.wallMs;
  }
  return true;
}

// The scroll follows the chart's time; the BPM override replaces the chart's
// tempo from where the song is (after each of the chart's own changes too; a
// running stop defers it).
JudgeClock advanceScroll(Play& play, double clockMs) {
  SongRun& song = play.song;
  double chartMs = clockMs - (double)(g_timing.gapMs + g_timing.gapAdjust);
  Timing_Advance(song.scroll, g_timing, chartMs, g_players, 2);
  if (play.bpmOverride > 0 && g_timing.bpm != play.bpmOverride)
    Timing_SetTempo(song.scroll, g_timing, play.bpmOverride, g_players, 2);
  return JudgeClock_Make(song.scroll, chartMs, (int64_t)std::floor(clockMs), g_timing.msPerBeat);
}

// Presses with their own times, then autoplay's (always in the attract demo).
void readPresses(Play& play, const JudgeClock& jc, PlayerInput input[2]) {
  SongRun& song = play.song;
  bool autoplay = g_settings.autoPlay == 0 || (song.stage == 0 && !Play_IsTest(play));
  for (int pi = 0; pi < 2; pi++) {
    PlayerInput_Clear(input[pi]);
    Player& p = g_players[pi];
    if (!p.active || song.paused) continue;
    PanelState panels;
    PlayInput_Read(pi, p.panels, song.wallMs, panels);
    p.stepCount += panels.pressCount;
    for (int k = 0; k < panels.pressCount; k++) {
      // a controller whose presses arrive late has them judged that much earlier
      int device = PressDevice_OfColumn(pi, p.panels, panels.presses[k].column);
      double atMs = panels.presses[k].atMs - PressDevice_InputOffsetMs(device);
      double at = SongClock_At(song.clock, atMs);
      PlayerInput_Add(input[pi], panels.presses[k].column, (int64_t)std::floor(at));
      NoteField_Press(song.field, pi, panels.presses[k].column, song.wallMs);
      song.field.visualDevice[pi] = device;
      song.field.visualDeviceSeen[pi] = true;
    }
    int shown = song.field.visualDeviceSeen[pi] ? song.field.visualDevice[pi] : PressDevice_OfPlayer(pi);
    song.field.visualOffsetMs[pi] = PressDevice_VisualOffsetMs(shown);
    for (int c = 0; c < kColumnSlots; c++)
      if (panels.held[c]) input[pi].held |= (uint16_t)(1u << c);
    if (autoplay) {
      int before = input[pi].count;
      Autoplay_Frame(p, jc, input[pi]);
      for (int k = before; k < input[pi].count; k++)
        NoteField_Press(song.field, pi, input[pi].presses[k].column, song.wallMs);
      song.autoplayUsed = true;
    }
  }
}

// Lyrics sit low on the field, clear of the receptors; with REVERSE, whose
// receptors are low, they move up as far.
int lyricsY() {
  for (const Player& p : g_players)
    if (p.active && p.options.reverse) return 100;
  return 380;
}

void traceLife(SongRun& song, double clockMs) {
  if (clockMs - song.lastTraceMs < kLifeTraceMs) return;
  song.lastTraceMs = clockMs;
  for (int pi = 0; pi < 2; pi++)
    if (g_players[pi].active) song.lifeTrace[pi].push_back((int16_t)std::clamp(g_players[pi].life, -100, 1700));
}

// The attract demo ends on Start of either player, as on Escape.
bool demoStart() {
  bool pressed = false;
  for (int player = 0; player < 2; player++) pressed |= Input_Pressed(Binding(player, CTL_START));
  return pressed;
}

void draw(SongRun& song) {
  double nowMs = song.wallMs;
  Screen_Clear(0, 0, 0);
  Backgrounds_Draw();
  for (int pi = 0; pi < 2; pi++) {
    Player& p = g_players[pi];
    if (!p.active) continue;
    if (g_settings.dangerDisplay && p.life < 500 && p.lifeState != LIFE_DEAD && g_skin.danger.loaded) {
      g_skin.danger.SetSize(p.fieldRightX - p.fieldX + 20, 480, 0);
      g_skin.danger.SetSurfaceAlpha(70 + (int)(50 * std::fabs(std::sin(nowMs / 250.0))));
      g_skin.danger.SetPosition(p.fieldX - 10, 0);
      g_skin.danger.Draw();
    }
    NoteField_Draw(song.field, p, pi, song.scroll, nowMs);
  }
  Hud_Draw(song.hud, g_players, song.clock.ms, nowMs);
  if (g_settings.displayLyrics && song.clock.ms > 0) Lyrics_Draw(song.lyrics, (int32_t)song.clock.ms, lyricsY());
}

// The media worker shares the screen: a frame that cannot have it in time is
// skipped, and the pacer is told so that the next frame does not wait longer.
void present() {
  WaitFrame();
  FrameWatch_Frame("the play");
  if (g_drawLock.try_lock_for(std::chrono::milliseconds(kLockWaitMs))) {
    Screen_Present();
    g_drawLock.unlock();
  } else {
    Pacer_SignalFrame();
  }
  if (!g_pacer.limiterOn) SDL_Delay(1);
}
// Watching a replay: every frame of the play up to the clock now is judged as it
// was, with its own clock, gap, tempo and input, whatever the frame rate here;
// the music's end takes the frames left. The play ends with its last frame.
bool watchFrame(Play& play, bool ended) {
  SongRun& song = play.song;
  const Replay& r = *play.replay;
  bool esc = Keyboard_IsDown(1) || Window_CloseRequested();
  if (esc && !song.escapeLatch) {
    WriteLog("Stopped watching the replay\n");
    song.stoppedWatching = true;
    return false;
  }
  song.escapeLatch = esc;
  // the arrows stand where the player saw them
  for (int pi = 0; pi < 2; pi++) song.field.visualOffsetMs[pi] = r.header.players[pi].visualOffsetMs;
  while (song.replayNext < r.frames.size() && (ended || r.frames[song.replayNext].ms <= song.clock.ms)) {
    const ReplayFrame& f = r.frames[song.replayNext++];
    g_timing.gapAdjust = f.gapMs - g_timing.gapMs;
    play.bpmOverride = f.bpmOverride;
    if (f.rateStep != play.rateStep) {
      play.rateStep = f.rateStep;
      PlayKeys_SetRate(play);
    }
    JudgeClock jc = advanceScroll(play, f.ms);
    PlayerInput input[2];
    PlayReplay_Input(r, f, input);
    for (int pi = 0; pi < 2; pi++)
      for (int k = 0; k < input[pi].count; k++) {
        if (input[pi].presses[k].note < 0) g_players[pi].stepCount++;
        NoteField_Press(song.field, pi, input[pi].presses[k].column, song.wallMs);
      }
    Judge_Frame(song.judge, jc, input);
    PlayEvents_Show(play, song.wallMs);
    PlayEvents_AssistTicks(play, jc);
    traceLife(song, f.ms);
  }
  g_backgrounds.paused = false;
  Backgrounds_Update(song.scroll.chartPos, song.clock.ms);
  if (song.replayNext >= r.frames.size()) {
    song.giveUp = r.header.end == REPLAY_END_GAVE_UP;
    return false;
  }
  draw(song);
  present();
  return true;
}
}  // namespace

bool SongPlay_Frame(Play& play) {
  SongRun& song = play.song;
  song.wallMs = Clock_MsPrecise();
  Keyboard_Poll();
  bool ended = false;
  if (!advanceClock(song, ended)) return false;
  if (play.replay) return watchFrame(play, ended);

  // the play keys and the give-up input
  if (!PlayKeys_Frame(play)) return false;
  bool demo = song.stage == 0 && !Play_IsTest(play);
  bool esc = Keyboard_IsDown(1) || Window_CloseRequested() || (demo && demoStart());
  if (esc && !song.escapeLatch) {
    song.giveUp = true;
    return false;
  }
  song.escapeLatch = esc;

  JudgeClock jc = advanceScroll(play, song.clock.ms);
  g_backgrounds.paused = song.paused;
  Backgrounds_Update(jc.position, song.clock.ms);
  PlayerInput input[2];
  readPresses(play, jc, input);
  // the attract demo plays a minute
  if (demo && song.wallMs - song.startWallMs > 60000) return false;
  if (!song.paused) {
    PlayReplay_Record(play, song.clock.ms, input);
    Judge_Frame(song.judge, jc, input);
    PlayEvents_Show(play, song.wallMs);
    PlayEvents_AssistTicks(play, jc);
    traceLife(song, song.clock.ms);
  }

  // the end: the music is over, or everyone failed with game over on
  if (ended && !song.paused) return false;
  if (Play_EndsWhenAllFail(play) && !Play_IsTest(play) && !Players_AnyAlive()) return false;

  draw(song);
  present();
  return true;
}
