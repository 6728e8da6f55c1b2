#include "media/render/render_state.h"

RenderBackend g_renderBackend = BACKEND_SDL;  // the only back-end this build has
TextureLimits g_textureLimits = {0, 0, 1, 1024, 1024, 4, 4, 0};
bool g_ditherEnabled = true;
bool g_frameOpen = false;

void TextureLimits_Defaults(TextureLimits& t) {
  t = TextureLimits{};
  t.powerOfTwo = 0;
  t.squareOnly = 0;
  t.variableSizes = 1;
  t.maxWidth = t.maxHeight = 1024;
  t.minWidth = t.minHeight = 4;
  t.margin = 0;
}
