// Entry point: enters the game folder, joins the arguments into the command line
// and runs the game.
#include "app/game_folder.h"
#include "app/startup.h"
#include <string>
#include <vector>

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  bool justTelling = false;   // --help and --version need no game folder
  for (const std::string& a : args) justTelling |= a == "--help" || a == "--version";
  if (!justTelling && !GameFolder_Enter(args)) return 1;
  std::vector<char*> rest{argv[0]};
  for (std::string& a : args) rest.push_back(a.data());
  rest.push_back(nullptr);
  return GameMain((int)rest.size() - 1, rest.data());
}
