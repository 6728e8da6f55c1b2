// CourseSelect: the course wheel on the screen loop.
//
// Sound: the nonstop loop sample plays from the screen's start to its end and
// stops there, whether a course was chosen (its first song follows) or the
// players left (the title menu has its own music).
#include "menus/course_select.h"
#include "platform/clock.h"
#include "platform/log.h"
#include "library/courses.h"
#include "media/audio/audio.h"
#include "media/sound/sound_fx.h"
#include "menus/course_look.h"
#include "menus/course_wheel.h"
#include "menus/screen_loop.h"
#include "menus/wheel_banners.h"
#include "play/player.h"

int CourseSelect_SelectedCourse() {
  return CourseWheel_CourseAt(g_courseCollection, Wheel_Selection(g_courseCollection));
}

int CourseSelect() {
  CourseWheel w;
  if (!CourseWheel_Begin(w, Clock_Ms())) return 0;
  WriteLog("Load song images...\n");
  // the selection's banners before the first frame; a missing one is logged here
  WheelPos sel = Wheel_Selection(g_courseCollection);
  const Course& first = g_courses[CourseSelect_SelectedCourse()];
  WheelBanners_GetNow(CourseLook_BannerPath(first));
  WheelBanners_GetNow(CourseLook_FolderBannerPath(g_courseCollection.groups[sel.group].label));
  std::string title = CourseLook_TitlePath(first);
  if (!title.empty()) WheelBanners_GetNow(title, "Title picture");
  WriteLog("Starting Course Select\n");

  int players = (g_players[0].active ? 1 : 0) + (g_players[1].active ? 1 : 0);
  ScreenSetup setup;
  setup.backdrop = "rkv2-course.png";
  setup.timeLimitSeconds = kCourseTimeLimitS;
  setup.repeatMask = (MENU_LEFT | MENU_RIGHT) * 0x101;
  setup.onePlayer = players <= 1;
  MenuScreen screen;
  Screen_Open(screen, setup);
  CourseLook look;
  CourseLook_Load(look);
  uint32_t loop = PlaySound(SND_NSLOOP);
  int r = Screen_Run(screen, [&](ScreenFrame& f) {
    HotKeys_Apply(HotKeys_Read(), w.message, f.nowMs);
    CourseWheel_Input(w, f.input, f.nowMs);
    if (f.timeUp) CourseWheel_TimeUp(w, f.nowMs);
    CourseWheel_Update(w, f.nowMs);
    CourseWheel_Draw(w, look, f);
    f.holdTime = CourseWheel_Moving(w);
    f.fpsY = 462;
    return CourseWheel_Result(w, f.nowMs);
  });
  if (loop) Audio_ChannelStop(loop);
  CourseLook_Free(look);
  return r == 1 ? 1 : 0;
}
