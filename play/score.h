#pragma once
// The score: points for PERFECT and GREAT notes and completed freezes, shown as
// a right-aligned 30-character decimal text.
//
// A note of weight w (its stepNumber) in a chart of rating r and total weight W
// (the player's stepTriangle, the sum of all weights) is worth
// w x min(r, 15) x 10,000,000 / W as PERFECT and half that as GREAT. The song's
// points are kept as the running sum of weights (2 per PERFECT unit, 1 per GREAT
// unit) and turned into points in whole numbers from that sum, so a fully
// PERFECT chart totals exactly min(r, 15) x 10,000,000: adding each note's
// amount cut to whole points would fall short of it.
#include <cstddef>
#include <cstdint>

struct Arrow;
struct Player;

constexpr int kScoreDigits = 11;
constexpr int kScoreWidth = 30;

// "                   00000000000" style text of `points` into out (at least
// kScoreWidth + 1 bytes): blanks, then at least 11 digits, 30 characters in all.
// Negative values are shown as 0.
void Score_Format(int64_t points, char* out, size_t outSize);
// Score 0 and a fresh song.
void Score_Reset(Player& p);
// A later song of a nonstop course: the points so far stay, this song's sum starts at 0.
void Score_NextSong(Player& p);
// The points of a song with `units` summed so far (2 per PERFECT weight, 1 per
// GREAT weight); 0 when the chart has no judged records or no rating.
int64_t Score_SongPoints(int64_t units, int rating, int64_t stepTriangle);
// Adds the points of one note judged `judgement` (PERFECT and GREAT score;
// others add nothing) and rewrites the score text.
void AddScore(Player& p, const Arrow& note, int judgement);
// The points shown (the text's value).
int64_t Score_Value(const Player& p);
