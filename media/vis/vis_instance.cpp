// One plug-in in use: loading the library, its start and stop, and the frames it
// draws.
#include "media/vis/vis_internal.h"
#include "platform/files.h"
#include "platform/locks.h"
#include "platform/log.h"
#include <chrono>
#include <dlfcn.h>
#include <mutex>

namespace {
// The folder part of a path, absolute ("" stays "": the game folder).
std::string absoluteFolder(const std::string& path) {
  size_t slash = path.find_last_of('/');
  std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash == 0 ? 1 : slash);
  if (!folder.empty() && folder[0] == '/') return folder;
  return folder.empty() ? Dir_Current() : Path_Join(Dir_Current(), folder);
}

std::string fileName(const std::string& path) {
  size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}
}  // namespace

VisInstance::~VisInstance() { Free(); }

bool VisInstance::Load(const char* path, int loadFlags) {
  if (loaded) return true;
  if (!path || !*path) {
    WriteLog("Error loading Library\n");
    return false;
  }
  // Calls into plug-ins never overlap: the worker may be rendering another one.
  std::lock_guard<std::timed_mutex> plugins(g_pluginLock);
  std::string p = Path_FromData(path);
  folder = absoluteFolder(p);
  // dlopen searches the library path for a bare name: always hand it a full one.
  std::string full = Path_Join(folder, fileName(p));

  // RTLD_LOCAL: two plug-ins may well use the same symbol names.
  library = dlopen(full.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!library) {
    WriteLog("Error loading Library\n");
    const char* why = dlerror();
    WriteLogf(" - %s\n", why ? why : "unknown reason");
    folder.clear();
    return false;
  }
  auto queryModule = (TvVisQueryModuleFn)dlsym(library, TV_VIS_ENTRY_NAME);
  if (!queryModule) {
    WriteLog("Error reading QueryModule\n");
    dlclose(library);
    library = nullptr;
    folder.clear();
    return false;
  }

  bool ok = true;
  {
    VisFolderScope inFolder(folder);
    module = queryModule();
    if (module) {
      if ((loadFlags & VIS_LOAD_READ) && module->ReadSettings) module->ReadSettings(g_vis.settingsPath.c_str());
      if (loadFlags & VIS_LOAD_START) {
        if (module->Start) module->Start();
        if (module->version > 0 && module->AcceptQuery) {
          TvVisQuery* q = Vis_CreateQueryObject();
          if (q) {
            query = q;
            module->AcceptQuery(q);
          } else {
            ok = false;
          }
        }
      }
    }
  }
  if (!module) {
    WriteLog("QueryModule returned no module\n");
    dlclose(library);
    library = nullptr;
    folder.clear();
    return false;
  }
  flags = loadFlags;
  loaded = true;
  if (!ok) {
    WriteLog("Could not create QueryInterface object...\n");
    // Started but unusable: stop it again so that it is not left half running.
    FreeLocked();
    return false;
  }
  if (loadFlags & VIS_LOAD_START) WriteLogf("Initialized Visualization '%.255s'\n", module->name ? module->name : "");
  return true;
}

void VisInstance::Free() {
  if (!loaded) return;
  std::lock_guard<std::timed_mutex> plugins(g_pluginLock);
  FreeLocked();
}

void VisInstance::FreeLocked() {
  if (!loaded) return;
  {
    VisFolderScope inFolder(folder);
    if ((flags & VIS_LOAD_STORE) && module->StoreSettings) module->StoreSettings(g_vis.settingsPath.c_str());
    if ((flags & VIS_LOAD_START) && module->version > 0 && module->Stop) module->Stop();
  }
  Vis_FreeQueryObject((TvVisQuery*)query);
  query = nullptr;
  module = nullptr;
  dlclose(library);
  library = nullptr;
  if (flags & VIS_LOAD_START) WriteLog("Freed library... ");
  loaded = false;
  flags = 0;
  folder.clear();
}

bool VisInstance::Render(uint32_t timeMs, uint32_t musicChannel) {
  if (!loaded) return false;
  // A missed wait skips this frame rather than stalling the worker.
  std::unique_lock<std::timed_mutex> plugins(g_pluginLock, std::defer_lock);
  if (!plugins.try_lock_for(std::chrono::milliseconds(kLockWaitMs))) return false;
  if (!loaded || !module->DrawFrame) return false;
  VisFrame& f = g_vis.frame;
  // The frame may have been let go when another plug-in stopped being shown.
  if (!f.pixels && (f.quality == 0 || !Vis_CreateFrameLocked(f.quality, f.alpha))) return false;

  Vis_FillSound(timeMs, musicChannel, module->needs);
  if (module->needs & TV_VIS_NEEDS_FADE) {
    const uint8_t* t = g_vis.fade;
    size_t n = (size_t)f.width * f.height;
    for (size_t i = 0; i < n; i++) {
      uint32_t p = f.pixels[i];
      f.pixels[i] = 0xFF000000u | (uint32_t)t[(p >> 16) & 255] << 16 | (uint32_t)t[(p >> 8) & 255] << 8 | t[p & 255];
    }
  }
  // No folder switch here: see vis_folder.cpp.
  int changed = module->DrawFrame(f.pixels, f.width, f.height, f.width, &g_vis.sound);
  if (changed) Vis_UploadFrame();
  return changed != 0;
}
