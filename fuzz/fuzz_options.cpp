// The command line and the scripted-input file from arbitrary text. The script's
// events name keys, joysticks and buttons that exist, each list is in time order,
// and a script set up, followed through its anchors and music and cleared never
// reports a key or button state other than up or down.
#include "app/options.h"
#include "media/input_script.h"
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {
void check(bool ok, const char* what) {
  if (!ok) {
    fprintf(stderr, "options check failed: %s\n", what);
    abort();
  }
}

void checkEvents(const std::vector<ScriptEvent>& ev) {
  for (size_t i = 0; i < ev.size(); i++) {
    const ScriptEvent& e = ev[i];
    check(i == 0 || ev[i - 1].ms <= e.ms, "events out of order");
    check(e.isJoy ? e.joystick < kScriptJoysticks && e.code < 32 : e.code >= 1, "event names no key or button");
    check(e.down <= 1, "down flag");
  }
}

void checkMusic(const std::vector<MusicScriptEvent>& music) {
  for (size_t i = 0; i < music.size(); i++) {
    check(std::isfinite(music[i].musicMs), "music time");
    check(i == 0 || music[i - 1].musicMs <= music[i].musicMs, "music events out of order");
  }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text((const char*)data, size);
  StartOptions o;
  Options_Parse(text, (size & 1) != 0, o);
  if (o.fps != 0 && (o.fps < 20 || o.fps > 200)) abort();
  if (o.minSize < 0 || o.minSize > 128 || o.maxRAM < o.minRAM) abort();
  if (o.test.chartPath.size() > 511 || o.test.startAtMs < -1) abort();
  Options_ParseStartAt(text);

  std::vector<ScriptEvent> ev;
  InputScript_Parse(text, ev);
  checkEvents(ev);
  std::vector<ScriptEvent> events;
  std::vector<MusicScriptEvent> music;
  std::vector<AnchoredScript> anchored;
  InputScript_Parse(text, events, &music, &anchored);
  checkEvents(events);
  checkMusic(music);
  for (const AnchoredScript& a : anchored) {
    checkEvents(a.events);
    checkMusic(a.music);
  }

  // followed as a game would: anchors met by their log lines, music resolved by a play
  InputScript_Set(events, music, anchored);
  uint8_t keys[256];
  uint32_t buttons[kScriptJoysticks];
  uint32_t now = 0;
  for (size_t i = 0; i <= anchored.size(); i++) {
    InputScript_ResolveMusic(-5000.0 + 1000.0 * (double)i, now, 1.0 + 0.25 * (double)(i & 3), 200);
    InputScript_State(now, keys, buttons);
    for (uint8_t k : keys) check(k == 0 || k == 0x80, "key state");
    uint32_t since;
    if (InputScript_KeyDownSince(1 + (int)(i % 255), now, &since)) check(since <= now, "down before now");
    if (i < anchored.size()) InputScript_LogLine(anchored[i].text.c_str(), now);
    now += 997;
  }
  check(InputScript_PendingAnchors() >= 0 && InputScript_PendingMusic() >= 0, "pending counts");
  InputScript_State(InputScript_LastMs(), keys, buttons);
  InputScript_Clear();
  check(!InputScript_Active(), "cleared");
  return 0;
}
