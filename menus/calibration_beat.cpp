#include "menus/calibration_beat.h"
#include "media/audio/audio.h"
#include "platform/clock.h"
#include "platform/log.h"
#include <cmath>
#include <cstring>
#include <vector>

namespace {
constexpr int kRate = 44100;
constexpr double kClickMs = 30;
constexpr int kClickVolume = 80;

void put16(uint8_t* p, uint32_t v) { p[0] = (uint8_t)v, p[1] = (uint8_t)(v >> 8); }
void put32(uint8_t* p, uint32_t v) { put16(p, v & 0xFFFF), put16(p + 2, v >> 16); }

// A short tone that dies away fast: heard as a tick, with a sharp start to tap on.
float clickAt(double t, double hz) {
  double env = std::exp(-t * 1000 / 6.0);
  return (float)(std::sin(2 * M_PI * hz * t) * env);
}
}  // namespace

int CalibBeat_MakeWav(uint8_t* out, int capacity, int rate, double periodMs) {
  if (rate <= 0 || !(periodMs >= 50 && periodMs <= 5000)) return 0;
  int period = (int)std::lround(periodMs * rate / 1000);
  int frames = period * kCalibBeatsPerBar;
  int bytes = 44 + frames * 2;
  if (!out || capacity < bytes) return 0;
  memcpy(out, "RIFF", 4);
  put32(out + 4, bytes - 8);
  memcpy(out + 8, "WAVEfmt ", 8);
  put32(out + 16, 16);
  put16(out + 20, 1);
  put16(out + 22, 1);
  put32(out + 24, rate);
  put32(out + 28, rate * 2);
  put16(out + 32, 2);
  put16(out + 34, 16);
  memcpy(out + 36, "data", 4);
  put32(out + 40, frames * 2);
  int clickFrames = (int)(kClickMs * rate / 1000);
  for (int i = 0; i < frames; i++) {
    int inBeat = i % period;
    float v = 0;
    if (inBeat < clickFrames) v = clickAt(inBeat / (double)rate, i < period ? 1760 : 1320);
    put16(out + 44 + i * 2, (uint16_t)(int16_t)std::lround(v * 0.8 * 32767));
  }
  return bytes;
}

void CalibBeat_Start(CalibBeat& b, double nowMs, double periodMs) {
  CalibBeat_Stop(b);
  b = CalibBeat{};
  b.periodMs = periodMs > 0 ? periodMs : kCalibPeriodMs;
  std::vector<uint8_t> wav(44 + (size_t)(b.periodMs * kRate / 1000 + 1) * kCalibBeatsPerBar * 2);
  int bytes = CalibBeat_MakeWav(wav.data(), (int)wav.size(), kRate, b.periodMs);
  if (bytes > 0) b.sample = Audio_SampleLoad(true, wav.data(), 0, (uint32_t)bytes, 1, AUDIO_SAMPLE_LOOP);
  if (b.sample) b.channel = Audio_SamplePlay(b.sample);
  if (b.channel) {
    Audio_ChannelSetAttributes(b.channel, -1, kClickVolume, -101);
    b.loopMs = b.periodMs * kCalibBeatsPerBar;
    WriteLog("Timing calibration: the beat plays\n");
    return;
  }
  // no sound: the beat is the clock's, after a lead-in counted in whole ms from
  // the line that says so (scripts can count from it)
  if (b.sample) Audio_SampleFree(b.sample);
  b.sample = 0;
  b.known = true;
  b.beatZeroMs = std::floor(Clock_MsPrecise()) + kCalibLeadInBeats * b.periodMs;
  WriteLog("Timing calibration: no sound for the beat, it runs on the clock\n");
}

void CalibBeat_Frame(CalibBeat& b, double nowMs) {
  if (!b.channel) return;
  uint64_t pos = Audio_ChannelGetPosition(b.channel);
  if (pos == AUDIO_BAD_POSITION) return;
  double posMs = Audio_ChannelBytes2Seconds(b.channel, pos) * 1000.0;
  if (posMs < 0) return;
  // the loop starts over: count its turns
  if (posMs + b.loopMs / 2 < b.lastPosMs) b.heardMs += b.loopMs;
  b.lastPosMs = posMs;
  double heard = b.heardMs + posMs;
  if (heard <= 0) return;   // nothing heard yet: the device's delay
  double zero = nowMs - heard;
  // the heard position moves smoothly; a small steer keeps frame jitter out
  b.beatZeroMs = b.known ? b.beatZeroMs + (zero - b.beatZeroMs) * 0.1 : zero;
  b.known = true;
}

void CalibBeat_Stop(CalibBeat& b) {
  if (b.channel) Audio_ChannelStop(b.channel);
  if (b.sample) Audio_SampleFree(b.sample);
  b.channel = b.sample = 0;
}

bool CalibBeat_Phase(const CalibBeat& b, double atMs, int& beat, double& through) {
  if (!b.known) return false;
  double beats = (atMs - b.beatZeroMs) / b.periodMs;
  beat = (int)std::floor(beats);
  through = beats - beat;
  return true;
}
