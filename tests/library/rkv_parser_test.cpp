#include "library/rkv_parser.h"
#include "library/image_header.h"
#include <gtest/gtest.h>
#include <cstring>

namespace {
RKVParser parse(const std::string& t) {
  RKVParser p;
  p.parseText(t);
  return p;
}
}

TEST(RKVParser, RequiredTagsAndValues) {
  RKVParser p = parse(
      "#TITLE:My Song;\r\n#ARTIST:Someone;\n#GAP:-120;\n#BPM:150.5;\n#GENRE:Pop,Rock;\n"
      "#CDTITLE:cd.png;\n#DISPLAYTITLE:My Song (Remix);\n#MD5:0123456789abcdef0123456789abcdef;\n"
      "// #ARTIST:commented out;\n#SINGLE:BASIC:3:\n2222;\n#DOUBLE:MANIAC:12:2:4;\n#SOLO:ANOTHER:300:;\n");
  EXPECT_EQ(p.flags, 15u);
  EXPECT_EQ(p.title, "My Song");
  EXPECT_EQ(p.artist, "Someone");
  EXPECT_EQ(p.gap, -120);
  EXPECT_DOUBLE_EQ(p.bpm, 150.5);
  EXPECT_EQ(p.genre, "Pop,Rock");
  EXPECT_TRUE(p.hasCdTitle && p.hasDisplayTitle);
  EXPECT_FALSE(p.hasDisplayArtist);
  EXPECT_EQ(p.md5.size(), 32u);
  EXPECT_EQ(p.levels[0], 3);
  EXPECT_EQ(p.levels[6], 12);
  EXPECT_EQ(p.levels[12], 255);
  EXPECT_EQ(p.levels[1], 0);
  EXPECT_EQ(parse("#TITLE:a;\n#ARTIST:b;\n#BPM:100;\n").flags, 11u);
}

TEST(RKVParser, DisplayTempoRules) {
  RKVParser p = parse("#BPM:120;\n#CHANGEBPM:16=180,32=90.4;\n");
  EXPECT_EQ(p.displayBpm, -1);
  EXPECT_EQ(Chart_RoundHalfUp(p.bpmMin), 90);
  EXPECT_EQ(Chart_RoundHalfUp(p.bpmMax), 180);
  p = parse("#DISPLAYBPM:150..130;\n#BPM:120;\n");  // before "#BPM:" it has no effect
  EXPECT_EQ(p.displayBpm, -1);
  p = parse("#BPM:120;\n#DISPLAYBPM:150..130;\n#CHANGEBPM:4=400;\n");
  EXPECT_EQ(p.displayBpm, -2);
  EXPECT_DOUBLE_EQ(p.bpmMin, 150);
  EXPECT_DOUBLE_EQ(p.bpmMax, 150);
  EXPECT_DOUBLE_EQ(p.tempoMax, 400);
  EXPECT_EQ(parse("#BPM:120;\n#DISPLAYBPM:*;\n").displayBpm, 0);
  EXPECT_EQ(parse("#BPM:120;\n#DISPLAYBPM:175.9;\n").displayBpm, 175);
  EXPECT_EQ(Chart_RoundHalfUp(122.5), 123);
}

TEST(RKVParser, TimesAndStatus) {
  EXPECT_EQ(Chart_ParseTime("1:30.5"), 90500);
  EXPECT_EQ(Chart_ParseTime("12.5"), 12500);
  EXPECT_EQ(Chart_ParseTime("2500"), 2500);
  EXPECT_EQ(Chart_ParseTime("0.0015"), 1);
  EXPECT_EQ(Chart_ParseTime("nan"), 0);
  EXPECT_EQ(Chart_ParseTime("1e400"), 0);
  RKVParser p = parse("#GAP:250;\n#SAMPLESTART:+1.5;\n#SAMPLELENGTH:0:10;\n// STATUS:NEW\n");
  EXPECT_TRUE(p.sampleStartPlus);
  EXPECT_EQ(p.sampleStart, 1500);
  EXPECT_EQ(p.sampleLength, 10000);
  EXPECT_EQ(p.status, 0);  // in a comment it is blanked
  EXPECT_EQ(parse("x STATUS:NEW y\n").status, 3);
  EXPECT_EQ(parse("STATUS:NORMAL\n").status, 2);
}

TEST(ImageHeader, SizesFromHeadersAndBadBytes) {
  uint8_t png[24] = {0x89, 'P', 'N', 'G', 13, 10, 26, 10, 0, 0, 0, 13, 'I', 'H', 'D', 'R', 0, 0, 1, 0, 0, 0, 0, 80};
  int32_t w = 0, h = 0;
  ASSERT_TRUE(ImageHeader_SizeFromBytes(png, sizeof png, &w, &h));
  EXPECT_EQ(w, 256);
  EXPECT_EQ(h, 80);
  EXPECT_FALSE(ImageHeader_SizeFromBytes(png, 20, &w, &h));
  uint8_t bmp[26] = {'B', 'M'};
  bmp[14] = 40;
  bmp[18] = 0x80, bmp[19] = 2;   // 640
  bmp[22] = 0x20, bmp[23] = 0xFE, bmp[24] = 0xFF, bmp[25] = 0xFF;  // -480: top-down
  ASSERT_TRUE(ImageHeader_SizeFromBytes(bmp, sizeof bmp, &w, &h));
  EXPECT_EQ(w, 640);
  EXPECT_EQ(h, 480);
  uint8_t jpg[] = {0xFF, 0xD8, 0xFF, 0xE0, 0, 4, 0, 0, 0xFF, 0xC0, 0, 11, 8, 0, 60, 0, 180, 3};
  ASSERT_TRUE(ImageHeader_SizeFromBytes(jpg, sizeof jpg, &w, &h));
  EXPECT_EQ(w, 180);
  EXPECT_EQ(h, 60);
  uint8_t loop[] = {0xFF, 0xD8, 0xFF, 0xE0, 0, 0};
  EXPECT_FALSE(ImageHeader_SizeFromBytes(loop, sizeof loop, &w, &h));
}
