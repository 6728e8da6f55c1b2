#include "play/play_replay.h"
#include "chart/random.h"
#include "library/profiles.h"
#include "library/replay_course.h"
#include "library/replay_store.h"
#include "library/settings.h"
#include "platform/log.h"
#include "play/judge_frame.h"
#include "play/play_record.h"
#include "play/player.h"
#include "play/press_device.h"
#include "play/score.h"
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>

namespace {
template <size_t N>
void copyText(char (&to)[N], const char* from) {
  snprintf(to, N, "%s", from ? from : "");
}

void fillPlayer(const Play& play, const Player& p, int pi, ReplayPlayerHeader& h) {
  const SongRun& song = play.song;
  h.active = 1;
  h.panels = p.panels;
  h.difficulty = (int8_t)p.difficulty;
  h.level = p.level;
  h.options = p.options;
  copyText(h.styleName, p.styleName);
  copyText(h.modifierText, p.modifierText);
  if (p.profileSlot > 0 && p.profileSlot <= g_profileCount) copyText(h.profile, g_profiles[p.profileSlot - 1].name);
  int device = song.field.visualDeviceSeen[pi] ? song.field.visualDevice[pi] : PressDevice_OfPlayer(pi);
  h.inputOffsetMs = PressDevice_InputOffsetMs(device);
  h.visualOffsetMs = song.field.visualOffsetMs[pi];
  h.scorePoints = p.scorePoints - p.scoreBase;
  const SongRun::Figures& f = song.atStart[pi];
  h.dancePoints = p.dancePoints - f.dancePoints;
  h.maxDancePoints = p.maxDancePoints;
  for (int k = 0; k < 5; k++) h.counts[k] = p.judgementCounts[k] - f.counts[k];
  h.ok = p.freezeOk - f.ok;
  h.ng = p.freezeNg - f.ng;
  h.maxCombo = p.maxCombo;
  h.dead = p.lifeState == LIFE_DEAD;
}
}  // namespace

void PlayReplay_Begin(Play& play) {
  SongRun& song = play.song;
  song.record = Replay{};
  song.replayNext = 0;
  song.stoppedWatching = false;
  // outside test play and the attract demo, and never while watching one
  song.recording = !play.replay && !Play_IsTest(play) && song.stage > 0;
  if (play.replay) {
    song.seed = play.replay->header.seed;
  } else {
    song.seed = (uint32_t)Random_Next() << 15 | (uint32_t)Random_Next();
  }
  Random_Seed(song.seed);
  if (song.recording) {
    Replay_InitHeader(song.record.header);
    song.record.frames.reserve(8192);
  }
}

void PlayReplay_Record(Play& play, double clockMs, const PlayerInput in[2]) {
  SongRun& song = play.song;
  if (!song.recording) return;
  Replay& r = song.record;
  if (r.frames.size() >= kReplayMaxFrames || r.presses.size() + 2 * kMaxFramePresses > kReplayMaxPresses) {
    WriteLog("The play is too long to keep as a replay\n");
    song.recording = false;
    r = Replay{};
    return;
  }
  ReplayFrame f{};
  f.ms = clockMs;
  f.gapMs = (int32_t)(g_timing.gapMs + g_timing.gapAdjust);
  f.bpmOverride = play.bpmOverride > 0 ? play.bpmOverride : -1;
  f.rateStep = (uint8_t)song.clock.rateStep;
  f.firstPress = (uint32_t)r.presses.size();
  for (int pi = 0; pi < 2; pi++) {
    f.held[pi] = in[pi].held;
    int n = in[pi].count < 0 ? 0 : in[pi].count > kReplayMaxFramePresses ? kReplayMaxFramePresses : in[pi].count;
    f.pressCount[pi] = (uint8_t)n;
    for (int k = 0; k < n; k++) {
      const Press& p = in[pi].presses[k];
      r.presses.push_back(ReplayPress{p.ms, p.note, p.column});
    }
  }
  r.frames.push_back(f);
}

void PlayReplay_Input(const Replay& r, const ReplayFrame& f, PlayerInput out[2]) {
  uint32_t at = f.firstPress;
  for (int pi = 0; pi < 2; pi++) {
    PlayerInput_Clear(out[pi]);
    out[pi].held = f.held[pi];
    for (int k = 0; k < f.pressCount[pi] && at < r.presses.size(); k++, at++) {
      const ReplayPress& p = r.presses[at];
      PlayerInput_Add(out[pi], p.column, p.ms, p.note);
    }
  }
}

namespace {
std::string writeNew(int64_t ms, const std::vector<uint8_t>& bytes, const char* what) {
  std::string path = Replay_NewPath(ms / 1000, (int)(ms % 1000));
  if (!Replay_WriteFile(path, bytes)) return "";
  WriteLogf("Replay written to '%s' (%s)\n", path.c_str(), what);
  ReplayStore_Prune(ReplayStore_Keep());
  return path;
}

int64_t nowMs() {
  auto now = std::chrono::system_clock::now().time_since_epoch();
  return std::chrono::duration_cast<std::chrono::milliseconds>(now).count();
}
}  // namespace

std::string PlayReplay_Save(Play& play) {
  SongRun& song = play.song;
  if (song.course && play.course.active && !play.replay && !song.recording) play.course.replayLost = true;
  if (!song.recording || song.record.frames.empty()) return "";
  Replay& r = song.record;
  ReplayHeader& h = r.header;
  int64_t ms = nowMs();
  h.playedAt = ms / 1000;
  const PlaySource& src = play.source;
  copyText(h.group, src.group.c_str());
  copyText(h.folder, src.folder.c_str());
  copyText(h.chartFile, src.chartFile.c_str());
  copyText(h.chartMd5, Replay_ChartMd5("Songs/" + src.group + "/" + src.folder + "/" + src.chartFile).c_str());
  copyText(h.title, src.title.c_str());
  h.speedAltered = song.speedAltered;
  h.paused = song.everPaused;
  h.seed = song.seed;
  h.stage = song.stage;
  h.maxStage = (uint8_t)g_settings.maxStage;
  h.lifeDifficulty = (uint8_t)g_settings.difficulty;
  h.comboType = (uint8_t)g_settings.comboType;
  h.gameOver = (uint8_t)g_settings.gameOver;
  h.revive = (uint8_t)g_settings.revive;
  h.autoPlay = song.autoplayUsed;
  h.end = song.giveUp                                          ? REPLAY_END_GAVE_UP
          : Play_EndsWhenAllFail(play) && !Players_AnyAlive() ? REPLAY_END_FAILED
                                                              : REPLAY_END_MUSIC;
  memcpy(h.windows, g_settings.windows, sizeof h.windows);
  h.globalGap = g_settings.globalGap;
  h.startMusicMs = song.startMusicMs;
  h.endMusicMs = song.clock.ms;
  h.wallMs = song.wallMs - song.startWallMs;
  for (int pi = 0; pi < 2; pi++)
    if (g_players[pi].active) fillPlayer(play, g_players[pi], pi, h.players[pi]);
  if (!h.chartMd5[0]) {
    WriteLogf("No replay of '%s': its chart cannot be read\n", h.chartFile);
    if (song.course) play.course.replayLost = true;
    return "";
  }
  if (song.course) {
    // the course's lives run on: the award after it comes from the course's game
    play.course.replaySongs.push_back(std::move(r));
    song.record = Replay{};
    return "";
  }
  char what[64];
  snprintf(what, sizeof what, "%zu frames, %zu presses", r.frames.size(), r.presses.size());
  return writeNew(ms, Replay_Encode(r), what);
}

std::string PlayReplay_SaveCourse(Play& play, const char* name, const char* folder, const char* file, bool repeat) {
  CourseRun& c = play.course;
  if (c.replayLost || c.replaySongs.empty() || c.replayAwards.size() != c.replaySongs.size()) {
    if (!c.replaySongs.empty()) WriteLog("No replay of the course: one of its songs could not be kept\n");
    return "";
  }
  CourseReplay cr;
  CourseReplayHeader& h = cr.header;
  CourseReplay_InitHeader(h);
  int64_t ms = nowMs();
  h.playedAt = ms / 1000;
  copyText(h.courseName, name);
  copyText(h.courseFolder, folder);
  copyText(h.courseFile, file);
  h.hasLives = c.rules.hasLives;
  h.lives = c.rules.lives;
  h.comboMode = c.rules.comboMode;
  h.comboPerfect = c.rules.comboPerfect;
  h.repeat = repeat;
  h.length = c.length;
  h.autoPlay = c.flags.autoplay;
  for (const Replay& s : c.replaySongs) h.autoPlay |= s.header.autoPlay;
  for (int pi = 0; pi < 2; pi++) {
    const Player& p = g_players[pi];
    if (!p.active) continue;
    CourseReplayPlayer& o = h.players[pi];
    const ReplayPlayerHeader& last = c.replaySongs.back().header.players[pi];
    o.active = 1;
    o.panels = p.panels;
    copyText(o.styleName, last.styleName);
    copyText(o.profile, last.profile);
    o.scorePoints = p.scorePoints;
    o.dancePoints = p.dancePoints;
    o.maxDancePoints = c.maxDancePoints[pi];
  }
  cr.songs = std::move(c.replaySongs);
  cr.awards = std::move(c.replayAwards);
  c.replaySongs.clear();
  c.replayAwards.clear();
  char what[64];
  snprintf(what, sizeof what, "a course of %zu songs", cr.songs.size());
  return writeNew(ms, CourseReplay_Encode(cr), what);
}
