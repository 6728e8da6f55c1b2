// The demo courses under Courses/Demo (with their banners and the folder's
// banner Courses/Demo.png) and the two bonus course files beside the game,
// which name the songs offered on the extra stages.
#include "gen.h"
#include "gen_art.h"
#include "gen_songs.h"

namespace {

bool Banner(const std::string& path, const std::string& title, const std::string& sub, double hue, uint64_t seed) {
  Canvas c = Canvas_New(256, 80, true);
  Art_Banner(c.cr, 256, 80, title, sub, hue, seed);
  bool ok = Canvas_Save(c, path);
  Canvas_Free(c);
  return ok;
}

}  // namespace

bool Gen_Courses(const GenContext& ctx) {
  const auto& songs = Demo_Songs();
  std::string dir = JoinPath(ctx.gameDir, "Courses/Demo");
  if (!MakeDirs(dir)) return false;
  bool ok = true;
  // a fixed tour of every demo song, getting harder as it goes
  {
    std::string t = "// Demo Tour: every demo song once, from easy to hard.\n";
    t += "#COURSE:Demo Tour;\n";
    t += "#LIVES:4;\n";
    t += "#COMBOMODE:1;\n";
    static const char* diff[5] = {"BASIC", "ANOTHER", "ANOTHER", "MANIAC", "MANIAC"};
    for (size_t i = 0; i < songs.size(); i++)
      t += "#SONG:Demo\\" + songs[i].title + ":" + diff[i % 5] + (i == 3 ? ":MIRROR,1.5x" : "") + ";\n";
    ok = WriteTextFile(JoinPath(dir, "demo-tour.crs"), t) && ok;
    ok = Banner(JoinPath(dir, "demo-tour.png"), "DEMO TOUR", "five songs, four lives", 200, 61) && ok;
  }
  // an endless course of random picks
  {
    std::string t = "// Demo Marathon: random demo songs one after another, for as long as you last.\n";
    t += "#COURSE:Demo Marathon;\n";
    t += "#REPEAT:YES;\n";
    t += "#RANDOMIZE:YES;\n";
    t += "#COMBO:PERFECT;\n";
    t += "#SONG:Demo\\*:3..6;\n";
    t += "#SONG:*:ANOTHER:HIDDEN;\n";
    t += "#SONG:BEST1:MANIAC;\n";
    t += "#SONG:Demo\\" + songs[0].folder + ":MANIAC:REVERSE;\n";
    ok = WriteTextFile(JoinPath(dir, "demo-marathon.crs"), t) && ok;
    ok = Banner(JoinPath(dir, "demo-marathon.png"), "MARATHON", "random songs without end", 20, 62) && ok;
  }
  ok = Banner(JoinPath(ctx.gameDir, "Courses/Demo.png"), "DEMO COURSES", "nonstop play", 160, 63) && ok;
  // extra stages: the first offers two songs at MANIAC, the second one song with a twist
  {
    std::string t = "// First extra stage.\n#COURSE:Extra Stage;\n";
    t += "#SONG:Demo\\" + songs[1].title + ":MANIAC:1.5x;\n";
    t += "#SONG:Demo\\" + songs[3].title + ":MANIAC;\n";
    ok = WriteTextFile(JoinPath(ctx.gameDir, "bonus-1.crs"), t) && ok;
    std::string u = "// Second extra stage.\n#COURSE:Bonus Stage;\n";
    u += "#SONG:Demo\\" + songs[3].title + ":SMANIAC:REVERSE,DEATH;\n";
    ok = WriteTextFile(JoinPath(ctx.gameDir, "bonus-2.crs"), u) && ok;
  }
  return ok;
}
