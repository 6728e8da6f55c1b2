#include "menus/wheel_banners.h"
#include "platform/files.h"
#include "platform/log.h"
#include "library/song_list.h"
#include <algorithm>
#include <cstring>
#include <memory>
#include <unordered_set>
#include <vector>

namespace {
struct BannerSlot {
  std::string path;
  Image image;
  bool used = false;
};

struct BannerCache {
  std::vector<std::unique_ptr<BannerSlot>> slots;
  std::unordered_set<std::string> failed;   // paths that gave no picture
  int loadsLeft = kBannerLoadsPerFrame;
};
BannerCache g_banners;

// Loads and cuts the picture down to the banner box; false with a log line.
bool load(const std::string& path, Image& img, const char* what) {
  std::string file;
  if (!Path_Resolve(path, file)) {
    WriteLogf("%s '%s' not found\n", what, path.c_str());
    return false;
  }
  int32_t w = 0, h = 0;
  if (!GetImageFileSize(file.c_str(), &w, &h)) {
    WriteLogf("%s '%s' cannot be read\n", what, path.c_str());
    return false;
  }
  if (w <= 0 || h <= 0 || w > kMaxBannerSide || h > kMaxBannerSide) {
    WriteLogf("%s '%s' is too large to show (%d x %d)\n", what, path.c_str(), w, h);
    return false;
  }
  std::vector<char> name(file.begin(), file.end());
  name.push_back(0);
  if (!img.Load(name.data(), 0, 0)) return false;   // the decoder has logged why
  double scale = std::min(1.0, std::min((double)kBannerBoxW / img.width, (double)kBannerBoxH / img.height));
  if (scale < 1.0) {
    int sw = std::max(1, (int)(img.width * scale + 0.5)), sh = std::max(1, (int)(img.height * scale + 0.5));
    if (!img.SetSize(sw, sh, 1)) {
      img.Free();
      return false;
    }
  }
  return true;
}
}  // namespace

void WheelBanners_BeginFrame() {
  g_banners.loadsLeft = kBannerLoadsPerFrame;
  for (auto& s : g_banners.slots) s->used = false;
}

BannerLook WheelBanners_Get(const std::string& path, const char* what) {
  BannerLook look;
  if (path.empty() || g_banners.failed.count(path)) return look;
  for (auto& s : g_banners.slots)
    if (s->path == path) {
      s->used = true;
      look.state = BANNER_READY;
      look.image = &s->image;
      return look;
    }
  if (g_banners.loadsLeft <= 0) {
    look.state = BANNER_PENDING;
    return look;
  }
  g_banners.loadsLeft--;
  auto slot = std::make_unique<BannerSlot>();
  if (!load(path, slot->image, what)) {
    g_banners.failed.insert(path);
    return look;
  }
  slot->path = path;
  slot->used = true;
  look.state = BANNER_READY;
  look.image = &slot->image;
  g_banners.slots.push_back(std::move(slot));
  return look;
}

BannerLook WheelBanners_GetNow(const std::string& path, const char* what) {
  int left = g_banners.loadsLeft;
  g_banners.loadsLeft = 1;
  BannerLook look = WheelBanners_Get(path, what);
  g_banners.loadsLeft = left;
  return look;
}

void WheelBanners_EndFrame() {
  auto& v = g_banners.slots;
  v.erase(std::remove_if(v.begin(), v.end(), [](const std::unique_ptr<BannerSlot>& s) { return !s->used; }), v.end());
}

void WheelBanners_FreeAll() {
  g_banners.slots.clear();
  g_banners.failed.clear();
  g_banners.loadsLeft = kBannerLoadsPerFrame;
}

int WheelBanners_Loaded() { return (int)g_banners.slots.size(); }

std::string WheelBanners_SongPath(int song) {
  if (song < 0 || song >= (int)g_songs.size()) return "";
  const SongEntry& e = g_songs[song];
  if (!e.banner[0]) return "";
  std::string p = "Songs/";
  p.append(e.group, strnlen(e.group, sizeof e.group)).append("/");
  p.append(e.folder, strnlen(e.folder, sizeof e.folder)).append("/");
  p.append(e.banner, strnlen(e.banner, sizeof e.banner));
  return Path_FromData(p);
}
