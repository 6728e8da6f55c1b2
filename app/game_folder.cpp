#include "app/game_folder.h"
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {
const char* const kSubFolders[] = {"Songs", "Courses", "Profiles", "Movies", "Vis"};
// What bundled content is: these folders and the bonus courses ("*.crs") beside
// them. A build's game folder also holds a player's files (settings, records,
// the log), which are never copied.
const char* const kBundledFolders[] = {"Skins", "Sounds", "Songs", "Courses", "Movies", "Vis"};

bool isBundledFile(const fs::directory_entry& e) {
  std::error_code ec;
  return e.is_regular_file(ec) && e.path().extension() == ".crs";
}

// The log is not open yet when the folder is chosen: what goes wrong is said on
// the terminal.
void warn(const std::string& text) { fprintf(stderr, "tarvolen: %s\n", text.c_str()); }

bool isDirectory(const fs::path& p) {
  std::error_code ec;
  return fs::is_directory(p, ec);
}

// Something stands at `p` (a file, a folder or a link, even a broken one).
bool standsThere(const fs::path& p) {
  std::error_code ec;
  return fs::symlink_status(p, ec).type() != fs::file_type::not_found && !ec;
}

std::string exePath() {
  std::error_code ec;
  fs::path p = fs::read_symlink("/proc/self/exe", ec);
  return ec ? std::string() : p.string();
}

// Copies what `from` has and `to` lacks, file by file; never replaces anything.
void copyMissing(const fs::path& from, const fs::path& to, int& copied) {
  std::error_code ec;
  fs::recursive_directory_iterator it(from, fs::directory_options::skip_permission_denied, ec), end;
  if (ec) {
    warn("the bundled content '" + from.string() + "' cannot be read: " + ec.message());
    return;
  }
  for (; it != end; it.increment(ec)) {
    if (ec) break;
    fs::path rel = fs::relative(it->path(), from, ec);
    if (ec) continue;
    fs::path dest = to / rel;
    std::error_code e2;
    if (it->is_directory(e2)) {
      if (!standsThere(dest)) fs::create_directory(dest, e2);
      if (!isDirectory(dest)) {
        // the player has a file of that name: what the folder would hold stays out
        warn("'" + dest.string() + "' is not a folder; the bundled files for it are left out");
        it.disable_recursion_pending();
      }
      continue;
    }
    if (!it->is_regular_file(e2) || standsThere(dest)) continue;
    // into a temporary beside it, then renamed: a copy cut short never stands as the file
    fs::path tmp = dest;
    tmp += ".part";
    fs::copy_file(it->path(), tmp, fs::copy_options::overwrite_existing, e2);
    if (!e2) fs::rename(tmp, dest, e2);
    if (e2) {
      fs::remove(tmp, ec);
      warn("'" + dest.string() + "' could not be copied: " + e2.message());
      continue;
    }
    copied++;
  }
  if (ec) warn("the bundled content could not all be read: " + ec.message());
}

// One root of bundled content: its content folders and the bonus courses beside them.
void copyBundled(const std::string& root, const fs::path& folder, int& n) {
  std::error_code ec, e1, e2;
  if (fs::weakly_canonical(root, e1) == fs::weakly_canonical(folder, e2)) return;
  for (const char* sub : kBundledFolders) {
    if (!isDirectory(fs::path(root) / sub)) continue;
    fs::path to = folder / sub;
    if (!standsThere(to)) fs::create_directory(to, ec);
    if (!isDirectory(to)) {
      warn("'" + to.string() + "' is not a folder; the bundled files for it are left out");
      continue;
    }
    copyMissing(fs::path(root) / sub, to, n);
  }
  for (const fs::directory_entry& e : fs::directory_iterator(root, ec)) {
    fs::path to = folder / e.path().filename();
    if (!isBundledFile(e) || standsThere(to)) continue;
    std::error_code e3;
    fs::copy_file(e.path(), to, e3);
    if (e3) warn("'" + to.string() + "' could not be copied: " + e3.message());
    else n++;
  }
}
}  // namespace

bool GameFolder_TakeOption(std::vector<std::string>& args, std::string& gameDir, std::string& error) {
  for (size_t i = 0; i < args.size(); i++) {
    const std::string& a = args[i];
    if (a == "--game-dir") {
      if (i + 1 >= args.size() || args[i + 1].empty()) {
        error = "--game-dir needs a folder";
        return false;
      }
      gameDir = args[i + 1];
      args.erase(args.begin() + (long)i, args.begin() + (long)i + 2);
      i--;
    } else if (a.rfind("--game-dir=", 0) == 0) {
      gameDir = a.substr(11);
      if (gameDir.empty()) {
        error = "--game-dir needs a folder";
        return false;
      }
      args.erase(args.begin() + (long)i);
      i--;
    }
  }
  return true;
}

std::vector<std::string> GameFolder_InstalledContent(const std::string& exe) {
  if (exe.empty()) return {};
  fs::path prefix = fs::path(exe).parent_path().parent_path();
  fs::path share = prefix / "share" / "tarvolen", lib = prefix / "lib" / "tarvolen";
  if (!isDirectory(share / "Skins" / "Default")) return {};
  std::vector<std::string> roots{share.lexically_normal().string()};
  if (isDirectory(lib)) roots.push_back(lib.lexically_normal().string());
  return roots;
}

bool GameFolder_Plan(const std::string& exe, const std::string& gameDir, const char* xdgDataHome, const char* home,
                     GameFolderPlan& plan, std::string& error) {
  plan = GameFolderPlan{};
  std::vector<std::string> installed = GameFolder_InstalledContent(exe);
  if (!gameDir.empty()) {
    plan.folder = gameDir;
    // from a build folder the executable's own folder is the bundled content
    std::string own = exe.empty() ? "" : fs::path(exe).parent_path().string();
    if (!installed.empty()) plan.bundled = installed;
    else if (!own.empty() && isDirectory(fs::path(own) / "Skins" / "Default")) plan.bundled = {own};
    return true;
  }
  if (installed.empty()) return true;   // a build folder: the current folder, as always
  plan.bundled = installed;
  if (xdgDataHome && *xdgDataHome) {
    if (xdgDataHome[0] != '/') {
      error = std::string("XDG_DATA_HOME is not an absolute path: '") + xdgDataHome + "'";
      return false;
    }
    plan.folder = (fs::path(xdgDataHome) / "tarvolen").string();
    return true;
  }
  if (!home || home[0] != '/') {
    error = "no home folder to keep the game in (HOME is not set); use --game-dir PATH";
    return false;
  }
  plan.folder = (fs::path(home) / ".local" / "share" / "tarvolen").string();
  return true;
}

bool GameFolder_Prepare(const GameFolderPlan& plan, std::string& error, int* copied) {
  int n = 0;
  if (copied) *copied = 0;
  if (plan.folder.empty()) return true;
  fs::path folder(plan.folder);
  std::error_code ec;
  if (standsThere(folder) && !isDirectory(folder)) {
    error = "'" + plan.folder + "' is not a folder";
    return false;
  }
  fs::create_directories(folder, ec);
  if (!isDirectory(folder)) {
    error = "'" + plan.folder + "' cannot be made: " + (ec ? ec.message() : std::string("unknown reason"));
    return false;
  }
  if (access(folder.c_str(), R_OK | W_OK | X_OK) != 0) {
    error = "'" + plan.folder + "' cannot be written: " + strerror(errno);
    return false;
  }
  for (const char* sub : kSubFolders) {
    fs::path p = folder / sub;
    if (!standsThere(p)) fs::create_directory(p, ec);
  }
  for (const std::string& root : plan.bundled) copyBundled(root, folder, n);
  if (copied) *copied = n;
  return true;
}


bool GameFolder_Enter(std::vector<std::string>& args) {
  std::string gameDir, error;
  GameFolderPlan plan;
  int copied = 0;
  bool ok = GameFolder_TakeOption(args, gameDir, error) &&
            GameFolder_Plan(exePath(), gameDir, getenv("XDG_DATA_HOME"), getenv("HOME"), plan, error) &&
            GameFolder_Prepare(plan, error, &copied);
  if (ok && !plan.folder.empty() && chdir(plan.folder.c_str()) != 0) {
    error = "'" + plan.folder + "' cannot be entered: " + strerror(errno);
    ok = false;
  }
  if (!ok) {
    fprintf(stderr, "tarvolen: cannot use the game folder: %s\n", error.c_str());
    return false;
  }
  if (copied) fprintf(stderr, "tarvolen: %d bundled files copied into '%s'\n", copied, plan.folder.c_str());
  return true;
}
