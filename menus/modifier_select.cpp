// The modifier select screen: nine rows of values and EXIT; each active player
// has a cursor row, a marker on the chosen value of every row and a cursor frame
// around the value under the cursor, while the chosen song's preview plays.
#include "menus/modifier_select.h"
#include "platform/log.h"
#include "library/settings.h"
#include "library/song_list.h"
#include "media/draw_helpers.h"
#include "media/font/font.h"
#include "media/skin/skin_images.h"
#include "media/sound/sound_fx.h"
#include "menus/collection.h"
#include "menus/modifier_screen.h"
#include "menus/preview.h"
#include "menus/screen_loop.h"
#include "play/player.h"

namespace {
constexpr int kTextSize = 16, kSpeedTextSize = 14;
constexpr uint32_t kLit = 0xFFFFFF, kUnlit = 0x404040;
constexpr int kMarker = 14;          // the value markers, in the gap before the label
constexpr int kFrameEnd = 12, kFrameH = 28;
// g_skin.options2: per player the frame's left end, middle, right end and underline
constexpr int kFramePieces = 4;

int labelWidth(const char* text) { return Font_TextWidth(kTextSize, text); }

// The cursor frame of player p around x .. x + w of the row at y; `grow` widens it.
void drawFrame(int p, int x, int w, int y, int grow) {
  Image* piece = &g_skin.options2[p * kFramePieces];
  int left = x - kFrameEnd - 2 - grow, right = x + w + 2 + grow, top = y - 4 - grow, h = kFrameH + 2 * grow;
  struct { Image* img; int x, w; } parts[3] = {
      {&piece[0], left, kFrameEnd},
      {&piece[1], left + kFrameEnd, right - left - kFrameEnd},
      {&piece[2], right, kFrameEnd}};
  for (auto& part : parts) {
    if (!part.img->loaded || part.w <= 0) continue;
    part.img->SetSize(part.w, h, 0);
    part.img->SetPosition(part.x, top);
    part.img->Draw();
  }
  if (piece[3].loaded) {
    piece[3].SetSize(right + kFrameEnd - left, 4, 0);
    piece[3].SetPosition(left, top + h);
    piece[3].Draw();
  }
}

void drawMarker(int icon, int x, int y) {
  Image& m = g_skin.options2Icons[icon];
  if (!m.loaded) return;
  m.SetSize(kMarker, kMarker, 0);
  m.SetPosition(x, y);
  m.Draw();
}

void drawRows(const ModifierScreen& s) {
  const ModifierLayout& l = s.layout;
  for (int row = 0; row <= kExitRow; row++) {
    int y = ModifierScreen_RowY(row);
    bool lit = false;
    for (int p = 0; p < 2; p++) lit = lit || (s.active[p] && s.row[p] == row);
    if (row == kExitRow) {
      Font_DrawText(kTextSize, lit ? kLit : kUnlit, l.exitX, y, kModifierRowNames[row]);
      continue;
    }
    Font_DrawText(kTextSize, 0xFFFFFF, 20, y, kModifierRowNames[row]);
    for (int v = 0; v < ModifierRow_Count(row); v++) {
      if (!l.width[row][v]) continue;
      const char* t = kModifierLabels[row][v];
      int x = l.x[row][v];
      int size = kTextSize;
      if (row == 0) {   // centred in its 23 pixels, a little smaller
        size = kSpeedTextSize;
        x += (l.width[row][v] - Font_TextWidth(size, t)) / 2;
      }
      Font_DrawText(size, lit ? kLit : kUnlit, x, y + (kTextSize - size) / 2, t);
    }
    // each player's marker on the chosen value: 1, 2, or the shared one
    int chosen[2] = {-1, -1};
    for (int p = 0; p < 2; p++)
      if (s.active[p]) chosen[p] = Player_Option(g_players[p], row);
    for (int p = 0; p < 2; p++) {
      int v = chosen[p];
      if (v < 0 || v >= ModifierRow_Count(row)) continue;
      bool shared = chosen[0] == chosen[1];
      if (shared && p == 1) continue;
      drawMarker(shared ? 2 : p, l.x[row][v] - kMarker - 1, y + 1);
    }
  }
}

void drawCursors(const ModifierScreen& s) {
  const ModifierLayout& l = s.layout;
  for (int p = 1; p >= 0; p--) {   // player 2 first: where both stand, its frame goes round player 1's
    if (!s.active[p]) continue;
    int row = s.row[p], y = ModifierScreen_RowY(row);
    bool same = s.active[0] && s.active[1] && s.row[0] == s.row[1] &&
                (row == kExitRow || Player_Option(g_players[0], row) == Player_Option(g_players[1], row));
    int grow = same && p == 1 ? 3 : 0;   // two frames in one place: player 2's goes round player 1's
    if (row == kExitRow) {
      drawFrame(p, l.exitX, l.exitWidth, y, grow);
      drawMarker(3, p == 0 ? l.exitX - kFrameEnd - 24 : l.exitX + l.exitWidth + kFrameEnd + 10, y + 1);
      continue;
    }
    int v = Player_Option(g_players[p], row);
    if (v < 0 || v >= ModifierRow_Count(row) || !l.width[row][v]) continue;
    drawFrame(p, l.x[row][v], l.width[row][v], y, grow);
  }
}

void drawSong(int song, const ScreenFrame& f) {
  if (song >= 0) {
    const SongEntry& e = g_songs[song];
    const char* title = e.hasDisplayTitle && e.displayTitle[0] ? e.displayTitle : e.title;
    Draw_TextClipped(Draw_FitSize(18, 12, 180, title), 0xFFFFFF, 386, 10, 180, title);
    Draw_TextClipped(12, 0xA8C8FF, 386, 32, 180, e.hasDisplayArtist && e.displayArtist[0] ? e.displayArtist : e.artist);
  }
  Screen_DrawTimeLeft(f.secondsLeft, 634, 20);   // under the frame-rate meter
  Draw_TextCentred(14, 0xFFFF00, 320, 452, "Up/Down: row   Left/Right: value   START on EXIT: play   Escape: back");
}
}  // namespace

int ModifierSelect() {
  WriteLog("ModifierSelect()...\n");
  ModifierScreen s;
  ModifierScreen_Begin(s);
  bool fourPanels = s.active[0] ? s.fourPanels[0] : s.fourPanels[1];
  ModifierScreen_Layout(s.layout, fourPanels, labelWidth);
  int song = Collection_SelectedSong(g_collection);

  ScreenSetup setup;
  setup.backdrop = "rkv2-options.png";
  setup.timeLimitSeconds = kModifierTimeLimitS;
  setup.onePlayer = s.players <= 1;
  MenuScreen screen;
  Screen_Open(screen, setup);
  int result = Screen_Run(screen, [&](ScreenFrame& f) {
    // the preview goes on from the wheel, or starts here
    if (song >= 0 && Preview_Song() != song) Preview_Start(song, f.nowMs);
    Preview_Frame(f.nowMs);
    HotKeys_Apply(HotKeys_Read(), s.message, f.nowMs);
    int r = ModifierScreen_Input(s, f.input);
    if (r < 0 && f.timeUp) {
      PlaySound(SND_START);
      r = 0;
    }
    drawRows(s);
    drawCursors(s);
    drawSong(song, f);
    HotKeys_DrawMessage(s.message, f.nowMs);
    // the loop ends on a non-zero value: 1 goes on, 2 goes back
    return r < 0 ? 0 : r + 1;
  });
  Preview_Stop();
  return result - 1;
}
