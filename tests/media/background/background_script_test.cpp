// The background script: timelines, definition lines, the random timeline and
// the reset and priming of the definitions.
#include <gtest/gtest.h>
#include <algorithm>
#include <string>
#include <vector>
#include "chart/random.h"
#include "media/background/animation_strip.h"
#include "media/background/background.h"
#include "media/background/bg_script_internal.h"
#include "media/render/image.h"
#include "platform/log.h"
#include "support/test_support.h"

namespace {
std::vector<std::string> g_log;
void Listen(const char* line) { g_log.push_back(line); }

const char* kSong = "Songs/Group/Song";

const char* kCanonical =
    "#TITLE:Living;\n"
    "#BACKGROUND:\n"
    "1:LAYER:0:FILE:stage.png;\n"
    "2:LAYER:1:FILE:sparks.png:ANIMATE:8:SIZE:1:MOVE:2,0:TILED:1:SPACING:16,16;\n"
    "3:LAYER:2:FILE:ring.png:POSITION:192,112:STRETCH:64,64,256,256,32:FADE:255,0,32;\n"
    "4:LAYER:0:MOVIE:.\\Movies\\Random\\tv-drift.avi:STARTAT:2:KEEPTIME;\n"
    "5:LAYER:0:VIS:tv-spectrum.svp;\n"
    "6:LAYER:1:OFF;\n"
    "SCRIPT:1.......2.......(3...)...4.......[5.5.5.]6...;\n"
    "#END;\n";

class BgScript : public ::testing::Test {
 protected:
  TempDir dir;
  BackgroundParams params;
  void SetUp() override {
    params.loadSources = false;
    params.randomAnimations = 0;
    g_log.clear();
    Log_SetListener(Listen);
  }
  void TearDown() override {
    Log_SetListener(nullptr);
    ResetBackgrounds();
  }
  void Parse(const std::string& text) {
    g_log.clear();
    BackgroundScript_FromText(text.data(), text.size(), kSong, params);
  }
  // The events as "position:id" items.
  static std::string Events() {
    std::string s;
    char item[40];
    for (const BackgroundEvent& e : g_backgrounds.events) {
      snprintf(item, sizeof item, "%s%g:%d", s.empty() ? "" : " ", e.position, e.id);
      s += item;
    }
    return s;
  }
  static std::vector<BackgroundEvent> Timeline(const std::string& value) {
    std::vector<BackgroundEvent> events;
    BgScript_Timeline(value, events);
    return events;
  }
  static bool Logged(const std::string& part) {
    return std::any_of(g_log.begin(), g_log.end(), [&](const std::string& l) { return l.find(part) != std::string::npos; });
  }
  static std::string Section(const std::string& lines) { return "#BACKGROUND:\n" + lines + "#END;\n"; }
};

TEST_F(BgScript, TimelineStepsBracketsAndCommas) {
  // brackets change the step, the dot after the closer moves on without an event
  std::vector<BackgroundEvent> e = Timeline("12(34).");
  ASSERT_EQ(e.size(), 4u);
  double want[4] = {0, 2, 4, 5};
  for (int i = 0; i < 4; i++) {
    EXPECT_DOUBLE_EQ(e[i].position, want[i]);
    EXPECT_EQ(e[i].id, i + 1);
  }
  struct { const char* value; double second; } steps[] = {
      {"[12]", 2.0 / 3}, {"{12}", 0.25}, {"`12'", 1.0 / 12}, {"<12>", 0}, {"(1)2", 1}, {"(12]", 1}};
  for (auto& s : steps) {
    e = Timeline(s.value);
    ASSERT_EQ(e.size(), 2u) << s.value;
    EXPECT_DOUBLE_EQ(e[1].position, s.second) << s.value;
  }
  // each closer goes back to eighths
  for (const char* v : {"(1)23", "[1]23", "{1}23", "`1'23", "<1>23", "`1>23"}) {
    e = Timeline(v);
    EXPECT_DOUBLE_EQ(e[2].position - e[1].position, 2) << v;
  }
  // "," moves back over the step the character before it took
  e = Timeline("1,2.,3(4,5");
  ASSERT_EQ(e.size(), 5u);
  EXPECT_DOUBLE_EQ(e[0].position, 0);
  EXPECT_DOUBLE_EQ(e[1].position, 0);
  EXPECT_DOUBLE_EQ(e[2].position, 2);   // the dot advanced to 4, the comma came back to 2
  EXPECT_DOUBLE_EQ(e[3].position, 4);
  EXPECT_DOUBLE_EQ(e[4].position, 4);
  // after anything that did not advance a comma does nothing
  e = Timeline(",1(,2,,3");
  EXPECT_DOUBLE_EQ(e[0].position, 0);
  EXPECT_DOUBLE_EQ(e[1].position, 2);
  EXPECT_DOUBLE_EQ(e[2].position, 2);   // one comma backed up, the second did not
  // ids: digits 0-9, letters 10-35; blanks and line breaks only lay it out
  e = Timeline("0 9\nAZ");
  ASSERT_EQ(e.size(), 4u);
  EXPECT_EQ(e[0].id, 0);
  EXPECT_EQ(e[1].id, 9);
  EXPECT_EQ(e[2].id, 10);
  EXPECT_EQ(e[3].id, 35);
  EXPECT_DOUBLE_EQ(e[3].position, 6);
}

TEST_F(BgScript, ScriptLinesSortedAndSpanningLines) {
  Parse(Section("SCRIPT:12\n  34;\nSCRIPT:.5;\n"));
  EXPECT_EQ(Events(), "0:1 2:2 2:5 4:3 6:4");
  // a SCRIPT value without its ";" runs to the end of the text, and is reported
  Parse("#BACKGROUND:\nSCRIPT:1(2");
  EXPECT_EQ(Events(), "0:1 2:2");
  EXPECT_TRUE(Logged("without its ';'"));
  EXPECT_TRUE(Logged("no #END;"));
  // lower case and other characters are left out with one line for the lot
  g_log.clear();
  std::vector<BackgroundEvent> e = Timeline("1ab#2");
  EXPECT_EQ(e.size(), 2u);
  EXPECT_EQ(std::count_if(g_log.begin(), g_log.end(),
                          [](const std::string& l) { return l.find("not background ids") != std::string::npos; }),
            1);
}

TEST_F(BgScript, CanonicalSectionDefinesEveryKind) {
  Parse(kCanonical);
  const Background* d = g_backgrounds.defs;
  EXPECT_TRUE(g_backgrounds.scriptUsed);
  EXPECT_EQ(d[0].type, BG_PICTURE);
  EXPECT_EQ(d[0].picture, nullptr);
  EXPECT_EQ(d[1].type, BG_PICTURE);
  EXPECT_EQ(d[1].layer, 0);
  EXPECT_EQ(d[1].width, 640);
  EXPECT_EQ(d[1].height, 480);

  EXPECT_EQ(d[2].type, BG_STRIP);
  EXPECT_EQ(d[2].layer, 1);
  EXPECT_TRUE(d[2].moving);
  EXPECT_DOUBLE_EQ(d[2].dx, 2);
  EXPECT_DOUBLE_EQ(d[2].dy, 0);
  EXPECT_TRUE(d[2].tiled);
  EXPECT_EQ(d[2].spacingX, 16);
  EXPECT_EQ(d[2].spacingY, 16);

  EXPECT_EQ(d[3].type, BG_PICTURE);
  EXPECT_EQ(d[3].layer, 2);
  EXPECT_DOUBLE_EQ(d[3].x, 192);
  EXPECT_DOUBLE_EQ(d[3].y, 112);
  EXPECT_TRUE(d[3].stretch.on);
  EXPECT_EQ(d[3].width, 64);
  EXPECT_EQ(d[3].stretch.endWidth, 256);
  EXPECT_DOUBLE_EQ(d[3].stretch.dWidth, 6);
  EXPECT_TRUE(d[3].fade.on);
  EXPECT_DOUBLE_EQ(d[3].fade.alpha, 255);
  EXPECT_DOUBLE_EQ(d[3].fade.dAlpha, -255.0 / 32);

  EXPECT_EQ(d[4].type, BG_MOVIE);
  EXPECT_EQ(d[4].startAtMs, 2000);
  EXPECT_TRUE(d[4].keepTime);
  EXPECT_EQ(d[4].width, 640);
  EXPECT_EQ(d[5].type, BG_VIS);
  EXPECT_TRUE(Logged("Loading Vis/tv-spectrum.svp...\n"));
  EXPECT_EQ(d[6].type, BG_OFF);
  EXPECT_EQ(d[7].type, BG_NONE);
  EXPECT_EQ(Events(), "0:1 16:2 32:3 42:4 58:5 59.3333:5 60.6667:5 62:6");
  EXPECT_EQ(g_log.back(), "defined background...\n");
}

TEST_F(BgScript, DefinitionLineRules) {
  params.aviQuality = 0;
  params.svpQuality = 0;
  Parse(Section("0:LAYER:1:FILE:a.png;\n"
                "a:LAYER:1:FILE:a.png;\n"
                ":LAYER:1:FILE:a.png;\n"
                "1:FILE:a.png;\n"
                "2:LAYER:9:FILE:a.png;\n"
                "3:LAYER:-4:FILE:a.png;\n"
                "4:LAYER:0:OFF;\n"
                "5:LAYER:0:MOVIE:m.avi;\n"
                "6:LAYER:0:VIS:v.svp;\n"
                "7:LAYER:2:KEEPPOS;\n"
                "8:LAYER:1:FILE:one.png;\n"
                "8:LAYER:2:OFF;\n"
                "9:LAYER:1:FILE:KEEPPOS.png:POSITION:5;\n"
                "no colon here\n"));
  const Background* d = g_backgrounds.defs;
  EXPECT_EQ(d[0].type, BG_PICTURE);   // the song's own picture stays
  EXPECT_EQ(d[0].layer, 0);
  EXPECT_TRUE(Logged("without an id 1-9 or A-Z"));
  EXPECT_EQ(d[10].type, BG_NONE);   // "a" is not "A"
  EXPECT_EQ(d[1].type, BG_NONE);
  EXPECT_TRUE(Logged("Background 1: no LAYER:"));
  EXPECT_EQ(d[2].layer, 3);
  EXPECT_EQ(d[3].layer, 0);
  EXPECT_EQ(d[4].type, BG_NONE);
  EXPECT_TRUE(Logged("Background 4: OFF is for layers 1-3"));
  EXPECT_EQ(d[5].type, BG_NONE);
  EXPECT_TRUE(Logged("Background 5: movies are off"));
  EXPECT_EQ(d[6].type, BG_NONE);
  EXPECT_TRUE(Logged("Background 6: visualizations are off"));
  EXPECT_EQ(d[7].type, BG_NONE);
  EXPECT_EQ(d[8].type, BG_OFF);   // the later line replaces the earlier
  EXPECT_EQ(d[8].layer, 2);
  // a flag's name inside a file name is part of the path
  EXPECT_FALSE(d[9].keepPosition);
  EXPECT_DOUBLE_EQ(d[9].x, 5);
}

TEST_F(BgScript, PlacingValuesAreHeldToDrawableRanges) {
  Parse(Section("1:LAYER:1:FILE:a.png:STRETCH:-5,99999,10,20,1e300:FADE:999,-3,0:TILED:0:SPACING:-4,7;\n"
                "2:LAYER:0:FILE:a.png:TILED:0:STRETCH:10,10,50,60;\n"
                "3:LAYER:2:FILE:a.png:MULT:1,0.5,2:MOVE:1e9,-1e9:POSITION:-1e12,4:FADE:10,200,-5;\n"
                "4:LAYER:2:FILE:a.png:STRETCH:1,2:FADE:7;\n"
                "5:LAYER:0:FILE:a.png:FADE:0,0,0;\n"
                "6:LAYER:1:FILE:a.png:ANIMATE:2:SIZE:500;\n"));
  const Background* d = g_backgrounds.defs;
  EXPECT_DOUBLE_EQ(d[1].stretch.width, 0);   // unchanged: below 0 is 0 ...
  EXPECT_EQ(d[1].stretch.duration, 1000000);
  EXPECT_TRUE(d[1].stretch.on);
  EXPECT_DOUBLE_EQ(d[1].stretch.height, 8192);   // ... and sizes stop at 8192
  EXPECT_NEAR(d[1].stretch.dHeight, (20 - 8192) / 1e6, 1e-12);
  EXPECT_FALSE(d[1].fade.on);   // no time: at the end alpha at once
  EXPECT_DOUBLE_EQ(d[1].fade.alpha, 0);
  EXPECT_FALSE(d[1].tiled);
  EXPECT_EQ(d[1].spacingX, 0);
  EXPECT_EQ(d[1].spacingY, 7);
  // a base background is tiled whatever the number; a stretch without time is
  // its end size, and only overlays and tiled backgrounds change size
  EXPECT_TRUE(d[2].tiled);
  EXPECT_EQ(d[2].width, 50);
  EXPECT_EQ(d[2].height, 60);
  EXPECT_FALSE(d[2].stretch.on);
  EXPECT_EQ(d[3].colour, 0xFF80FFu);
  EXPECT_DOUBLE_EQ(d[3].dx, 10000);
  EXPECT_DOUBLE_EQ(d[3].dy, -10000);
  EXPECT_DOUBLE_EQ(d[3].x, -100000);
  EXPECT_FALSE(d[3].fade.on);
  EXPECT_DOUBLE_EQ(d[3].fade.alpha, 200);
  EXPECT_FALSE(d[4].stretch.on);
  EXPECT_TRUE(Logged("STRETCH: needs"));
  EXPECT_TRUE(Logged("FADE: needs"));
  EXPECT_FALSE(d[5].fade.on);   // overlays only
  EXPECT_DOUBLE_EQ(d[5].fade.alpha, 255);
  EXPECT_EQ(d[6].type, BG_STRIP);
}

TEST_F(BgScript, AnimateDurations) {
  uint16_t d[255];
  ASSERT_EQ(BgDefine_AnimateDurations("3,100,0", 500, d), 3);
  EXPECT_EQ(d[0], 100);
  EXPECT_EQ(d[1], 500);
  EXPECT_EQ(d[2], 500);   // missing: as the one before
  ASSERT_EQ(BgDefine_AnimateDurations("3,:SIZE:2", 500, d), 3);
  EXPECT_EQ(d[0], 100);
  EXPECT_EQ(d[2], 100);
  ASSERT_EQ(BgDefine_AnimateDurations("2,-5,99999999", 500, d), 2);
  EXPECT_EQ(d[0], 500);
  EXPECT_EQ(d[1], 65535);
  // one number: the frames share two beats, the last takes the rest
  ASSERT_EQ(BgDefine_AnimateDurations("3", 500, d), 3);
  EXPECT_EQ(d[0], 333);
  EXPECT_EQ(d[1], 333);
  EXPECT_EQ(d[2], 334);
  ASSERT_EQ(BgDefine_AnimateDurations("8:SIZE:1", 468.75, d), 8);
  EXPECT_EQ(d[0], 117);
  EXPECT_EQ(d[7], 937 - 7 * 117);
  ASSERT_EQ(BgDefine_AnimateDurations("999", 1, d), 255);
  for (int i = 0; i < 255; i++) EXPECT_GE(d[i], 1) << i;   // never a frame of no time
  ASSERT_EQ(BgDefine_AnimateDurations("x", 500, d), 1);
  EXPECT_EQ(d[0], 1000);
}

TEST_F(BgScript, SectionWithScriptsOffGivesTheRandomTimeline) {
  params.processScripts = false;
  params.randomAnimations = 1;
  params.endPosition = 72;   // 40 units after the default start of 32
  Parse("#RANDLIST:a.avi, b.avi ,;\n" + Section("1:LAYER:0:FILE:x.png;\nSCRIPT:1111;\n"));
  EXPECT_FALSE(g_backgrounds.scriptUsed);
  EXPECT_TRUE(Logged("Process BG Scripts is off"));
  ASSERT_EQ(g_backgrounds.randomSources.size(), 2u);
  EXPECT_EQ(g_backgrounds.randomSources[1], "b.avi");
  std::vector<std::string> want = {"Finding random animations...\n",
                                   "Background script left out (Process BG Scripts is off)\n",
                                   "Generating random background...\n",
                                   "numRAVIs=2, numvis=0, beats=40, effects=2, numavis=2\n",
                                   "Determining AVIs to use...\n"};
  ASSERT_GE(g_log.size(), 8u);
  for (size_t i = 0; i < want.size(); i++) EXPECT_EQ(g_log[i], want[i]) << i;
  EXPECT_TRUE(Logged("(1) Loading AVI "));
  EXPECT_TRUE(Logged("(2) Loading AVI "));
  EXPECT_TRUE(Logged("set backgrounds...\n"));
  ASSERT_EQ(g_backgrounds.events.size(), 2u);
  EXPECT_DOUBLE_EQ(g_backgrounds.events[0].position, 32);
  EXPECT_GE(g_backgrounds.events[0].id, 1);
  EXPECT_LE(g_backgrounds.events[0].id, 2);
  EXPECT_DOUBLE_EQ(g_backgrounds.events[1].position, 72);
  EXPECT_EQ(g_backgrounds.events[1].id, 0);
  char effects[64];
  snprintf(effects, sizeof effects, "32.0 - %d,72.0 - 0,\n", g_backgrounds.events[0].id);
  EXPECT_TRUE(Logged(effects));
  EXPECT_EQ(g_backgrounds.defs[1].type, BG_MOVIE);
  EXPECT_EQ(g_backgrounds.defs[2].type, BG_MOVIE);
  EXPECT_EQ(g_backgrounds.defs[3].type, BG_NONE);
  EXPECT_EQ(g_log.back(), "defined background...\n");
}

TEST_F(BgScript, RandomEffectsAndCounts) {
  std::string list = "#RANDLIST:";
  for (int i = 0; i < 20; i++) list += "m" + std::to_string(i) + ".avi,";
  list += ";\n";
  struct Case {
    int setting, vis, plugin, number, avi, svp;
    double end;
    const char* line;
  } cases[] = {
      // 960 units: 30 effects, 10 movies
      {1, 0, 0, 1, 5, 5, 992, "numRAVIs=20, numvis=0, beats=960, effects=30, numavis=10"},
      // one more effect for the part after the last whole 32
      {1, 0, 0, 1, 5, 5, 1000, "numRAVIs=20, numvis=0, beats=968, effects=31, numavis=10"},
      // a short song still picks 4, a long one at most 12
      {1, 0, 0, 1, 5, 5, 100, "numRAVIs=20, numvis=0, beats=68, effects=3, numavis=4"},
      {1, 0, 0, 1, 5, 5, 10000, "numRAVIs=20, numvis=0, beats=9968, effects=312, numavis=12"},
      // visualizations only: no movies counted
      {2, 5, 0, 1, 5, 5, 992, "numRAVIs=0, numvis=5, beats=960, effects=30, numavis=5"},
      // a fixed plug-in: two effects with that one
      {2, 5, 2, 1, 5, 5, 992, "numRAVIs=0, numvis=5, beats=960, effects=2, numavis=1"},
      {2, 5, 2, 1, 5, 5, 10, "numRAVIs=0, numvis=5, beats=-22, effects=0, numavis=1"},
      // SINGLE: one plug-in at most
      {3, 5, 0, 0, 5, 5, 992, "numRAVIs=20, numvis=1, beats=960, effects=30, numavis=10"},
      // movies off: nothing to show
      {1, 0, 0, 1, 0, 5, 992, "numRAVIs=0, numvis=0, beats=960, effects=0, numavis=1"},
      {2, 5, 0, 1, 5, 0, 992, "numRAVIs=0, numvis=0, beats=960, effects=0, numavis=1"},
      // a song that ends before the random start
      {1, 0, 0, 1, 5, 5, 10, "numRAVIs=20, numvis=0, beats=-22, effects=0, numavis=4"},
  };
  for (const Case& c : cases) {
    params.randomAnimations = c.setting;
    params.visCountWithoutSources = c.vis;
    params.visPlugin = c.plugin;
    params.visNumber = c.number;
    params.aviQuality = c.avi;
    params.svpQuality = c.svp;
    params.endPosition = c.end;
    Parse(list);
    EXPECT_TRUE(Logged(std::string(c.line) + "\n")) << c.line;
    const std::vector<BackgroundEvent>& e = g_backgrounds.events;
    ASSERT_FALSE(e.empty());
    EXPECT_EQ(e.back().id, 0);
    EXPECT_DOUBLE_EQ(e.back().position, std::max(0.0, c.end));
    for (size_t i = 0; i + 1 < e.size(); i++) {
      EXPECT_DOUBLE_EQ(e[i].position, 32 + 32.0 * i);
      EXPECT_GE(e[i].id, 1);
      EXPECT_NE(g_backgrounds.defs[e[i].id].type, BG_NONE);
      // with several to choose from, never the same twice in a row
      if (c.setting == 1 && i + 2 < e.size()) {
        EXPECT_NE(e[i].id, e[i + 1].id) << c.line;
      }
    }
  }
}

TEST_F(BgScript, RandomPicksByKind) {
  params.randomAnimations = 2;
  params.visCountWithoutSources = 5;
  params.visPlugin = 2;
  params.endPosition = 992;
  Parse("");
  EXPECT_TRUE(Logged("0 = 1\n"));   // the second plug-in
  EXPECT_TRUE(Logged("(1) Loading VIS "));
  EXPECT_EQ(g_backgrounds.defs[1].type, BG_VIS);
  EXPECT_EQ(g_backgrounds.defs[2].type, BG_NONE);
  EXPECT_EQ(Events(), "32:1 992:0");
  // a plug-in that is not in the list: reported, and a random one is used
  params.visPlugin = 9;
  Parse("");
  EXPECT_TRUE(Logged("Plug-in 9 is not in the list of 5"));
  EXPECT_TRUE(Logged("effects=30, numavis=5"));

  // both kinds: a visualization on even picks while there are any
  params.randomAnimations = 3;
  params.visPlugin = 0;
  params.visCountWithoutSources = 2;
  params.endPosition = 32 + 32 * 36;
  Parse("#RANDLIST:a.avi,b.avi,c.avi,d.avi;\n");
  EXPECT_TRUE(Logged("effects=36, numavis=6"));
  int want[6] = {BG_VIS, BG_MOVIE, BG_VIS, BG_MOVIE, BG_MOVIE, BG_MOVIE};
  for (int i = 0; i < 6; i++) EXPECT_EQ(g_backgrounds.defs[i + 1].type, want[i]) << i;
  EXPECT_EQ(g_backgrounds.defs[7].type, BG_NONE);
  for (int i = 1; i <= 6; i++) {
    EXPECT_EQ(g_backgrounds.defs[i].layer, 0);
    EXPECT_EQ(g_backgrounds.defs[i].width, 640);
    EXPECT_EQ(g_backgrounds.defs[i].height, 480);
  }
}

TEST_F(BgScript, RandSeedAndStart) {
  params.randomAnimations = 1;
  params.endPosition = 2000;
  std::string text = "#RANDSEED:77;\n#RANDSTART:64;\n#RANDLIST:a.avi,b.avi,c.avi,d.avi,e.avi;\n";
  Random_Seed(1);
  Parse(text);
  std::string first = Events();
  std::vector<std::string> firstLog = g_log;
  Random_Seed(2);   // the program-wide generator does not matter after a seed
  ResetBackgrounds();
  Parse(text);
  EXPECT_EQ(Events(), first);
  EXPECT_EQ(g_log, firstLog);
  EXPECT_DOUBLE_EQ(g_backgrounds.events[0].position, 64);
  EXPECT_EQ(g_backgrounds.randSeed, 77u);
  EXPECT_TRUE(Logged("beats=1936, effects=61"));
  // without a seed two songs differ (the program-wide generator seeds it)
  Random_Seed(1);
  Parse("#RANDLIST:a.avi,b.avi,c.avi,d.avi,e.avi;\n");
  std::string one = Events();
  Random_Seed(2);
  Parse("#RANDLIST:a.avi,b.avi,c.avi,d.avi,e.avi;\n");
  EXPECT_NE(Events(), one);
}

TEST_F(BgScript, RandomFolderPaths) {
  struct { const char* value; const char* folder; } cases[] = {
      {"", "Songs/Group/Song"},
      {"\\Movies\\Random", "/Movies/Random"},
      {"C:\\Movies", "C:/Movies"},
      {".\\Movies", "./Movies"},
      {".", "."},
      {"..\\Other", "Songs/Group/Song/../Other"},
      {"clips\\Fast", "Songs/Group/Song/clips/Fast"},
      {"  clips  ", "Songs/Group/Song/clips"},
  };
  for (auto& c : cases) EXPECT_EQ(BgPath_RandomFolder(kSong, c.value, false), c.folder) << c.value;
  Parse("#RANDFOLDER:clips;\n");
  EXPECT_EQ(g_backgrounds.randomFolder, "Songs/Group/Song/clips");
  EXPECT_TRUE(Logged("RANDOM FOLDER now: Songs/Group/Song/clips\n"));
  // media paths: the song folder, or the game folder for "." and empty ones
  EXPECT_EQ(BgPath_Media(kSong, "pics\\a.png", false), "Songs/Group/Song/pics/a.png");
  EXPECT_EQ(BgPath_Media(kSong, ".\\Movies\\x.avi", false), "./Movies/x.avi");
  EXPECT_EQ(BgPath_Vis(kSong, "v.svp", false), "Vis/v.svp");
  EXPECT_EQ(BgPath_Vis(kSong, "mine\\v.svp", false), "Songs/Group/Song/mine/v.svp");
}

TEST_F(BgScript, RandomSourcesOnDisk) {
  params.loadSources = true;
  params.randomAnimations = 1;
  WriteFile("Songs/Group/Song/song.rkv", "#TITLE:x;\n");
  WriteFile("Movies/Random/r1.avi", "x");
  Parse("");
  EXPECT_EQ(g_backgrounds.randomFolder, "Movies/Random");
  ASSERT_EQ(g_backgrounds.randomSources.size(), 1u);
  WriteFile("Songs/Group/Song/B.AVI", "x");
  WriteFile("Songs/Group/Song/a.avi", "x");
  WriteFile("Songs/Group/Song/notes.txt", "x");
  Parse("");
  EXPECT_TRUE(Logged(" - found animations in current folder\n"));
  EXPECT_EQ(g_backgrounds.randomSources, (std::vector<std::string>{"B.AVI", "a.avi"}));
  WriteFile("Songs/Group/Song/movies/m.avi", "x");   // any case
  Parse("");
  EXPECT_TRUE(Logged(" - found animations in 'Movies' subfolder\n"));
  EXPECT_EQ(g_backgrounds.randomSources, (std::vector<std::string>{"m.avi"}));
  // a named folder replaces what was found
  Parse("#RANDFOLDER:.\\movies\\random;\n");
  EXPECT_EQ(g_backgrounds.randomSources, (std::vector<std::string>{"r1.avi"}));
  // with movies off nothing is looked for
  params.aviQuality = 0;
  Parse("");
  EXPECT_TRUE(g_backgrounds.randomSources.empty());
}

TEST_F(BgScript, MissingFilesLeaveDefinitionsUnused) {
  params.loadSources = true;
  Parse(Section("1:LAYER:0:FILE:nothere.png;\n"
                "2:LAYER:1:FILE:nothere.png:ANIMATE:3;\n"
                "3:LAYER:0:MOVIE:gone.avi;\n"
                "4:LAYER:0:VIS:gone.svp;\n"
                "SCRIPT:1234;\n"));
  for (int i = 1; i <= 4; i++) EXPECT_EQ(g_backgrounds.defs[i].type, BG_NONE) << i;
  EXPECT_TRUE(Logged("Background 1: cannot load 'Songs/Group/Song/nothere.png'"));
  EXPECT_TRUE(Logged("Background 2: cannot load"));
  EXPECT_TRUE(Logged("Background 3: cannot load 'Songs/Group/Song/gone.avi'"));
  EXPECT_TRUE(Logged("Loading Vis/gone.svp...\n"));
  EXPECT_EQ(Events(), "0:1 2:2 4:3 6:4");   // the timing stays
}

TEST_F(BgScript, PicturesLoadedWithKeyBrightnessAndSize) {
  params.loadSources = true;
  params.brightness = 60;
  // bottom-left pixel red: the key on an overlay
  WritePicture("Songs/Group/Song/pics/ring.png", 20, 10,
               [](int x, int y) { return x == 0 || y == 9 ? 0xFF0000u : 0x00FF00u; });
  WritePicture("Songs/Group/Song/strip.png", 8, 24, [](int, int y) { return y < 8 ? 0x0000FFu : 0xFFFFFFu; });
  Parse(Section("1:LAYER:2:FILE:Pics\\RING.PNG;\n"
                "2:LAYER:0:FILE:pics/ring.png;\n"
                "3:LAYER:1:FILE:strip.png:ANIMATE:3:SIZE:2;\n"
                "4:LAYER:0:FILE:pics/ring.png:TILED:1;\n"));
  const Background* d = g_backgrounds.defs;
  ASSERT_EQ(d[1].type, BG_PICTURE);
  ASSERT_NE(d[1].picture, nullptr);
  EXPECT_TRUE(d[1].picture->hasColourKey);
  EXPECT_EQ(d[1].picture->PixelAt(0, 9) >> 24, 0u);
  EXPECT_EQ(d[1].picture->PixelAt(5, 5) >> 24, 255u);
  EXPECT_FLOAT_EQ(d[1].picture->brightness, 0.6f);
  EXPECT_EQ(d[1].width, 20);   // an overlay keeps its own size
  EXPECT_EQ(d[1].height, 10);
  ASSERT_NE(d[2].picture, nullptr);
  EXPECT_FALSE(d[2].picture->hasColourKey);   // the base picture is not keyed
  EXPECT_EQ(d[2].width, 640);
  ASSERT_EQ(d[3].type, BG_STRIP);
  ASSERT_NE(d[3].strip, nullptr);
  EXPECT_EQ(d[3].strip->frameHeight, 8);
  EXPECT_EQ(d[3].width, 16);   // frame size x SIZE
  EXPECT_EQ(d[3].height, 16);
  EXPECT_FLOAT_EQ(d[3].strip->image.brightness, 0.6f);
  EXPECT_EQ(d[4].width, 20);   // a tiled base repeats at its own size
}

TEST_F(BgScript, ThousandsOfEventsAndNoise) {
  Parse(Section("SCRIPT:" + std::string(100000, '1') + ";\n"));
  EXPECT_EQ(g_backgrounds.events.size(), kMaxBackgroundEvents);
  EXPECT_TRUE(Logged("more than 65536 events"));
  // a SCRIPT without its ";" does not swallow the definitions after it
  std::string noise = Section("SCRIPT:((((([[[[{{{{<<<<12\n"
                              "3:::::\n"
                              "Z:LAYER:3:FILE:;\n"
                              "Y:LAYER:1:MOVIE:x:STARTAT:-1e308;\n"
                              ":::\n"
                              "\x01\xff:LAYER:\n"
                              "4:LAYER:1:FILE:a.png:ANIMATE:,,,,:SIZE:-3:MULT:nan,inf,-inf;\n");
  Parse(noise);
  EXPECT_EQ(g_backgrounds.defs[35].type, BG_PICTURE);
  EXPECT_EQ(g_backgrounds.defs[34].startAtMs, 0);
  EXPECT_EQ(g_backgrounds.defs[4].type, BG_STRIP);
  EXPECT_EQ(g_backgrounds.defs[4].colour, 0xFFFFFFu);
  EXPECT_EQ(Events(), "0:1 0:2");
  EXPECT_TRUE(Logged("SCRIPT line without its ';'"));
}

TEST_F(BgScript, ResetAndPrimeLogInOrder) {
  Parse(kCanonical);
  g_log.clear();
  PrimeBackgrounds();
  EXPECT_EQ(g_log, (std::vector<std::string>{"Getting first frames of animation...\n", "bg:4, type:AVI\n",
                                             "bg:5, type:VIS\n", "done\n"}));
  g_backgrounds.requestId[3] = 5;
  g_backgrounds.layers[1] = g_backgrounds.defs[2];
  g_backgrounds.nextEvent = 3;
  g_log.clear();
  ResetBackgrounds();
  std::vector<std::string> want = {"Resetting backgrounds...\n"};
  int types[7] = {0, 0, 1, 0, 2, 3, 4};
  for (int i = 0; i < 7; i++) {
    char line[64];
    snprintf(line, sizeof line, " - bg %2d (type = %d)... ", i, types[i]);
    want.push_back(line);
    want.push_back("done\n");
  }
  want.push_back("Resetting background layers.\n");
  EXPECT_EQ(g_log, want);
  EXPECT_EQ(g_backgrounds.requestId[3], -1);
  EXPECT_EQ(g_backgrounds.layers[1].type, BG_NONE);
  EXPECT_TRUE(g_backgrounds.events.empty());
  EXPECT_EQ(g_backgrounds.nextEvent, 0u);
  for (const Background& b : g_backgrounds.defs) EXPECT_EQ(b.type, BG_NONE);
  // the next song resets only when something is loaded
  Parse(kCanonical);
  EXPECT_NE(g_log.front(), "Resetting backgrounds...\n");
  Parse(kCanonical);
  EXPECT_EQ(g_log.front(), "Resetting backgrounds...\n");
}

TEST_F(BgScript, LoadsTheChartFileWithoutRegardToCase) {
  WriteFile("Songs/Group/Song/song.rkv", kCanonical);
  g_log.clear();
  EXPECT_TRUE(LoadBackgroundScript(kSong, "SONG.RKV", params));
  EXPECT_EQ(g_backgrounds.defs[6].type, BG_OFF);
  // no chart: reported; the song still gets its random backgrounds
  params.randomAnimations = 1;
  params.endPosition = 100;
  EXPECT_FALSE(LoadBackgroundScript(kSong, "other.rkv", params));
  EXPECT_TRUE(Logged("cannot read 'Songs/Group/Song/other.rkv'"));
  EXPECT_TRUE(Logged("Generating random background...\n"));
  // comments are blanked before anything is read
  Parse(Section("1:LAYER:1:OFF; // 2:LAYER:1:OFF;\n// SCRIPT:2;\nSCRIPT:1;\n"));
  EXPECT_EQ(g_backgrounds.defs[2].type, BG_NONE);
  EXPECT_EQ(Events(), "0:1");
}

}  // namespace
