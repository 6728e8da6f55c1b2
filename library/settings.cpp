#include "library/settings.h"
#include "library/joystick_names.h"
#include "library/tarvolen_ini.h"
#include "platform/log.h"
#include "media/input_binding.h"
#include "platform/files.h"
#include <cstdio>
#include <cstring>
#include <vector>

Settings g_settings;
uint8_t g_storedSortBy = 1;
InputBinding g_functionKeys[kFunctionKeyCount];

namespace {
const char* const kSettingsFile = "rkv2.cfg";
const char* const kBindingsFile = "rkv2.inp";

const int32_t kDefaultKeys[kBindingCount] = {
    17, 31, 30, 32, 16, 18, 15, 57,          // W S A D Q E Tab Space
    200, 208, 203, 205, 199, 201, 210, 28};  // arrows, Home, PgUp, Insert, Enter
const int32_t kFunctionKeyCodes[kFunctionKeyCount] = {59, 60, 61, 62, 63, 64, 65, 66, 67, 68, 87, 88, 197, 0};

InputBinding keyBinding(int32_t key) {
  InputBinding b{};
  b.key1 = key;
  b.joystick = -1;
  b.button = -1;
  return b;
}

// A switch stored as anything but 0 counts as on.
void flag(uint8_t& v) {
  if (v > 1) v = 1;
}

void name(char (&field)[256], const char* value) {
  memset(field, 0, sizeof field);
  snprintf(field, sizeof field, "%s", value);
}
}

void Settings_Defaults(Settings& s) {
  memset(&s, 0, sizeof s);
  s.version = kSettingsVersion;
  s.difficulty = 4;
  s.announcer = 1;
  s.revive = 1;
  s.gameOver = 1;
  s.dangerDisplay = 1;
  s.bgBrightness = 80;
  s.aviQuality = 5;
  s.maxStage = 3;
  s.comboType = 1;
  s.autoPlay = 1;
  s.assistTick = 0;
  s.defaultDifficulty = 0;
  s.defaultSort = 0;
  s.svpQuality = 5;
  s.visNumber = 1;
  s.bgScripts = 1;
  s.visPlugin = 0;
  s.breakAfter = 4;
  s.timeLimit = 1;
  s.userProfiles = 1;
  s.folderIndex = 0;
  s.extraStages = 2;
  s.stereo = 1;
  s.frequency = 2;
  s.sixteenBit = 1;
  s.volume = 75;
  s.fullScreen = 0;
  s.showFps = 1;
  s.showBeat = 1;
  s.displayLyrics = 1;
  s.sortBy = 1;
  s.currentSort = 0;
  s.attractDemo = 1;
  name(s.skin, "Default");
  name(s.announcerSet, "Default");
  name(s.effectSet, "Default");
  memcpy(s.windows, kDefaultWindows, sizeof s.windows);
  s.globalGap = 0;
  s.randomAnimations = 3;
}

void Settings_ApplyLoadRules(Settings& s, int pluginCount) {
  if (s.difficulty > 9) s.difficulty = 9;
  flag(s.announcer);
  flag(s.revive);
  flag(s.gameOver);
  flag(s.dangerDisplay);
  if (s.bgBrightness < 50) s.bgBrightness = 50;
  if (s.bgBrightness > 100) s.bgBrightness = 100;
  s.aviQuality %= 11;
  if (s.maxStage == 0) s.maxStage = 1;
  if (s.maxStage > 6) s.maxStage = 6;
  flag(s.comboType);
  flag(s.autoPlay);
  flag(s.assistTick);
  s.defaultDifficulty %= 3;
  s.svpQuality %= 11;
  flag(s.visNumber);
  flag(s.bgScripts);
  // Taken as unsigned so that a negative stored value cannot give a negative index.
  s.visPlugin = (int32_t)((uint32_t)s.visPlugin % (uint32_t)((pluginCount < 0 ? 0 : pluginCount) + 1));
  s.breakAfter %= 11;
  flag(s.timeLimit);
  flag(s.userProfiles);
  s.extraStages %= 3;
  flag(s.stereo);
  if (s.frequency > 2) s.frequency = 2;
  flag(s.sixteenBit);
  s.volume = (uint8_t)(s.volume % 101 / 5 * 5);
  flag(s.fullScreen);
  flag(s.showFps);
  flag(s.showBeat);
  flag(s.displayLyrics);
  flag(s.sortBy);
  flag(s.currentSort);
  flag(s.attractDemo);
  s.defaultSort %= 7;
  if (s.defaultSort == 0 && s.sortBy == 0) s.defaultSort = 1;
  // The folder names are used as C strings: a name that fills its field is cut
  // at the last byte rather than read past the record.
  s.skin[255] = s.announcerSet[255] = s.effectSet[255] = 0;
  for (int i = 0; i < 4; i++)
    if (s.windows[i] > kDefaultWindows[i]) s.windows[i] = kDefaultWindows[i];
  for (int i = 1; i < 4; i++)
    if (s.windows[i] < s.windows[i - 1]) s.windows[i] += 1;
  if (s.globalGap < -1000) s.globalGap = -1000;
  if (s.globalGap > 1000) s.globalGap = 1000;
  s.randomAnimations &= 3;
}

void Bindings_DefaultTable(InputBinding* out) {
  for (int i = 0; i < kBindingCount; i++) out[i] = keyBinding(kDefaultKeys[i]);
}

void Bindings_Defaults() { Bindings_DefaultTable(g_bindings); }

void FunctionKeys_Setup() {
  for (int i = 0; i < kFunctionKeyCount; i++) g_functionKeys[i] = keyBinding(kFunctionKeyCodes[i]);
}

bool Settings_LoadRecord(const void* data, size_t size, int pluginCount) {
  Settings s;
  if (!data || size < sizeof s) return false;
  memcpy(&s, data, sizeof s);
  if (s.version != kSettingsVersion) return false;
  Settings_ApplyLoadRules(s, pluginCount);
  g_settings = s;
  return true;
}

bool Bindings_LoadTable(const void* data, size_t size) {
  // 320 to 339 bytes: the size check counts whole 20-byte entries.
  if (!data || size / sizeof(InputBinding) != kBindingCount) return false;
  memcpy(g_bindings, data, sizeof g_bindings);
  return true;
}

bool loadSettings(int pluginCount) {
  WriteLog("Loading settings...\n");
  Settings_Defaults(g_settings);
  Bindings_Defaults();
  FunctionKeys_Setup();

  std::vector<uint8_t> bytes;
  if (File_ReadUpTo(kSettingsFile, sizeof(Settings), bytes)) Settings_LoadRecord(bytes.data(), bytes.size(), pluginCount);
  // The bindings size rule looks at the whole file's size, not just what is read.
  long long size = File_Size(kBindingsFile);
  if (size >= 0 && size / (long long)sizeof(InputBinding) == kBindingCount &&
      File_ReadUpTo(kBindingsFile, sizeof g_bindings, bytes))
    Bindings_LoadTable(bytes.data(), bytes.size());
  g_storedSortBy = g_settings.sortBy;
  return true;
}

bool saveSettings() {
  bool a = File_WriteSafely(kSettingsFile, &g_settings, sizeof g_settings);
  bool b = File_WriteSafely(kBindingsFile, g_bindings, sizeof g_bindings);
  // the names of the bound joysticks go with the numbers just written
  JoystickNames_Store();
  // tarvolen.ini holds settings too (offsets, joystick names): a save that lost
  // them is no save
  bool c = TarvolenIni_Save();
  if (!a) WriteLog("Unable to write settings file (rkv2.cfg)\n");
  if (!b) WriteLog("Unable to write key bindings file (rkv2.inp)\n");
  return a && b && c;
}
