// The generated songs read by the game's own readers: the folder indexer's
// tag reader accepts every chart with the levels and tags the files carry,
// and the chart loader loads every one of the fourteen charts of every song,
// with as many records and freezes as the step data holds; the indexer takes
// every song with its own pictures.
#include <gtest/gtest.h>

#include "chart/chart.h"
#include "content_helpers.h"
#include "library/indexer.h"
#include "library/rkv_parser.h"
#include "play/player.h"

namespace {

TEST(ContentLoaders, TheIndexersTagReaderAcceptsEverySong) {
  for (auto& f : DemoSongFolders()) {
    std::string text = Slurp(GamePath("Songs/Demo/" + f + "/" + f + ".rkv"));
    RKVParser p;
    p.parseText(text);
    EXPECT_EQ(p.flags & RKVParser::REQUIRED, (unsigned)RKVParser::REQUIRED) << f;
    EXPECT_EQ(p.title, TagLine(text, "#TITLE:")) << f;
    EXPECT_TRUE(p.hasGenre && p.hasCdTitle && p.hasDisplayTitle && p.hasDisplayArtist && p.hasFile) << f;
    EXPECT_EQ(p.md5.size(), 32u) << f;
    EXPECT_NE(p.status, 0) << f;
    EXPECT_GT(p.sampleLength, 0) << f;
    auto charts = ChartsOf(text);
    for (size_t k = 0; k < charts.size(); k++) EXPECT_EQ(p.levels[k], charts[k].level) << f << " " << charts[k].key;
  }
}

// The indexer picks a song's banner and background by their shape from the
// song folder alone: the pictures of a background script must not stand in.
TEST(ContentLoaders, TheIndexerTakesEachSongsOwnBannerAndBackground) {
  for (auto& f : DemoSongFolders()) {
    SongEntry e{};
    ASSERT_EQ(processSongFldr(GamePath("Songs/Demo/" + f), e, -1), 1) << f;
    EXPECT_STREQ(e.chartFile, (f + ".rkv").c_str());
    EXPECT_STREQ(e.banner, (f + "-banner.png").c_str());
    EXPECT_STREQ(e.background, (f + "-bg.png").c_str());
    EXPECT_TRUE(e.wideBanner) << f;
    EXPECT_EQ(std::string(e.title), TagLine(Slurp(GamePath("Songs/Demo/" + f + "/" + f + ".rkv")), "#TITLE:"));
  }
}

struct Want {
  int records = 0, freezes = 0;
};

Want Count(const std::string& half) {
  Want w;
  for (auto& a : ParseSteps(half, nullptr)) {
    w.records += a.end > a.pos ? 2 : 1;  // a freeze is its head and its freeze record
    if (a.end > a.pos) w.freezes++;
  }
  return w;
}

TEST(ContentLoaders, TheChartLoaderLoadsEveryChartOfEverySong) {
  static const char* diff[4] = {"BASIC", "ANOTHER", "MANIAC", "SMANIAC"};
  for (auto& f : DemoSongFolders()) {
    std::string text = Slurp(GamePath("Songs/Demo/" + f + "/" + f + ".rkv"));
    auto charts = ChartsOf(text);
    for (size_t k = 0; k < charts.size(); k++) {
      const ParsedChart& c = charts[k];
      SCOPED_TRACE(f + " " + c.key);
      std::string style = c.key.substr(0, c.key.find(':'));
      int d = (int)(k < 4 ? k : k < 8 ? k - 4 : k < 11 ? k - 8 : k - 11);
      Players_Reset();
      Player* p = g_players;
      bool battle = style == "COUPLE";
      int panels = style == "DOUBLE" ? 8 : style == "SOLO" ? 6 : 4;
      Player_SetStyle(p[0], battle ? "BATTLE" : style.c_str(), panels, !battle);
      p[0].active = 1;
      p[0].difficulty = d;
      p[0].level = (uint8_t)c.level;
      if (battle) {
        Player_SetStyle(p[1], "BATTLE", 4, false);
        p[1].active = 1;
        p[1].difficulty = d;
        p[1].level = (uint8_t)c.level;
      }
      ASSERT_EQ(loadChartText(text.data(), text.size(), f.c_str(), p, battle ? 2 : 1, ChartRules{}), 1) << diff[d];
      size_t colon = c.data.find(':');
      if (battle) {
        Want a = Count(c.data.substr(0, colon)), b = Count(c.data.substr(colon + 1));
        EXPECT_EQ(p[0].arrowCount, a.records);
        EXPECT_EQ(p[1].arrowCount, b.records);
        EXPECT_EQ(p[0].freezeCount, a.freezes);
        EXPECT_EQ(p[1].freezeCount, b.freezes);
      } else {
        Want a = style == "DOUBLE" ? Count(c.data.substr(0, colon)) : Count(c.data);
        if (style == "DOUBLE") {
          Want b = Count(c.data.substr(colon + 1));
          a.records += b.records;
          a.freezes += b.freezes;
        }
        EXPECT_EQ(p[0].arrowCount, a.records);
        EXPECT_EQ(p[0].freezeCount, a.freezes);
      }
      // every judged record counts: nothing was left pending
      for (int i = 0; i < p[0].arrowCount; i++) EXPECT_NE(p[0].arrows[i].kind, ARROW_IGNORED) << i;
      Chart_Free(p[0]);
      Chart_Free(p[1]);
    }
  }
}

}  // namespace
