// The four settings pages on the shared screen loop, in the options menu's look.
#include "media/sound/sound_fx.h"
#include "menus/calibration_screen.h"
#include "menus/options_edit.h"
#include "menus/options_look.h"
#include "menus/options_page_input.h"
#include "menus/screen_loop.h"
#include "menus/slow_pad_warning.h"

namespace {
constexpr int kLeave = 1, kOpen = 2;

int runPage(OptionsEdit& e, int pageId) {
  const OptionsPageDef& page = OptionsPage_Def(pageId);
  OptionsPageState st = OptionsPage_Begin(page);
  OptionsRow rows[kOptionsMaxRows];
  // the system page warns of a pad that reports slowly (its presses come late)
  char padWarning[96] = "";
  if (pageId == OPAGE_SYSTEM) SlowPad_CurrentWarning(padWarning, sizeof padWarning);
  // a screen opened from the page runs on its own; the page comes back as it was
  while (Screen_Run(OptionsLook_Setup(), [&](ScreenFrame& f) {
           OptionsPageEvent ev = OptionsPage_Input(page, st, e, f.input, f.nowMs, g_optionsPlugins);
           switch (ev) {
             case OPEV_MOVED:
             case OPEV_CHANGED: PlaySound(SND_SELECT); break;
             case OPEV_REFUSED: PlaySound(SND_SWITCH); break;
             case OPEV_LEAVE:
             case OPEV_OPEN: PlaySound(SND_START); break;
             default: break;
           }
           int count = OptionsPage_Rows(page, e.settings, g_optionsPlugins, rows);
           const char* notes[3];
           int noteCount = 0;
           if (padWarning[0]) notes[noteCount++] = padWarning;
           noteCount += OptionsPage_Notes(page, st, notes + noteCount);
           OptionsLook_DrawPage(page.title, rows, count, st.cursor, notes, noteCount, nullptr, nullptr);
           return ev == OPEV_LEAVE ? kLeave : ev == OPEV_OPEN ? kOpen : 0;
         }) == kOpen)
    CalibrationScreen(e);
  return 0;
}
}  // namespace

int OptionsPage_Game(OptionsEdit& e) { return runPage(e, OPAGE_GAME); }
int OptionsPage_Sound(OptionsEdit& e) { return runPage(e, OPAGE_SOUND); }
int OptionsPage_Background(OptionsEdit& e) { return runPage(e, OPAGE_BACKGROUND); }
int OptionsPage_System(OptionsEdit& e) { return runPage(e, OPAGE_SYSTEM); }
