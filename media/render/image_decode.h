#pragma once
// Decoding picture files with FreeImage, with the limits that keep a broken or
// hostile file from taking the game down.
#include <cstdint>

struct FIBITMAP;

constexpr int32_t kMaxPictureSide = 8192;
constexpr long long kMaxPictureFileBytes = 256ll << 20;

// FreeImage format for a path ending ".png", ".jpg" or ".bmp" (already lower
// case), or -1 for any other ending.
int Decode_FormatForEnding(const char* path);
// Reads and decodes the file (found without regard to case). The file's own
// signature decides the decoder when it is one of the three kinds, else
// `format`. Returns none, with a log line, when the file is missing, too large,
// or does not decode. The caller unloads the bitmap.
FIBITMAP* Decode_File(const char* path, int format);
// Width and height from the file's header only.
bool Decode_FileSize(const char* path, int32_t* width, int32_t* height);
