#include "library/image_header.h"
#include <cstdio>
#include <vector>

namespace {
uint32_t be32(const uint8_t* p) { return (uint32_t)p[0] << 24 | (uint32_t)p[1] << 16 | (uint32_t)p[2] << 8 | p[3]; }
uint32_t be16(const uint8_t* p) { return (uint32_t)p[0] << 8 | p[1]; }
int32_t le32(const uint8_t* p) { return (int32_t)((uint32_t)p[0] | (uint32_t)p[1] << 8 | (uint32_t)p[2] << 16 | (uint32_t)p[3] << 24); }

bool valid(int64_t w, int64_t h) { return w > 0 && h > 0 && w < 65536 && h < 65536; }
}

bool ImageHeader_SizeFromBytes(const uint8_t* d, unsigned long n, int32_t* w, int32_t* h) {
  if (n >= 24 && d[0] == 0x89 && d[1] == 'P' && d[2] == 'N' && d[3] == 'G' && d[12] == 'I' && d[13] == 'H' &&
      d[14] == 'D' && d[15] == 'R') {
    int64_t ww = be32(d + 16), hh = be32(d + 20);
    if (!valid(ww, hh)) return false;
    *w = (int32_t)ww;
    *h = (int32_t)hh;
    return true;
  }
  if (n >= 26 && d[0] == 'B' && d[1] == 'M') {
    int32_t hdr = le32(d + 14);
    int64_t ww, hh;
    if (hdr == 12) {  // the old OS/2 header has 16-bit sizes
      ww = d[18] | d[19] << 8;
      hh = d[20] | d[21] << 8;
    } else {
      ww = le32(d + 18);
      hh = le32(d + 22);
      if (hh < 0) hh = -hh;  // top-down bitmap
    }
    if (!valid(ww, hh)) return false;
    *w = (int32_t)ww;
    *h = (int32_t)hh;
    return true;
  }
  if (n >= 4 && d[0] == 0xFF && d[1] == 0xD8) {
    unsigned long i = 2;
    while (i + 4 <= n) {
      if (d[i] != 0xFF) return false;
      uint8_t m = d[i + 1];
      if (m == 0xFF) { i++; continue; }   // fill bytes
      if (m == 0xD8 || m == 0x01 || (m >= 0xD0 && m <= 0xD7)) { i += 2; continue; }
      uint32_t len = be16(d + i + 2);
      if (len < 2) return false;
      bool sof = m >= 0xC0 && m <= 0xCF && m != 0xC4 && m != 0xC8 && m != 0xCC;
      if (sof) {
        if (i + 9 > n) return false;
        int64_t hh = be16(d + i + 5), ww = be16(d + i + 7);
        if (!valid(ww, hh)) return false;
        *w = (int32_t)ww;
        *h = (int32_t)hh;
        return true;
      }
      i += 2 + len;
    }
  }
  return false;
}

bool ImageHeader_Size(const char* path, int32_t* w, int32_t* h) {
  FILE* f = fopen(path, "rb");
  if (!f) return false;
  // PNG and BMP sizes sit in the first bytes; a JPEG's frame header follows its
  // metadata segments, which are rarely more than a few tens of kilobytes.
  std::vector<uint8_t> buf(4096);
  size_t n = fread(buf.data(), 1, buf.size(), f);
  bool ok = ImageHeader_SizeFromBytes(buf.data(), n, w, h);
  if (!ok && n == buf.size() && buf[0] == 0xFF && buf[1] == 0xD8) {
    buf.resize(1 << 20);
    n += fread(buf.data() + n, 1, buf.size() - n, f);
    ok = ImageHeader_SizeFromBytes(buf.data(), n, w, h);
  }
  fclose(f);
  return ok;
}
