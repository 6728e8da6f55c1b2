#include "library/dir_walker.h"
#include "platform/log.h"
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>

std::string Text_Upper(const std::string& s) {
  std::string u = s;
  for (char& c : u)
    if (c >= 'a' && c <= 'z') c = (char)(c - 32);
  return u;
}

namespace {
bool matches(const std::string& name, const char* pattern) {
  if (!pattern || !*pattern || (pattern[0] == '*' && pattern[1] == 0)) return true;
  if (pattern[0] == '*' && pattern[1] == '.') {
    size_t n = strlen(pattern + 1);
    return name.size() >= n && strcasecmp(name.c_str() + name.size() - n, pattern + 1) == 0;
  }
  return strcasecmp(name.c_str(), pattern) == 0;
}
}

int DirWalker::openDir(const std::string& path, const char* pattern, int type) {
  entries.clear();
  newest = 0;
  if (type < 0 || type > 2) {
    fputs("DirWalker::openDir - Invalid directory entry type received.\n", stderr);
    return -1;
  }
  DIR* d = opendir(path.c_str());
  if (!d) {
    WriteLogf("Cannot list folder '%s' (%s)\n", path.c_str(), strerror(errno));
    return -1;
  }
  int fd = dirfd(d);
  while (dirent* e = readdir(d)) {
    std::string name = e->d_name;
    if (name == "." || name == "..") continue;
    if (!matches(name, pattern)) continue;
    struct stat st;
    if (fstatat(fd, e->d_name, &st, 0) != 0) {  // a dangling link, a loop of links, no permission
      WriteLogf("Skipping '%s/%s' (%s)\n", path.c_str(), e->d_name, strerror(errno));
      continue;
    }
    bool dir = S_ISDIR(st.st_mode);
    if ((type == 1 && dir) || (type == 2 && !dir)) continue;
    DirEntry de;
    de.name = name;
    de.upperName = Text_Upper(name);
    de.isDir = dir;
    de.mtime = (int64_t)st.st_mtim.tv_sec * 1000000000 + st.st_mtim.tv_nsec;
    de.size = (int64_t)st.st_size;
    int64_t ctime = (int64_t)st.st_ctim.tv_sec * 1000000000 + st.st_ctim.tv_nsec;
    de.changed = std::max(de.mtime, ctime);
    if (de.changed > newest) newest = de.changed;
    entries.push_back(std::move(de));
  }
  closedir(d);
  std::stable_sort(entries.begin(), entries.end(),
                   [](const DirEntry& a, const DirEntry& b) { return a.upperName < b.upperName; });
  return (int)entries.size();
}
