#pragma once
// The banners on the song wheel, a cache of our own beside the song table: a
// banner is loaded when its item comes into view and released when it leaves,
// never all at once. A few are loaded per frame, the first asked first (the
// wheel asks for the selection's, then outward), so a fast wheel never waits on
// a file. A banner that is missing, broken or too large is remembered as such
// for the wheel's life and the item shows the skin's default banner.
#include "media/render/image.h"
#include <string>

constexpr int kBannerBoxW = 256, kBannerBoxH = 96;   // loaded banners are cut down to fit this
constexpr int kMaxBannerSide = 2048;                 // larger pictures are not loaded
constexpr int kBannerLoadsPerFrame = 1;

enum BannerState { BANNER_READY, BANNER_PENDING, BANNER_NONE };

struct BannerLook {
  int state = BANNER_NONE;
  Image* image = nullptr;   // when ready
};

// A new frame: the load budget is renewed and every banner counts as out of view.
void WheelBanners_BeginFrame();
// The banner at `path` (relative to the game folder), in view this frame. A
// picture that gives none is logged once, named as `what` ("Banner", "Title picture").
BannerLook WheelBanners_Get(const std::string& path, const char* what = "Banner");
// The same, loaded at once whatever is left of the frame's budget (a screen's
// set-up, before its first frame).
BannerLook WheelBanners_GetNow(const std::string& path, const char* what = "Banner");
// Releases the banners no one asked for in this frame.
void WheelBanners_EndFrame();
// Releases everything (the wheel closes).
void WheelBanners_FreeAll();
int WheelBanners_Loaded();   // banners held now
// The path of a song's banner, "" when it has none.
std::string WheelBanners_SongPath(int song);
