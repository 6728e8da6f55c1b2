#pragma once
// The break of a repeating course: "Taking a Break" over the break picture,
// faded in, until either player's Start or the escape input, faded out.
#include "media/render/image.h"
#include <cstdint>

// The picture is the caller's (loaded, or not): drawn scaled to the screen when
// it is not 640 x 480, a plain dark screen when it is not loaded. The players
// wait as long as they like; with "Time Limit" on, 30 seconds of waiting go on
// as Start does, so an unattended machine does not stand on a break for ever.
void BreakScreen(Image& picture);

// Whether a break follows the song of `stage` (counted from 1): only in a
// repeating course, after every `breakAfter`-th song ("Break Stage After"; 0 none).
bool BreakScreen_Due(int stage, int breakAfter, bool repeats);

// The fades, over 2000 ms each: the black layer's opacity `ms` into the fade in
// (255 down to 0) and into the fade out (0 up to 255).
int BreakScreen_FadeInOpacity(uint32_t ms);
int BreakScreen_FadeOutOpacity(uint32_t ms);

// Where a break stands: faded in, waiting, or fading out since `leaveAtMs`.
struct BreakState {
  int64_t leaveAtMs = -1;   // ms since the break began when the fade out began, -1 before
};
// One frame `elapsedMs` into the break; `go`: Start, Escape or the time limit in
// this frame (heard only once the fade in is over). Returns the black layer's
// opacity; `over` is set once the fade out has ended.
int BreakScreen_Frame(BreakState& b, uint32_t elapsedMs, bool go, bool& over);
