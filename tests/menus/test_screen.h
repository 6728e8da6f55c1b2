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
#include <cstdlib>
#include <filesystem>
#include <initializer_list>
#include <string>

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

inline void TestScreen_Close() {
  FreeImages();
  Font_Free();
  InputScript_Clear();
  Keyboard_Shutdown();
  Window_Shutdown();
}
