#pragma once
// Arrow drawing shared by the arrow sheets and the pictures that show arrows.
#include "gen_draw.h"

// Columns: 0 Left, 1 Down, 2 Up, 3 Right, 4 Up-Left, 5 Up-Right.
double Arrow_Angle(int column);   // radians, clockwise from pointing up
void Arrow_Path(cairo_t* cr, double cx, double cy, double scale, double angle);

enum class ArrowLook { Glossy, Classic, Target, Flat };
// glow 0..1 adds a bright halo and lifts the colours; stripes shifts the
// chevrons of the classic look (0..1, one period).
void Arrow_Draw(cairo_t* cr, double cx, double cy, double scale, double angle, Rgba colour,
                ArrowLook look, double glow = 0, double stripes = 0);
