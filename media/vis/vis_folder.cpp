// The current folder while a plug-in's entry points run.
//
// The current folder belongs to the whole process, and the game opens files by
// relative path ("rkv2.log" on every log line). So the folder is switched only
// around the calls made while the main thread is the only game thread busy
// (loading and freeing an instance), never around DrawFrame on the media worker,
// and a log line written meanwhile switches back for its own write.
#include "media/vis/vis_internal.h"
#include "platform/files.h"
#include "platform/log.h"
#include <unistd.h>

namespace {
// Set while a scope is switched: where the game was, and where the plug-in is.
std::string g_gameFolder, g_pluginFolder;
}

VisFolderScope::VisFolderScope(const std::string& folder) {
  if (folder.empty() || !g_gameFolder.empty()) return;   // none, or already there
  std::string game = Dir_Current();
  if (chdir(folder.c_str()) != 0) {
    WriteLogf("Could not enter the plug-in folder '%s'\n", folder.c_str());
    return;
  }
  g_gameFolder = game;
  g_pluginFolder = folder;
  switched_ = true;
}

VisFolderScope::~VisFolderScope() {
  if (!switched_) return;
  if (chdir(g_gameFolder.c_str()) != 0) {
    // Nothing sensible is left to do; the log would land in the plug-in folder.
  }
  g_gameFolder.clear();
  g_pluginFolder.clear();
}

void Vis_LogInGameFolder(const char* line) {
  if (g_gameFolder.empty()) {
    WriteLog(line);
    return;
  }
  bool back = chdir(g_gameFolder.c_str()) == 0;
  WriteLog(line);
  if (back && chdir(g_pluginFolder.c_str()) != 0) {
    // The plug-in goes on in the game folder; it only loses relative paths.
  }
}
