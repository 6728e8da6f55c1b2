#pragma once
// Helpers for the visualization tests: the test plug-ins (built into
// TV_TEST_VIS_DIR), copies of them under other names, their recorded calls, and
// the log lines written meanwhile.
#include "media/vis/tarvolen_vis.h"
#include "media/vis/vis.h"
#include "platform/files.h"
#include "platform/log.h"
#include "support/test_support.h"
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <algorithm>
#include <filesystem>
#include <mutex>
#include <string>
#include <vector>

inline std::string TestPlugin(const char* name) { return std::string(TV_TEST_VIS_DIR) + "/" + name + ".svp"; }

// Copies a built test plug-in to `dest` (folders made as needed).
inline void CopyPlugin(const char* name, const std::string& dest) {
  size_t slash = dest.find_last_of('/');
  if (slash != std::string::npos) Dir_Create(dest.substr(0, slash));
  std::filesystem::copy_file(TestPlugin(name), dest, std::filesystem::copy_options::overwrite_existing);
}

// The recorder plug-in's variables, through a handle of our own: the library
// stays loaded (and its counts kept) after the game lets it go.
struct Recorder {
  explicit Recorder(const std::string& path) : handle(dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL)) {}
  ~Recorder() {
    if (handle) dlclose(handle);
  }
  template <typename T>
  T& var(const char* name) {
    void* p = handle ? dlsym(handle, name) : nullptr;
    if (!p) {
      ADD_FAILURE() << "no " << name;
      static T dummy{};
      return dummy;
    }
    return *(T*)p;
  }
  int count(const char* name) { return var<int>(name); }
  std::string text(const char* name) { return std::string(&var<char>(name)); }
  void* handle;
};

// Every log line written while it lives.
class LogLines {
 public:
  LogLines() {
    lines().clear();
    Log_SetListener(&LogLines::add);
  }
  ~LogLines() { Log_SetListener(nullptr); }
  std::vector<std::string> all() {
    std::lock_guard<std::mutex> lk(mutex());
    return lines();
  }
  bool has(const std::string& line) {
    auto v = all();
    return std::find(v.begin(), v.end(), line) != v.end();
  }
  // Whether `want` appear in this order (others may come between).
  bool inOrder(const std::vector<std::string>& want) {
    auto v = all();
    size_t i = 0;
    for (const auto& l : v)
      if (i < want.size() && l == want[i]) i++;
    return i == want.size();
  }

 private:
  static std::vector<std::string>& lines() {
    static std::vector<std::string> v;
    return v;
  }
  static std::mutex& mutex() {
    static std::mutex m;
    return m;
  }
  static void add(const char* line) {
    std::lock_guard<std::mutex> lk(mutex());
    lines().push_back(line);
  }
};

inline std::string RealFolder(const std::string& p) { return std::filesystem::canonical(p).string(); }
