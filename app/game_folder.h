#pragma once
// Where the game runs. Started from a build folder it runs in the current
// folder, as it always has. Installed (the executable's "../share/tarvolen"
// holds the bundled content, and "../lib/tarvolen" our plug-ins, which are
// libraries and so have no place under share), it runs in the player's own game folder,
// $XDG_DATA_HOME/tarvolen (by default ~/.local/share/tarvolen), made on the first
// start with "Songs", "Courses", "Profiles", "Movies" and "Vis" and a copy of the
// bundled content. On every start the bundled files missing there (a newer
// package brought them) are copied in; nothing the player has is ever
// overwritten or removed. "--game-dir PATH" chooses another folder (filled the
// same way from whatever bundled content there is).
#include <string>
#include <vector>

struct GameFolderPlan {
  std::string folder;    // where to run; empty: the current folder, as it is
  std::vector<std::string> bundled;   // the bundled content to copy from, in order
};

// Takes "--game-dir PATH" or "--game-dir=PATH" out of the arguments (into
// `gameDir`); false when it has no value.
bool GameFolder_TakeOption(std::vector<std::string>& args, std::string& gameDir, std::string& error);
// The installed content beside an executable at `exePath` (share/tarvolen, then
// lib/tarvolen when it is there), or none when it is not installed.
std::vector<std::string> GameFolder_InstalledContent(const std::string& exePath);
// Where to run: `gameDir` when given, else the player's folder when installed,
// else the current folder. `xdgDataHome` and `home` as the environment has them
// (null when unset). False with `error` when no folder can be named.
bool GameFolder_Plan(const std::string& exePath, const std::string& gameDir, const char* xdgDataHome,
                     const char* home, GameFolderPlan& plan, std::string& error);
// Makes the folder and its sub-folders and copies in the bundled files it lacks.
// False with `error` when the folder cannot be made or used; a file that cannot
// be copied is only logged. `copied` counts the files copied.
bool GameFolder_Prepare(const GameFolderPlan& plan, std::string& error, int* copied = nullptr);
// Plans, prepares and enters the game folder for the running executable; on a
// failure prints a clear message and returns false (the game exits with 1).
bool GameFolder_Enter(std::vector<std::string>& args);
