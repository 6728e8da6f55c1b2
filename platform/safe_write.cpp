#include "platform/files.h"
#include "platform/log.h"
#include <condition_variable>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <mutex>
#include <set>
#include <string>
#include <unistd.h>
#include <vector>

// A save is written to "<name>.tmp<pid>" beside the file, flushed to the disk,
// renamed over the old file, and then the folder is flushed too. A kill at any
// moment leaves the old file or the new one, whole; the temporary it may leave is
// never read and goes at the next save of that file.

namespace {
// Two threads saving one file at once would share its temporary: the second
// waits for the first.
std::mutex g_mutex;
std::condition_variable g_done;
std::set<std::string> g_busy;

struct PathTurn {
  std::string path;
  explicit PathTurn(const std::string& p) : path(p) {
    std::unique_lock<std::mutex> lock(g_mutex);
    g_done.wait(lock, [&] { return g_busy.count(path) == 0; });
    g_busy.insert(path);
  }
  ~PathTurn() {
    std::lock_guard<std::mutex> lock(g_mutex);
    g_busy.erase(path);
    g_done.notify_all();
  }
};

void splitPath(const std::string& path, std::string& dir, std::string& base) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) {
    dir = ".";
    base = path;
  } else {
    dir = slash == 0 ? "/" : path.substr(0, slash);
    base = path.substr(slash + 1);
  }
}

// The process that wrote `name` when it is a temporary of `base`
// ("<base>.tmp<pid>"), else 0.
long tempOwner(const char* name, const std::string& base) {
  if (strncmp(name, base.c_str(), base.size()) != 0 || strncmp(name + base.size(), ".tmp", 4) != 0) return 0;
  const char* p = name + base.size() + 4;
  size_t n = strspn(p, "0123456789");
  if (n == 0 || n > 7 || p[n] != 0) return 0;
  long pid = strtol(p, nullptr, 10);
  return pid <= (1L << 22) ? pid : 0;   // no process number is larger
}

// Temporaries of `base` whose writer is gone (killed while saving, or the
// machine stopped) are removed; one of a process still running is its own
// business, and this run's own is written over.
void removeStaleTemps(const std::string& dir, const std::string& base) {
  DIR* d = opendir(dir.c_str());
  if (!d) return;
  std::vector<std::string> stale;
  while (dirent* e = readdir(d)) {
    long pid = tempOwner(e->d_name, base);
    if (pid <= 0 || pid == (long)getpid()) continue;
    if (kill((pid_t)pid, 0) == 0 || errno != ESRCH) continue;
    stale.push_back(dir == "." ? std::string(e->d_name) : Path_Join(dir, e->d_name));
  }
  closedir(d);
  for (const std::string& full : stale)
    if (unlink(full.c_str()) == 0) WriteLogf("Removed '%s', left by a save that was cut short\n", full.c_str());
}

// A short write (a full disk, a file size limit) is an error, not a retry.
bool writeAll(int fd, const uint8_t* p, size_t left, int& err) {
  while (left > 0) {
    ssize_t w = write(fd, p, left);
    if (w < 0 && errno == EINTR) continue;
    if (w <= 0) {
      err = w < 0 ? errno : ENOSPC;
      return false;
    }
    p += w;
    left -= (size_t)w;
  }
  return true;
}

// The rename is only lasting once the folder is on the disk; some file systems
// cannot flush a folder, and the file is whole either way.
void syncFolder(const std::string& dir) {
  int fd = open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}
}  // namespace

bool File_WriteSafely(const std::string& path, const void* data, size_t size) {
  std::string dir, base;
  splitPath(path, dir, base);
  if (base.empty()) {
    WriteLogf("Unable to save '%s': not a file name\n", path.c_str());
    return false;
  }
  PathTurn turn(path);
  removeStaleTemps(dir, base);
  std::string tmp = path + ".tmp" + std::to_string((long)getpid());
  const char* step = "create";
  int err = 0;
  int fd = open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  bool ok = fd >= 0;
  if (!ok) err = errno;
  if (ok && !writeAll(fd, (const uint8_t*)data, size, err)) {
    step = "write";
    ok = false;
  }
  if (ok && fsync(fd) != 0) {
    err = errno;
    step = "flush";
    ok = false;
  }
  if (fd >= 0 && close(fd) != 0 && ok) {
    err = errno;
    step = "close";
    ok = false;
  }
  if (ok && rename(tmp.c_str(), path.c_str()) != 0) {
    err = errno;
    step = "replace";
    ok = false;
  }
  if (!ok && fd >= 0) unlink(tmp.c_str());
  if (ok)
    syncFolder(dir);
  else
    WriteLogf("Unable to save '%s' (%s failed: %s); the old file stays\n", path.c_str(), step, strerror(err));
  return ok;
}
