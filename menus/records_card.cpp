// The card at the right of the records browser: what the entry under the cursor
// holds. A profile shows its picture and PERFECT steps per style; the machine
// what its table covers; a style or folder how many songs were played and their
// grades; a song its banner and, per difficulty, score, percentage, grade, max
// combo, the day of the best score and (machine) who holds it; a course its
// lives, songs and result with the stage reached and the time.
#include "library/courses.h"
#include "library/record_notes.h"
#include "library/song_list.h"
#include "media/draw_helpers.h"
#include "media/font/font.h"
#include "media/skin/skin_images.h"
#include "menus/evaluation_view.h"
#include "menus/profile_picture.h"
#include "menus/profile_stats.h"
#include "menus/records_draw.h"
#include "menus/records_text.h"
#include "menus/wheel_banners.h"
#include "menus/wheel_look.h"
#include "play/grades.h"
#include <cstdio>
#include <string>

namespace {
constexpr int kX = kRecordsCardX + 12, kW = kRecordsCardW - 24, kY = kRecordsCardY;
constexpr int kRight = kX + kW;
constexpr uint32_t kDim = 0x9FB4E0, kGold = 0xFFD23C, kMachineColour = 0x80FFFF, kRed = 0xFF8080;
constexpr int kPictureSide = 58;

void labelValue(int size, int y, const char* label, const char* value, uint32_t labelColour = 0xFFFFFF) {
  Font_DrawText(size, labelColour, kX, y, label);
  Eval_DrawTextRight(size, 0xFFFFFF, kRight, y, value);
}

void rule(int y) { Draw_FillRect(kX, y, kW, 1, 0xFFD23C, 70); }

// A banner fitted into the box centred at (cx, cy); nothing while it loads.
void banner(const std::string& path, bool allowDefault, int cx, int cy, int w, int h) {
  Image* im = nullptr;
  if (!path.empty()) {
    BannerLook l = WheelBanners_Get(path);
    if (l.state == BANNER_READY) im = l.image;
    else if (l.state == BANNER_NONE && allowDefault) im = &g_skin.defBanner;
  } else if (allowDefault) {
    im = &g_skin.defBanner;
  }
  if (im) WheelLook_DrawBanner(im, cx, cy, w, h, 255);
}

// Seven grade pictures with how many results have each.
void drawGrades(const RecordsTally& t, int y) {
  for (int g = 1; g <= 7; g++) {
    int x = kX + (g - 1) * 40 + 2;
    if (!Eval_DrawPictureAt(g_skin.grades[g - 1], x, y, 36, 31)) Draw_TextCentred(16, 0xFFFFFF, x + 18, y + 6, Grade_Name(g));
    char n[16];
    snprintf(n, sizeof n, "%d", t.grades[g]);
    Draw_TextCentred(14, t.grades[g] ? 0xFFFFFF : 0x606A88, x + 18, y + 34, n);
  }
}

void drawProfilePicture(RecordsLook& look, int index, int x, int y) {
  Image* pic = &g_skin.profileDefault;
  if (index >= 0 && index < kMaxProfiles) {
    if (!look.tried[index]) {
      look.tried[index] = true;
      ProfilePicture_Load(g_profiles[index].name, kPictureSide, look.pictures[index]);
    }
    if (look.pictures[index].loaded) pic = &look.pictures[index];
  }
  Eval_DrawPictureAt(*pic, x + 5, y + 5, kPictureSide, kPictureSide);
  Image& frame = g_skin.profileFrame[1];
  frame.SetPosition(x, y);
  frame.Draw();
}

void tableCard(RecordsLook& look, int table) {
  if (table < 0) {
    Font_DrawText(22, kMachineColour, kX, kY + 14, "No User/System");
    Font_DrawText(14, kDim, kX, kY + 48, "The machine's records: the best result");
    Font_DrawText(14, kDim, kX, kY + 66, "of every play, with a profile or without.");
    rule(kY + 96);
    for (int s = 0; s < 3; s++) {
      const RecordsTally& t = RecordsLook_StyleTally(look, g_records, s);
      char v[48];
      snprintf(v, sizeof v, "%d song%s, %d course%s", t.songs, t.songs == 1 ? "" : "s", t.courses,
               t.courses == 1 ? "" : "s");
      labelValue(16, kY + 108 + 28 * s, kRecordsStyles[s].name, v, kGold);
    }
    return;
  }
  drawProfilePicture(look, table, kX, kY + 12);
  Eval_DrawFitted(22, 14, 0xFFFFFF, kX + 80, kY + 22, kW - 80, g_profiles[table].name);
  Font_DrawText(13, kDim, kX + 80, kY + 52, "PROFILE");
  rule(kY + 92);
  for (int s = 0; s < 3; s++) {
    const ProfileStats& st = g_profiles[table].stats[kRecordsStyles[s].statsGroup];
    int y = kY + 104 + 62 * s;
    char stages[32], count[40], share[40];
    snprintf(stages, sizeof stages, "Stages: %d", st.songs);
    labelValue(17, y, kRecordsStyles[s].name, stages, kGold);
    RecordsText_Perfects(st, count, sizeof count, share, sizeof share);
    labelValue(14, y + 24, count, share);
  }
}

void styleCard(const RecordsBrowse& b, const RecordTable* t, RecordsLook& look, int style) {
  const RecordsStyle& st = kRecordsStyles[style];
  Font_DrawText(24, 0xFFFFFF, kX, kY + 14, st.name);
  if (!t) {
    Font_DrawText(15, kRed, kX, kY + 56, "These records could not be read.");
    Font_DrawText(14, kDim, kX, kY + 78, "They are kept as they are on disk;");
    Font_DrawText(14, kDim, kX, kY + 96, "nothing can be reset here.");
    return;
  }
  const RecordsTally& tally = RecordsLook_StyleTally(look, *t, style);
  char v[32];
  snprintf(v, sizeof v, "%d", tally.songs);
  labelValue(16, kY + 56, "Songs played", v);
  snprintf(v, sizeof v, "%d", tally.courses);
  labelValue(16, kY + 80, "Courses played", v);
  drawGrades(tally, kY + 110);
  if (b.table < 0) return;
  rule(kY + 168);
  ProfileStatLine lines[kProfileStatLines];
  int n = ProfileStats_Lines(g_profiles[b.table].stats[st.statsGroup], 0, lines);
  for (int i = 0; i < n; i++) labelValue(15, kY + 180 + 24 * i, lines[i].label, lines[i].value);
}

void groupCard(const char* name, const char* bannerPath, int songs, const RecordsTally& t, bool courses) {
  banner(bannerPath ? bannerPath : "", false, kX + kW / 2, kY + 52, 256, 80);
  Eval_DrawFitted(20, 13, courses ? kGold : 0xFFFFFF, kX, kY + 102, kW, name);
  char count[32], played[48];
  if (courses)
    snprintf(count, sizeof count, songs == 1 ? "1 course" : "%d courses", songs);
  else
    RecordsText_SongCount(songs, count, sizeof count);
  Font_DrawText(15, kDim, kX, kY + 130, count);
  snprintf(played, sizeof played, "Played: %d of %d", courses ? t.courses : t.songs, songs);
  Font_DrawText(16, 0xFFFFFF, kX, kY + 160, played);
  drawGrades(t, kY + 190);
}

// One difficulty of a song: the difficulty and level, then score, percentage,
// max combo, the day of the best score and the holder, and the grade.
void songDifficulty(const SongEntry& e, const RecordsStyle& st, int d, const RecordTable& t, bool machine,
                    const char* key, int y) {
  int record = RecordsBrowse_Find(t, key);
  Result r = findResult(t, record, st.styleKey, d);
  RecordLines lines;
  RecordLines_Of(r, findNote(t, key, st.styleKey, d), machine, false, lines);
  int level = e.levels[st.base + d];
  bool chart = level > 0;
  Draw_FillRect(kX, y - 4, kW, 1, 0xFFFFFF, 40);
  Image& pic = g_skin.difficulties[chart || lines.has ? 0 : 1][d];
  if (!Eval_DrawPictureAt(pic, kX, y + 1, 64, 32)) Font_DrawText(13, kRecordsDifficultyColours[d], kX, y + 8, "?");
  if (chart) {
    char lv[24];
    snprintf(lv, sizeof lv, "LEVEL %d", level);
    Draw_TextCentred(11, kDim, kX + 32, y + 37, lv);
  }
  int tx = kX + 76;
  if (!lines.has) {
    Font_DrawText(15, 0x7080A8, tx, y + 12, chart ? "No record yet" : "-");
    return;
  }
  Font_DrawText(16, 0xFFFFFF, tx, y + 1, lines.score);
  Font_DrawText(14, 0xFFFFFF, tx, y + 21, lines.percent);
  Font_DrawText(12, kDim, tx + 58, y + 23, lines.date);
  Font_DrawText(13, 0xFFFFFF, tx, y + 39, lines.combo);
  if (lines.holder[0]) {
    int left = tx + Font_TextWidth(13, lines.combo) + 10;
    int size = Draw_FitSize(12, 9, kRight - left, lines.holder);
    Eval_DrawTextRight(size, kGold, kRight, y + 40, lines.holder);
  }
  if (lines.grade && !Eval_DrawPictureAt(g_skin.grades[lines.grade - 1], kRight - 46, y, 46, 39))
    Eval_DrawTextRight(22, 0xFFFFFF, kRight, y + 6, lines.gradeName);
}

void songCard(const RecordsBrowse& b, const RecordTable* t, int song) {
  const SongEntry& e = g_songs[song];
  banner(WheelBanners_SongPath(song), true, kX + kW / 2, kY + 46, 240, 75);
  RecordsItem item;
  item.kind = RITEM_SONG;
  item.index = song;
  Eval_DrawFitted(18, 12, 0xFFFFFF, kX, kY + 90, kW, RecordsBrowse_ItemName(item));
  Eval_DrawFitted(13, 10, 0xA8C8FF, kX, kY + 112, kW, e.artist);
  if (!t) return;
  char key[sizeof(SongRecord::key)];
  RecordsBrowse_Key(item, key, sizeof key);
  const RecordsStyle& st = kRecordsStyles[b.style];
  int step = st.difficulties == 4 ? 61 : 78;
  for (int d = 0; d < st.difficulties; d++) songDifficulty(e, st, d, *t, b.table < 0, key, kY + 140 + step * d);
}

// The course's songs in order, as many as there is room for.
void courseEntries(const Course& c, int y, int bottom) {
  for (int i = 0; i < c.entryCount && y + 16 <= bottom; i++, y += 17) {
    const CourseEntry& e = c.entries[i];
    char line[300];
    if (e.selector == SELECT_BEST || e.selector == SELECT_WORST)
      snprintf(line, sizeof line, "%d  %s %d", i + 1, e.selector == SELECT_BEST ? "BEST" : "WORST", (int)e.bestIndex);
    else if (e.random || e.song < 0 || e.song >= (int)g_songs.size())
      snprintf(line, sizeof line, "%d  RANDOM", i + 1);
    else
      snprintf(line, sizeof line, "%d  %s", i + 1, g_songs[e.song].title);
    Eval_DrawFitted(13, 10, kDim, kX, y, kW, line);
  }
}

void courseCard(const RecordsBrowse& b, const RecordTable* t, int course) {
  const Course& c = g_courses[course];
  Eval_DrawFitted(20, 13, 0xFFFFFF, kX, kY + 14, kW, c.name);
  char life[48];
  RecordsText_LifeLine(c, life, sizeof life);
  Font_DrawText(15, kGold, kX, kY + 42, life);
  rule(kY + 66);
  if (!t) return;
  RecordsItem item;
  item.kind = RITEM_COURSE;
  item.index = course;
  char key[sizeof(SongRecord::key)];
  RecordsBrowse_Key(item, key, sizeof key);
  int styleKey = kRecordsStyles[b.style].styleKey;
  Result r = findResult(*t, RecordsBrowse_Find(*t, key), styleKey, 0);
  RecordLines lines;
  RecordLines_Of(r, findNote(*t, key, styleKey, 0), b.table < 0, true, lines);
  int y = kY + 78;
  if (!lines.has) {
    Font_DrawText(16, 0x7080A8, kX, y + 4, lines.score);
  } else {
    Font_DrawText(17, 0xFFFFFF, kX, y, lines.score);
    Font_DrawText(15, 0xFFFFFF, kX, y + 24, lines.percent);
    Font_DrawText(15, 0xFFFFFF, kX + 70, y + 24, lines.stage);
    Font_DrawText(11, kDim, kX, y + 50, "TIME");
    Font_DrawText(15, 0xFFFFFF, kX + 40, y + 46, lines.time);
    Font_DrawText(14, 0xFFFFFF, kX, y + 68, lines.combo);
    Font_DrawText(12, kDim, kX, y + 90, lines.date);
    if (lines.holder[0]) Eval_DrawFitted(12, 10, kGold, kX + 84, y + 90, 120, lines.holder);
    if (lines.grade && !Eval_DrawPictureAt(g_skin.grades[lines.grade - 1], kRight - 70, y, 70, 60))
      Eval_DrawTextRight(30, 0xFFFFFF, kRight, y + 10, lines.gradeName);
  }
  rule(y + 114);
  Font_DrawText(11, kDim, kX, y + 122, "SONGS");
  courseEntries(c, y + 138, kY + kRecordsCardH - 8);
}

void messageCard(const char* title, uint32_t colour, const char* const* lines, int n) {
  Font_DrawText(24, colour, kX, kY + 14, title);
  for (int i = 0; i < n; i++) Font_DrawText(14, kDim, kX, kY + 56 + 20 * i, lines[i]);
}
}  // namespace

void RecordsDraw_Card(const RecordsBrowse& b, const RecordTable* t, RecordsLook& look) {
  const RecordsItem* at = RecordsBrowse_Current(b);
  if (!at) return;
  WheelBanners_BeginFrame();
  switch (at->kind) {
    case RITEM_TABLE: tableCard(look, at->index); break;
    case RITEM_STYLE: styleCard(b, t, look, at->index); break;
    case RITEM_FOLDER:
    case RITEM_COURSES: {
      bool courses = at->kind == RITEM_COURSES;
      RecordsTally tally;
      if (t) tally = RecordsBrowse_Tally(*t, kRecordsStyles[b.style].styleKey, courses ? nullptr : &b.folderSongs[at->index],
                                         courses);
      std::string path = courses ? "" : "Songs/" + g_groupList[at->index] + ".png";
      groupCard(courses ? "[NONSTOP COURSES]" : g_groupList[at->index].c_str(), courses ? nullptr : path.c_str(),
                at->count, tally, courses);
      break;
    }
    case RITEM_SONG: songCard(b, t, at->index); break;
    case RITEM_COURSE: courseCard(b, t, at->index); break;
    case RITEM_RESET_ALL: {
      char whose[64];
      snprintf(whose, sizeof whose, "Clears every result of %s:", RecordsBrowse_TableName(b.table));
      const char* lines[3] = {whose, "every song and course, in every style.", "The songs stay, with their play counts."};
      messageCard("Reset All", kRed, lines, 3);
      break;
    }
    default: {
      static const char* const kWhere[RLEVEL_COUNT] = {"Back to the title menu.", "Back to Select Profile...",
                                                       "Back to Select Style...", "Back to Select Folder...",
                                                       "Back to Select Folder..."};
      messageCard("Return", 0xFFFFFF, &kWhere[b.level], 1);
      break;
    }
  }
  WheelBanners_EndFrame();
}
