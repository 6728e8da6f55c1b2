#pragma once
// The groove radar of the song wheel: a chart's five step-analysis figures
// (stream, voltage, air, freeze, chaos) as a pentagon, stream at the top and the
// others clockwise, painted into a square picture with alpha (the skin's radar
// pictures), with the grid behind in a picture of its own.
#include "chart/chart_figures.h"
#include "media/render/image.h"
#include <cstdint>

constexpr double kRadarFullValue = 100.0;   // a figure of 100 or more reaches the edge
constexpr double kRadarLeast = 0.04;        // a figure of 0 still shows a point of the shape

// How far (0..1 of the radius) a figure reaches.
double Radar_Reach(double value);
// The picture's pixels become the chart's pentagon in `colour`: a translucent
// fill and a solid rim. A picture that is not loaded is left alone.
void Radar_Paint(Image& target, const ChartFigures& f, uint32_t colour);
// Clears the picture (no chart).
void Radar_Clear(Image& target);
// Three rings and the five spokes.
void Radar_PaintGrid(Image& target, uint32_t colour);
// Where corner k (0 stream .. 4 chaos) of a radar of `size` pixels lies, at
// `reach` of the radius.
void Radar_Corner(int size, int k, double reach, double& x, double& y);
