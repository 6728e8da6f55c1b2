#pragma once
// The command line. Options are found by plain substring search in the arguments
// joined with single spaces (case-sensitive). A numeric value is the decimal
// integer that follows the option's name ("/fps:75abc" reads 75). A text value
// ("/test:", "/style:", "/level:", "/results:", "/input:", "/startat:", "/replay:") runs to
// the end of the line or to the first " /" after it, trailing blanks removed,
// at most 511 characters. Text values are blanked out before the flags are looked
// for, so that a song path such as "Songs/dark/x.rkv" does not turn on "/dark".
#include <cstdint>
#include <string>

struct TestRequest {
  bool active = false;           // "/test:" given
  std::string chartPath;
  std::string style = "SINGLE";
  std::string level = "BASIC";
  int64_t startAtMs = -1;        // -1: from the start
  int rateStep = 5;              // music rate step 1..9, 5 normal
  int scrollIndex = 0;           // 0 = 1x, then 1.5x 2x 3x 4x 5x 8x 0.25x 0.5x 0.75x
  int side = 0;                  // 0 player 1, 1 player 2
  bool dark = false;
  bool tick = false;
};

struct StartOptions {
  int logLevel = -1;                       // -1 off, 0 "/log", 1 "/log2"
  uint64_t minRAM = 64ull << 20;
  uint64_t maxRAM = 128ull << 20;
  bool useSDL = false;                     // accepted; SDL is the only back-end
  bool altMovie = false;
  bool wheelShading = true;
  int colourDepth = 0;                     // 0 desktop, 16 with "/16bpp"
  bool fullScreen = false;
  bool hardwareSurface = false;            // "/hw"; "/sw" (default) clears
  bool anySize = false;                    // Direct3D only; kept for completeness
  bool scanSongs = true;
  bool altCombo = false;
  int minSize = 0;                         // 0..128
  bool v5Hack = false;
  int fps = 0;                             // 0: limiter off, else 20..200
  bool showSM = false;
  bool dither = true;
  int keyFlags = 22;
  int threadPriority = 0;                  // 0 normal, 1 above normal, 2 time critical
  bool boost = true;
  int soundDevice = -1;                    // "/sdevice:" N as given, -1 none
  TestRequest test;
  std::string resultsPath;                 // "/results:"
  std::string inputPath;                   // "/input:"
  std::string replayPath;                  // "/replay:": watch a replay and quit
  bool help = false;                       // "--help"
  bool version = false;                    // "--version"
};

extern StartOptions g_options;

std::string Options_JoinArgs(int argc, char** argv);
// Parses every option; `settingsFullScreen` is the stored Screen setting, which the
// options override.
void Options_Parse(const std::string& line, bool settingsFullScreen, StartOptions& out);
// The text value of `name` in `line`, or false when the option is absent.
bool Options_TextValue(const std::string& line, const char* name, std::string& out);
// "1:30.5" minutes and seconds, "12.5" seconds, "2500" milliseconds.
int64_t Options_ParseStartAt(const std::string& text);
// The scroll-speed names by modifier index ("" for 1x).
const char* Options_ScrollName(int index);
const char* Options_HelpText();
