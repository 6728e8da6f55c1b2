#include "menus/options_pages.h"
#include "menus/collection.h"
#include <algorithm>
#include <cstdio>
#include <cstring>

OptionsPlugins g_optionsPlugins;
int g_optionsReplayKeep = 200;

namespace {
enum ItemKind : uint8_t {
  KIND_RETURN,
  KIND_HEADING,
  KIND_CHOICE,          // a byte naming one of `names` (by stored value)
  KIND_NUMBER,          // a byte from lo to hi on a grid of `step`
  KIND_WINDOW,          // one of the four timing windows
  KIND_WINDOWS_DEFAULT, // puts the four windows back
  KIND_GAP,             // the int32 "Global GAP"
  KIND_PLUGIN,          // the int32 "Plug-in to Use"
  KIND_SORT,            // "Default Sort Method": a choice that passes over "All Music" by genre
  KIND_SCREEN,          // opens a screen of its own
  KIND_REPLAYS,         // "Replays Kept", g_optionsReplayKeep
};

struct ItemInfo {
  const char* label;
  ItemKind kind;
  uint16_t field = 0;                 // offset of the byte in Settings (CHOICE, NUMBER, SORT)
  const char* const* names = nullptr; // CHOICE: the text of each stored value
  uint8_t count = 0;                  // CHOICE: values 0..count-1
  int16_t lo = 0, hi = 0, step = 1;   // NUMBER
  const char* format = "%d";          // NUMBER: of the value divided by `divisor`
  int16_t divisor = 1;
  const char* zeroText = nullptr;     // NUMBER: the text of 0 ("OFF")
  const char* topText = nullptr;      // NUMBER: the text of hi ("Unlimited")
  const char* note = nullptr;         // shown while the cursor is on the item
  int8_t window = -1;                 // WINDOW: 0 PERFECT .. 3 BOO
};

constexpr const char* kOffOn[] = {"OFF", "ON"};
constexpr const char* kOnOff[] = {"ON", "OFF"};   // bytes where 0 means on
constexpr const char* kGameOver[] = {"END OF MUSIC", "ARCADE"};
constexpr const char* kExtra[] = {"OFF", "RANDOM", "CHOICE"};
constexpr const char* kCombo[] = {"ORIGINAL", "MAX"};
constexpr const char* kChannels[] = {"MONO", "STEREO"};
constexpr const char* kFrequency[] = {"11KHz", "22KHz", "44KHz"};
constexpr const char* kResolution[] = {"8-bit", "16-bit"};
constexpr const char* kAnimations[] = {"OFF", "AVI", "VIS", "BOTH"};
constexpr const char* kNumber[] = {"SINGLE", "MULTIPLE"};
constexpr const char* kScreen[] = {"WINDOW", "FULLSCREEN"};
constexpr const char* kSortBy[] = {"GENRE", "FOLDER"};
constexpr const char* kDifficulty[] = {"LIGHT", "STANDARD", "HEAVY"};

constexpr int kMinPerfectWindow = 1;
constexpr int kGapLimit = 1000;
constexpr int kReplaysLimit = 10000;

constexpr ItemInfo choice(const char* label, size_t field, const char* const* names, int count) {
  return ItemInfo{.label = label, .kind = KIND_CHOICE, .field = (uint16_t)field, .names = names,
                  .count = (uint8_t)count};
}
template <size_t N>
constexpr ItemInfo choice(const char* label, size_t field, const char* const (&names)[N]) {
  return choice(label, field, names, (int)N);
}
constexpr ItemInfo number(const char* label, size_t field, int lo, int hi, int step, const char* format,
                          const char* zeroText = nullptr, const char* topText = nullptr, int divisor = 1) {
  return ItemInfo{.label = label, .kind = KIND_NUMBER, .field = (uint16_t)field, .lo = (int16_t)lo,
                  .hi = (int16_t)hi, .step = (int16_t)step, .format = format, .divisor = (int16_t)divisor,
                  .zeroText = zeroText, .topText = topText};
}
constexpr ItemInfo heading(const char* label) { return ItemInfo{.label = label, .kind = KIND_HEADING}; }
constexpr ItemInfo window(const char* label, int i) {
  return ItemInfo{.label = label, .kind = KIND_WINDOW, .window = (int8_t)i};
}

// In the order of OptionsItemId.
const ItemInfo kItems[OPT_ITEM_COUNT] = {
    {.label = "Return", .kind = KIND_RETURN},
    heading("General"),
    heading("Movie Playback"),
    heading("Visualization Playback"),
    heading("Lyrics Support"),
    heading("Edit Timings"),
    number("Difficulty", offsetof(Settings, difficulty), 1, 9, 1, "%d"),
    choice("Announcer", offsetof(Settings, announcer), kOffOn),
    choice("Revive (2P Mode)", offsetof(Settings, revive), kOffOn),
    choice("Game Over", offsetof(Settings, gameOver), kGameOver),
    number("Max Stage", offsetof(Settings, maxStage), 1, 6, 1, "%d", nullptr, "Unlimited"),
    choice("Extra Stages", offsetof(Settings, extraStages), kExtra),
    choice("Combo Type", offsetof(Settings, comboType), kCombo),
    choice("Auto Play", offsetof(Settings, autoPlay), kOnOff),
    number("Break Stage After", offsetof(Settings, breakAfter), 0, 10, 1, "%d", "OFF"),
    choice("User Profiles", offsetof(Settings, userProfiles), kOffOn),
    {.label = "Replays Kept", .kind = KIND_REPLAYS, .note = "The best play of each song is always kept."},
    choice("Channels", offsetof(Settings, stereo), kChannels),
    choice("Frequency", offsetof(Settings, frequency), kFrequency),
    choice("Resolution", offsetof(Settings, sixteenBit), kResolution),
    number("Volume", offsetof(Settings, volume), 0, 100, 5, "%d %%"),
    choice("Danger Display", offsetof(Settings, dangerDisplay), kOffOn),
    choice("Process BG Scripts", offsetof(Settings, bgScripts), kOffOn),
    choice("Random Animations", offsetof(Settings, randomAnimations), kAnimations),
    number("BG Brightness", offsetof(Settings, bgBrightness), 50, 100, 10, "%d0%%", nullptr, nullptr, 10),
    number("AVI Quality", offsetof(Settings, aviQuality), 0, 10, 1, "%d", "OFF"),
    number("SVP Quality", offsetof(Settings, svpQuality), 0, 10, 1, "%d", "OFF"),
    choice("Number to Use", offsetof(Settings, visNumber), kNumber),
    {.label = "Plug-in to Use", .kind = KIND_PLUGIN},
    choice("Display Lyrics", offsetof(Settings, displayLyrics), kOffOn),
    [] {
      ItemInfo i = choice("Screen", offsetof(Settings, fullScreen), kScreen);
      i.note = "Changing screen mode requires program restart.";
      return i;
    }(),
    choice("Sort By", offsetof(Settings, sortBy), kSortBy),
    {.label = "Default Sort Method", .kind = KIND_SORT, .field = offsetof(Settings, defaultSort)},
    [] {
      ItemInfo i = choice("Default Difficulty", offsetof(Settings, defaultDifficulty), kDifficulty);
      i.note = "Default is also used when sorting by difficulty.";
      return i;
    }(),
    choice("Attract/Demo", offsetof(Settings, attractDemo), kOffOn),
    choice("Show FPS", offsetof(Settings, showFps), kOnOff),
    choice("Show Beat", offsetof(Settings, showBeat), kOffOn),
    choice("Time Limit", offsetof(Settings, timeLimit), kOffOn),
    window("PERFECT", 0),
    window("GREAT", 1),
    window("GOOD", 2),
    window("BOO", 3),
    {.label = "DEFAULT", .kind = KIND_WINDOWS_DEFAULT},
    {.label = "Global GAP", .kind = KIND_GAP},
    {.label = "Timing Calibration", .kind = KIND_SCREEN},
};

const OptionsItemId kGamePage[] = {OPT_DIFFICULTY, OPT_ANNOUNCER,  OPT_REVIVE,      OPT_GAME_OVER,
                                   OPT_MAX_STAGE,  OPT_EXTRA_STAGES, OPT_COMBO_TYPE, OPT_AUTO_PLAY,
                                   OPT_BREAK_AFTER, OPT_USER_PROFILES, OPT_REPLAYS_KEPT, OPT_RETURN};
const OptionsItemId kSoundPage[] = {OPT_CHANNELS, OPT_FREQUENCY, OPT_RESOLUTION, OPT_VOLUME, OPT_RETURN};
const OptionsItemId kBackgroundPage[] = {
    OPT_HEAD_GENERAL, OPT_DANGER,     OPT_BG_SCRIPTS,   OPT_RANDOM_ANIMATIONS, OPT_BG_BRIGHTNESS,
    OPT_HEAD_MOVIE,   OPT_AVI_QUALITY, OPT_HEAD_VISUALIZATION, OPT_SVP_QUALITY, OPT_VIS_NUMBER,
    OPT_VIS_PLUGIN,   OPT_HEAD_LYRICS, OPT_LYRICS,       OPT_RETURN};
const OptionsItemId kSystemPage[] = {
    OPT_SCREEN,       OPT_SORT_BY,        OPT_DEFAULT_SORT,  OPT_DEFAULT_DIFFICULTY, OPT_ATTRACT,
    OPT_SHOW_FPS,     OPT_SHOW_BEAT,      OPT_TIME_LIMIT,    OPT_HEAD_TIMINGS,       OPT_WINDOW_PERFECT,
    OPT_WINDOW_GREAT, OPT_WINDOW_GOOD,    OPT_WINDOW_BOO,    OPT_WINDOWS_DEFAULT,    OPT_GLOBAL_GAP,
    OPT_TIMING_CALIBRATION, OPT_RETURN};

template <size_t N>
constexpr OptionsPageDef page(const char* title, const OptionsItemId (&items)[N], const char* note) {
  return OptionsPageDef{title, items, (int)N, note};
}
const OptionsPageDef kPages[OPAGE_COUNT] = {
    page("Game Options", kGamePage, "(Break Stages only occur in Nonstop Courses that Repeat)"),
    page("Sound Options", kSoundPage, "Changes to sound quality will not take effect until restart."),
    page("Background Options", kBackgroundPage, nullptr),
    page("System Options", kSystemPage, nullptr),
};

const ItemInfo& info(OptionsItemId id) { return kItems[id < OPT_ITEM_COUNT ? id : OPT_RETURN]; }

uint8_t& byteOf(Settings& s, const ItemInfo& i) { return reinterpret_cast<uint8_t*>(&s)[i.field]; }
uint8_t byteOf(const Settings& s, const ItemInfo& i) { return reinterpret_cast<const uint8_t*>(&s)[i.field]; }

int floorDiv(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

// The next value on the grid of `step` from `v` in direction `dir`, kept in
// lo..hi; never a move against `dir` (a value outside the range only comes in).
int stepWithin(int v, int dir, int step, int lo, int hi) {
  int next = dir > 0 ? floorDiv(v, step) * step + step : -floorDiv(-v, step) * step - step;
  next = std::clamp(next, lo, hi);
  return dir > 0 ? std::max(next, v) : std::min(next, v);
}

// The bounds of window `w` among the others.
void windowBounds(const Settings& s, int w, int& lo, int& hi) {
  lo = w == 0 ? kMinPerfectWindow : s.windows[w - 1];
  hi = kDefaultWindows[w];
  if (w < 3) hi = std::min<int>(hi, s.windows[w + 1]);
}

// "All Music" cannot group by genre: the wheel and the loader both take
// "All Music (Separated)" instead.
bool sortAllowed(const Settings& s, int method) { return method != SORT_ALL_MUSIC || s.sortBy != 0; }

bool changeChoice(uint8_t& b, int count, int dir) {
  int v = b < count ? b : 0;
  uint8_t next = (uint8_t)((v + dir + count) % count);
  if (next == b) return false;
  b = next;
  return true;
}

bool changeSort(Settings& s, int dir) {
  int v = s.defaultSort < SORT_COUNT ? s.defaultSort : 0;
  do v = (v + dir + SORT_COUNT) % SORT_COUNT;
  while (!sortAllowed(s, v));
  if (v == s.defaultSort) return false;
  s.defaultSort = (uint8_t)v;
  return true;
}

bool changeWindows(Settings& s, int w, int step, int dir) {
  int lo, hi;
  windowBounds(s, w, lo, hi);
  int next = stepWithin(s.windows[w], dir, step, lo, hi);
  if (next == s.windows[w]) return false;
  s.windows[w] = (uint16_t)next;
  return true;
}

bool resetWindows(Settings& s) {
  if (memcmp(s.windows, kDefaultWindows, sizeof s.windows) == 0) return false;
  memcpy(s.windows, kDefaultWindows, sizeof s.windows);
  return true;
}

bool changePlugin(Settings& s, int dir, const OptionsPlugins& p) {
  if (p.count <= 0) return false;
  int n = p.count + 1;   // "(RANDOM)" and each plug-in
  int v = s.visPlugin >= 0 && s.visPlugin < n ? s.visPlugin : 0;
  s.visPlugin = (v + dir + n) % n;
  return true;
}

void numberText(const ItemInfo& i, int v, char* out, size_t size) {
  if (v == 0 && i.zeroText)
    snprintf(out, size, "%s", i.zeroText);
  else if (v == i.hi && i.topText)
    snprintf(out, size, "%s", i.topText);
  else
    snprintf(out, size, i.format, v / i.divisor);
}
}  // namespace

const OptionsPageDef& OptionsPage_Def(int p) { return kPages[p >= 0 && p < OPAGE_COUNT ? p : 0]; }

const char* OptionsItem_Label(OptionsItemId id) { return info(id).label; }
bool OptionsItem_IsHeading(OptionsItemId id) { return info(id).kind == KIND_HEADING; }
const char* OptionsItem_Note(OptionsItemId id) { return info(id).note; }
bool OptionsItem_IsAction(OptionsItemId id) { return info(id).kind == KIND_WINDOWS_DEFAULT; }
bool OptionsItem_OpensScreen(OptionsItemId id) { return info(id).kind == KIND_SCREEN; }

bool OptionsItem_Dim(OptionsItemId id, const OptionsPlugins& plugins) {
  return info(id).kind == KIND_PLUGIN && plugins.count <= 0;
}

int OptionsItem_HeldStep(OptionsItemId id, int repeats) {
  switch (info(id).kind) {
    case KIND_GAP: return repeats < 8 ? 1 : repeats < 16 ? 10 : 50;
    case KIND_WINDOW: return repeats < 8 ? 1 : 5;
    case KIND_REPLAYS: return repeats < 8 ? 10 : 100;
    default: return info(id).step;
  }
}

void OptionsItem_Value(const Settings& s, OptionsItemId id, const OptionsPlugins& plugins, char* out, size_t size) {
  if (!out || size == 0) return;
  out[0] = 0;
  const ItemInfo& i = info(id);
  switch (i.kind) {
    case KIND_CHOICE: {
      uint8_t v = byteOf(s, i);
      // the loader keeps every byte in range; a record from elsewhere shows its first value
      snprintf(out, size, "%s", i.names[v < i.count ? v : 0]);
      break;
    }
    case KIND_NUMBER: numberText(i, byteOf(s, i), out, size); break;
    case KIND_SORT: snprintf(out, size, "%s", SortMethod_Name(s.defaultSort < SORT_COUNT ? s.defaultSort : 0)); break;
    case KIND_WINDOW: snprintf(out, size, "%d ms", (int)s.windows[i.window]); break;
    case KIND_WINDOWS_DEFAULT:
      snprintf(out, size, "%d / %d / %d / %d ms", kDefaultWindows[0], kDefaultWindows[1], kDefaultWindows[2],
               kDefaultWindows[3]);
      break;
    case KIND_GAP: snprintf(out, size, "%d", (int)s.globalGap); break;
    case KIND_REPLAYS:
      if (g_optionsReplayKeep > 0) snprintf(out, size, "%d", g_optionsReplayKeep);
      else snprintf(out, size, "BEST ONLY");
      break;
    case KIND_PLUGIN:
      if (plugins.count <= 0)
        snprintf(out, size, "(NO PLUG-INS AVAILABLE)");
      else if (s.visPlugin <= 0 || s.visPlugin > plugins.count || !plugins.names || !plugins.names[s.visPlugin - 1])
        snprintf(out, size, "(RANDOM)");
      else
        snprintf(out, size, "%s", plugins.names[s.visPlugin - 1]);
      break;
    default: break;
  }
}

bool OptionsItem_Change(Settings& s, OptionsItemId id, int dir, int repeats, const OptionsPlugins& plugins) {
  const ItemInfo& i = info(id);
  if (i.kind == KIND_WINDOWS_DEFAULT) return resetWindows(s);
  if (dir == 0) return false;
  dir = dir > 0 ? 1 : -1;
  int step = OptionsItem_HeldStep(id, repeats);
  switch (i.kind) {
    case KIND_CHOICE: {
      bool changed = changeChoice(byteOf(s, i), i.count, dir);
      if (changed && id == OPT_SORT_BY && !sortAllowed(s, s.defaultSort)) s.defaultSort = SORT_ALL_SEPARATED;
      return changed;
    }
    case KIND_NUMBER: {
      uint8_t& b = byteOf(s, i);
      int next = stepWithin(b, dir, step, i.lo, i.hi);
      if (next == b) return false;
      b = (uint8_t)next;
      return true;
    }
    case KIND_SORT: return changeSort(s, dir);
    case KIND_WINDOW: return changeWindows(s, i.window, step, dir);
    case KIND_GAP: {
      int next = stepWithin(s.globalGap, dir, step, -kGapLimit, kGapLimit);
      if (next == s.globalGap) return false;
      s.globalGap = next;
      return true;
    }
    case KIND_REPLAYS: {
      int next = stepWithin(g_optionsReplayKeep, dir, step, 0, kReplaysLimit);
      if (next == g_optionsReplayKeep) return false;
      g_optionsReplayKeep = next;
      return true;
    }
    case KIND_PLUGIN: return changePlugin(s, dir, plugins);
    default: return false;
  }
}
