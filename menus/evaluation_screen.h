#pragma once
// The evaluation after each stage of an arcade game: the results of every active
// player with the grade, the records, the announcer's comment, and the award of
// an extra or bonus stage. It stores the results in the machine's records and
// in the players' profiles.
struct Play;
struct EvalView;
struct CommentPlan;
struct EvalCalibrate;

enum StageAward { AWARD_NONE = 0, AWARD_EXTRA = 1, AWARD_BONUS = 2 };

// Shows the results of the play that has just ended (its players' statistics
// and charts are still loaded) for `stage`; returns the award it made. When the
// play left a replay (or was one), Up of either player ends the screen asking
// to watch it: Evaluation_WatchAsked() tells the game above.
int EvaluationScreen(const Play& play, int stage);
// Whether the players left the last evaluation with "Watch Replay".
bool Evaluation_WatchAsked();
// For an evaluation about to be shown: the answer cleared, and the place
// Evaluation_Show sets when the offer is taken (null when there is nothing to watch).
bool* Evaluation_WatchOffer(bool watchable);

// The screen's loop over an evaluation already gathered and stored: the numbers
// count up, then the record lines and the comment; Start or Escape ends it once
// the comment has begun, as does its 30-second limit. Used by the course's
// evaluation as well. With `calib`, Select of a player carries out its offer.
// With `watch`, Up of either player ends it too and sets *watch.
void Evaluation_Show(EvalView& view, const CommentPlan& plan, EvalCalibrate* calib = nullptr, bool* watch = nullptr);
