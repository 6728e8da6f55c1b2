#include "play/play_events.h"
#include "library/settings.h"
#include "media/sound/sound_fx.h"
#include "play/judgement.h"
#include "play/play_record.h"
#include "play/player.h"

void PlayEvents_Show(Play& play, double nowMs) {
  SongRun& song = play.song;
  const JudgeEvents& ev = song.judge.events;
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
            NoteField_Burst(song.field, e.player, p.arrows[n].column, e.judgement, nowMs);
            n = p.arrows[n].chordNext;
          } while (n >= 0 && n != e.note && n < p.arrowCount && ++guard < 16);
        }
        break;
      case JEV_FREEZE_OK:
        NoteField_FreezeMark(song.field, e.player, e.value, true, nowMs);
        NoteField_Burst(song.field, e.player, e.value, 3, nowMs);
        break;
      case JEV_FREEZE_NG: NoteField_FreezeMark(song.field, e.player, e.value, false, nowMs); break;
      case JEV_COMBO_MILESTONE: {
        static const SoundId combos[11] = {SND_COMBO_100, SND_COMBO_100, SND_COMBO_200, SND_COMBO_300,
                                           SND_COMBO_400, SND_COMBO_500, SND_COMBO_600, SND_COMBO_700,
                                           SND_COMBO_800, SND_COMBO_900, SND_COMBO_1000};
        int v = e.value < 1 ? 1 : e.value > 10 ? 10 : e.value;
        if (g_settings.announcer && g_sounds[combos[v]]) QueueSample(g_sounds[combos[v]]);
        song.hud.comboMilestone[e.player] = v;
        song.hud.milestoneAtMs[e.player] = nowMs;
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

void PlayEvents_AssistTicks(Play& play, const JudgeClock& jc) {
  if (!g_settings.assistTick || !g_sounds[SND_CLAP]) return;
  for (int pi = 0; pi < 2; pi++) {
    Player& p = g_players[pi];
    if (!p.active) continue;
    double& last = play.song.lastTickPos[pi];
    for (int i = p.firstVisible; i < p.arrowCount; i++) {
      const Arrow& a = p.arrows[i];
      if (a.kind != ARROW_TAP) continue;
      double d = Judge_Delta(jc, a.startPos, jc.songMs);
      if (d > 20) break;
      if (a.startPos > last + 0.01 && d >= -20) {
        last = a.startPos;
        QueueSample(g_sounds[SND_CLAP]);
        break;
      }
    }
  }
}
