// The course wheel's decisions: its set-up, moves that never enter the spacer
// groups, folders that open one at a time, the choice and the time limit.
#include "menus/course_wheel.h"
#include "platform/log.h"
#include "library/courses.h"
#include "media/input/input.h"
#include "media/sound/sound_fx.h"

namespace {
bool hasCourses(const Collection& c, int g) {
  return g >= 0 && g < c.groupCount && !CourseWheel_IsSpacer(c, g) && c.groups[g].count > 0;
}

void select(Collection& c, WheelPos p) {
  c.selectedGroup = p.group;
  c.selectedIndex = p.index;
}

bool ended(const CourseWheel& w) { return w.state == COURSE_CHOSEN || w.state == COURSE_LEAVE; }

void choose(CourseWheel& w, uint32_t nowMs) {
  WheelSlide_Stop(w.slide);
  w.state = COURSE_CHOSEN;
  w.chosenAt = nowMs;
  PlaySound(SND_START);
}
}  // namespace

bool CourseWheel_IsSpacer(const Collection& c, int group) {
  return group < kCourseSpacers || group >= c.groupCount - kCourseSpacers;
}

int CourseWheel_CourseAt(const Collection& c, WheelPos p) {
  if (!hasCourses(c, p.group)) return -1;
  const CollectionGroup& g = c.groups[p.group];
  if (p.index < 0 || p.index >= g.count) return -1;
  int k = g.courses[p.index];
  return k >= 0 && k < (int)g_courses.size() ? k : -1;
}

WheelPos CourseWheel_Step(const Collection& c, WheelPos p, int dir) {
  WheelPos next = Wheel_Step(c, p, dir);
  return CourseWheel_IsSpacer(c, next.group) ? p : next;
}

bool CourseWheel_FirstPlace(Collection& c, WheelPos& out) {
  for (int g = kCourseSpacers; g < c.groupCount - kCourseSpacers; g++) {
    if (!hasCourses(c, g)) continue;
    if (c.groups[g].state == GROUP_CLOSED) c.groups[g].state = GROUP_OPEN;
    out = {g, 0};
    return true;
  }
  return false;
}

void CourseWheel_Ordinal(const Collection& c, WheelPos p, int& ordinal, int& total) {
  Wheel_Ordinal(c, p, ordinal, total);
  // each spacer group is one item on the wheel
  ordinal -= kCourseSpacers;
  total -= 2 * kCourseSpacers;
  if (total < 0) total = 0;
}

void CourseWheel_ToggleFolder(Collection& c, int group) {
  if (group < 0 || group >= c.groupCount) return;
  int was = c.groups[group].state;
  if (was == GROUP_INLINE) return;
  for (int g = 0; g < c.groupCount; g++)
    if (c.groups[g].state == GROUP_OPEN) c.groups[g].state = GROUP_CLOSED;
  c.groups[group].state = was == GROUP_OPEN ? GROUP_CLOSED : GROUP_OPEN;
}

bool CourseWheel_Begin(CourseWheel& w, uint32_t nowMs) {
  w = CourseWheel{};
  CollectionStyle st = Collection_CurrentStyle();
  w.styleBase = st.base;
  w.styleKey = st.solo ? 6 : st.mask == 2 ? 8 : 4;
  WriteLog("Setting up courses...\n");
  Collection& c = g_courseCollection;
  BuildCourseCollection(true);
  WheelPos first{};
  if (!CourseWheel_FirstPlace(c, first)) {
    WriteLog("No course can be played in this style\n");
    w.state = COURSE_LEAVE;
    return false;
  }
  select(c, first);
  w.restSince = nowMs;
  return true;
}

bool CourseWheel_Move(CourseWheel& w, int dir, uint32_t nowMs) {
  Collection& c = g_courseCollection;
  WheelPos from = Wheel_Selection(c);
  WheelPos to = CourseWheel_Step(c, from, dir);
  if (to.group == from.group && to.index == from.index) return false;
  select(c, to);
  CourseWheel_Update(w, nowMs);
  WheelSlide_Begin(w.slide, dir, nowMs);
  w.state = dir > 0 ? COURSE_MOVING_RIGHT : COURSE_MOVING_LEFT;
  w.restSince = nowMs;
  PlaySound(SND_SELECT);
  return true;
}

void CourseWheel_Start(CourseWheel& w, bool upRight, uint32_t nowMs) {
  Collection& c = g_courseCollection;
  WheelPos p = Wheel_Selection(c);
  if (CourseWheel_CourseAt(c, p) >= 0) {
    choose(w, nowMs);
    return;
  }
  if (upRight || p.index >= 0 || !hasCourses(c, p.group)) return;
  CourseWheel_ToggleFolder(c, p.group);
  // the items around the folder have changed: the drawing starts from rest
  WheelSlide_Stop(w.slide);
  w.state = COURSE_IDLE;
  w.restSince = nowMs;
  PlaySound(SND_SWITCH);
}

void CourseWheel_Input(CourseWheel& w, uint32_t input, uint32_t nowMs) {
  if (ended(w)) return;
  if (input & MENU_ESCAPE) {
    w.state = COURSE_LEAVE;
    return;
  }
  uint32_t b = (input | input >> MENU_P2_SHIFT) & 0xFF;
  if ((b & MENU_LEFT) && !(b & MENU_RIGHT)) CourseWheel_Move(w, -1, nowMs);
  if ((b & MENU_RIGHT) && !(b & MENU_LEFT)) CourseWheel_Move(w, 1, nowMs);
  if (b & MENU_START) CourseWheel_Start(w, false, nowMs);
  else if (b & MENU_UPRIGHT) CourseWheel_Start(w, true, nowMs);
}

void CourseWheel_TimeUp(CourseWheel& w, uint32_t nowMs) {
  if (ended(w)) return;
  Collection& c = g_courseCollection;
  WheelPos p = Wheel_Selection(c);
  if (CourseWheel_CourseAt(c, p) < 0) {
    if (!hasCourses(c, p.group)) {
      w.state = COURSE_LEAVE;
      return;
    }
    if (c.groups[p.group].state != GROUP_OPEN) CourseWheel_ToggleFolder(c, p.group);
    select(c, {p.group, 0});
  }
  choose(w, nowMs);
}

void CourseWheel_Update(CourseWheel& w, uint32_t nowMs) {
  if (w.state != COURSE_MOVING_RIGHT && w.state != COURSE_MOVING_LEFT) return;
  if (WheelSlide_Update(w.slide, nowMs)) return;
  w.state = COURSE_IDLE;
}

int CourseWheel_Result(const CourseWheel& w, uint32_t nowMs) {
  if (w.state == COURSE_LEAVE) return 2;
  if (w.state == COURSE_CHOSEN && nowMs - w.chosenAt >= kChosenWaitMs) return 1;
  return 0;
}

bool CourseWheel_Moving(const CourseWheel& w) {
  return w.state == COURSE_MOVING_RIGHT || w.state == COURSE_MOVING_LEFT;
}
