#include "gen_audio.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstring>

void MixInto(Stereo& dst, const std::vector<float>& src, long offset, float gain, float pan) {
  float gl = gain * (float)std::sqrt(0.5 * (1 - pan)), gr = gain * (float)std::sqrt(0.5 * (1 + pan));
  for (size_t i = 0; i < src.size(); i++) {
    long j = offset + (long)i;
    if (j < 0) continue;
    if ((size_t)j >= dst.Frames()) break;
    dst.l[j] += src[i] * gl;
    dst.r[j] += src[i] * gr;
  }
}

void MixIntoMono(std::vector<float>& dst, const std::vector<float>& src, long offset, float gain) {
  for (size_t i = 0; i < src.size(); i++) {
    long j = offset + (long)i;
    if (j < 0) continue;
    if ((size_t)j >= dst.size()) break;
    dst[j] += src[i] * gain;
  }
}

void Normalize(std::vector<float>& s, float peak) {
  float m = 0;
  for (float v : s) m = std::max(m, std::fabs(v));
  if (m < 1e-9f) return;
  float g = peak / m;
  for (float& v : s) v *= g;
}

void Normalize(Stereo& s, float peak) {
  float m = 0;
  for (size_t i = 0; i < s.Frames(); i++) m = std::max({m, std::fabs(s.l[i]), std::fabs(s.r[i])});
  if (m < 1e-9f) return;
  float g = peak / m;
  for (size_t i = 0; i < s.Frames(); i++) {
    s.l[i] *= g;
    s.r[i] *= g;
  }
}

void SoftClip(Stereo& s, float drive) {
  float norm = (float)std::tanh(drive);
  for (size_t i = 0; i < s.Frames(); i++) {
    s.l[i] = (float)std::tanh(s.l[i] * drive) / norm;
    s.r[i] = (float)std::tanh(s.r[i] * drive) / norm;
  }
}

void FadeEdges(std::vector<float>& s, int in, int out) {
  for (int i = 0; i < in && i < (int)s.size(); i++) s[i] *= (float)i / in;
  for (int i = 0; i < out && i < (int)s.size(); i++) s[s.size() - 1 - i] *= (float)i / out;
}

static bool WriteFrames(const std::string& path, const std::vector<float>& inter, int channels, int rate,
                        int format, double quality) {
  SF_INFO info;
  std::memset(&info, 0, sizeof info);
  info.samplerate = rate;
  info.channels = channels;
  info.format = format;
  SNDFILE* f = sf_open(path.c_str(), SFM_WRITE, &info);
  if (!f) {
    GenFail("cannot write '%s': %s", path.c_str(), sf_strerror(nullptr));
    return false;
  }
  if ((format & SF_FORMAT_SUBMASK) == SF_FORMAT_VORBIS) sf_command(f, SFC_SET_VBR_ENCODING_QUALITY, &quality, sizeof quality);
  // clip rather than wrap when a float is beyond full scale
  sf_command(f, SFC_SET_CLIPPING, nullptr, SF_TRUE);
  sf_count_t frames = (sf_count_t)(inter.size() / channels);
  // in blocks: the Vorbis encoder does not take a whole song in one call
  sf_count_t done = 0;
  while (done < frames) {
    sf_count_t n = std::min<sf_count_t>(4096, frames - done);
    sf_count_t w = sf_writef_float(f, inter.data() + done * channels, n);
    if (w != n) break;
    done += w;
  }
  int rc = sf_close(f);
  if (done != frames || rc != 0) {
    GenFail("short write on '%s'", path.c_str());
    return false;
  }
  return true;
}

bool WriteWav(const std::string& path, const std::vector<float>& mono, int rate) {
  return WriteFrames(path, mono, 1, rate, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 0);
}

bool WriteWavStereo(const std::string& path, const Stereo& s, int rate) {
  std::vector<float> inter(s.Frames() * 2);
  for (size_t i = 0; i < s.Frames(); i++) {
    inter[2 * i] = s.l[i];
    inter[2 * i + 1] = s.r[i];
  }
  return WriteFrames(path, inter, 2, rate, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 0);
}

// Ogg page checksum: CRC-32 with polynomial 0x04C11DB7, no reflection, start 0.
static uint32_t OggCrc(const uint8_t* p, size_t n) {
  static uint32_t table[256];
  static bool ready = false;
  if (!ready) {
    for (uint32_t i = 0; i < 256; i++) {
      uint32_t r = i << 24;
      for (int k = 0; k < 8; k++) r = (r & 0x80000000u) ? (r << 1) ^ 0x04C11DB7u : (r << 1);
      table[i] = r;
    }
    ready = true;
  }
  uint32_t crc = 0;
  for (size_t i = 0; i < n; i++) crc = (crc << 8) ^ table[((crc >> 24) ^ p[i]) & 0xFF];
  return crc;
}

// libsndfile picks the stream serial number at random; set a fixed one.
static bool FixOggSerial(const std::string& path, uint32_t serial) {
  std::vector<uint8_t> b;
  if (!ReadBinaryFile(path, b)) return false;
  size_t pos = 0;
  while (pos + 27 <= b.size()) {
    if (std::memcmp(&b[pos], "OggS", 4) != 0) return false;
    size_t segs = b[pos + 26];
    if (pos + 27 + segs > b.size()) return false;
    size_t body = 0;
    for (size_t i = 0; i < segs; i++) body += b[pos + 27 + i];
    size_t len = 27 + segs + body;
    if (pos + len > b.size()) return false;
    for (int i = 0; i < 4; i++) b[pos + 14 + i] = (uint8_t)(serial >> (8 * i));
    std::memset(&b[pos + 22], 0, 4);
    uint32_t crc = OggCrc(&b[pos], len);
    for (int i = 0; i < 4; i++) b[pos + 22 + i] = (uint8_t)(crc >> (8 * i));
    pos += len;
  }
  return pos == b.size() && WriteBinaryFile(path, b);
}

bool WriteOgg(const std::string& path, const Stereo& s, double quality) {
  std::vector<float> inter(s.Frames() * 2);
  for (size_t i = 0; i < s.Frames(); i++) {
    inter[2 * i] = s.l[i];
    inter[2 * i + 1] = s.r[i];
  }
  if (!WriteFrames(path, inter, 2, kRate, SF_FORMAT_OGG | SF_FORMAT_VORBIS, quality)) return false;
  if (!FixOggSerial(path, 0x54564C4E)) {
    GenFail("'%s' is not a well-formed Ogg stream", path.c_str());
    return false;
  }
  return true;
}

bool ReadMono(const std::string& path, std::vector<float>& mono, int& rate) {
  SF_INFO info;
  std::memset(&info, 0, sizeof info);
  SNDFILE* f = sf_open(path.c_str(), SFM_READ, &info);
  if (!f) return false;
  std::vector<float> inter((size_t)info.frames * info.channels);
  sf_count_t got = sf_readf_float(f, inter.data(), info.frames);
  sf_close(f);
  mono.assign((size_t)got, 0.f);
  for (sf_count_t i = 0; i < got; i++) {
    float sum = 0;
    for (int c = 0; c < info.channels; c++) sum += inter[(size_t)i * info.channels + c];
    mono[i] = sum / info.channels;
  }
  rate = info.samplerate;
  return got > 0;
}

std::vector<float> Resample(const std::vector<float>& in, int from, int to) {
  if (from == to || in.empty()) return in;
  size_t n = (size_t)((double)in.size() * to / from);
  std::vector<float> out(n);
  double step = (double)from / to;
  // windowed-sinc interpolation, a few taps each side: plenty for speech
  const int taps = 8;
  double cutoff = std::min(1.0, (double)to / from);
  for (size_t i = 0; i < n; i++) {
    double x = i * step;
    long c = (long)std::floor(x);
    double acc = 0, wsum = 0;
    for (long k = c - taps + 1; k <= c + taps; k++) {
      if (k < 0 || k >= (long)in.size()) continue;
      double d = x - k;
      double s = d == 0 ? 1.0 : std::sin(M_PI * d * cutoff) / (M_PI * d * cutoff);
      double w = 0.5 + 0.5 * std::cos(M_PI * d / taps);
      acc += in[k] * s * w;
      wsum += s * w;
    }
    out[i] = (float)(wsum != 0 ? acc / wsum * 1.0 : 0);
  }
  return out;
}

double NoteHz(double midi) { return 440.0 * std::pow(2.0, (midi - 69) / 12.0); }

void OnePole::SetLowpass(double hz) { a = (float)(1 - std::exp(-2 * M_PI * hz / kRate)); }

void Svf::Set(double hz, double resonance) {
  f = (float)(2 * std::sin(M_PI * std::min(hz, kRate / 6.0) / (2.0 * kRate)));
  q = (float)(1.0 / std::max(0.5, resonance));
}

float Svf::Process(float x, float* high, float* bandOut) {
  float h = 0;
  for (int i = 0; i < 2; i++) {
    low += f * band;
    h = x - low - q * band;
    band += f * h;
  }
  if (high) *high = h;
  if (bandOut) *bandOut = band;
  return low;
}

float PolyBlep(double t, double dt) {
  if (t < dt) {
    t /= dt;
    return (float)(t + t - t * t - 1);
  }
  if (t > 1 - dt) {
    t = (t - 1) / dt;
    return (float)(t * t + t + t + 1);
  }
  return 0;
}

float Osc::Saw(double hz) {
  double dt = hz / kRate;
  float v = (float)(2 * phase - 1) - PolyBlep(phase, dt);
  phase += dt;
  if (phase >= 1) phase -= 1;
  return v;
}

float Osc::Square(double hz, double width) {
  double dt = hz / kRate;
  float v = phase < width ? 1.f : -1.f;
  v += PolyBlep(phase, dt);
  double t2 = phase - width;
  if (t2 < 0) t2 += 1;
  v -= PolyBlep(t2, dt);
  phase += dt;
  if (phase >= 1) phase -= 1;
  return v;
}

float Osc::Sine(double hz) {
  float v = (float)std::sin(2 * M_PI * phase);
  phase += hz / kRate;
  if (phase >= 1) phase -= 1;
  return v;
}

float Osc::Triangle(double hz) {
  float v = (float)(phase < 0.5 ? 4 * phase - 1 : 3 - 4 * phase);
  phase += hz / kRate;
  if (phase >= 1) phase -= 1;
  return v;
}

std::vector<float> Noise(size_t frames, uint64_t seed) {
  Rng rng(seed);
  std::vector<float> n(frames);
  for (auto& v : n) v = (float)(rng.Uniform() * 2 - 1);
  return n;
}

std::vector<float> Kick(double seconds, double startHz, double endHz, double punch) {
  size_t n = (size_t)(seconds * kRate);
  std::vector<float> out(n);
  double phase = 0;
  for (size_t i = 0; i < n; i++) {
    double t = (double)i / kRate;
    double hz = endHz + (startHz - endHz) * std::exp(-t * 28);
    phase += hz / kRate;
    double amp = std::exp(-t * (4.5 / seconds));
    double click = punch * std::exp(-t * 900) * (i % 2 ? 1 : -1) * 0.3;
    out[i] = (float)(std::sin(2 * M_PI * phase) * amp + click);
  }
  FadeEdges(out, 0, 200);
  return out;
}

std::vector<float> Snare(double seconds, uint64_t seed, double tone) {
  size_t n = (size_t)(seconds * kRate);
  std::vector<float> out(n), noise = Noise(n, seed);
  Svf bp;
  bp.Set(3200, 1.2);
  Osc o1, o2;
  for (size_t i = 0; i < n; i++) {
    double t = (double)i / kRate;
    float band;
    float high;
    bp.Process(noise[i], &high, &band);
    double body = (o1.Sine(185 + 40 * std::exp(-t * 40)) + 0.5 * o2.Sine(330)) * std::exp(-t * 30) * tone;
    double rattle = (0.6 * band + 0.5 * high) * std::exp(-t * (3.5 / seconds));
    out[i] = (float)(body + rattle);
  }
  FadeEdges(out, 0, 100);
  return out;
}

std::vector<float> HiHat(double seconds, uint64_t seed, bool open) {
  size_t n = (size_t)(seconds * kRate);
  std::vector<float> out(n), noise = Noise(n, seed);
  Svf hp;
  hp.Set(8000, 0.9);
  // a metallic edge: a few square partials mixed into the noise
  Osc m[4];
  const double ratios[4] = {1.0, 1.342, 1.2312, 1.6532};
  for (size_t i = 0; i < n; i++) {
    double t = (double)i / kRate;
    float metal = 0;
    for (int k = 0; k < 4; k++) metal += m[k].Square(410 * ratios[k]) * 0.25f;
    float high;
    hp.Process(noise[i] * 0.7f + metal * 0.3f, &high);
    double env = std::exp(-t * (open ? 6.0 / seconds : 45));
    out[i] = (float)(high * env);
  }
  FadeEdges(out, 10, 200);
  return out;
}

std::vector<float> Clap(uint64_t seed) {
  size_t n = (size_t)(0.35 * kRate);
  std::vector<float> out(n), noise = Noise(n, seed);
  Svf bp;
  bp.Set(1400, 2.0);
  for (size_t i = 0; i < n; i++) {
    double t = (double)i / kRate;
    // three quick bursts, then a short tail
    double env = 0;
    for (int b = 0; b < 3; b++) {
      double tb = t - b * 0.011;
      if (tb >= 0) env = std::max(env, std::exp(-tb * 180));
    }
    if (t > 0.022) env = std::max(env, 0.6 * std::exp(-(t - 0.022) * 16));
    float band;
    bp.Process(noise[i], nullptr, &band);
    out[i] = (float)(band * env * 2.2);
  }
  FadeEdges(out, 0, 300);
  return out;
}

std::vector<float> Crash(double seconds, uint64_t seed) {
  size_t n = (size_t)(seconds * kRate);
  std::vector<float> out(n), noise = Noise(n, seed);
  Svf hp;
  hp.Set(5000, 0.7);
  for (size_t i = 0; i < n; i++) {
    double t = (double)i / kRate;
    float high;
    hp.Process(noise[i], &high);
    out[i] = (float)(high * std::exp(-t * (3.0 / seconds)) * (1 - std::exp(-t * 400)));
  }
  FadeEdges(out, 0, 400);
  return out;
}

Reverb::Reverb(double size, double damping) {
  static const int combs[8] = {1116, 1188, 1277, 1356, 1139, 1211, 1300, 1379};
  static const int aps[4] = {556, 441, 579, 464};
  for (int i = 0; i < 8; i++) comb[i].assign((size_t)(combs[i] * size), 0.f);
  for (int i = 0; i < 4; i++) ap[i].assign((size_t)aps[i], 0.f);
  fb = (float)(0.7 + 0.28 * std::min(1.0, size - 0.5));
  damp = (float)damping;
}

void Reverb::Process(float inL, float inR, float& outL, float& outR) {
  float in[2] = {inL * 0.3f, inR * 0.3f};
  float out[2] = {0, 0};
  for (int s = 0; s < 2; s++) {
    for (int k = 0; k < 4; k++) {
      int i = s * 4 + k;
      float y = comb[i][ci[i]];
      store[i] = y * (1 - damp) + store[i] * damp;
      comb[i][ci[i]] = in[s] + store[i] * fb;
      if (++ci[i] >= comb[i].size()) ci[i] = 0;
      out[s] += y;
    }
    for (int k = 0; k < 2; k++) {
      int i = s * 2 + k;
      float b = ap[i][ai[i]];
      float y = -out[s] + b;
      ap[i][ai[i]] = out[s] + b * 0.5f;
      if (++ai[i] >= ap[i].size()) ai[i] = 0;
      out[s] = y;
    }
  }
  outL = out[0];
  outR = out[1];
}
