// Samples: short sounds decoded whole at load time and converted to the device
// rate once, so that playing one costs nothing but the mix.
#include "platform/log.h"
#include "media/audio/audio_state.h"
#include <algorithm>

namespace {
constexpr int64_t kMaxSampleSeconds = 600;

// The playback to give way when a sample is at its maximum: the longest playing
// (or the quietest), else none.
int victimFor(int sample, uint32_t flags) {
  AudioState& a = g_audio;
  int best = -1;
  for (int i = 0; i < kMaxPlays; i++) {
    const Play& p = a.plays[i];
    if (!p.handle || p.sample != sample) continue;
    if (best < 0) {
      best = i;
      continue;
    }
    const Voice& v = p.v;
    const Voice& b = a.plays[best].v;
    bool better = (flags & AUDIO_SAMPLE_OVER_POS) == AUDIO_SAMPLE_OVER_POS
                      ? v.startedAt < b.startedAt
                      : v.volume < b.volume;
    if (better) best = i;
  }
  return best;
}
}

uint32_t Audio_SampleLoad(bool mem, const void* file, uint32_t offset, uint32_t length,
                          uint32_t max, uint32_t flags) {
  AudioState& a = g_audio;
  uint32_t deviceRate;
  {
    std::lock_guard<std::mutex> lk(a.lock);
    if (!a.open) {
      WriteLog("Audio_SampleLoad: the audio device is not open\n");
      return 0;
    }
    deviceRate = a.rate;
  }
  std::vector<uint8_t> bytes;
  std::string name;
  if (!Sound_ReadBytes(mem, file, offset, length, bytes, name)) return 0;
  SoundFile f;
  if (!SoundFile_Open(f, std::move(bytes), name)) return 0;
  int channels = (f.info.channels == 1 || (flags & AUDIO_SAMPLE_MONO)) ? 1 : 2;
  bool eight = (flags & AUDIO_SAMPLE_8BITS) != 0;
  std::vector<float> data;
  int64_t fileFrames = 0;
  bool ok = Sound_DecodeWhole(f, channels, eight, deviceRate, kMaxSampleSeconds * f.info.samplerate, data,
                              fileFrames);
  uint32_t baseRate = (uint32_t)f.info.samplerate;
  SoundFile_Close(f);
  if (!ok) return 0;
  std::lock_guard<std::mutex> lk(a.lock);
  if (!a.open || a.rate != deviceRate) return 0;
  for (int i = 0; i < kMaxSamples; i++) {
    Sample& s = a.samples[i];
    if (s.handle) continue;
    s.gen++;
    s.handle = Handle_Make(HandleKind::Sample, s.gen, i);
    s.flags = flags;
    s.maxPlays = std::clamp<uint32_t>(max, 1, 65535);
    s.channels = channels;
    s.bits = eight ? 8 : 16;
    s.baseRate = baseRate;
    s.fileFrames = fileFrames;
    s.frames = (int64_t)data.size() / channels;
    s.data.swap(data);
    return s.handle;
  }
  WriteLogf("Audio_SampleLoad: all %d samples are in use ('%s')\n", kMaxSamples, name.c_str());
  return 0;
}

uint32_t Audio_SamplePlay(uint32_t sample) {
  AudioState& a = g_audio;
  std::lock_guard<std::mutex> lk(a.lock);
  Sample* s = Sample_Find(sample);
  if (!s) return 0;
  int si = (int)(sample & 0xFFF);
  uint32_t playing = 0;
  for (const Play& p : a.plays)
    if (p.handle && p.sample == si) playing++;
  int slot = -1;
  if (playing >= s->maxPlays) {
    if (!(s->flags & (AUDIO_SAMPLE_OVER_POS | AUDIO_SAMPLE_OVER_VOL))) return 0;
    slot = victimFor(si, s->flags);
    if (slot >= 0) a.plays[slot].handle = 0;   // its handle goes stale
  }
  for (int i = 0; i < kMaxPlays && slot < 0; i++)
    if (!a.plays[i].handle) slot = i;
  if (slot < 0) {
    WriteLogf("Audio_SamplePlay: all %d playbacks are in use\n", kMaxPlays);
    return 0;
  }
  Play& p = a.plays[slot];
  p.gen++;
  p.handle = Handle_Make(HandleKind::Play, p.gen, slot);
  p.sample = si;
  p.v = Voice{};
  p.v.rate = p.v.baseRate = s->baseRate;
  p.v.loop = (s->flags & AUDIO_SAMPLE_LOOP) != 0;
  p.v.wrapFrames = p.v.loop ? (double)s->frames : 0;
  Voice_Restart(p.v, 0);
  p.v.playing = true;
  p.v.startedAt = a.handed;
  return p.handle;
}

bool Audio_SampleStop(uint32_t sample) {
  AudioState& a = g_audio;
  std::lock_guard<std::mutex> lk(a.lock);
  if (!Sample_Find(sample)) return false;
  int si = (int)(sample & 0xFFF);
  for (Play& p : a.plays)
    if (p.handle && p.sample == si) p.handle = 0;
  return true;
}

bool Audio_SampleFree(uint32_t sample) {
  AudioState& a = g_audio;
  std::vector<float> data;
  {
    std::lock_guard<std::mutex> lk(a.lock);
    Sample* s = Sample_Find(sample);
    if (!s) return false;
    int si = (int)(sample & 0xFFF);
    for (Play& p : a.plays)
      if (p.handle && p.sample == si) p.handle = 0;
    s->handle = 0;
    data.swap(s->data);
    s->frames = 0;
  }
  return true;
}

void Samples_FreeAll() {
  for (int i = 0; i < kMaxSamples; i++) {
    uint32_t h;
    {
      std::lock_guard<std::mutex> lk(g_audio.lock);
      h = g_audio.samples[i].handle;
    }
    if (h) Audio_SampleFree(h);
  }
}
