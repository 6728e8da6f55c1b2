// The left of the course screen and its top line: the selection's banner; for
// a course its title (its own picture, or its name), its life line, one block
// per entry (scrolling when they do not fit) and the records; for a folder item
// its name and what Start does; the style, the caption and the time left.
#include "library/courses.h"
#include "library/song_list.h"
#include "media/draw_helpers.h"
#include "media/font/font.h"
#include "media/skin/skin_images.h"
#include "menus/course_look.h"
#include "menus/course_select.h"
#include "menus/screen_loop.h"
#include "menus/wheel_look.h"
#include "play/player.h"
#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {
constexpr uint32_t kPlayerColour[2] = {0x2F8BFF, 0xFF7A2F};
constexpr uint32_t kDifficultyColour[4] = {0x7CE87C, 0xFFD84A, 0xFF5A6A, 0xC88CFF};
constexpr uint32_t kDimText = 0x9FB4E0, kLevelColour = 0xFFF4A0, kRandomColour = 0xFF9FE0;
constexpr uint32_t kLivesColour = 0xFF8FA8, kStandardColour = 0x8FE0FF, kRuleColour = 0x8FD8F0;
constexpr int kBannerCX = 150, kBannerCY = 112, kBannerW = 256, kBannerH = 80;
constexpr int kTextX = 24, kTextW = 252, kRight = kTextX + kTextW;
constexpr int kTitleY = 176, kTitleH = 28, kLifeY = 207;
constexpr int kListTop = 229, kListBottom = 400, kBlockH = 29;
constexpr int kRecordsY = 406;
constexpr int kNumberW = 20, kNameX = kTextX + kNumberW + 6;

// The entry list's window: its text and pictures are cut at its top and bottom.
struct ListClip {
  int top, bottom;
};

// Text from x, cut at `right` and at the window.
void clippedText(const ListClip& c, int size, uint32_t colour, int x, int y, int right, const char* text, int alpha) {
  Font_SetClip(x, c.top, right, c.bottom);
  Font_DrawTextClipped(size, colour, x, y, text, alpha);
  Font_SetClip(0, 0, 640, 480);
}

// Text from x in pieces of their own colours on one line, cut at kRight.
int drawPiece(const ListClip& c, int size, uint32_t colour, int x, int y, const char* text, int alpha) {
  if (!text[0] || x >= kRight) return x;
  clippedText(c, size, colour, x, y, kRight, text, alpha);
  return x + Font_TextWidth(size, text) + 6;
}

void drawBlock(const ListClip& c, const CourseEntryBlock& b, int y, int alpha) {
  clippedText(c, 16, 0x8FB0FF, kTextX + kNumberW - Font_TextWidth(16, b.number), y + 1, kRight, b.number, alpha);
  // the level at the right, the foot of the song wheel before it
  int levelX = kRight - Font_TextWidth(15, b.level);
  clippedText(c, 15, kLevelColour, levelX, y + 1, kRight, b.level, alpha);
  Image& foot = g_skin.feet[0];
  if (foot.loaded) {
    foot.SetSize(10, 15, 0);
    foot.SetPosition(levelX - 13, y + 2);
    foot.SetColour(0xFFFFFF);
    foot.SetSurfaceAlpha(alpha);
    foot.DrawClipped(levelX - 13, c.top, levelX - 3, c.bottom);
  }
  int nameRight = levelX - 18;
  uint32_t nameColour = b.random ? kRandomColour : 0xFFFFFF;
  clippedText(c, Draw_FitSize(15, 11, nameRight - kNameX, b.name), nameColour, kNameX, y, nameRight, b.name, alpha);
  // below: the difficulty, the selector or the random pick's line, the modifiers
  int x = kNameX, y2 = y + 16;
  uint32_t difficultyColour = b.difficulty >= 0 ? kDifficultyColour[b.difficulty] : 0xFFFFFF;
  if (b.random) {
    x = drawPiece(c, 11, difficultyColour, x, y2, b.detail, alpha);
  } else {
    x = drawPiece(c, 11, difficultyColour, x, y2, CourseEntry_DifficultyName(b.difficulty), alpha);
    x = drawPiece(c, 11, 0xFFFFFF, x, y2, b.detail, alpha);
  }
  drawPiece(c, 11, kDimText, x, y2, b.modifiers, alpha);
}

// The blocks in their window; a list taller than the window scrolls, the blocks
// cut at its edges and fading as they pass them.
void drawEntries(const CourseWheel& w, const Course& k, uint32_t nowMs) {
  int n = std::min((int)k.entryCount, kMaxCourseEntries);
  int overflow = n * kBlockH - (kListBottom - kListTop);
  int scroll = CourseList_Scroll(overflow, nowMs - w.restSince);
  const ListClip clip{kListTop, kListBottom};
  for (int i = 0; i < n; i++) {
    int y = kListTop + i * kBlockH - scroll;
    if (y + kBlockH <= kListTop || y >= kListBottom) continue;
    int shown = std::min(y + kBlockH, kListBottom) - std::max(y, kListTop);
    int alpha = std::clamp(shown * 255 / kBlockH, 0, 255);
    CourseEntryBlock b;
    CourseEntry_Block(k.entries[i], i + 1, w.styleBase, b);
    drawBlock(clip, b, y, alpha);
  }
}

void drawRecords(const CourseWheel& w, const Course& k) {
  Result best = CourseResult_Machine(k, w.styleKey);
  char line[128];
  Wheel_BestText(best, line, sizeof line);
  Draw_TextClipped(Draw_FitSize(14, 10, kTextW, line), 0xFFFFFF, kTextX, kRecordsY, kTextW, line);
  CourseResult_Line(best, line, sizeof line);
  if (line[0]) Font_DrawText(13, kLevelColour, kTextX, kRecordsY + 17, line);
  int row = 0;
  for (int p = 0; p < 2; p++) {
    if (!g_players[p].active || !g_playerRecords[p]) continue;
    Result mine = CourseResult_Player(k, p, w.styleKey);
    char own[48], result[48];
    Wheel_MineText(mine, own, sizeof own);
    CourseResult_Line(mine, result, sizeof result);
    if (!own[0]) snprintf(own, sizeof own, "No record yet");
    snprintf(line, sizeof line, "%s   %s", own, result);
    int y = kRecordsY + 33 + 14 * row++;
    Font_DrawText(12, kPlayerColour[p], kTextX, y, p == 0 ? "P1" : "P2");
    Draw_TextClipped(Draw_FitSize(12, 9, kTextW - 24, line), 0xFFFFFF, kTextX + 24, y, kTextW - 24, line);
  }
}

void drawCourse(const CourseWheel& w, const Course& k, uint32_t nowMs) {
  // the title: the course's own picture, or its name
  Image* title = CourseLook_Picture(CourseLook_TitlePath(k), "Title picture");
  if (title) WheelLook_DrawBanner(title, kTextX + kTextW / 2, kTitleY + kTitleH / 2, kTextW, kTitleH, 255);
  else Draw_TextClipped(Draw_FitSize(22, 13, kTextW, k.name), 0xFFFFFF, kTextX, kTitleY + 2, kTextW, k.name);
  char text[64];
  CourseSelect_LifeLine(k, text, sizeof text);
  Font_DrawText(14, k.livesSet ? kLivesColour : kStandardColour, kTextX, kLifeY, text);
  int n = std::min((int)k.entryCount, kMaxCourseEntries);
  snprintf(text, sizeof text, n == 1 ? "%d song" : "%d songs", n);
  Font_DrawText(14, kDimText, kRight - Font_TextWidth(14, text), kLifeY, text);
  Draw_FillRect(kTextX - 2, kListTop - 5, kTextW + 4, 1, kRuleColour, 200);
  drawEntries(w, k, nowMs);
  Draw_FillRect(kTextX - 2, kListBottom + 2, kTextW + 4, 1, kRuleColour, 200);
  drawRecords(w, k);
}

// A folder item: its name, its courses with their life lines, what Start does.
void drawFolder(const CollectionGroup& g) {
  char name[kLabelSize];
  snprintf(name, sizeof name, "%.*s", (int)strcspn(g.label, "\n"), g.label);
  Draw_TextClipped(Draw_FitSize(22, 14, kTextW, name), 0xFFFFFF, kTextX, kTitleY + 2, kTextW, name);
  char text[64];
  snprintf(text, sizeof text, g.count == 1 ? "%d course" : "%d courses", (int)g.count);
  Font_DrawText(14, kStandardColour, kTextX, kLifeY, text);
  Draw_FillRect(kTextX - 2, kListTop - 5, kTextW + 4, 1, kRuleColour, 200);
  constexpr int kRowH = 20;
  int rows = (kListBottom - kListTop) / kRowH;
  for (int i = 0; i < g.count && i < rows; i++) {
    int k = g.courses[i];
    if (k < 0 || k >= (int)g_courses.size()) continue;
    int y = kListTop + i * kRowH;
    if (i == rows - 1 && g.count > rows) {
      snprintf(text, sizeof text, "... and %d more", (int)g.count - i);
      Font_DrawText(13, kDimText, kNameX, y, text);
      break;
    }
    CourseSelect_LifeLine(g_courses[k], text, sizeof text);
    int lifeW = Font_TextWidth(12, text);
    Font_DrawText(12, g_courses[k].livesSet ? kLivesColour : kDimText, kRight - lifeW, y + 2, text);
    int nameW = kRight - lifeW - 8 - kNameX;
    const char* courseName = g_courses[k].name;
    Draw_TextClipped(Draw_FitSize(15, 11, nameW, courseName), 0xFFFFFF, kNameX, y, nameW, courseName);
  }
  Draw_FillRect(kTextX - 2, kListBottom + 2, kTextW + 4, 1, kRuleColour, 200);
  const char* hint = g.state == GROUP_OPEN ? "START closes this folder" : "START opens this folder";
  Draw_TextClipped(14, kDimText, kTextX, kRecordsY + 4, kTextW, hint);
}

void drawTop(const ScreenFrame& f) {
  int p = g_players[0].active || !g_players[1].active ? 0 : 1;
  const char* style = g_players[p].styleName;
  if (g_players[0].active && g_players[1].active && strcmp(style, "SINGLE") == 0) style = "VERSUS";
  Font_DrawText(18, 0xFFD84A, 392, 8, style);
  Draw_TextClipped(14, 0xFFFFFF, 392, 31, 170, g_courseCollection.caption);
  Screen_DrawTimeLeft(f.secondsLeft, 634, 3);
}
}  // namespace

void CourseLook_DrawPanel(const CourseWheel& w, CourseLook&, const ScreenFrame& f) {
  drawTop(f);
  const Collection& c = g_courseCollection;
  WheelPos sel = Wheel_Selection(c);
  WheelLook_DrawBanner(CourseLook_SelectionBanner(c, sel), kBannerCX, kBannerCY, kBannerW, kBannerH, 255);
  int k = CourseWheel_CourseAt(c, sel);
  if (k >= 0) drawCourse(w, g_courses[k], f.nowMs);
  else if (sel.group >= 0 && sel.group < c.groupCount) drawFolder(c.groups[sel.group]);
}
