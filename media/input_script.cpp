#include "media/input_script.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/log.h"
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <sstream>

namespace {
std::vector<ScriptEvent> g_events;
std::vector<MusicScriptEvent> g_music;  // in music-time order, consumed from the front
size_t g_musicNext = 0;
std::vector<AnchoredScript> g_anchored;  // in file order, met from the front
size_t g_anchorNext = 0;
std::mutex g_lock;  // the state is read from the main thread; loading happens once

bool parseUnsigned(const std::string& s, unsigned long max, unsigned long& v) {
  if (s.empty() || s.size() > 10) return false;
  for (char c : s)
    if (c < '0' || c > '9') return false;
  v = strtoul(s.c_str(), nullptr, 10);
  return v <= max;
}

bool parseSigned(const std::string& s, long& v) {
  unsigned long u;
  bool minus = !s.empty() && s[0] == '-';
  if (!parseUnsigned(minus ? s.substr(1) : s, 0x7FFFFFFFul, u)) return false;
  v = minus ? -(long)u : (long)u;
  return true;
}

// `musicMs` set: the line began with "play" and its time is music time.
bool parseLine(const std::string& line, ScriptEvent& e, double* musicMs) {
  std::istringstream in(line);
  std::string ms, a, b, c, d, extra;
  in >> ms;
  bool music = ms == "play";
  if (music) in >> ms;
  in >> a >> b;
  unsigned long t = 0, x, y;
  if (music) {
    long m;
    if (!parseSigned(ms, m)) return false;
    *musicMs = (double)m;
  } else {
    if (!parseUnsigned(ms, 0xFFFFFFFFul, t)) return false;
    *musicMs = NAN;
  }
  e = ScriptEvent{};
  e.ms = (uint32_t)t;
  if (a == "down" || a == "up") {
    if (!parseUnsigned(b, 255, x) || x == 0) return false;
    if (in >> extra) return false;
    e.down = a == "down";
    e.code = (uint8_t)x;
    return true;
  }
  if (a == "joy") {
    in >> c >> d;
    if (!parseUnsigned(b, kScriptJoysticks - 1, x) || !parseUnsigned(c, 31, y)) return false;
    if (d != "down" && d != "up") return false;
    if (in >> extra) return false;
    e.isJoy = 1;
    e.joystick = (uint8_t)x;
    e.code = (uint8_t)y;
    e.down = d == "down";
    return true;
  }
  return false;
}

// Adds `e` after every event already due at its time, so that a placed event
// never undoes an earlier one of the same moment. The lock is held.
void placeEvent(const ScriptEvent& e) {
  auto pos = std::upper_bound(g_events.begin(), g_events.end(), e.ms,
                              [](uint32_t ms, const ScriptEvent& x) { return ms < x.ms; });
  g_events.insert(pos, e);
}

void listen(const char* line) { InputScript_LogLine(line, Clock_Ms()); }

bool sortByTime(const ScriptEvent& x, const ScriptEvent& y) { return x.ms < y.ms; }
}  // namespace

bool InputScript_Parse(const std::string& text, std::vector<ScriptEvent>& out,
                       std::vector<MusicScriptEvent>* music, std::vector<AnchoredScript>* anchored) {
  out.clear();
  if (music) music->clear();
  if (anchored) anchored->clear();
  bool inAnchor = false;
  bool clean = true;
  std::istringstream in(text);
  std::string line;
  int number = 0;
  while (std::getline(in, line)) {
    number++;
    size_t hash = line.find('#');
    if (hash != std::string::npos) line.resize(hash);
    size_t first = line.find_first_not_of(" \t\r");
    if (first == std::string::npos) continue;
    if (line[first] == '@') {
      size_t a = line.find_first_not_of(" \t", first + 1), b = line.find_last_not_of(" \t\r");
      std::string anchor = a == std::string::npos || b < a ? "" : line.substr(a, b - a + 1);
      if (anchor.empty()) {
        WriteLogf("Input script line %d: an anchor without text\n", number);
        clean = false;
        continue;
      }
      inAnchor = true;
      if (anchored) anchored->push_back({anchor, {}, {}});
      continue;
    }
    ScriptEvent e;
    double musicMs = NAN;
    if (parseLine(line, e, &musicMs)) {
      if (!std::isnan(musicMs)) {
        if (inAnchor && anchored) anchored->back().music.push_back({musicMs, e});
        else if (!inAnchor && music) music->push_back({musicMs, e});
      } else if (!inAnchor) {
        out.push_back(e);
      } else if (anchored) {
        anchored->back().events.push_back(e);
      }
    } else {
      WriteLogf("Input script line %d not understood: %s\n", number, line.c_str());
      clean = false;
    }
  }
  // Events at the same time keep their order in the file.
  std::stable_sort(out.begin(), out.end(), sortByTime);
  if (anchored)
    for (AnchoredScript& a : *anchored) std::stable_sort(a.events.begin(), a.events.end(), sortByTime);
  auto byMusicTime = [](const MusicScriptEvent& x, const MusicScriptEvent& y) { return x.musicMs < y.musicMs; };
  if (music) std::stable_sort(music->begin(), music->end(), byMusicTime);
  if (anchored)
    for (AnchoredScript& a : *anchored) std::stable_sort(a.music.begin(), a.music.end(), byMusicTime);
  return clean;
}

bool InputScript_Load(const char* path) {
  std::string text;
  if (!path || !File_ReadText(path, text)) {
    WriteLogf("Unable to read input script '%s'\n", path ? path : "");
    return false;
  }
  std::vector<ScriptEvent> ev;
  std::vector<MusicScriptEvent> music;
  std::vector<AnchoredScript> anchored;
  InputScript_Parse(text, ev, &music, &anchored);
  size_t n = ev.size() + music.size();
  for (const AnchoredScript& a : anchored) n += a.events.size() + a.music.size();
  WriteLogf("Input script '%s': %d events\n", path, (int)n);
  InputScript_Set(ev, music, anchored);
  return true;
}

void InputScript_Set(const std::vector<ScriptEvent>& events, const std::vector<MusicScriptEvent>& music,
                     const std::vector<AnchoredScript>& anchored) {
  {
    std::lock_guard<std::mutex> l(g_lock);
    g_events = events;
    g_music = music;
    g_musicNext = 0;
    g_anchored = anchored;
    g_anchorNext = 0;
  }
  Log_SetListener(anchored.empty() ? nullptr : listen);
}

bool InputScript_LogLine(const char* line, uint32_t nowMs) {
  std::lock_guard<std::mutex> l(g_lock);
  if (!line || g_anchorNext >= g_anchored.size() || !strstr(line, g_anchored[g_anchorNext].text.c_str())) return false;
  const AnchoredScript& a = g_anchored[g_anchorNext];
  for (ScriptEvent e : a.events) {
    uint64_t at = (uint64_t)nowMs + e.ms;
    e.ms = at > 0xFFFFFFFFull ? 0xFFFFFFFFu : (uint32_t)at;
    placeEvent(e);
  }
  if (!a.music.empty()) {
    g_music = a.music;
    g_musicNext = 0;
  }
  if (++g_anchorNext == g_anchored.size()) Log_SetListener(nullptr);   // nothing left to wait for
  return true;
}

int InputScript_PendingAnchors() {
  std::lock_guard<std::mutex> l(g_lock);
  return (int)(g_anchored.size() - g_anchorNext);
}

void InputScript_Clear() { InputScript_Set({}); }

bool InputScript_Active() {
  std::lock_guard<std::mutex> l(g_lock);
  return !g_events.empty() || !g_music.empty() || !g_anchored.empty();
}

int InputScript_ResolveMusic(double musicMs, double programMs, double rate, double aheadMs) {
  std::lock_guard<std::mutex> l(g_lock);
  if (!(rate > 0)) rate = 1;
  int n = 0;
  while (g_musicNext < g_music.size() && g_music[g_musicNext].musicMs <= musicMs + aheadMs) {
    const MusicScriptEvent& m = g_music[g_musicNext++];
    ScriptEvent e = m.event;
    double at = std::round(programMs + (m.musicMs - musicMs) / rate);
    e.ms = at < 0 ? 0 : at > 4294967295.0 ? 0xFFFFFFFFu : (uint32_t)at;
    placeEvent(e);
    n++;
  }
  return n;
}

int InputScript_PendingMusic() {
  std::lock_guard<std::mutex> l(g_lock);
  return (int)(g_music.size() - g_musicNext);
}

void InputScript_State(uint32_t nowMs, uint8_t keys[256], uint32_t joyButtons[kScriptJoysticks]) {
  memset(keys, 0, 256);
  memset(joyButtons, 0, sizeof(uint32_t) * kScriptJoysticks);
  std::lock_guard<std::mutex> l(g_lock);
  for (const ScriptEvent& e : g_events) {
    if (e.ms > nowMs) break;
    if (e.isJoy) {
      uint32_t bit = 1u << e.code;
      if (e.down) joyButtons[e.joystick] |= bit;
      else joyButtons[e.joystick] &= ~bit;
    } else {
      keys[e.code] = e.down ? 0x80 : 0;
    }
  }
}

uint32_t InputScript_JoystickMask() {
  std::lock_guard<std::mutex> l(g_lock);
  uint32_t m = 0;
  for (const ScriptEvent& e : g_events)
    if (e.isJoy) m |= 1u << e.joystick;
  return m;
}

uint32_t InputScript_LastMs() {
  std::lock_guard<std::mutex> l(g_lock);
  return g_events.empty() ? 0 : g_events.back().ms;
}

namespace {
bool downSince(bool isJoy, int joystick, int code, uint32_t nowMs, uint32_t* sinceMs) {
  std::lock_guard<std::mutex> l(g_lock);
  bool down = false;
  uint32_t since = 0;
  for (const ScriptEvent& e : g_events) {
    if (e.ms > nowMs) break;
    if (e.isJoy != (isJoy ? 1 : 0) || e.code != code || (isJoy && e.joystick != joystick)) continue;
    if (e.down && !down) since = e.ms;
    down = e.down;
  }
  if (down && sinceMs) *sinceMs = since;
  return down;
}
}

bool InputScript_KeyDownSince(int code, uint32_t nowMs, uint32_t* sinceMs) {
  return code > 0 && code < 256 && downSince(false, 0, code, nowMs, sinceMs);
}

bool InputScript_ButtonDownSince(int joystick, int button, uint32_t nowMs, uint32_t* sinceMs) {
  return joystick >= 0 && joystick < kScriptJoysticks && button >= 0 && button < 32 &&
         downSince(true, joystick, button, nowMs, sinceMs);
}
