#include "gen.h"
bool Gen_Songs(const GenContext&, const std::string&) { return true; }
bool Gen_Courses(const GenContext&) { return true; }
