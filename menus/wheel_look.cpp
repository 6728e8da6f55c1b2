// The wheel's pictures, its banners and the frame's drawing in order.
#include "library/records.h"
#include "library/settings.h"
#include "library/song_list.h"
#include "media/skin/skin_images.h"
#include "menus/screen_loop.h"
#include "menus/wheel_banners.h"
#include "menus/wheel_look.h"
#include "menus/wheel_radar.h"
#include "play/grades.h"
#include <cstdio>
#include <cstring>
#include <string>

namespace {
constexpr int kRadarPicture = 184;
constexpr uint32_t kGridColour = 0x8FB0FF;

Image* fromCache(const std::string& path, bool allowDefault) {
  BannerLook l = WheelBanners_Get(path);
  if (l.state == BANNER_READY) return l.image;
  if (l.state == BANNER_PENDING) return nullptr;
  return allowDefault ? &g_skin.defBanner : nullptr;
}
}  // namespace

void WheelLook_Load(WheelLook& look) {
  look = WheelLook{};
  LoadPNG("rkv2-plate.png", look.plate, 0, 0);
  LoadPNG("rkv2-selplate.png", look.selPlate, 0, 0);
  LoadPNG("rkv2-folder.png", look.folder, 0, 0);
  LoadPNG("rkv2-lfolder.png", look.openFolder, 0, 0);
  LoadPNG("rkv2-best.png", look.best, 0, 0);
  LoadPNG("rkv2-slider.png", look.slider, 0, 0);
  LoadPNG("banner-roulette.png", look.rouletteBanner, 0, 0);
  LoadPNG("banner-title.png", look.titleBanner, 0, 0);
  LoadPNG("banner-artist.png", look.artistBanner, 0, 0);
  if (look.radarGrid.Create(kRadarPicture, kRadarPicture, IMAGE_ARGB)) Radar_PaintGrid(look.radarGrid, kGridColour);
}

void WheelLook_Free(WheelLook& look) {
  for (Image* i : {&look.plate, &look.selPlate, &look.folder, &look.openFolder, &look.best, &look.slider,
                   &look.rouletteBanner, &look.titleBanner, &look.artistBanner, &look.radarGrid})
    i->Free();
  WheelBanners_FreeAll();
}

Image* WheelLook_SongBanner(int song, bool allowDefault) {
  std::string path = WheelBanners_SongPath(song);
  if (path.empty()) return allowDefault ? &g_skin.defBanner : nullptr;
  return fromCache(path, allowDefault);
}

Image* WheelLook_GroupBanner(WheelLook& look, const Collection& c, int g, bool allowDefault) {
  Image* fallback = allowDefault ? &g_skin.defBanner : nullptr;
  if (g < 0 || g >= c.groupCount) return fallback;
  const CollectionGroup& grp = c.groups[g];
  if (Wheel_IsRouletteGroup(grp)) return look.rouletteBanner.loaded ? &look.rouletteBanner : fallback;
  int sort = g_settings.currentSort;
  if (sort == SORT_TITLE) return look.titleBanner.loaded ? &look.titleBanner : fallback;
  if (sort == SORT_ARTIST) return look.artistBanner.loaded ? &look.artistBanner : fallback;
  if (sort > SORT_DIFFICULTY) return fallback;
  std::string path = g_settings.sortBy != 0 ? "Songs/" : "Genres/";
  path.append(grp.label, strcspn(grp.label, "\n"));
  path += ".png";
  return fromCache(path, allowDefault);
}

void Wheel_BestText(const Result& best, char* out, int size) {
  if (!out || size <= 0) return;
  if (!(best.bestScore > 0)) {
    snprintf(out, (size_t)size, "No record yet");
    return;
  }
  char holder[sizeof best.holder + 1];
  snprintf(holder, sizeof holder, "%.*s", (int)sizeof best.holder, best.holder);
  snprintf(out, (size_t)size, "Best %.0f %s%s%s", best.bestScore, Grade_Name(best.bestGrade), holder[0] ? " " : "",
           holder);
}

void Wheel_MineText(const Result& mine, char* out, int size) {
  if (!out || size <= 0) return;
  out[0] = 0;
  if (mine.bestScore > 0) snprintf(out, (size_t)size, "Mine %.0f %s", mine.bestScore, Grade_Name(mine.bestGrade));
}

void Wheel_RecordsLine(const SongEntry& e, int player, int styleKey, int difficulty, char* out, int size) {
  if (!out || size <= 0) return;
  Result best{}, mine{};
  if (e.record >= 0) best = findResult(g_records, e.record, styleKey, difficulty);
  if (player >= 0 && player < 2 && g_playerRecords[player] && e.profileRecord[player] >= 0)
    mine = findResult(*g_playerRecords[player], e.profileRecord[player], styleKey, difficulty);
  char machine[64], own[48];
  Wheel_BestText(best, machine, sizeof machine);
  Wheel_MineText(mine, own, sizeof own);
  snprintf(out, (size_t)size, "%s%s%s", machine, own[0] ? "   " : "", own);
}

void Wheel_Draw(const Wheel& w, WheelLook& look, const ScreenFrame& f) {
  WheelBanners_BeginFrame();
  // the selection's banner is asked for first, so it loads first
  WheelLook_DrawPanel(w, look, f);
  WheelLook_DrawItems(w, look, f.nowMs);
  WheelBanners_EndFrame();
  HotKeys_DrawMessage(w.message, f.nowMs);
}
