#include "menus/options_bindings.h"
#include "media/sound/sound_fx.h"
#include "menus/binding_capture.h"
#include "menus/options_look.h"
#include <cstdio>
#include <cstring>

namespace {
constexpr uint32_t kMessageMs = 3000;
constexpr uint32_t kBlinkMs = 250;
constexpr uint32_t kWaitColour = 0xFF7040, kCellColour = 0xFFFFFF, kKeysColour = 0x9098B8;

constexpr uint32_t kUp = MENU_UP * 0x101, kDown = MENU_DOWN * 0x101, kLeft = MENU_LEFT * 0x101;
constexpr uint32_t kSide = (MENU_LEFT | MENU_RIGHT) * 0x101;
constexpr uint32_t kChoose = MENU_START * 0x101, kBack = MENU_ESCAPE | MENU_SELECT * 0x101;

const char* const kNote = "Changes will take effect when menu is exited.";
const char* const kWalkPrompt = "Press key to use for this control. (TAB to skip to next input).";
const char* const kOneKeyPrompt = "Press key to use for this control.";
const char* const kButtonPrompt = "Press button to use for this control (TAB to skip).";

char g_line[128];   // the passing line the pages write; the edit record points at it

void say(OptionsEdit& e, const char* text, uint32_t now) {
  snprintf(g_line, sizeof g_line, "%s", text);
  e.message = g_line;
  e.messageAt = now;
}

const char* passingLine(const OptionsEdit& e, uint32_t now) {
  return e.message && now - e.messageAt < kMessageMs ? e.message : nullptr;
}

// The up/down move of a page's cursor; true when the cursor moved.
bool moveCursor(const OptionsRow* rows, int count, int& cursor, uint32_t in) {
  int dir = (in & kDown) ? 1 : (in & kUp) ? -1 : 0;
  if (!dir) return false;
  int next = OptionsLook_Step(rows, count, cursor, dir);
  if (next != cursor) PlaySound(SND_SELECT);
  cursor = next;
  return true;
}

// A player's table: the capture, the cursor and the set under it.
struct PlayerTable {
  bool keys = true;
  int player = 0;
  int cursor = 0;    // a row: 0 the captions, then the controls, then "Return"
  int set = 0;       // keys: the column under the cursor
  bool quiet = false;
  BindingCapture capture;

  static constexpr int kFirstControlRow = 1;
  static constexpr int kReturnRow = kFirstControlRow + CTL_COUNT;
  static constexpr int kRowCount = kReturnRow + 1;
};

void beginWalk(PlayerTable& t) {
  int last = t.keys ? kKeySets * CTL_COUNT - 1 : CTL_COUNT - 1;
  Capture_Begin(t.capture, t.keys ? CAPTURE_KEY : CAPTURE_BUTTON, t.player, 0, last, true);
}

// The text a step leaves in the passing line.
void reportStep(OptionsEdit& e, const PlayerTable& t, const CaptureResult& r, uint32_t now) {
  if (r.step != STEP_BOUND && r.step != STEP_REFUSED) return;
  char what[32], line[128];
  if (t.keys) Binding_KeyText(r.taken, 0, what, sizeof what);
  else Binding_ButtonText(r.taken, what, sizeof what);
  BindReport_Message(r.report, t.player, what, line, sizeof line);
  if (line[0]) say(e, line, now);
}

void captureFrame(OptionsEdit& e, PlayerTable& t, const ScreenFrame& f) {
  CaptureResult r = Capture_Frame(t.capture, e.bindings, Capture_ReadDevices(f.input & MENU_ESCAPE));
  if (r.step == STEP_BOUND) PlaySound(SND_SWITCH);
  if (r.step == STEP_SKIPPED) PlaySound(SND_SELECT);
  reportStep(e, t, r, f.nowMs);
  if (!t.capture.active) {
    t.quiet = true;
    return;
  }
  int control = t.keys ? t.capture.input % CTL_COUNT : t.capture.input;
  t.cursor = PlayerTable::kFirstControlRow + control;
  if (t.keys) t.set = t.capture.input / CTL_COUNT;
}

// The menu input on a table; non-zero to leave it.
int tableInput(PlayerTable& t, const OptionsRow* rows, uint32_t in) {
  if (in & kBack) return 1;
  if (moveCursor(rows, PlayerTable::kRowCount, t.cursor, in)) return 0;
  bool onControl = t.cursor >= PlayerTable::kFirstControlRow && t.cursor < PlayerTable::kReturnRow;
  if ((in & kSide) && t.keys && onControl) {
    // Left is Set 1, Right Set 2: a held key that repeats stays where it went
    int set = (in & kLeft) ? 0 : 1;
    if (set != t.set) PlaySound(SND_SELECT);
    t.set = set;
    return 0;
  }
  if (!(in & kChoose)) return 0;
  if (!onControl) return 1;
  PlaySound(SND_START);
  int control = t.cursor - PlayerTable::kFirstControlRow;
  int input = t.keys ? t.set * CTL_COUNT + control : control;
  // one key alone: TAB is bound like any key; a button: TAB still skips
  Capture_Begin(t.capture, t.keys ? CAPTURE_KEY : CAPTURE_BUTTON, t.player, input, input, !t.keys);
  return 0;
}

// Both keys of a control in one cell ("W  X"), "n/a" when it has none.
void keysText(const InputBinding& b, char* out, size_t size) {
  char first[24], second[24];
  Binding_KeyText(b, 0, first, sizeof first);
  Binding_KeyText(b, 1, second, sizeof second);
  if (Binding_Key(b, 0) && Binding_Key(b, 1)) snprintf(out, size, "%s  %s", first, second);
  else snprintf(out, size, "%s", Binding_Key(b, 1) ? second : first);
}

// The rows of a table as they stand; returns their count.
int tableRows(const OptionsEdit& e, const PlayerTable& t, uint32_t elapsedMs, OptionsRow* rows) {
  int n = 0;
  rows[n].heading = true;
  snprintf(rows[n].value2, kOptionsValueSize, t.keys ? "(Set 1/2)" : "Keys");
  snprintf(rows[n].value, kOptionsValueSize, t.keys ? "(Set 2/2)" : "Button");
  n++;
  // the cell under the cursor stands out, and blinks while it waits for its key
  bool blinkOn = (elapsedMs / kBlinkMs) % 2 == 0;
  uint32_t mark = t.capture.active && blinkOn ? kWaitColour : kCellColour;
  for (int c = 0; c < CTL_COUNT; c++, n++) {
    const InputBinding& b = TableBinding(e.bindings, t.player, c);
    OptionsRow& r = rows[n];
    r.label = Control_Label(c);
    bool here = n == t.cursor;
    if (t.keys) {
      Binding_KeyText(b, 0, r.value2, kOptionsValueSize);
      Binding_KeyText(b, 1, r.value, kOptionsValueSize);
      if (here) (t.set == 0 ? r.value2Colour : r.valueColour) = mark;
    } else {
      // the keys beside the button, greyed, tell the controls apart at a glance
      keysText(b, r.value2, kOptionsValueSize);
      r.value2Colour = kKeysColour;
      Binding_ButtonText(b, r.value, kOptionsValueSize);
      if (here) r.valueColour = mark;
    }
  }
  rows[n++].label = "Return";
  return n;
}

void drawTable(const OptionsEdit& e, const PlayerTable& t, const ScreenFrame& f) {
  OptionsRow rows[kOptionsMaxRows];
  int n = tableRows(e, t, f.elapsedMs, rows);
  char heading[48];
  snprintf(heading, sizeof heading, t.keys ? "Define Player %d Keys" : "Define Player %d Controls", t.player + 1);
  const char* prompt = nullptr;
  if (t.capture.active) prompt = !t.keys ? kButtonPrompt : t.capture.tabSkips ? kWalkPrompt : kOneKeyPrompt;
  const char* notes[1] = {kNote};
  OptionsLook_DrawPage(heading, rows, n, t.cursor, notes, 1, prompt, passingLine(e, f.nowMs));
}

// A player's table, from the walk through every control until backed out of.
void playerTable(OptionsEdit& e, bool keys, int player) {
  PlayerTable t;
  t.keys = keys;
  t.player = player;
  t.cursor = PlayerTable::kFirstControlRow;
  beginWalk(t);
  Screen_Run(OptionsLook_Setup(), [&](ScreenFrame& f) {
    int result = 0;
    if (t.capture.active) {
      captureFrame(e, t, f);
    } else if (t.quiet) {
      // the key just bound (or Escape) is still down: it is no menu input
      CaptureRead now = Capture_ReadDevices(false);
      t.quiet = now.key || now.button;
    } else {
      OptionsRow rows[kOptionsMaxRows];
      tableRows(e, t, f.elapsedMs, rows);
      result = tableInput(t, rows, f.input);
      if (result) PlaySound(SND_SWITCH);
    }
    drawTable(e, t, f);
    return result;
  });
  e.message = nullptr;   // what happened on the table belongs to it
}

void resetTable(OptionsEdit& e, bool keys, uint32_t now) {
  if (keys) {
    Bindings_ResetKeys(e.bindings);
    say(e, "Keys reset to default", now);
    return;
  }
  int restored = Bindings_ResetButtons(e.bindings);
  char line[96];
  if (restored == 3) snprintf(line, sizeof line, "Buttons cleared; both players' keys reset to default too");
  else if (restored) snprintf(line, sizeof line, "Buttons cleared; Player %d's keys reset to default too", restored);
  else snprintf(line, sizeof line, "Buttons cleared");
  say(e, line, now);
}

// The first page of both: the two players, "Reset to Default", "Return".
int bindingsPage(OptionsEdit& e, bool keys) {
  InputBinding before[kBindingCount];
  memcpy(before, e.bindings, sizeof before);
  OptionsRow rows[4];
  rows[0].label = keys ? "Define Player 1 Keys" : "Define Player 1 Controls";
  rows[1].label = keys ? "Define Player 2 Keys" : "Define Player 2 Controls";
  rows[2].label = "Reset to Default";
  rows[3].label = "Return";
  int cursor = 0;
  Screen_Run(OptionsLook_Setup(), [&](ScreenFrame& f) {
    uint32_t in = f.input;
    int result = 0;
    if (in & kBack) {
      result = 1;
    } else if (!moveCursor(rows, 4, cursor, in) && (in & kChoose)) {
      if (cursor < 2) {
        PlaySound(SND_START);
        playerTable(e, keys, cursor);
      } else if (cursor == 2) {
        PlaySound(SND_SWITCH);
        resetTable(e, keys, f.nowMs);
      } else {
        result = 1;
      }
    }
    if (result) PlaySound(SND_SWITCH);
    const char* notes[1] = {kNote};
    OptionsLook_DrawPage(keys ? "Keyboard Configuration" : "Gamepad Configuration", rows, 4, cursor, notes, 1,
                         nullptr, passingLine(e, f.nowMs));
    return result;
  });
  return memcmp(before, e.bindings, sizeof before) != 0;
}
}  // namespace

int OptionsPage_Keyboard(OptionsEdit& e) { return bindingsPage(e, true); }
int OptionsPage_Gamepad(OptionsEdit& e) { return bindingsPage(e, false); }
