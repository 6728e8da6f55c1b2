// The per-controller offsets in the play: the input offset moves a press's time
// for the judgement, the visual offset moves the arrows and nothing else.
#include "library/settings.h"
#include "library/tarvolen_ini.h"
#include "media/input/input.h"
#include "media/input_script.h"
#include "media/render/screen.h"
#include "media/skin/skin_images.h"
#include "chart/timing.h"
#include "play/judgement.h"
#include "play/note_field.h"
#include "play/press_device.h"
#include "platform/files.h"
#include "support/test_support.h"
#include <gtest/gtest.h>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <sndfile.h>
#include <sys/wait.h>

namespace {
void hold(std::vector<ScriptEvent> ev) {
  InputScript_Set(ev);
  Input_Poll();
}
}  // namespace

TEST(PressDevice, APressIsPutOnTheControllerThatMadeItAndTakesItsOffsets) {
  ASSERT_EQ(Keyboard_Init(22, true), 0);
  Joystick_Init();
  Bindings_Defaults();
  TarvolenIni_LoadText("offset.keyboard.input = 12\noffset.keyboard.visual = -30\n");
  Binding(0, CTL_LEFT).joystick = 0;
  Binding(0, CTL_LEFT).button = 2;

  hold({ScriptEvent{0, 0, 1, 0, 30}});  // A: player 1's Left key
  EXPECT_EQ(PressDevice_OfColumn(0, 4, 0), kKeyboardDevice);
  EXPECT_EQ(PressDevice_InputOffsetMs(kKeyboardDevice), 12);
  EXPECT_EQ(PressDevice_VisualOffsetMs(kKeyboardDevice), -30);
  hold({ScriptEvent{0, 1, 1, 0, 2}});   // the same column from joystick 1, button 2
  EXPECT_EQ(PressDevice_OfColumn(0, 4, 0), 0);
  // a scripted joystick has no name: no offsets of its own
  EXPECT_EQ(PressDevice_InputOffsetMs(0), 0);
  // the right pad of DOUBLE reads player 2's bindings (Left: the left arrow key)
  hold({ScriptEvent{0, 0, 1, 0, 203}});
  EXPECT_EQ(PressDevice_OfColumn(0, 8, COL_RIGHT_PAD), kKeyboardDevice);
  // before any press the field shows the keyboard's offset unless the player's
  // Left is on a joystick that is plugged in
  EXPECT_EQ(PressDevice_OfPlayer(0), kKeyboardDevice);

  InputScript_Clear();
  Bindings_Defaults();
  TarvolenIni_LoadText("");
}

namespace {
void solid(Image& img, int w, int h, uint32_t rgb) {
  img.Create(w, h, IMAGE_RGB);
  for (int i = 0; i < w * h; i++) img.pixels[i] = 0xFF000000u | rgb;
}

// The first screen row of column x that the arrow covers.
int arrowTop(int x) {
  for (int y = 0; y < 480; y++)
    if ((Screen_Pixel(x, y) & 0xFFFFFF) != 0) return y;
  return -1;
}
}  // namespace

TEST(NoteFieldOffset, TheVisualOffsetMovesTheArrowsByItsTimeAtTheTempo) {
  Settings_Defaults(g_settings);
  g_settings.showBeat = 0;
  Player& p = g_players[0];
  memset(&p, 0, sizeof p);
  p.active = 1;
  Player_SetStyle(p, "SINGLE", 4, true);
  p.options.dark = 1;
  p.pixelsPerBeat = 64;
  p.pixelsPerMs = 0.2;   // 187.5 BPM
  g_arrowSet = 3;
  for (Image& a : g_arrows) solid(a, 64, 64, 0x3366FF);
  Arrow a{};
  a.kind = ARROW_TAP;
  a.startPos = a.endPos = 16;
  a.tapeY = 64 * 4 + kReceptorY;
  a.x = NoteField_ColumnX(p, 0);
  a.status = NOTE_PENDING;
  a.chordNext = a.freezeLink = -1;
  a.image = &g_arrows[0];
  p.arrows = &a;
  p.arrowCount = 1;
  NoteFieldState field;
  NoteField_Reset(field);
  ScrollState scroll{};
  scroll.chartPos = scroll.position = 8;

  auto topWith = [&](double offsetMs) {
    field.visualOffsetMs[0] = offsetMs;
    p.firstVisible = 0;
    Screen_Clear(0, 0, 0);
    NoteField_Draw(field, p, 0, scroll, 1000);
    return arrowTop(a.x + 32);
  };
  int plain = topWith(0);
  EXPECT_EQ(plain, kReceptorY + 128);
  EXPECT_EQ(topWith(50), plain - 10);    // drawn as 50 ms later: 10 pixels further up
  EXPECT_EQ(topWith(-100), plain + 20);
  EXPECT_EQ(a.status, NOTE_PENDING);     // drawing judges nothing
  p.arrows = nullptr;
  p.arrowCount = 0;
  FreeImages();
}

// A whole play of the real game: presses that arrive 100 ms late from the
// keyboard, with the keyboard's input offset at 100, are judged on time.
namespace {
void writeTone(const char* path, int seconds) {
  SF_INFO info{};
  info.samplerate = 22050;
  info.channels = 1;
  info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
  SNDFILE* f = sf_open(path, SFM_WRITE, &info);
  std::vector<short> s(22050 * (size_t)seconds);
  for (size_t i = 0; i < s.size(); i++) s[i] = (short)(800 * std::sin(i * 2 * M_PI * 440 / 22050));
  sf_write_short(f, s.data(), (sf_count_t)s.size());
  sf_close(f);
}

double field(const std::string& line, const std::string& key) {
  size_t p = line.find("\"" + key + "\":");
  if (p == std::string::npos) return NAN;
  return std::atof(line.c_str() + p + key.size() + 3);
}
}  // namespace

TEST(DeviceOffsetPlay, LatePressesWithTheInputOffsetAreJudgedOnTime) {
  TempDir dir;
  Dir_Create("Songs/Tests/Tone");
  // 4 s of rest (the pre-roll starts 3.5 s before the first step), then 4 steps
  WriteFile("Songs/Tests/Tone/tone.rkv",
            "#TITLE:Test Tone;\n#ARTIST:Tarvolen tests;\n#BPM:120;\n#GAP:0;\n"
            "#SINGLE:BASIC:3:\n0000000000000000 2486;\n");
  writeTone("Songs/Tests/Tone/tone.wav", 5);
  Settings s;
  Settings_Defaults(s);
  s.autoPlay = 1;  // off
  WriteFile("rkv2.cfg", std::string((const char*)&s, sizeof s));
  WriteFile("tarvolen.ini", "# the keyboard here is slow\noffset.keyboard.input = 100\n");
  const int keys[4] = {31, 30, 17, 32};  // S A W D: the chart's 2 4 8 6
  std::string script;
  for (int k = 0; k < 4; k++) {
    int t = 4000 + 250 * k + 100;
    script += "play " + std::to_string(t) + " down " + std::to_string(keys[k % 4]) + "\n";
    script += "play " + std::to_string(t + 60) + " up " + std::to_string(keys[k % 4]) + "\n";
  }
  WriteFile("in.txt", script);
  std::string cmd = std::string("SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy timeout 60 '") + TV_GAME_EXE +
                    "' /log /results:r.json /test:Songs/Tests/Tone/tone.rkv /input:in.txt > out.txt 2>&1";
  int rc = std::system(cmd.c_str());
  ASSERT_TRUE(WIFEXITED(rc) && WEXITSTATUS(rc) == 0) << ReadFile("out.txt");
  auto r = SplitLines(ReadFile("r.json"));
  ASSERT_EQ(r.size(), 1u) << ReadFile("rkv2.log");
  EXPECT_EQ(field(r[0], "presses"), 4);
  EXPECT_EQ(field(r[0], "perfect"), 4);
  EXPECT_NEAR(field(r[0], "offsetMeanMs"), 0, 15);
  // the file is read, not rewritten, by a test play
  EXPECT_EQ(ReadFile("tarvolen.ini"), "# the keyboard here is slow\noffset.keyboard.input = 100\n");
}
