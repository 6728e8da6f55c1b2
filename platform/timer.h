#pragma once
// Periodic timer: a thread that sets an event every `periodMs`, in place of the
// multimedia timer. One timer at a time is enough for the frame pacer.
#include "platform/event.h"

bool Timer_Start(unsigned periodMs, Event* target); // false when the thread cannot start
void Timer_Stop();
bool Timer_Running();
