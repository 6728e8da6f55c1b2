// Skin configuration files, colour lists and font width lists from arbitrary text.
#include "media/font/font.h"
#include "media/skin/skin_config.h"
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text((const char*)data, size);
  SkinConfig c;
  SkinConfig_Defaults(c);
  SkinConfig_Parse(text, c);
  if (c.folders.count > kMaxColourList || c.songs.count > kMaxColourList || c.stages.count > 6) abort();
  if (c.panelTop > 10 || c.modLeft < 242 || c.modRight > 400 || c.modWidth < 50) abort();
  uint32_t v[16];
  int n = ParseValueList(text.c_str(), v, 16);
  for (int i = 0; i < n; i++) (void)v[i];
  int32_t adv[kFontGlyphs];
  if (Font_ParseWidths(text, adv) > kFontGlyphs) abort();
  return 0;
}
