#include "menus/available_modes.h"
#include "library/song_list.h"

bool g_availableModes[MODE_COUNT];

void FindAvailableModes(bool flags[MODE_COUNT]) {
  static const int first[MODE_COUNT] = {0, 4, 11};
  for (int m = 0; m < MODE_COUNT; m++) flags[m] = false;
  for (const SongEntry& e : g_songs)
    for (int m = 0; m < MODE_COUNT; m++)
      for (int d = 0; d < 3; d++)
        if (e.levels[first[m] + d] > 0) flags[m] = true;
}

bool AnyModeAvailable() { return g_availableModes[MODE_SINGLE] || g_availableModes[MODE_DOUBLE] || g_availableModes[MODE_SOLO]; }
