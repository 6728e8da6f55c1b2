#pragma once
// The seconds a screen's time limit has left, in the skin's timer digits.

// Right-aligned at `rightX`, top at `y`; nothing when `secondsLeft` is negative
// (no time limit).
void TimeLeft_Draw(int secondsLeft, int rightX, int y);
