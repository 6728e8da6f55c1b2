#include "support/test_support.h"
#include "platform/files.h"
#include <FreeImage.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;

TempDir::TempDir() {
  old = fs::current_path().string();
  std::string tmpl = (fs::temp_directory_path() / "tarvolen-test-XXXXXX").string();
  char* p = mkdtemp(tmpl.data());
  path = p ? p : tmpl;
  fs::current_path(path);
}

TempDir::~TempDir() {
  std::error_code ec;
  fs::current_path(old, ec);
  // TV_KEEP_TEMP=1 leaves the folder for a look after a failure
  if (!getenv("TV_KEEP_TEMP")) fs::remove_all(path, ec);
}

namespace {
void makeParent(const std::string& path) {
  size_t slash = path.find_last_of('/');
  if (slash != std::string::npos && slash > 0) Dir_Create(path.substr(0, slash));
}
}  // namespace

void WriteFile(const std::string& path, const std::string& bytes) {
  makeParent(path);
  std::ofstream f(path, std::ios::binary);
  f << bytes;
}

std::string ReadFile(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::stringstream ss;
  ss << f.rdbuf();
  return ss.str();
}

void WritePicture(const std::string& path, int w, int h, const std::function<uint32_t(int, int)>& colour) {
  makeParent(path);
  FIBITMAP* d = FreeImage_Allocate(w, h, 24);
  for (int y = 0; y < h; y++) {
    BYTE* row = FreeImage_GetScanLine(d, h - 1 - y);
    for (int x = 0; x < w; x++) {
      uint32_t c = colour(x, y);
      row[x * 3 + 0] = c & 0xFF;
      row[x * 3 + 1] = (c >> 8) & 0xFF;
      row[x * 3 + 2] = (c >> 16) & 0xFF;
    }
  }
  FreeImage_Save(FIF_PNG, d, path.c_str());
  FreeImage_Unload(d);
}

namespace {
// The tests run headless however they are started (ctest, the test program by
// hand, a debugger); a driver set in the environment is kept.
struct HeadlessDrivers {
  HeadlessDrivers() {
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
  }
} g_headless;
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> out;
  size_t s = 0;
  while (s < text.size()) {
    size_t e = text.find('\n', s);
    if (e == std::string::npos) e = text.size();
    out.push_back(text.substr(s, e - s));
    s = e + 1;
  }
  return out;
}
