#pragma once
// Sound building blocks for the effects and the demo songs: oscillators,
// filters, envelopes, drum voices, a small reverb, and writers for WAV and
// Ogg Vorbis through libsndfile. Everything is seeded; nothing is random
// between runs.
#include <cstdint>
#include <string>
#include <vector>

#include "gen_util.h"

constexpr int kRate = 44100;

struct Stereo {
  std::vector<float> l, r;
  explicit Stereo(size_t frames = 0) : l(frames, 0.f), r(frames, 0.f) {}
  size_t Frames() const { return l.size(); }
  void Resize(size_t frames) { l.resize(frames, 0.f); r.resize(frames, 0.f); }
};

// Adds a mono signal into a stereo buffer at a frame offset, panned (-1 left .. 1 right).
void MixInto(Stereo& dst, const std::vector<float>& src, long offset, float gain, float pan);
void MixIntoMono(std::vector<float>& dst, const std::vector<float>& src, long offset, float gain);
// Scales so that the peak is at the given level (0..1); silence stays silent.
void Normalize(std::vector<float>& s, float peak);
void Normalize(Stereo& s, float peak);
// Soft limiter: keeps peaks under 1 without hard clipping.
void SoftClip(Stereo& s, float drive);
void FadeEdges(std::vector<float>& s, int inFrames, int outFrames);

bool WriteWav(const std::string& path, const std::vector<float>& mono, int rate = kRate);
bool WriteWavStereo(const std::string& path, const Stereo& s, int rate = kRate);
// Ogg Vorbis at the given quality (0..1). The stream serial number is fixed
// afterwards (and the page checksums redone) so the file is the same each run.
bool WriteOgg(const std::string& path, const Stereo& s, double quality);
bool ReadMono(const std::string& path, std::vector<float>& mono, int& rate);
std::vector<float> Resample(const std::vector<float>& in, int fromRate, int toRate);

double NoteHz(double midi);

// Filters, one sample at a time.
struct OnePole {
  float a = 0, z = 0;
  void SetLowpass(double hz);
  float Low(float x) { z += a * (x - z); return z; }
  float High(float x) { return x - Low(x); }
};
struct Svf {  // state-variable filter (Chamberlin, two passes for stability)
  float f = 0.1f, q = 1.0f, low = 0, band = 0;
  void Set(double hz, double resonance);  // resonance 0.5 (soft) .. 10 (sharp)
  float Process(float x, float* high = nullptr, float* bandOut = nullptr);
};

// Oscillators with band-limited edges (PolyBLEP) so high notes stay clean.
float PolyBlep(double t, double dt);
struct Osc {
  double phase = 0;
  float Saw(double hz);
  float Square(double hz, double width = 0.5);
  float Sine(double hz);
  float Triangle(double hz);
};

// Drum and effect voices rendered to mono buffers.
std::vector<float> Kick(double seconds, double startHz, double endHz, double punch);
std::vector<float> Snare(double seconds, uint64_t seed, double tone);
std::vector<float> HiHat(double seconds, uint64_t seed, bool open);
std::vector<float> Clap(uint64_t seed);
std::vector<float> Crash(double seconds, uint64_t seed);
std::vector<float> Noise(size_t frames, uint64_t seed);

// A small stereo reverb (four combs, two all-passes per side).
struct Reverb {
  std::vector<float> comb[8], ap[4];
  size_t ci[8] = {}, ai[4] = {};
  float fb = 0.8f, damp = 0.3f, store[8] = {};
  Reverb(double size, double damping);
  void Process(float inL, float inR, float& outL, float& outR);
};
