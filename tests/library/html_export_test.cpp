// The HTML song list, compared byte for byte with pages written out by hand.
#include <gtest/gtest.h>

#include "menus/song_list_page.h"
#include "menus/collection_test_util.h"
#include "support/test_support.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace {
class HtmlExportTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetCollectionWorld(); }
  void TearDown() override { ResetCollectionWorld(); }
  TempDir dir;
};

const char* const kHead =
    "<HTML>\n<HEAD>\n<TITLE>RKV2 Songlist</TITLE>\n</HEAD>\n"
    "<BODY><FONT face='verdana, geneva, arial, sans-serif'>\n"
    "<P><H3>RKV2 Songlist</H3></P>\n"
    "<P>Collections:<UL>\n";
const char* const kRowEnd = "</SMALL></P></TD></TR>\n<TR><TD colspan=2><SMALL>&nbsp;</SMALL></TD></TR>\n";

TEST_F(HtmlExportTest, ASmallLibraryPageByteForByte) {
  SongSpec a;
  a.group = "Demo";
  a.folder = "glass";
  a.title = "Glass Circuit";
  a.artist = "Tarvolen <b>";
  a.bpm = 140.5;
  a.levels = {3, 0, 7, 0, 0, 0, 0, 0, 0, 0, 0, 2, 4, 0};
  a.banner = "glass banner.png";
  SongSpec b;
  b.group = "Demo";
  b.folder = "caf\xE9";
  b.title = "Caf\xE9";
  b.artist = "Someone";
  b.bpm = 98;
  b.levels = {0, 0, 0, 0, 2, 4, 6, 8};
  b.banner = "bn.png";
  SongSpec c;
  c.group = "More+1";
  c.folder = "x_y";
  c.title = "Another";
  c.artist = "A";
  c.levels = {1, 2, 3, 4, 5, 6, 7, 8};
  SetLibrary({MakeSong(a), MakeSong(b), MakeSong(c)});
  ASSERT_TRUE(SongList_WriteLibraryPage());
  std::string expected = std::string(kHead) +
      "<LI> <A href='#col0'>Demo</A>\n"
      "<LI> <A href='#col1'>More+1</A>\n"
      "</UL></P>\n"
      "<P>3 Songs total</P>\n"
      "<P><B><FONT size='+1'><A name='col0'>Demo</A></FONT></B><BR><SMALL>(2 songs)<BR>&nbsp;</SMALL><BR>\n"
      "<TABLE cellspacing=0 cellpadding=3 border=0>\n"
      "<TR><TD width=200 align=right valign=top><IMG src='Songs/Demo/caf&#233;/bn.png' width=128 height=96 border=1></TD>\n"
      "    <TD nowrap><P><B>Caf\xE9<BR>\n"
      "        <SMALL>Someone</SMALL></B><BR>\n"
      "        <SMALL>BPM: 98.00</SMALL></P>\n"
      "        <P><SMALL>"
      "DOUBLE:  <B>2</B> / <B>4</B> / <B>6</B> / <B>8</B> <BR>        \n" +
      kRowEnd +
      "<TR><TD width=200 align=right valign=top><IMG src='Songs/Demo/glass/glass&#32;banner.png' width=128 height=96 border=1></TD>\n"
      "    <TD nowrap><P><B>Glass Circuit<BR>\n"
      "        <SMALL>Tarvolen <b></SMALL></B><BR>\n"
      "        <SMALL>BPM: 140.50</SMALL></P>\n"
      "        <P><SMALL>"
      "SINGLE:  <B>3</B> / - / <B>7</B> / - <BR>        \n"
      "SOLO:  <B>2</B> / <B>4</B> / - " +
      kRowEnd +
      "</TABLE></P>\n"
      "<P><B><FONT size='+1'><A name='col1'>More+1</A></FONT></B><BR><SMALL>(1 songs)<BR>&nbsp;</SMALL><BR>\n"
      "<TABLE cellspacing=0 cellpadding=3 border=0>\n"
      "<TR><TD width=200 align=right valign=top><IMG src='Songs/More+1/x_y/banner.png' width=128 height=96 border=1></TD>\n"
      "    <TD nowrap><P><B>Another<BR>\n"
      "        <SMALL>A</SMALL></B><BR>\n"
      "        <SMALL>BPM: 150.00</SMALL></P>\n"
      "        <P><SMALL>"
      "SINGLE:  <B>1</B> / <B>2</B> / <B>3</B> / <B>4</B> <BR>        \n"
      "DOUBLE:  <B>5</B> / <B>6</B> / <B>7</B> / <B>8</B> <BR>        \n" +
      kRowEnd +
      "</TABLE></P>\n"
      "</FONT>\n</HTML>\n";
  EXPECT_EQ(ReadFile(kSongListPage), expected);
  EXPECT_FALSE(fs::exists(std::string(kSongListPage) + ".tmp"));
}

TEST_F(HtmlExportTest, AnEmptyLibraryStillHasItsHead) {
  WriteFile(kSongListPage, "an old, longer page that must go away completely");
  ASSERT_TRUE(SongList_WriteLibraryPage());
  EXPECT_EQ(ReadFile(kSongListPage), std::string(kHead) + "</UL></P>\n<P>0 Songs total</P>\n</FONT>\n</HTML>\n");
}

TEST_F(HtmlExportTest, PathBytesBecomeCharacterReferences) {
  std::string out;
  SongList_AppendPath(out, "Az09-._/+ \xE9\x01'<&\\");
  EXPECT_EQ(out, "Az09-._/+&#32;&#233;&#1;&#39;&#60;&#38;&#92;");
}

TEST_F(HtmlExportTest, GenreGroupingListsASongInEachOfItsGenres) {
  SongSpec a;
  a.group = "Group";
  a.title = "Title";
  a.artist = "Artist";
  a.genres = "|Pop||Rock|";
  a.levels = {1};
  SetLibrary({MakeSong(a)});
  g_settings.sortBy = 0;
  g_settings.currentSort = SORT_BEST;
  ASSERT_TRUE(SongList_WriteLibraryPage());
  std::string page = ReadFile(kSongListPage);
  EXPECT_NE(page.find("<LI> <A href='#col0'>Pop</A>\n<LI> <A href='#col1'>Rock</A>\n"), std::string::npos);
  EXPECT_NE(page.find("<P>1 Songs total</P>"), std::string::npos);
  EXPECT_EQ(g_settings.currentSort, SORT_BEST);   // the player's sort is left as it was
}

TEST_F(HtmlExportTest, LongAndOddTextsAreWrittenWhole) {
  SongSpec a;
  a.group = std::string(255, 'g');
  a.folder = std::string(255, '\xFF');
  a.title = std::string(255, '%');
  a.artist = "%s%n%d";
  a.banner = std::string(255, ' ');
  a.levels = {99999, -5, 0, 1};
  SetLibrary({MakeSong(a)});
  ASSERT_TRUE(SongList_WriteLibraryPage());
  std::string page = ReadFile(kSongListPage);
  std::string title = "<B>";
  title.append(255, '%');
  title += "<BR>";
  EXPECT_NE(page.find(title), std::string::npos);
  EXPECT_NE(page.find("<SMALL>%s%n%d</SMALL>"), std::string::npos);
  std::string ff = "/";
  for (int i = 0; i < 255; i++) ff += "&#255;";
  ff += '/';
  EXPECT_NE(page.find(ff), std::string::npos);
  EXPECT_NE(page.find("SINGLE:  <B>99999</B> / - / - / <B>1</B> <BR>"), std::string::npos);
  EXPECT_EQ(page.substr(page.size() - 16), "</FONT>\n</HTML>\n");
}

TEST_F(HtmlExportTest, APageThatCannotBeWrittenKeepsTheOldOne) {
  SongSpec a;
  a.group = "Group";
  a.title = "Title";
  a.levels = {1};
  SetLibrary({MakeSong(a)});
  WriteFile(kSongListPage, "old");
  fs::create_directory(std::string(kSongListPage) + ".tmp");   // the page's scratch file cannot be made
  g_collection.groupCount = 0;
  EXPECT_FALSE(SongList_WriteLibraryPage());
  EXPECT_EQ(ReadFile(kSongListPage), "old");
  EXPECT_EQ(g_collection.groupCount, 0);   // nothing was rebuilt either
}
}  // namespace
