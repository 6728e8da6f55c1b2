#pragma once
// The one frame loop every menu screen runs on. The loop loads the screen's
// backdrop from the skin (falling back to the Default skin) and starts its music
// sample; then, every frame, it reads the menu input word, counts down the
// screen's time limit (only while the "Time Limit" setting is on) with the tick
// sound in its last 6 seconds, clears the screen and draws the backdrop, hands
// the frame to the screen, draws the "%.1f fps" meter while the frame-rate
// display is on, paces the frame and presents it (where F11 saves a
// screenshot). A screen is its own drawing and input handling and nothing else.
#include "media/input/input.h"
#include "media/render/image.h"
#include <cstdint>
#include <functional>

enum BackdropLayout {
  BACKDROP_PICTURE,       // drawn at the top left
  BACKDROP_TILED_SCROLL,  // repeated over the screen, drifting diagonally
};

struct ScreenSetup {
  const char* backdrop = nullptr;       // skin picture file, or none
  BackdropLayout layout = BACKDROP_PICTURE;
  int music = -1;                       // SoundId of the music sample started on entry, -1 none
  // Where the music's channel is kept when it outlives the screen (the title
  // loop): a channel already there is left playing and not started again.
  uint32_t* musicChannel = nullptr;
  int timeLimitSeconds = 0;             // 0: none
  bool fpsMeter = true;                 // drawn while the frame-rate display is on
  uint32_t repeatMask = MENU_DIRECTIONS;  // menu input: which controls repeat while held
  bool onePlayer = false;               // menu input: player 2's controls fold into player 1's
};

struct ScreenFrame {
  uint32_t input = 0;        // the menu input word; the window's close button is escape
  uint32_t nowMs = 0;        // program clock
  uint32_t elapsedMs = 0;    // since the screen began
  int secondsLeft = -1;      // the time limit's whole seconds left, -1 without one
  bool timeUp = false;       // the time limit ran out in this frame (once)
  Image* backdrop = nullptr; // the loaded backdrop (already drawn)
  // set by the screen for this frame
  bool holdTime = false;     // the time limit stands still (a wheel still moving)
  int fpsY = 2;              // the meter's line, moved down when the screen has text there
};

// A screen on the loop: what Screen_Open loaded for it.
struct MenuScreen {
  ScreenSetup setup;
  Image backdrop;
};

// Loads the backdrop and starts the music. A screen that loads pictures of its
// own does so after this, then runs.
void Screen_Open(MenuScreen& s, const ScreenSetup& setup);
// Runs frames until `frame` returns non-zero, and returns that. The frame that
// asked to end is still presented. The backdrop is released on leaving; the
// music is left as it is (see `musicChannel`).
int Screen_Run(MenuScreen& s, const std::function<int(ScreenFrame&)>& frame);
// Both at once.
int Screen_Run(const ScreenSetup& setup, const std::function<int(ScreenFrame&)>& frame);

// A screen's time limit, counted on the frames the screen does not hold it.
struct ScreenTimer {
  uint32_t limitMs = 0;    // 0: no limit
  uint32_t countedMs = 0;
  uint32_t lastMs = 0;     // program time of the last frame
  int lastSeconds = -1;
  bool over = false;
};
void ScreenTimer_Start(ScreenTimer& t, uint32_t limitMs, uint32_t nowMs);
// The frame at `nowMs`; `held`: the frame before held the count. Fills the
// frame's secondsLeft and timeUp and returns true when the tick should sound:
// each time the whole seconds left change within the last 6.
bool ScreenTimer_Frame(ScreenTimer& t, uint32_t nowMs, bool held, ScreenFrame& f);
// The seconds left of a limit of `limitMs` after `countedMs`, rounded up.
int Screen_SecondsLeft(uint32_t limitMs, uint32_t countedMs);

// The seconds left of a time limit in the skin's timer digits, two of them (99 at
// most), ending at `rightX` with their top at `y`; nothing without a limit.
void Screen_DrawTimeLeft(int secondsLeft, int rightX, int y);

// Fades a music channel out over a second, stops it and sets it to 0.
void Screen_FadeOutMusic(uint32_t& channel);
