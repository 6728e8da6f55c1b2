// Settings record and bindings table from arbitrary bytes: the load rules must
// always leave every field in range.
#include "library/settings.h"
#include "media/input_binding.h"
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  int plugins = data[0] % 8;
  Settings_Defaults(g_settings);
  if (Settings_LoadRecord(data + 1, size - 1, plugins)) {
    const Settings& s = g_settings;
    if (s.bgBrightness < 50 || s.bgBrightness > 100 || s.maxStage < 1 || s.maxStage > 6 || s.volume % 5 ||
        s.volume > 100 || s.frequency > 2 || s.globalGap < -1000 || s.globalGap > 1000 || s.visPlugin < 0 ||
        s.visPlugin > plugins || s.skin[255] || s.windows[0] > 50 || s.defaultSort > 6)
      abort();
  }
  Bindings_LoadTable(data + 1, size - 1);
  return 0;
}
