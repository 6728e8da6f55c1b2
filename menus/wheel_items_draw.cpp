// The items of the wheel on their arc: song plates with banner and title, folder
// plates in their group's colour, the roulette items, and the position slider.
// The arc, the plates, folder items and the slider serve the course wheel too.
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
constexpr int kDimAlpha = 64;                  // a song that cannot be chosen
constexpr uint32_t kNewColour = 0xFFFF00;
constexpr int kCrownW = 30, kCrownH = 18;
constexpr int kSliderX = 292, kSliderY = 150, kSliderTrackTop = 20, kSliderLength = 200, kKnob = 16;
constexpr int kPopOut = 14;                    // the selected item stands out to the left

// The first line of a label, and what follows its line break.
void splitLabel(const char* label, char* name, int nameSize, const char** rest) {
  size_t n = strcspn(label, "\n");
  snprintf(name, (size_t)nameSize, "%.*s", (int)n, label);
  *rest = label[n] ? label + n + 1 : "";
}

void drawSongItem(WheelLook& look, int song, int x, int y, bool lit, bool best, int fade) {
  const SongEntry& e = g_songs[song];
  int alpha = (e.selectable ? 255 : kDimAlpha) * fade / 255;
  WheelLook_DrawPlate(lit ? look.selPlate : look.plate, x, y, 0xFFFFFF, alpha);
  // the item shows the song's own banner; without one the title has the room
  Image* banner = WheelLook_SongBanner(song, false);
  int tx = x + 14;
  if (banner) {
    WheelLook_DrawBanner(banner, x + 6 + kWheelThumbW / 2, y + kPlateH / 2, kWheelThumbW, kWheelThumbH, alpha);
    tx = x + kWheelThumbW + 14;
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
}  // namespace

uint32_t WheelLook_Tint(uint32_t c) {
  // lightened, so the plate stays readable
  uint32_t r = (c >> 16 & 255), g = (c >> 8 & 255), b = c & 255;
  r = (r + 255) / 2, g = (g + 255) / 2, b = (b + 255) / 2;
  return r << 16 | g << 8 | b;
}

void WheelLook_DrawPlate(Image& plate, int x, int y, uint32_t colour, int alpha) {
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

void WheelLook_DrawFolderItem(Image& plate, const CollectionGroup& grp, uint32_t colour, Image* banner, int x, int y,
                              bool lit, int alpha) {
  WheelLook_DrawPlate(plate, x, y, WheelLook_Tint(colour), alpha);
  if (lit) Draw_FillRect(x + 3, y + 3, kPlateW - 6, kPlateH - 6, 0xFFFFFF, 45);
  int tx = x + 38;
  if (banner) {
    WheelLook_DrawBanner(banner, x + 36 + kWheelThumbW / 2, y + kPlateH / 2, kWheelThumbW, kWheelThumbH, alpha);
    tx = x + 36 + kWheelThumbW + 8;
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

void WheelLook_DrawSlider(Image& s, int ordinal, int total) {
  if (total <= 1 || !s.loaded) return;
  s.SetSurfaceAlpha(255);
  s.SetPosition(kSliderX, kSliderY);
  s.DrawClipped(kSliderX, kSliderY + kSliderTrackTop, kSliderX + s.width, kSliderY + kSliderLength);
  int travel = kSliderLength - kSliderTrackTop - kKnob;
  int ky = kSliderY + kSliderTrackTop + (int)((double)std::clamp(ordinal, 0, total - 1) / (total - 1) * travel);
  s.SetPosition(kSliderX, ky);
  s.DrawClipped(kSliderX, ky, kSliderX + kKnob, ky + kKnob);
}

void WheelLook_DrawChosenFlash(int x, int y, uint32_t sinceMs) {
  if (sinceMs >= kChosenWaitMs) return;
  int alpha = (int)(150 * (kChosenWaitMs - sinceMs) / kChosenWaitMs);
  Draw_FillRect(x + 2, y + 2, kPlateW - 4, kPlateH - 4, 0xFFFFFF, alpha);
}

int WheelLook_ItemX(double y) {
  double d = (y - kWheelCentreY) / 200.0;
  return kWheelBaseX + (int)std::lround(d * d * 70);
}

int WheelLook_NearFirst(int i) { return kWheelSlotsEachSide + ((i + 1) / 2) * (i % 2 ? 1 : -1); }

void WheelLook_Layout(const Collection& c, WheelPos sel, double offset, bool litPassing, WheelSlot out[kWheelSlots]) {
  constexpr int kSlots = kWheelSlotsEachSide;
  double whole = std::floor(offset);
  double frac = offset - whole;
  WheelPos centre = Wheel_StepBy(c, sel, -(int)whole);
  out[kSlots].pos = centre;
  for (int k = 1; k <= kSlots; k++) {
    out[kSlots + k].pos = Wheel_Step(c, out[kSlots + k - 1].pos, 1);
    out[kSlots - k].pos = Wheel_Step(c, out[kSlots - k + 1].pos, -1);
  }
  // which item is lit: the selection, or the one passing the middle
  int lit = -1;
  double nearest = 1e9;
  for (int k = -kSlots; k <= kSlots; k++) {
    double at = std::fabs(k + frac);
    const WheelPos& p = out[kSlots + k].pos;
    bool candidate = litPassing || (p.group == sel.group && p.index == sel.index);
    if (candidate && at < nearest) nearest = at, lit = k;
  }
  for (int k = -kSlots; k <= kSlots; k++) {
    WheelSlot& s = out[kSlots + k];
    // the items beyond the eleven fade out at the ends while the wheel slides
    double from = std::fabs(k + frac);
    s.fade = (int)std::clamp((kWheelItems / 2 + 0.5 - from) * 2 * 255, 0.0, 255.0);
    double mid = kWheelCentreY + (k + frac) * kWheelSpacing;
    s.y = (int)std::lround(mid) - kPlateH / 2;
    s.lit = k == lit;
    double near = std::max(0.0, 1.0 - from);
    s.x = WheelLook_ItemX(mid) - (s.lit ? (int)(kPopOut * near) : 0);
  }
}

void WheelLook_DrawItems(const Wheel& w, WheelLook& look, uint32_t nowMs) {
  const Collection& c = g_collection;
  int ordinal = 0, total = 0;
  Wheel_Ordinal(c, Wheel_Selection(c), ordinal, total);
  // the knob stands still while a roulette spins: where it lands is a surprise
  WheelLook_DrawSlider(look.slider, w.state == WHEEL_ROULETTE ? 0 : ordinal, total);
  if (!Wheel_HasItems(c)) {
    Draw_TextCentred(18, 0xFFFFFF, kWheelBaseX + kPlateW / 2, kWheelCentreY - 9, "No songs to play");
    return;
  }
  WheelSlot slots[kWheelSlots];
  WheelLook_Layout(c, Wheel_Selection(c), w.slide.offset, w.state == WHEEL_ROULETTE, slots);
  bool bestSort = g_settings.currentSort == SORT_BEST;
  // banners are asked for from the middle outward, so the nearest load first
  for (int i = 0; i < kWheelSlots; i++) {
    const WheelSlot& s = slots[WheelLook_NearFirst(i)];
    if (s.fade <= 0) continue;
    int song = Wheel_SongAt(c, s.pos);
    if (song >= 0) WheelLook_SongBanner(song, false);
    else WheelLook_GroupBanner(look, c, s.pos.group, false);
  }
  for (const WheelSlot& s : slots) {
    if (s.fade <= 0) continue;
    const WheelPos& p = s.pos;
    int song = Wheel_SongAt(c, p);
    if (song >= 0) {
      drawSongItem(look, song, s.x, s.y, s.lit, bestSort && p.group == 0 && p.index >= 0 && p.index < 3, s.fade);
    } else {
      const CollectionGroup& grp = c.groups[p.group];
      Image& plate = grp.state == GROUP_OPEN ? look.openFolder : look.folder;
      WheelLook_DrawFolderItem(plate, grp, grp.colour, WheelLook_GroupBanner(look, c, p.group, false), s.x, s.y, s.lit,
                               s.fade);
    }
    // the chosen item flashes while the wheel waits
    if (s.lit && w.state == WHEEL_CHOSEN) WheelLook_DrawChosenFlash(s.x, s.y, nowMs - w.chosenAt);
  }
}
