#pragma once
// Frames that took too long, for finding stalls by hand: with
// TARVOLEN_FRAME_WATCH=<ms> in the environment, every frame that took longer than
// that from the previous one is logged ("Frame held 63 ms on <where>"). A screen
// starting anew begins its count at its first frame, so loading between screens
// is not counted as a held frame. Without the variable it costs one test a frame.
#include <cstdint>

// Reads the environment; called once at start-up (tests may call it again).
void FrameWatch_Init();
// The next frame counts from now (a screen begins, a song has loaded).
void FrameWatch_Restart();
// One frame of `where` has been drawn.
void FrameWatch_Frame(const char* where);
// Frames held so far and the longest, in ms.
int FrameWatch_HeldCount();
double FrameWatch_LongestMs();
