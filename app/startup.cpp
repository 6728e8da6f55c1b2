#include "app/startup.h"
#include "app/arcade_game.h"
#include "app/driver.h"
#include "platform/log.h"
#include "app/options.h"
#include "platform/pacer.h"
#include "app/message_screen.h"
#include "app/replay_game.h"
#include "app/test_mode.h"
#include "app/title_menu.h"
#include "chart/random.h"
#include "menus/available_modes.h"
#include "app/warning_screen.h"
#include "library/profiles.h"
#include "library/records.h"
#include "library/courses.h"
#include "menus/song_list_page.h"
#include "library/song_list.h"
#include "menus/collection.h"
#include "menus/song_search_screen.h"
#include "menus/wheel_banners.h"
#include "play/play_record.h"
#include "media/audio/audio.h"
#include "media/background/movie_player.h"
#include "media/vis/vis.h"
#include "menus/options_pages.h"
#include "media/draw_helpers.h"
#include "media/font/font.h"
#include "media/skin/skin_config.h"
#include "media/skin/skin_images.h"
#include "media/sound/sound_fx.h"
#include "library/settings.h"
#include "library/joystick_names.h"
#include "library/tarvolen_ini.h"
#include "media/input/input.h"
#include "media/input_script.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/msgbox.h"
#include "platform/priority.h"
#include "platform/frame_watch.h"
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

std::string g_programDir;
int g_soundLatencyMs = 0;
bool g_firstRun = false;
IndexProgress g_scan;

namespace {
void setWorkingSet(const StartOptions& o) {
  // Linux has no working-set bounds to pin; the attempt is reported as refused.
  WriteLog("Unable to set Working RAM size - using Windows Default\n");
  (void)o;
}

// Everything a failed start-up had opened, in reverse order.
void shutDownEarly() {
  Font_Free();
  Audio_Free();
  Driver_CloseDevices();
  Pacer_End();
}

bool startSound(const StartOptions& o) {
  int count = 0;
  while (const char* name = Audio_GetDeviceDescription(count)) {
    WriteLogf("Sound Device %d: %s\n", count + 1, name);
    count++;
  }
  WriteLogf("Found %d Sound Devices...\n", count);
  int device = -1;
  if (o.soundDevice >= 1 && o.soundDevice <= count) {
    WriteLogf("Using Sound Device %d...\n", o.soundDevice);
    device = o.soundDevice - 1;
  }
  WriteLog("Initialising sound system (BASS_Init())...\n");
  uint32_t rate = g_settings.frequency == 0 ? 11025 : g_settings.frequency == 1 ? 22050 : 44100;
  uint32_t flags = AUDIO_DEVICE_LATENCY;
  if (g_settings.stereo == 0) flags |= AUDIO_DEVICE_MONO;
  if (g_settings.sixteenBit == 0) flags |= AUDIO_DEVICE_8BITS;
  if (!Audio_Init(device, rate, flags, nullptr)) return false;
  AudioInfo info{};
  info.size = sizeof info;
  Audio_GetInfo(&info);
  g_soundLatencyMs = (int)info.latency;
  WriteLogf("BASS.dll says sound card latency at: %d\n", g_soundLatencyMs);
  return true;
}

void shutDown(bool testMode) {
  if (!testMode) {
    g_settings.sortBy = g_storedSortBy;
    saveSettings();
    freeRecords(g_records);
  }
  g_background.Free();
  WheelBanners_FreeAll();
  Vis_Unload();
  g_optionsPlugins = OptionsPlugins{};
  Movie_Shutdown();
  Pacer_End();
  FreeImages();
  Audio_Stop();
  FreeSounds();
  Font_Free();
  Draw_Free();
  Audio_Free();
  Driver_CloseDevices();
}
}

int GameMain(int argc, char** argv) {
  Clock_Start();
  // under a file-size limit a save fails and says so, the old file kept, rather
  // than the game being killed in the middle of it
  signal(SIGXFSZ, SIG_IGN);
  std::string line = Options_JoinArgs(argc, argv);
  StartOptions& o = g_options;
  Options_Parse(line, false, o);
  if (o.help) {
    fputs(Options_HelpText(), stdout);
    return 0;
  }
  if (o.version) {
    puts("Tarvolen " TV_VERSION_TEXT);
    return 0;
  }

  // 1. log
  LogOff();
  if (o.logLevel >= 0) LogOpen(o.logLevel);
  // 2. program folder
  g_programDir = Dir_Current();
  if (g_programDir.size() > 511) g_programDir.resize(511);
  // 3. and 4. process size and priority
  setWorkingSet(o);
  Priority_RaiseProcess();

  // 5. the audio library's version
  if (Audio_GetVersion() < 0x60001) {
    MessageBox_Show("Version of BASS.dll is incorrect, or not found.\n(Require v1.6 or higher.  v1.8 recommended)",
                    "Error");
    return 1;
  }

  // 6. joysticks, settings and key bindings; then every option over the defaults
  Joystick_Init();
  Vis_Search("Vis");
  g_optionsPlugins.count = Vis_Count();
  g_optionsPlugins.names = Vis_Names();
  loadSettings(Vis_Count());
  // our own settings beside the fixed record, then the bound joysticks by name
  WriteLog("Loading tarvolen.ini...\n");
  TarvolenIni_Load();
  JoystickNames_Load();
  Options_Parse(line, g_settings.fullScreen == 1, o);
  g_settings.assistTick = 0;
  g_collectionShowSM = o.showSM;
  g_play.rules.resultsPath = o.resultsPath;
  g_play.rules.threadPriority = o.threadPriority;
  g_play.rules.boost = o.boost;
  g_play.rules.altCombo = o.altCombo;
  g_play.rules.afterSong = AfterSong;
  if (!o.inputPath.empty()) InputScript_Load(o.inputPath.c_str());

  // 8. frame timer
  FrameWatch_Init();
  if (!Pacer_Init(o.fps)) {
    MessageBox_Show("Could not call CreateEvent()...", "ERROR");
    return 1;
  }

  // 9.-11. window, keyboard, video
  WriteLog("STARTING RKV...\n");
  WriteLog("Initialising Graphics...");
  if (!Driver_OpenDevices(o)) {
    MessageBox_Show("Could not initialize video surface", "Error");
    Driver_CloseDevices();
    Pacer_End();
    return 1;
  }
  // 12. thread priority
  if (o.threadPriority) Priority_RaiseThread(o.threadPriority);

  // 13. the main font, from the skin or else from Default
  WriteLog("Loading fonts...\n");
  LoadSkinFont(g_settings.skin);
  MessageScreen_Install();

  // 14.-16. sound
  if (!startSound(o)) {
    MessageBox_Show("Unable to initialise sound", "Error");
    shutDownEarly();
    return 1;
  }

  // 17. records
  if (!o.test.active) {
    WriteLog("Loading records file...\n");
    loadRecords(g_records);
    g_firstRun = g_records.records.empty();
    for (SongRecord& r : g_records.records) r.used = 0;
  }
  // 18. skins, sound sets, profiles, effects; output starts
  WriteLog("Loading skins and announcers...\n");
  ListSkins(g_settings.skin, sizeof g_settings.skin);
  ListSoundSets(g_settings.announcerSet, sizeof g_settings.announcerSet, g_settings.effectSet,
                sizeof g_settings.effectSet);
  WriteLog("Loading user profiles...\n");
  listProfiles();
  WriteLog("Loading sound effects...\n");
  LoadSounds(g_settings.effectSet, g_settings.announcerSet);
  WriteLog("Starting sound...\n");
  Audio_Start();
  Audio_SetVolume(g_settings.volume);
  // 19. skin graphics
  WriteLog("About to call LoadImages();\n");
  LoadImages(g_settings.skin, o.test.active);
  WriteLog("Initialising movie support...\n");
  Movie_Init();

  // 20. the song library
  if (!o.test.active) {
    if (o.scanSongs) {
      WriteLog("Searching for songs (Songs folder)...\n");
      runSongSearch(g_scan);
    }
    loadSongList();
    if (g_scan.added + g_scan.updated + g_scan.deleted > 0) SongList_WriteLibraryPage();
    g_settings.folderIndex = SongList_WrapFolderIndex(g_settings.folderIndex);
    WriteLog("Loading defined courses...\n");
    loadCourses();
  }
  // 22. which styles have songs
  if (!o.test.active) {
    WriteLog("Finding Available modes...\n");
    FindAvailableModes(g_availableModes);
    WriteLog("Determining Available courses...\n");
    int counts[3] = {0, 0, 0};
    g_titleStatus.courseCount = DetermineAvailableCourses(counts);
    loadBonusCourses();
    g_titleStatus.scanChanged = g_scan.added + g_scan.updated + g_scan.deleted > 0;
    g_titleStatus.added = g_scan.added;
    g_titleStatus.updated = g_scan.updated;
    g_titleStatus.deleted = g_scan.deleted;
  }
  // 23. the warning screen on a first run or when new songs were found
  if (!o.test.active && o.replayPath.empty()) {
    WriteLog("Warning screen...\n");
    if (g_firstRun || g_scan.added > 0) WarningScreen(g_scan.added);
  }

  // 24.
  WriteLog("Clearing window...\n");
  Driver_ClearScreen();
  // 25. the song collections
  if (!o.test.active) {
    WriteLog("Setting up initial collections...\n");
    BuildCollection(0, nullptr, 0, 1, 0);
  }
  // 26.
  WriteLog("Seeding random number generator...\n");
  srand((unsigned)time(nullptr));
  Random_Seed((uint32_t)time(nullptr));  // the game's own generator: shuffles, picks, collections

  int status = 0;
  if (o.test.active) {
    status = TestMode_Run(o.test);
  } else if (!o.replayPath.empty()) {
    // a check by a script writes the results and needs no evaluation
    status = ReplayGame_Watch(o.replayPath, o.resultsPath.empty());
  } else {
    // the wheel's banners are read as their songs come into view: none is loaded here
    WriteLog("Loading song title images...\n");
    WriteLog("Starting main loop...\n");
    g_titleMusic = PlaySound(SND_TSLOOP);
    Driver_Run();
  }
  shutDown(o.test.active);
  return status;
}
