#pragma once
// What the style select screen decides, apart from its drawing: who has joined,
// where the cursor may go, which page is shown, and what a choice does to the
// two player records. Pure functions over the screen's state and the menu input
// word, so that every rule can be checked on its own.
#include "chart/player_record.h"
#include "menus/available_modes.h"
#include <cstdint>

constexpr int kStylePages = 2;
constexpr int kStyleMaxChoices = 3;
constexpr uint32_t kStyleMessageMs = 2000;  // "No songs available in this mode"
constexpr uint32_t kStyleChosenWaitMs = 750;

struct StyleState {
  int page = 0;             // 0: SINGLE VERSUS DOUBLE, 1: SOLO
  int cursor = 0;           // the choice under the cursor on this page
  int lowest = 0;           // the lowest choice the cursor may reach on page 0 (1 once both joined)
  bool joined[2] = {};
  bool message = false;     // the "no songs" message was raised ...
  uint32_t messageAt = 0;   // ... at this time
};

enum StyleEvent {
  STYLE_NOTHING,
  STYLE_MOVED,        // the cursor moved
  STYLE_JOINED,       // the other player joined
  STYLE_PAGE,         // the page switched: its pictures are needed
  STYLE_BACK,         // the players backed out
  STYLE_CHOSEN,       // the choice under the cursor was taken
  STYLE_UNAVAILABLE,  // the choice needs a style no song has
};

// The choices of a page: 3 on page 0, 1 on page 1.
int StylePage_Choices(int page);
// The name in the choice's picture files: "SINGLE", "VERSUS", "DOUBLE"; page 1's
// one choice is "SINGLE" too.
const char* StylePage_ChoiceName(int page, int choice);
// The available-modes flag (MODE_*) a choice needs.
int StyleChoice_Mode(int page, int choice);

// The state on entry: the players whose records are active have joined (player 1
// when neither is, as someone opened the screen); with both, SINGLE is out of reach.
void StyleState_Begin(StyleState& s, const Player players[2]);
// One frame's input. At most one thing happens; `who` gets the player (0 or 1)
// who pressed, for STYLE_CHOSEN the one who chose.
StyleEvent StyleState_Input(StyleState& s, uint32_t input, const bool available[MODE_COUNT], uint32_t nowMs,
                            int& who);
// The press the time limit makes when it runs out: Start of player 1 when joined,
// else of player 2.
uint32_t StyleState_TimeUpPress(const StyleState& s);
// The end of the time limit: that press; and when its choice needs a style no
// song has, the first choice that can be played instead (page 0 from the lowest
// reachable choice, then SOLO), so that the time limit always ends the screen.
// STYLE_UNAVAILABLE only when nothing at all can be played.
StyleEvent StyleState_TimeUp(StyleState& s, const bool available[MODE_COUNT], uint32_t nowMs, int& who);
// Whether the message is still shown at `nowMs`.
bool StyleState_MessageShown(const StyleState& s, uint32_t nowMs);

// What the choice makes of the records: who is active, with which style and
// panels, on which field. Difficulty and modifiers stay as they are.
void StyleChoice_Apply(int page, int choice, int who, Player players[2]);
// The style banner of the choice (see g_styleBanner).
int StyleChoice_Banner(int page, int choice, int who);
// The announcer line of the choice (a SoundId).
int StyleChoice_Announcer(int page, int choice);
