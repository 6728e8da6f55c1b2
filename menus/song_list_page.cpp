#include "menus/song_list_page.h"
#include "library/settings.h"

std::vector<SongListGroup> SongList_GroupsOf(const Collection& c) {
  std::vector<SongListGroup> groups;
  groups.reserve((size_t)c.groupCount);
  for (int n = 0; n < c.groupCount; n++) {
    const CollectionGroup& g = c.groups[n];
    groups.push_back({g.label, sizeof g.label, g.songs, g.count});
  }
  return groups;
}

namespace {
std::vector<SongListGroup> allMusic() {
  uint8_t sort = g_settings.currentSort;
  g_settings.currentSort = SORT_ALL_MUSIC;
  BuildCollection(0, nullptr, 0, 1, 0);
  g_settings.currentSort = sort;
  return SongList_GroupsOf(g_collection);
}
}  // namespace

bool SongList_WriteLibraryPage() { return SongList_WriteHtml(allMusic); }
