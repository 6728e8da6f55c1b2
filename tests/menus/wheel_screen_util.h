#pragma once
// Whole runs of the song wheel and the modifier screen on the dummy window with
// scripted keys, in a scratch folder that sees the generated Default skin and
// the demo songs. Screenshots taken with F11 are copied to $TV_SHOT_DIR when it
// is set, to be looked at.
#include "menus/test_screen.h"
#include "collection_test_util.h"
#include "media/font/font.h"
#include "media/input/input.h"
#include "media/input_script.h"
#include "media/render/screen.h"
#include "media/skin/skin_images.h"
#include "media/window.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "support/test_support.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

// Default keys (DIK scan codes).
namespace key {
constexpr int kEscape = 1, kF11 = 87, kF3 = 61, kF4 = 62, kF12 = 88;
// player 1: W S A D, Q E, Tab, Space
constexpr int kUp = 17, kDown = 31, kLeft = 30, kRight = 32, kUpLeft = 16, kUpRight = 18, kSelect = 15, kStart = 57;
// player 2: arrows, Home, PgUp, Insert, Enter
constexpr int kUp2 = 200, kDown2 = 208, kLeft2 = 203, kRight2 = 205, kSelect2 = 210, kStart2 = 28;
}  // namespace key

// A script of taps: each key goes down at its time (ms after the script starts)
// and up 50 ms later. A screen's repeating controls ignore a first press shorter
// than the repeat step after the screen starts: `hold` it.
struct KeyScript {
  std::vector<ScriptEvent> events;
  uint32_t at = 0;
  // taps `code` after `waitMs` more
  KeyScript& tap(int code, uint32_t waitMs = 200) {
    at += waitMs;
    events.push_back(ScriptEvent{at, 0, 1, 0, (uint8_t)code});
    events.push_back(ScriptEvent{at + 50, 0, 0, 0, (uint8_t)code});
    return *this;
  }
  // presses button `button` of joystick `joystick` (both from 0) after `waitMs` more
  KeyScript& joy(int joystick, int button, uint32_t waitMs = 200) {
    at += waitMs;
    events.push_back(ScriptEvent{at, 1, 1, (uint8_t)joystick, (uint8_t)button});
    events.push_back(ScriptEvent{at + 50, 1, 0, (uint8_t)joystick, (uint8_t)button});
    return *this;
  }
  KeyScript& hold(int code, uint32_t waitMs, uint32_t forMs) {
    at += waitMs;
    events.push_back(ScriptEvent{at, 0, 1, 0, (uint8_t)code});
    events.push_back(ScriptEvent{at + forMs, 0, 0, 0, (uint8_t)code});
    at += forMs;
    return *this;
  }
  // Starts the script now.
  void run() {
    uint32_t now = Clock_Ms();
    std::vector<ScriptEvent> e = events;
    for (ScriptEvent& s : e) s.ms += now;
    InputScript_Set(e);
  }
};

// The F11 pictures of this run, copied to $TV_SHOT_DIR (when set) under the
// test's name, in the order they were taken.
inline void KeepScreenShots() {
  const char* out = getenv("TV_SHOT_DIR");
  if (!out || !std::filesystem::exists("Screenshots")) return;
  std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
  std::vector<std::filesystem::path> shots;
  for (auto& e : std::filesystem::directory_iterator("Screenshots")) shots.push_back(e.path());
  // their names sort "x-2" before "x": the times tell the order
  std::sort(shots.begin(), shots.end(), [](const auto& a, const auto& b) {
    return std::filesystem::last_write_time(a) < std::filesystem::last_write_time(b);
  });
  for (size_t i = 0; i < shots.size(); i++)
    std::filesystem::copy_file(shots[i], std::string(out) + "/" + name + "-" + std::to_string(i + 1) + ".png",
                               std::filesystem::copy_options::overwrite_existing);
}

class WheelScreenRun : public ::testing::Test {
 protected:
  TempDir dir;
  std::string game;

  void SetUp() override {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    ResetCollectionWorld();
    g_settings.timeLimit = 0;
    FunctionKeys_Setup();
    ASSERT_TRUE(TestScreen_Open());
    game = TestScreen_GameFolder();
    ASSERT_TRUE(TestScreen_UseGameSkin({"Skins", "Songs", "Sounds"}));
  }
  void TearDown() override {
    KeepScreenShots();
    TestScreen_Close();
  }
  // The demo songs with their banners, and songs of two more folders without.
  void DemoLibrary() {
    std::vector<SongEntry> songs;
    const char* demo[4][3] = {{"glass-circuit", "Glass Circuit", "Tarvolen Sound Team"},
                              {"neon-stride", "Neon Stride", "Tarvolen Sound Team"},
                              {"paper-lanterns", "Paper Lanterns", "Lantern Collective"},
                              {"starfall-run", "Starfall Run", "Tarvolen Sound Team"}};
    for (int i = 0; i < 4; i++) {
      SongSpec s{"Demo", demo[i][0], demo[i][1], demo[i][2], "|Electronic|", {2 + i, 4 + i, 7 + i, 0, 3 + i, 5 + i}};
      s.banner = std::string(demo[i][0]) + "-banner.png";
      s.bpm = 120 + 10 * i;
      s.bpmMin = s.bpmMax = 120 + 10 * i;
      songs.push_back(MakeSong(s));
    }
    const char* more[8] = {"Afterglow", "Brass Horizon", "Cobalt Skies", "Drift Theory", "Ember Gate",
                           "Fable of Lights", "Glimmer Road", "Hollow Echo"};
    for (int i = 0; i < 8; i++) {
      SongSpec s{i < 5 ? "Pack Alpha" : "Pack Beta", "", more[i], "Artist " + std::to_string(i), "|Pop|",
                 {1 + i % 4, 3 + i % 5, 6 + i % 4, i % 3 ? 10 : 0}};
      s.banner = "";
      songs.push_back(MakeSong(s));
      songs.back().newState = i % 3 == 0 ? 1 : 0;
    }
    for (SongEntry& e : songs) {
      e.displayBpm = -1;
      for (int c = 0; c < kChartSlots; c++)
        e.figures[c] = {20.0 + 9 * c + e.levels[c] * 5, 30.0 + e.levels[c] * 6, 10.0 + e.levels[c] * 4,
                        15.0 + 3 * c, 25.0 + e.levels[c] * 7};
    }
    SetLibrary(songs);
  }
};
