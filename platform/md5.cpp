#include "platform/md5.h"
#include <nettle/md5.h>

std::string Md5_Hex(const void* data, size_t size) {
  md5_ctx ctx;
  md5_init(&ctx);
  md5_update(&ctx, size, (const uint8_t*)data);
  uint8_t digest[MD5_DIGEST_SIZE];
  md5_digest(&ctx, sizeof digest, digest);
  static const char hex[] = "0123456789abcdef";
  std::string out;
  for (uint8_t b : digest) {
    out += hex[b >> 4];
    out += hex[b & 15];
  }
  return out;
}
