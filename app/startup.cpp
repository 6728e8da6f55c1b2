#include "app/startup.h"
#include "app/log.h"
#include "app/options.h"
#include <cstdio>

int GameMain(int argc, char** argv) {
  std::string line = Options_JoinArgs(argc, argv);
  Options_Parse(line, false, g_options);
  if (g_options.help) { fputs(Options_HelpText(), stdout); return 0; }
  return 0;
}
