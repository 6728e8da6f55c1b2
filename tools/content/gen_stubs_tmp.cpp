#include "gen.h"
bool Gen_StartupSheets(const GenContext&, const std::string&) { return true; }
bool Gen_ScreenPictures(const GenContext&, const std::string&) { return true; }
bool Gen_SkinConfig(const GenContext&, const std::string&) { return true; }
bool Gen_FontMain(const GenContext&, const std::string&) { return true; }
bool Gen_Sounds(const GenContext&, const std::string&) { return true; }
bool Gen_Songs(const GenContext&, const std::string&) { return true; }
bool Gen_Courses(const GenContext&) { return true; }
