#include "chart/arrow_images.h"

namespace {
const Image* NoImage(int, int, bool) { return nullptr; }
ArrowImageLookup g_lookup = NoImage;
int g_colourSets = 3;
}

void ArrowImages_Install(ArrowImageLookup lookup, int colourSets) {
  g_lookup = lookup ? lookup : NoImage;
  g_colourSets = colourSets;
}

void ArrowImages_Reset() { ArrowImages_Install(nullptr, 3); }

int ArrowImages_ColourSets() { return g_colourSets; }

const Image* ArrowImages_Get(int colourClass, int column, bool freeze) {
  return g_lookup(colourClass, column, freeze);
}
