// The device callback: mixes every playing voice into one buffer and reports to
// the music clock. It never decodes, never allocates once running and holds the
// lock only for the mix itself.
#include "media/audio/audio_state.h"
#include <algorithm>
#include <cmath>
#include <cstring>

namespace {
struct VoiceData {
  const float* data = nullptr;
  int channels = 2;
  int64_t start = 0, end = 0;   // frames that can be read
  int64_t mask = -1;            // ring buffers: index mask; -1 for plain arrays
  bool complete = true;         // `end` is the end of the sound
  bool loop = false;
};

inline float frameAt(const VoiceData& d, int64_t i, int c) {
  if (d.loop) {
    i %= d.end;
    if (i < 0) i += d.end;
  } else if (i < d.start || i >= d.end) {
    return 0.0f;
  }
  int64_t k = d.mask >= 0 ? (i & d.mask) : i;
  return d.data[k * d.channels + c];
}

inline float hermite(float x0, float x1, float x2, float x3, float f) {
  float c1 = 0.5f * (x2 - x0);
  float c2 = x0 - 2.5f * x1 + 2.0f * x2 - 0.5f * x3;
  float c3 = 0.5f * (x3 - x0) + 1.5f * (x1 - x2);
  return ((c3 * f + c2) * f + c1) * f + x1;
}

// Mixes up to `frames` frames of the voice into the stereo buffer `mix`.
void mixVoice(Voice& v, const VoiceData& d, float* mix, int frames, uint64_t devStart) {
  float vol = (float)v.volume / 100.0f;
  float gl = vol * std::min(1.0f, 1.0f - (float)v.pan / 100.0f);
  float gr = vol * std::min(1.0f, 1.0f + (float)v.pan / 100.0f);
  double ratio = (double)v.rate / (double)v.baseRate;
  double startPos = v.pos;
  int n = 0;
  bool ranOut = false;
  if (ratio == 1.0 && v.pos == std::floor(v.pos)) {
    int64_t i = (int64_t)v.pos;
    for (; n < frames; n++, i++) {
      if (d.loop) {
        if (i >= d.end) i -= d.end;
      } else if (i >= d.end) {
        ranOut = true;
        break;
      }
      float l = frameAt(d, i, 0);
      float r = d.channels == 2 ? frameAt(d, i, 1) : l;
      mix[2 * n] += gl * l;
      mix[2 * n + 1] += gr * r;
    }
    v.pos = (double)i;
  } else {
    double p = v.pos;
    for (; n < frames; n++) {
      if (d.loop && p >= (double)d.end) p -= (double)d.end;
      int64_t i = (int64_t)std::floor(p);
      if (!d.loop && (i >= d.end || (!d.complete && i + 2 >= d.end))) {
        ranOut = true;
        break;
      }
      float f = (float)(p - (double)i);
      float s[2] = {0.0f, 0.0f};
      for (int c = 0; c < d.channels; c++)
        s[c] = hermite(frameAt(d, i - 1, c), frameAt(d, i, c), frameAt(d, i + 1, c), frameAt(d, i + 2, c), f);
      float l = s[0], r = d.channels == 2 ? s[1] : s[0];
      mix[2 * n] += gl * l;
      mix[2 * n + 1] += gr * r;
      p += ratio;
    }
    v.pos = p;
  }
  if (ranOut) {
    if (d.complete && std::floor(v.pos) >= (double)d.end) {
      v.drained = true;
      v.pos = std::min(v.pos, (double)d.end);
    } else {
      v.stalled = true;
    }
  } else {
    v.stalled = false;
  }
  if (n > 0) {
    if (v.firstPos < 0) {
      v.firstPos = startPos;
      v.firstDev = devStart;
    }
    Segment& s = v.seg[v.segHead];
    s.devStart = devStart;
    s.pos = startPos;
    s.ratio = ratio;
    s.frames = (uint32_t)n;
    v.segHead = (v.segHead + 1) % kSegments;
    if (v.segCount < kSegments) v.segCount++;
  }
}

void toDevice(const float* mix, int frames, uint8_t* out, int channels, int bits, float gain) {
  for (int i = 0; i < frames; i++) {
    float l = mix[2 * i] * gain, r = mix[2 * i + 1] * gain;
    float s[2] = {l, r};
    if (channels == 1) s[0] = 0.5f * (l + r);
    for (int c = 0; c < channels; c++) {
      float x = std::clamp(s[c], -1.0f, 1.0f);
      if (bits == 8) {
        *out++ = (uint8_t)(int)std::lrint(x * 127.0f + 128.0f);
      } else {
        int16_t v = (int16_t)std::lrint(x * 32767.0f);
        memcpy(out, &v, 2);
        out += 2;
      }
    }
  }
}
}

void Voice_Restart(Voice& v, double pos) {
  v.pos = pos;
  v.heardBase = pos;
  v.segCount = 0;
  v.segHead = 0;
  v.drained = false;
  v.stalled = false;
  v.firstPos = -1;
}

double Voice_Heard(const Voice& v, double deviceFrames) {
  for (int k = 0; k < v.segCount; k++) {
    const Segment& s = v.seg[(v.segHead - 1 - k + kSegments) % kSegments];
    bool oldest = k == v.segCount - 1 && v.segCount == kSegments;
    if ((double)s.devStart <= deviceFrames || oldest) {
      double off = std::clamp(deviceFrames - (double)s.devStart, 0.0, (double)s.frames);
      double pos = s.pos + off * s.ratio;
      return v.wrapFrames > 0 ? std::fmod(pos, v.wrapFrames) : pos;
    }
  }
  return v.heardBase;
}

double Mixer_HeardDevice() { return MusicClock_Read(g_audio.clock, Audio_Now()); }

double Voice_HeardNow(const Voice& v) {
  if (!v.playing) return v.pos;
  return Voice_Heard(v, Mixer_HeardDevice());
}

void Mixer_Render(uint8_t* out, int bytes) {
  AudioState& a = g_audio;
  double t0 = Audio_Now();
  std::lock_guard<std::mutex> lk(a.lock);
  int frameBytes = a.outChannels * (a.outBits / 8);
  int frames = frameBytes > 0 ? bytes / frameBytes : 0;
  double heard = std::max(0.0, (double)a.handed - a.queuedFrames);
  // Until the next callback the listener can get at most to the end of this
  // buffer; a callback that comes late does not stop a device still playing.
  double reach = (double)(a.handed + (uint64_t)frames);
  MusicClock_Report(a.clock, t0, heard, reach);
  CallbackNote& note = a.notes[a.noteCount % kCallbackNotes];
  note.t = t0;
  note.handed = a.handed;
  a.noteCount++;

  if ((int)a.mix.size() < frames * 2) a.mix.resize((size_t)frames * 2);  // only on the first call
  std::fill(a.mix.begin(), a.mix.begin() + frames * 2, 0.0f);
  float* mix = a.mix.data();

  for (Stream& s : a.streams) {
    if (!s.handle || !s.v.playing || s.v.drained) continue;
    VoiceData d;
    d.data = s.ring.data();
    d.channels = s.channels;
    d.start = s.ringStart;
    d.end = s.ringEnd;
    d.mask = (int64_t)(s.ring.size() / s.channels) - 1;
    d.complete = s.decodedAll;
    mixVoice(s.v, d, mix, frames, a.handed);
  }
  for (Play& p : a.plays) {
    if (!p.handle || !p.v.playing) continue;
    const Sample& smp = a.samples[p.sample];
    VoiceData d;
    d.data = smp.data.data();
    d.channels = smp.channels;
    d.start = 0;
    d.end = smp.frames;
    d.loop = p.v.loop;
    mixVoice(p.v, d, mix, frames, a.handed);
    if (p.v.drained) p.handle = 0;   // a finished playback frees its slot
  }

  toDevice(mix, frames, out, a.outChannels, a.outBits, (float)a.volume / 100.0f);
  a.handed += (uint64_t)frames;
  a.mixSeconds += Audio_Now() - t0;
}

std::vector<CallbackNote> Mixer_Notes() {
  std::lock_guard<std::mutex> lk(g_audio.lock);
  uint64_t n = std::min<uint64_t>(g_audio.noteCount, kCallbackNotes);
  std::vector<CallbackNote> out;
  for (uint64_t i = g_audio.noteCount - n; i < g_audio.noteCount; i++) out.push_back(g_audio.notes[i % kCallbackNotes]);
  return out;
}

double Notes_HeardAt(const std::vector<CallbackNote>& notes, double queued, double t) {
  if (notes.size() < 2 || t < notes.front().t) return 0;
  auto it = std::upper_bound(notes.begin(), notes.end(), t, [](double x, const CallbackNote& n) { return x < n.t; });
  if (it == notes.end()) return std::max(0.0, (double)notes.back().handed - queued);
  const CallbackNote& b = *it;
  const CallbackNote& a = *(it - 1);
  double f = (t - a.t) / (b.t - a.t);
  return std::max(0.0, (double)a.handed + f * (double)(b.handed - a.handed) - queued);
}
