#pragma once
// The screen driver: opens and closes the devices and loops over the screens.
#include "app/options.h"

extern int g_rateStep;   // music rate step 1..9, 5 normal speed

bool Driver_OpenDevices(const StartOptions& o);  // window, keyboard, video; false on video failure
void Driver_CloseDevices();
void Driver_ClearScreen();
void Driver_Run();                               // returns when the player quits
