// "tarvolen.ini" from arbitrary bytes: the offsets always come out in range, the
// text written back keeps every line that was read, and setting a key never
// loses another one's line.
#include "library/device_offsets.h"
#include "library/tarvolen_ini.h"
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text((const char*)data, size);
  TarvolenIni_LoadText(text, "/nonexistent/tarvolen.ini");
  std::string before = TarvolenIni_Text();
  for (const char* name : {(const char*)nullptr, "Pad", "Dance Mat = 2"}) {
    int in = DeviceOffsets_Input(name), vis = DeviceOffsets_Visual(name);
    if (in < kDeviceOffsetMinMs || in > kDeviceOffsetMaxMs || vis < kDeviceOffsetMinMs || vis > kDeviceOffsetMaxMs)
      abort();
  }
  // every line read is written back (line breaks made plain)
  size_t lines = 0;
  for (char c : before) lines += c == '\n';
  TarvolenIni_SetInt("offset.keyboard.input", 5);
  std::string after = TarvolenIni_Text();
  size_t linesAfter = 0;
  for (char c : after) linesAfter += c == '\n';
  if (linesAfter < lines || DeviceOffsets_Input(nullptr) != 5) abort();
  return 0;
}
