#include "platform/log.h"
#include <atomic>
#include <cstdio>
#include <cstring>
#include <string>

namespace {
const char* const kLogPath = "rkv2.log";
bool g_enabled = false;
int g_level = 0;
std::atomic<void (*)(const char*)> g_listener{nullptr};
}

void Log_SetListener(void (*listener)(const char* line)) { g_listener = listener; }

void LogOff() { g_enabled = false; }

bool LogOpen(int level) {
  g_enabled = true;
  g_level = level;
  // A log that cannot be created is no error: later lines try again to append.
  if (FILE* f = fopen(kLogPath, "w")) {
    fputs("Starting log...\n", f);
    fclose(f);
  }
  return true;
}

bool LogEnabled() { return g_enabled; }

bool WriteLog(const char* text) {
  if (!text) return true;
  if (auto listener = g_listener.load()) listener(text);
  if (!g_enabled) return true;
  if (g_level == 0) {
    if (strstr(text, "LOG2")) return true;
  } else if (g_level != 1) {
    return true;
  }
  FILE* f = fopen(kLogPath, "a");
  if (!f) return false;
  fseek(f, 0, SEEK_END);
  fwrite(text, 1, strlen(text), f);
  fclose(f);
  return true;
}

bool WriteLogf(const char* fmt, ...) {
  if (!g_enabled && !g_listener.load()) return true;
  char buf[2048];
  va_list ap;
  va_start(ap, fmt);
  int n = vsnprintf(buf, sizeof buf, fmt, ap);
  va_end(ap);
  if (n < (int)sizeof buf) return WriteLog(buf);
  // A long line (a deep path, say) is written whole rather than cut.
  std::string big((size_t)n + 1, '\0');
  va_start(ap, fmt);
  vsnprintf(big.data(), big.size(), fmt, ap);
  va_end(ap);
  return WriteLog(big.c_str());
}
