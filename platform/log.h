#pragma once
// The optional trace "rkv2.log" in the working directory. Off unless the game is
// started with "/log" (level 0) or "/log2" (level 1). At level 0 a message whose
// text contains "LOG2" is left out. The file is opened and closed for every
// message, so whatever was written survives a crash.
#include <cstdarg>

void LogOff();
bool LogOpen(int level);
bool WriteLog(const char* text);      // writes the text verbatim, never as a format
bool WriteLogf(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
bool LogEnabled();
// Sees every line as it is written, whether or not the log is on (and at every
// level), from whatever thread writes it. One listener; null removes it.
void Log_SetListener(void (*listener)(const char* line));
