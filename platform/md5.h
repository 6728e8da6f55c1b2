#pragma once
// MD5 digests (RFC 1321) as 32 lower-case hexadecimal characters.
#include <cstddef>
#include <string>

std::string Md5_Hex(const void* data, size_t size);
