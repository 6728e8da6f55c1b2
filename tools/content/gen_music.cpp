#include "gen_music.h"

#include <algorithm>
#include <cmath>

// ---------------------------------------------------------------- timing

double TempoMap::BpmAt(double pos) const {
  double b = bpm;
  for (auto& c : changes)
    if (c.first <= pos) b = c.second;
  return b;
}

double TempoMap::Seconds(double pos) const {
  double t = gapMs / 1000.0, prev = 0, b = bpm;
  for (auto& c : changes) {
    if (c.first >= pos) break;
    t += (c.first - prev) * 15.0 / b;  // a sixteenth lasts 60 / bpm / 4 seconds
    prev = c.first;
    b = c.second;
  }
  t += (pos - prev) * 15.0 / b;
  for (auto& s : stops)
    if (s.first < pos) t += s.second / 1000.0;
  return t;
}

// ---------------------------------------------------------------- arrangement

namespace {

struct Pattern {
  const char* kick;
  const char* snare;
  const char* hat;
  const char* open;
  const char* bass;
};

// Sixteen steps a bar: x hit, o soft hit (ghost), . rest.
const Pattern kPatterns[4][2] = {
    // house: verse, chorus
    {{"x...x...x...x...", "....x.......x...", "x.x.x.x.x.x.x.x.", "..x...x...x...x.", "..x...x...x...xo"},
     {"x...x...x...x...", "....x.......x...", "xxxxxxxxxxxxxxxx", "..x...x...x...x.", "x.x.x.x.x.x.x.x."}},
    // electro
    {{"x.....x...x.....", "....x.......x...", "x.x.x.x.x.x.x.x.", "..............x.", "x.xx..x.x.x..x.."},
     {"x..x..x...x..x..", "....x.......x..o", "xxxxxxxxxxxxxxxx", "......x.......x.", "x.xx.xx.x.xx.xx."}},
    // breakbeat funk
    {{"x.....x..x......", "....x..o.o..x...", "x.xxx.xxx.xxx.xx", "..............x.", "x..x..x.x..x.x.."},
     {"x.x.......x..x..", "....x..o.o..x..o", "xxxxxxxxxxxxxxxx", "......x.......x.", "x..x.xx.x..x.xx."}},
    // drum and bass
    {{"x.........x.....", "....x.......x...", "x.x.x.x.x.x.x.x.", "......x.........", "x.......x..x...."},
     {"x.........x..x..", "....x.......x..o", "x.xxx.xxx.xxx.xx", "......x.......x.", "x.....x...x..x.."}},
};

// Chord progressions in a minor key: each chord is three offsets from the tonic.
const int kProgressions[4][4][3] = {
    {{0, 3, 7}, {8, 12, 15}, {3, 7, 10}, {10, 14, 17}},  // i VI III VII
    {{0, 3, 7}, {5, 8, 12}, {8, 12, 15}, {7, 11, 14}},   // i iv VI V
    {{0, 3, 7}, {10, 14, 17}, {8, 12, 15}, {7, 10, 14}}, // i VII VI v
    {{0, 3, 7}, {8, 12, 15}, {5, 8, 12}, {7, 11, 14}},   // i VI iv V
};
const int kScale[7] = {0, 2, 3, 5, 7, 8, 10};  // natural minor

bool Hit(const char* p, int step) { return p[step] == 'x' || p[step] == 'o'; }
float Vel(const char* p, int step) { return p[step] == 'o' ? 0.35f : 1.0f; }

// A two-bar melody: rhythm from a few shapes, pitches walking the chord tones.
std::vector<NoteEvent> Phrase(double start, const int chordA[3], const int chordB[3], int root, Rng& rng,
                              bool answer) {
  static const char* rhythms[] = {
      "x.x.x...x.x.x...x.x.x.x.x-------", "x..x..x.x.x.x...x..x..x.x-------",
      "x.xxx.x.x...x.x.x.xxx.x.x-------", "x...x.x.x.x.x...x...x.x.x-------",
  };
  const char* r = rhythms[rng.Range(0, 3)];
  std::vector<NoteEvent> out;
  int degree = rng.Range(2, 4);
  for (int i = 0; i < 32; i++) {
    if (r[i] != 'x') continue;
    int len = 1;
    while (i + len < 32 && r[i + len] != 'x') len++;
    const int* chord = i < 16 ? chordA : chordB;
    // chord tones on strong steps, scale steps between
    if (i % 4 == 0) {
      int tone = chord[rng.Range(0, 2)];
      int best = degree, bestD = 99;
      for (int d = 0; d < 14; d++) {
        int pitch = kScale[d % 7] + 12 * (d / 7);
        int dist = std::abs(pitch - tone) % 12;
        int move = std::abs(d - degree);
        if (dist == 0 && move < bestD) {
          best = d;
          bestD = move;
        }
      }
      degree = best;
    } else {
      degree += rng.Chance(0.5) ? 1 : -1;
    }
    if (i + len >= 25 && answer) degree = 7;  // the answer phrase comes home to the tonic
    degree = std::clamp(degree, 0, 11);
    int pitch = root + 12 + kScale[degree % 7] + 12 * (degree / 7);
    out.push_back({start + i, (double)std::min(len, 16), kLead, pitch, i % 4 == 0 ? 1.0f : 0.8f});
    if (len > 16) break;
  }
  return out;
}

}  // namespace

std::vector<NoteEvent> Music_Events(const Arrangement& a, const TempoMap& tm) {
  Rng rng(a.seed);
  std::vector<NoteEvent> ev;
  const int bars = (int)a.sections.size();
  const auto& prog = kProgressions[a.seed % 4];
  std::vector<NoteEvent> phraseA, phraseB;
  for (int bar = 0; bar < bars; bar++) {
    char sec = a.sections[bar];
    char prevSec = bar ? a.sections[bar - 1] : ' ';
    double b0 = bar * 16.0;
    const Pattern& p = kPatterns[a.style][sec == 'C' ? 1 : 0];
    const int* chord = prog[bar % 4];
    bool lastOfEight = bar % 8 == 7;
    bool drums = sec == 'V' || sec == 'C' || sec == 'O' || (sec == 'I' && bar % 4 >= 2);
    if (sec != prevSec && (sec == 'V' || sec == 'C' || sec == 'O')) ev.push_back({b0, 0, kCrash, 0, 1.0f});
    for (int s = 0; s < 16; s++) {
      double pos = b0 + s;
      if (drums) {
        if (Hit(p.kick, s) && !(sec == 'I' && s % 4)) ev.push_back({pos, 0, kKick, 0, Vel(p.kick, s)});
        if (Hit(p.snare, s) && sec != 'I') ev.push_back({pos, 0, a.style == 0 ? kClap : kSnare, 0, Vel(p.snare, s)});
        if (Hit(p.hat, s)) ev.push_back({pos, 0, kHat, 0, (s % 2 ? 0.5f : 0.8f) * (sec == 'I' ? 0.6f : 1.0f)});
        if (Hit(p.open, s) && sec != 'I') ev.push_back({pos, 0, kOpenHat, 0, 0.7f});
      } else if (sec == 'B' && s % 4 == 0 && bar % 2 == 1) {
        ev.push_back({pos, 0, kHat, 0, 0.4f});
      }
      if ((sec == 'V' || sec == 'C' || sec == 'O') && Hit(p.bass, s)) {
        int len = 1;
        while (s + len < 16 && !Hit(p.bass, s + len) && len < 4) len++;
        int pitch = a.root - 24 + chord[0] + ((s == 6 || s == 14) && a.style != 3 ? 12 : 0);
        if (a.style == 2 && s == 11) pitch = a.root - 24 + chord[2] - 12;  // a walking note
        ev.push_back({pos, (double)len, kBass, pitch, Vel(p.bass, s)});
      }
    }
    // a drum fill closes every eighth bar: sixteenth snares, or triplets in the funk song
    if (lastOfEight && (sec == 'V' || sec == 'C')) {
      ev.erase(std::remove_if(ev.begin(), ev.end(),
                              [&](const NoteEvent& e) { return e.pos >= b0 + 12 && (e.inst == kSnare || e.inst == kClap); }),
               ev.end());
      if (a.style == 2) {
        for (int k = 0; k < 6; k++) ev.push_back({b0 + 12 + k * (2.0 / 3.0), 0, kSnare, 0, 0.55f + 0.08f * k});
      } else {
        for (int k = 0; k < 4; k++) ev.push_back({b0 + 12 + k, 0, kSnare, 0, 0.5f + 0.15f * k});
      }
    }
    // harmony
    if (sec != 'I' || bar % 4 >= 2 || bar >= 2) {
      double start = sec == 'I' && bar % 2 == 0 ? b0 + 8 : b0;
      for (int n = 0; n < 3; n++) ev.push_back({start, b0 + 16 - start, kPad, a.root + chord[n], 0.8f});
    }
    if (sec == 'C') {
      static const char* stabs[4] = {"..x...x...x...x.", "x..x..x...x.....", "x.x..x..x.x..x..", "..x..x....x..x.."};
      const char* st = stabs[a.style];
      for (int s = 0; s < 16; s++)
        if (st[s] == 'x')
          for (int n = 0; n < 3; n++) ev.push_back({b0 + s, 1.5, kStab, a.root + 12 + chord[n], 0.7f});
    }
    if (sec == 'B' || sec == 'I' || sec == 'V') {
      // arpeggio on sixteenths (eighths in the intro)
      int stepEvery = sec == 'I' ? 2 : 1;
      for (int s = 0; s < 16; s += stepEvery) {
        int tone = chord[(s / stepEvery) % 3] + 12 * (1 + ((s / 3) % 2));
        ev.push_back({b0 + s, 1, kArp, a.root + tone, s % 4 == 0 ? 0.8f : 0.5f});
      }
    }
    // melody in two-bar phrases: A, A', B, A'' over each eight bars of chorus
    if ((sec == 'C' || (sec == 'V' && bar % 4 >= 2)) && bar % 2 == 0) {
      int which = (bar / 2) % 4;
      if (phraseA.empty()) {
        Rng pr(a.seed * 7 + 1);
        phraseA = Phrase(0, prog[0], prog[1], a.root, pr, false);
        Rng pr2(a.seed * 7 + 2);
        phraseB = Phrase(0, prog[2], prog[3], a.root, pr2, true);
      }
      const auto& ph = which == 2 ? phraseB : phraseA;
      for (auto e : ph) {
        e.pos += b0;
        if (which == 1 && e.pos - b0 >= 24) e.pitch += 2;  // a small variation at the end
        ev.push_back(e);
      }
    }
  }
  // bars ending in a stop: a big hit on the fourth beat, then nothing until the next bar
  for (int bar : a.stopBars) {
    double hit = bar * 16.0 + 12, end = bar * 16.0 + 16;
    ev.erase(std::remove_if(ev.begin(), ev.end(), [&](const NoteEvent& e) { return e.pos >= hit && e.pos < end; }),
             ev.end());
    for (auto& e : ev)
      if (e.pos < hit && e.pos + e.len > hit && e.inst != kPad) e.len = hit - e.pos;
    const int* chord = kProgressions[a.seed % 4][bar % 4];
    ev.push_back({hit, 0, kCrash, 0, 1.0f});
    ev.push_back({hit, 0, kKick, 0, 1.0f});
    for (int n = 0; n < 3; n++) ev.push_back({hit, 4, kStab, a.root + 12 + chord[n], 1.0f});
    ev.push_back({hit, 4, kBass, a.root - 24 + chord[0], 1.0f});
  }
  std::stable_sort(ev.begin(), ev.end(), [](const NoteEvent& x, const NoteEvent& y) { return x.pos < y.pos; });
  (void)tm;
  return ev;
}

// ---------------------------------------------------------------- rendering

namespace {

std::vector<float> BassVoice(double hz, double seconds, float vel) {
  size_t n = (size_t)((seconds + 0.05) * kRate);
  std::vector<float> out(n);
  Osc saw, sub;
  Svf f;
  for (size_t i = 0; i < n; i++) {
    double t = (double)i / kRate;
    f.Set(180 + 1400 * std::exp(-t * 14) * vel, 2.2);
    float x = saw.Saw(hz) * 0.6f + sub.Square(hz / 2, 0.5) * 0.4f;
    double env = std::min(1.0, t / 0.004) * (t > seconds ? std::exp(-(t - seconds) * 90) : 1.0);
    out[i] = f.Process(x) * (float)env;
  }
  return out;
}

std::vector<float> PadVoice(double hz, double seconds, double bright) {
  size_t n = (size_t)((seconds + 0.35) * kRate);
  std::vector<float> out(n);
  Osc a, b, c;
  Svf f;
  f.Set(900 + 1300 * bright, 0.8);
  for (size_t i = 0; i < n; i++) {
    double t = (double)i / kRate;
    float x = (a.Saw(hz * 0.997) + b.Saw(hz * 1.004) + 0.5f * c.Triangle(hz / 2)) * 0.4f;
    double env = std::min(1.0, t / 0.06) * (t > seconds ? std::exp(-(t - seconds) * 10) : 1.0);
    out[i] = f.Process(x) * (float)env;
  }
  return out;
}

std::vector<float> StabVoice(double hz, double seconds) {
  size_t n = (size_t)((seconds + 0.25) * kRate);
  std::vector<float> out(n);
  Osc a, b;
  Svf f;
  for (size_t i = 0; i < n; i++) {
    double t = (double)i / kRate;
    f.Set(600 + 4200 * std::exp(-t * 18), 1.5);
    float x = (a.Saw(hz) + b.Square(hz * 1.003, 0.4)) * 0.45f;
    double env = std::exp(-t * 7) * (t > seconds ? std::exp(-(t - seconds) * 30) : 1.0);
    out[i] = f.Process(x) * (float)env;
  }
  return out;
}

std::vector<float> LeadVoice(double hz, double seconds, float vel) {
  size_t n = (size_t)((seconds + 0.12) * kRate);
  std::vector<float> out(n);
  Osc a, b, lfo;
  Svf f;
  f.Set(3200, 1.1);
  for (size_t i = 0; i < n; i++) {
    double t = (double)i / kRate;
    double vib = t > 0.18 ? 1 + 0.006 * lfo.Sine(5.5) : 1.0;
    float x = a.Square(hz * vib, 0.32) * 0.55f + b.Saw(hz * vib * 1.002) * 0.35f;
    double env = std::min(1.0, t / 0.008) * (0.75 + 0.25 * std::exp(-t * 6)) *
                 (t > seconds ? std::exp(-(t - seconds) * 40) : 1.0);
    out[i] = f.Process(x) * (float)(env * vel);
  }
  return out;
}

std::vector<float> ArpVoice(double hz, float vel) {
  size_t n = (size_t)(0.35 * kRate);
  std::vector<float> out(n);
  Osc a, b;
  for (size_t i = 0; i < n; i++) {
    double t = (double)i / kRate;
    out[i] = (float)((a.Sine(hz) * 0.7 + b.Sine(hz * 3.01) * 0.2 * std::exp(-t * 20)) * std::exp(-t * 11) * vel);
  }
  FadeEdges(out, 20, 300);
  return out;
}

}  // namespace

Stereo Music_Render(const std::vector<NoteEvent>& events, const TempoMap& tm, uint64_t seed) {
  double end = 0;
  for (auto& e : events) end = std::max(end, tm.Seconds(e.pos + e.len));
  size_t frames = (size_t)((end + 2.5) * kRate);
  Stereo dry(frames), send(frames), delay(frames);
  // a few variants of each drum so repeated hits do not sound machine-made
  std::vector<float> kicks[2] = {Kick(0.45, 150, 46, 1.0), Kick(0.42, 140, 48, 0.8)};
  std::vector<float> snares[3] = {Snare(0.28, seed + 1, 1.0), Snare(0.26, seed + 2, 0.9), Snare(0.3, seed + 3, 1.1)};
  std::vector<float> hats[3] = {HiHat(0.06, seed + 4, false), HiHat(0.05, seed + 5, false), HiHat(0.07, seed + 6, false)};
  std::vector<float> open = HiHat(0.35, seed + 7, true), clap = Clap(seed + 8), crash = Crash(2.2, seed + 9);
  Rng rng(seed);
  for (auto& e : events) {
    long at = (long)std::lround(tm.Seconds(e.pos) * kRate);
    double secs = tm.Seconds(e.pos + e.len) - tm.Seconds(e.pos);
    float v = e.vel;
    switch (e.inst) {
      case kKick: MixInto(dry, kicks[rng.Range(0, 1)], at, 0.95f * v, 0); break;
      case kSnare:
        MixInto(dry, snares[rng.Range(0, 2)], at, 0.55f * v, 0.05f);
        MixInto(send, snares[0], at, 0.25f * v, 0);
        break;
      case kClap:
        MixInto(dry, clap, at, 0.5f * v, -0.05f);
        MixInto(send, clap, at, 0.3f * v, 0);
        break;
      case kHat: MixInto(dry, hats[rng.Range(0, 2)], at, 0.3f * v, 0.35f); break;
      case kOpenHat: MixInto(dry, open, at, 0.16f * v, -0.3f); break;
      case kCrash:
        MixInto(dry, crash, at, 0.22f * v, 0.2f);
        MixInto(send, crash, at, 0.1f * v, 0);
        break;
      case kBass: MixInto(dry, BassVoice(NoteHz(e.pitch), secs, v), at, 0.42f * v, 0); break;
      case kPad: {
        auto p = PadVoice(NoteHz(e.pitch), secs, 0.5);
        float pan = (float)((e.pitch % 3) - 1) * 0.4f;
        MixInto(dry, p, at, 0.07f * v, pan);
        MixInto(send, p, at, 0.08f * v, pan);
        break;
      }
      case kStab: {
        auto s = StabVoice(NoteHz(e.pitch), secs);
        MixInto(dry, s, at, 0.1f * v, 0.15f);
        MixInto(send, s, at, 0.06f * v, 0);
        break;
      }
      case kLead: {
        auto l = LeadVoice(NoteHz(e.pitch), secs, v);
        MixInto(dry, l, at, 0.16f, -0.1f);
        MixInto(delay, l, at, 0.1f, 0);
        MixInto(send, l, at, 0.06f, 0);
        break;
      }
      case kArp: {
        auto a = ArpVoice(NoteHz(e.pitch), v);
        MixInto(dry, a, at, 0.12f, (float)std::sin(e.pos * 0.7) * 0.6f);
        MixInto(send, a, at, 0.08f, 0);
        break;
      }
    }
  }
  // ping-pong echo of the lead, three sixteenths at the opening tempo
  long d = (long)(3 * 15.0 / tm.bpm * kRate);
  for (size_t i = 0; i < frames; i++) {
    float in = delay.l[i];
    if (i >= (size_t)d) {
      delay.l[i] = in + delay.r[i - d] * 0.45f;
      delay.r[i] = delay.l[i - d] * 0.45f;
    }
    dry.l[i] += delay.l[i] * 0.5f;
    dry.r[i] += delay.r[i] * 0.5f;
  }
  Reverb rv(1.0, 0.35);
  for (size_t i = 0; i < frames; i++) {
    float l, r;
    rv.Process(send.l[i], send.r[i], l, r);
    dry.l[i] += l;
    dry.r[i] += r;
  }
  SoftClip(dry, 1.2f);
  Normalize(dry, 0.89f);
  return dry;
}
