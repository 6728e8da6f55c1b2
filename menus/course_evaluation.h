#pragma once
// The evaluation of a nonstop course when it ends: each player's course totals
// (score, dance-point percentage and grade, the judgement counts, the combo, the
// stage reached and the time), the course's records and the profile statistics.
#include "menus/evaluation_rules.h"

struct Course;
struct CourseRun;
struct EvalView;
struct Play;
struct PlayFlags;
struct Player;

// After the course's last song, or after the song in which everyone failed
// (the players' records still hold the course's running statistics and the last
// song's chart; `play.course` holds the totals). Stores the course's result
// under "COURSE|<name>" in the machine's and the players' records.
void CourseEvaluationScreen(const Play& play);

// --- its pieces ---

// The course of the play in the course table, or null.
const Course* CourseEvaluation_Course(const Play& play);
// What every song of the course did, the last one included.
PlayFlags CourseEvaluation_Flags(const Play& play);
// Player `index`'s outcome over the whole course: the running score, combo and
// judgement counts of the player's record; the percentage of the course's dance
// points and its grade; the steps, the stage reached and the time of the totals.
EvalOutcome CourseEvaluation_Outcome(const Player& p, const CourseRun& totals, int index);
// Stores the outcomes' results under the course's key, unless the course was
// stepped by Auto Play or at another speed, or is not in the course table.
void CourseEvaluation_Store(const Play& play, EvalOutcome outcomes[2]);
// What the screen shows.
void CourseEvaluation_Build(EvalView& v, const Play& play, const Player players[2], const EvalOutcome outcomes[2]);
