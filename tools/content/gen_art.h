#pragma once
// Pictures shared between the skin, the songs and the courses.
#include "gen_draw.h"

// A wide 256 x 80 banner: coloured art, a title and a smaller line under it.
void Art_Banner(cairo_t* cr, int w, int h, const std::string& title, const std::string& subtitle, double hue,
                uint64_t seed);
// A 640 x 480 song background: abstract shapes in the song's hues.
void Art_Background(cairo_t* cr, int w, int h, double hue, int pattern, uint64_t seed);
// A small dance pad: cell is the panel size; lit marks panels 0..8 (row by row).
void Sheets_MiniPad(cairo_t* cr, double x, double y, double cell, bool six, const bool lit[9], Rgba col);
