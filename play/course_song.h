#pragma once
// What a nonstop course does to its players around each song: the entry's
// modifiers with the random ones it asks for, and the battery lives a song gives.
#include <cstdint>

struct Player;
struct CourseEntry;

// The random pick of one modifier row for `count` random modifiers: a row 0..7
// drawn uniformly, Dark (5) taken as Scroll (6).
int CourseSong_RandomRow(int random8);

// Sets the player's nine modifiers from the course entry, then adds up to
// `entry.randomArrows` random ones: each pick is a row not picked before for
// this song; a row the entry (or an earlier pick) already set counts without a
// change; otherwise it gets a random value 1 .. its last, except that "Other"
// is always FLAT, "Turn" is MIRROR unless the course is of four panels, and
// "Power" is DROP. In a battery course DEATH is cleared. `random(n)` gives 0..n-1.
void CourseSong_SetModifiers(Player& p, const CourseEntry& entry, bool fourPanels, bool batteryCourse,
                             int (*random)(int n));

// The lives a song of a battery course gives a player who is not dead: the
// entry's gain (its "AWARD" value), or with none (255) 1 for a chart rated up
// to 6, 2 for 7 and 8, 3 above.
int CourseSong_LivesGain(uint8_t award, int level);
// Adds the song's lives to a player who is not dead, never beyond `maxLives`.
void CourseSong_GiveLives(Player& p, uint8_t award, int maxLives);
