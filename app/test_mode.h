#pragma once
// Test mode ("/test:"): which player, style and chart a test play uses.
#include "app/options.h"

struct TestSetup {
  int player = 0;          // 0 or 1: the side that plays
  const char* styleName = "SINGLE";
  int panels = 4;
  int chartOffset = 0;     // 0 SINGLE, 4 DOUBLE, 11 SOLO
  int fieldLeft = 175, fieldRight = 449, fieldCentre = 320;
  int difficulty = 0;      // 0 BASIC, 1 ANOTHER, 2 MANIAC, 3 SMANIAC
  int64_t startAtMs = -1;
  int rateStep = 5;
  int scrollIndex = 0;
  bool dark = false;
  bool tick = false;
};

// Style by substring in the order SINGLE, DOUBLE, SOLO; difficulty in the order
// SMANIAC, MANIAC, ANOTHER or TRICK, BASIC. False for an unknown style or level,
// or SOLO with SMANIAC. Whether the song has that chart is checked by the loader.
bool TestMode_Resolve(const TestRequest& req, TestSetup& out);

// Plays the test chart until the player stops asking for restarts. Returns the
// exit status: 0 when it was played, 2 when it could not be.
int TestMode_Run(const TestRequest& req);
