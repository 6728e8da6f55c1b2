#pragma once
// The two graphs of the evaluation: the timing histogram of a player's presses
// and the life gauge over the song drawn as a line.
#include <cstdint>
#include <vector>

class Image;
struct TimingHistogram;

// The colours of the judgements PERFECT, GREAT, GOOD, BOO, MISS on this screen.
extern const uint32_t kJudgementColours[5];

// The histogram in the box (x, y, w, h), its bars grown to `grow` (0..1) of
// their height: the judgement windows shaded behind, a bar per bucket in the
// colour of its window, the note's moment as a line in the middle.
void Histogram_Draw(const TimingHistogram& h, int x, int y, int w, int height, double grow);

// The row (0 top .. height-1 bottom) of a life value -100..1700 in a graph of
// `height` rows: full at the top, empty (and dead) at the bottom.
int LifeGraph_Row(int life, int height);
// The life at `x` of a graph `width` wide over the samples, taken between the
// two nearest samples; 0 without samples.
double LifeGraph_LifeAt(const std::vector<int16_t>& trace, int x, int width);
// The graph as a picture of `width` x `height`: the line in `rgb` with the area
// under it shaded. False without samples (or when the picture cannot be made).
bool LifeGraph_Make(Image& picture, const std::vector<int16_t>& trace, int width, int height, uint32_t rgb);
