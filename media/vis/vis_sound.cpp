// The sound data handed to a plug-in: what the listener hears now, from the
// music channel.
#include "media/audio/audio.h"
#include "media/vis/vis_internal.h"
#include <algorithm>
#include <cmath>
#include <cstring>

namespace {
constexpr int kSamples = 512, kBins = 256;

void fillWaveform(uint32_t channel, uint32_t flags) {
  TvVisSoundData& s = g_vis.sound;
  bool mono = flags & AUDIO_SAMPLE_MONO, eight = flags & AUDIO_SAMPLE_8BITS;
  int channels = mono ? 1 : 2;
  uint32_t bytes = (uint32_t)(kSamples * channels * (eight ? 1 : 2));
  union {
    int16_t s16[kSamples * 2];
    uint8_t u8[kSamples * 2];
  } buf;
  if (Audio_ChannelGetData(channel, &buf, bytes) != bytes) {
    memset(s.waveform, 128, sizeof s.waveform);
    return;
  }
  for (int c = 0; c < channels; c++)
    for (int i = 0; i < kSamples; i++) {
      int at = i * channels + c;
      // 8-bit data is unsigned already; 16-bit keeps its top byte, centred on 128.
      s.waveform[c][i] = eight ? buf.u8[at] : (uint8_t)((buf.s16[at] >> 8) + 128);
    }
  if (mono) memcpy(s.waveform[1], s.waveform[0], kSamples);
}

uint8_t binByte(float magnitude) {
  float v = magnitude * 512.0f;
  if (!(v > 0)) return 0;   // NaN too
  return (uint8_t)std::min(255.0f, v);
}

void fillSpectrum(uint32_t channel, uint32_t flags) {
  TvVisSoundData& s = g_vis.sound;
  bool mono = flags & AUDIO_SAMPLE_MONO;
  float bins[kBins * 2];
  uint32_t want = mono ? AUDIO_DATA_FFT512 : AUDIO_DATA_FFT512 | AUDIO_DATA_FFT_INDIVIDUAL;
  uint32_t bytes = (uint32_t)(kBins * (mono ? 1 : 2) * sizeof(float));
  if (Audio_ChannelGetData(channel, bins, want) != bytes) {
    memset(s.spectrum, 0, sizeof s.spectrum);
    return;
  }
  if (mono) {
    for (int k = 0; k < kBins; k++) s.spectrum[0][k] = s.spectrum[1][k] = binByte(bins[k]);
  } else {
    for (int k = 0; k < kBins; k++) {
      s.spectrum[0][k] = binByte(bins[2 * k]);
      s.spectrum[1][k] = binByte(bins[2 * k + 1]);
    }
  }
}
}  // namespace

void Vis_FillSound(uint32_t timeMs, uint32_t channel, uint32_t needs) {
  TvVisSoundData& s = g_vis.sound;
  s.time = timeMs;
  if (!(needs & (TV_VIS_NEEDS_WAVEFORM | TV_VIS_NEEDS_SPECTRUM))) return;
  // A channel that is gone (or none at all) sounds like silence.
  uint32_t flags = channel ? Audio_ChannelGetFlags(channel) : AUDIO_BAD_VALUE;
  if (flags == AUDIO_BAD_VALUE) {
    if (needs & TV_VIS_NEEDS_WAVEFORM) memset(s.waveform, 128, sizeof s.waveform);
    if (needs & TV_VIS_NEEDS_SPECTRUM) memset(s.spectrum, 0, sizeof s.spectrum);
    return;
  }
  if (needs & TV_VIS_NEEDS_WAVEFORM) fillWaveform(channel, flags);
  if (needs & TV_VIS_NEEDS_SPECTRUM) fillSpectrum(channel, flags);
}
