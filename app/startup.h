#pragma once
// Start-up, the screen driver and shut-down.

// Runs the whole game with the given arguments; returns the process exit status:
// 0 after a normal shut-down, 1 after a start-up failure, 2 when test mode could
// not play its chart.
int GameMain(int argc, char** argv);
