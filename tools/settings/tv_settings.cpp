// tv_settings: sets a few switches of a game folder's "rkv2.cfg" from the
// command line, for scripted runs and for players until the options menu
// exists. Reads the folder's settings (or the defaults), changes the named
// switches and writes both settings files back.
//   tv_settings GAMEDIR autoplay=on lyrics=off fps=on maxstage=2 ...
#include "library/settings.h"
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

namespace {
struct Switch {
  const char* name;
  size_t offset;
  bool inverted;  // stored as 0 = ON
};
const Switch kSwitches[] = {
    {"autoplay", offsetof(Settings, autoPlay), true},
    {"announcer", offsetof(Settings, announcer), false},
    {"danger", offsetof(Settings, dangerDisplay), false},
    {"gameover", offsetof(Settings, gameOver), false},
    {"lyrics", offsetof(Settings, displayLyrics), false},
    {"fps", offsetof(Settings, showFps), true},  // 0 shows the meter
    {"timelimit", offsetof(Settings, timeLimit), false},
    {"profiles", offsetof(Settings, userProfiles), false},
    {"attract", offsetof(Settings, attractDemo), false},
};

// Switches with more values than on and off, and their ranges.
struct Number {
  const char* name;
  size_t offset;
  int low, high;
};
const Number kNumbers[] = {
    {"maxstage", offsetof(Settings, maxStage), 1, 6},        // 6 unlimited
    {"extrastages", offsetof(Settings, extraStages), 0, 2},  // 0 off
    {"breakafter", offsetof(Settings, breakAfter), 0, 10},   // 0 no breaks in a repeating course
};

bool apply(const std::string& arg) {
  size_t eq = arg.find('=');
  if (eq == std::string::npos) return false;
  std::string name = arg.substr(0, eq), value = arg.substr(eq + 1);
  for (const Number& n : kNumbers) {
    if (name != n.name) continue;
    char* end = nullptr;
    long v = strtol(value.c_str(), &end, 10);
    if (value.empty() || *end || v < n.low || v > n.high) return false;
    reinterpret_cast<uint8_t*>(&g_settings)[n.offset] = (uint8_t)v;
    return true;
  }
  if (value != "on" && value != "off") return false;
  for (const Switch& s : kSwitches) {
    if (name != s.name) continue;
    bool on = value == "on";
    reinterpret_cast<uint8_t*>(&g_settings)[s.offset] = (uint8_t)(on != s.inverted);
    return true;
  }
  return false;
}
}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s GAMEDIR [NAME=on|off ...] [NAME=N ...]\nswitches:", argv[0]);
    for (const Switch& s : kSwitches) std::fprintf(stderr, " %s", s.name);
    std::fprintf(stderr, "\nnumbers:");
    for (const Number& n : kNumbers) std::fprintf(stderr, " %s (%d..%d)", n.name, n.low, n.high);
    std::fprintf(stderr, "\n");
    return 2;
  }
  if (chdir(argv[1]) != 0) {
    std::fprintf(stderr, "cannot enter %s\n", argv[1]);
    return 2;
  }
  loadSettings();
  for (int i = 2; i < argc; ++i) {
    if (!apply(argv[i])) {
      std::fprintf(stderr, "unknown setting or value '%s'\n", argv[i]);
      return 2;
    }
  }
  return saveSettings() ? 0 : 1;
}
