#pragma once
// Picture sizes read from the file headers alone (PNG, BMP, JPEG). The indexer
// measures every banner and background of the library to tell them apart, and
// decoding thousands of pictures only for their size would cost seconds.
#include <cstdint>

bool ImageHeader_Size(const char* path, int32_t* width, int32_t* height);
bool ImageHeader_SizeFromBytes(const uint8_t* data, unsigned long size, int32_t* width, int32_t* height);
