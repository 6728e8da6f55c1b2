#pragma once
// "tarvolen.ini" beside "rkv2.cfg": the settings the fixed-layout record has no
// room for, as plain "key = value" lines. Lines starting with "#" are comments.
// The file is kept as the player left it: comments, blank lines, unknown keys and
// lines that are not "key = value" are written back in their places, and only
// the lines of keys that were set change. A key given twice takes the later value.
// Writing goes through a temporary file and a rename, so a crash never leaves half
// a file. Reading never fails the game: a missing file is an empty one, a bad line
// is logged and kept, a value out of range is clamped with a log line.
#include <string>

constexpr const char* kTarvolenIniFile = "tarvolen.ini";

// Reads the file (a missing one gives an empty store). Replaces what was held
// before. False only when the file exists and cannot be read.
bool TarvolenIni_Load(const char* path = kTarvolenIniFile);
// The same from text, for a store that is never written (tests, tools).
void TarvolenIni_LoadText(const std::string& text, const char* path = kTarvolenIniFile);
// Writes the file when something was set since it was read; true when nothing
// needed writing or the write went through.
bool TarvolenIni_Save();
// The whole file as it would be written.
std::string TarvolenIni_Text();

// The value of `key`, false (and `out` untouched) when it is not set.
bool TarvolenIni_GetString(const char* key, std::string& out);
// The value as a whole number within lo..hi: a missing key gives `fallback`, a
// value that is not a number gives `fallback` with a log line, one out of range is
// clamped with a log line (each bad line is reported once).
int TarvolenIni_GetInt(const char* key, int fallback, int lo, int hi);
// Set a key: an existing line is rewritten in place as "key = value", a new key is
// appended. Keys are trimmed; a key that is empty or holds "=", "#" at its start
// or a line break, or a value with a line break, is refused (false, a log line).
bool TarvolenIni_SetString(const char* key, const std::string& value);
bool TarvolenIni_SetInt(const char* key, int value);
// Removes every line of `key`; true when there was one.
bool TarvolenIni_Remove(const char* key);
