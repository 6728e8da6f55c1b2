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
  int stageLabel = -1;          // label cell 0..9 of the first row, -1 none
  bool autoPlay = false;
  bool paused = false;
  bool altCombo = false;        // "/altcombo": the lives as pictures of digits
  int comboMilestone[2] = {0, 0};
  double milestoneAtMs[2] = {0, 0};
};


void Hud_SetMessage(HudState& hud, const char* text, double nowMs, int forMs);
// `songMs` is the song clock (judgement times), `nowMs` the program clock.
void Hud_Draw(HudState& hud, const Player* players, double songMs, double nowMs);
// The fill of a life gauge: 0..290 pixels for life -100..1700.
int Hud_LifeFill(int32_t life);
