// The Default sound set: the effect samples (menu clicks, chimes, crowd
// cheer and boo, the three menu loops), the announcer's ticks and alarms, and
// the announcer's spoken lines, read by espeak-ng when it is installed. Without
// espeak-ng the spoken lines are left out and those folders stay empty, so the
// game is simply silent there. Every file is 16-bit WAV at 44.1 kHz.
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>

#include "gen.h"
#include "gen_audio.h"

extern char** environ;

namespace {

std::vector<float> Frames(double seconds) { return std::vector<float>((size_t)(seconds * kRate), 0.f); }

// A struck bell-like tone: a few inharmonic partials with their own decays.
std::vector<float> Bell(double hz, double seconds, double bright) {
  auto out = Frames(seconds);
  const double ratio[4] = {1.0, 2.0, 2.76, 5.4};
  const double amp[4] = {1.0, 0.5 * bright, 0.3 * bright, 0.12 * bright};
  for (int k = 0; k < 4; k++) {
    Osc o;
    for (size_t i = 0; i < out.size(); i++) {
      double t = (double)i / kRate;
      out[i] += (float)(o.Sine(hz * ratio[k]) * amp[k] * std::exp(-t * (3 + 4 * k) / seconds));
    }
  }
  FadeEdges(out, 30, 300);
  return out;
}

std::vector<float> Blip(double hz0, double hz1, double seconds, bool square) {
  auto out = Frames(seconds);
  Osc o;
  OnePole lp;
  lp.SetLowpass(5000);
  for (size_t i = 0; i < out.size(); i++) {
    double t = (double)i / kRate, u = t / seconds;
    double hz = hz0 * std::pow(hz1 / hz0, u);
    float v = square ? o.Square(hz, 0.3) * 0.5f : o.Sine(hz);
    out[i] = lp.Low(v) * (float)std::exp(-u * 4);
  }
  FadeEdges(out, 40, 200);
  return out;
}

std::vector<float> Select() {
  auto a = Blip(880, 1320, 0.09, true);
  auto out = Frames(0.16);
  MixIntoMono(out, a, 0, 0.8f);
  MixIntoMono(out, Blip(1320, 1760, 0.07, false), (long)(0.05 * kRate), 0.5f);
  Normalize(out, 0.8f);
  return out;
}

std::vector<float> Switch() {
  auto out = Blip(1600, 900, 0.05, false);
  auto n = Noise(out.size(), 3);
  for (size_t i = 0; i < out.size(); i++) out[i] += n[i] * 0.15f * (float)std::exp(-(double)i / 200);
  Normalize(out, 0.7f);
  return out;
}

std::vector<float> Start() {
  auto out = Frames(1.4);
  const double notes[5] = {72, 76, 79, 84, 88};
  for (int i = 0; i < 5; i++) MixIntoMono(out, Bell(NoteHz(notes[i]), 1.0, 0.8), (long)(i * 0.06 * kRate), 0.45f);
  auto sparkle = HiHat(0.6, 17, true);
  MixIntoMono(out, sparkle, (long)(0.24 * kRate), 0.25f);
  Normalize(out, 0.85f);
  return out;
}

// A crowd: many voices of filtered noise with their own swells, plus a few whistles.
std::vector<float> Crowd(bool cheer, double seconds, uint64_t seed) {
  auto out = Frames(seconds);
  Rng rng(seed);
  int voices = 24;
  for (int v = 0; v < voices; v++) {
    auto n = Noise(out.size(), seed * 100 + v);
    Svf f;
    Osc vib;
    double centre = cheer ? rng.Between(700, 2600) : rng.Between(250, 520);
    double start = rng.Between(0, seconds * 0.25), rate = rng.Between(3, 7);
    Osc voice;
    double pitch = cheer ? rng.Between(220, 420) : rng.Between(95, 170);
    for (size_t i = 0; i < out.size(); i++) {
      double t = (double)i / kRate;
      if (t < start) continue;
      double u = (t - start) / (seconds - start);
      double env = std::min(1.0, (t - start) * 6) * std::pow(1 - u, 1.5);
      double wob = 0.6 + 0.4 * std::sin(2 * M_PI * rate * t + v);
      f.Set(centre * (1 + 0.05 * vib.Sine(rate * 0.7)), cheer ? 2.0 : 4.0);
      float band;
      // "ooh" and "yeah": a buzzing voice source mixed with breath
      float src = n[i] * 0.6f + voice.Saw(pitch * (1 + 0.03 * std::sin(2 * M_PI * 5 * t))) * 0.4f;
      f.Process(src, nullptr, &band);
      out[i] += (float)(band * env * wob);
    }
  }
  if (cheer)
    for (int w = 0; w < 3; w++) {
      Osc o;
      double t0 = rng.Between(0.2, seconds * 0.5), len = rng.Between(0.3, 0.6), hz = rng.Between(1800, 2600);
      for (size_t i = (size_t)(t0 * kRate); i < out.size() && i < (size_t)((t0 + len) * kRate); i++) {
        double u = ((double)i / kRate - t0) / len;
        out[i] += (float)(o.Sine(hz * (1 + 0.25 * std::sin(M_PI * u))) * std::sin(M_PI * u) * 0.25);
      }
    }
  FadeEdges(out, 800, 4000);
  Normalize(out, 0.8f);
  return out;
}

std::vector<float> LoseLife() {
  auto out = Frames(0.7);
  Osc a, b;
  for (size_t i = 0; i < out.size(); i++) {
    double t = (double)i / kRate;
    double hz = 600 * std::exp(-t * 2.5);
    out[i] = (float)((a.Square(hz, 0.5) * 0.4 + b.Saw(hz * 1.01) * 0.3) * std::exp(-t * 4));
  }
  FadeEdges(out, 40, 800);
  Normalize(out, 0.75f);
  return out;
}

std::vector<float> Tick() {
  auto out = Frames(0.08);
  Osc o;
  for (size_t i = 0; i < out.size(); i++) {
    double t = (double)i / kRate;
    out[i] = (float)(o.Sine(1900) * std::exp(-t * 90) + o.Sine(950) * 0.3 * std::exp(-t * 60));
  }
  FadeEdges(out, 10, 100);
  Normalize(out, 0.7f);
  return out;
}

std::vector<float> Alarm() {
  auto out = Frames(1.0);
  for (int k = 0; k < 4; k++) MixIntoMono(out, Blip(k % 2 ? 660 : 880, k % 2 ? 660 : 880, 0.2, true), (long)(k * 0.24 * kRate), 0.7f);
  Normalize(out, 0.75f);
  return out;
}

// An 8-second menu loop (four bars at 120 beats a minute) that joins end to start.
std::vector<float> MenuLoop(int kind) {
  const double beat = 0.5, seconds = 8.0;
  std::vector<float> out = Frames(seconds + 2.0);  // the tail wraps round at the end
  static const int chords[3][4][3] = {{{57, 60, 64}, {53, 57, 60}, {55, 59, 62}, {52, 55, 59}},
                                      {{60, 64, 67}, {57, 60, 64}, {53, 57, 60}, {55, 59, 62}},
                                      {{62, 65, 69}, {58, 62, 65}, {60, 64, 67}, {57, 61, 64}}};
  auto kick = Kick(0.35, 140, 48, 1.0);
  auto hat = HiHat(0.05, 5, false);
  for (int b = 0; b < 16; b++) {
    long at = (long)(b * beat * kRate);
    if (kind != 1 || b % 2 == 0) MixIntoMono(out, kick, at, 0.6f);
    MixIntoMono(out, hat, at + (long)(beat / 2 * kRate), 0.25f);
  }
  for (int bar = 0; bar < 4; bar++) {
    for (int n = 0; n < 3; n++) {
      // soft pad: two detuned saws through a gentle low-pass
      double hz = NoteHz(chords[kind][bar][n]);
      Osc a, b2;
      OnePole lp;
      lp.SetLowpass(1400 + 300 * kind);
      size_t len = (size_t)(4 * beat * kRate);
      std::vector<float> v(len + kRate / 2);
      for (size_t i = 0; i < v.size(); i++) {
        double t = (double)i / kRate;
        double env = std::min(1.0, t / 0.08) * (t > 4 * beat ? std::exp(-(t - 4 * beat) * 8) : 1.0);
        v[i] = lp.Low((a.Saw(hz) + b2.Saw(hz * 1.006)) * 0.5f) * (float)env;
      }
      MixIntoMono(out, v, (long)(bar * 4 * beat * kRate), 0.16f);
    }
    // an arpeggio on eighths
    for (int e = 0; e < 8; e++) {
      int note = chords[kind][bar][e % 3] + 12 * (1 + (e / 3) % 2);
      MixIntoMono(out, Bell(NoteHz(note), 0.4, 0.5), (long)((bar * 4 + e * 0.5) * beat * kRate), 0.12f);
    }
  }
  size_t loop = (size_t)(seconds * kRate);
  for (size_t i = loop; i < out.size(); i++) out[i - loop] += out[i];
  out.resize(loop);
  Normalize(out, 0.7f);
  return out;
}

struct Line {
  const char* file;  // path under the sound set, without the ending
  const char* text;
  int pitch;         // espeak-ng pitch 0..99
  int speed;         // words a minute
};

const Line kSingles[] = {
    {"attract/attract-00", "Welcome to Tarvolen!", 55, 150},
    {"attract/attract-01", "Come on, step up and dance!", 60, 155},
    {"attract/attract-02", "Press start to play!", 55, 150},
    {"select/style", "Select your style!", 55, 150},
    {"select/song", "Pick a song!", 58, 150},
    {"select/rkv2-g0-single", "Single!", 60, 140},
    {"select/rkv2-g0-versus", "Versus!", 60, 140},
    {"select/rkv2-g0-double", "Double!", 60, 140},
    {"select/rkv2-g1-single", "Solo!", 60, 140},
    {"select/profile", "Who is dancing today?", 55, 150},
    {"newrecord", "It's a new record!", 65, 150},
    {"combo/combo-end", "The combo is over!", 50, 150},
    {"combo/combo-0100", "One hundred combo!", 60, 160},
    {"combo/combo-0200", "Two hundred combo!", 60, 160},
    {"combo/combo-0300", "Three hundred combo!", 62, 160},
    {"combo/combo-0400", "Four hundred combo!", 62, 160},
    {"combo/combo-0500", "Five hundred combo!", 64, 160},
    {"combo/combo-0600", "Six hundred combo!", 64, 160},
    {"combo/combo-0700", "Seven hundred combo!", 66, 160},
    {"combo/combo-0800", "Eight hundred combo!", 66, 160},
    {"combo/combo-0900", "Nine hundred combo!", 68, 160},
    {"combo/combo-1000", "One thousand combo! Amazing!", 70, 160},
    {"combo/combo-cont", "Keep it going!", 60, 155},
};

struct Folder {
  const char* folder;
  std::vector<Line> lines;
};

const std::vector<Folder>& VoiceFolders() {
  static const std::vector<Folder> f = {
      {"danger", {{"danger-1", "Don't give up!", 55, 150}, {"danger-2", "Hang in there!", 50, 145}}},
      {"warning", {{"warning-1", "Watch your step!", 55, 150}, {"warning-2", "Careful now!", 50, 145}}},
      {"good", {{"good-1", "Good!", 60, 140}, {"good-2", "Nice moves!", 62, 150}}},
      {"great", {{"great-1", "Great!", 65, 140}, {"great-2", "You are on fire!", 68, 155}}},
      {"eval/aaa", {{"aaa-1", "Triple A! Perfect dancing!", 70, 150}}},
      {"eval/aa", {{"aa-1", "Double A! Superb!", 66, 150}}},
      {"eval/a", {{"a-1", "A! Very good!", 62, 150}}},
      {"eval/b", {{"b-1", "B! Good job.", 58, 150}}},
      {"eval/c", {{"c-1", "C. Not bad.", 52, 145}}},
      {"eval/d", {{"d-1", "D. Keep practising.", 48, 140}}},
      {"eval/e", {{"e-1", "E. Better luck next time.", 45, 140}}},
      {"eval/extra", {{"extra-1", "Extra stage! Show me what you've got!", 66, 155}}},
      {"eval/bonus", {{"bonus-1", "Bonus stage! One more song!", 66, 155}}},
      {"over/fail", {{"fail-1", "Game over.", 40, 130}, {"fail-2", "Game over. Try again!", 45, 135}}},
      {"over/pass", {{"pass-1", "Thank you for playing!", 58, 145}, {"pass-2", "See you next time!", 60, 145}}},
      {"start/ready", {{"ready-1", "Ready?", 60, 140}, {"ready-2", "Are you ready?", 62, 145}}},
      {"start/go", {{"go-1", "Go!", 70, 140}, {"go-2", "Here we go!", 68, 150}}},
  };
  return f;
}

bool RunEspeak(const std::string& exe, const Line& line, const std::string& wavOut) {
  std::string pitch = std::to_string(line.pitch), speed = std::to_string(line.speed);
  std::vector<std::string> args = {exe, "-v", "en-us", "-p", pitch, "-s", speed, "-w", wavOut, line.text};
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_t pid;
  if (posix_spawn(&pid, exe.c_str(), nullptr, nullptr, argv.data(), environ) != 0) return false;
  int status = 0;
  if (waitpid(pid, &status, 0) < 0) return false;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Speaks a line and dresses it as an announcer: resampled, a touch of
// presence, a short slap-back echo, trimmed and normalised.
bool Speak(const GenContext& ctx, const Line& line, const std::string& outPath) {
  std::string tmp = outPath + ".espeak.wav";
  if (!RunEspeak(ctx.espeak, line, tmp)) {
    std::filesystem::remove(tmp);
    GenFail("espeak-ng could not speak '%s'", line.text);
    return false;
  }
  std::vector<float> v;
  int rate = 0;
  bool read = ReadMono(tmp, v, rate);
  std::filesystem::remove(tmp);
  if (!read) {
    GenFail("cannot read the speech of '%s'", line.text);
    return false;
  }
  v = Resample(v, rate, kRate);
  // trim the silence espeak-ng leaves at both ends
  size_t a = 0, b = v.size();
  while (a < b && std::fabs(v[a]) < 0.003f) a++;
  while (b > a && std::fabs(v[b - 1]) < 0.003f) b--;
  std::vector<float> s(v.begin() + a, v.begin() + b);
  std::vector<float> out(s.size() + kRate / 4, 0.f);
  OnePole lp;
  lp.SetLowpass(300);
  for (size_t i = 0; i < s.size(); i++) out[i] += s[i] + 0.35f * lp.High(s[i]);
  MixIntoMono(out, s, (long)(0.085 * kRate), 0.18f);
  FadeEdges(out, 60, 2000);
  Normalize(out, 0.85f);
  return WriteWav(outPath, out);
}

bool Put(const std::string& dir, const std::string& name, const std::vector<float>& s) {
  std::string path = JoinPath(dir, name + ".wav");
  MakeDirs(std::filesystem::path(path).parent_path().string());
  return WriteWav(path, s);
}

}  // namespace

bool Gen_Sounds(const GenContext& ctx, const std::string& dir) {
  bool ok = true;
  ok = Put(dir, "select", Select()) && ok;
  ok = Put(dir, "switch", Switch()) && ok;
  ok = Put(dir, "start", Start()) && ok;
  ok = Put(dir, "cheer", Crowd(true, 3.0, 41)) && ok;
  ok = Put(dir, "boo", Crowd(false, 2.2, 43)) && ok;
  ok = Put(dir, "tsloop", MenuLoop(0)) && ok;
  ok = Put(dir, "stloop", MenuLoop(1)) && ok;
  ok = Put(dir, "nsloop", MenuLoop(2)) && ok;
  ok = Put(dir, "loselife", LoseLife()) && ok;
  ok = Put(dir, "clap", Clap(47)) && ok;
  // the announcer's non-spoken samples
  ok = Put(dir, "timer", Tick()) && ok;
  ok = Put(dir, "warning", Alarm()) && ok;
  // every voice folder exists, filled only when there is a voice to fill it
  for (auto& f : VoiceFolders()) ok = MakeDirs(JoinPath(dir, f.folder)) && ok;
  for (const char* sub : {"attract", "select", "combo"}) ok = MakeDirs(JoinPath(dir, sub)) && ok;
  if (!ctx.espeak.empty()) {
    for (auto& l : kSingles) ok = Speak(ctx, l, JoinPath(dir, std::string(l.file) + ".wav")) && ok;
    for (auto& f : VoiceFolders())
      for (auto& l : f.lines) ok = Speak(ctx, l, JoinPath(JoinPath(dir, f.folder), std::string(l.file) + ".wav")) && ok;
  }
  std::string cfg = "// Default sound set of Tarvolen, made by the content generator.\n[CREDITS]\n";
  cfg += ctx.espeak.empty() ? "Announcer=(no announcer voice: espeak-ng was not installed)\n"
                            : "Announcer=Tarvolen announcer (voice by espeak-ng)\n";
  cfg += "SoundFX=Tarvolen synthesized effects\n";
  ok = WriteTextFile(JoinPath(dir, "rkv2-sound.cfg"), cfg) && ok;
  return ok;
}
