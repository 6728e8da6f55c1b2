#include "play/play_keys.h"
#include "library/settings.h"
#include "media/audio/audio.h"
#include "media/input/input.h"
#include "platform/clock.h"
#include "play/play_record.h"
#include <cstdio>

namespace {
// The function keys of the play, in the fixed function-key table.
enum { FK_F1, FK_F2, FK_F3, FK_F4, FK_F5, FK_F6, FK_F7, FK_F8, FK_F9, FK_F10, FK_F11, FK_F12, FK_PAUSE };

void message(Play& play, const char* text, int ms) { Hud_SetMessage(play.song.hud, text, Clock_MsPrecise(), ms); }

void rateKeys(Play& play) {
  InputBinding* fk = g_functionKeys;
  char text[64];
  for (int k : {FK_F3, FK_F4}) {
    int step = play.rateStep + (k == FK_F3 ? -1 : 1);
    if (!Input_Pressed(fk[k]) || step < 1 || step > 9) continue;
    play.rateStep = step;
    PlayKeys_SetRate(play);
    play.song.speedAltered = true;
    snprintf(text, sizeof text, "Speed = %d/5", play.rateStep);
    message(play, text, 2000);
  }
}

// Held keys repeat on the time since the play began.
void tempoAndGapKeys(Play& play, uint32_t listenMs) {
  InputBinding* fk = g_functionKeys;
  SongRun& song = play.song;
  char text[64];
  const struct { int key; double step; } bpmKeys[4] = {{FK_F5, -0.5}, {FK_F6, 0.5}, {FK_F7, -0.02}, {FK_F8, 0.02}};
  for (const auto& k : bpmKeys) {
    if (!Input_Repeat(fk[k.key], listenMs)) continue;
    if (play.bpmOverride <= 0) play.bpmOverride = g_timing.bpm;
    play.bpmOverride += k.step;
    song.speedAltered = true;
    if (play.bpmOverride < 0.02) play.bpmOverride = 0.02;
    snprintf(text, sizeof text, "BPM = %.2f", play.bpmOverride);
    message(play, text, 4000);
  }
  for (int k : {FK_F9, FK_F10}) {
    if (!Input_Repeat(fk[k], listenMs)) continue;
    int d = k == FK_F9 ? -5 : 5;
    g_timing.gapAdjust += d;
    if (song.stream) {
      uint64_t pos = Audio_ChannelGetPosition(song.stream);
      uint64_t step = Audio_ChannelSeconds2Bytes(song.stream, 0.05f);
      if (pos != AUDIO_BAD_POSITION && step != AUDIO_BAD_POSITION)
        Audio_ChannelSetPosition(song.stream, d < 0 ? (pos > step ? pos - step : 0) : pos + step);
    }
    snprintf(text, sizeof text, "GAP = %d", (int)(g_timing.gapMs + g_timing.gapAdjust));
    message(play, text, 4000);
  }
}
}  // namespace

void PlayKeys_SetRate(Play& play) {
  SongRun& song = play.song;
  if (!song.stream) return;
  Audio_ChannelSetAttributes(song.stream, (int)(song.baseRate * (play.rateStep + 5) / 10), -1, -101);
  song.clock.rateStep = play.rateStep;
}

bool PlayKeys_Frame(Play& play) {
  InputBinding* fk = g_functionKeys;
  SongRun& song = play.song;
  if (Play_IsTest(play)) {
    for (int k : {FK_F1, FK_F2}) {
      if (!Input_Pressed(fk[k])) continue;
      message(play, "Restarting...", 2000);
      song.restart = k == FK_F1 ? PLAY_RESTART : PLAY_TEST_FROM;
      return false;
    }
  }
  rateKeys(play);
  tempoAndGapKeys(play, (uint32_t)(song.wallMs - song.startWallMs));
  if (Input_Pressed(fk[FK_PAUSE])) {
    song.paused = !song.paused;
    song.everPaused = true;
    song.hud.paused = song.paused;
    if (song.paused) Audio_Pause();
    else Audio_Start();
  }
  if (Input_Pressed(fk[FK_F12])) {
    g_settings.assistTick = !g_settings.assistTick;
    message(play, g_settings.assistTick ? "Assist Ticks ON" : "Assist Ticks OFF", 2000);
  }
  return true;
}
