// "tarvolen.ini": what the player wrote survives our writes, bad lines and values
// never cost a setting, and the per-controller offsets are found by name.
#include "library/device_offsets.h"
#include "library/joystick_names.h"
#include "library/settings.h"
#include "media/input/joystick_hotplug.h"
#include "library/tarvolen_ini.h"
#include "platform/files.h"
#include "platform/log.h"
#include "support/test_support.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {
std::vector<std::string> g_lines;
void listen(const char* line) { g_lines.push_back(line); }

struct LogLines {
  LogLines() {
    g_lines.clear();
    Log_SetListener(listen);
  }
  ~LogLines() { Log_SetListener(nullptr); }
  bool has(const std::string& part) const {
    for (const std::string& l : g_lines)
      if (l.find(part) != std::string::npos) return true;
    return false;
  }
};
}  // namespace

TEST(TarvolenIni, RoundTripKeepsCommentsUnknownKeysAndOrder) {
  TempDir dir;
  const std::string text =
      "# my settings\n"
      "\n"
      "future.key = something = with equals\n"
      "offset.keyboard.input = 5\r\n"
      "   # indented comment\n"
      "offset.keyboard.visual=-3\n";
  WriteFile("tarvolen.ini", text);
  ASSERT_TRUE(TarvolenIni_Load());
  std::string v;
  ASSERT_TRUE(TarvolenIni_GetString("future.key", v));
  EXPECT_EQ(v, "something = with equals");
  EXPECT_EQ(DeviceOffsets_Input(nullptr), 5);
  EXPECT_EQ(DeviceOffsets_Visual(""), -3);

  // nothing set: the file is not touched
  ASSERT_TRUE(TarvolenIni_Save());
  EXPECT_EQ(ReadFile("tarvolen.ini"), text);

  // one value changes in its place, a new key comes last
  ASSERT_TRUE(DeviceOffsets_SetInput(nullptr, 12));
  ASSERT_TRUE(DeviceOffsets_SetVisual("Dance Mat = 2", 7));
  std::string expect =
      "# my settings\n"
      "\n"
      "future.key = something = with equals\n"
      "offset.keyboard.input = 12\n"
      "   # indented comment\n"
      "offset.keyboard.visual=-3\n"
      "offset.joy.Dance%20Mat%20%3D%202.visual = 7\n";
  EXPECT_EQ(ReadFile("tarvolen.ini"), expect);

  // and reads back the same
  ASSERT_TRUE(TarvolenIni_Load());
  EXPECT_EQ(DeviceOffsets_Input(nullptr), 12);
  EXPECT_EQ(DeviceOffsets_Visual("Dance Mat = 2"), 7);
  EXPECT_EQ(DeviceOffsets_Visual("Dance Mat"), 0);  // another controller
  EXPECT_EQ(TarvolenIni_Text(), expect);
}

TEST(TarvolenIni, BadLinesAreLoggedKeptAndCostNothing) {
  TempDir dir;
  std::string junk = std::string("no equals sign here\n= value without key\nbin\0ary = 3\n", 48);
  WriteFile("tarvolen.ini", junk + "offset.keyboard.input = 9\noffset.keyboard.input = 11\n");
  LogLines log;
  ASSERT_TRUE(TarvolenIni_Load());
  EXPECT_TRUE(log.has("tarvolen.ini line 1 is not 'key = value'"));
  EXPECT_TRUE(log.has("tarvolen.ini line 2 is not 'key = value'"));
  EXPECT_TRUE(log.has("tarvolen.ini line 3 is not 'key = value'"));
  EXPECT_EQ(DeviceOffsets_Input(nullptr), 11);  // the later line wins
  ASSERT_TRUE(DeviceOffsets_SetInput(nullptr, -4));
  EXPECT_EQ(ReadFile("tarvolen.ini"), junk + "offset.keyboard.input = 9\noffset.keyboard.input = -4\n");
}

TEST(TarvolenIni, ValuesOutOfRangeAreClampedAndNonNumbersKeepTheDefault) {
  TarvolenIni_LoadText(
      "offset.keyboard.input = 250\n"
      "offset.keyboard.visual = -99999999999999999999\n"
      "offset.joy.Pad.input = twelve\n"
      "offset.joy.Pad.visual = 12ms\n");
  LogLines log;
  EXPECT_EQ(DeviceOffsets_Input(nullptr), 100);
  EXPECT_TRUE(log.has("'offset.keyboard.input = 250' is outside -100..100; 100 is used"));
  EXPECT_EQ(DeviceOffsets_Visual(nullptr), -100);
  EXPECT_EQ(DeviceOffsets_Input("Pad"), 0);
  EXPECT_TRUE(log.has("'offset.joy.Pad.input = twelve' is not a number"));
  EXPECT_EQ(DeviceOffsets_Visual("Pad"), 0);
  // reported once, not on every press
  size_t n = g_lines.size();
  for (int i = 0; i < 10; i++) DeviceOffsets_Input(nullptr);
  EXPECT_EQ(g_lines.size(), n);
  // setters clamp too
  EXPECT_TRUE(TarvolenIni_SetInt("x", 1));
  DeviceOffsets_SetInput("Pad", -500);
  EXPECT_EQ(DeviceOffsets_Input("Pad"), -100);
}

TEST(TarvolenIni, KeysThatCannotBeStoredAreRefused) {
  TarvolenIni_LoadText("");
  EXPECT_FALSE(TarvolenIni_SetString("", "1"));
  EXPECT_FALSE(TarvolenIni_SetString("a=b", "1"));
  EXPECT_FALSE(TarvolenIni_SetString("#a", "1"));
  EXPECT_FALSE(TarvolenIni_SetString("a", "two\nlines"));
  EXPECT_EQ(TarvolenIni_Text(), "");
  EXPECT_TRUE(TarvolenIni_SetString(" joy.0.name ", " Mat "));
  EXPECT_TRUE(TarvolenIni_Remove("joy.0.name"));
  EXPECT_FALSE(TarvolenIni_Remove("joy.0.name"));
  EXPECT_EQ(TarvolenIni_Text(), "");
}

TEST(TarvolenIni, MissingOrUnreadableFilesKeepDefaults) {
  TempDir dir;
  EXPECT_TRUE(TarvolenIni_Load());  // missing: empty
  EXPECT_EQ(DeviceOffsets_Input("Pad"), 0);
  // a folder in place of the file cannot be read and is never written over
  ASSERT_TRUE(Dir_Create("tarvolen.ini"));
  LogLines log;
  EXPECT_FALSE(TarvolenIni_Load());
  EXPECT_TRUE(log.has("Unable to read tarvolen.ini"));
  EXPECT_EQ(DeviceOffsets_Input(nullptr), 0);
  EXPECT_FALSE(DeviceOffsets_SetInput(nullptr, 3));
}

namespace {
std::string noNodes() { return ""; }
void noReopen(std::vector<std::string>& names) { names.clear(); }
const JoystickSystem kQuiet = {noNodes, noReopen};
}  // namespace

// The bound joysticks' names are written with the bindings, and a start-up with
// the mat under another number gives it its bindings back.
TEST(JoystickNames, StoredWithTheBindingsAndMatchedAtStartUp) {
  TempDir dir;
  JoystickHotplug_SetSystem(&kQuiet);
  Bindings_Defaults();
  WriteFile("tarvolen.ini", "offset.joy.Mat.input = 8\njoy.0.name = Mat\njoy.5.name = Unbound Pad\n");
  ASSERT_TRUE(TarvolenIni_Load());
  Binding(0, CTL_LEFT).joystick = 0;
  Binding(0, CTL_LEFT).button = 1;
  JoystickHotplug_Begin(0, {"Pad", "Mat"});   // the mat is joystick 1 this time
  JoystickNames_Load();
  EXPECT_EQ(Binding(0, CTL_LEFT).joystick, 1);
  EXPECT_EQ(Binding(0, CTL_LEFT).button, 1);

  ASSERT_TRUE(saveSettings());
  EXPECT_EQ(File_Size("rkv2.inp"), 320);   // the same fixed table, the number moved
  EXPECT_EQ(ReadFile("tarvolen.ini"), "offset.joy.Mat.input = 8\njoy.1.name = Mat\n");

  // nothing plugged in: the binding waits under its number, and keeps its name
  Bindings_Defaults();
  ASSERT_TRUE(loadSettings());
  ASSERT_TRUE(TarvolenIni_Load());
  JoystickHotplug_Begin(0, {});
  JoystickNames_Load();
  EXPECT_EQ(Binding(0, CTL_LEFT).joystick, 1);
  ASSERT_TRUE(saveSettings());
  EXPECT_EQ(ReadFile("tarvolen.ini"), "offset.joy.Mat.input = 8\njoy.1.name = Mat\n");

  JoystickHotplug_SetSystem(nullptr);
  JoystickHotplug_Begin(0, {});
  Bindings_Defaults();
  TarvolenIni_LoadText("");
}

// A carriage return inside a line (not the one before its line break) is a value
// no setter would store and no joystick has in its name: the line is a bad one,
// kept as it is, and the name stays unset.
TEST(TarvolenIni, ALoneCarriageReturnMakesABadLine) {
  LogLines log;
  TarvolenIni_LoadText("joy.3.name = Pad\r77\noffset.keyboard.input = 7\r\n", "/nonexistent/tarvolen.ini");
  EXPECT_TRUE(log.has("tarvolen.ini line 1 is not 'key = value'"));
  std::string name;
  EXPECT_FALSE(TarvolenIni_GetString("joy.3.name", name));
  EXPECT_EQ(DeviceOffsets_Input(nullptr), 7);   // a line break of "\r\n" is no bad line
  EXPECT_EQ(TarvolenIni_Text(), "joy.3.name = Pad\r77\noffset.keyboard.input = 7\n");

  // carriage returns before a break all go: the line reads the same before and
  // after it is written back (a bad line would turn good, and win over another)
  TarvolenIni_LoadText("joy.2.name = Mat\njoy.2.name = Pad\r\r\n", "/nonexistent/tarvolen.ini");
  ASSERT_TRUE(TarvolenIni_GetString("joy.2.name", name));
  EXPECT_EQ(name, "Pad");
  TarvolenIni_LoadText(TarvolenIni_Text(), "/nonexistent/tarvolen.ini");
  ASSERT_TRUE(TarvolenIni_GetString("joy.2.name", name));
  EXPECT_EQ(name, "Pad");
}
