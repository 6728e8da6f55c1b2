#pragma once
// What the options menu asks of the shell: "Reset Songlist" (the library made
// anew, with everything that hangs on the song table), and a new skin or sound
// set taking effect.
#include "menus/options_menu.h"

// The six steps of "Reset Songlist": the song database made anew from the song
// folders with the progress screen (the old "rkv2.sng" is replaced only once the
// new one is written), the song table reloaded and the selected folder kept
// within the folders; the banners released; the courses read again; the
// available styles and courses found; "rkv2-songlist.html" written and the
// settings saved.
void Options_ResetSonglist();
// The skin of g_settings: its configuration, colours, sheets and font, as at start-up.
void Options_ReloadSkin();
// The effect and announcer sets of g_settings: every sample reloaded; the title
// music, when it was playing, starts again from the new set.
void Options_ReloadSounds();
// The three, for OptionsMenu.
OptionsHooks Options_Hooks();
