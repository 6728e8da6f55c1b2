#include "menus/profile_picture.h"
#include "platform/files.h"
#include "platform/log.h"
#include <cstdio>
#include <string>

bool ProfilePicture_Load(const char* profileName, int side, Image& out) {
  out.Free();
  if (!profileName || !*profileName) return false;
  char path[64];
  snprintf(path, sizeof path, "Profiles/%s/user.png", profileName);
  std::string found;   // "User.PNG" made on a system that ignores case is found too
  if (!Path_Resolve(path, found)) return false;
  // The picture layer refuses empty, corrupt and oversized files with its own
  // log line; the picture is shrunk once, so a large photo costs one decode.
  if (!out.Load(path, 0, 1) || !out.SetSize(side, side, 1)) {
    out.Free();
    WriteLogf("Profile '%s': its picture '%s' cannot be shown; the default picture is used\n", profileName, path);
    return false;
  }
  return true;
}
