#include "app/options.h"
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>

StartOptions g_options;

namespace {
const char* const kTextOptions[] = {"/test:", "/style:", "/level:", "/results:", "/input:", "/startat:", "/replay:"};
const char* const kSpeedOptions[] = {"/speed:1", "/speed:2", "/speed:3", "/speed:4", "/speed:6",
                                     "/speed:7", "/speed:8", "/speed:9"};
const int kSpeedSteps[] = {1, 2, 3, 4, 6, 7, 8, 9};
const char* const kScrollOptions[] = {"/scroll:1.5", "/scroll:2", "/scroll:3", "/scroll:4", "/scroll:5",
                                      "/scroll:8", "/scroll:0.25", "/scroll:0.5", "/scroll:0.75"};
const char* const kScrollNames[] = {"", "1.5x", "2x", "3x", "4x", "5x", "8x", "0.25x", "0.5x", "0.75x"};

bool has(const std::string& line, const char* name) { return line.find(name) != std::string::npos; }

// Decimal integer right after the option's name, as atoi reads it (0 when none);
// out-of-range values saturate instead of wrapping.
long intAfter(const std::string& line, const char* name) {
  size_t p = line.find(name);
  if (p == std::string::npos) return 0;
  const char* s = line.c_str() + p + strlen(name);
  errno = 0;
  long v = strtol(s, nullptr, 10);
  if (v > INT_MAX) v = INT_MAX;
  if (v < INT_MIN) v = INT_MIN;
  return v;
}

// Where the value of a text option found at `p` ends.
size_t valueEnd(const std::string& line, size_t start) {
  size_t e = line.find(" /", start);
  return e == std::string::npos ? line.size() : e;
}

int clampInt(long v, int lo, int hi) { return v < lo ? lo : v > hi ? hi : (int)v; }
}

std::string Options_JoinArgs(int argc, char** argv) {
  std::string line;
  for (int i = 1; i < argc; i++) {
    if (i > 1) line += ' ';
    line += argv[i];
  }
  return line;
}

bool Options_TextValue(const std::string& line, const char* name, std::string& out) {
  size_t p = line.find(name);
  if (p == std::string::npos) return false;
  size_t start = p + strlen(name);
  size_t end = valueEnd(line, start);
  out = line.substr(start, end - start);
  while (!out.empty() && (out.back() == ' ' || out.back() == '\t')) out.pop_back();
  if (out.size() > 511) out.resize(511);
  return true;
}

int64_t Options_ParseStartAt(const std::string& text) {
  size_t colon = text.find(':');
  if (colon != std::string::npos) {
    long minutes = strtol(text.c_str(), nullptr, 10);
    double seconds = strtod(text.c_str() + colon + 1, nullptr);
    double ms = (double)minutes * 60000.0 + seconds * 1000.0;
    return std::isfinite(ms) && ms > 0 ? (int64_t)std::llround(std::fmin(ms, 1e15)) : 0;
  }
  if (text.find('.') != std::string::npos) {
    double ms = strtod(text.c_str(), nullptr) * 1000.0;
    return std::isfinite(ms) && ms > 0 ? (int64_t)std::llround(std::fmin(ms, 1e15)) : 0;
  }
  long long v = strtoll(text.c_str(), nullptr, 10);
  return v > 0 ? v : 0;
}

const char* Options_ScrollName(int index) {
  return index >= 0 && index < 10 ? kScrollNames[index] : "";
}

void Options_Parse(const std::string& original, bool settingsFullScreen, StartOptions& o) {
  o = StartOptions{};
  TestRequest& t = o.test;
  std::string v;
  if (Options_TextValue(original, "/test:", v)) {
    t.active = true;
    t.chartPath = v;
  }
  if (Options_TextValue(original, "/style:", v)) t.style = v;
  if (Options_TextValue(original, "/level:", v)) t.level = v;
  if (Options_TextValue(original, "/results:", v)) o.resultsPath = v;
  if (Options_TextValue(original, "/input:", v)) o.inputPath = v;
  if (Options_TextValue(original, "/replay:", v)) o.replayPath = v;
  if (Options_TextValue(original, "/startat:", v)) t.startAtMs = Options_ParseStartAt(v);

  // Flags are looked for with the text values blanked out.
  std::string line = original;
  for (const char* name : kTextOptions) {
    size_t p = original.find(name);
    if (p == std::string::npos) continue;
    size_t start = p + strlen(name);
    size_t end = valueEnd(original, start);
    for (size_t i = start; i < end; i++) line[i] = ' ';
  }

  o.help = has(line, "--help");
  o.version = has(line, "--version");
  if (has(line, "/log2")) o.logLevel = 1;
  else if (has(line, "/log")) o.logLevel = 0;

  if (has(line, "/minRAM:")) o.minRAM = (uint64_t)std::max(0L, intAfter(line, "/minRAM:")) << 20;
  if (has(line, "/maxRAM:")) o.maxRAM = (uint64_t)std::max(0L, intAfter(line, "/maxRAM:")) << 20;
  if (o.maxRAM < o.minRAM) o.maxRAM = o.minRAM;

  o.useSDL = has(line, "/sdl");
  o.altMovie = has(line, "/altmovie");
  o.wheelShading = !has(line, "/noshade");
  o.colourDepth = has(line, "/16bpp") ? 16 : 0;
  o.fullScreen = settingsFullScreen;
  if (has(line, "/fullscreen")) o.fullScreen = true;
  if (has(line, "/window")) o.fullScreen = false;
  if (has(line, "/sw")) o.hardwareSurface = false;
  if (has(line, "/hw")) o.hardwareSurface = true;
  o.anySize = has(line, "/anysize");
  if (has(line, "/search")) o.scanSongs = true;
  if (has(line, "/skipsearch")) o.scanSongs = false;
  o.altCombo = has(line, "/altcombo");
  if (has(line, "/minsize:")) o.minSize = clampInt(intAfter(line, "/minsize:"), 0, 128);
  o.v5Hack = has(line, "/v5hack");
  if (has(line, "/fps:")) o.fps = clampInt(intAfter(line, "/fps:"), 20, 200);
  o.showSM = has(line, "/showsm");
  o.dither = !has(line, "/dither:0");

  int bits = 0;
  if (has(line, "/key:exclusive")) bits |= 1;
  if (has(line, "/key:nonexclusive")) bits |= 2;
  if (has(line, "/key:fg")) bits |= 4;
  if (has(line, "/key:bg")) bits |= 8;
  if (has(line, "/key:nowin")) bits |= 16;
  if (bits == 0) bits = has(line, "/key:win") ? 6 : 22;
  if (bits == 9 || bits == 25) bits = 0;  // exclusive in the background: the keyboard refuses it
  o.keyFlags = bits;

  if (has(line, "/priority:1")) o.threadPriority = 1;
  else if (has(line, "/priority:2")) o.threadPriority = 2;
  o.boost = !has(line, "/boost:0");
  if (has(line, "/sdevice:")) o.soundDevice = (int)intAfter(line, "/sdevice:");

  for (int i = 0; i < 8; i++)
    if (has(line, kSpeedOptions[i])) { t.rateStep = kSpeedSteps[i]; break; }
  for (int i = 0; i < 9; i++)
    if (has(line, kScrollOptions[i])) { t.scrollIndex = i + 1; break; }
  t.dark = has(line, "/dark");
  if (has(line, "/p2")) t.side = 1;
  else if (has(line, "/p1")) t.side = 0;
  t.tick = has(line, "/tick:1");
}

const char* Options_HelpText() {
  return
      "Tarvolen " TV_VERSION_TEXT " - a rhythm dance game\n"
      "usage: tarvolen [--game-dir PATH] [options]\n"
      "\n"
      "  --game-dir PATH     run in PATH instead of ~/.local/share/tarvolen (installed)\n"
      "                      or the current folder (a build)\n"
      "  --help              print this text and quit\n"
      "  --version           print the version and quit\n"
      "  /log, /log2         write the trace rkv2.log (/log2 adds the detailed lines)\n"
      "  /minRAM:N /maxRAM:N working-set bounds in MiB (default 64 and 128)\n"
      "  /sdl                accepted; SDL is the only video back-end\n"
      "  /fullscreen /window full screen or a window, overriding the Screen setting\n"
      "  /16bpp              16-bit colour\n"
      "  /sw, /hw            software (default) or hardware double-buffered surface\n"
      "  /anysize            accepted; has no effect with SDL\n"
      "  /minsize:N          minimum picture size 0..128\n"
      "  /v5hack             one-pixel margin on every picture\n"
      "  /dither:0           no dithering\n"
      "  /fps:N              frame limiter at N frames per second (20..200); unpaced without it\n"
      "  /search             scan the Songs folder at start (default)\n"
      "  /skipsearch         load the song database without scanning\n"
      "  /noshade            no shading on the song wheel\n"
      "  /altmovie           alternative movie handling\n"
      "  /altcombo           alternative lives display in battery courses\n"
      "  /showsm             show songs of every chart format in the collections\n"
      "  /key:exclusive /key:nonexclusive /key:fg /key:bg /key:nowin /key:win\n"
      "                      keyboard cooperation flags\n"
      "  /priority:1, /priority:2  main thread above normal, or highest\n"
      "  /boost:0            no priority boost during play\n"
      "  /sdevice:N          sound device N (1-based; see the log for the list)\n"
      "\n"
      "test mode (play one chart and quit):\n"
      "  /test:PATH          the .rkv chart file to play\n"
      "  /style:NAME         SINGLE (default), DOUBLE or SOLO\n"
      "  /level:NAME         BASIC (default), ANOTHER or TRICK, MANIAC, SMANIAC\n"
      "  /speed:N            music rate step 1..9 without 5 (5 is normal speed)\n"
      "  /scroll:X           scroll speed 1.5 2 3 4 5 8 0.25 0.5 0.75\n"
      "  /startat:T          start at T: 1:30.5 (minutes:seconds), 12.5 (seconds) or 2500 (ms)\n"
      "  /p1, /p2            play on player 1's (default) or player 2's side\n"
      "  /dark               dark modifier\n"
      "  /tick:1             assist tick on\n"
      "\n"
      "replays (every play is kept in Replays/):\n"
      "  /replay:PATH        watch the replay at PATH, then its evaluation, and quit;\n"
      "                      with /results: the evaluation is left out\n"
      "\n"
      "automation:\n"
      "  /results:PATH       append one JSON line per player after every play\n"
      "  /input:PATH         scripted input: lines \"MS down CODE\", \"MS up CODE\",\n"
      "                      \"MS joy N BUTTON down|up\" (MS since start, CODE a DIK scan code)\n"
      "\n"
      "Text values (paths, names) run to the end of the line or to the next \" /\".\n"
      "Exit status: 0 normal, 1 start-up failure, 2 test mode could not play its chart\n"
      "or the replay could not be played.\n";
}
