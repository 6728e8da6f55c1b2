#pragma once
// The content generator's parts; each writes one kind of content into the
// game folder and returns false when something could not be written.
#include <string>

#include "gen_util.h"

bool Gen_ArrowSheets(const GenContext& ctx, const std::string& skinDir);   // arrow sets, targets, freezes, flashes
bool Gen_StartupSheets(const GenContext& ctx, const std::string& skinDir); // the sprite sheets of start-up
bool Gen_ScreenPictures(const GenContext& ctx, const std::string& skinDir);// backdrops and screen parts
bool Gen_SkinConfig(const GenContext& ctx, const std::string& skinDir);    // rkv2-skin.cfg
bool Gen_FontMain(const GenContext& ctx, const std::string& skinDir);      // font-Main.png / .def
bool Gen_Sounds(const GenContext& ctx, const std::string& soundDir);       // effects, loops, announcer
bool Gen_Songs(const GenContext& ctx, const std::string& songsDir);        // Songs/Demo
bool Gen_Courses(const GenContext& ctx);                                   // Courses/Demo and bonus files
bool Gen_Movies(const GenContext& ctx);                                    // Movies/Random/tv-drift.avi
bool Gen_Icons(const GenContext& ctx, const std::string& iconDir);         // hicolor/NxN/apps/tarvolen.png
// Composes a preview of the generated pictures (for looking at them, not shipped).
bool Gen_ContactSheet(const GenContext& ctx, const std::string& outPath);
// A mock of the title menu drawn with the skin and its font, as the game shows it.
bool Gen_TitleMock(const GenContext& ctx, const std::string& outPath);
void Gen_ContactPick(const std::string& commaList);  // files (relative to the game folder) to show
