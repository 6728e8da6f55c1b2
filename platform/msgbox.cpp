#include "platform/msgbox.h"
#include "platform/log.h"
#include <cstdio>
#include <string>

namespace {
MessageBoxHook g_hook = nullptr;
}

void MessageBox_SetHook(MessageBoxHook hook) { g_hook = hook; }

void MessageBox_Show(const char* text, const char* caption) {
  if (!text) text = "";
  if (!caption) caption = "";
  std::string line = std::string(caption) + ": " + text;
  if (line.empty() || line.back() != '\n') line += '\n';
  fputs(line.c_str(), stderr);
  fflush(stderr);
  WriteLog(line.c_str());
  if (g_hook) g_hook(text, caption);
}
