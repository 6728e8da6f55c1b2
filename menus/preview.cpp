#include "menus/preview.h"
#include "library/song_list.h"
#include "media/audio/audio.h"
#include "platform/files.h"
#include "platform/log.h"
#include <string>

namespace {
struct PreviewState {
  int song = -1;
  uint32_t stream = 0;
  uint32_t startedAt = 0;   // program time of the last start
  int volume = -1;
  bool failed = false;      // the music does not open: the preview stays silent
};
PreviewState g_preview;

bool openAndPlay(PreviewState& p) {
  const SongEntry& e = g_songs[p.song];
  std::string path;
  if (!e.musicFile[0] || !Path_Resolve(Path_FromData(e.musicFile), path)) {
    WriteLogf("Preview: music '%.511s' not found\n", e.musicFile);
    return false;
  }
  uint32_t s = Audio_StreamCreateFile(false, path.c_str(), 0, 0, AUDIO_STREAM_EXACT_SEEK);
  if (!s) {
    WriteLogf("Preview: cannot open '%s'\n", path.c_str());
    return false;
  }
  if (e.sampleStart > 0) {
    uint64_t at = Audio_ChannelSeconds2Bytes(s, (float)(e.sampleStart / 1000.0));
    if (at != AUDIO_BAD_POSITION) Audio_ChannelSetPosition(s, at);
  }
  Audio_ChannelSetAttributes(s, -1, 100, -101);
  if (!Audio_StreamPlay(s, false, 0)) {
    Audio_StreamFree(s);
    return false;
  }
  p.stream = s;
  p.volume = 100;
  return true;
}

void freeStream(PreviewState& p) {
  if (!p.stream) return;
  Audio_ChannelStop(p.stream);
  Audio_StreamFree(p.stream);
  p.stream = 0;
}

uint32_t sampleLength(int song) {
  int32_t l = g_songs[song].sampleLength;
  return l > 0 ? (uint32_t)l : 0;
}
}  // namespace

PreviewStep Preview_StepAt(uint32_t lengthMs, uint32_t t) {
  if (t < lengthMs) return {100, false};
  uint32_t steps = (t - lengthMs) / kPreviewFadeStepMs;
  if (steps <= 100) return {100 - (int)steps, false};
  // the fade went below 0 one step after it reached 0: silence from there
  uint32_t stoppedAt = lengthMs + 101 * kPreviewFadeStepMs;
  return {-1, t >= stoppedAt + kPreviewSilenceMs};
}

bool Preview_Start(int song, uint32_t nowMs) {
  Preview_Stop();
  if (song < 0 || song >= (int)g_songs.size()) return false;
  g_preview.song = song;
  g_preview.startedAt = nowMs;
  g_preview.failed = !openAndPlay(g_preview);
  return !g_preview.failed;
}

void Preview_Frame(uint32_t nowMs) {
  PreviewState& p = g_preview;
  if (p.song < 0 || p.song >= (int)g_songs.size() || p.failed) return;
  PreviewStep step = Preview_StepAt(sampleLength(p.song), nowMs - p.startedAt);
  if (step.restart) {
    freeStream(p);
    p.startedAt = nowMs;
    p.failed = !openAndPlay(p);
    return;
  }
  if (step.volume < 0) {
    freeStream(p);
    p.volume = -1;
    return;
  }
  if (p.stream && step.volume != p.volume) {
    Audio_ChannelSetAttributes(p.stream, -1, step.volume, -101);
    p.volume = step.volume;
  }
}

void Preview_Stop() {
  freeStream(g_preview);
  g_preview = PreviewState{};
}

int Preview_Song() { return g_preview.song; }
uint32_t Preview_Channel() { return g_preview.stream; }
