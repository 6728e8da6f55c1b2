#pragma once
// The screen-wide operations of the rendering layer: the 640 x 480 logical
// screen that every draw lands on, clearing, presenting, and screenshots.
#include "media/render/compositor.h"
#include <cstdint>
#include <string>

constexpr int32_t kScreenWidth = 640, kScreenHeight = 480;

// Fills the whole back buffer with the opaque colour; opens the frame.
void Screen_Clear(int red, int green, int blue);
// Closes the frame and shows it, then handles pending window messages. F11
// (scan code 87) pressed since the last frame first saves the frame to
// "Screenshots/".
void Screen_Present();

// The drawing target (XRGB words; the top byte is not used); opens the frame.
// Before a window exists the layer draws into a buffer of its own.
ComposeTarget Screen_Target();
// The colour of a screen pixel as drawn so far (0xRRGGBB), 0 outside.
uint32_t Screen_Pixel(int32_t x, int32_t y);

// Writes the current frame as a PNG; false with a log line when it cannot.
bool Screen_SaveScreenshot(const char* path);
// Saves to "Screenshots/" in the program folder under the date and time;
// returns the path written, or "" on failure.
std::string Screen_TakeScreenshot();
// Whether Screen_Present reacts to F11 (on unless turned off).
void Screen_SetScreenshotKey(bool on);

// Used by the video set-up: the SDL screen surface to present to, or none.
struct SDL_Surface;
bool Screen_Attach(SDL_Surface* screen);
void Screen_Detach();
