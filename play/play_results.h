#pragma once
// "/results:PATH": after every play one line of JSON per active player is
// appended to PATH, so that tests and players' own tools can read the outcome.
#include <string>

struct PlayResult {
  int player = 1;               // 1 or 2
  std::string chart;            // chart file path
  std::string style;            // "SINGLE", "DOUBLE", ...
  std::string difficulty;       // "BASIC", "ANOTHER", "MANIAC", "SMANIAC"
  int level = 0;                // the chart's foot rating
  std::string score;            // the score as shown (digits)
  int perfect = 0, great = 0, good = 0, boo = 0, miss = 0;
  int ok = 0, ng = 0;           // freeze arrows held and dropped
  int maxCombo = 0;
  int dancePoints = 0, maxDancePoints = 0;
  double percent = 0;           // dance points as a percentage of the maximum
  std::string grade;            // "AAA", "AA", ..., "E"
  double life = 0;              // life gauge at the end, 0..1
  bool dead = false;
  // how the play ran: the music rate step, the music time it covered and the
  // wall time it took (their ratio is the rate), and the timing of the presses:
  // steps judged from a press, and their distance from the note in ms
  // (positive: late): mean, mean size and largest size
  int rateStep = 5;
  double musicMs = 0, wallMs = 0;
  int presses = 0;
  double offsetMeanMs = 0, offsetMeanAbsMs = 0, offsetMaxMs = 0;
};

struct Arrow;
struct Play;
struct Player;

// A step judged from a press (its row PERFECT to BOO): true, with the distance
// of the press from its note in ms (positive: late).
bool Results_PressLateMs(const Arrow& a, double& lateMs);
// The notes of the player's chart judged from a press, and how many of them were PERFECT.
int Results_SteppedNotes(const Player& p, int* perfects);

std::string Results_ToJson(const PlayResult& r);   // one line, without the newline
bool Results_Append(const std::string& path, const PlayResult& r);
// The outcome of `p` in the play that has just ended.
PlayResult Results_Of(const Play& play, const Player& p);
// A line for every active player to the play's "/results:" file, when it has one.
void Results_WritePlay(const Play& play);
