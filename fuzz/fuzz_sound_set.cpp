// Sound-set configuration files ("Sounds/<set>/rkv2-sound.cfg") from arbitrary
// bytes, as the game reads them: one set for the announcer and the effects, or
// two sets (the input cut at its first zero byte). The credits shown on the
// options page must always be one line of text, "(Unknown)" without one.
#include "fuzz/fuzz_support.h"
#include "media/skin/skin_config.h"
#include <cstring>
#include <string>

namespace {
void check(bool ok, const char* what) { fuzz::Check(ok, "sound set", what); }

void checkCredit(const std::string& c) {
  check(!c.empty(), "an empty credit");
  check(c.find_first_of("\r\n") == std::string::npos, "a credit of more than one line");
  check(c.find('\0') == std::string::npos, "a credit with a zero byte");
}
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::EnterWorkFolder("fuzz-sound-set");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const uint8_t* cut = (const uint8_t*)memchr(data, 0, size);
  bool two = cut != nullptr;
  size_t first = two ? (size_t)(cut - data) : size;
  fuzz::WriteFile("Sounds/Voice/rkv2-sound.cfg", data, first);
  if (two) fuzz::WriteFile("Sounds/Effects/rkv2-sound.cfg", cut + 1, size - first - 1);
  check(LoadSoundSetConfig("Voice", two ? "Effects" : "Voice"), "an existing file is not read");
  checkCredit(g_announcerCredit);
  checkCredit(g_effectCredit);
  // a set without a file keeps the unknown credits
  check(!LoadSoundSetConfig("Missing", "Missing"), "a missing file is read");
  check(g_announcerCredit == "(Unknown)" && g_effectCredit == "(Unknown)", "credits of a missing set");
  return 0;
}
