#include "menus/options_look.h"
#include "media/draw_helpers.h"
#include "media/font/font.h"
#include <algorithm>

namespace {
constexpr int kPanelX = 40, kPanelY = 56, kPanelW = 560, kPanelH = 392;
constexpr int kRowX = kPanelX + 24, kRowW = kPanelW - 48, kRowTop = kPanelY + 44, kRowH = 22;
constexpr uint32_t kLabel = 0xDDE4FF, kValue = 0xFFD23C, kHeading = 0x80FFFF, kDim = 0x6A7290;
constexpr uint32_t kCursor = 0x3050C0, kNote = 0xB8C4E8, kPrompt = 0xFFFF60, kMessage = 0x80FF80;
constexpr int kNoteH = 17;

// Where a page's notes begin: under its rows in view.
int notesTop(int count) { return kRowTop + std::min(count, kOptionsVisibleRows) * kRowH + 8; }
constexpr int kColumnW = 150;   // a table's value columns, at the right of the rows

// The centre of a table's column: 0 the right one (`value`), 1 the one left of it.
int columnCentre(int column) { return kRowX + kRowW - kColumnW / 2 - column * kColumnW; }

void drawInColumn(int column, uint32_t colour, int y, const char* text) {
  if (!text[0]) return;
  int size = Draw_FitSize(16, 11, kColumnW - 12, text);
  Draw_TextCentred(size, colour, columnCentre(column), y + (16 - size) / 2, text);
}
}  // namespace

void OptionsLook_FreeSpace(int count, const char* const* notes, int noteCount, int& top, int& bottom) {
  top = notesTop(count);
  for (int i = 0; i < noteCount; i++)
    if (notes[i] && notes[i][0]) top += kNoteH;
  bottom = kPanelY + kPanelH - 50;   // above the message and prompt lines
}

ScreenSetup OptionsLook_Setup() {
  ScreenSetup s;
  s.backdrop = "rkv2-title.png";
  s.repeatMask = MENU_DIRECTIONS;
  return s;
}

int OptionsLook_FirstVisible(int count, int cursor) {
  if (count <= kOptionsVisibleRows) return 0;
  int first = cursor - kOptionsVisibleRows / 2;
  return std::clamp(first, 0, count - kOptionsVisibleRows);
}

int OptionsLook_Step(const OptionsRow* rows, int count, int cursor, int dir) {
  for (int n = 1; n <= count; n++) {
    int i = ((cursor + dir * n) % count + count) % count;
    if (!rows[i].heading) return i;
  }
  return cursor;
}

void OptionsLook_DrawPage(const char* heading, const OptionsRow* rows, int count, int cursor,
                          const char* const* notes, int noteCount, const char* prompt, const char* message) {
  Draw_FillRect(0, 0, 640, 480, 0x000000, 96);
  Draw_FillRect(kPanelX, kPanelY, kPanelW, kPanelH, 0x0A0E28, 236);
  Draw_FillRect(kPanelX, kPanelY, kPanelW, 2, 0x4060C0);
  Font_DrawText(23, 0xFFFFFF, kPanelX, 18, "OPTIONS MENU");
  if (heading && heading[0]) Draw_TextCentred(18, kHeading, 320, kPanelY + 12, heading);

  int first = OptionsLook_FirstVisible(count, cursor);
  int last = std::min(count, first + kOptionsVisibleRows);
  for (int i = first; i < last; i++) {
    const OptionsRow& r = rows[i];
    int y = kRowTop + (i - first) * kRowH;
    bool table = r.value2[0] != 0;
    if (r.heading) {
      Font_DrawText(15, kHeading, kRowX, y + 3, r.label);
      if (table) {
        drawInColumn(1, kHeading, y + 2, r.value2);
        drawInColumn(0, kHeading, y + 2, r.value);
      }
      Draw_FillRect(kRowX, y + kRowH - 3, kRowW, 1, 0x305080);
      continue;
    }
    bool at = i == cursor;
    if (at) Draw_FillRect(kRowX - 8, y, kRowW + 16, kRowH - 2, kCursor, 200);
    uint32_t label = r.dim ? kDim : at ? 0xFFFFFF : kLabel;
    int indent = r.value[0] || table ? 12 : 0;
    Draw_TextClipped(16, label, kRowX + indent, y + 2, table ? kRowW - 2 * kColumnW - 16 : kRowW / 2 + 60, r.label);
    if (table) {
      drawInColumn(1, r.dim ? kDim : r.value2Colour ? r.value2Colour : kValue, y + 2, r.value2);
      drawInColumn(0, r.dim ? kDim : r.valueColour ? r.valueColour : kValue, y + 2, r.value);
    } else if (r.value[0]) {
      uint32_t v = r.dim ? kDim : r.valueColour ? r.valueColour : kValue;
      int size = Draw_FitSize(16, 11, kRowW / 2 - 40, r.value);
      int w = Font_TextWidth(size, r.value);
      Font_DrawText(size, v, kRowX + kRowW - w, y + 2 + (16 - size) / 2, r.value);
    }
  }
  // a page longer than the view shows where it stands
  if (count > kOptionsVisibleRows) {
    int h = kOptionsVisibleRows * kRowH;
    int barH = std::max(12, h * kOptionsVisibleRows / count);
    int barY = kRowTop + (h - barH) * first / std::max(1, count - kOptionsVisibleRows);
    Draw_FillRect(kPanelX + kPanelW - 8, kRowTop, 3, h, 0x203050);
    Draw_FillRect(kPanelX + kPanelW - 8, barY, 3, barH, 0x80A0FF);
  }

  int y = notesTop(count);
  for (int i = 0; i < noteCount; i++) {
    if (!notes[i] || !notes[i][0]) continue;
    Draw_TextCentred(13, kNote, 320, y, notes[i]);
    y += kNoteH;
  }
  if (message && message[0]) Draw_TextCentred(16, kMessage, 320, kPanelY + kPanelH - 46, message);
  if (prompt && prompt[0]) {
    int size = Draw_FitSize(15, 11, kPanelW - 16, prompt);
    Draw_FillRect(kPanelX, kPanelY + kPanelH - 26, kPanelW, 24, 0x402808, 220);
    Draw_TextCentred(size, kPrompt, 320, kPanelY + kPanelH - 22, prompt);
  }
  Draw_TextCentred(13, kNote, 320, 458, "Up/Down move   Left/Right change   Start choose   Escape back");
}
