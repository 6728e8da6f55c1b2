// The four settings pages on the shared screen loop, in the options menu's look.
#include "media/sound/sound_fx.h"
#include "menus/options_edit.h"
#include "menus/options_look.h"
#include "menus/options_page_input.h"
#include "menus/screen_loop.h"

namespace {
int runPage(OptionsEdit& e, int pageId) {
  const OptionsPageDef& page = OptionsPage_Def(pageId);
  OptionsPageState st = OptionsPage_Begin(page);
  OptionsRow rows[kOptionsMaxRows];
  Screen_Run(OptionsLook_Setup(), [&](ScreenFrame& f) {
    OptionsPageEvent ev = OptionsPage_Input(page, st, e, f.input, f.nowMs, g_optionsPlugins);
    switch (ev) {
      case OPEV_MOVED:
      case OPEV_CHANGED: PlaySound(SND_SELECT); break;
      case OPEV_REFUSED: PlaySound(SND_SWITCH); break;
      case OPEV_LEAVE: PlaySound(SND_START); break;
      default: break;
    }
    int count = OptionsPage_Rows(page, e.settings, g_optionsPlugins, rows);
    const char* notes[2];
    int noteCount = OptionsPage_Notes(page, st, notes);
    OptionsLook_DrawPage(page.title, rows, count, st.cursor, notes, noteCount, nullptr, nullptr);
    return ev == OPEV_LEAVE ? 1 : 0;
  });
  return 0;
}
}  // namespace

int OptionsPage_Game(OptionsEdit& e) { return runPage(e, OPAGE_GAME); }
int OptionsPage_Sound(OptionsEdit& e) { return runPage(e, OPAGE_SOUND); }
int OptionsPage_Background(OptionsEdit& e) { return runPage(e, OPAGE_BACKGROUND); }
int OptionsPage_System(OptionsEdit& e) { return runPage(e, OPAGE_SYSTEM); }
