#pragma once
// How the credits move with time: the text scroll and its fade by height, the
// column of song pictures, the closing message, and the ending's fade of the
// music and of the picture. Times are milliseconds since the credits began
// unless said otherwise.
#include <cstdint>

constexpr int kCreditsSlides = 16;
constexpr int kSlideWidth = 240, kSlideHeight = 180;
constexpr int kCreditsTextX = 300, kCreditsTextSize = 20;
constexpr int kCreditsClosingBelowY = 29;       // the closing comes once the last line is above this
constexpr uint32_t kCreditsClosingFadeMs = 1500;
constexpr uint32_t kCreditsClosingHoldMs = 6000; // from the closing to the ending
constexpr uint32_t kCreditsOpeningMs = 512;      // the fade in from black
// The menu input that ends the credits early: Up-Right or Start of either
// player, or Escape.
constexpr uint32_t kCreditsEndMask = 0x16060;

// The screen y of a line `offset` pixels below the first, which enters at the
// bottom and rises about a pixel every 17.5 ms.
int Credits_LineY(uint32_t t, int offset);
// Only lines from y 1 to 479 are drawn.
bool Credits_LineShown(int y);
// A line's opacity by its height: fading in over the bottom 30 pixels (0 from
// y 450 down), full from 30 to 420, fading out over the top (0 at y 10).
int Credits_TextAlpha(int y);
// The first time at which a line `offset` pixels below the first is above the
// closing height.
uint32_t Credits_ClosingTime(int lastOffset);

// The column of song pictures at x 0: the bottom picture's top y and its slide
// index. The column sinks 1 pixel every 16 ms; each time the bottom picture
// leaves the screen the column moves up one picture and the index steps down
// (wrapping from 0 to 15). Slide bottomIndex - k (wrapped) is drawn k pictures higher.
struct SlideColumn {
  int bottomY;
  int bottomIndex;
};
SlideColumn Credits_SlideColumn(uint32_t t);

// 16 song indices for the slideshow (-1 each when there are no songs): no song
// twice within each run of as many picks as there are songs, and with two songs
// or more no song twice in a row. Uses the game's random generator.
void Credits_PickSlides(int songCount, int slides[kCreditsSlides]);

// The closing message's opacity `sinceClosing` ms after it began.
int Credits_ClosingAlpha(uint32_t sinceClosing);
// The music's volume `sinceEnding` ms into the ending; below 0 the music stops
// and the credits are over (about 1.5 s).
double Credits_EndingVolume(uint32_t sinceEnding);
// The black overlay's opacity: fading out over the first 512 ms, and fading in
// from 1 s into the ending; the darker of the two. 0: not drawn.
int Credits_OverlayAlpha(uint32_t t, bool ending, uint32_t sinceEnding);
