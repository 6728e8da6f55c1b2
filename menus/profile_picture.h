#pragma once
// A profile's own picture, "Profiles/<name>/user.png".
#include "media/render/image.h"

// Loads the picture scaled to `side` x `side`. False, leaving `out` empty, when
// the profile has none or it cannot be used (the caller shows the skin's
// default picture); an unusable file gets a log line.
bool ProfilePicture_Load(const char* profileName, int side, Image& out);
