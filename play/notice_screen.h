#pragma once
// A notice before a song (no music, unopenable music, MD5 mismatch): lines of
// text until either player's Start (with its sound) or the escape input.
// Returns true for Start, false for escape.
bool NoticeScreen(const char* const* lines, int count);
