#pragma once
// The course wheel on the 640 x 480 screen: the wheel's items on the song
// wheel's arc at the right (course plates, folder plates, nothing for the
// spacers) with the position slider; at the left the selection's banner and,
// for a course, its title, lives, one block per entry and its records; the
// style, the caption and the time left at the top.
#include "media/render/image.h"
#include "menus/course_wheel.h"
#include <string>

struct ScreenFrame;

// "rkv2-plate.png" carries a course, "rkv2-platecrs.png" a closed course folder
// (tinted in the skin's course-folder colour), "rkv2-lfolder.png" an open one.
struct CourseLook {
  Image plate, coursePlate, selPlate, openFolder, slider;
};

void CourseLook_Load(CourseLook& look);
void CourseLook_Free(CourseLook& look);
// The whole wheel for this frame (banners asked for and released inside).
void CourseWheel_Draw(const CourseWheel& w, CourseLook& look, const ScreenFrame& f);

// "Courses/<folder>/<file name>.png": a course's banner.
std::string CourseLook_BannerPath(const Course& k);
// "Courses/<folder>.png": a course folder's banner.
std::string CourseLook_FolderBannerPath(const char* folder);
// "Courses/<folder>/<display file>" of a course with "#DISPLAYCOURSE:", else "".
std::string CourseLook_TitlePath(const Course& k);
// The loaded picture at a path through the banner cache; null while it waits for
// its load, and for a missing one (logged once, named as `what`).
Image* CourseLook_Picture(const std::string& path, const char* what = "Banner");
// The big banner of a place: the course's, else its folder's, else the skin's
// default banner (null only while one of them waits for its load).
Image* CourseLook_SelectionBanner(const Collection& c, WheelPos p);

// --- parts, in their own files ---
void CourseLook_DrawItems(const CourseWheel& w, CourseLook& look, uint32_t nowMs);
void CourseLook_DrawPanel(const CourseWheel& w, CourseLook& look, const ScreenFrame& f);
