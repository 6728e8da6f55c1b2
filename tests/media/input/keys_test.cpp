#include "media/input/input.h"
#include "media/input_script.h"
#include <SDL.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {
void holdKeys(const std::vector<uint8_t>& codes) {
  std::vector<ScriptEvent> ev;
  for (uint8_t c : codes) ev.push_back(ScriptEvent{0, 0, 1, 0, c});
  InputScript_Set(ev);
}

std::string name(int code, int* result = nullptr) {
  char buf[32];
  int r = KeyName(code, buf, sizeof buf);
  if (result) *result = r;
  return buf;
}

struct KeyTest : ::testing::Test {
  void SetUp() override { ASSERT_EQ(Keyboard_Init(22, true), 0); }
  void TearDown() override {
    InputScript_Clear();
    Keyboard_Poll();
    Keyboard_Shutdown();
  }
};
}  // namespace

TEST(KeyMap, EveryListedKeyGoesToItsDikCode) {
  const std::pair<int, int> map[] = {
      {SDLK_ESCAPE, 1},     {SDLK_1, 2},          {SDLK_2, 3},         {SDLK_3, 4},          {SDLK_4, 5},
      {SDLK_5, 6},          {SDLK_6, 7},          {SDLK_7, 8},         {SDLK_8, 9},          {SDLK_9, 10},
      {SDLK_0, 11},         {SDLK_MINUS, 12},     {SDLK_EQUALS, 13},   {SDLK_BACKSPACE, 14}, {SDLK_TAB, 15},
      {SDLK_q, 16},         {SDLK_w, 17},         {SDLK_e, 18},        {SDLK_r, 19},         {SDLK_t, 20},
      {SDLK_y, 21},         {SDLK_u, 22},         {SDLK_i, 23},        {SDLK_o, 24},         {SDLK_p, 25},
      {SDLK_LEFTBRACKET, 26}, {SDLK_RIGHTBRACKET, 27}, {SDLK_RETURN, 28}, {SDLK_a, 30},     {SDLK_s, 31},
      {SDLK_d, 32},         {SDLK_f, 33},         {SDLK_g, 34},        {SDLK_h, 35},         {SDLK_j, 36},
      {SDLK_k, 37},         {SDLK_l, 38},         {SDLK_SEMICOLON, 39}, {SDLK_QUOTE, 40},    {SDLK_BACKQUOTE, 41},
      {SDLK_BACKSLASH, 43}, {SDLK_z, 44},         {SDLK_x, 45},        {SDLK_c, 46},         {SDLK_v, 47},
      {SDLK_b, 48},         {SDLK_n, 49},         {SDLK_m, 50},        {SDLK_COMMA, 51},     {SDLK_PERIOD, 52},
      {SDLK_SLASH, 53},     {SDLK_KP_MULTIPLY, 55}, {SDLK_SPACE, 57},  {SDLK_F1, 59},        {SDLK_F2, 60},
      {SDLK_F3, 61},        {SDLK_F4, 62},        {SDLK_F5, 63},       {SDLK_F6, 64},        {SDLK_F7, 65},
      {SDLK_F8, 66},        {SDLK_F9, 67},        {SDLK_F10, 68},      {SDLK_KP7, 71},       {SDLK_KP8, 72},
      {SDLK_KP9, 73},       {SDLK_KP_MINUS, 74},  {SDLK_KP4, 75},      {SDLK_KP5, 76},       {SDLK_KP6, 77},
      {SDLK_KP_PLUS, 78},   {SDLK_KP1, 79},       {SDLK_KP2, 80},      {SDLK_KP3, 81},       {SDLK_KP0, 82},
      {SDLK_KP_PERIOD, 83}, {SDLK_F11, 87},       {SDLK_F12, 88},      {SDLK_KP_ENTER, 156}, {SDLK_KP_DIVIDE, 181},
      {SDLK_PAUSE, 197},    {SDLK_HOME, 199},     {SDLK_UP, 200},      {SDLK_PAGEUP, 201},   {SDLK_LEFT, 203},
      {SDLK_RIGHT, 205},    {SDLK_END, 207},      {SDLK_DOWN, 208},    {SDLK_PAGEDOWN, 209}, {SDLK_INSERT, 210},
      {SDLK_DELETE, 211},
  };
  for (auto [sym, code] : map) EXPECT_EQ(Keyboard_ScanCodeForSym(sym), code) << "symbol " << sym;
}

TEST(KeyMap, ShiftedSymbolsShareTheirKeyAndOthersAreIgnored) {
  EXPECT_EQ(Keyboard_ScanCodeForSym(SDLK_LEFTPAREN), 26);  // ( with [
  EXPECT_EQ(Keyboard_ScanCodeForSym(SDLK_COLON), 39);      // : with ;
  EXPECT_EQ(Keyboard_ScanCodeForSym(SDLK_EXCLAIM), 2);
  EXPECT_EQ(Keyboard_ScanCodeForSym(SDLK_AT), 3);
  EXPECT_EQ(Keyboard_ScanCodeForSym(SDLK_QUOTEDBL), 40);
  EXPECT_EQ(Keyboard_ScanCodeForSym(SDLK_LESS), 51);
  EXPECT_EQ(Keyboard_ScanCodeForSym(SDLK_QUESTION), 53);
  EXPECT_EQ(Keyboard_ScanCodeForSym(SDLK_UNDERSCORE), 12);
  EXPECT_EQ(Keyboard_ScanCodeForSym(SDLK_PLUS), 13);
  EXPECT_EQ(Keyboard_ScanCodeForSym(SDLK_LSHIFT), 0);
  EXPECT_EQ(Keyboard_ScanCodeForSym(SDLK_WORLD_5), 0);
  EXPECT_EQ(Keyboard_ScanCodeForSym(SDLK_F13), 0);
  EXPECT_EQ(Keyboard_ScanCodeForSym(-1), 0);
  EXPECT_EQ(Keyboard_ScanCodeForSym(100000), 0);
}

TEST(KeyNames, EveryNamedKeyAndTheRest) {
  const std::pair<int, const char*> names[] = {
      {1, "[esc]"},   {2, "1"},       {10, "9"},        {11, "0"},        {12, "-"},         {13, "="},
      {14, "(back)"}, {15, "(tab)"},  {16, "Q"},        {25, "P"},        {26, "["},         {27, "]"},
      {28, "(ret.)"}, {30, "A"},      {38, "L"},        {39, ";"},        {40, "'"},         {41, "`"},
      {43, "\\"},     {44, "Z"},      {50, "M"},        {51, ","},        {52, "."},         {53, "/"},
      {55, "(N.*)"},  {57, "(space)"}, {71, "(N.7)"},   {72, "(N.8)"},    {73, "(N.9)"},     {74, "(N.-)"},
      {75, "(N.4)"},  {76, "(N.5)"},  {77, "(N.6)"},    {78, "(N.+)"},    {79, "(N.1)"},     {80, "(N.2)"},
      {81, "(N.3)"},  {82, "(N.0)"},  {83, "(N.dec)"},  {156, "(N.enter)"}, {181, "(N./)"},  {199, "(home)"},
      {200, "(up)"},  {201, "(pg.up)"}, {203, "(left)"}, {205, "(right)"}, {207, "(end)"},   {208, "(down)"},
      {209, "(pg.down)"}, {210, "(ins)"}, {211, "(del)"},
  };
  for (auto [code, text] : names) {
    int r = 0;
    EXPECT_EQ(name(code, &r), text) << code;
    EXPECT_EQ(r, 1);
  }
  const std::pair<int, const char*> unnamed[] = {{0, "( 0)"}, {29, "(1d)"}, {42, "(2a)"}, {54, "(36)"},
                                                 {59, "(3b)"}, {202, "(ca)"}, {255, "(ff)"}};
  for (auto [code, text] : unnamed) {
    int r = 1;
    EXPECT_EQ(name(code, &r), text);
    EXPECT_EQ(r, 0);
  }
  char tiny[3];
  KeyName(209, tiny, sizeof tiny);  // cut, never overrun
  EXPECT_STREQ(tiny, "(p");
}

TEST(KeyExclusions, TheKeysThatCanNeverBeBound) {
  for (int c = 59; c <= 68; c++) EXPECT_TRUE(Keyboard_IsExcluded(c));
  for (int c : {42, 54, 56, 58, 69, 70, 87, 88, 100, 157, 184, 197, 219, 220, 255}) EXPECT_TRUE(Keyboard_IsExcluded(c)) << c;
  for (int c : {1, 2, 28, 29, 30, 57, 71, 83, 86, 156, 198, 199, 200, 211, 218}) EXPECT_FALSE(Keyboard_IsExcluded(c)) << c;
}

TEST(KeyboardInit, CooperationFlags) {
  EXPECT_EQ(Keyboard_Init(22, true), 0);  // non-exclusive, foreground, no Windows key
  EXPECT_EQ(Keyboard_Init(6, true), 0);
  EXPECT_EQ(Keyboard_Init(5, true), 0);   // exclusive foreground
  EXPECT_EQ(Keyboard_Init(10, true), 0);  // non-exclusive background
  EXPECT_EQ(Keyboard_Init(0, true), kKeyboardInitRefused);
  EXPECT_EQ(Keyboard_Init(9, true), kKeyboardInitRefused);  // exclusive background
  EXPECT_EQ(Keyboard_Init(25, true), kKeyboardInitRefused);
  EXPECT_EQ(Keyboard_Init(4, true), kKeyboardInitRefused);  // no access mode
  EXPECT_EQ(Keyboard_Init(3, true), kKeyboardInitRefused);
  EXPECT_EQ(Keyboard_Init(14, true), kKeyboardInitRefused);
  Keyboard_Shutdown();
}

TEST_F(KeyTest, ScriptedKeysReachTheState) {
  holdKeys({30, 200});
  Keyboard_Poll();
  EXPECT_TRUE(Keyboard_IsDown(30));
  EXPECT_TRUE(Keyboard_IsDown(200));
  EXPECT_FALSE(Keyboard_IsDown(31));
  EXPECT_EQ(Keyboard_State()[200], 0x80);
  EXPECT_FALSE(Keyboard_IsDown(-1));
  EXPECT_FALSE(Keyboard_IsDown(256));
  InputScript_Clear();
  Keyboard_Poll();
  EXPECT_FALSE(Keyboard_IsDown(30));
}

TEST_F(KeyTest, CaptureSkipsExcludedKeysAndTakesTheLowest) {
  holdKeys({63});  // F5
  EXPECT_EQ(Keyboard_CaptureKey(), 0);
  holdKeys({63, 1});  // Escape can be bound
  EXPECT_EQ(Keyboard_CaptureKey(), 1);
  holdKeys({48, 42, 30});  // B, left Shift, A
  EXPECT_EQ(Keyboard_CaptureKey(), 30);
  holdKeys({156, 157});  // keypad Enter, right Ctrl
  EXPECT_EQ(Keyboard_CaptureKey(), 156);
  holdKeys({255});
  EXPECT_EQ(Keyboard_CaptureKey(), 0);
  InputScript_Clear();
  EXPECT_EQ(Keyboard_CaptureKey(), 0);
}
