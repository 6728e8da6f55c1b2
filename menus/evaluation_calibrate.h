#pragma once
// "Calibrate from last play" on the evaluation: a player's Select stores the mean
// offset of the play's judged presses as the input offset of the controller the
// player used (added to the offset the presses were already judged with, so the
// next play's presses centre on the notes), written to "tarvolen.ini" at once.
// It is offered under the player's frame once the play judged enough presses
// of the player's own (never after autoplay); a line confirms what was stored.
#include <cstddef>
#include <cstdint>

constexpr int kEvalCalibrateMinPresses = 16;

struct EvalCalibrate {
  bool offered[2] = {};
  bool stored[2] = {};
  int device[2] = {-1, -1};    // -1 the keyboard, else a joystick number
  double meanMs[2] = {};
  char line[2][96] = {};       // the offer, then the confirmation
};

// Player `player` (0 or 1) played on `device` with `presses` judged presses whose
// mean offset was `meanMs` (positive late); `autoplay`: the presses were not theirs.
void EvalCalibrate_Offer(EvalCalibrate& c, int player, int device, int presses, double meanMs, bool autoplay);
// Select of a player: stores the offset. True when something was stored.
bool EvalCalibrate_Apply(EvalCalibrate& c, int player);
// Under each frame (left edge `frameX[player]`) its line; the slow-pad warning
// (or "") centred above them.
// The pad warning stands right-aligned at `warningRight` (632 unless something
// else takes the corner).
void EvalCalibrate_Draw(const EvalCalibrate& c, const int frameX[2], const char* padWarning, int warningRight = 632);
