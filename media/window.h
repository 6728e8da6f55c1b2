#pragma once
// The window and video set-up: the 640 x 480 logical screen in a window titled
// "Tarvolen (SDL)" or full screen, and the window's messages.
//
// A window on a large desktop is shown scaled up (sdl12-compat's window
// scaling) while the logical screen stays 640 x 480; setting
// SDL12COMPAT_WINDOW_SCALING yourself overrides the factor we choose.
#include "media/render/screen.h"
#include <cstdint>

constexpr int32_t kVideoInitFailed = (int32_t)0x80004005;

// Chooses the rendering back-end. SDL is the one this build has, so "/sdl" or
// not, the SDL compositor is prepared; the dither switch is stored. Nothing
// changes once Window_Init has run.
void Video_SelectBackend(bool useSDL, bool fullScreen, bool dither);

// Opens the screen: full screen or windowed, 16 bits when colourDepth is 16
// (else 32 in full screen, the desktop's depth in a window), a double-buffered
// hardware surface with hardwareSurface ("/hw"). minSize and v5Hack go into the
// texture limits. Turns the screen saver off for the run.
// Returns 0, or kVideoInitFailed.
int32_t Window_Init(bool fullScreen, int colourDepth, bool hardwareSurface, int minSize, bool v5Hack);
// Restores the screen saver, frees the screen and quits SDL video.
void Window_Shutdown();

// Drains the window's event queue without drawing.
void Window_PumpMessages();
// True once the window's close button has been pressed; the screens decide.
bool Window_CloseRequested();
void Window_ClearCloseRequest();
// Whether keys typed now reach the game window (always with the dummy driver).
bool Window_HasFocus();
bool Window_IsOpen();
