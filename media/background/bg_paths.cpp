// Reading a background script's values and turning its paths into files on disk.
#include "media/background/bg_script_internal.h"
#include "chart/chart_text.h"
#include "platform/files.h"
#include <cmath>

std::string_view BgValue_Trim(std::string_view s) {
  auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

int BgValue_Numbers(std::string_view s, double* out, int max) {
  int n = 0;
  while (n < max) {
    double v;
    if (!ChartText_Decimal(s, v) || !std::isfinite(v)) break;
    out[n++] = v;
    size_t comma = s.find(',');
    // the number must be followed by its comma, not by another tag
    size_t stop = s.find_first_of(":;");
    if (comma == std::string_view::npos || (stop != std::string_view::npos && stop < comma)) break;
    s.remove_prefix(comma + 1);
  }
  return n;
}

double BgValue_Number(std::string_view s, double fallback) {
  double v;
  return BgValue_Numbers(s, &v, 1) == 1 ? v : fallback;
}

namespace {
// Without a look on disk the path is only converted.
std::string OnDisk(const std::string& p, bool lookOnDisk) {
  if (!lookOnDisk) return Path_FromData(p);
  std::string out;
  Path_Resolve(p, out);
  return out;
}
}  // namespace

std::string BgPath_Media(const char* songFolder, std::string_view value, bool lookOnDisk) {
  std::string v(BgValue_Trim(value));
  if (v.empty() || v[0] == '.') return OnDisk(v.empty() ? "." : v, lookOnDisk);
  return OnDisk(Path_Join(songFolder, Path_FromData(v)), lookOnDisk);
}

std::string BgPath_RandomFolder(const char* songFolder, std::string_view value, bool lookOnDisk) {
  std::string v(BgValue_Trim(value));
  if (v.empty()) return songFolder;
  bool rooted = v[0] == '\\' || v[0] == '/';
  bool drive = v.size() >= 2 && v[1] == ':' && ((v[0] >= 'A' && v[0] <= 'Z') || (v[0] >= 'a' && v[0] <= 'z'));
  bool singleDot = v[0] == '.' && (v.size() == 1 || v[1] != '.');
  if (rooted || drive || singleDot) return OnDisk(v, lookOnDisk);
  return OnDisk(Path_Join(songFolder, Path_FromData(v)), lookOnDisk);
}

std::string BgPath_Vis(const char* songFolder, std::string_view value, bool lookOnDisk) {
  std::string v(BgValue_Trim(value));
  if (v.find_first_of("/\\") != std::string::npos) return BgPath_Media(songFolder, v, lookOnDisk);
  std::string inVis = Path_Join("Vis", v);
  if (!lookOnDisk) return inVis;
  std::string found;
  if (Path_Resolve(inVis, found)) return found;
  std::string inSong;
  if (Path_Resolve(Path_Join(songFolder, v), inSong)) return inSong;
  return inVis;
}
