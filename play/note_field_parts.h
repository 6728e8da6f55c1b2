#pragma once
// Pieces the note field's source files share: what one frame of one player's
// field looks at, the picture helpers, the appearance fade and the freezes.
#include <cstdint>

class Image;
struct Arrow;
struct Player;
struct NoteFieldState;

namespace field {

// One frame of one player's field.
struct Frame {
  NoteFieldState* state; // what the field remembers between frames
  int player;            // 0 or 1
  int effect;            // EFFECT_*
  bool reverse;
  int appearance;        // APPEAR_*
  int receptorY;
  double beatFrac;       // 0..1 through the current beat
  double chartPos;       // the scroll's position on the chart's grid
  double songPosition;   // drives the WAVE phase
  double tapeScroll;
};

// Screen y as an int, kept within a band well around the screen so that no
// huge or broken value reaches an int conversion.
constexpr double kFarY = 100000.0;
double ClampY(double y);
int ScreenInt(double y);

// Draws a loaded picture (counting it in the state's picturesDrawn); alpha 0 draws nothing.
void Draw(const Frame& f, Image* img, int x, int y, uint32_t colour = 0xFFFFFF, int alpha = 255);

// Opacity 0..255 of an arrow drawn at `screenY` under the appearance modifier.
int AppearanceAlpha(const Frame& f, double screenY);

// A tap arrow's picture for the arrow set in use, with the set-1 beat pulse.
void DrawArrow(const Frame& f, const Arrow& a, bool flat, int x, int y, int alpha);

// A freeze record: its body and tail, and its head while held or after it was
// dropped. Returns one of these.
constexpr int FREEZE_DRAWN = 0, FREEZE_GONE = 1, FREEZE_BEYOND = 2;
int DrawFreeze(const Frame& f, Player& p, int index);
void ForgetFlippedTails();

}  // namespace field
