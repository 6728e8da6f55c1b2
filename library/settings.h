#pragma once
// The settings record, kept for the whole run and stored byte for byte in
// "rkv2.cfg"; the key bindings table is stored in "rkv2.inp".
#include <bit>
#include <cstddef>
#include <cstdint>

static_assert(std::endian::native == std::endian::little, "the stored records are little-endian");

constexpr uint8_t kSettingsVersion = 28;

struct Settings {
  uint8_t version;            // 0
  uint8_t difficulty;         // 1  game difficulty 0..9
  uint8_t announcer;          // 2
  uint8_t revive;             // 3
  uint8_t gameOver;           // 4
  uint8_t dangerDisplay;      // 5
  uint8_t bgBrightness;       // 6  percent, 50..100
  uint8_t aviQuality;         // 7  0 = off .. 10
  uint8_t maxStage;           // 8  1..6, 6 = unlimited
  uint8_t comboType;          // 9
  uint8_t autoPlay;           // 10
  uint8_t assistTick;         // 11
  uint8_t defaultDifficulty;  // 12
  uint8_t defaultSort;        // 13
  uint8_t svpQuality;         // 14
  uint8_t visNumber;          // 15
  uint8_t bgScripts;          // 16
  uint8_t unused17[3];        // 17
  int32_t visPlugin;          // 20
  uint8_t breakAfter;         // 24
  uint8_t timeLimit;          // 25
  uint8_t userProfiles;       // 26
  uint8_t unused27;           // 27
  int32_t folderIndex;        // 28
  uint8_t unused32[2];        // 32
  uint8_t extraStages;        // 34
  uint8_t stereo;             // 35
  uint8_t frequency;          // 36  0 11 kHz, 1 22 kHz, 2 44 kHz
  uint8_t sixteenBit;         // 37
  uint8_t volume;             // 38  percent, a multiple of 5
  uint8_t fullScreen;         // 39
  uint8_t showFps;            // 40  0 shows the meter
  uint8_t showBeat;           // 41
  uint8_t displayLyrics;      // 42
  uint8_t sortBy;             // 43  0 genre, 1 folder
  uint8_t currentSort;        // 44
  uint8_t attractDemo;        // 45
  uint8_t profileFlags[2];    // 46
  char skin[256];             // 48
  char announcerSet[256];     // 304
  char effectSet[256];        // 560
  uint16_t windows[4];        // 816 PERFECT, GREAT, GOOD, BOO in ms
  int32_t globalGap;          // 824 ms added to every chart's gap
  uint8_t randomAnimations;   // 828
  uint8_t unused829[3];       // 829
};
static_assert(sizeof(Settings) == 832);
static_assert(offsetof(Settings, visPlugin) == 20 && offsetof(Settings, breakAfter) == 24);
static_assert(offsetof(Settings, folderIndex) == 28 && offsetof(Settings, extraStages) == 34);
static_assert(offsetof(Settings, volume) == 38 && offsetof(Settings, attractDemo) == 45);
static_assert(offsetof(Settings, skin) == 48 && offsetof(Settings, announcerSet) == 304);
static_assert(offsetof(Settings, effectSet) == 560 && offsetof(Settings, windows) == 816);
static_assert(offsetof(Settings, globalGap) == 824 && offsetof(Settings, randomAnimations) == 828);

constexpr uint16_t kDefaultWindows[4] = {50, 90, 115, 140};

extern Settings g_settings;
// The "Sort By" the stored file keeps: the loaded one, or the one last chosen in
// the options menu. Other menus may change g_settings.sortBy for a while; the
// shut-down puts this value back before the record is written.
extern uint8_t g_storedSortBy;

void Settings_Defaults(Settings& s);
// Applies the load rules to a record read from a file (version already checked).
void Settings_ApplyLoadRules(Settings& s, int pluginCount);
// A record or bindings table as read from its file; false (nothing taken) when it
// fails the version or size check.
bool Settings_LoadRecord(const void* data, size_t size, int pluginCount);
bool Bindings_LoadTable(const void* data, size_t size);
void Bindings_Defaults();
// The default table (the first keys of "rkv2.inp", no second key, no joystick)
// written to `out`, all 16 entries.
void Bindings_DefaultTable(struct InputBinding* out);
void FunctionKeys_Setup();
// Fills the defaults, then reads "rkv2.cfg" and "rkv2.inp" from the working
// directory. Always succeeds: a missing, short or foreign file keeps the defaults.
bool loadSettings(int pluginCount = 0);
// Writes both files and "tarvolen.ini"; a file that cannot be written is skipped
// (the old one stays) and makes the result false.
bool saveSettings();
