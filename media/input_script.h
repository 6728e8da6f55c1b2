#pragma once
// Scripted input ("/input:PATH"), merged with the real keyboard and joysticks.
// One event a line:
//   MS down CODE | MS up CODE           CODE a DIK scan code (1..255)
//   MS joy N BUTTON down|up             joystick N (0..15), button 0..31
// MS is milliseconds since the program started; "#" starts a comment. Lines that
// do not parse are logged and skipped. Events are applied in time order.
// A line may also begin with "play": "play MS down CODE" and so on. Its MS is
// music time (milliseconds of the music file, may be negative) of the play that
// reaches it, so that a script can step exactly on the notes wherever the music
// starts in program time. The play turns such events into ordinary ones shortly
// before they fall due, from its song clock at that moment.
// A line "@ TEXT" is an anchor: the timed lines after it (up to the next anchor)
// count MS from the moment the game writes a line of its log that contains TEXT
// (the log need not be on). Anchors are met in order: each waits for the first
// such line after the anchor before it was met. A script can so follow the game
// from screen to screen whatever each screen takes to load. The "play" lines
// after an anchor are for the plays after it is met: meeting it replaces the
// music-timed lines still waiting, so each stage of a game can step on its own
// song's notes.
#include <cstdint>
#include <string>
#include <vector>

constexpr int kScriptJoysticks = 16;

struct ScriptEvent {
  uint32_t ms;
  uint8_t isJoy;     // 0 key, 1 joystick button
  uint8_t down;      // 1 down, 0 up
  uint8_t joystick;  // joystick number for button events
  uint8_t code;      // scan code, or button number
};

struct MusicScriptEvent {
  double musicMs;
  ScriptEvent event;   // its ms is filled when the play resolves it
};

// The events of one anchor; their ms count from the moment the anchor is met.
struct AnchoredScript {
  std::string text;
  std::vector<ScriptEvent> events;
  std::vector<MusicScriptEvent> music;   // in music-time order
};

bool InputScript_Load(const char* path);              // false when unreadable
// False when some line was not understood (the rest is still parsed). Without
// `music` the "play" lines, without `anchored` the anchors and their lines, are
// parsed and dropped.
bool InputScript_Parse(const std::string& text, std::vector<ScriptEvent>& out,
                       std::vector<MusicScriptEvent>* music = nullptr,
                       std::vector<AnchoredScript>* anchored = nullptr);
// Replaces the script. With anchors it listens to the log until the last is met.
void InputScript_Set(const std::vector<ScriptEvent>& events, const std::vector<MusicScriptEvent>& music = {},
                     const std::vector<AnchoredScript>& anchored = {});
// A line of the log at program time `nowMs`: meets the next anchor when it holds
// its text. Returns whether it did.
bool InputScript_LogLine(const char* line, uint32_t nowMs);
// Anchors not met yet.
int InputScript_PendingAnchors();
// The play, each frame: music-timed events due by `musicMs + aheadMs` become
// program-timed ones at `programMs + (due - musicMs) / rate`. Returns how many.
int InputScript_ResolveMusic(double musicMs, double programMs, double rate, double aheadMs);
int InputScript_PendingMusic();
void InputScript_Clear();
bool InputScript_Active();
// The scripted held state as of `nowMs`: keys[code] = 0x80 while down, and the
// button bits of each joystick. Overwrites both arrays.
void InputScript_State(uint32_t nowMs, uint8_t keys[256], uint32_t joyButtons[kScriptJoysticks]);
// When a scripted key (or joystick button) that is down at `nowMs` went down;
// false when it is not scripted-down. Lets a press carry its exact time.
bool InputScript_KeyDownSince(int code, uint32_t nowMs, uint32_t* sinceMs);
bool InputScript_ButtonDownSince(int joystick, int button, uint32_t nowMs, uint32_t* sinceMs);
// Bit n set for every joystick that the script uses (it counts as present).
uint32_t InputScript_JoystickMask();
// The time of the last event, so that a scripted run can tell it has played out.
uint32_t InputScript_LastMs();
