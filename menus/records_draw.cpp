// The records browser's list, top line, help line and confirmation.
#include "library/courses.h"
#include "library/song_list.h"
#include "media/draw_helpers.h"
#include "media/font/font.h"
#include "media/skin/skin_images.h"
#include "menus/evaluation_view.h"
#include "menus/records_draw.h"
#include "menus/records_reset.h"
#include "menus/records_text.h"
#include "play/grades.h"
#include <cmath>
#include <cstdio>

const uint32_t kRecordsDifficultyColours[4] = {0x7CF060, 0xFFD23C, 0xFF5A7A, 0xC070FF};

namespace {
constexpr uint32_t kMachineColour = 0x80FFFF, kDim = 0x9FB4E0, kCaption = 0xFFD23C, kResetColour = 0xFF8080;
constexpr int kRowX = kRecordsListX + 8, kRowW = kRecordsListW - 16;
constexpr int kGradeColumnW = 32;   // one per difficulty at the right of a song's row

const char* const kCaptions[RLEVEL_COUNT] = {"Select Profile...", "Select Style...", "Select Folder...", "",
                                             "[NONSTOP COURSES]"};

// The grade of each difficulty at the right of a song's row, in its colour;
// "-" without a result.
void drawGradeColumns(const RecordsBrowse& b, const RecordTable* t, int song, int y) {
  const RecordsStyle& st = kRecordsStyles[b.style];
  RecordsItem item;
  item.kind = RITEM_SONG;
  item.index = song;
  char key[sizeof(SongRecord::key)];
  int record = t && RecordsBrowse_Key(item, key, sizeof key) ? RecordsBrowse_Find(*t, key) : -1;
  int right = kRowX + kRowW - 6;
  for (int d = 0; d < st.difficulties; d++) {
    int cx = right - kGradeColumnW * (st.difficulties - d) + kGradeColumnW / 2;
    Result r = t ? findResult(*t, record, st.styleKey, d) : Result{};
    const char* name = r.styleKey ? Grade_Name(r.bestGrade) : "";
    if (!name[0]) name = "-";
    Draw_TextCentred(15, r.styleKey ? kRecordsDifficultyColours[d] : 0x606A88, cx, y, name);
  }
}

// The label of a row and what stands at its right.
void drawRow(const RecordsBrowse& b, const RecordTable* t, RecordsLook& look, const RecordsItem& item, int y,
             bool selected) {
  char right[48] = "";
  const char* label = "";
  uint32_t colour = selected ? 0xFFFFFF : 0xDDE4FF;
  int labelW = kRowW - 12;
  switch (item.kind) {
    case RITEM_TABLE:
      label = RecordsBrowse_TableName(item.index);
      if (item.index < 0) colour = kMachineColour;
      break;
    case RITEM_STYLE:
      label = kRecordsStyles[item.index].name;
      if (t) {
        const RecordsTally& tally = RecordsLook_StyleTally(look, *t, item.index);
        snprintf(right, sizeof right, "%d played", tally.songs + tally.courses);
      }
      break;
    case RITEM_FOLDER:
      label = g_groupList[item.index].c_str();
      RecordsText_SongCount(item.count, right, sizeof right);
      break;
    case RITEM_COURSES:
      label = "[NONSTOP COURSES]";
      colour = kCaption;
      break;
    case RITEM_SONG:
      label = RecordsBrowse_ItemName(item);
      labelW = kRowW - 12 - kGradeColumnW * kRecordsStyles[b.style].difficulties;
      drawGradeColumns(b, t, item.index, y + 5);
      break;
    case RITEM_COURSE: {
      label = RecordsBrowse_ItemName(item);
      char key[sizeof(SongRecord::key)];
      if (t && RecordsBrowse_Key(item, key, sizeof key))
        RecordsText_CourseRow(findResult(*t, RecordsBrowse_Find(*t, key), kRecordsStyles[b.style].styleKey, 0), right,
                              sizeof right);
      break;
    }
    case RITEM_RESET_ALL:
      label = "Reset All";
      colour = kResetColour;
      break;
    default:
      label = "Return";
      colour = selected ? 0xFFFFFF : kDim;
      break;
  }
  if (right[0]) {
    int w = Font_TextWidth(14, right);
    Font_DrawText(14, kDim, kRowX + kRowW - 6 - w, y + 6, right);
    labelW = kRowW - 18 - w;
  }
  Eval_DrawFitted(17, 13, colour, kRowX + 6, y + 4, labelW, label);
}

// The title menu's bar behind a row or button, its arrow ends left outside the
// box so that they never cover what the row shows at its ends.
void drawBar(Image& bar, int x, int y, int w, int h, int alpha) {
  if (!bar.loaded || bar.pictureWidth <= 0) {
    Draw_FillRect(x, y, w, h, 0x2F8BFF, 140);
    return;
  }
  int inset = bar.pictureWidth * 9 / 100;
  double k = (double)w / (bar.pictureWidth - 2 * inset);
  bar.SetSize((int)(bar.pictureWidth * k), h, 0);
  bar.SetPosition(x - (int)(inset * k), y);
  bar.SetSurfaceAlpha(alpha);
  bar.DrawClipped(x, y, x + w, y + h);
  bar.ResetSize();
  bar.SetSurfaceAlpha(255);
}

void drawScrollBar(const RecordsList& l, int rows) {
  int n = (int)l.items.size();
  if (n <= rows) return;
  int x = kRecordsListX + kRecordsListW - 7, top = kRecordsRowsY, h = rows * kRecordsRowH;
  Draw_FillRect(x, top, 3, h, 0xFFFFFF, 40);
  int thumb = h * rows / n;
  if (thumb < 12) thumb = 12;
  int y = top + (h - thumb) * l.top / (n - rows);
  Draw_FillRect(x, y, 3, thumb, 0x2FD3F0, 220);
}
}  // namespace

void RecordsLook_Load(RecordsLook& look) {
  LoadPNG("rkv2-selector.png", look.selector, 1, 1);
}

void RecordsLook_Free(RecordsLook& look) {
  look.selector.Free();
  for (int i = 0; i < kMaxProfiles; i++) {
    look.pictures[i].Free();
    look.tried[i] = false;
  }
}

const RecordsTally& RecordsLook_StyleTally(RecordsLook& look, const RecordTable& t, int style) {
  if (look.tallyTable != &t || look.tallyGeneration != look.generation) {
    for (int s = 0; s < 3; s++) look.styleTallies[s] = RecordsBrowse_Tally(t, kRecordsStyles[s].styleKey, nullptr, false);
    look.tallyTable = &t;
    look.tallyGeneration = look.generation;
  }
  return look.styleTallies[style < 0 || style > 2 ? 0 : style];
}

void RecordsDraw_Top(const RecordsBrowse& b, const RecordsLook& look) {
  if (!look.backdrop) Font_DrawText(30, 0xFFFFFF, 18, 14, "RECORDS");
  if (b.level == RLEVEL_TABLE) return;
  const char* name = RecordsBrowse_TableName(b.table);
  Eval_DrawTextRight(16, b.table < 0 ? kMachineColour : 0xFFFFFF, 628, 20, name);
  if (b.level >= RLEVEL_FOLDERS) Eval_DrawTextRight(14, kCaption, 628, 40, kRecordsStyles[b.style].name);
}

void RecordsDraw_List(const RecordsBrowse& b, const RecordTable* t, RecordsLook& look, uint32_t nowMs) {
  const RecordsList& l = b.lists[b.level];
  char caption[300];
  if (b.level == RLEVEL_SONGS && b.folder >= 0 && b.folder < (int)g_groupList.size()) {
    char count[24];
    RecordsText_SongCount((int)b.folderSongs[b.folder].size(), count, sizeof count);
    snprintf(caption, sizeof caption, "%s %s", g_groupList[b.folder].c_str(), count);
  } else {
    snprintf(caption, sizeof caption, "%s", kCaptions[b.level]);
  }
  Eval_DrawFitted(16, 12, kCaption, kRowX + 4, kRecordsListY + 9, kRowW - 8, caption);
  Draw_FillRect(kRowX, kRecordsRowsY - 5, kRowW, 1, 0x2FD3F0, 90);

  for (int row = 0; row < b.rows; row++) {
    int i = l.top + row;
    if (i >= (int)l.items.size()) break;
    int y = kRecordsRowsY + row * kRecordsRowH;
    bool selected = i == l.cursor;
    if (selected) {
      // the title menu's bar, pulsing gently, behind the row
      drawBar(look.selector, kRowX, y, kRowW - 6, kRecordsRowH - 2, 165 + (int)(35 * std::sin(nowMs * 0.005)));
    } else if (row % 2) {
      Draw_FillRect(kRowX, y, kRowW - 6, kRecordsRowH - 2, 0xFFFFFF, 10);
    }
    drawRow(b, t, look, l.items[i], y, selected);
  }
  drawScrollBar(l, b.rows);
}

void RecordsDraw_Bottom(const RecordsBrowse& b, const char* message, uint32_t colour) {
  if (message && message[0]) {
    Draw_TextCentred(15, colour, 320, 457, message);
    return;
  }
  const char* help = "Up/Down move   Left/Right page   Start choose   Escape back";
  const RecordsItem* at = RecordsBrowse_Current(b);
  if (at && (at->kind == RITEM_SONG || at->kind == RITEM_COURSE))
    help = "Up/Down move   Left/Right page   Start reset   Select replay   Escape back";
  Draw_TextCentred(14, 0xFFFF00, 320, 458, help);
}

void RecordsDraw_Confirm(const RecordsBrowse& b, RecordsLook& look) {
  if (b.confirm.kind == RCONFIRM_NONE) return;
  Draw_FillRect(0, 0, 640, 480, 0x000000, 150);
  constexpr int x = 90, y = 160, w = 460, h = 150;
  Draw_FillRect(x, y, w, h, 0x120C30, 240);
  Draw_FillRect(x, y, w, 2, kResetColour, 255);
  Draw_FillRect(x, y + h - 2, w, 2, kResetColour, 255);
  char question[320], detail[96];
  RecordsBrowse_Question(b, question, sizeof question, detail, sizeof detail);
  int size = Draw_FitSize(19, 12, w - 30, question);
  if (Font_TextWidth(size, question) > w - 30)
    Eval_DrawFitted(size, size, 0xFFFFFF, x + 15, y + 22, w - 30, question);
  else
    Draw_TextCentred(size, 0xFFFFFF, 320, y + 22, question);
  Draw_TextCentred(14, kDim, 320, y + 52, detail);
  const char* labels[2] = {b.confirm.kind == RCONFIRM_RESET_ALL ? "Reset All" : "Reset", "Return"};
  for (int i = 0; i < 2; i++) {
    int cx = 320 + (i ? 90 : -90), by = y + 92;
    bool on = (i == 0) == b.confirm.onReset;
    if (on) drawBar(look.selector, cx - 80, by - 4, 160, 30, 210);
    Draw_TextCentred(18, on ? 0xFFFFFF : kDim, cx, by, labels[i]);
  }
}
