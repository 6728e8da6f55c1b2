#pragma once
// The real screen for whole-screen runs of the menus: the window on the dummy
// video driver, the keyboard and scripted input with the default bindings, and
// the game folder's Default skin when a run needs its pictures and font.
#include "library/settings.h"
#include "media/font/font.h"
#include "media/input/input.h"
#include "media/input_script.h"
#include "media/skin/skin_images.h"
#include "media/window.h"
#include <FreeImage.h>
#include <gtest/gtest.h>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

// The built game folder, beside the executable.
inline std::string TestScreen_GameFolder() {
  std::string game = TV_GAME_EXE;
  return game.substr(0, game.rfind('/'));
}

// False when the window or the keyboard does not come up.
inline bool TestScreen_Open() {
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  Bindings_Defaults();
  InputScript_Clear();
  Video_SelectBackend(true, false, true);
  return Window_Init(false, 0, false, 0, false) == 0 && Keyboard_Init(22, true) == 0;
}

// Links the game folder's `folders` into the working directory and loads the
// Default skin's pictures and its font.
inline bool TestScreen_UseGameSkin(std::initializer_list<const char*> folders = {"Skins"}) {
  std::error_code ec;
  for (const char* f : folders) std::filesystem::create_directory_symlink(TestScreen_GameFolder() + "/" + f, f, ec);
  LoadImages("Default", false);
  return Font_Load("Skins/Default", "font-Main");
}

// Scripted presses of keys (DIK codes) `atMs` after `nowMs`, each held 40 ms.
inline void TestScreen_Keys(uint32_t nowMs, const std::vector<std::pair<uint32_t, uint8_t>>& keys) {
  std::vector<ScriptEvent> events;
  for (auto [at, code] : keys) {
    events.push_back(ScriptEvent{nowMs + at, 0, 1, 0, code});
    events.push_back(ScriptEvent{nowMs + at + 40, 0, 0, 0, code});
  }
  std::sort(events.begin(), events.end(), [](const ScriptEvent& a, const ScriptEvent& b) { return a.ms < b.ms; });
  InputScript_Set(events);
}

inline void TestScreen_Close() {
  FreeImages();
  Font_Free();
  InputScript_Clear();
  Keyboard_Shutdown();
  Window_Shutdown();
}

// The F11 screenshots taken in the working directory, oldest first. With
// TV_SCREENSHOT_DIR set to a folder they are copied there, named after the test.
inline std::vector<std::string> TestScreen_Shots() {
  namespace fs = std::filesystem;
  std::vector<std::string> out;
  std::error_code ec;
  for (auto& e : fs::directory_iterator("Screenshots", ec)) out.push_back(e.path().string());
  std::sort(out.begin(), out.end(), [](auto& a, auto& b) { return fs::last_write_time(a) < fs::last_write_time(b); });
  if (const char* keep = std::getenv("TV_SCREENSHOT_DIR"))
    for (const std::string& s : out)
      fs::copy_file(s, std::string(keep) + "/" + ::testing::UnitTest::GetInstance()->current_test_info()->name() +
                           "-" + fs::path(s).filename().string(), fs::copy_options::overwrite_existing, ec);
  return out;
}

// A test on a pixel's colour.
using Pixel = std::function<bool(int r, int g, int b)>;

// A screenshot read back.
struct Shot {
  std::unique_ptr<FIBITMAP, void (*)(FIBITMAP*)> dib{nullptr, FreeImage_Unload};
  explicit Shot(const std::string& path) { dib.reset(FreeImage_Load(FIF_PNG, path.c_str(), 0)); }
  uint32_t at(int x, int y) const {
    RGBQUAD q{};
    FreeImage_GetPixelColor(dib.get(), (unsigned)x, (unsigned)(479 - y), &q);
    return (uint32_t)q.rgbRed << 16 | (uint32_t)q.rgbGreen << 8 | q.rgbBlue;
  }
  // Whether a pixel of the area passes the test.
  bool any(int x0, int y0, int x1, int y1, const Pixel& test) const {
    for (int y = y0; y < y1; y++)
      for (int x = x0; x < x1; x++)
        if (uint32_t c = at(x, y); test((int)(c >> 16), (int)(c >> 8) & 0xFF, (int)c & 0xFF)) return true;
    return false;
  }
};
