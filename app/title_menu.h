#pragma once
// The title screen and main menu: ARCADE MODE, NONSTOP MODE, RECORDS, OPTIONS,
// QUIT GAME. Returns 1 arcade, 3 nonstop, 8 attract demo or 9 quit.
#include <cstdint>

enum TitleResult { TITLE_ARCADE = 1, TITLE_NONSTOP = 3, TITLE_DEMO = 8, TITLE_QUIT = 9 };

struct TitleStatus {
  bool scanChanged = false;   // the song search of this start-up changed something
  int added = 0, updated = 0, deleted = 0;
  int courseCount = 0;        // playable courses of every panel count
};

extern TitleStatus g_titleStatus;
extern uint32_t g_titleMusic;  // the title loop's channel, started by the start-up

int TitleMenu(bool startOnNonstop);

// The idle rule: what the menu does after `idleSteps` quiet periods of 15 s.
// 0 and 1 play the idle announcer lines; from 2 on the demo starts when songs exist.
int TitleMenu_IdleAction(int idleStep, bool attractDemo, bool songsForDemo);
// The status line for `elapsedMs` into the menu ("" when none is shown).
void TitleMenu_StatusText(uint32_t elapsedMs, bool firstMenu, char* out, int size);
