#pragma once
// Whole games run by the real executable, headless: an "/input:" script anchored
// on the game's log lines drives every screen, and steps on the notes of the
// library's songs (support/game_library.h) exactly on time. Use inside a TempDir.
#include "library/records.h"
#include "support/game_library.h"
#include <sys/types.h>
#include <initializer_list>
#include <string>

// Keys (scan codes): player 1 steps on A S W D, Start is Space; player 2 on the
// arrow keys, Start is Enter.
constexpr int kStart1 = 57, kStart2 = 28, kEscape = 1;
constexpr int kRight1 = 32, kDown1 = 31, kRight2 = 205;
constexpr int kPads[2][4] = {{30, 31, 17, 32}, {203, 208, 200, 205}};   // Left Down Up Right
enum { L = 1, D = 2, U = 4, R = 8 };
// Player 1's keys in the order of the bindings (Up Down Left Right Up-Left
// Up-Right Select Start); a gamepad game binds button b to the control b.
constexpr int kPadButtons[8] = {17, 31, 30, 32, 16, 18, 15, 57};

struct Script {
  std::string text;
  bool gamepad = false;   // player 1 presses the buttons of joystick 0 instead of keys
  void at(const char* anchor);
  // A press held long enough for any menu to take it.
  void tap(int ms, int code);
  // " down 57\n", or on the gamepad " joy 0 7 down\n" for player 1's controls.
  std::string press(int code, bool down) const;
  // The panels of `mask` stepped on at music time `ms` by player `p`.
  void step(int p, int ms, int mask);
  // The library's charts of a 4-second song: SINGLE BASIC steps L D U R every half
  // second from 1 s; MANIAC a row every quarter second with two jumps.
  void basic(int p);
  void maniac(int p);
  // Start on the modifier rows until both players stand on EXIT and it is taken.
  void leaveModifiers(bool both);
  void evaluation();
  // The credits passed with Start, then Escape on the title menu quits.
  void credits();
};

// Menu presses at running times after the last anchor. The first direction
// press on a screen must be held past the repeat step; later ones are short, or
// they repeat.
struct MenuPresses {
  Script s;
  int t = 0;
  bool first = true;
  void anchor(const char* text, int wait = 800) {
    s.at(text);
    t = wait;
    first = true;
  }
  void key(int code, int holdMs = 60) {
    s.text += std::to_string(t) + " down " + std::to_string(code) + "\n" + std::to_string(t + holdMs) + " up " +
              std::to_string(code) + "\n";
    t += holdMs + 340;
  }
  void move(int code, int times = 1) {
    for (int i = 0; i < times; i++) {
      key(code, first ? 180 : 60);
      first = false;
    }
  }
  // Start or Escape that opens or closes a screen, or Start on the options' main
  // page (which opens it anew): the next one begins listening anew.
  void screen(int code) {
    key(code);
    t += 500;
    first = true;
  }
  void joy(int button) {
    s.text += std::to_string(t) + " joy 0 " + std::to_string(button) + " down\n" + std::to_string(t + 80) +
              " joy 0 " + std::to_string(button) + " up\n";
    t += 500;
  }
};

struct GameRun {
  int status = -1;
  std::string log, results;
  std::string tail() const { return log.substr(log.size() > 3000 ? log.size() - 3000 : 0); }
};

// A game folder on the library: not a first run (one old record), the song
// database made in this process, so no search and no warning screen.
void PrepareGame(const GameSettings& settings, int songs = 3);
// The same with a library of the test's own making: `beforeIndex` may change its
// files before the song database is made.
void PrepareGame(const GameSettings& settings, const GameLibrary& lib, void (*beforeIndex)() = nullptr);
// Runs the game on the script with "/log /skipsearch /fps:60 /results:r.json".
GameRun RunGame(const Script& s, int timeoutSeconds = 240);
// Runs the game with "/log /skipsearch /fps:60" and `args`; `results` is the file
// read into GameRun::results.
GameRun RunGameWith(const std::string& args, const std::string& results = "r.json", int timeoutSeconds = 240);
// Starts the game headless with `args` in the current folder, its output in
// out.txt and `env` ("NAME=value") set, and returns at once: the caller watches
// the running process and waits for it. A game that runs past the timeout is
// ended by its own alarm, so a hang fails the test instead of CI.
pid_t StartGame(std::initializer_list<const char*> args, int timeoutSeconds,
                std::initializer_list<const char*> env = {});
// A number field of /proc/PID/status ("VmRSS:", "Threads:"), or -1.
long ProcStatus(pid_t pid, const char* field);

int CountOf(const std::string& text, const std::string& part);
// The text value of "key" in a results line, or its number as text.
std::string Field(const std::string& line, const std::string& key);
// Whether `parts` stand in the log in this order.
bool InOrder(const std::string& log, std::initializer_list<const char*> parts);
// The first result of the record `key`, or null.
const Result* ResultOf(const RecordTable& t, const char* key);
const SongRecord* RecordOf(const RecordTable& t, const char* key);
