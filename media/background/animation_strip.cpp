// Animation strips: the decoded picture is kept whole and the frame shown is
// cut from it again whenever the time moves on to another frame.
#include "media/background/animation_strip.h"
#include "media/render/image_decode.h"
#include "platform/log.h"
#include <FreeImage.h>
#include <algorithm>
#include <cctype>
#include <string>

namespace {
// The strip as a 32-bit picture with the alpha the key rule gives it.
FIBITMAP* ToKeyedArgb(FIBITMAP* dib, bool keyFlag) {
  FIBITMAP* standard = nullptr;
  if (FreeImage_GetImageType(dib) != FIT_BITMAP && FreeImage_GetImageType(dib) != FIT_RGBA16 &&
      FreeImage_GetImageType(dib) != FIT_RGB16) {
    standard = FreeImage_ConvertToStandardType(dib, TRUE);
    if (!standard) return nullptr;
    dib = standard;
  }
  bool ownAlpha = FreeImage_GetBPP(dib) >= 32 || FreeImage_GetImageType(dib) == FIT_RGBA16;
  FIBITMAP* argb = FreeImage_ConvertTo32Bits(dib);
  if (standard) FreeImage_Unload(standard);
  if (!argb) return nullptr;
  const unsigned w = FreeImage_GetWidth(argb), h = FreeImage_GetHeight(argb);
  if (keyFlag && ownAlpha) return argb;   // a picture with alpha says itself what shows
  // the bottom-left pixel (the first stored row) gives the key colour
  const uint32_t key = ((const uint32_t*)FreeImage_GetScanLine(argb, 0))[0] & 0xFFFFFF;
  for (unsigned r = 0; r < h; r++) {
    uint32_t* p = (uint32_t*)FreeImage_GetScanLine(argb, r);
    for (unsigned c = 0; c < w; c++) {
      if (keyFlag && (p[c] & 0xFFFFFF) == key) p[c] = 0;   // transparent black
      else p[c] |= 0xFF000000u;
    }
  }
  return argb;
}
}  // namespace

AnimationStrip::~AnimationStrip() { Free(); }

bool AnimationStrip::Load(const char* path, float scaleBy, int frames, const uint16_t* frameMs, bool keyFlag) {
  Free();
  if (!path || !frameMs) return false;
  frames = std::clamp(frames, 1, 255);
  std::string p(path);
  for (size_t i = p.size() >= 3 ? p.size() - 3 : 0; i < p.size(); i++) p[i] = (char)tolower((unsigned char)p[i]);
  int format = Decode_FormatForEnding(p.c_str());
  if (format < 0) {
    WriteLogf("Unknown picture type '%s'\n", path);
    return false;
  }
  FIBITMAP* dib = Decode_File(path, format);
  if (!dib) return false;
  picture = ToKeyedArgb(dib, keyFlag);
  FreeImage_Unload(dib);
  if (!picture) {
    WriteLogf("Animation '%s' could not be converted to 32 bits\n", path);
    return false;
  }
  frameWidth = (int32_t)FreeImage_GetWidth(picture);
  frameHeight = (int32_t)FreeImage_GetHeight(picture) / frames;
  if (frameHeight <= 0) {
    WriteLogf("Animation '%s' is %d pixels high: too short for %d frames\n", path,
              (int)FreeImage_GetHeight(picture), frames);
    Free();
    return false;
  }
  frameCount = frames;
  durations.assign(frameMs, frameMs + frames);
  totalMs = 0;
  for (uint16_t& d : durations) {
    if (d == 0) d = 1;   // a frame of no time would stall the frame search
    totalMs += d;
  }
  currentFrame = 0;
  if (!image.LoadFromBitmap(picture, 0, 0, frameWidth, frameHeight, 0)) {
    WriteLogf("Animation '%s': first frame could not be cut\n", path);
    Free();
    return false;
  }
  scale = scaleBy > 0 ? scaleBy : 1;
  if (scale != 1) {
    int32_t w = std::clamp((int32_t)(frameWidth * scale), 1, kMaxPictureSide);
    int32_t h = std::clamp((int32_t)(frameHeight * scale), 1, kMaxPictureSide);
    image.SetSize(w, h, 0);
  }
  loaded = true;
  return true;
}

bool AnimationStrip::Select(int64_t timeMs) {
  if (!loaded || totalMs == 0) return false;
  int64_t t = timeMs % (int64_t)totalMs;
  if (t < 0) t += totalMs;   // before the start counts back from the end of the loop
  int frame = frameCount - 1;
  int64_t sum = 0;
  for (int i = 0; i < frameCount; i++) {
    sum += durations[(size_t)i];
    if (sum >= t) {
      frame = i;
      break;
    }
  }
  if (frame != currentFrame) {
    if (!image.LoadFromBitmap(picture, 0, frame * frameHeight, frameWidth, frameHeight, 0)) return false;
    currentFrame = frame;
  }
  return true;
}

bool AnimationStrip::Draw(int64_t timeMs) {
  if (!Select(timeMs)) return false;
  image.SetAlpha(alpha);
  image.SetColour(colour);
  image.SetRotation(rotation);
  image.SetPosition(x, y);
  return image.Draw();
}

void AnimationStrip::Free() {
  if (picture) FreeImage_Unload(picture);
  picture = nullptr;
  image.Free();
  loaded = false;
  frameCount = 0;
  frameWidth = frameHeight = 0;
  durations.clear();
  totalMs = 0;
  currentFrame = 0;
  scale = 1;
}
