// Sample and spectrum data of what a channel sounds like now, for the
// visualizations: copied out under the lock, transformed after it.
#include "media/audio/audio_state.h"
#include <fftw3.h>
#include <algorithm>
#include <cmath>
#include <cstring>

namespace {
constexpr int kFftSize = 512;
constexpr uint32_t kMaxDataFrames = 8192;

std::mutex g_fftLock;   // FFTW plans are made (and here also run) one at a time
fftwf_plan g_plan = nullptr;
float* g_fftIn = nullptr;
fftwf_complex* g_fftOut = nullptr;
float g_window[kFftSize];

bool fftReady() {
  if (g_plan) return true;
  g_fftIn = fftwf_alloc_real(kFftSize);
  g_fftOut = fftwf_alloc_complex(kFftSize / 2 + 1);
  if (!g_fftIn || !g_fftOut) return false;
  g_plan = fftwf_plan_dft_r2c_1d(kFftSize, g_fftIn, g_fftOut, FFTW_ESTIMATE);
  for (int i = 0; i < kFftSize; i++) g_window[i] = 0.5f - 0.5f * std::cos(2.0f * (float)M_PI * i / kFftSize);
  return g_plan != nullptr;
}

// 256 magnitudes of one channel of `frames` (kFftSize frames, `channels` wide),
// written every `stride` floats. A full-scale sine centred on a bin gives 1.0:
// the Hann window sums to N/2 and a sine's energy splits over +-f.
void spectrum(const float* frames, int channels, int channel, float* out, int stride) {
  for (int i = 0; i < kFftSize; i++) {
    float x;
    if (channel >= 0) {
      x = frames[i * channels + channel];
    } else {
      x = 0;
      for (int c = 0; c < channels; c++) x += frames[i * channels + c];
      x /= (float)channels;
    }
    g_fftIn[i] = x * g_window[i];
  }
  fftwf_execute(g_plan);
  const float scale = 4.0f / kFftSize;
  for (int k = 0; k < kFftSize / 2; k++) {
    float re = g_fftOut[k][0], im = g_fftOut[k][1];
    out[k * stride] = std::sqrt(re * re + im * im) * scale;
  }
}
}

uint32_t Audio_ChannelGetData(uint32_t channel, void* buffer, uint32_t length) {
  if (!buffer) return AUDIO_BAD_VALUE;
  AudioState& a = g_audio;
  bool fft = (length & AUDIO_DATA_FFT512) != 0;
  int channels, bits;
  std::vector<float> frames;
  uint32_t count;
  {
    std::lock_guard<std::mutex> lk(a.lock);
    Stream* s;
    Play* p;
    Voice* v = Voice_Find(channel, &s, &p);
    if (!v) return AUDIO_BAD_VALUE;
    const float* data;
    int64_t start, end, mask = -1;
    if (s) {
      channels = s->channels;
      bits = s->bits;
      data = s->ring.data();
      start = s->ringStart;
      end = s->ringEnd;
      mask = (int64_t)(s->ring.size() / channels) - 1;
    } else {
      const Sample& smp = a.samples[p->sample];
      channels = smp.channels;
      bits = smp.bits;
      data = smp.data.data();
      start = 0;
      end = smp.frames;
    }
    if (fft) {
      count = kFftSize;
    } else {
      uint32_t bytesPerFrame = (uint32_t)(channels * bits / 8);
      count = std::min(length / bytesPerFrame, kMaxDataFrames);
    }
    frames.assign((size_t)count * channels, 0.0f);
    int64_t from = (int64_t)std::floor(Voice_HeardNow(*v) + 1e-6);
    for (uint32_t i = 0; i < count; i++) {
      int64_t k = from + i;
      if (v->wrapFrames > 0 && end > 0) k %= end;
      if (k < start || k >= end) continue;
      int64_t at = mask >= 0 ? (k & mask) : k;
      for (int c = 0; c < channels; c++) frames[i * channels + c] = data[at * channels + c];
    }
  }
  if (fft) {
    std::lock_guard<std::mutex> fl(g_fftLock);
    if (!fftReady()) return AUDIO_BAD_VALUE;
    float* out = static_cast<float*>(buffer);
    if ((length & AUDIO_DATA_FFT_INDIVIDUAL) && channels > 1) {
      for (int c = 0; c < channels; c++) spectrum(frames.data(), channels, c, out + c, channels);
      return (uint32_t)(kFftSize / 2 * channels * sizeof(float));
    }
    spectrum(frames.data(), channels, -1, out, 1);
    return (uint32_t)(kFftSize / 2 * sizeof(float));
  }
  uint8_t* out = static_cast<uint8_t*>(buffer);
  size_t n = (size_t)count * channels;
  for (size_t i = 0; i < n; i++) {
    float x = std::clamp(frames[i], -1.0f, 1.0f);
    if (bits == 8) {
      out[i] = (uint8_t)(int)std::lrint(std::min(x * 128.0f, 127.0f) + 128.0f);
    } else {
      int16_t v = (int16_t)std::lrint(std::min(x * 32768.0f, 32767.0f));
      memcpy(out + 2 * i, &v, 2);
    }
  }
  return (uint32_t)(n * bits / 8);
}
