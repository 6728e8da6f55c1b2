#pragma once
// Shared helpers for the test programs.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Makes a fresh empty folder under the system's temporary folder and makes it
// the working directory for the life of the object; the old one comes back after.
struct TempDir {
  TempDir();
  ~TempDir();
  std::string path;
  std::string old;
};

void WriteFile(const std::string& path, const std::string& bytes);
// The lines of a text, without their line breaks.
std::vector<std::string> SplitLines(const std::string& text);
std::string ReadFile(const std::string& path);

// A 24-bit PNG of `w` x `h` whose pixel (x, y), counted from the top, is
// colour(x, y) (0xRRGGBB).
void WritePicture(const std::string& path, int w, int h, const std::function<uint32_t(int, int)>& colour);
