// The evaluation after a stage. On opening it grades the players, stores their
// results in the records (saved at once) and decides the award and the comment.
// Then the numbers count up for a moment; when they stand, the record lines
// show and the comment plays, each sound once the one before has finished.
//
// Input: Start of either player (or Escape) during the count shows the final
// numbers at once; once the comment has begun (its first sound after the
// new-record line) it ends the screen. The 30-second limit ends it as Start does.
// Announcer lines follow the "Announcer" setting; the crowd's cheer (the award
// jingle) and boo are effects and always sound.
//
// Select of a player stores "calibrate from last play" (evaluation_calibrate.h)
// when it is offered under the player's frame; a pad that reports slowly gets a
// warning line over the frames. Up of either player, offered in the heading's
// corner when the play has a replay, ends the screen with "Watch Replay".
#include "menus/evaluation_screen.h"
#include "library/records.h"
#include "library/settings.h"
#include "media/audio/audio.h"
#include "media/draw_helpers.h"
#include "media/font/font.h"
#include "media/sound/sound_fx.h"
#include "menus/collection.h"
#include "menus/evaluation_calibrate.h"
#include "menus/evaluation_records.h"
#include "menus/evaluation_rules.h"
#include "menus/evaluation_view.h"
#include "menus/screen_loop.h"
#include "menus/slow_pad_warning.h"
#include "platform/log.h"
#include "play/play_record.h"
#include "play/player.h"
#include "play/press_device.h"

namespace {
constexpr uint32_t kTallyMs = 1500;
constexpr int kTimeLimitSeconds = 30;
constexpr uint32_t kGoInput = MENU_START | (MENU_START << MENU_P2_SHIFT) | MENU_ESCAPE;
constexpr uint32_t kWatchInput = MENU_UP | (MENU_UP << MENU_P2_SHIFT);
constexpr const char* kWatchText = "UP  Watch Replay";
bool g_watchAsked = false;
constexpr int kFrameX[2] = {14, 326};   // the backdrop's frames, as the view draws them

struct EvalScreen {
  EvalScreen(EvalView& v, const CommentPlan& p, EvalCalibrate* c, bool* w) : view(v), plan(p), calib(c), watch(w) {}
  EvalView& view;
  const CommentPlan& plan;
  EvalCalibrate* calib;
  bool* watch;               // "Watch Replay" offered: set when it is taken
  char padWarning[96] = "";
  CommentRun run;
  uint32_t channel = 0;      // the sound of the last cue, 0 for a streamed voice line
  int tallyDoneAt = -1;      // ms since the screen began
};

void startCue(EvalScreen& s, int cue) {
  s.channel = 0;
  switch (cue) {
    case CUE_NEW_RECORD:
      if (g_settings.announcer) s.channel = PlaySound(SND_NEWRECORD);
      break;
    case CUE_JINGLE: s.channel = PlaySound(SND_CHEER); break;
    case CUE_EFFECT: s.channel = PlaySound((SoundId)s.plan.effect); break;
    case CUE_VOICE:
      if (g_settings.announcer) PlayVoice((VoiceId)s.plan.voice);
      break;
    default: break;
  }
}

// The offer in the heading's right corner, under the song's artist; returns the
// left edge of what it takes.
int drawWatch() {
  int w = Font_TextWidth(12, kWatchText) + 12;
  Draw_FillRect(626 - w, 44, w, 17, 0x1C2C58, 220);
  Font_DrawText(12, 0xB8D0FF, 632 - w, 46, kWatchText);
  return 626 - w - 6;
}

int frame(EvalScreen& s, ScreenFrame& f) {
  if (s.watch && (f.input & kWatchInput)) {
    PlaySound(SND_START);
    WriteLog("Watch Replay\n");
    *s.watch = true;
    return 1;
  }
  bool go = (f.input & kGoInput) != 0;
  if (s.tallyDoneAt < 0 && (go || f.elapsedMs >= kTallyMs)) {
    s.tallyDoneAt = (int)f.elapsedMs;
    go = false;   // the press that showed the numbers does not also leave
  }
  if (s.tallyDoneAt >= 0) {
    bool sounding = s.channel && Audio_ChannelIsActive(s.channel) != AUDIO_ACTIVE_STOPPED;
    int cue = Comment_Next(s.plan, s.run, sounding, f.nowMs);
    if (cue != CUE_NONE) startCue(s, cue);
  }
  f.fpsY = 466;   // the meter goes below the frames, clear of the title
  EvalMoment m;
  m.sinceOpenMs = f.elapsedMs;
  double left = 1.0 - f.elapsedMs / (double)kTallyMs;
  m.tally = s.tallyDoneAt >= 0 ? 1.0 : 1.0 - left * left;   // fast at first, settling on the final numbers
  m.sinceTallyMs = s.tallyDoneAt >= 0 ? (int)f.elapsedMs - s.tallyDoneAt : -1;
  m.awardShown = s.run.awardShown;
  EvalView_Draw(s.view, m);
  int warningRight = s.watch ? drawWatch() : 632;
  if (s.calib) {
    for (int i = 0; i < 2; i++)
      if (f.input & (MENU_SELECT << (i * MENU_P2_SHIFT)))
        PlaySound(EvalCalibrate_Apply(*s.calib, i) ? SND_START : SND_SWITCH);
    EvalCalibrate_Draw(*s.calib, kFrameX, s.padWarning, warningRight);
  } else if (s.padWarning[0]) {
    EvalCalibrate none;
    EvalCalibrate_Draw(none, kFrameX, s.padWarning, warningRight);
  }
  return f.timeUp || (go && s.run.begun) ? 1 : 0;
}
}  // namespace

bool Evaluation_WatchAsked() { return g_watchAsked; }

bool* Evaluation_WatchOffer(bool watchable) {
  g_watchAsked = false;
  return watchable ? &g_watchAsked : nullptr;
}

int EvaluationScreen(const Play& play, int stage) {
  WriteLog("Starting evaluation screen...\n");
  EvalOutcome outcomes[2];
  for (int i = 0; i < 2; i++) outcomes[i] = Evaluation_Outcome(g_players[i]);
  if (Evaluation_MayStore(play.flags))
    Evaluation_StoreRecords(play.source.group.c_str(), play.source.folder.c_str(), outcomes, g_records,
                            g_playerRecords);

  WriteLog("Determining announcer comment for evaluation screen...\n");
  int award = play.song.course ? AWARD_NONE
                               : Evaluation_Award(outcomes, stage, g_settings.maxStage, g_settings.extraStages != 0);
  EvalView view;
  EvalView_Build(view, play, g_players, outcomes, award);
  EvalCalibrate calib;
  if (!play.song.course && !play.flags.replay)
    for (const EvalPanel& panel : view.panels) {
      int i = panel.number - 1;
      if (!panel.active || i < 0 || i > 1) continue;
      // the controller of the player's last press, as the play took its offset
      int device = play.song.field.visualDeviceSeen[i] ? play.song.field.visualDevice[i] : PressDevice_OfPlayer(i);
      EvalCalibrate_Offer(calib, i, device, panel.histogram.presses, panel.histogram.meanMs,
                          play.flags.autoplay || play.song.autoplayUsed);
    }
  bool watchable = !play.song.course && (play.flags.replay || !play.lastReplay.empty());
  Evaluation_Show(view, Evaluation_Comment(outcomes, award), &calib, Evaluation_WatchOffer(watchable));
  EvalView_Free(view);
  return award;
}

void Evaluation_Show(EvalView& view, const CommentPlan& plan, EvalCalibrate* calib, bool* watch) {
  EvalScreen s(view, plan, calib, watch);
  SlowPad_CurrentWarning(s.padWarning, sizeof s.padWarning);
  ScreenSetup setup;
  setup.backdrop = "rkv2-results.png";
  setup.timeLimitSeconds = kTimeLimitSeconds;
  Screen_Run(setup, [&s](ScreenFrame& f) { return frame(s, f); });
}
