// The main page of the options menu. The pages under it edit working copies
// (options_edit.h); leaving the menu applies and writes them, then reloads the
// skin and the sound set when they changed.
#include "menus/options_menu.h"
#include "media/sound/sound_fx.h"
#include "menus/options_apply.h"
#include "menus/options_edit.h"
#include "menus/options_look.h"
#include "platform/clock.h"
#include "platform/log.h"
#include <cstring>

namespace {
enum MainItem {
  ITEM_GAME, ITEM_SOUND, ITEM_BACKGROUND, ITEM_KEYBOARD, ITEM_GAMEPAD, ITEM_SYSTEM, ITEM_SKIN, ITEM_SOUNDSET,
  ITEM_RESET_SONGLIST, ITEM_RESET_BEST, ITEM_RETURN, ITEM_COUNT
};
const char* const kMainItems[ITEM_COUNT] = {
    "Game Options",   "Sound Options",  "Background Options",        "Keyboard Configuration",
    "Gamepad Configuration", "System Options", "Skin Selection", "Announcer/Sound Selection",
    "Reset Songlist", "Reset Player's Best", "Return to Main Menu"};
constexpr uint32_t kMessageMs = 2500;

int (*const kPages[ITEM_COUNT])(OptionsEdit&) = {
    OptionsPage_Game, OptionsPage_Sound, OptionsPage_Background, OptionsPage_Keyboard, OptionsPage_Gamepad,
    OptionsPage_System, OptionsPage_Skin, OptionsPage_SoundSet, nullptr, nullptr, nullptr};

// Start on an item of the main page; true when the menu is left.
bool choose(int item, OptionsEdit& e, const OptionsHooks& hooks) {
  if (item == ITEM_RETURN) return true;
  PlaySound(SND_START);
  if (kPages[item]) {
    kPages[item](e);
  } else if (item == ITEM_RESET_SONGLIST) {
    if (hooks.resetSonglist) {
      hooks.resetSonglist();
      e.settings.folderIndex = g_settings.folderIndex;   // the search keeps the group modulo the folders
    } else {
      WriteLog("Reset Songlist is not available here\n");
    }
  } else if (item == ITEM_RESET_BEST) {
    Options_ResetPlayersBest();
    e.message = "Player's Best Reset";
    e.messageAt = Clock_Ms();
  }
  return false;
}
}  // namespace

int OptionsMenu(const OptionsHooks& hooks) {
  WriteLog("Starting options menu\n");
  OptionsEdit e;
  Options_Begin(e);
  e.music = hooks.music;
  OptionsRow rows[ITEM_COUNT];
  for (int i = 0; i < ITEM_COUNT; i++) rows[i].label = kMainItems[i];
  int cursor = 0;
  for (;;) {
    bool leave = false;
    int chosen = -1;
    Screen_Run(OptionsLook_Setup(), [&](ScreenFrame& f) {
      uint32_t in = f.input;
      const uint32_t down = MENU_DOWN * 0x101, up = MENU_UP * 0x101;
      const uint32_t start = (MENU_START | MENU_UPRIGHT) * 0x101, back = MENU_SELECT * 0x101 | MENU_ESCAPE;
      if (in & back) {
        leave = true;
        return 1;
      }
      if (in & (down | up)) {
        cursor = OptionsLook_Step(rows, ITEM_COUNT, cursor, (in & down) ? 1 : -1);
        PlaySound(SND_SELECT);
      }
      if (in & start) {
        chosen = cursor;
        return 1;
      }
      const char* message = e.message && f.nowMs - e.messageAt < kMessageMs ? e.message : nullptr;
      OptionsLook_DrawPage("", rows, ITEM_COUNT, cursor, nullptr, 0, nullptr, message);
      return 0;
    });
    if (chosen >= 0 && choose(chosen, e, hooks)) leave = true;
    if (leave) break;
  }

  int result = 0;
  if (strncmp(e.settings.skin, g_settings.skin, sizeof e.settings.skin) != 0) result |= OPTIONS_SKIN_CHANGED;
  if (strncmp(e.settings.announcerSet, g_settings.announcerSet, sizeof e.settings.announcerSet) != 0 ||
      strncmp(e.settings.effectSet, g_settings.effectSet, sizeof e.settings.effectSet) != 0)
    result |= OPTIONS_SOUNDS_CHANGED;
  Options_Apply(e);
  if ((result & OPTIONS_SKIN_CHANGED) && hooks.reloadSkin) hooks.reloadSkin();
  if ((result & OPTIONS_SOUNDS_CHANGED) && hooks.reloadSounds) hooks.reloadSounds();
  WriteLog("Leaving options menu\n");
  return result;
}
