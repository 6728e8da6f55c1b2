// The fixed key tables: SDL key symbols to DIK scan codes (US layout), the keys
// that can never be bound, and the keys' display names.
#include "media/input/input.h"
#include <array>
#include <cstdio>
#include <cstring>

namespace {
constexpr int kSymCount = 512;

consteval std::array<uint8_t, kSymCount> buildSymTable() {
  std::array<uint8_t, kSymCount> t{};
  // Every symbol goes to the key that carries it; shifted forms share their key.
  t[8] = 14;    // backspace
  t[9] = 15;    // tab
  t[13] = 28;   // return
  t[19] = 197;  // pause
  t[27] = 1;    // escape
  t[32] = 57;   // space
  t['!'] = 2, t['@'] = 3, t['#'] = 4, t['$'] = 5, t['%'] = 6, t['^'] = 7, t['&'] = 8, t['*'] = 9;
  t['1'] = 2, t['2'] = 3, t['3'] = 4, t['4'] = 5, t['5'] = 6, t['6'] = 7, t['7'] = 8, t['8'] = 9;
  t['9'] = 10, t['0'] = 11;
  t['-'] = 12, t['_'] = 12, t['='] = 13, t['+'] = 13;
  t['['] = 26, t['('] = 26, t['{'] = 26, t[']'] = 27, t[')'] = 27, t['}'] = 27;
  t[';'] = 39, t[':'] = 39, t['\''] = 40, t['"'] = 40, t['`'] = 41, t['~'] = 41;
  t['\\'] = 43, t['|'] = 43, t[','] = 51, t['<'] = 51, t['.'] = 52, t['>'] = 52, t['/'] = 53, t['?'] = 53;
  const char* rows[] = {"qwertyuiop", "asdfghjkl", "zxcvbnm"};
  const int starts[] = {16, 30, 44};
  for (int r = 0; r < 3; r++)
    for (int i = 0; rows[r][i]; i++) t[(unsigned char)rows[r][i]] = (uint8_t)(starts[r] + i);
  t[127] = 211;  // delete
  // Keypad: 0..9, period, divide, multiply, minus, plus, enter, equals.
  const uint8_t pad[] = {82, 79, 80, 81, 75, 76, 77, 71, 72, 73, 83, 181, 55, 74, 78, 156, 141};
  for (int i = 0; i < 17; i++) t[256 + i] = pad[i];
  // Up, down, right, left, insert, home, end, page up, page down.
  const uint8_t nav[] = {200, 208, 205, 203, 210, 199, 207, 201, 209};
  for (int i = 0; i < 9; i++) t[273 + i] = nav[i];
  for (int i = 0; i < 10; i++) t[282 + i] = (uint8_t)(59 + i);  // F1..F10
  t[292] = 87, t[293] = 88;                                      // F11, F12
  return t;
}

consteval std::array<uint8_t, 256> buildExclusions() {
  std::array<uint8_t, 256> t{};
  for (int c = 59; c <= 68; c++) t[c] = 1;  // F1..F10
  t[42] = t[54] = t[56] = t[58] = t[69] = t[70] = 1;
  for (int c = 87; c <= 197; c++) t[c] = c != 156;
  for (int c = 219; c <= 255; c++) t[c] = 1;
  return t;
}

constexpr std::array<uint8_t, kSymCount> kSymToCode = buildSymTable();
constexpr std::array<uint8_t, 256> kExcluded = buildExclusions();

const char* nameOf(int code) {
  static const char* const kRow1 = "QWERTYUIOP[]";
  static const char* const kRow2 = "ASDFGHJKL;'`";
  static const char* const kRow3 = "\\ZXCVBNM,./";
  static const char* const kDigits = "1234567890";
  static char one[2];
  auto ch = [](char c) {
    one[0] = c;
    one[1] = 0;
    return (const char*)one;
  };
  if (code == 1) return "[esc]";
  if (code >= 2 && code <= 11) return ch(kDigits[code - 2]);
  if (code == 12) return "-";
  if (code == 13) return "=";
  if (code == 14) return "(back)";
  if (code == 15) return "(tab)";
  if (code >= 16 && code <= 27) return ch(kRow1[code - 16]);
  if (code == 28) return "(ret.)";
  if (code >= 30 && code <= 41) return ch(kRow2[code - 30]);
  if (code >= 43 && code <= 53) return ch(kRow3[code - 43]);
  if (code == 55) return "(N.*)";
  if (code == 57) return "(space)";
  static const char* const kPad[] = {"(N.7)", "(N.8)", "(N.9)", "(N.-)", "(N.4)", "(N.5)", "(N.6)",
                                     "(N.+)", "(N.1)", "(N.2)", "(N.3)", "(N.0)", "(N.dec)"};
  if (code >= 71 && code <= 83) return kPad[code - 71];
  if (code == 156) return "(N.enter)";
  if (code == 181) return "(N./)";
  if (code == 199) return "(home)";
  if (code == 200) return "(up)";
  if (code == 201) return "(pg.up)";
  if (code == 203) return "(left)";
  if (code == 205) return "(right)";
  static const char* const kNav[] = {"(end)", "(down)", "(pg.down)", "(ins)", "(del)"};
  if (code >= 207 && code <= 211) return kNav[code - 207];
  return nullptr;
}
}  // namespace

int Keyboard_ScanCodeForSym(int sym) { return sym >= 0 && sym < kSymCount ? kSymToCode[sym] : 0; }

bool Keyboard_IsExcluded(int code) { return code >= 0 && code < 256 && kExcluded[code]; }

int KeyName(int code, char* out, size_t size) {
  if (!out || size == 0) return 0;
  const char* name = nameOf(code);
  if (name) {
    snprintf(out, size, "%s", name);
    return 1;
  }
  snprintf(out, size, "(%2x)", (unsigned)code);
  return 0;
}
