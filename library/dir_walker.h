#pragma once
// Lists one folder: every entry but "." and "..", of type 0 any, 1 files only,
// 2 folders only, sorted by upper-cased name in byte order. Keeps the newest
// change time among the listed entries. Entries that cannot be looked at (a
// dangling link, no permission) are left out with a log line.
#include <cstdint>
#include <string>
#include <vector>

struct DirEntry {
  std::string name;
  std::string upperName;
  bool isDir = false;
  int64_t mtime = 0;      // nanoseconds since 1970: an edit in the same second as the database still counts
  // The later of the modification and status-change times: a file copied or
  // unpacked with its old date kept still shows when it arrived.
  int64_t changed = 0;
  int64_t size = 0;
};

class DirWalker {
 public:
  // Returns the entry count, or -1 when the folder cannot be listed. The pattern
  // is "*" or "*.ext" (matched without regard to case).
  int openDir(const std::string& path, const char* pattern, int type);
  std::vector<DirEntry> entries;
  int64_t newest = 0;         // of the entries' `changed` times
};

std::string Text_Upper(const std::string& s);
