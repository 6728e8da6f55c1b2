#include "app/options.h"
#include <gtest/gtest.h>

namespace {
StartOptions parse(const std::string& line, bool fullScreenSetting = false) {
  StartOptions o;
  Options_Parse(line, fullScreenSetting, o);
  return o;
}
}

TEST(Options, FrameLimiterIsClampedAndOffWithoutOption) {
  EXPECT_EQ(parse("").fps, 0);
  EXPECT_EQ(parse("/fps:5").fps, 20);
  EXPECT_EQ(parse("/fps:500").fps, 200);
  EXPECT_EQ(parse("/fps:75abc").fps, 75);
  EXPECT_EQ(parse("/fps:").fps, 20);  // a truncated value reads 0, then the clamp
}

TEST(Options, WorkingSetBounds) {
  StartOptions o = parse("/maxRAM:32");
  EXPECT_EQ(o.minRAM, 64ull << 20);
  EXPECT_EQ(o.maxRAM, 64ull << 20);
  o = parse("/minRAM:16 /maxRAM:512");
  EXPECT_EQ(o.minRAM, 16ull << 20);
  EXPECT_EQ(o.maxRAM, 512ull << 20);
  o = parse("/minRAM:-4");
  EXPECT_EQ(o.minRAM, 0u);
}

TEST(Options, LaterTestedOptionOfAPairWins) {
  EXPECT_FALSE(parse("/fullscreen /window").fullScreen);
  EXPECT_FALSE(parse("/window /fullscreen").fullScreen);
  EXPECT_TRUE(parse("/fullscreen").fullScreen);
  EXPECT_TRUE(parse("", true).fullScreen);
  EXPECT_FALSE(parse("/window", true).fullScreen);
  EXPECT_FALSE(parse("/skipsearch /search").scanSongs);
  EXPECT_TRUE(parse("/search").scanSongs);
  EXPECT_TRUE(parse("/sw /hw").hardwareSurface);
  EXPECT_FALSE(parse("/sw").hardwareSurface);
}

TEST(Options, LogLevelPrefersLog2) {
  EXPECT_EQ(parse("").logLevel, -1);
  EXPECT_EQ(parse("/log").logLevel, 0);
  EXPECT_EQ(parse("/log2").logLevel, 1);
  EXPECT_EQ(parse("/log /log2").logLevel, 1);
}

TEST(Options, MinSizeClampAndBadNumbers) {
  EXPECT_EQ(parse("/minsize:abc").minSize, 0);
  EXPECT_EQ(parse("/minsize:300").minSize, 128);
  EXPECT_EQ(parse("/minsize:-3").minSize, 0);
  EXPECT_EQ(parse("/minsize:99999999999999999999").minSize, 128);
}

TEST(Options, KeyboardCooperationBits) {
  EXPECT_EQ(parse("").keyFlags, 22);
  EXPECT_EQ(parse("/key:win").keyFlags, 6);
  EXPECT_EQ(parse("/key:exclusive /key:fg").keyFlags, 5);
  EXPECT_EQ(parse("/key:exclusive /key:bg").keyFlags, 0);
  EXPECT_EQ(parse("/key:exclusive /key:bg /key:nowin").keyFlags, 0);
  EXPECT_EQ(parse("/key:nonexclusive /key:bg /key:win").keyFlags, 10);
}

TEST(Options, SingleFlags) {
  StartOptions o = parse("/noshade /16bpp /altcombo /showsm /dither:0 /boost:0 /v5hack /altmovie /priority:2 /sdevice:3");
  EXPECT_FALSE(o.wheelShading);
  EXPECT_EQ(o.colourDepth, 16);
  EXPECT_TRUE(o.altCombo && o.showSM && o.v5Hack && o.altMovie);
  EXPECT_FALSE(o.dither);
  EXPECT_FALSE(o.boost);
  EXPECT_EQ(o.threadPriority, 2);
  EXPECT_EQ(o.soundDevice, 3);
  o = parse("");
  EXPECT_TRUE(o.wheelShading && o.dither && o.boost);
  EXPECT_EQ(o.soundDevice, -1);
}

TEST(Options, TestModeValues) {
  StartOptions o = parse("/test:Songs/Demo/First Song/steps.rkv /style:DOUBLE /level:TRICK /p2 /dark");
  EXPECT_TRUE(o.test.active);
  EXPECT_EQ(o.test.chartPath, "Songs/Demo/First Song/steps.rkv");
  EXPECT_EQ(o.test.style, "DOUBLE");
  EXPECT_EQ(o.test.level, "TRICK");
  EXPECT_EQ(o.test.side, 1);
  EXPECT_TRUE(o.test.dark);
  o = parse("/test:/abs/path.rkv   ");
  EXPECT_EQ(o.test.chartPath, "/abs/path.rkv");
  EXPECT_EQ(o.test.style, "SINGLE");
  EXPECT_EQ(o.test.level, "BASIC");
  EXPECT_EQ(o.test.side, 0);
  EXPECT_FALSE(parse("/p1 /p2").test.side == 0);
}

TEST(Options, FlagsInsidePathsAreNotOptions) {
  StartOptions o = parse("/test:Songs/dark/log/p2/x.rkv /results:/tmp/window/r.json");
  EXPECT_FALSE(o.test.dark);
  EXPECT_EQ(o.logLevel, -1);
  EXPECT_EQ(o.test.side, 0);
  EXPECT_EQ(o.resultsPath, "/tmp/window/r.json");
  EXPECT_EQ(o.test.chartPath, "Songs/dark/log/p2/x.rkv");
}

TEST(Options, TextValuesAreBounded) {
  std::string big(2000, 'a');
  EXPECT_EQ(parse("/test:" + big).test.chartPath.size(), 511u);
}

TEST(Options, StartPositions) {
  EXPECT_EQ(Options_ParseStartAt("1:30.5"), 90500);
  EXPECT_EQ(Options_ParseStartAt("2500"), 2500);
  EXPECT_EQ(Options_ParseStartAt("12.5"), 12500);
  EXPECT_EQ(Options_ParseStartAt("0:00.3"), 300);
  EXPECT_EQ(Options_ParseStartAt("abc"), 0);
  EXPECT_EQ(Options_ParseStartAt("-5"), 0);
  EXPECT_EQ(parse("/test:a.rkv /startat:1:30.5 /dark").test.startAtMs, 90500);
  EXPECT_EQ(parse("/test:a.rkv").test.startAtMs, -1);
}

TEST(Options, SpeedAndScrollFirstListedMatchWins) {
  EXPECT_EQ(parse("").test.rateStep, 5);
  EXPECT_EQ(parse("/speed:7").test.rateStep, 7);
  EXPECT_EQ(parse("/speed:5").test.rateStep, 5);  // there is no step 5 option
  EXPECT_EQ(parse("/speed:9 /speed:2").test.rateStep, 2);
  EXPECT_EQ(parse("/scroll:1.5").test.scrollIndex, 1);
  EXPECT_EQ(parse("/scroll:8").test.scrollIndex, 6);
  EXPECT_EQ(parse("/scroll:0.25").test.scrollIndex, 7);
  EXPECT_EQ(parse("/scroll:0.75").test.scrollIndex, 9);
  EXPECT_STREQ(Options_ScrollName(1), "1.5x");
  EXPECT_STREQ(Options_ScrollName(0), "");
}

TEST(Options, JoinArgs) {
  const char* argv[] = {"tarvolen", "/test:Songs/A", "B/x.rkv", "/log"};
  std::string line = Options_JoinArgs(4, (char**)argv);
  EXPECT_EQ(line, "/test:Songs/A B/x.rkv /log");
  EXPECT_EQ(parse(line).test.chartPath, "Songs/A B/x.rkv");
  EXPECT_EQ(parse(line).logLevel, 0);
}
