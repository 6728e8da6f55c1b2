#include "play/lyrics.h"
#include "support/test_support.h"
#include "platform/files.h"
#include <gtest/gtest.h>

namespace {
Lyrics parse(const std::string& t, int brightness = 100) {
  Lyrics l;
  Lyrics_Parse(t, brightness, l);
  return l;
}
}

TEST(Lyrics, TimesOffsetsAndTheCursor) {
  Lyrics l = parse("[00:10.00]first\r\n[01:02.50]Hello\n[offset:500]\n[01:05.00]later\n");
  ASSERT_EQ(l.lines.size(), 3u);
  EXPECT_EQ(l.lines[0].time, 10000);
  EXPECT_EQ(l.lines[1].time, 62500);   // above the offset line: unchanged
  EXPECT_EQ(l.lines[1].text, "Hello");
  EXPECT_EQ(l.lines[2].time, 64500);   // 65000 - 500
  EXPECT_EQ(Lyrics_Current(l, 9999), nullptr);   // before the first line nothing
  EXPECT_EQ(Lyrics_Current(l, 10000)->text, "first");
  EXPECT_EQ(Lyrics_Current(l, 62600)->text, "Hello");
  EXPECT_EQ(Lyrics_Current(l, 999999)->text, "later");  // the last line stays
}

TEST(Lyrics, BadLinesAreSkipped) {
  Lyrics l = parse("no tag\n[xx:10]bad\n[10.5]no colon\n[-1:00.0]negative\n[00:-1]neg seconds\n"
                   "[00:00.00]zero\n[1:2.5 missing bracket\n[99999999999:00]huge\nX00:01.00]any first char\n");
  ASSERT_EQ(l.lines.size(), 2u);
  EXPECT_EQ(l.lines[0].time, 1);        // 0 counts as 1 ms
  EXPECT_EQ(l.lines[1].time, 1000);
  EXPECT_EQ(l.lines[1].text, "any first char");
}

TEST(Lyrics, ColoursRowsAndBrightness) {
  Lyrics l = parse("[COLOR]FF0000,00FF00\n[00:10.00]{c1}Green|{c0}Red\n[COLOUR]0x8080FF,zz\n[00:20.00]a|b|c\n", 50);
  ASSERT_EQ(l.lines.size(), 2u);
  EXPECT_EQ(l.lines[0].rowCount, 2);
  EXPECT_EQ(l.lines[0].colours[0], 0x7F0000u);  // halved by the brightness
  EXPECT_EQ(l.lines[0].colours[1], 0x007F00u);
  EXPECT_EQ(l.lines[1].rowCount, 3);
  EXPECT_EQ(l.lines[1].colours[0], 0x40407Fu);
  EXPECT_EQ(l.lines[1].colours[1], 0u);         // a bad entry is black
  Lyrics g = parse("[00:01.00]x\n", 80);
  EXPECT_EQ(g.lines[0].colours[0], 0xCCCCCCu);  // the starting grey
  std::string eleven = "[COLOR]";
  for (int i = 0; i < 11; i++) eleven += (i ? "," : "") + std::string(i == 10 ? "00FF00" : "FF0000");
  Lyrics e = parse(eleven + "\n[00:01.00]x\n");
  EXPECT_EQ(e.lines[0].colours[9], 0x00FF00u);  // the eleventh overwrites the tenth
}

TEST(Lyrics, GrowsInOverTheFirstQuarterSecond) {
  int size, alpha;
  Lyrics_Style(0, size, alpha);
  EXPECT_EQ(size, 0);
  Lyrics_Style(95, size, alpha);
  EXPECT_EQ(size, 10);
  EXPECT_EQ(alpha, 10);
  Lyrics_Style(255, size, alpha);
  EXPECT_EQ(size, 27);
  EXPECT_EQ(alpha, 255);
}

TEST(Lyrics, FileBesideTheChart) {
  TempDir dir;
  Dir_Create("Songs/G/S");
  WriteFile("Songs/G/S/song.lrc", "[00:01.00]hi\n");
  Lyrics l;
  EXPECT_TRUE(Lyrics_Load(l, "G", "S", "song.rkv", 100, false));
  EXPECT_EQ(l.lines.size(), 1u);
  EXPECT_FALSE(Lyrics_Load(l, "G", "S", "other.rkv", 100, false));
  EXPECT_TRUE(l.lines.empty());   // a load that finds nothing leaves nothing of the last song
  WriteFile("Songs/G/S/empty.lrc", "");
  EXPECT_FALSE(Lyrics_Load(l, "G", "S", "empty.rkv", 100, false));
}

namespace {
std::vector<int> startColours(const LyricLine& l) {
  std::vector<int> c;
  for (const LyricRow& r : Lyrics_Layout(l, 20, 380)) c.push_back(r.colour);
  return c;
}
}

TEST(Lyrics, EveryFrameStartsALineInItsFirstColour) {
  Lyrics l = parse("[COLOR]FF0000,00FF00,0000FF\n[00:01.00]Hello {c1}World\n[00:02.00]Next|row\n"
                   "[00:03.00]a{c1}|b{c2}|{c0}c\n[00:04.00]{c1}{c2}\n[00:05.00]{c1}{c2}|z\n"
                   "[00:06.00]x{c1|}y\n[00:07.00]\x80{c1}|b\n[00:08.00]{c10}|{c}|{C1}|b\n");
  ASSERT_EQ(l.lines.size(), 8u);
  // the same line drawn frame after frame, and the line after it, start over
  EXPECT_EQ(startColours(l.lines[0]), std::vector<int>{0});
  EXPECT_EQ(startColours(l.lines[0]), std::vector<int>{0});
  EXPECT_EQ(startColours(l.lines[1]), (std::vector<int>{0, 0}));
  // only the colour at the end of a row carries into the next row
  EXPECT_EQ(startColours(l.lines[2]), (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(startColours(l.lines[2]), (std::vector<int>{0, 1, 2}));
  // a text of only colour codes is one empty row
  std::vector<LyricRow> only = Lyrics_Layout(l.lines[3], 20, 380);
  ASSERT_EQ(only.size(), 1u);
  EXPECT_EQ(only[0].colour, 0);
  EXPECT_EQ(only[0].x, 320);
  EXPECT_EQ(startColours(l.lines[4]), (std::vector<int>{0, 2}));
  // a mark cut by the row break, text the font stops reading, and other marks switch nothing
  EXPECT_EQ(startColours(l.lines[5]), (std::vector<int>{0, 0}));
  EXPECT_EQ(startColours(l.lines[6]), (std::vector<int>{0, 0}));
  EXPECT_EQ(startColours(l.lines[7]), (std::vector<int>{0, 0, 0, 0}));
}

TEST(Lyrics, RowsAreStackedAroundTheCentre) {
  Lyrics l = parse("[00:01.00]a|b|c\n[00:02.00]one\n");
  std::vector<LyricRow> rows = Lyrics_Layout(l.lines[0], 20, 380);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0].text, "a");
  EXPECT_EQ(rows[0].y, 350);
  EXPECT_EQ(rows[1].y, 370);
  EXPECT_EQ(rows[2].text, "c");
  EXPECT_EQ(rows[2].y, 390);
  EXPECT_EQ(Lyrics_Layout(l.lines[1], 27, 380)[0].y, 366);  // 380 - 13.5, truncated
}

TEST(Lyrics, HugeOffsetsAndTimesSaturate) {
  Lyrics a = parse("[offset:-9999999999999999999]\n[00:01.00]late\n");
  ASSERT_EQ(a.lines.size(), 1u);
  EXPECT_EQ(a.lines[0].time, INT32_MAX);
  std::string early;
  for (int i = 0; i < 3; i++) early += "[offset:9223372036854775807]\n";
  Lyrics b = parse(early + "[00:01.00]early\n");
  ASSERT_EQ(b.lines.size(), 1u);
  EXPECT_EQ(b.lines[0].time, INT32_MIN);
  EXPECT_NE(Lyrics_Current(b, INT32_MAX), nullptr);
  int size, alpha;
  Lyrics_Style((int64_t)INT32_MAX - INT32_MIN, size, alpha);
  EXPECT_EQ(size, 27);
  // ordinary offsets add up as before
  Lyrics c = parse("[offset:100]\n[offset:-250]\n[00:01.00]x\n");
  EXPECT_EQ(c.lines[0].time, 1150);
  // the frame's own arithmetic on such a line (no font is loaded, nothing is drawn)
  Lyrics d;
  Lyrics_Parse(early + "[00:01.00]early|{c1}x\n", 100, d);
  Lyrics_Draw(d, INT32_MAX, 380);
  Lyrics_Draw(d, 1, 380);
  Lyrics_Free(d);
  EXPECT_TRUE(d.lines.empty());
}

TEST(Lyrics, HostileLines) {
  std::string t = ":00:01.00]colon first\n]00:02.00]bracket first\n[\n[[[[\n[]\n[:]\n[00:03.00]a";
  t += std::string(1, '\0') + "b\n[00" + std::string(1, '\0') + ":04.00]nul in tag\n";
  t += "[" + std::string(100000, '0') + ":05]zeros\n";
  t += "[" + std::string(400, '9') + ":00]\n[00:" + std::string(400, '9') + "]\n";
  t += "[00:06.00]" + std::string(100000, '|') + "\n";
  t += "[COLOR]" + std::string(100000, ',') + "\n[offset:" + std::string(100000, '9') + "\n";
  Lyrics l = parse(t, 150);
  ASSERT_EQ(l.lines.size(), 6u);
  EXPECT_EQ(l.lines[0].time, 1000);           // whatever the first character, it stands for "["
  EXPECT_EQ(l.lines[0].text, "colon first");
  EXPECT_EQ(l.lines[1].time, 2000);
  EXPECT_EQ(l.lines[2].time, 1);              // "[:]" is minute 0, second 0
  EXPECT_EQ(l.lines[3].text, std::string("a\0b", 3));
  EXPECT_EQ(l.lines[4].time, 5000);
  EXPECT_EQ(l.lines[5].text.size(), 255u);
  EXPECT_EQ(l.lines[5].rowCount, 256);
  EXPECT_EQ(Lyrics_Layout(l.lines[5], 27, 380).size(), 256u);
  EXPECT_EQ(l.lines[0].colours[0], 0xFFFFFFu);  // brightness above 100 is taken as 100
  EXPECT_EQ(parse("[00:01.00]x\n", -5).lines[0].colours[0], 0u);
}

TEST(Lyrics, EmptyTextHasNothingToShow) {
  Lyrics l = parse("");
  EXPECT_TRUE(l.lines.empty());
  EXPECT_EQ(Lyrics_Current(l, 1000), nullptr);
  Lyrics_Parse("\n\r\n", 100, l);
  EXPECT_TRUE(l.lines.empty());
  Lyrics_Draw(l, 1000, 380);
}

TEST(Lyrics, FilesFromOtherSystemsReadAlike) {
  TempDir dir;
  const char* ends[] = {"\n", "\r\n", "\r"};
  for (const char* eol : ends) {
    for (int bom = 0; bom < 2; bom++) {
      SCOPED_TRACE(testing::Message() << (int)eol[0] << " bom " << bom);
      std::string text = std::string(bom ? "\xEF\xBB\xBF" : "") + "[COLOR]FF0000,00FF00" + eol + "[00:01.00]one|{c1}two" +
                         eol + "[offset:250]" + eol + "[00:02.50]three" + eol;
      Dir_Create("Songs/G/S");
      WriteFile("Songs/G/S/Steps.lrc", text);
      Lyrics l;
      ASSERT_TRUE(Lyrics_Load(l, "G", "S", "Steps.rkv", 100, false));
      ASSERT_EQ(l.lines.size(), 2u);
      EXPECT_EQ(l.lines[0].time, 1000);
      EXPECT_EQ(l.lines[0].text, "one|{c1}two");
      EXPECT_EQ(l.lines[0].rowCount, 2);
      EXPECT_EQ(l.lines[0].colours[1], 0x00FF00u);
      EXPECT_EQ(l.lines[1].time, 2250);
      EXPECT_EQ(l.lines[1].text, "three");
    }
  }
  // the chart names its lyrics in another case than the file has
  WriteFile("Songs/G/S/STEPS.LRC", "[00:03.00]upper\n");
  std::remove("Songs/G/S/Steps.lrc");
  Lyrics l;
  ASSERT_TRUE(Lyrics_Load(l, "G", "S", "steps.rkv", 100, false));
  ASSERT_EQ(l.lines.size(), 1u);
  EXPECT_EQ(l.lines[0].text, "upper");
}
