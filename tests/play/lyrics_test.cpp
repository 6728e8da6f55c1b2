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
  EXPECT_TRUE(Lyrics_Load("G", "S", "song.rkv", 100, false));
  EXPECT_EQ(g_lyrics.lines.size(), 1u);
  EXPECT_FALSE(Lyrics_Load("G", "S", "other.rkv", 100, false));
  WriteFile("Songs/G/S/empty.lrc", "");
  EXPECT_FALSE(Lyrics_Load("G", "S", "empty.rkv", 100, false));
  Lyrics_Free();
}
