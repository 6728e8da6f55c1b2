// The start-up search for plug-ins under "Vis", and the list it leaves for the
// options menu and the random backgrounds.
#include "media/vis/vis_internal.h"
#include "platform/files.h"
#include "platform/locks.h"
#include "platform/log.h"
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <mutex>
#include <set>
#include <strings.h>
#include <sys/stat.h>
#include <utility>
#include <vector>

namespace {
// Deep enough for any sensible layout; a folder linked into itself stops here.
constexpr int kMaxDepth = 8;

bool endsInSvp(const std::string& name) {
  if (name.size() < 4) return false;
  std::string tail = name.substr(name.size() - 4);
  for (char& c : tail) c = (char)tolower((unsigned char)c);
  return tail == ".svp";
}

// "x.y" and ".hidden" (and "." and "..") are not searched.
bool skippedFolder(const std::string& name) { return name[0] == '.' || (name.size() > 1 && name[1] == '.'); }

void copyBounded(char* dst, size_t size, const char* src) {
  size_t n = strnlen(src, size - 1);
  memcpy(dst, src, n);
  dst[n] = 0;
}

void probe(const std::string& path, const std::string& fileName) {
  WriteLogf("%s\n", path.c_str());
  if (path.size() >= sizeof(VisEntry::path)) {
    WriteLog(" - path too long, skipped\n");
    return;
  }
  VisInstance vis;
  if (!vis.Load(path.c_str(), VIS_LOAD_PROBE)) return;
  VisEntry& e = g_vis.entries[g_vis.count++];
  copyBounded(e.path, sizeof e.path, path.c_str());
  // A plug-in without a name is shown by its file name.
  const char* name = vis.module->name && *vis.module->name ? vis.module->name : fileName.c_str();
  copyBounded(e.name, sizeof e.name, name);
  WriteLogf(" - found: '%s' (v.%d)\n", e.name, (int)vis.module->version);
  vis.Free();
}

void searchFolder(const std::string& folder, int depth, std::set<std::pair<dev_t, ino_t>>& seen) {
  struct stat st;
  DIR* d = opendir(folder.c_str());
  if (!d || stat(folder.c_str(), &st) != 0) {
    if (d) closedir(d);
    WriteLog("Invalid path...\n");
    return;
  }
  if (!seen.insert({st.st_dev, st.st_ino}).second) {
    closedir(d);
    return;
  }
  // Listed in name order, so that the log and equal display names come out the
  // same on every start.
  std::vector<std::string> names;
  while (dirent* ent = readdir(d)) names.emplace_back(ent->d_name);
  closedir(d);
  std::sort(names.begin(), names.end());
  for (const std::string& name : names) {
    if (name.empty()) continue;
    std::string path = Path_Join(folder, name);
    if (stat(path.c_str(), &st) != 0) continue;
    if (S_ISDIR(st.st_mode)) {
      if (!skippedFolder(name) && depth < kMaxDepth) searchFolder(path, depth + 1, seen);
    } else if (S_ISREG(st.st_mode) && g_vis.count < kVisMaxPlugins && endsInSvp(name)) {
      probe(path, name);
    }
  }
}
}  // namespace

void Vis_Search(const char* folder) {
  Vis_Unload();
  g_vis.settingsPath = Path_Join(Dir_Current(), "vis.ini");
  WriteLog("Searching for visualizations...\n");
  std::set<std::pair<dev_t, ino_t>> seen;
  searchFolder(folder && *folder ? folder : "Vis", 0, seen);
  WriteLogf("%d visuals...\n", g_vis.count);
  std::stable_sort(g_vis.entries, g_vis.entries + g_vis.count,
                   [](const VisEntry& a, const VisEntry& b) { return strcasecmp(a.name, b.name) < 0; });
  for (int i = 0; i < g_vis.count; i++) g_vis.names[i] = g_vis.entries[i].name;
  g_vis.names[g_vis.count] = nullptr;
  g_vis.sound = TvVisSoundData{};
  memset(g_vis.sound.waveform, 128, sizeof g_vis.sound.waveform);
  Vis_SetFade(0.8f);
  // The log's "hVis" tells whether visualizations are ready for the play: only
  // when at least one plug-in was found.
  WriteLog(g_vis.count > 0 ? "hVis=(created)\n" : "hVis=NULL\n");
}

void Vis_Unload() {
  g_vis.count = 0;
  g_vis.names[0] = nullptr;
  std::lock_guard<std::timed_mutex> plugins(g_pluginLock);
  Vis_FreeFrameLocked(true);
}

int Vis_Count() { return g_vis.count; }

const char* Vis_PathAt(uint32_t index) {
  index &= 0xFFFFFF;
  return index < (uint32_t)g_vis.count ? g_vis.entries[index].path : "";
}

const char* Vis_NameAt(uint32_t index) {
  index &= 0xFFFFFF;
  return index < (uint32_t)g_vis.count ? g_vis.entries[index].name : "";
}

const char* const* Vis_Names() { return g_vis.names; }
