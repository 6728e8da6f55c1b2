// tv_contentgen: makes every asset the game ships (the Default skin and its
// font, the Default sound set, the demo songs and courses, the random-background
// movie) into a game folder.
//
//   tv_contentgen GAMEDIR [--only=skin,font,sounds,songs,courses,movies] [--no-voice]
//                 [--fonts=DIR] [--contact=PNG [--pick=FILE,...]] [--mock=PNG]
//   tv_contentgen --icons=DIR
//
// --contact and --mock only draw previews of an already generated folder;
// --icons draws the desktop icon at every size into DIR/hicolor/.
//
// The output depends on nothing but this program and the DejaVu font files:
// fixed seeds, no clock, no environment. A full run first removes the folders
// it owns (Skins/Default, Sounds/Default, Songs/Demo, Courses/Demo and the
// two bonus course files, and Movies/Random/tv-drift.avi) so that nothing
// stale is left behind.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <set>
#include <string>

#include "gen.h"
#include "gen_draw.h"

#ifndef TV_DEJAVU_DIR
#define TV_DEJAVU_DIR "/usr/share/fonts/truetype/dejavu"
#endif

static std::string FindEspeak() {
  const char* path = std::getenv("PATH");
  std::string dirs = path ? path : "/usr/bin:/bin";
  size_t start = 0;
  while (start <= dirs.size()) {
    size_t end = dirs.find(':', start);
    if (end == std::string::npos) end = dirs.size();
    std::string cand = JoinPath(dirs.substr(start, end - start), "espeak-ng");
    if (!dirs.substr(start, end - start).empty() && access(cand.c_str(), X_OK) == 0) return cand;
    start = end + 1;
  }
  return "";
}

static double Seconds(std::chrono::steady_clock::time_point a) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - a).count();
}

int main(int argc, char** argv) {
  GenContext ctx;
  ctx.fontDir = TV_DEJAVU_DIR;
  std::set<std::string> only;
  bool voices = true;
  std::string contact, mock, icons;
  for (int i = 1; i < argc; i++) {
    std::string a = argv[i];
    if (a.rfind("--only=", 0) == 0) {
      std::string list = a.substr(7);
      size_t s = 0;
      while (s <= list.size()) {
        size_t e = list.find(',', s);
        if (e == std::string::npos) e = list.size();
        if (e > s) only.insert(list.substr(s, e - s));
        s = e + 1;
      }
    } else if (a == "--no-voice") {
      voices = false;
    } else if (a.rfind("--fonts=", 0) == 0) {
      ctx.fontDir = a.substr(8);
    } else if (a.rfind("--contact=", 0) == 0) {
      contact = a.substr(10);
    } else if (a.rfind("--icons=", 0) == 0) {
      icons = a.substr(8);
    } else if (a.rfind("--mock=", 0) == 0) {
      mock = a.substr(7);
    } else if (a.rfind("--pick=", 0) == 0) {
      Gen_ContactPick(a.substr(7));
    } else if (a == "--help" || a == "-h") {
      std::printf("usage: %s GAMEDIR [--only=skin,font,sounds,songs,courses,movies] [--no-voice] [--fonts=DIR] "
                  "[--contact=PNG [--pick=FILE,...]] [--mock=PNG]\n", argv[0]);
      return 0;
    } else if (ctx.gameDir.empty()) {
      ctx.gameDir = a;
    } else {
      std::fprintf(stderr, "contentgen: unexpected argument '%s'\n", a.c_str());
      return 2;
    }
  }
  if (!icons.empty()) {
    if (!Draw_Init(ctx)) return 1;
    bool ok = Gen_Icons(ctx, icons);
    Draw_Shutdown();
    return ok ? 0 : 1;
  }
  if (ctx.gameDir.empty()) {
    std::fprintf(stderr, "contentgen: no game folder given (try --help)\n");
    return 2;
  }
  if (voices) ctx.espeak = FindEspeak();
  auto want = [&](const char* part) { return only.empty() || only.count(part) > 0; };

  if (!Draw_Init(ctx)) return 1;
  if (!contact.empty() || !mock.empty()) {
    bool ok = true;
    if (!contact.empty()) ok = Gen_ContactSheet(ctx, contact) && ok;
    if (!mock.empty()) ok = Gen_TitleMock(ctx, mock) && ok;
    Draw_Shutdown();
    return ok ? 0 : 1;
  }

  std::string skinDir = JoinPath(ctx.gameDir, "Skins/Default");
  std::string soundDir = JoinPath(ctx.gameDir, "Sounds/Default");
  std::string songsDir = JoinPath(ctx.gameDir, "Songs/Demo");
  if (only.empty()) {
    RemoveTree(skinDir);
    RemoveTree(soundDir);
    RemoveTree(songsDir);
    RemoveTree(JoinPath(ctx.gameDir, "Courses/Demo"));
    std::filesystem::remove(JoinPath(ctx.gameDir, "bonus-1.crs"));
    std::filesystem::remove(JoinPath(ctx.gameDir, "bonus-2.crs"));
  }
  auto t0 = std::chrono::steady_clock::now();
  if (want("skin") || want("font")) MakeDirs(skinDir);
  if (want("skin")) {
    auto t = std::chrono::steady_clock::now();
    Gen_ArrowSheets(ctx, skinDir);
    Gen_StartupSheets(ctx, skinDir);
    Gen_ScreenPictures(ctx, skinDir);
    Gen_SkinConfig(ctx, skinDir);
    std::printf("contentgen: skin pictures %.2f s\n", Seconds(t));
  }
  if (want("font")) {
    auto t = std::chrono::steady_clock::now();
    Gen_FontMain(ctx, skinDir);
    std::printf("contentgen: font %.2f s\n", Seconds(t));
  }
  if (want("sounds")) {
    auto t = std::chrono::steady_clock::now();
    MakeDirs(soundDir);
    Gen_Sounds(ctx, soundDir);
    std::printf("contentgen: sounds %.2f s (%s)\n", Seconds(t),
                ctx.espeak.empty() ? "no voices" : "voices by espeak-ng");
  }
  if (want("songs")) {
    auto t = std::chrono::steady_clock::now();
    MakeDirs(songsDir);
    Gen_Songs(ctx, songsDir);
    std::printf("contentgen: songs %.2f s\n", Seconds(t));
  }
  if (want("courses")) Gen_Courses(ctx);
  if (want("movies")) {
    auto t = std::chrono::steady_clock::now();
    Gen_Movies(ctx);
    std::printf("contentgen: movies %.2f s\n", Seconds(t));
  }
  Draw_Shutdown();
  std::printf("contentgen: done in %.2f s, %d failure(s)\n", Seconds(t0), GenFailures());
  return GenFailures() == 0 ? 0 : 1;
}
