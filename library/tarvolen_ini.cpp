#include "library/tarvolen_ini.h"
#include "platform/files.h"
#include "platform/log.h"
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {
// A hand-edited file may be anything; beyond these sizes the rest is not ours to keep.
constexpr size_t kMaxFileBytes = 1 << 20;
constexpr size_t kMaxLineBytes = 4096;

struct Line {
  std::string raw;     // as read, without the line break; rewritten when the key is set
  std::string key;     // empty for comments, blank and bad lines
  std::string value;
  bool reported;       // a bad value on this line was logged already
};

struct Store {
  std::string path = kTarvolenIniFile;
  std::vector<Line> lines;
  bool loaded = false;
  bool changed = false;
  bool writable = true;  // false when the file was too large to keep whole
};
Store g_ini;

std::string trim(const std::string& s) {
  size_t a = s.find_first_not_of(" \t");
  if (a == std::string::npos) return "";
  size_t b = s.find_last_not_of(" \t");
  return s.substr(a, b - a + 1);
}

bool hasBreak(const std::string& s) { return s.find_first_of("\r\n") != std::string::npos || s.find('\0') != std::string::npos; }

bool validKey(const std::string& k) { return !k.empty() && k[0] != '#' && k.find('=') == std::string::npos && !hasBreak(k); }

Line parse(const std::string& raw, int number) {
  Line l{raw, "", "", false};
  std::string t = trim(raw);
  if (t.empty() || t[0] == '#') return l;
  size_t eq = t.find('=');
  std::string key = eq == std::string::npos ? "" : trim(t.substr(0, eq));
  // a lone carriage return inside a line makes a value no setter would store
  if (raw.size() > kMaxLineBytes || hasBreak(raw) || key.empty()) {
    WriteLogf("tarvolen.ini line %d is not 'key = value'; it is kept as it is\n", number);
    return l;
  }
  l.key = key;
  l.value = trim(t.substr(eq + 1));
  return l;
}

void ensureLoaded() {
  if (!g_ini.loaded) TarvolenIni_Load(g_ini.path.c_str());
}

// The line a key's value is read from: the last one.
Line* find(const std::string& key) {
  for (size_t i = g_ini.lines.size(); i-- > 0;)
    if (g_ini.lines[i].key == key) return &g_ini.lines[i];
  return nullptr;
}
}  // namespace

void TarvolenIni_LoadText(const std::string& text, const char* path) {
  g_ini = Store{};
  g_ini.path = path ? path : kTarvolenIniFile;
  g_ini.loaded = true;
  size_t at = 0;
  int number = 0;
  while (at < text.size()) {
    size_t end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    std::string raw = text.substr(at, end - at);
    // every carriage return before the break goes, so that the line reads the same
    // after it is written back with a plain break
    while (!raw.empty() && raw.back() == '\r') raw.pop_back();
    g_ini.lines.push_back(parse(raw, ++number));
    at = end + 1;
  }
}

bool TarvolenIni_Load(const char* path) {
  std::string p = path ? path : kTarvolenIniFile;
  std::vector<uint8_t> bytes;
  if (!File_Exists(p)) {
    TarvolenIni_LoadText("", p.c_str());
    return true;
  }
  long long size = File_Size(p);
  if (size < 0 || !File_ReadUpTo(p, kMaxFileBytes, bytes)) {
    WriteLogf("Unable to read %s; its settings keep their defaults\n", p.c_str());
    TarvolenIni_LoadText("", p.c_str());
    g_ini.writable = false;  // whatever is in it stays
    return false;
  }
  TarvolenIni_LoadText(std::string(bytes.begin(), bytes.end()), p.c_str());
  if ((size_t)size > kMaxFileBytes) {
    WriteLogf("%s is larger than %zu bytes: only its start is read and it is never written\n", p.c_str(),
              kMaxFileBytes);
    g_ini.writable = false;
  }
  return true;
}

std::string TarvolenIni_Text() {
  ensureLoaded();
  std::string out;
  for (const Line& l : g_ini.lines) out += l.raw + "\n";
  return out;
}

bool TarvolenIni_Save() {
  ensureLoaded();
  if (!g_ini.changed) return true;
  if (!g_ini.writable) return false;
  std::string text = TarvolenIni_Text();
  if (!File_WriteSafely(g_ini.path, text.data(), text.size())) {
    WriteLogf("Unable to write %s\n", g_ini.path.c_str());
    return false;
  }
  g_ini.changed = false;
  return true;
}

bool TarvolenIni_GetString(const char* key, std::string& out) {
  ensureLoaded();
  if (!key) return false;
  const Line* l = find(trim(key));
  if (!l) return false;
  out = l->value;
  return true;
}

int TarvolenIni_GetInt(const char* key, int fallback, int lo, int hi) {
  ensureLoaded();
  if (!key) return fallback;
  Line* l = find(trim(key));
  if (!l) return fallback;
  const char* s = l->value.c_str();
  char* end = nullptr;
  errno = 0;
  long v = strtol(s, &end, 10);
  if (end == s || *end != '\0') {
    if (!l->reported) WriteLogf("tarvolen.ini: '%s = %s' is not a number; %d is used\n", l->key.c_str(), s, fallback);
    l->reported = true;
    return fallback;
  }
  if (errno == ERANGE || v < lo || v > hi) {
    long c = v < lo ? lo : hi;
    if (!l->reported) WriteLogf("tarvolen.ini: '%s = %s' is outside %d..%d; %ld is used\n", l->key.c_str(), s, lo, hi, c);
    l->reported = true;
    return (int)c;
  }
  return (int)v;
}

bool TarvolenIni_SetString(const char* key, const std::string& value) {
  ensureLoaded();
  std::string k = key ? trim(key) : "";
  std::string v = trim(value);
  if (!validKey(k) || hasBreak(v)) {
    WriteLogf("tarvolen.ini: the key '%s' cannot be stored\n", k.c_str());
    return false;
  }
  Line* l = find(k);
  if (l && l->value == v) return true;
  std::string raw = k + " = " + v;
  if (l) {
    *l = Line{raw, k, v, false};
  } else {
    g_ini.lines.push_back(Line{raw, k, v, false});
  }
  g_ini.changed = true;
  return true;
}

bool TarvolenIni_SetInt(const char* key, int value) { return TarvolenIni_SetString(key, std::to_string(value)); }

bool TarvolenIni_Remove(const char* key) {
  ensureLoaded();
  if (!key) return false;
  std::string k = trim(key);
  size_t before = g_ini.lines.size();
  std::erase_if(g_ini.lines, [&](const Line& l) { return l.key == k; });
  if (g_ini.lines.size() == before) return false;
  g_ini.changed = true;
  return true;
}
