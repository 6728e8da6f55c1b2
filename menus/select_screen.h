#pragma once
// What the style and profile select screens share: their set-up on the screen
// loop, the announcer's lines, and the seconds left in the skin's timer digits.
#include "menus/screen_loop.h"
#include <cstdint>

// The screen's backdrop, the selection loop sample (its channel kept in
// `loop`), the 30-second time limit, and single presses: the input layer's
// repeat would swallow a quick first tap on the screen, and a few taps reach
// every entry.
ScreenSetup SelectScreen_Setup(const char* backdrop, uint32_t* loop);
// Stops the loop sample.
void SelectScreen_StopLoop(uint32_t& loop);
// An announcer line (a SoundId), while the "Announcer" setting is on.
void SelectScreen_Announce(int sound);

