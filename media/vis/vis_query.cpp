// The query object plug-ins get: a few facts about the game, every call logged.
// The answers are fixed ones: 1 for the numbers, "Tarvolen" for the texts.
#include "media/vis/vis_internal.h"
#include <cstdio>
#include <new>
#include <strings.h>

namespace {
const char* const kIntNames[] = {"currentsonglength", "currentsongposition", "scheme_visual_left",
                                 "scheme_visual_right", "scheme_visual_blend", "diffTime"};
const char* const kStringNames[] = {"currentSkinName", "currentSongFilename", "currentSongTitle",
                                    "currentSongAuthor", "currentSongDisplayString"};
const char kAnswer[] = "Tarvolen";

template <size_t N>
bool known(const char* const (&names)[N], const char* name) {
  if (!name) return false;
  for (const char* n : names)
    if (strcasecmp(n, name) == 0) return true;
  return false;
}

// Plug-in calls may pass anything; a null name is logged as "(null)".
const char* shown(const char* name) { return name ? name : "(null)"; }

int QueryInt(const char* name, int* value) {
  bool hit = known(kIntNames, name);
  if (hit && value) *value = 1;
  char line[512];
  snprintf(line, sizeof line, "QI:QueryInt(%.400s,%d)\n", shown(name), value ? *value : 0);
  Vis_LogInGameFolder(line);
  return 1;
}

const char* QueryString(const char* name) {
  char line[512];
  snprintf(line, sizeof line, "QI:QueryString(%.400s)\n", shown(name));
  Vis_LogInGameFolder(line);
  return known(kStringNames, name) ? kAnswer : nullptr;
}

// The texts are the game's constants: nothing to free.
void FreeString(const char*) { Vis_LogInGameFolder("QI:FreeString()\n"); }

const TvVisQueryTable kTable = {QueryInt, QueryString, FreeString};
}  // namespace

TvVisQuery* Vis_CreateQueryObject() {
  TvVisQuery* q = new (std::nothrow) TvVisQuery;
  if (q) q->table = &kTable;
  return q;
}

void Vis_FreeQueryObject(TvVisQuery* query) { delete query; }
