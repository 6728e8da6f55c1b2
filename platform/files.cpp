#include "platform/files.h"
#include <cstdio>
#include <filesystem>
#include <strings.h>

namespace fs = std::filesystem;

bool File_Exists(const std::string& path) {
  std::error_code ec;
  return !path.empty() && fs::exists(path, ec);
}

long long File_Size(const std::string& path) {
  std::error_code ec;
  if (!fs::is_regular_file(path, ec)) return -1;
  auto n = fs::file_size(path, ec);
  return ec ? -1 : (long long)n;
}

bool File_ReadAll(const std::string& path, std::vector<uint8_t>& out) {
  out.clear();
  FILE* f = fopen(path.c_str(), "rb");
  if (!f) return false;
  uint8_t buf[65536];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, f)) > 0) out.insert(out.end(), buf, buf + n);
  bool ok = !ferror(f);
  fclose(f);
  return ok;
}

bool File_ReadUpTo(const std::string& path, size_t maxBytes, std::vector<uint8_t>& out) {
  out.clear();
  FILE* f = fopen(path.c_str(), "rb");
  if (!f) return false;
  out.resize(maxBytes);
  size_t n = fread(out.data(), 1, maxBytes, f);
  bool ok = !ferror(f);
  fclose(f);
  out.resize(n);
  return ok;
}

bool File_ReadText(const std::string& path, std::string& out) {
  std::vector<uint8_t> b;
  bool ok = File_ReadAll(path, b);
  out.assign(b.begin(), b.end());
  return ok;
}

void Text_NormaliseLines(std::string& text) {
  size_t r = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
  size_t w = 0;
  for (; r < text.size(); r++) {
    char c = text[r];
    if (c == '\r') {
      if (r + 1 < text.size() && text[r + 1] == '\n') continue;  // CR LF: the LF follows
      c = '\n';                                                // an old Mac's lone CR
    }
    text[w++] = c;
  }
  text.resize(w);
}

bool File_AppendText(const std::string& path, const std::string& text) {
  FILE* f = fopen(path.c_str(), "a");
  if (!f) return false;
  bool ok = fwrite(text.data(), 1, text.size(), f) == text.size();
  if (fclose(f) != 0) ok = false;
  return ok;
}

std::string Path_FromData(const std::string& p) {
  std::string s = p;
  for (char& c : s)
    if (c == '\\') c = '/';
  return s;
}

std::string Path_Join(const std::string& a, const std::string& b) {
  if (a.empty()) return b;
  if (a.back() == '/') return a + b;
  return a + "/" + b;
}

bool Path_Resolve(const std::string& in, std::string& out) {
  std::string p = Path_FromData(in);
  out = p;
  if (p.empty()) return false;
  if (File_Exists(p)) return true;
  // Walk component by component, matching each one without regard to case.
  std::string cur = p[0] == '/' ? "/" : "";
  size_t i = p[0] == '/' ? 1 : 0;
  while (i <= p.size()) {
    size_t j = p.find('/', i);
    if (j == std::string::npos) j = p.size();
    std::string part = p.substr(i, j - i);
    i = j + 1;
    if (part.empty() || part == ".") continue;
    std::string exact = cur.empty() ? part : Path_Join(cur, part);
    if (part == ".." || File_Exists(exact)) { cur = exact; continue; }
    std::error_code ec;
    bool found = false;
    for (fs::directory_iterator it(cur.empty() ? "." : cur, ec), end; !ec && it != end; it.increment(ec)) {
      std::string name = it->path().filename().string();
      if (strcasecmp(name.c_str(), part.c_str()) == 0) {
        cur = cur.empty() ? name : Path_Join(cur, name);
        found = true;
        break;
      }
    }
    if (!found) return false;
  }
  out = cur;
  return true;
}

std::string Dir_Current() {
  std::error_code ec;
  auto p = fs::current_path(ec);
  return ec ? std::string(".") : p.string();
}

bool Dir_Create(const std::string& path) {
  std::error_code ec;
  fs::create_directories(path, ec);
  return fs::is_directory(path, ec);
}
