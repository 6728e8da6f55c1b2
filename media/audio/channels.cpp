// Channel calls: they work on a stream or on one playback of a sample.
#include "media/audio/audio_state.h"
#include <algorithm>
#include <cmath>

namespace {
struct ChannelFormat {
  int bytesPerFrame = 4;
  uint32_t baseRate = 44100;
  double lengthFrames = 0;   // file frames
};

ChannelFormat formatOf(Stream* s, Play* p) {
  ChannelFormat f;
  if (s) {
    f.bytesPerFrame = s->channels * s->bits / 8;
    f.baseRate = s->baseRate;
    f.lengthFrames = (double)s->lengthFrames;
  } else {
    const Sample& smp = g_audio.samples[p->sample];
    f.bytesPerFrame = smp.channels * smp.bits / 8;
    f.baseRate = smp.baseRate;
    f.lengthFrames = (double)smp.fileFrames;
  }
  return f;
}

// Data frames (device rate) to file frames and back.
double toFile(double dataFrames, uint32_t baseRate) { return dataFrames * baseRate / g_audio.rate; }
double toData(double fileFrames, uint32_t baseRate) { return fileFrames * g_audio.rate / baseRate; }

// The end of what the voice has mixed, as data frames: the listener is done once
// past it.
double mixedEnd(const Voice& v) {
  if (!v.segCount) return v.heardBase;
  const Segment& s = v.seg[(v.segHead - 1 + kSegments) % kSegments];
  return s.pos + s.frames * s.ratio;
}
}

bool Audio_ChannelStop(uint32_t channel) {
  AudioState& a = g_audio;
  int destroy = -1;
  {
    std::lock_guard<std::mutex> lk(a.lock);
    Stream* s;
    Play* p;
    if (!Voice_Find(channel, &s, &p)) return false;
    if (p) {
      p->handle = 0;
      return true;
    }
    Stream_StopLocked(*s);
    if (s->flags & AUDIO_STREAM_AUTOFREE) destroy = (int)(channel & 0xFFF);
  }
  if (destroy >= 0) Stream_Destroy(destroy, channel);
  return true;
}

uint64_t Audio_ChannelGetPosition(uint32_t channel) {
  std::lock_guard<std::mutex> lk(g_audio.lock);
  Stream* s;
  Play* p;
  Voice* v = Voice_Find(channel, &s, &p);
  if (!v) return AUDIO_BAD_POSITION;
  ChannelFormat f = formatOf(s, p);
  double heard = Voice_HeardNow(*v);
  double file = std::clamp(toFile(heard, f.baseRate), 0.0, f.lengthFrames);
  // played out: at the end exactly, whatever the rate conversion rounded to
  if (v->drained && heard >= mixedEnd(*v) - 0.5) file = f.lengthFrames;
  return (uint64_t)std::floor(file + 1e-6) * (uint64_t)f.bytesPerFrame;
}

float Audio_ChannelBytes2Seconds(uint32_t channel, uint64_t pos) {
  if (pos == AUDIO_BAD_POSITION) return -1.0f;
  std::lock_guard<std::mutex> lk(g_audio.lock);
  Stream* s;
  Play* p;
  if (!Voice_Find(channel, &s, &p)) return -1.0f;
  ChannelFormat f = formatOf(s, p);
  return (float)((double)pos / f.bytesPerFrame / f.baseRate);
}

uint64_t Audio_ChannelSeconds2Bytes(uint32_t channel, float seconds) {
  if (!(seconds >= 0.0f) || seconds > 1e7f) return AUDIO_BAD_POSITION;
  std::lock_guard<std::mutex> lk(g_audio.lock);
  Stream* s;
  Play* p;
  if (!Voice_Find(channel, &s, &p)) return AUDIO_BAD_POSITION;
  ChannelFormat f = formatOf(s, p);
  return (uint64_t)std::floor((double)seconds * f.baseRate + 1e-6) * (uint64_t)f.bytesPerFrame;
}

bool Audio_ChannelSetPosition(uint32_t channel, uint64_t pos) {
  AudioState& a = g_audio;
  bool prime = false;
  Stream* s;
  {
    std::lock_guard<std::mutex> lk(a.lock);
    Play* p;
    Voice* v = Voice_Find(channel, &s, &p);
    if (!v) return false;
    ChannelFormat f = formatOf(s, p);
    uint64_t frame = pos / (uint64_t)f.bytesPerFrame;
    if ((double)frame > f.lengthFrames) return false;
    if (s) {
      prime = Stream_SeekLocked(*s, (int64_t)frame);
    } else {
      bool playing = v->playing;
      Voice_Restart(*v, std::floor(toData((double)frame, f.baseRate)));
      v->playing = playing;
    }
  }
  if (prime) Stream_Prime(*s, channel);
  Decoder_Wake();
  return true;
}

bool Audio_ChannelGetAttributes(uint32_t channel, uint32_t* rate, uint32_t* volume, int* pan) {
  std::lock_guard<std::mutex> lk(g_audio.lock);
  Voice* v = Voice_Find(channel, nullptr, nullptr);
  if (!v) return false;
  if (rate) *rate = v->rate;
  if (volume) *volume = (uint32_t)v->volume;
  if (pan) *pan = v->pan;
  return true;
}

bool Audio_ChannelSetAttributes(uint32_t channel, int rate, int volume, int pan) {
  std::lock_guard<std::mutex> lk(g_audio.lock);
  Voice* v = Voice_Find(channel, nullptr, nullptr);
  if (!v) return false;
  if (rate == 0) {
    v->rate = v->baseRate;
  } else if (rate != -1) {
    v->rate = (uint32_t)std::clamp(rate, 100, 100000);
  }
  // back at the file's own rate the mix copies frames again instead of interpolating
  if (v->rate == v->baseRate) v->pos = std::nearbyint(v->pos);
  if (volume != -1) v->volume = std::clamp(volume, 0, 100);
  if (pan != -101) v->pan = std::clamp(pan, -100, 100);
  return true;
}

uint32_t Audio_ChannelIsActive(uint32_t channel) {
  AudioState& a = g_audio;
  std::lock_guard<std::mutex> lk(a.lock);
  Voice* v = Voice_Find(channel, nullptr, nullptr);
  if (!v || !v->playing) return AUDIO_ACTIVE_STOPPED;
  if (v->drained && Voice_HeardNow(*v) >= mixedEnd(*v) - 0.5) return AUDIO_ACTIVE_STOPPED;
  if (!a.running) return AUDIO_ACTIVE_PAUSED;
  return v->stalled ? AUDIO_ACTIVE_STALLED : AUDIO_ACTIVE_PLAYING;
}

uint32_t Audio_ChannelGetFlags(uint32_t channel) {
  std::lock_guard<std::mutex> lk(g_audio.lock);
  Stream* s;
  Play* p;
  if (!Voice_Find(channel, &s, &p)) return AUDIO_BAD_VALUE;
  uint32_t flags, channels, bits;
  if (s) {
    flags = s->flags;
    channels = (uint32_t)s->channels;
    bits = (uint32_t)s->bits;
  } else {
    const Sample& smp = g_audio.samples[p->sample];
    flags = smp.flags;
    channels = (uint32_t)smp.channels;
    bits = (uint32_t)smp.bits;
  }
  flags &= ~(AUDIO_SAMPLE_MONO | AUDIO_SAMPLE_8BITS);
  if (channels == 1) flags |= AUDIO_SAMPLE_MONO;
  if (bits == 8) flags |= AUDIO_SAMPLE_8BITS;
  return flags;
}
