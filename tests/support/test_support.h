#pragma once
// Shared helpers for the test programs.
#include <string>

// Makes a fresh empty folder under the system's temporary folder and makes it
// the working directory for the life of the object; the old one comes back after.
struct TempDir {
  TempDir();
  ~TempDir();
  std::string path;
  std::string old;
};

void WriteFile(const std::string& path, const std::string& bytes);
std::string ReadFile(const std::string& path);
