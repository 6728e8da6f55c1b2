// The layer check over the game's own sources, and over a small tree of
// deliberate faults to show that it names each of them.
#include "support/test_support.h"
#include <gtest/gtest.h>
#include <cstdio>
#include <filesystem>
#include <string>
#include <sys/wait.h>

namespace {
struct CheckRun {
  int status = -1;
  std::string output;
};

CheckRun checkLayers(const std::string& root) {
  std::string cmd = std::string("bash '") + TV_SOURCE_DIR + "/tools/check_layers.sh' '" + root + "' 2>&1";
  CheckRun r;
  FILE* p = popen(cmd.c_str(), "r");
  if (!p) return r;
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, p)) > 0) r.output.append(buf, n);
  int w = pclose(p);
  r.status = WIFEXITED(w) ? WEXITSTATUS(w) : -1;
  return r;
}

void put(const std::string& path, const std::string& text) {
  std::filesystem::path parent = std::filesystem::path(path).parent_path();
  if (!parent.empty()) std::filesystem::create_directories(parent);
  WriteFile(path, text);
}
}  // namespace

TEST(LayerCheck, TheGameFollowsItsLayers) {
  CheckRun r = checkLayers(TV_SOURCE_DIR);
  EXPECT_EQ(r.status, 0) << r.output;
  EXPECT_NE(r.output.find("platform < chart < media < library < play < menus < app"), std::string::npos) << r.output;
}

TEST(LayerCheck, NamesEveryIncludeThatGoesUpOrSideways) {
  TempDir dir;
  put("CMakeLists.txt", "project(x)\nset(TV_LAYERS platform chart media library play menus app)\n");
  put("platform/clock.h", "#pragma once\n#include <cstdint>\n#include \"app/driver.h\"\n");
  put("chart/timing.cpp", "#include \"chart/timing.h\"\n#include \"platform/clock.h\"\n# include <play/player.h>\n");
  put("media/audio/mixer.cpp", "#include \"audio_state.h\"\n#include \"../../library/settings.h\"\n");
  put("media/audio/audio_state.h", "#pragma once\n");
  put("library/records.cpp", "#include \"tests/support/test_support.h\"\n// #include \"menus/collection.h\"\n");
  put("menus/wheel.cpp", "#include \"library/records.h\"\n#include \"play/player.h\"\n#include \"media/window.h\"\n");
  put("play/song.cpp", "#include \"menus/wheel.h\"\n");
  CheckRun r = checkLayers(dir.path);
  EXPECT_EQ(r.status, 1) << r.output;
  const char* const named[] = {
      "platform/clock.h:3: includes \"app/driver.h\": app is above platform",
      "chart/timing.cpp:3: includes \"play/player.h\": play is above chart",
      "media/audio/mixer.cpp:2: includes \"../../library/settings.h\": library is above media",
      "library/records.cpp:1: includes \"tests/support/test_support.h\", which is outside the game's layers",
      "play/song.cpp:1: includes \"menus/wheel.h\": menus is above play",
      "5 include(s) against the order",
  };
  for (const char* line : named) EXPECT_NE(r.output.find(line), std::string::npos) << line << "\n" << r.output;
  // includes downwards, within a folder, in a comment or of system headers pass
  EXPECT_EQ(r.output.find("menus/wheel.cpp"), std::string::npos) << r.output;
  EXPECT_EQ(r.output.find("audio_state"), std::string::npos) << r.output;
  EXPECT_EQ(r.output.find("collection.h"), std::string::npos) << r.output;
}

TEST(LayerCheck, RefusesATreeWithoutItsOrder) {
  TempDir dir;
  put("CMakeLists.txt", "project(x)\n");
  put("app/main.cpp", "#include \"platform/log.h\"\n");
  CheckRun r = checkLayers(dir.path);
  EXPECT_EQ(r.status, 2) << r.output;
}
