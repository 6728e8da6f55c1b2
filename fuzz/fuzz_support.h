#pragma once
// Helpers of the fuzz targets that read files from disk: each run works in a
// folder of its own under /tmp (the targets are started in their corpus folder,
// which must hold inputs only), removed when the run ends.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace fuzz {
inline std::string& WorkFolder() {
  static std::string folder;
  return folder;
}

// Makes the work folder and goes into it; call once from LLVMFuzzerInitialize.
inline void EnterWorkFolder(const char* name) {
  std::string pattern = std::string("/tmp/") + name + "-XXXXXX";
  if (!mkdtemp(pattern.data()) || chdir(pattern.c_str()) != 0) {
    fprintf(stderr, "%s: no work folder\n", name);
    abort();
  }
  WorkFolder() = pattern;
  atexit([] {
    std::error_code ec;
    std::filesystem::remove_all(WorkFolder(), ec);
  });
}

inline void WriteFile(const std::string& path, const uint8_t* data, size_t size) {
  std::error_code ec;
  std::filesystem::path p(path);
  if (p.has_parent_path()) std::filesystem::create_directories(p.parent_path(), ec);
  FILE* f = fopen(path.c_str(), "wb");
  if (!f) {
    fprintf(stderr, "cannot write %s\n", path.c_str());
    abort();
  }
  if (size) fwrite(data, 1, size, f);
  fclose(f);
}

inline void Check(bool ok, const char* target, const char* what) {
  if (!ok) {
    fprintf(stderr, "%s check failed: %s\n", target, what);
    abort();
  }
}
}  // namespace fuzz
