// The command line and the scripted-input file from arbitrary text.
#include "app/options.h"
#include "media/input_script.h"
#include <cstdlib>
#include <string>
#include <vector>

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
  for (size_t i = 1; i < ev.size(); i++)
    if (ev[i].ms < ev[i - 1].ms) abort();
  return 0;
}
