#pragma once
// Files and paths. Paths on disk use "/"; paths that come from data may use "\"
// and may differ in case from the folder on disk (song packs are made on systems
// that ignore case), so lookups fall back to a case-blind match per component.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

bool File_Exists(const std::string& path);             // a regular file or folder
long long File_Size(const std::string& path);           // -1 when missing
bool File_ReadAll(const std::string& path, std::vector<uint8_t>& out);
// At most `maxBytes` from the start of the file (a short file gives what it has).
bool File_ReadUpTo(const std::string& path, size_t maxBytes, std::vector<uint8_t>& out);
bool File_ReadText(const std::string& path, std::string& out);
// Text from song packs comes from any system: drops a UTF-8 byte-order mark at
// the start and turns CR LF and a lone CR into LF, so line readers see lines.
void Text_NormaliseLines(std::string& text);
// Writes `size` bytes so that a kill or a full disk never leaves a truncated file
// in place of the old one: a temporary file beside it, flushed, then renamed over
// (platform/safe_write.cpp). False, with a log line, when anything failed; the old
// file is then as it was and the temporary is gone.
bool File_WriteSafely(const std::string& path, const void* data, size_t size);
bool File_AppendText(const std::string& path, const std::string& text);

std::string Path_FromData(const std::string& p);        // "\" becomes "/"
// The path as it exists on disk: exact, else matched without regard to case one
// component at a time. Returns false (and the converted path) when nothing matches.
bool Path_Resolve(const std::string& p, std::string& out);
std::string Path_Join(const std::string& a, const std::string& b);
std::string Dir_Current();
bool Dir_Create(const std::string& path);               // with parents; true if it exists
