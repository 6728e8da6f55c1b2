#pragma once
// The living background of one demo song: the pictures its background script
// uses and the "#BACKGROUND:" section itself, switched along the song's bars.
#include <string>

#include "gen_songs.h"

// The folder, under the song folder, that holds the script's pictures. The
// indexer takes the song's banner and background from the song folder by their
// shape, so pictures of those shapes must not sit beside them.
constexpr const char* kLivingFolder = "bg";

// Draws the stage, the sparkle strip, the ring and the flare into
// songDir/kLivingFolder; false when a picture could not be written.
bool Living_Pictures(const std::string& songDir, const SongDef& s);
// The "#BACKGROUND:" ... "#END;" section for the song's chart file, its
// timeline following the song's sections bar by bar.
std::string Living_Script(const SongDef& s);
