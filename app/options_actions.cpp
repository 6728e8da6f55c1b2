#include "app/options_actions.h"
#include "app/title_menu.h"
#include "library/courses.h"
#include "library/settings.h"
#include "library/song_list.h"
#include "media/audio/audio.h"
#include "media/skin/skin_config.h"
#include "media/skin/skin_images.h"
#include "media/sound/sound_fx.h"
#include "menus/available_modes.h"
#include "menus/collection.h"
#include "menus/song_list_page.h"
#include "menus/song_search_screen.h"
#include "menus/wheel_banners.h"
#include "platform/log.h"
#include "platform/frame_watch.h"

void Options_ResetSonglist() {
  WriteLog("Reset Songlist\n");
  // 1. the database anew; a folder that cannot take the new file keeps the old one
  IndexProgress search;
  runSongSearch(search, true);
  if (!search.saved) WriteLog("The new song database could not be written; 'rkv2.sng' is kept as it was\n");
  loadSongList();
  g_settings.folderIndex = SongList_WrapFolderIndex(g_settings.folderIndex);
  // the collections index the song table that was just replaced
  g_collection.rememberedSong = -1;
  g_collection.selectedIndex = ENTRY_NONE_YET;
  BuildCollection(0, nullptr, 0, 1, 0);

  // 2. the banners are read again as the wheel shows them
  WriteLog("CreateSongImages()...\n");
  WheelBanners_FreeAll();

  // 3. courses name songs by their place in the table: all of them are read again,
  // the bonus courses too
  WriteLog("Checking Courses...\n");
  loadCourses();
  loadBonusCourses();

  WriteLog("Finding Available modes...\n");
  FindAvailableModes(g_availableModes);

  WriteLog("Determining Available courses...\n");
  int counts[3] = {0, 0, 0};
  g_titleStatus.courseCount = DetermineAvailableCourses(counts);
  WriteLogf("Courses: %d SINGLE, %d DOUBLE, %d SOLO\n", counts[0], counts[1], counts[2]);

  WriteLog("Generating 'rkv2-songlist.html'...\n");
  SongList_WriteLibraryPage();
  if (!saveSettings()) WriteLog("The settings could not be saved\n");
  FrameWatch_Restart();   // the search had its progress screen: no held frame
}

void Options_ReloadSkin() {
  WriteLogf("Loading skin '%s'...\n", g_settings.skin);
  FreeImages();
  LoadImages(g_settings.skin, false);
  LoadSkinFont(g_settings.skin);
}

void Options_ReloadSounds() {
  WriteLogf("Loading sound sets: effects '%s', announcer '%s'...\n", g_settings.effectSet, g_settings.announcerSet);
  bool titleMusic = g_titleMusic != 0;
  FreeSounds();   // the title loop's channel goes with its sample
  g_titleMusic = 0;
  LoadSounds(g_settings.effectSet, g_settings.announcerSet);
  if (titleMusic) g_titleMusic = PlaySound(SND_TSLOOP);
}

OptionsHooks Options_Hooks() {
  OptionsHooks h;
  h.resetSonglist = Options_ResetSonglist;
  h.reloadSkin = Options_ReloadSkin;
  h.reloadSounds = Options_ReloadSounds;
  h.music = &g_titleMusic;
  return h;
}
