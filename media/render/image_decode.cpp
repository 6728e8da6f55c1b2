#include "media/render/image_decode.h"
#include "platform/log.h"
#include "platform/files.h"
#include <FreeImage.h>
#include <cstring>
#include <vector>

namespace {
bool isPictureFormat(FREE_IMAGE_FORMAT f) { return f == FIF_PNG || f == FIF_JPEG || f == FIF_BMP; }

// The file's bytes, or false with a log line.
bool readPicture(const char* path, std::vector<uint8_t>& bytes) {
  std::string resolved;
  if (!path || !*path || !Path_Resolve(path, resolved)) {
    WriteLogf("Picture file '%s' not found\n", path ? path : "");
    return false;
  }
  long long size = File_Size(resolved);
  if (size <= 0 || size > kMaxPictureFileBytes) {
    WriteLogf("Picture file '%s' is empty or too large (%lld bytes)\n", path, size);
    return false;
  }
  if (!File_ReadAll(resolved, bytes) || bytes.empty()) {
    WriteLogf("Picture file '%s' could not be read\n", path);
    return false;
  }
  return true;
}

FREE_IMAGE_FORMAT formatOf(FIMEMORY* mem, int fallback) {
  FREE_IMAGE_FORMAT f = FreeImage_GetFileTypeFromMemory(mem, 0);
  FreeImage_SeekMemory(mem, 0, SEEK_SET);
  return isPictureFormat(f) ? f : (FREE_IMAGE_FORMAT)fallback;
}

// Header only; false when the decoder rejects it.
bool headerSize(FIMEMORY* mem, FREE_IMAGE_FORMAT f, int32_t& w, int32_t& h) {
  FIBITMAP* head = FreeImage_LoadFromMemory(f, mem, FIF_LOAD_NOPIXELS);
  FreeImage_SeekMemory(mem, 0, SEEK_SET);
  if (!head) return false;
  w = (int32_t)FreeImage_GetWidth(head);
  h = (int32_t)FreeImage_GetHeight(head);
  FreeImage_Unload(head);
  return true;
}
}  // namespace

int Decode_FormatForEnding(const char* path) {
  size_t n = path ? strlen(path) : 0;
  if (n < 4) return -1;
  const char* e = path + n - 4;
  if (!strcmp(e, ".png")) return FIF_PNG;
  if (!strcmp(e, ".jpg")) return FIF_JPEG;
  if (!strcmp(e, ".bmp")) return FIF_BMP;
  return -1;
}

FIBITMAP* Decode_File(const char* path, int format) {
  std::vector<uint8_t> bytes;
  if (!readPicture(path, bytes)) return nullptr;
  FIMEMORY* mem = FreeImage_OpenMemory(bytes.data(), (DWORD)bytes.size());
  if (!mem) return nullptr;
  FREE_IMAGE_FORMAT f = formatOf(mem, format);
  FIBITMAP* dib = nullptr;
  int32_t w = 0, h = 0;
  if (!isPictureFormat(f) || !headerSize(mem, f, w, h)) {
    WriteLogf("Picture file '%s' is not a PNG, JPEG or BMP picture\n", path);
  } else if (w <= 0 || h <= 0 || w > kMaxPictureSide || h > kMaxPictureSide) {
    WriteLogf("Picture file '%s' has an unusable size (%d x %d)\n", path, w, h);
  } else {
    dib = FreeImage_LoadFromMemory(f, mem, f == FIF_JPEG ? JPEG_ACCURATE : 0);
    if (!dib || !FreeImage_HasPixels(dib) || (int32_t)FreeImage_GetWidth(dib) != w ||
        (int32_t)FreeImage_GetHeight(dib) != h) {
      if (dib) FreeImage_Unload(dib);
      dib = nullptr;
      WriteLogf("Picture file '%s' could not be decoded\n", path);
    }
  }
  FreeImage_CloseMemory(mem);
  return dib;
}

bool Decode_FileSize(const char* path, int32_t* width, int32_t* height) {
  std::vector<uint8_t> bytes;
  if (!readPicture(path, bytes)) return false;
  FIMEMORY* mem = FreeImage_OpenMemory(bytes.data(), (DWORD)bytes.size());
  if (!mem) return false;
  FREE_IMAGE_FORMAT f = formatOf(mem, FIF_UNKNOWN);
  int32_t w = 0, h = 0;
  bool ok = isPictureFormat(f) && headerSize(mem, f, w, h) && w > 0 && h > 0;
  FreeImage_CloseMemory(mem);
  if (!ok) {
    WriteLogf("Picture file '%s' could not be read for its size\n", path);
    return false;
  }
  if (width) *width = w;
  if (height) *height = h;
  return true;
}
