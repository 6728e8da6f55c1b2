#pragma once
// The evaluation of a nonstop course when it ends: each player's course totals
// (score, dance-point percentage and grade, the judgement counts, the combo, the
// stage reached and the time), the course's records and the profile statistics.
struct Play;

// After the course's last song, or after the song in which everyone failed
// (the players' records still hold the course's running statistics and the last
// song's chart; `play.course` holds the totals). Stores the course's result
// under "COURSE|<name>" in the machine's and the players' records.
void CourseEvaluationScreen(const Play& play);
