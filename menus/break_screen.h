#pragma once
// The break of a repeating course: "Taking a Break" over the break picture,
// faded in, until either player's Start or the escape input, faded out.
#include "media/render/image.h"

void BreakScreen(Image& picture);
