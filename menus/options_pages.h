#pragma once
// The four settings pages of the options menu: "Game Options", "Sound Options",
// "Background Options" and "System Options". Each page is a fixed list of items
// (headings among them) ending with "Return"; this file gives the lists, the
// value text of an item from a settings record and the change of an item by one
// step of Left or Right. Pure functions: the page screens (options_page_screens
// .cpp) draw and drive them.
//
// Ranges and steps. Every value the pages can reach is one the settings loader
// keeps as it is, so an edited record stored and read back is the same record.
//   "Difficulty"          1..9 (a stored 0, which the loader lets through, shows
//                         as 0; Right takes it to 1)
//   "Max Stage"           1..5, then "Unlimited" (6)
//   "Break Stage After"   OFF, 1..10
//   "Volume"              0..100 by 5
//   "BG Brightness"       50..100 by 10 (a stored 85 shows "80%"; a step lands on
//                         the next ten)
//   "AVI Quality", "SVP Quality"   OFF, 1..10
//   "Edit Timings"        one row per judgement window, 1 ms a step (5 ms once the
//                         key has repeated 8 times): PERFECT from 1 ms, each later
//                         window never below the one before it, none above its
//                         default (50, 90, 115, 140), and none above the next one;
//                         "DEFAULT" puts the four back
//   "Global GAP"          -1000..1000 ms: 1 a step, 10 once the key has repeated 8
//                         times, 50 after 16 repeats
//   "Plug-in to Use"      "(RANDOM)" (0) or a plug-in's name (1..count); without
//                         plug-ins "(NO PLUG-INS AVAILABLE)", greyed, unchangeable
//   "Replays Kept"        0 ("BEST ONLY")..10000 by 10, 100 once the key has
//                         repeated 8 times; kept in tarvolen.ini, not in the
//                         settings record: the pages edit g_optionsReplayKeep
//   "Default Sort Method" with "Sort By" on GENRE "All Music" is passed over (the
//                         loader turns it into "All Music (Separated)"), and
//                         turning "Sort By" to GENRE moves it on likewise
// Numbers stop at their ends; lists of names (OFF/ON, the sort methods ...) wrap.
// Labels follow the meaning of each stored byte: "Auto Play" and "Show FPS" are
// ON at 0, "Show Beat" at 1.
#include "library/settings.h"
#include <cstddef>
#include <cstdint>

enum OptionsItemId : uint8_t {
  OPT_RETURN,
  // headings of "Background Options" and "System Options"
  OPT_HEAD_GENERAL, OPT_HEAD_MOVIE, OPT_HEAD_VISUALIZATION, OPT_HEAD_LYRICS, OPT_HEAD_TIMINGS,
  // "Game Options"
  OPT_DIFFICULTY, OPT_ANNOUNCER, OPT_REVIVE, OPT_GAME_OVER, OPT_MAX_STAGE, OPT_EXTRA_STAGES, OPT_COMBO_TYPE,
  OPT_AUTO_PLAY, OPT_BREAK_AFTER, OPT_USER_PROFILES, OPT_REPLAYS_KEPT,
  // "Sound Options"
  OPT_CHANNELS, OPT_FREQUENCY, OPT_RESOLUTION, OPT_VOLUME,
  // "Background Options"
  OPT_DANGER, OPT_BG_SCRIPTS, OPT_RANDOM_ANIMATIONS, OPT_BG_BRIGHTNESS, OPT_AVI_QUALITY, OPT_SVP_QUALITY,
  OPT_VIS_NUMBER, OPT_VIS_PLUGIN, OPT_LYRICS,
  // "System Options"
  OPT_SCREEN, OPT_SORT_BY, OPT_DEFAULT_SORT, OPT_DEFAULT_DIFFICULTY, OPT_ATTRACT, OPT_SHOW_FPS, OPT_SHOW_BEAT,
  OPT_TIME_LIMIT, OPT_WINDOW_PERFECT, OPT_WINDOW_GREAT, OPT_WINDOW_GOOD, OPT_WINDOW_BOO, OPT_WINDOWS_DEFAULT,
  OPT_GLOBAL_GAP, OPT_TIMING_CALIBRATION,
  OPT_ITEM_COUNT
};

enum OptionsPageId { OPAGE_GAME, OPAGE_SOUND, OPAGE_BACKGROUND, OPAGE_SYSTEM, OPAGE_COUNT };

struct OptionsPageDef {
  const char* title;            // "Game Options"
  const OptionsItemId* items;   // in order, "Return" last
  int count;
  const char* note;             // under the page always, or null
};

// The visualization plug-ins "Plug-in to Use" offers: their display names in the
// order of the plug-in list. None until plug-ins are searched for.
struct OptionsPlugins {
  int count = 0;
  const char* const* names = nullptr;
};
extern OptionsPlugins g_optionsPlugins;
// The working value of "Replays Kept", taken from tarvolen.ini when the menu
// opens and written back when it is left.
extern int g_optionsReplayKeep;

const OptionsPageDef& OptionsPage_Def(int page);

const char* OptionsItem_Label(OptionsItemId id);
bool OptionsItem_IsHeading(OptionsItemId id);
// The item's own note, shown while the cursor is on it (null without one).
const char* OptionsItem_Note(OptionsItemId id);
// Shown, but nothing to change ("Plug-in to Use" without plug-ins).
bool OptionsItem_Dim(OptionsItemId id, const OptionsPlugins& plugins);
// Whether Start (or Left/Right) carries the item out rather than changing a value
// ("DEFAULT" of the timings).
bool OptionsItem_IsAction(OptionsItemId id);
// Whether Start opens a screen of its own ("Timing Calibration").
bool OptionsItem_OpensScreen(OptionsItemId id);

// The value text of an item ("" for headings and "Return"), at most size - 1
// characters.
void OptionsItem_Value(const Settings& s, OptionsItemId id, const OptionsPlugins& plugins, char* out, size_t size);

// One step of Left (dir -1) or Right (dir +1); `repeats`: how many times the key
// has repeated while held (the bigger steps of "Global GAP" and the timings).
// An action item is carried out whatever the direction. True when the record
// changed; false at the end of a range or for an item with nothing to change.
bool OptionsItem_Change(Settings& s, OptionsItemId id, int dir, int repeats, const OptionsPlugins& plugins);

// The size of a step of `id` after `repeats` repeats of a held key.
int OptionsItem_HeldStep(OptionsItemId id, int repeats);
