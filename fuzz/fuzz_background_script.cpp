// Arbitrary bytes as a chart file's background script, parsed without opening
// anything from disk, with the settings taken from the first two bytes; then the
// definitions are primed and reset as a play would. A definition or event out of
// its range, an unsorted timeline or a source object made without loading stops
// the run.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include "media/background/background.h"

namespace {
void Check(bool ok, const char* what) {
  if (!ok) {
    fprintf(stderr, "background script check failed: %s\n", what);
    abort();
  }
}

void CheckDefinitions() {
  const Backgrounds& g = g_backgrounds;
  for (int i = 0; i < kBackgrounds; i++) {
    const Background& b = g.defs[i];
    Check(b.type >= BG_NONE && b.type <= BG_OFF, "type");
    Check(b.layer >= 0 && b.layer <= 3, "layer");
    Check(!b.picture && !b.strip && !b.movie && !b.vis, "a source without loading");
    Check(b.width >= 0 && b.width <= 8192 && b.height >= 0 && b.height <= 8192, "size");
    Check(std::isfinite(b.x) && std::isfinite(b.y) && std::isfinite(b.dx) && std::isfinite(b.dy), "placing");
    Check(b.stretch.duration >= 0 && b.stretch.duration <= 1000000, "stretch duration");
    Check(std::isfinite(b.stretch.dWidth) && std::isfinite(b.stretch.dHeight), "stretch step");
    Check(b.fade.alpha >= 0 && b.fade.alpha <= 255 && std::isfinite(b.fade.dAlpha), "fade");
    Check(b.startAtMs >= 0, "start offset");
  }
  Check(g.defs[0].type == BG_PICTURE && g.defs[0].layer == 0, "the song's own picture");
  Check(g.events.size() <= 2 * kMaxBackgroundEvents + 40000, "event count");
  for (size_t i = 0; i < g.events.size(); i++) {
    const BackgroundEvent& e = g.events[i];
    Check(e.id >= 0 && e.id < kBackgrounds, "event id");
    Check(std::isfinite(e.position) && e.position >= 0, "event position");
    Check(i == 0 || g.events[i - 1].position <= e.position, "events sorted");
  }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  BackgroundParams p;
  p.loadSources = false;
  uint8_t a = size > 0 ? data[0] : 0, b = size > 1 ? data[1] : 0;
  p.randomAnimations = a & 3;
  p.processScripts = (a & 4) == 0;
  p.visNumber = (a >> 3) & 1;
  p.visPlugin = (a >> 4) & 7;
  p.aviQuality = (a & 0x80) ? 0 : 5;
  p.svpQuality = (b & 1) ? 0 : 5;
  p.visCountWithoutSources = (b >> 1) & 7;
  p.endPosition = (b >> 4) * 300.0 - 100;
  p.msPerBeat = (b & 0x0F) * 97.5;
  size_t skip = size < 2 ? size : 2;
  BackgroundScript_FromText((const char*)data + skip, size - skip, "Songs/Fuzz/Song", p);
  CheckDefinitions();
  PrimeBackgrounds();
  ResetBackgrounds();
  for (const Background& d : g_backgrounds.defs) Check(d.type == BG_NONE, "reset");
  Check(g_backgrounds.events.empty(), "reset events");
  return 0;
}
