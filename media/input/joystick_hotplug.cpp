#include "media/input/joystick_hotplug.h"
#include "platform/clock.h"
#include "platform/log.h"
#include <algorithm>
#include <dirent.h>
#include <unistd.h>

namespace {
constexpr uint32_t kLookEveryMs = 1000;

const JoystickSystem kRealSystem = {JoystickHotplug_DeviceNodes, Joystick_Reopen};
const JoystickSystem* g_system = &kRealSystem;

std::string g_fingerprint;
uint32_t g_lastLook = 0;
bool g_followUp = false;    // count once more at the next look
int g_generation = 0;
std::vector<std::string> g_present;
std::string g_remembered[kMaxJoysticks];

bool validNumber(int n) { return n >= 0 && n < kMaxJoysticks; }

// Names that came or went between two counts (the same name twice counts twice).
void logChanges(const std::vector<std::string>& before, const std::vector<std::string>& after) {
  std::vector<bool> kept(before.size(), false);
  for (size_t i = 0; i < after.size(); i++) {
    if (after[i].empty()) continue;
    bool found = false;
    for (size_t j = 0; j < before.size() && !found; j++)
      if (!kept[j] && before[j] == after[i]) kept[j] = found = true;
    if (!found) WriteLogf("Joystick %d '%s' connected\n", (int)i + 1, after[i].c_str());
  }
  for (size_t j = 0; j < before.size(); j++)
    if (!kept[j] && !before[j].empty()) WriteLogf("Joystick %d '%s' disconnected\n", (int)j + 1, before[j].c_str());
}

void boundNumbers(bool (&bound)[kMaxJoysticks]) {
  for (int n = 0; n < kMaxJoysticks; n++) bound[n] = Joystick_IsBound(n);
}

void match() {
  bool bound[kMaxJoysticks];
  boundNumbers(bound);
  JoystickRemap plan = Joystick_PlanRemap(g_remembered, bound, g_present);
  Joystick_ApplyRemap(plan);
  for (int n = 0; n < kMaxJoysticks; n++) g_remembered[n] = plan.names[n];
}

void recount() {
  std::vector<std::string> before = g_present, after;
  double t0 = Clock_MsPrecise();
  g_system->reopen(after);
  if (after.size() > (size_t)kMaxJoysticks) after.resize(kMaxJoysticks);
  double took = Clock_MsPrecise() - t0;
  g_present = after;
  g_generation++;
  logChanges(before, after);
  match();
  WriteLogf("Joysticks counted again: %d present, %.2f ms\n",
            (int)std::count_if(after.begin(), after.end(), [](const std::string& s) { return !s.empty(); }), took);
}
}  // namespace

std::string JoystickHotplug_DeviceNodes() {
  DIR* d = opendir("/dev/input");
  if (!d) return "";
  std::vector<std::string> nodes;
  while (dirent* e = readdir(d)) {
    std::string name = e->d_name;
    if (name.rfind("js", 0) != 0 && name.rfind("event", 0) != 0) continue;
    std::string path = "/dev/input/" + name;
    nodes.push_back(name + (access(path.c_str(), R_OK) == 0 ? ":r" : ":-"));
  }
  closedir(d);
  std::sort(nodes.begin(), nodes.end());
  std::string out;
  for (const std::string& n : nodes) out += n + " ";
  return out;
}

void JoystickHotplug_SetSystem(const JoystickSystem* system) { g_system = system ? system : &kRealSystem; }

void JoystickHotplug_Begin(uint32_t nowMs, const std::vector<std::string>& present) {
  g_present = present;
  if (g_present.size() > (size_t)kMaxJoysticks) g_present.resize(kMaxJoysticks);
  for (int n = 0; n < kMaxJoysticks; n++) g_remembered[n] = n < (int)g_present.size() ? g_present[n] : "";
  g_fingerprint = g_system->nodeFingerprint();
  g_lastLook = nowMs;
  g_followUp = false;
  g_generation++;
}

bool JoystickHotplug_Check(uint32_t nowMs) {
  // a time before the last look (a clock set back) waits too
  int32_t since = (int32_t)(nowMs - g_lastLook);
  if (since < (int32_t)kLookEveryMs) return false;
  g_lastLook = nowMs;
  std::string now = g_system->nodeFingerprint();
  bool changed = now != g_fingerprint;
  if (!changed && !g_followUp) return false;
  g_fingerprint = now;
  g_followUp = changed;
  recount();
  return true;
}

int Joystick_Generation() { return g_generation; }
const std::vector<std::string>& JoystickHotplug_Present() { return g_present; }

void JoystickNames_Clear() {
  for (std::string& s : g_remembered) s.clear();
}

void JoystickNames_Set(int number, const char* name) {
  if (validNumber(number)) g_remembered[number] = name ? name : "";
}

const char* JoystickNames_Get(int number) { return validNumber(number) ? g_remembered[number].c_str() : ""; }

void JoystickNames_Match() { match(); }

bool Joystick_IsBound(int number) {
  for (const InputBinding& b : g_bindings)
    if (b.joystick == number && b.button >= 0) return true;
  return false;
}

JoystickRemap Joystick_PlanRemap(const std::string (&remembered)[kMaxJoysticks], const bool (&bound)[kMaxJoysticks],
                                 const std::vector<std::string>& present) {
  JoystickRemap plan;
  int count = std::min((int)present.size(), kMaxJoysticks);
  bool claimed[kMaxJoysticks] = {}, done[kMaxJoysticks] = {}, taken[kMaxJoysticks] = {};
  for (int n = 0; n < kMaxJoysticks; n++) plan.number[n] = n;
  for (int i = 0; i < count; i++) {
    plan.names[i] = present[i];
    taken[i] = !present[i].empty();
  }
  // a joystick still under its number keeps it, so equal names do not swap
  for (int n = 0; n < count; n++)
    if (!remembered[n].empty() && remembered[n] == present[n]) claimed[n] = done[n] = true;
  for (int n = 0; n < kMaxJoysticks; n++) {
    if (done[n] || remembered[n].empty()) continue;
    for (int i = 0; i < count; i++)
      if (!claimed[i] && present[i] == remembered[n]) {
        plan.number[n] = i;
        claimed[i] = done[n] = true;
        break;
      }
  }
  // Bound numbers with no name (never seen plugged in) stay where they are.
  for (int n = 0; n < kMaxJoysticks; n++)
    if (bound[n] && remembered[n].empty()) taken[n] = true;
  // Missing joysticks: unbound ones are forgotten; bound ones keep their number
  // when no present joystick has it, else wait under the lowest free one.
  std::vector<int> waiting;
  for (int n = 0; n < kMaxJoysticks; n++) {
    if (done[n] || remembered[n].empty() || !bound[n]) continue;
    if (!taken[n]) {
      taken[n] = true;
      plan.names[n] = remembered[n];
    } else {
      waiting.push_back(n);
    }
  }
  for (int n : waiting) {
    int k = 0;
    while (k < kMaxJoysticks && taken[k]) k++;
    if (k == kMaxJoysticks) {
      WriteLogf("No joystick number is free for the bindings of '%s'\n", remembered[n].c_str());
      continue;
    }
    taken[k] = true;
    plan.number[n] = k;
    plan.names[k] = remembered[n];
  }
  return plan;
}

void Joystick_ApplyRemap(const JoystickRemap& plan) {
  for (InputBinding& b : g_bindings) {
    if (!validNumber(b.joystick) || plan.number[b.joystick] == b.joystick) continue;
    WriteLogf("LOG2 binding moved from joystick %d to %d\n", b.joystick + 1, plan.number[b.joystick] + 1);
    b.joystick = plan.number[b.joystick];
    b.latch = 0;
  }
}
