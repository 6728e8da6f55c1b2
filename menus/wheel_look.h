#pragma once
// The song wheel on the 640 x 480 screen: the eleven items on their arc at the
// right, the position slider, and at the left the selection's banner, its
// difficulties and radar, and the records and modifiers of each player; the
// stage, the time left and the collection's caption at the top.
#include "media/render/image.h"
#include "menus/wheel.h"
#include <cstdint>

struct ScreenFrame;

struct WheelLook {
  Image plate, selPlate, folder, openFolder, best, slider;
  Image rouletteBanner, titleBanner, artistBanner;
  Image radarGrid;
  // what each player's radar picture shows: song and difficulty, -1 none
  int radarSong[2] = {-1, -1}, radarDifficulty[2] = {-1, -1};
};

// The wheel's layout.
constexpr int kWheelCentreY = 264;     // middle of the selected item
constexpr int kWheelSpacing = 36;
constexpr int kWheelBaseX = 326;       // left edge of the item in the middle
constexpr int kPlateW = 300, kPlateH = 36;
constexpr int kWheelThumbW = 96, kWheelThumbH = 30;    // a banner on an item
constexpr int kWheelSlotsEachSide = kWheelItems / 2 + 1;   // one more than shown while sliding
constexpr int kWheelSlots = 2 * kWheelSlotsEachSide + 1;

void WheelLook_Load(WheelLook& look);
void WheelLook_Free(WheelLook& look);
// The whole wheel for this frame (banners asked for and released inside).
void Wheel_Draw(const Wheel& w, WheelLook& look, const ScreenFrame& f);

// --- parts, in their own files ---
// The item x of an item whose middle is at y (the arc).
int WheelLook_ItemX(double y);
// The loaded picture for a group's item or big banner: the skin's roulette,
// title and artist banners, "Songs/<folder>.png" or "Genres/<genre>.png" through
// the banner cache, or the skin's default banner. Null while the banner waits
// for its load, and for a missing one unless `allowDefault`.
Image* WheelLook_GroupBanner(WheelLook& look, const Collection& c, int g, bool allowDefault);
Image* WheelLook_SongBanner(int song, bool allowDefault);
// Draws a banner fitted into the box (w x h) centred on (cx, cy).
void WheelLook_DrawBanner(Image* banner, int cx, int cy, int w, int h, int alpha);
void WheelLook_DrawItems(const Wheel& w, WheelLook& look, uint32_t nowMs);
void WheelLook_DrawPanel(const Wheel& w, WheelLook& look, const ScreenFrame& f);

// --- the arc and the plates, which the course wheel shares ---
// One place on the arc this frame.
struct WheelSlot {
  WheelPos pos;
  int x = 0, y = 0;   // the plate's top left
  int fade = 0;       // 0..255; 0 is not drawn
  bool lit = false;   // the selection, or the item passing the middle of a spin
};
// The places around `sel` for a drawing `offset` items behind it, top to bottom,
// the middle one at slots[kWheelSlotsEachSide]. `litPassing`: the item passing
// the middle is lit, whatever it is (a roulette spin).
void WheelLook_Layout(const Collection& c, WheelPos sel, double offset, bool litPassing, WheelSlot slots[kWheelSlots]);
// The slot index of the i-th nearest the middle (0 the middle, then below, above,
// ...): banners are asked for in this order so the nearest load first.
int WheelLook_NearFirst(int i);
// A plate tinted `colour`; without the picture a dark box.
void WheelLook_DrawPlate(Image& plate, int x, int y, uint32_t colour, int alpha);
// A group colour lightened for a plate.
uint32_t WheelLook_Tint(uint32_t colour);
// A folder item: the plate tinted in the folder's colour, the banner (when
// given) and the label on one line or two.
void WheelLook_DrawFolderItem(Image& plate, const CollectionGroup& g, uint32_t colour, Image* banner, int x, int y,
                              bool lit, int alpha);
// The position slider, its knob at `ordinal` of `total` items.
void WheelLook_DrawSlider(Image& slider, int ordinal, int total);
// The chosen item flashes for kChosenWaitMs.
void WheelLook_DrawChosenFlash(int x, int y, uint32_t sinceMs);
