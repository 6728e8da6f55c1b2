#include "gen_util.h"

#include <nettle/md5.h>

#include <cstdarg>
#include <cstdio>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

static int g_failures = 0;

std::string JoinPath(const std::string& a, const std::string& b) {
  if (a.empty()) return b;
  if (a.back() == '/') return a + b;
  return a + "/" + b;
}

bool MakeDirs(const std::string& path) {
  std::error_code ec;
  fs::create_directories(path, ec);
  if (ec) {
    GenFail("cannot create folder '%s': %s", path.c_str(), ec.message().c_str());
    return false;
  }
  return true;
}

bool WriteBinaryFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) {
    GenFail("cannot write '%s'", path.c_str());
    return false;
  }
  size_t n = bytes.empty() ? 0 : std::fwrite(bytes.data(), 1, bytes.size(), f);
  bool ok = n == bytes.size();
  ok = (std::fclose(f) == 0) && ok;
  if (!ok) GenFail("short write on '%s'", path.c_str());
  return ok;
}

bool WriteTextFile(const std::string& path, const std::string& text) {
  return WriteBinaryFile(path, std::vector<uint8_t>(text.begin(), text.end()));
}

bool ReadBinaryFile(const std::string& path, std::vector<uint8_t>& bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return true;
}

bool RemoveTree(const std::string& path) {
  std::error_code ec;
  fs::remove_all(path, ec);
  if (ec) {
    GenFail("cannot remove '%s': %s", path.c_str(), ec.message().c_str());
    return false;
  }
  return true;
}

std::string Md5OfFile(const std::string& path) {
  std::vector<uint8_t> bytes;
  if (!ReadBinaryFile(path, bytes)) return "";
  md5_ctx ctx;
  md5_init(&ctx);
  md5_update(&ctx, bytes.size(), bytes.data());
  uint8_t digest[MD5_DIGEST_SIZE];
  md5_digest(&ctx, MD5_DIGEST_SIZE, digest);
  std::string hex;
  for (uint8_t b : digest) hex += Fmt("%02x", b);
  return hex;
}

std::string Fmt(const char* format, ...) {
  va_list ap;
  va_start(ap, format);
  char small[512];
  va_list ap2;
  va_copy(ap2, ap);
  int n = std::vsnprintf(small, sizeof small, format, ap);
  va_end(ap);
  std::string out;
  if (n < 0) {
    va_end(ap2);
    return out;
  }
  if (n < (int)sizeof small) {
    out.assign(small, n);
  } else {
    out.resize(n + 1);
    std::vsnprintf(out.data(), n + 1, format, ap2);
    out.resize(n);
  }
  va_end(ap2);
  return out;
}

void GenFail(const char* format, ...) {
  va_list ap;
  va_start(ap, format);
  std::fputs("contentgen: ", stderr);
  std::vfprintf(stderr, format, ap);
  std::fputc('\n', stderr);
  va_end(ap);
  g_failures++;
}

int GenFailures() { return g_failures; }

Rng::Rng(uint64_t seed) {
  // splitmix64 spreads small seeds over the whole state
  uint64_t z = seed + 0x9E3779B97F4A7C15ull;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  s = (z ^ (z >> 31)) | 1;
}

uint32_t Rng::Next() {
  s ^= s << 13;
  s ^= s >> 7;
  s ^= s << 17;
  return (uint32_t)(s >> 32);
}

double Rng::Uniform() { return Next() * (1.0 / 4294967296.0); }

int Rng::Range(int lo, int hi) {
  if (hi <= lo) return lo;
  return lo + (int)(Uniform() * (hi - lo + 1));
}

double Rng::Between(double lo, double hi) { return lo + (hi - lo) * Uniform(); }

bool Rng::Chance(double p) { return Uniform() < p; }
