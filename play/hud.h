#pragma once
// The play screen's HUD: top bar with the life gauges, judgement and combo over
// each note field, score along the bottom, battery lives, the message line.
#include "play/player.h"
#include <cstdint>

struct HudState {
  char message[128] = "";
  char title[128] = "", artist[128] = "";  // the song, shown in a free box of the bottom bar
  int titleSize = 0, artistSize = 0;       // their font sizes, fitted at the first frame
  double messageUntilMs = 0;    // program time
  int stageLabel = -1;          // label cell 0..19 of the two rows of labels, -1 none
  bool autoPlay = false;
  bool replay = false;          // a replay is being watched
  bool paused = false;
  bool altCombo = false;        // "/altcombo": the lives as pictures of digits
  int comboMilestone[2] = {0, 0};
  double milestoneAtMs[2] = {0, 0};
};


void Hud_SetMessage(HudState& hud, const char* text, double nowMs, int forMs);
// `songMs` is the song clock (judgement times), `nowMs` the program clock.
void Hud_Draw(HudState& hud, const Player* players, double songMs, double nowMs);
// The label cell of a stage for the top bar: 0..5 "1st" to "6th STAGE", 6 FINAL
// (the last stage of "Max Stage" below 6), 7 EXTRA and 8 BONUS (the stages past
// it); 17 DEMO for stage 0 (the attract demo); -1 past the 6th of unlimited
// stages.
int Hud_StageLabel(int stage, int maxStage);
// The fill of a life gauge: 0..290 pixels for life -100..1700.
int Hud_LifeFill(int32_t life);
