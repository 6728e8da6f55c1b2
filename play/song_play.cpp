#include "play/song_play.h"
#include "library/settings.h"
#include "media/audio/audio.h"
#include "media/background/background.h"
#include "media/skin/skin_images.h"
#include "platform/log.h"
#include "platform/frame_watch.h"
#include "play/media_worker.h"
#include "play/play_input.h"
#include "play/play_replay.h"
#include "play/play_results.h"
#include "play/player.h"

// The device latency measured at start-up stays out of the song clock: the audio
// layer reports the position the listener hears, with the latency already taken off.

// A battery course counts the whole song once it was played to its end.
void SongPlay_AddToCourse(Play& play, bool playedThrough) {
  CourseRun& c = play.course;
  const SongRun& song = play.song;
  // the lead-in before the music is no part of the course's time
  double covered = song.clock.ms - (song.startMusicMs > 0 ? song.startMusicMs : 0);
  c.musicMs += playedThrough && song.songLengthMs > 0 ? song.songLengthMs : covered > 0 ? covered : 0;
  for (int i = 0; i < 2; i++) {
    if (!g_players[i].active) continue;
    c.maxDancePoints[i] += g_players[i].maxDancePoints;
    int perfects = 0;
    c.steps[i] += Results_SteppedNotes(g_players[i], &perfects);
    c.perfects[i] += perfects;
  }
  // one song stepped by Auto Play or at another speed keeps the whole course out of the records
  c.flags.paused |= play.flags.paused;
  c.flags.autoplay |= play.flags.autoplay;
  c.flags.speedAltered |= play.flags.speedAltered;
  c.flags.replay |= play.flags.replay;
  if (playedThrough) c.songs++;
  if (c.rules.hasLives)
    for (const Player& p : g_players)
      if (p.active && p.batteryLives <= 0) c.livesLost = true;
}

int PlaySong(int* stage, int courseFlag, int courseIndex) {
  Play& play = g_play;
  if (courseFlag) play.course.length = courseIndex > 0 ? courseIndex : 0;
  if (!SongPlay_Load(play, stage, courseFlag != 0)) return 0;
  FrameWatch_Restart();   // the loading is not a held frame
  while (SongPlay_Frame(play)) {
  }
  return SongPlay_End(play);
}

int SongPlay_End(Play& play) {
  SongRun& song = play.song;
  WriteLog("Finished main game loop...\n");
  PlayInput_LogPads();
  WriteLog("Unloading danger tile...\n");
  WriteLog("Unloading fade layer...\n");
  MediaWorker_Stop();
  WriteLog("Freeing effects...\n");
  WriteLog("Unloading backgrounds...\n");
  Backgrounds_Stop();
  ResetBackgrounds();
  g_background.Free();
  WriteLog("Freeing BPM changes and Freezes...\n");
  Timing_FreeLists(g_timing);
  if (song.paused) Audio_Start();
  Lyrics_Free(song.lyrics);
  if (play.replay) {
    // a replay reports the play it was made from: its clocks, not the watcher's
    const ReplayHeader& h = play.replay->header;
    song.clock.ms = h.endMusicMs;
    song.wallMs = song.startWallMs + h.wallMs;
    if (!play.replay->frames.empty()) song.clock.rateStep = play.replay->frames.back().rateStep;
    song.autoplayUsed = h.autoPlay != 0;
    song.speedAltered = h.speedAltered != 0;
    song.everPaused = h.paused != 0;
  }
  if (!song.stoppedWatching) Results_WritePlay(play);
  play.flags = PlayFlags{song.everPaused, song.autoplayUsed, song.speedAltered, play.replay != nullptr};
  if (song.musicFailed && song.course && !play.replay) play.course.replayLost = true;
  play.lastReplay = song.musicFailed ? "" : PlayReplay_Save(play);

  int result = 0;
  if (song.musicFailed) {
    result = 0;
  } else if (song.stoppedWatching) {
    result = 1;
  } else if (!Play_IsTest(play)) {
    WriteLog("Preparing stats for evaluation...\n");
    bool dead = !Players_AnyAlive();
    WriteLog("Perform evaulation...?\n");
    WriteLogf("dead=%d,gameover=%d,giveup=%d\n", dead ? 1 : 0, g_settings.gameOver, song.giveUp ? 1 : 0);
    result = song.giveUp || (dead && Play_EndsWhenAllFail(play)) ? 1 : 0;
    if (play.course.active) SongPlay_AddToCourse(play, result == 0);
    if (play.rules.afterSong) result = play.rules.afterSong(play, result != 0);
  } else {
    result = song.restart;
  }
  WriteLog("Stopping channel...\n");
  Audio_ChannelStop(song.stream);
  Audio_StreamFree(song.stream);
  song.stream = 0;
  WriteLog("Freeing music and steps...\n");
  for (Player& p : g_players) Chart_Free(p);
  WriteLog("Ending Main Game function...\n");
  return result;
}
