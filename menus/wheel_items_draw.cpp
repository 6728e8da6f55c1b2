// The items of the wheel on their arc: song plates with banner and title, folder
// plates in their group's colour, the roulette items, and the position slider.
#include "library/settings.h"
#include "library/song_list.h"
#include "media/draw_helpers.h"
#include "media/font/font.h"
#include "media/skin/skin_images.h"
#include "menus/wheel_banners.h"
#include "menus/wheel_look.h"
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace {
constexpr int kSlots = kWheelItems / 2 + 1;    // drawn on each side of the middle (one more while sliding)
constexpr int kDimAlpha = 64;                  // a song that cannot be chosen
constexpr uint32_t kNewColour = 0xFFFF00;
constexpr int kThumbW = 96, kThumbH = 30;
constexpr int kCrownW = 30, kCrownH = 18;
constexpr int kSliderX = 292, kSliderY = 150, kSliderTrackTop = 20, kSliderLength = 200, kKnob = 16;
constexpr int kPopOut = 14;                    // the selected item stands out to the left

// The plate's tint: the group colour, lightened so the plate stays readable.
uint32_t tint(uint32_t c) {
  uint32_t r = (c >> 16 & 255), g = (c >> 8 & 255), b = c & 255;
  r = (r + 255) / 2, g = (g + 255) / 2, b = (b + 255) / 2;
  return r << 16 | g << 8 | b;
}

void drawPlate(Image& plate, int x, int y, uint32_t colour, int alpha) {
  if (!plate.loaded) {
    Draw_FillRect(x + 2, y + 2, kPlateW - 4, kPlateH - 4, 0x202850, alpha * 3 / 4);
    return;
  }
  plate.SetPosition(x, y);
  plate.SetSize(kPlateW, kPlateH, 0);
  plate.SetColour(colour);
  plate.SetSurfaceAlpha(alpha);
  plate.Draw();
}

// The first line of a label, and what follows its line break.
void splitLabel(const char* label, char* name, int nameSize, const char** rest) {
  size_t n = strcspn(label, "\n");
  snprintf(name, (size_t)nameSize, "%.*s", (int)n, label);
  *rest = label[n] ? label + n + 1 : "";
}

void drawSongItem(WheelLook& look, int song, int x, int y, bool lit, bool best, int fade) {
  const SongEntry& e = g_songs[song];
  int alpha = (e.selectable ? 255 : kDimAlpha) * fade / 255;
  drawPlate(lit ? look.selPlate : look.plate, x, y, 0xFFFFFF, alpha);
  // the item shows the song's own banner; without one the title has the room
  Image* banner = WheelLook_SongBanner(song, false);
  int tx = x + 14;
  if (banner) {
    WheelLook_DrawBanner(banner, x + 6 + kThumbW / 2, y + kPlateH / 2, kThumbW, kThumbH, alpha);
    tx = x + kThumbW + 14;
  }
  int right = x + kPlateW - 10;
  if (e.newState == 1) {
    int w = Font_TextWidth(12, "NEW!");
    Font_DrawTextAlpha(12, kNewColour, right - w, y + 12, "NEW!", alpha);
    right -= w + 6;
  }
  int width = right - tx;
  const char* title = e.hasDisplayTitle && e.displayTitle[0] ? e.displayTitle : e.title;
  int size = Draw_FitSize(16, 11, width, title);
  Draw_TextClipped(size, e.colour, tx, y + (kPlateH - size) / 2, width, title, alpha);
  if (best && look.best.loaded) {   // a crown set on the item's corner
    look.best.SetSize(kCrownW, kCrownH, 0);
    look.best.SetPosition(x - 4, y - 7);
    look.best.SetSurfaceAlpha(alpha);
    look.best.Draw();
  }
}

void drawFolderItem(WheelLook& look, const Collection& c, int g, int x, int y, bool lit, int alpha) {
  const CollectionGroup& grp = c.groups[g];
  bool open = grp.state == GROUP_OPEN;
  drawPlate(open ? look.openFolder : look.folder, x, y, tint(grp.colour), alpha);
  if (lit) Draw_FillRect(x + 3, y + 3, kPlateW - 6, kPlateH - 6, 0xFFFFFF, 45);
  Image* banner = WheelLook_GroupBanner(look, c, g, false);
  int tx = x + 38;
  if (banner) {
    WheelLook_DrawBanner(banner, x + 36 + kThumbW / 2, y + kPlateH / 2, kThumbW, kThumbH, alpha);
    tx = x + 36 + kThumbW + 8;
  }
  char name[kLabelSize];
  const char* rest;
  splitLabel(grp.label, name, sizeof name, &rest);
  int width = x + kPlateW - 10 - tx;
  if (*rest) {
    Draw_TextClipped(Draw_FitSize(15, 11, width, name), 0xFFFFFF, tx, y + 3, width, name, alpha);
    Draw_TextClipped(11, 0xE8E0C8, tx, y + 21, width, rest, alpha);
  } else {
    int size = Draw_FitSize(16, 11, width, name);
    Draw_TextClipped(size, 0xFFFFFF, tx, y + (kPlateH - size) / 2, width, name, alpha);
  }
}

void drawSlider(const Wheel& w, WheelLook& look) {
  int ordinal = 0, total = 0;
  Wheel_Ordinal(g_collection, Wheel_Selection(g_collection), ordinal, total);
  if (total <= 1 || !look.slider.loaded) return;
  Image& s = look.slider;
  s.SetSurfaceAlpha(255);
  s.SetPosition(kSliderX, kSliderY);
  s.DrawClipped(kSliderX, kSliderY + kSliderTrackTop, kSliderX + s.width, kSliderY + kSliderLength);
  // the knob stands still while a roulette spins: where it lands is a surprise
  if (w.state == WHEEL_ROULETTE) ordinal = 0;
  int travel = kSliderLength - kSliderTrackTop - kKnob;
  int ky = kSliderY + kSliderTrackTop + (int)((double)ordinal / (total - 1) * travel);
  s.SetPosition(kSliderX, ky);
  s.DrawClipped(kSliderX, ky, kSliderX + kKnob, ky + kKnob);
}
}  // namespace

int WheelLook_ItemX(double y) {
  double d = (y - kWheelCentreY) / 200.0;
  return kWheelBaseX + (int)std::lround(d * d * 70);
}

void WheelLook_DrawItems(const Wheel& w, WheelLook& look, uint32_t nowMs) {
  const Collection& c = g_collection;
  drawSlider(w, look);
  if (!Wheel_HasItems(c)) {
    Draw_TextCentred(18, 0xFFFFFF, kWheelBaseX + kPlateW / 2, kWheelCentreY - 9, "No songs to play");
    return;
  }
  double whole = std::floor(w.offset);
  double frac = w.offset - whole;
  WheelPos sel = Wheel_Selection(c);
  WheelPos centre = Wheel_StepBy(c, sel, -(int)whole);
  WheelPos pos[2 * kSlots + 1];
  pos[kSlots] = centre;
  for (int k = 1; k <= kSlots; k++) {
    pos[kSlots + k] = Wheel_Step(c, pos[kSlots + k - 1], 1);
    pos[kSlots - k] = Wheel_Step(c, pos[kSlots - k + 1], -1);
  }
  // which item is lit: the selection, or while a roulette spins the one passing the middle
  int lit = -1;
  double nearest = 1e9;
  for (int k = -kSlots; k <= kSlots; k++) {
    double at = std::fabs(k + frac);
    const WheelPos& p = pos[kSlots + k];
    bool candidate = w.state == WHEEL_ROULETTE || (p.group == sel.group && p.index == sel.index);
    if (candidate && at < nearest) nearest = at, lit = k;
  }
  bool bestSort = g_settings.currentSort == SORT_BEST;
  // banners are asked for from the middle outward, so the nearest load first
  for (int d = 0; d <= kSlots; d++)
    for (int k : {d, -d}) {
      if ((d == 0 && k < 0) || std::fabs(k + frac) >= kWheelItems / 2 + 0.5) continue;
      WheelPos p = pos[kSlots + k];
      int s = Wheel_SongAt(c, p);
      if (s >= 0) WheelLook_SongBanner(s, false);
      else WheelLook_GroupBanner(look, c, p.group, false);
    }
  for (int k = -kSlots; k <= kSlots; k++) {
    // the items beyond the eleven fade out at the ends while the wheel slides
    double from = std::fabs(k + frac);
    int fade = (int)std::clamp((kWheelItems / 2 + 0.5 - from) * 2 * 255, 0.0, 255.0);
    if (fade <= 0) continue;
    double mid = kWheelCentreY + (k + frac) * kWheelSpacing;
    int y = (int)std::lround(mid) - kPlateH / 2;
    double near = std::max(0.0, 1.0 - std::fabs(k + frac));
    int x = WheelLook_ItemX(mid) - (k == lit ? (int)(kPopOut * near) : 0);
    WheelPos p = pos[kSlots + k];
    int s = Wheel_SongAt(c, p);
    if (s >= 0)
      drawSongItem(look, s, x, y, k == lit, bestSort && p.group == 0 && p.index >= 0 && p.index < 3, fade);
    else
      drawFolderItem(look, c, p.group, x, y, k == lit, fade);
    // the chosen item flashes while the wheel waits
    uint32_t since = nowMs - w.chosenAt;
    if (k == lit && w.state == WHEEL_CHOSEN && since < kChosenWaitMs)
      Draw_FillRect(x + 2, y + 2, kPlateW - 4, kPlateH - 4, 0xFFFFFF,
                    (int)(150 * (kChosenWaitMs - since) / kChosenWaitMs));
  }
}
