// Freeing every background's source between songs, and decoding the first
// frames of movies and plug-ins before the play starts.
#include "media/background/background.h"
#include "media/background/bg_script_internal.h"
#include "media/background/movie_player.h"
#include "media/vis/vis.h"
#include "platform/log.h"

void ResetBackgrounds() {
  Backgrounds& g = g_backgrounds;
  WriteLog("Resetting backgrounds...\n");
  for (int i = 0; i < kBackgrounds; i++) {
    Background& b = g.defs[i];
    if (b.type == BG_NONE) continue;
    WriteLogf(" - bg %2d (type = %d)... ", i, b.type);
    BgDefine_Free(b);
    WriteLog("done\n");
  }
  // the plug-in frame goes only after every instance that drew into it
  if (g.visFrame) Vis_FreeFrame();
  g.visFrame = false;
  WriteLog("Resetting background layers.\n");
  for (Background& l : g.layers) l = Background{};
  for (int i = 0; i < kBackgroundRequests; i++) g.requestId[i] = g.requestLayer[i] = -1;
  g.events.clear();
  g.nextEvent = 0;
  g.scriptUsed = false;
  g.lastPosition = 0;
}

void PrimeBackgrounds() {
  Backgrounds& g = g_backgrounds;
  WriteLog("Getting first frames of animation...\n");
  for (int i = 0; i < kBackgrounds; i++) {
    Background& b = g.defs[i];
    if (b.type == BG_MOVIE) {
      WriteLogf("bg:%d, type:AVI\n", i);
      if (b.movie) b.movie->Frame(b.startAtMs, true);
    } else if (b.type == BG_VIS) {
      WriteLogf("bg:%d, type:VIS\n", i);
      if (b.vis) b.vis->Render(0, g.musicChannel);
    }
  }
  WriteLog("done\n");
}
