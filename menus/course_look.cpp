// The course wheel's pictures and banners, its items on the arc, and the
// frame's drawing in order.
#include "menus/course_look.h"
#include "platform/files.h"
#include "library/courses.h"
#include "media/draw_helpers.h"
#include "media/font/font.h"
#include "media/skin/skin_config.h"
#include "media/skin/skin_images.h"
#include "menus/screen_loop.h"
#include "menus/wheel_banners.h"
#include "menus/wheel_look.h"
#include <cstring>

namespace {
// Course folder items take the skin's course-folder colour when it names one.
uint32_t folderColour(const CollectionGroup& g) {
  return g_skinConfig.folderCourse ? g_skinConfig.folderCourse : g.colour;
}

// A course as a song on the song wheel: its own banner when it has one, its
// name in the course's colour.
void drawCourseItem(CourseLook& look, const Course& k, int x, int y, bool lit, int alpha) {
  WheelLook_DrawPlate(lit ? look.selPlate : look.plate, x, y, 0xFFFFFF, alpha);
  int tx = x + 14;
  if (Image* banner = CourseLook_Picture(CourseLook_BannerPath(k))) {
    WheelLook_DrawBanner(banner, x + 6 + kWheelThumbW / 2, y + kPlateH / 2, kWheelThumbW, kWheelThumbH, alpha);
    tx = x + kWheelThumbW + 14;
  }
  int width = x + kPlateW - 10 - tx;
  int size = Draw_FitSize(16, 11, width, k.name);
  Draw_TextClipped(size, lit ? 0xFFFFFF : k.colour, tx, y + (kPlateH - size) / 2, width, k.name, alpha);
}

// The banner an item shows (asked for in the cache), null for none.
Image* itemBanner(const Collection& c, WheelPos p) {
  if (CourseWheel_IsSpacer(c, p.group)) return nullptr;
  int k = CourseWheel_CourseAt(c, p);
  if (k >= 0) return CourseLook_Picture(CourseLook_BannerPath(g_courses[k]));
  return CourseLook_Picture(CourseLook_FolderBannerPath(c.groups[p.group].label));
}
}  // namespace

void CourseLook_Load(CourseLook& look) {
  LoadPNG("rkv2-plate.png", look.plate, 0, 0);
  LoadPNG("rkv2-platecrs.png", look.coursePlate, 0, 0);
  LoadPNG("rkv2-selplate.png", look.selPlate, 0, 0);
  LoadPNG("rkv2-lfolder.png", look.openFolder, 0, 0);
  LoadPNG("rkv2-slider.png", look.slider, 0, 0);
}

void CourseLook_Free(CourseLook& look) {
  for (Image* i : {&look.plate, &look.coursePlate, &look.selPlate, &look.openFolder, &look.slider}) i->Free();
  WheelBanners_FreeAll();
}

std::string CourseLook_BannerPath(const Course& k) {
  return std::string("Courses/") + k.folder + "/" + k.fileName + ".png";
}

std::string CourseLook_FolderBannerPath(const char* folder) {
  return std::string("Courses/").append(folder, strcspn(folder, "\n")) + ".png";
}

std::string CourseLook_TitlePath(const Course& k) {
  if (!k.hasDisplay || !k.displayName[0]) return "";
  return Path_FromData(std::string("Courses/") + k.folder + "/" + k.displayName);
}

Image* CourseLook_Picture(const std::string& path, const char* what) {
  BannerLook l = WheelBanners_Get(path, what);
  return l.state == BANNER_READY ? l.image : nullptr;
}

Image* CourseLook_SelectionBanner(const Collection& c, WheelPos p) {
  if (p.group < 0 || p.group >= c.groupCount || CourseWheel_IsSpacer(c, p.group)) return &g_skin.defBanner;
  int k = CourseWheel_CourseAt(c, p);
  std::string path = CourseLook_FolderBannerPath(c.groups[p.group].label);
  if (k >= 0) {
    BannerLook own = WheelBanners_Get(CourseLook_BannerPath(g_courses[k]));
    if (own.state == BANNER_READY) return own.image;
    if (own.state == BANNER_PENDING) return nullptr;
  }
  BannerLook folder = WheelBanners_Get(path);
  if (folder.state == BANNER_READY) return folder.image;
  return folder.state == BANNER_PENDING ? nullptr : &g_skin.defBanner;
}

void CourseLook_DrawItems(const CourseWheel& w, CourseLook& look, uint32_t nowMs) {
  const Collection& c = g_courseCollection;
  WheelPos sel = Wheel_Selection(c);
  int ordinal = 0, total = 0;
  CourseWheel_Ordinal(c, sel, ordinal, total);
  WheelLook_DrawSlider(look.slider, ordinal, total);
  WheelSlot slots[kWheelSlots];
  WheelLook_Layout(c, sel, w.slide.offset, false, slots);
  // banners are asked for from the middle outward, so the nearest load first
  for (int i = 0; i < kWheelSlots; i++) {
    const WheelSlot& s = slots[WheelLook_NearFirst(i)];
    if (s.fade > 0) itemBanner(c, s.pos);
  }
  for (const WheelSlot& s : slots) {
    if (s.fade <= 0 || CourseWheel_IsSpacer(c, s.pos.group)) continue;   // the spacers stay empty
    int k = CourseWheel_CourseAt(c, s.pos);
    if (k >= 0) {
      drawCourseItem(look, g_courses[k], s.x, s.y, s.lit, s.fade);
    } else {
      const CollectionGroup& g = c.groups[s.pos.group];
      Image& plate = g.state == GROUP_OPEN ? look.openFolder : look.coursePlate;
      WheelLook_DrawFolderItem(plate, g, folderColour(g), itemBanner(c, s.pos), s.x, s.y, s.lit, s.fade);
    }
    if (s.lit && w.state == COURSE_CHOSEN) WheelLook_DrawChosenFlash(s.x, s.y, nowMs - w.chosenAt);
  }
}

void CourseWheel_Draw(const CourseWheel& w, CourseLook& look, const ScreenFrame& f) {
  WheelBanners_BeginFrame();
  // the selection's banner and title are asked for first, so they load first
  CourseLook_DrawPanel(w, look, f);
  CourseLook_DrawItems(w, look, f.nowMs);
  WheelBanners_EndFrame();
  HotKeys_DrawMessage(w.message, f.nowMs);
}
