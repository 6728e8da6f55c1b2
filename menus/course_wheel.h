#pragma once
// The course wheel's own record and its decisions, apart from the drawing: the
// set-up over the course collection, moves that stop short of the spacer groups
// at both ends, folders that open one at a time, the choice of a course and the
// time limit; and the texts of the selected course's panel (its lives, one block
// per entry, its records) and the scroll of a list longer than the panel.
#include "menus/collection.h"
#include "menus/menu_hot_keys.h"
#include "menus/wheel.h"
#include <cstdint>

struct Course;
struct CourseEntry;

enum CourseWheelState {
  COURSE_IDLE = 0,
  COURSE_MOVING_RIGHT = 1,
  COURSE_MOVING_LEFT = 2,
  COURSE_CHOSEN = 6,
  COURSE_LEAVE = 7,
};

constexpr int kCourseSpacers = 5;            // spacer groups at each end of the collection
constexpr uint32_t kCourseTimeLimitS = 60;

struct CourseWheel {
  int state = COURSE_IDLE;
  int styleBase = 0;          // chart table offset of the style: 0, 4 DOUBLE, 11 SOLO
  int styleKey = 4;           // the records' style code: the panels of the style
  WheelSlide slide;
  uint32_t restSince = 0;     // the selection last changed (the entry list starts over)
  uint32_t chosenAt = 0;
  HotKeyMessage message;
};

// ---- places ----
bool CourseWheel_IsSpacer(const Collection& c, int group);
// The course at a place (index in g_courses), -1 for a folder item or a spacer.
int CourseWheel_CourseAt(const Collection& c, WheelPos p);
// The next (dir 1) or previous (dir -1) item as on the song wheel, but the wheel
// does not wrap: a step that would land in a spacer group stays where it is.
WheelPos CourseWheel_Step(const Collection& c, WheelPos p, int dir);
// The first place to stand on: group 5 (the first folder), opened when it is a
// folder, on its first course; when that folder offers no course in the style,
// the first one that does. False when no folder has a course.
bool CourseWheel_FirstPlace(Collection& c, WheelPos& out);
// The place's position among the items between the spacers, and their number.
void CourseWheel_Ordinal(const Collection& c, WheelPos p, int& ordinal, int& total);
// Opens a closed folder or closes an open one; every other folder closes.
void CourseWheel_ToggleFolder(Collection& c, int group);

// ---- the screen's life ----
// Set-up: the style, the course collection with the style check, the first
// place. False when no course can be played in the style (the screen leaves).
bool CourseWheel_Begin(CourseWheel& w, uint32_t nowMs);
// One frame's input word (both players' buttons act on the one wheel).
void CourseWheel_Input(CourseWheel& w, uint32_t input, uint32_t nowMs);
// Left or Right: false at either end, where nothing moves.
bool CourseWheel_Move(CourseWheel& w, int dir, uint32_t nowMs);
// Start (or Up-Right, `upRight`) on the selection: a course is chosen, a folder
// item opens or closes (Start only).
void CourseWheel_Start(CourseWheel& w, bool upRight, uint32_t nowMs);
// The time ran out: Start for both players. On a folder item that would only
// open the folder, so its first course is taken.
void CourseWheel_TimeUp(CourseWheel& w, uint32_t nowMs);
void CourseWheel_Update(CourseWheel& w, uint32_t nowMs);
// 1 chosen (once the chosen course has shown), 2 left, 0 going on.
int CourseWheel_Result(const CourseWheel& w, uint32_t nowMs);
bool CourseWheel_Moving(const CourseWheel& w);

// ---- the panel's texts ----
constexpr int kEntryNameSize = 128, kEntryDetailSize = 192;

// One entry's block.
struct CourseEntryBlock {
  char number[8];                  // "%d", from 1
  char name[kEntryNameSize];       // the song's title, "RANDOM", or "BEST n" / "WORST n" before they resolve
  char detail[kEntryDetailSize];   // the difficulty line; the selector of a resolved BEST / WORST entry
  char level[16];                  // "x %d", or "x ?" when the level is not fixed
  char modifiers[kEntryNameSize];  // the entry's modifier text, "" without
  int difficulty;                  // 0..3 the entry's difficulty, -1 a level range
  bool random;
};
void CourseEntry_Block(const CourseEntry& e, int number, int styleBase, CourseEntryBlock& out);
// "BASIC" .. "SMANIAC", "" for anything else.
const char* CourseEntry_DifficultyName(int difficulty);
// "Stg. %d   %3.1f%%   %02d:%02d:%03d" of a stored course result: the stage
// reached, the dance-point percentage (in tenths) and the time (in ms); "" when
// there is none.
void CourseResult_Line(const Result& r, char* out, int size);
// The machine's best of a course in a style, and a player's own from the records
// of the player's profile (all zero without).
Result CourseResult_Machine(const Course& k, int styleKey);
Result CourseResult_Player(const Course& k, int player, int styleKey);

// The entry list's scroll, in pixels, `elapsedMs` after the selection came to
// rest, for a list `overflow` pixels taller than its window: it rests at the
// top, scrolls down evenly, rests at the bottom and starts over.
int CourseList_Scroll(int overflow, uint32_t elapsedMs);
