// The edge ring and the known state of every key and button.
#include "media/input/input_edges.h"
#include "platform/log.h"
#include <mutex>

namespace {
std::mutex g_lock;
InputEdge g_ring[kEdgeRingSize];
uint64_t g_next = 0;              // sequence number of the next edge
uint8_t g_keys[256];              // 1 while down
uint32_t g_buttons[kEdgeJoysticks];

bool knownDown(int device, int code) {
  return device == kEdgeKeyboard ? g_keys[code] != 0 : (g_buttons[device] >> code & 1) != 0;
}
}  // namespace

void InputEdges_Clear() {
  std::lock_guard<std::mutex> l(g_lock);
  for (uint8_t& k : g_keys) k = 0;
  for (uint32_t& b : g_buttons) b = 0;
  g_next = 0;
}

namespace {
// With the lock held.
bool push(double atMs, int device, int code, bool down) {
  if (knownDown(device, code) == down) return false;
  if (device == kEdgeKeyboard) g_keys[code] = down ? 1 : 0;
  else if (down) g_buttons[device] |= 1u << code;
  else g_buttons[device] &= ~(1u << code);
  g_ring[g_next % kEdgeRingSize] = InputEdge{atMs, (int8_t)device, (uint8_t)code, (uint8_t)(down ? 1 : 0)};
  g_next++;
  return true;
}
}  // namespace

bool InputEdges_Push(double atMs, int device, int code, bool down) {
  if (device < kEdgeKeyboard || device >= kEdgeJoysticks) return false;
  if (code < 0 || code > (device == kEdgeKeyboard ? 255 : 31)) return false;
  std::lock_guard<std::mutex> l(g_lock);
  return push(atMs, device, code, down);
}

void InputEdges_SyncKeys(double atMs, const uint8_t keys[256], const uint8_t* skip) {
  std::lock_guard<std::mutex> l(g_lock);
  for (int c = 1; c < 256; c++)
    if ((g_keys[c] != 0) != ((keys[c] & 0x80) != 0) && !(skip && skip[c])) push(atMs, kEdgeKeyboard, c, !g_keys[c]);
}

void InputEdges_SyncButtons(double atMs, int joystick, uint32_t mask, int count) {
  if (joystick < 0 || joystick >= kEdgeJoysticks) return;
  std::lock_guard<std::mutex> l(g_lock);
  uint32_t diff = g_buttons[joystick] ^ mask;
  for (int b = 0; b < count && b < 32 && diff; b++)
    if (diff >> b & 1) push(atMs, joystick, b, mask >> b & 1);
}

uint64_t InputEdges_Cursor() {
  std::lock_guard<std::mutex> l(g_lock);
  return g_next;
}

int InputEdges_Read(uint64_t& cursor, InputEdge* out, int max) {
  std::lock_guard<std::mutex> l(g_lock);
  if (cursor > g_next) cursor = g_next;  // the log was cleared since
  if (g_next - cursor > (uint64_t)kEdgeRingSize) {
    WriteLogf("Input: %llu key and button edges were overwritten before they were read\n",
              (unsigned long long)(g_next - cursor - kEdgeRingSize));
    cursor = g_next - kEdgeRingSize;
  }
  int n = 0;
  for (; cursor < g_next && n < max; cursor++) out[n++] = g_ring[cursor % kEdgeRingSize];
  return n;
}

bool InputEdges_KeyDown(int code) {
  if (code < 0 || code > 255) return false;
  std::lock_guard<std::mutex> l(g_lock);
  return g_keys[code] != 0;
}

bool InputEdges_ButtonDown(int joystick, int button) {
  if (joystick < 0 || joystick >= kEdgeJoysticks || button < 0 || button > 31) return false;
  std::lock_guard<std::mutex> l(g_lock);
  return g_buttons[joystick] >> button & 1;
}

uint32_t InputEdges_Buttons(int joystick) {
  if (joystick < 0 || joystick >= kEdgeJoysticks) return 0;
  std::lock_guard<std::mutex> l(g_lock);
  return g_buttons[joystick];
}
