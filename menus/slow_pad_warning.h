#pragma once
// The warning the evaluation and the "System Options" page show when a pad read
// directly reports slower than every 2 ms: its presses then come up to that much
// late and uneven, and the README tells how to make the system poll it faster.
#include "media/input/input_edges.h"
#include <cstddef>

// From measured pads: the line for the slowest one that is slow, e.g. "Dance mat
// reports every 8 ms: see README, usbhid.jspoll"; false (and "") when none is.
bool SlowPad_Warning(const PadReport* pads, int count, char* out, size_t size);
// The same for the pads measured so far.
bool SlowPad_CurrentWarning(char* out, size_t size);
