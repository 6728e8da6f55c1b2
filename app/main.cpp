// Entry point: joins the arguments into the command line and runs the game.
#include "app/startup.h"

int main(int argc, char** argv) { return GameMain(argc, argv); }
