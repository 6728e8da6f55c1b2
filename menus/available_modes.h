#pragma once
// Which styles can be chosen at all: a style is available when some song has a
// chart among the first three difficulties of it.
enum { MODE_SINGLE, MODE_DOUBLE, MODE_SOLO, MODE_COUNT };

extern bool g_availableModes[MODE_COUNT];

void FindAvailableModes(bool flags[MODE_COUNT]);
bool AnyModeAvailable();
