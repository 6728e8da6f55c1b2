// The demo songs and courses: every chart tag present, all fourteen charts
// readable by the format's rules with every freeze closed, arrows that fall
// on the music's own hits, music that decodes at the length the charts need,
// courses that name songs that exist, and a background script whose
// pictures are there.
#include <gtest/gtest.h>

#include <nettle/md5.h>

#include <algorithm>
#include <numeric>

#include "content_helpers.h"

namespace {

std::string ChartPath(const std::string& folder) { return GamePath("Songs/Demo/" + folder + "/" + folder + ".rkv"); }

TEST(ContentSongs, ThereAreAtLeastThreeSongsEachWithItsFiles) {
  auto folders = DemoSongFolders();
  ASSERT_GE(folders.size(), 3u);
  for (auto& f : folders) {
    std::string base = GamePath("Songs/Demo/" + f + "/" + f);
    EXPECT_TRUE(std::filesystem::exists(base + ".rkv")) << f;
    EXPECT_TRUE(std::filesystem::exists(base + ".ogg")) << f;
    Picture banner, bg;
    ASSERT_TRUE(LoadPicture(base + "-banner.png", banner)) << f;
    ASSERT_TRUE(LoadPicture(base + "-bg.png", bg)) << f;
    // the indexer tells banner from background by shape: wide 3..3.5, background 1.3..1.4
    double wide = (double)banner.width / banner.height, back = (double)bg.width / bg.height;
    EXPECT_TRUE(wide > 3 && wide < 3.5 && banner.height > 50) << f;
    EXPECT_TRUE(back > 1.3 && back < 1.4 && bg.height > 50) << f;
  }
  Picture group;
  EXPECT_TRUE(LoadPicture(GamePath("Songs/Demo.png"), group));
}

TEST(ContentSongs, EveryChartCarriesEveryTagOnItsOwnLine) {
  const char* tags[] = {"#TITLE:", "#ARTIST:", "#GENRE:", "#CDTITLE:", "#DISPLAYTITLE:", "#DISPLAYARTIST:",
                        "#BPM:",   "#DISPLAYBPM:", "#GAP:", "#CHANGEBPM:", "#FREEZE:", "#FILE:", "#MD5:",
                        "#SAMPLESTART:", "#SAMPLELENGTH:"};
  bool sawNew = false, sawNormal = false;
  for (auto& f : DemoSongFolders()) {
    std::string text = Slurp(ChartPath(f));
    ASSERT_FALSE(text.empty()) << f;
    EXPECT_EQ(text.find('\r'), std::string::npos) << f;
    for (const char* tag : tags) {
      bool found = false;
      TagLine(text, tag, &found);
      EXPECT_TRUE(found) << f << " lacks " << tag;
    }
    // the line-based reader drops the last character of each tag line: it must be the ";"
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line))
      if (line.rfind("#", 0) == 0 && line.find("#SINGLE:") && line.find("#DOUBLE:") && line.find("#COUPLE:") &&
          line.find("#SOLO:") && line != "#BACKGROUND:")  // the section opener carries no value
        EXPECT_EQ(line.back(), ';') << f << ": " << line;
    // the display tempo follows the tempo line, or the indexer would reset it
    EXPECT_LT(text.find("#BPM:"), text.find("#DISPLAYBPM:"));
    sawNew = sawNew || text.find("STATUS:NEW") != std::string::npos;
    sawNormal = sawNormal || text.find("STATUS:NORMAL") != std::string::npos;
    EXPECT_GT(std::atof(TagLine(text, "#BPM:").c_str()), 0) << f;
    // the music file named by #FILE: is the song's own, and its digest matches
    std::string file = TagLine(text, "#FILE:");
    std::replace(file.begin(), file.end(), '\\', '/');
    std::vector<uint8_t> bytes;
    std::string music = Slurp(GamePath(file));
    ASSERT_FALSE(music.empty()) << f << ": " << file;
    md5_ctx ctx;
    md5_init(&ctx);
    md5_update(&ctx, music.size(), (const uint8_t*)music.data());
    uint8_t d[MD5_DIGEST_SIZE];
    md5_digest(&ctx, MD5_DIGEST_SIZE, d);
    char hex[33];
    for (int i = 0; i < 16; i++) std::snprintf(hex + 2 * i, 3, "%02x", d[i]);
    EXPECT_EQ(TagLine(text, "#MD5:"), std::string(hex)) << f;
  }
  EXPECT_TRUE(sawNew);
  EXPECT_TRUE(sawNormal);
}

struct Loaded {
  std::string folder;
  Timing timing;
  Sound music;
  std::vector<ParsedChart> charts;
};

const std::vector<Loaded>& All() {
  static std::vector<Loaded> all;
  if (!all.empty()) return all;
  for (auto& f : DemoSongFolders()) {
    Loaded l;
    l.folder = f;
    std::string text = Slurp(ChartPath(f));
    l.timing = TimingOf(text);
    l.charts = ChartsOf(text);
    LoadSound(GamePath("Songs/Demo/" + f + "/" + f + ".ogg"), l.music);
    all.push_back(std::move(l));
  }
  return all;
}

// The halves of a chart's step data: one, or two for DOUBLE and COUPLE.
std::vector<std::string> Halves(const ParsedChart& c) {
  if (c.key.rfind("DOUBLE", 0) == 0 || c.key.rfind("COUPLE", 0) == 0) {
    size_t colon = c.data.find(':');
    if (colon == std::string::npos) return {};
    return {c.data.substr(0, colon), c.data.substr(colon + 1)};
  }
  return {c.data};
}

TEST(ContentSongs, MusicDecodesAtItsLength) {
  for (auto& l : All()) {
    ASSERT_GT(l.music.rate, 0) << l.folder;
    EXPECT_EQ(l.music.rate, 44100);
    EXPECT_EQ(l.music.channels, 2);
    EXPECT_GE(l.music.Seconds(), 60.0) << l.folder;
    EXPECT_LE(l.music.Seconds(), 100.0) << l.folder;
    // loud enough, never clipped
    float peak = 0;
    double sum = 0;
    for (float v : l.music.mono) {
      peak = std::max(peak, std::fabs(v));
      sum += v * v;
    }
    EXPECT_LE(peak, 1.0f);
    EXPECT_GT(std::sqrt(sum / l.music.mono.size()), 0.05) << l.folder;
  }
}

TEST(ContentSongs, AllFourteenChartsReadWithClosedFreezesAndSaneLevels) {
  for (auto& l : All()) {
    int prevLevel[4] = {0, 0, 0, 0};
    for (size_t k = 0; k < l.charts.size(); k++) {
      const ParsedChart& c = l.charts[k];
      SCOPED_TRACE(l.folder + " " + c.key);
      ASSERT_FALSE(c.data.empty());
      EXPECT_GE(c.level, 1);
      EXPECT_LE(c.level, 10);
      int style = k < 4 ? 0 : k < 8 ? 1 : k < 11 ? 2 : 3;
      EXPECT_GE(c.level, prevLevel[style]) << "levels rise with the difficulty";
      prevLevel[style] = c.level;
      auto halves = Halves(c);
      ASSERT_EQ(halves.size(), (style == 1 || style == 2) ? 2u : 1u);
      double musicEnd = l.music.Seconds() * 1000;
      for (auto& h : halves) {
        std::string err;
        auto arrows = ParseSteps(h, &err);
        ASSERT_TRUE(err.empty()) << err;
        ASSERT_GT(arrows.size(), 20u);
        int freezes = 0;
        for (auto& a : arrows) {
          EXPECT_FALSE(a.pending) << "a freeze at " << a.pos << " is never closed";
          if (a.end > a.pos) freezes++;
          // SOLO alone uses the corner panels
          if (style != 3) EXPECT_LT(a.col, 4);
          // on the sixteenth or the twenty-fourth grid
          double s16 = a.pos - std::round(a.pos), s24 = a.pos * 1.5 - std::round(a.pos * 1.5);
          EXPECT_TRUE(std::fabs(s16) < 1e-6 || std::fabs(s24) < 1e-6) << a.pos;
          EXPECT_LT(l.timing.Ms(a.end), musicEnd - 500) << "arrow after the music ends";
          EXPECT_GT(l.timing.Ms(a.pos), 0);
        }
        if (c.key != "SINGLE:BASIC" && c.key != "SOLO:BASIC" && c.key != "COUPLE:BASIC") EXPECT_GT(freezes, 0);
      }
    }
  }
}

// Onset strength: energy of the high-passed music just after a time against just before it.
double Onset(const Sound& s, double ms) {
  auto energy = [&](double from, double to) {
    long a = (long)(from * s.rate / 1000), b = (long)(to * s.rate / 1000);
    double e = 0;
    for (long i = std::max(1L, a); i < b && i < (long)s.mono.size(); i++) {
      double d = s.mono[i] - s.mono[i - 1];
      e += d * d;
    }
    return e / std::max(1L, b - a);
  };
  return energy(ms, ms + 30) / (energy(ms - 40, ms - 5) + 1e-7);
}

TEST(ContentSongs, ArrowsFallOnTheMusicsHits) {
  for (auto& l : All()) {
    for (int k : {0, 2, 3, 13}) {  // SINGLE BASIC, MANIAC, SMANIAC, SOLO MANIAC
      const ParsedChart& c = l.charts[k];
      auto arrows = ParseSteps(c.data, nullptr);
      ASSERT_FALSE(arrows.empty());
      std::vector<double> on, off;
      for (auto& a : arrows) {
        double t = l.timing.Ms(a.pos);
        on.push_back(Onset(l.music, t));
        // the same arrows moved by three fifths of a sixteenth land between the hits
        off.push_back(Onset(l.music, l.timing.Ms(a.pos + 0.6)));
      }
      std::sort(on.begin(), on.end());
      std::sort(off.begin(), off.end());
      double medianOn = on[on.size() / 2], medianOff = off[off.size() / 2];
      EXPECT_GT(medianOn, 2.0) << l.folder << " " << c.key;
      EXPECT_GT(medianOn, 2 * medianOff) << l.folder << " " << c.key;
    }
  }
}

TEST(ContentSongs, OneSongChangesTempoAndStops) {
  bool found = false;
  for (auto& l : All())
    if (!l.timing.changes.empty() && !l.timing.stops.empty()) {
      found = true;
      // no arrow sits inside a stop's held beat, where its timing would be ambiguous
      for (auto& c : l.charts)
        for (auto& h : Halves(c))
          for (auto& a : ParseSteps(h, nullptr))
            for (auto& s : l.timing.stops) EXPECT_GT(std::fabs(a.pos - s.first), 1e-6) << c.key;
      // the music really pauses: the stop's span is quieter than the bar before
      for (auto& s : l.timing.stops) {
        // Ms() of the stop's own position already counts the stop; the pause starts that much earlier
        double t = l.timing.Ms(s.first) - s.second + 150, before = l.timing.Ms(s.first - 14);
        auto rms = [&](double from, double len) {
          long a = (long)(from * 44.1), b = (long)((from + len) * 44.1);
          double e = 0;
          for (long i = a; i < b; i++) e += l.music.mono[i] * l.music.mono[i];
          return std::sqrt(e / (b - a));
        };
        // the held chord rings on, but no new drums start
        EXPECT_LT(Onset(l.music, t), 2.0);
        EXPECT_GT(rms(before, 300), 0.0);
      }
    }
  EXPECT_TRUE(found);
}

TEST(ContentSongs, LyricsAreTimedWithinTheSong) {
  int withLyrics = 0;
  for (auto& l : All()) {
    std::string lrc = Slurp(GamePath("Songs/Demo/" + l.folder + "/" + l.folder + ".lrc"));
    if (lrc.empty()) continue;
    withLyrics++;
    std::istringstream in(lrc);
    std::string line;
    int timed = 0;
    double last = -1;
    while (std::getline(in, line)) {
      if (line.rfind("[COLOR]", 0) == 0 || line.rfind("[offset:", 0) == 0) continue;
      ASSERT_GE(line.size(), 10u) << line;
      ASSERT_EQ(line[0], '[');
      size_t close = line.find(']');
      ASSERT_NE(close, std::string::npos);
      int m = std::atoi(line.c_str() + 1);
      double sec = std::atof(line.c_str() + line.find(':') + 1);
      double ms = m * 60000 + sec * 1000;
      EXPECT_GT(ms, last) << "lines in time order";
      EXPECT_LT(ms, l.music.Seconds() * 1000);
      last = ms;
      timed++;
      EXPECT_FALSE(line.substr(close + 1).empty());
    }
    EXPECT_GE(timed, 4);
  }
  EXPECT_GE(withLyrics, 1);
}

TEST(ContentCourses, CoursesAndBonusFilesNameSongsThatExist) {
  std::vector<std::string> titles, folders = DemoSongFolders();
  for (auto& f : folders) titles.push_back(TagLine(Slurp(ChartPath(f)), "#TITLE:"));
  auto exists = [&](const std::string& name) {
    return std::find(titles.begin(), titles.end(), name) != titles.end() ||
           std::find(folders.begin(), folders.end(), name) != folders.end();
  };
  std::vector<std::string> files;
  for (auto& e : std::filesystem::directory_iterator(GamePath("Courses/Demo")))
    if (e.path().extension() == ".crs") files.push_back(e.path().string());
  ASSERT_GE(files.size(), 1u);
  files.push_back(GamePath("bonus-1.crs"));
  files.push_back(GamePath("bonus-2.crs"));
  for (auto& path : files) {
    std::string text = Slurp(path);
    ASSERT_FALSE(text.empty()) << path;
    EXPECT_NE(text.find("#COURSE:"), std::string::npos) << path;
    int named = 0, entries = 0;
    std::istringstream in(BlankComments(text));
    std::string line;
    while (std::getline(in, line)) {
      size_t p = line.find("#SONG:");
      if (p == std::string::npos) continue;
      entries++;
      std::string v = line.substr(p + 6);
      std::replace(v.begin(), v.end(), '\\', ':');
      std::vector<std::string> fields;
      std::stringstream ss(v);
      std::string fld;
      while (std::getline(ss, fld, ':')) fields.push_back(fld.substr(0, fld.find(';')));
      ASSERT_GE(fields.size(), 2u) << line;
      if (fields[0] == "Demo" && fields.size() >= 3 && fields[1] != "*") {
        EXPECT_TRUE(exists(fields[1])) << path << ": " << fields[1];
        named++;
      }
    }
    EXPECT_GE(entries, 1) << path;
    if (path.find("bonus-") != std::string::npos) EXPECT_GE(named, 1) << path;
  }
  Picture p;
  EXPECT_TRUE(LoadPicture(GamePath("Courses/Demo.png"), p));
}

}  // namespace
