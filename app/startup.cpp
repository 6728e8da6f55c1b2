#include "app/startup.h"
#include "app/driver.h"
#include "app/log.h"
#include "app/options.h"
#include "app/pacer.h"
#include "app/test_mode.h"
#include "library/settings.h"
#include "media/input/input.h"
#include "media/input_script.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/msgbox.h"
#include "platform/priority.h"
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

std::string g_programDir;

namespace {
// The value of "sortBy" at start-up: menus may change it, the stored file keeps it.
uint8_t g_startSortBy = 1;

void setWorkingSet(const StartOptions& o) {
  // Linux has no working-set bounds to pin; the attempt is reported as refused.
  WriteLog("Unable to set Working RAM size - using Windows Default\n");
  (void)o;
}

void shutDown(bool testMode) {
  if (!testMode) {
    g_settings.sortBy = g_startSortBy;
    saveSettings();
  }
  Pacer_End();
  Driver_CloseDevices();
}
}

int GameMain(int argc, char** argv) {
  Clock_Start();
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

  // 6. joysticks, settings and key bindings; then every option over the defaults
  Joystick_Init();
  loadSettings(0);
  Options_Parse(line, g_settings.fullScreen == 1, o);
  g_settings.assistTick = 0;
  g_startSortBy = g_settings.sortBy;
  if (!o.inputPath.empty()) InputScript_Load(o.inputPath.c_str());

  // 8. frame timer
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

  // 24.
  WriteLog("Clearing window...\n");
  Driver_ClearScreen();
  // 26.
  WriteLog("Seeding random number generator...\n");
  srand((unsigned)time(nullptr));

  int status = 0;
  if (o.test.active) {
    status = TestMode_Run(o.test);
  } else {
    WriteLog("Starting main loop...\n");
    Driver_Run();
  }
  shutDown(o.test.active);
  return status;
}
