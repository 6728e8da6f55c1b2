#pragma once
// The screen driver: opens and closes the devices and loops over the screens.
#include "app/options.h"

bool Driver_OpenDevices(const StartOptions& o);  // window, keyboard, video; false on video failure
void Driver_CloseDevices();
void Driver_ClearScreen();
void Driver_Run();                               // returns when the player quits
