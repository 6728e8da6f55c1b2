// The demo song with a living background: its chart file carries a background
// section after every chart, using every kind of definition, naming pictures
// that exist in the song's folder (the movie and the plug-in, made by other
// parts of the build, by name only), and a timeline that runs the whole song
// on the beat. Read by the script's rules, not by the generator.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "content_helpers.h"

namespace {

struct Definition {
  char id = 0;
  std::string line;
  int layer = 0;
};

struct Event {
  double pos;
  char id;
};

struct Script {
  std::string folder;
  std::string text;      // the whole chart file, comments blanked
  size_t at = 0;         // where "#BACKGROUND:" starts
  std::vector<Definition> defs;
  std::string timeline;  // the SCRIPT: value, over all its lines
};

// The value of a definition's tag: up to the next ":" or ";".
std::string Field(const std::string& line, const std::string& tag, bool* found = nullptr) {
  size_t p = line.find(tag);
  if (found) *found = p != std::string::npos;
  if (p == std::string::npos) return "";
  p += tag.size();
  size_t end = line.find_first_of(":;", p);
  return line.substr(p, end == std::string::npos ? std::string::npos : end - p);
}

std::vector<Script> Scripts() {
  std::vector<Script> out;
  for (auto& f : DemoSongFolders()) {
    Script s;
    s.folder = f;
    s.text = BlankComments(Slurp(GamePath("Songs/Demo/" + f + "/" + f + ".rkv")));
    s.at = s.text.find("#BACKGROUND:");
    if (s.at == std::string::npos) continue;
    size_t end = s.text.find("#END;", s.at);
    if (end == std::string::npos) end = s.text.size();
    std::istringstream in(s.text.substr(s.at, end - s.at));
    std::string line;
    std::getline(in, line);  // the opener
    bool inScript = false;
    while (std::getline(in, line)) {
      if (inScript || line.find("SCRIPT:") != std::string::npos) {
        size_t from = inScript ? 0 : line.find("SCRIPT:") + 7;
        size_t semi = line.find(';', from);
        s.timeline += line.substr(from, semi == std::string::npos ? std::string::npos : semi - from);
        inScript = semi == std::string::npos;
        continue;
      }
      size_t colon = line.find(':');
      if (colon == std::string::npos || colon == 0) continue;
      Definition d;
      d.id = line[colon - 1];
      d.line = line;
      d.layer = std::atoi(Field(line, "LAYER:").c_str());
      s.defs.push_back(d);
    }
    out.push_back(s);
  }
  return out;
}

// Events of a timeline: a step of 2 sixteenths, ( [ { ` < change it, closers
// set it back; "," after an advancing character backs up one step.
std::vector<Event> Events(const std::string& timeline, double* end) {
  std::vector<Event> out;
  double pos = 0, step = 2;
  bool advanced = false;
  for (char c : timeline) {
    bool adv = false;
    switch (c) {
      case '(': step = 1; break;
      case '[': step = 2.0 / 3.0; break;
      case '{': step = 0.25; break;
      case '`': step = 1.0 / 12.0; break;
      case '<': step = 0; break;
      case ')': case ']': case '}': case '>': case '\'': step = 2; break;
      case ',': if (advanced) pos -= step; break;
      case '.': pos += step, adv = true; break;
      default:
        if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z')) {
          out.push_back({pos, c});
          pos += step;
          adv = true;
        }
    }
    advanced = adv;
  }
  if (end) *end = pos;
  return out;
}

std::string SongFile(const Script& s, std::string rel) {
  std::replace(rel.begin(), rel.end(), '\\', '/');
  return rel[0] == '.' ? GamePath(rel) : GamePath("Songs/Demo/" + s.folder + "/" + rel);
}

TEST(ContentBackground, OneSongCarriesASectionAfterItsChartsThatTheChartReadersNeverMeet) {
  auto scripts = Scripts();
  ASSERT_GE(scripts.size(), 1u);
  for (auto& s : scripts) {
    SCOPED_TRACE(s.folder);
    for (auto& c : ChartsOf(s.text)) EXPECT_LT(s.text.find("#" + c.key + ":"), s.at) << c.key;
    ASSERT_NE(s.text.find("#END;", s.at), std::string::npos);
    // the chart loader finds these anywhere in the text, the indexer on any line
    std::string section = s.text.substr(s.at);
    for (const char* tag : {"#BPM:", "#GAP:", "CHANGEBPM:", "FREEZE:", "#FILE:", "#TITLE:", "STATUS:", "SINGLE:",
                            "DOUBLE:", "COUPLE:", "SOLO:"})
      EXPECT_EQ(section.find(tag), std::string::npos) << tag;
  }
}

TEST(ContentBackground, EveryKindOfDefinitionIsUsedAndItsFilesAreThere) {
  for (auto& s : Scripts()) {
    SCOPED_TRACE(s.folder);
    std::set<char> ids;
    std::map<std::string, int> used;
    for (auto& d : s.defs) {
      SCOPED_TRACE(d.line);
      EXPECT_TRUE((d.id >= '1' && d.id <= '9') || (d.id >= 'A' && d.id <= 'Z'));
      EXPECT_TRUE(ids.insert(d.id).second) << "defined twice";
      ASSERT_NE(d.line.find("LAYER:"), std::string::npos);
      EXPECT_TRUE(d.layer >= 0 && d.layer <= 3);
      for (const char* tag : {"FILE:", "ANIMATE:", "SIZE:", "MOVE:", "TILED:", "SPACING:", "POSITION:", "STRETCH:",
                              "FADE:", "MULT:", "MOVIE:", "STARTAT:", "KEEPTIME", "VIS:", "OFF"})
        if (d.line.find(tag) != std::string::npos) used[tag]++;
      if (d.line.find("OFF") != std::string::npos || d.line.find("FADE:") != std::string::npos)
        EXPECT_GT(d.layer, 0) << "fades and switching off are for overlays";
      bool found = false;
      std::string movie = Field(d.line, "MOVIE:", &found);
      if (found) EXPECT_EQ(movie, ".\\Movies\\Random\\tv-drift.avi");
      std::string vis = Field(d.line, "VIS:", &found);
      if (found) EXPECT_EQ(vis, "tv-spectrum.svp");
      std::string file = Field(d.line, "FILE:", &found);
      if (!found) continue;
      Picture pic;
      ASSERT_TRUE(LoadPicture(SongFile(s, file), pic)) << file;
      if (d.layer == 0) {
        EXPECT_EQ(pic.width, 640);
        EXPECT_EQ(pic.height, 480);
        continue;
      }
      int frames = std::max(1, std::atoi(Field(d.line, "ANIMATE:").c_str()));
      if (d.line.find("ANIMATE:") != std::string::npos) {
        // a strip: square frames stacked, each drawn, each different from the next
        ASSERT_EQ(pic.height, pic.width * frames);
        int prev = -1;
        for (int k = 0; k < frames; k++) {
          int ink = Ink(pic, 0, k * pic.width, pic.width, pic.width);
          EXPECT_GT(ink, 20) << "frame " << k;
          EXPECT_NE(ink, prev) << "frame " << k;
          prev = ink;
        }
      }
      // an overlay shows what is not keyed: its own alpha, or all but the colour
      // of its bottom-left pixel
      int shown = 0, total = pic.width * pic.height;
      const uint8_t* key = pic.Px(0, pic.height - 1);
      for (int y = 0; y < pic.height; y++)
        for (int x = 0; x < pic.width; x++) {
          const uint8_t* p = pic.Px(x, y);
          shown += pic.bpp == 32 ? p[3] > 24 : (p[0] != key[0] || p[1] != key[1] || p[2] != key[2]);
        }
      EXPECT_GT(shown, total / 50) << file;
      EXPECT_LT(shown, total * 3 / 4) << file << ": a keyed overlay hides most of the stage";
      if (pic.bpp == 24) {
        // the fringe is the key itself, not a near-black that would show
        for (auto [x, y] : {std::pair{0, 0}, {pic.width - 1, 0}, {pic.width - 1, pic.height - 1}})
          EXPECT_EQ(std::memcmp(pic.Px(x, y), key, 3), 0);
      }
    }
    for (const char* tag : {"FILE:", "ANIMATE:", "SIZE:", "MOVE:", "TILED:", "SPACING:", "POSITION:", "STRETCH:",
                            "FADE:", "MOVIE:", "STARTAT:", "KEEPTIME", "VIS:", "OFF"})
      EXPECT_GT(used[tag], 0) << tag << " is never used";
  }
}

TEST(ContentBackground, TheStageStaysDarkBehindTheArrows) {
  for (auto& s : Scripts())
    for (auto& d : s.defs) {
      bool found = false;
      std::string file = Field(d.line, "FILE:", &found);
      if (!found || d.layer != 0) continue;
      Picture pic;
      ASSERT_TRUE(LoadPicture(SongFile(s, file), pic));
      double sum = 0;
      for (int y = 0; y < pic.height; y++)
        for (int x = 0; x < pic.width; x++) {
          const uint8_t* p = pic.Px(x, y);
          sum += (0.3 * p[0] + 0.59 * p[1] + 0.11 * p[2]) / 255.0;
        }
      EXPECT_LT(sum / (pic.width * pic.height), 0.25) << file;
    }
}

TEST(ContentBackground, TheTimelineSwitchesOnTheBeatThroughTheWholeSong) {
  for (auto& s : Scripts()) {
    SCOPED_TRACE(s.folder);
    ASSERT_FALSE(s.timeline.empty());
    double end = 0;
    auto events = Events(s.timeline, &end);
    ASSERT_GT(events.size(), 50u);
    std::map<char, int> layerOf;
    for (auto& d : s.defs) layerOf[d.id] = d.layer;
    layerOf['0'] = 0;  // the song's own background
    std::set<char> seen;
    bool pairOfLayers = false;
    for (size_t i = 0; i < events.size(); i++) {
      const Event& e = events[i];
      ASSERT_TRUE(layerOf.count(e.id)) << "event " << i << " names " << e.id << ", which is not defined";
      seen.insert(e.id);
      if (i) EXPECT_GE(e.pos, events[i - 1].pos - 1e-9) << "event " << i << " goes back in time";
      // on the sixteenth or the twenty-fourth grid
      double s16 = e.pos - std::round(e.pos), s24 = e.pos * 1.5 - std::round(e.pos * 1.5);
      EXPECT_TRUE(std::fabs(s16) < 1e-6 || std::fabs(s24) < 1e-6) << e.pos;
      for (size_t j = i + 1; j < events.size() && std::fabs(events[j].pos - e.pos) < 1e-9; j++)
        pairOfLayers = pairOfLayers || (layerOf[e.id] == 0) != (layerOf[events[j].id] == 0);
    }
    EXPECT_TRUE(pairOfLayers) << "a base and an overlay switch together somewhere";
    for (auto& d : s.defs) EXPECT_TRUE(seen.count(d.id)) << d.id << " is never shown";
    EXPECT_TRUE(seen.count('0')) << "the song's own background comes back";
    EXPECT_TRUE(s.timeline.find('(') != std::string::npos && s.timeline.find('[') != std::string::npos);
    EXPECT_EQ(events.front().pos, 0);
    // the timeline lasts as long as the charts: bar for bar up to the last arrow's bar
    double lastArrow = 0;
    for (auto& c : ChartsOf(s.text))
      if (c.key.rfind("SINGLE", 0) == 0)
        for (auto& a : ParseSteps(c.data, nullptr)) lastArrow = std::max(lastArrow, a.end);
    EXPECT_NEAR(end, 16 * std::round(end / 16), 1e-6) << "whole bars";
    EXPECT_GT(end, lastArrow);
    EXPECT_LE(end, lastArrow + 64);
    EXPECT_GT(events.back().pos, end - 64) << "still switching in the last bars";
    // no long stretch without a switch: at most four bars apart
    for (size_t i = 1; i < events.size(); i++) EXPECT_LE(events[i].pos - events[i - 1].pos, 64) << i;
  }
}

}  // namespace
