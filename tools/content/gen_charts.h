#pragma once
// Step charts made from a song's note events: which sounds become arrows at
// each difficulty, which panels they go to (feet alternate, jumps on
// accents, freezes on held notes), and the chart file's step-data text.
#include <string>
#include <vector>

#include "gen_music.h"

// One arrow: start position (sixteenths), column, and the end of a freeze
// (equal to the start for a tap).
struct Step {
  double pos;
  int col;
  double end;
};

enum class Layout { Single, Solo, Double };  // 4, 6 and 8 columns
int Layout_Columns(Layout l);

struct ChartRequest {
  Layout layout;
  int difficulty;  // 0 BASIC .. 3 SMANIAC
  int focus;       // 0 every instrument, 1 drums and bass, 2 melody and hats
  uint64_t seed;
};

std::vector<Step> Chart_Make(const std::vector<NoteEvent>& events, const Arrangement& a, const ChartRequest& r);
// The foot rating (1..10) from the chart's density and jumps.
int Chart_Level(const std::vector<Step>& steps, const TempoMap& tm);
// Step data for columns [first, first + count): Single 0..3, Solo 0..5,
// a Double pad 0..3 or 4..7 (written as Left, Down, Up, Right).
std::string Chart_StepData(const std::vector<Step>& steps, int first, int count, int bars);
// Checks what the step data cannot express: at most two arrows a row
// (freeze ends included), nothing in a column while its freeze is held, and
// positions on the 16th or 24th grid. Returns "" or the first problem.
std::string Chart_Check(const std::vector<Step>& steps, int columns);
