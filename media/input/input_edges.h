#pragma once
// Every key and joystick button edge with the program time it was seen, kept in
// a bounded ring. The keyboard is sampled each frame and about every millisecond
// while the main thread waits for the next frame; SDL joysticks every
// millisecond on the joystick sampler's thread; joysticks read through evdev
// (Linux) add their edges from the reader thread with the kernel's time. The play takes the edges since its last frame, so a press
// carries its own time whatever the frame rate and a press and release inside
// one frame both count.
#include <cstdint>

constexpr int kEdgeKeyboard = -1;    // device of keyboard edges; joysticks are 0..15
constexpr int kEdgeJoysticks = 16;
constexpr int kEdgeRingSize = 1024;

struct InputEdge {
  double atMs;      // program clock (Clock_MsPrecise)
  int8_t device;    // kEdgeKeyboard or a joystick number
  uint8_t code;     // DIK scan code, or button number 0..31
  uint8_t down;     // 1 down, 0 up
};

// Forgets every edge and the known state (everything up).
void InputEdges_Clear();
// Logs an edge when it changes the known state of its key or button (thread-safe).
// Returns whether it was logged.
bool InputEdges_Push(double atMs, int device, int code, bool down);
// The position after the newest edge: a reader starting now reads from here.
uint64_t InputEdges_Cursor();
// Copies up to `max` edges after `cursor` in the order they were logged and moves
// the cursor past them. A reader that fell a whole ring behind loses the oldest
// (a log line says how many) and goes on from the oldest still kept.
int InputEdges_Read(uint64_t& cursor, InputEdge* out, int max);
// The known state: whether the key or button is down after the newest edge.
bool InputEdges_KeyDown(int code);
bool InputEdges_ButtonDown(int joystick, int button);
uint32_t InputEdges_Buttons(int joystick);
// Logs, at `atMs`, an edge for every key whose state (0x80 while down) differs
// from the known one, and likewise for the first `count` buttons of a joystick.
// Keys with `skip[code]` set are left as they are (they come from elsewhere).
void InputEdges_SyncKeys(double atMs, const uint8_t keys[256], const uint8_t* skip = nullptr);
void InputEdges_SyncButtons(double atMs, int joystick, uint32_t mask, int count);

// ---- The sampler ----
// The device reads of the sampler; the defaults read SDL. A benchmark or a test
// substitutes its own joystick or key state.
struct EdgeSource {
  void (*pump)();                                  // let the system update its state
  const uint8_t* (*keys)(int* count);              // key state by SDL symbol; null for none
  int (*joystickCount)();
  bool (*buttons)(int joystick, uint32_t* mask);   // false when it cannot be read
  void (*joystickPump)() = nullptr;                // joysticks alone, safe on any thread
};
// nullptr restores the SDL reads. Either way the next sample counts as the first.
void InputEdges_SetSource(const EdgeSource* source);
// Reads the keyboard and the joysticks not read through evdev and logs every
// change since the last sample, stamped midway between that sample and `nowMs`
// (at `nowMs` itself for the first sample, or after a pause of over 50 ms). Main thread only (SDL 1.2 pumps
// events there). While the joystick sampler runs, the joysticks are left to it.
void InputEdges_Sample(double nowMs);
// The joysticks alone, as InputEdges_Sample reads them, with a span of their own:
// the joystick sampler's tick.
void InputEdges_SampleJoysticks(double nowMs);
// The sampler at the current time; installed as the pacer's wait hook.
void InputEdges_SampleNow();

// ---- The joystick sampler ----
// Joysticks read through SDL are sampled every millisecond on a thread of their
// own, so their presses keep their time while the main thread draws (the
// keyboard stays with the main thread: its state comes with the window's events).
// Started when a joystick is left to SDL, stopped while the joysticks are counted
// again.
constexpr double kJoystickSampleMs = 1.0;
// Starts the thread when one of the first `count` joysticks is read through SDL.
void JoystickSampler_Start(int count);
// Starts it whatever the joysticks (tests and benchmarks with their own source).
void JoystickSampler_StartThread();
void JoystickSampler_Stop();
bool JoystickSampler_Running();
// CPU time the thread has used in its last run, in ms (known once it stopped).
double JoystickSampler_ThreadCpuMs();

// ---- Pads read through evdev (Linux) ----
struct PadReport {
  char name[128];
  double intervalMs;   // 0 while too few reports were seen
  int samples;
};
constexpr double kSlowPadMs = 2.0;
// The pads measured so far, at most `max`; returns how many.
int InputEdges_PadReports(PadReport* out, int max);
// How many pads report slower than every 2 ms.
int InputEdges_SlowPads();
